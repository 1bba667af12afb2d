// A board that was lost and is found again: the disconnected state, the board
// session run again on the library already loaded, and the fresh start after
// it.
#include "app/main_window.h"

#include "board/session_outcome.h"

#include <QGroupBox>

namespace vq {

void MainWindow::ShowDisconnected(bool disconnected) {
  disconnected_ = disconnected;
  // The frames hold every control that sends requests; what only shows
  // (the activity log, the register map's table, the front panel) stays.
  for (QGroupBox *frame : {registerPanel_.Frame(), functionSwitches_.Frame(), hardwareSwitches_.Frame(),
                           temperature_.Frame(), calibration_.Frame()})
    frame->setEnabled(!disconnected);
  registerMap_->LetCodesGoOut(!disconnected);
  statusLine_.OfferReconnect(disconnected);
}

void MainWindow::onReconnectChosen() {
  const SessionOutcome outcome = RunBoardSession(link_, session_);
  serial_.LastRequestStatus = outcome.Status;
  if (!outcome.Succeeded) {
    // The window stays as it was: connected or not, the user may try again.
    statusLine_.ShowMessage(QStringLiteral("Reconnect failed: %1.").arg(QString::fromStdString(outcome.Reason)), true);
    return;
  }
  ShowDisconnected(false);
  StartAfresh();
  if (statusLine_.Message().isEmpty())
    statusLine_.ShowMessage(QStringLiteral("Board reconnected."), false);
}

// The download restarted the board's processor and the board may have lost
// its power: nothing the program held about it still holds.
void MainWindow::StartAfresh() {
  values_ = ProgramValues{};
  registerMap_->ShowDecimal(false);
  hardwareSwitches_.ShowStartState();
  calibration_.CloseStages();
  ApplyInitialState();
}

} // namespace vq
