// Windows that fit the screen they open on: a scrolling area that asks for
// all the room its content needs but never more than the screen offers, the
// first size of a window, and where a window opens beside another.
#pragma once

#include <QPoint>
#include <QRect>
#include <QScrollArea>
#include <QSize>

namespace vq {

// Shows `content` at its full size where the screen has room and scrolls
// where it has not: its size hints are the content's, bounded by the screen.
class FittingScrollArea : public QScrollArea {
public:
  explicit FittingScrollArea(QWidget *content, QWidget *parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

protected:
  bool viewportEvent(QEvent *event) override;

private:
  QSize Bounded(QSize wanted) const;

  // The content's hints when its last layout request was passed on.
  QSize contentHint_;
  QSize contentMinimum_;
};

// The room a window's content may take on the window's screen: the available area less what a
// window manager puts around a window and what a window holds around its
// central area (title bar, menu bar, status bar).
QSize RoomForContent(const QWidget &window);

// Gives a window not shown yet the size it asks for, bounded by the available
// area of its screen; where it opens is the window manager's choice.
void FitOnScreen(QWidget &window);

// Where a window of `size` opens next to `owner` (both frames, in screen
// coordinates): to the right when the available area has room for it there,
// otherwise over the owner's lower part; always inside `available` as far as
// it fits, and never with its top (the title bar) above it.
QPoint PlaceBeside(const QRect &owner, const QSize &size, const QRect &available);

} // namespace vq
