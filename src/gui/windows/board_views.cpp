#include "windows/board_views.h"

#include "windows/activity_window.h"
#include "windows/front_panel.h"
#include "windows/screen_fit.h"

#include <QAction>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

namespace vq {

BoardViews::BoardViews(QMainWindow *window, BoardLink &link) : QObject(window), window_(window), link_(link) {
  setObjectName(QStringLiteral("BoardViews"));
  view_ = window->menuBar()->addMenu(QStringLiteral("&View"));
  view_->setObjectName(QStringLiteral("MnuView"));
  QAction *activity = view_->addAction(QStringLiteral("Board &Activity"));
  activity->setObjectName(QStringLiteral("MnuActivity"));
  connect(activity, &QAction::triggered, this, &BoardViews::ShowActivity);
  window->installEventFilter(this);
  link_.AddCallListener(this);
  // A library already loaded (the window made after the session started).
  OfferFrontPanel();
}

BoardViews::~BoardViews() {
  link_.RemoveCallListener(this);
  // The windows read the log this object owns: they go first.
  delete activity_;
  delete panel_;
}

ActivityWindow *BoardViews::Activity() const {
  return activity_;
}

FrontPanel *BoardViews::Panel() const {
  return panel_;
}

void BoardViews::OnBoardCall(const BoardCall &call) {
  log_.OnBoardCall(call);
  if (call.Kind == BoardCallKind::Download)
    OfferFrontPanel();
  // Both windows do nothing more while closed.
  if (activity_ != nullptr)
    activity_->LogGrew();
  if (panel_ != nullptr && panel_->isVisible())
    panel_->Refresh();
}

// The accessor exists only once the library is loaded, i.e. from the session's
// first call on; only the simulated board's libraries have it.
void BoardViews::OfferFrontPanel() {
  if (panel_ != nullptr)
    return;
  sim::BoardControl *board = link_.SimulatedBoard();
  if (board == nullptr)
    return;
  panel_ = new FrontPanel(*board, window_);
  connect(panel_, &FrontPanel::converterPowerCycled, this, &BoardViews::converterPowerCycled);
  QAction *show = view_->addAction(QStringLiteral("Simulated &Board"));
  show->setObjectName(QStringLiteral("MnuFrontPanel"));
  connect(show, &QAction::triggered, this, &BoardViews::ShowFrontPanel);
  if (windowShown_)
    ShowFrontPanel();
}

bool BoardViews::eventFilter(QObject *watched, QEvent *event) {
  if (watched == window_ && event->type() == QEvent::Show && !windowShown_) {
    windowShown_ = true;
    if (panel_ != nullptr) {
      // Beside the main window where the screen has room, over its lower
      // part where not; the panel's frame is not known before it is shown,
      // so it counts as the main window's.
      if (const QScreen *screen = window_->screen()) {
        const QSize frame = window_->frameGeometry().size() - window_->size();
        panel_->move(PlaceBeside(window_->frameGeometry(), panel_->size() + frame, screen->availableGeometry()));
      }
      panel_->show();
    }
  }
  return QObject::eventFilter(watched, event);
}

void BoardViews::ShowActivity() {
  // Made when first asked for: most sessions never open it, and its table
  // costs a noticeable part of the start. It shows the log from the start.
  if (activity_ == nullptr)
    activity_ = new ActivityWindow(log_, window_);
  activity_->show();
  activity_->raise();
  activity_->activateWindow();
}

void BoardViews::ShowFrontPanel() {
  if (panel_ == nullptr)
    return;
  panel_->show();
  panel_->raise();
  panel_->activateWindow();
}

} // namespace vq
