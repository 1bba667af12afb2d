// The board windows of a main window: records every board library call into
// the activity log, adds the "View" menu with "Board Activity" and, when the
// loaded library offers the simulated board's accessor, "Simulated Board",
// whose front panel then appears beside the main window when it is first
// shown. The one object the application creates for all this.
#pragma once

#include "board/board_link.h"
#include "boardlog/request_log.h"

#include <QObject>
#include <QPointer>

class QAction;
class QMainWindow;
class QMenu;

namespace vq {

class ActivityWindow;
class FrontPanel;

class BoardViews : public QObject, private BoardCallListener {
  Q_OBJECT
public:
  // Owned by `window`; listens on `link`, which must outlive it.
  BoardViews(QMainWindow *window, BoardLink &link);
  ~BoardViews() override;

  RequestLog &Log() { return log_; }
  ActivityWindow *Activity() const; // null until first shown
  FrontPanel *Panel() const;        // null unless on the simulated board

  void ShowActivity();
  void ShowFrontPanel();

signals:
  // The user cycled the simulated converter's supply on the front panel.
  void converterPowerCycled();

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void OnBoardCall(const BoardCall &call) override;
  void OfferFrontPanel();

  QMainWindow *window_;
  BoardLink &link_;
  RequestLog log_;
  QMenu *view_;
  QPointer<ActivityWindow> activity_;
  QPointer<FrontPanel> panel_;
  bool windowShown_ = false;
};

} // namespace vq
