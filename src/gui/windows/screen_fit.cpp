#include "windows/screen_fit.h"

#include <QEvent>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>

namespace vq {

namespace {

constexpr int Gap = 8;

QRect AvailableArea(const QWidget &widget) {
  const QScreen *screen = widget.screen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

} // namespace

QSize RoomForContent(const QWidget &window) {
  const QRect available = AvailableArea(window);
  if (!available.isValid())
    return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
  // A title bar, a menu bar and a status bar take about a line each; the
  // frame a window manager draws, a few pixels on each side.
  const int line = window.fontMetrics().height() + Gap;
  return available.size() - QSize(2 * Gap, 4 * line);
}

FittingScrollArea::FittingScrollArea(QWidget *content, QWidget *parent) : QScrollArea(parent) {
  setWidget(content);
  setWidgetResizable(true);
  setFrameShape(QFrame::NoFrame);
  // The area is no stop of its own: Tab goes to the controls, and the area
  // scrolls to show the one that has the focus.
  setFocusPolicy(Qt::NoFocus);
}

bool FittingScrollArea::viewportEvent(QEvent *event) {
  // The content asks for a new layout whenever a label in it changes its
  // text, and the scroll area then sets its bars' steps afresh, which
  // repaints both bars (about half the cost of a typed value's repaint) even
  // when nothing changed. Only a change of the content's hints needs it; a
  // new size of the content or the area comes as a resize, not through here.
  if (event->type() == QEvent::LayoutRequest && widget() != nullptr) {
    const QSize hint = widget()->sizeHint();
    const QSize minimum = widget()->minimumSizeHint();
    if (hint == contentHint_ && minimum == contentMinimum_)
      return true;
    contentHint_ = hint;
    contentMinimum_ = minimum;
  }
  return QScrollArea::viewportEvent(event);
}

QSize FittingScrollArea::Bounded(QSize wanted) const {
  const int frame = 2 * frameWidth();
  return (wanted + QSize(frame, frame)).boundedTo(RoomForContent(*this));
}

QSize FittingScrollArea::sizeHint() const {
  return widget() != nullptr ? Bounded(widget()->sizeHint()) : QScrollArea::sizeHint();
}

QSize FittingScrollArea::minimumSizeHint() const {
  return widget() != nullptr ? Bounded(widget()->minimumSizeHint()) : QScrollArea::minimumSizeHint();
}

void FitOnScreen(QWidget &window) {
  QSize size = window.sizeHint().expandedTo(window.minimumSizeHint());
  const QRect available = AvailableArea(window);
  if (available.isValid())
    size = size.boundedTo(available.size() - QSize(2 * Gap, 2 * Gap));
  window.resize(size);
}

QPoint PlaceBeside(const QRect &owner, const QSize &size, const QRect &available) {
  QPoint place;
  const int besideLeft = owner.right() + 1 + Gap;
  if (besideLeft + size.width() <= available.right() + 1)
    place = {besideLeft, owner.top()};
  else // over the lower part of the owner, their right edges together
    place = {owner.right() + 1 - size.width(), owner.bottom() + 1 - size.height()};
  // Inside the available area: the right and lower edges first, so that a
  // window larger than the area keeps its top-left corner (the title bar) on it.
  place.setX(std::max(std::min(place.x(), available.right() + 1 - size.width()), available.left()));
  place.setY(std::max(std::min(place.y(), available.bottom() + 1 - size.height()), available.top()));
  return place;
}

} // namespace vq
