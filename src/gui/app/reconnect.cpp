// A board that was lost and is found again: the disconnected state, the board
// session run again on the library already loaded, and the fresh start after
// it.
#include "app/main_window.h"

#include "board/session_outcome.h"
#include "setup/board_setup.h"
#include "setup/setup_load.h"

#include <QGroupBox>
#include <QMessageBox>

#include <utility>

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
  // What the program knew of the board before the loss: the download below
  // makes the register model forget it, whether or not it succeeds.
  if (!knownBeforeLoss_)
    knownBeforeLoss_ = SetupFromModel(registers_, values_.Lines, board_.PulsesAfterDataWrite(), values_.Options);
  const SessionOutcome outcome = RunBoardSession(link_, session_);
  serial_.LastRequestStatus = outcome.Status;
  if (!outcome.Succeeded) {
    // The window stays as it was: connected or not, the user may try again.
    // While disconnected nothing reaches the board, so what was known still
    // holds for the next try; connected, the model learns afresh from here.
    if (!disconnected_)
      knownBeforeLoss_.reset();
    statusLine_.ShowMessage(QStringLiteral("Reconnect failed: %1.").arg(QString::fromStdString(outcome.Reason)), true);
    return;
  }
  const BoardSetup before = *std::exchange(knownBeforeLoss_, std::nullopt);
  ShowDisconnected(false);
  if (before.KnowsAnyRegister() && AskToRestore()) {
    RestoreSetup(before);
    return;
  }
  StartAfresh();
  if (statusLine_.Message().isEmpty())
    statusLine_.ShowMessage(QStringLiteral("Board reconnected."), false);
}

bool MainWindow::AskToRestore() {
  QMessageBox box(QMessageBox::Question, QString::fromLatin1(ApplicationTitle),
                  QStringLiteral("Restore the board's previous settings?"), QMessageBox::Yes | QMessageBox::No, this);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

// As opening a setup does: the same order and the same read-back check;
// registers the program never knew are named, not written.
void MainWindow::RestoreSetup(const BoardSetup &setup) {
  BoardAccess::Action action(board_);
  const SetupLoadReport report = LoadSetup(serial_, setup);
  ShowLoadedSetup(setup);
  const QString summary = QString::fromStdString(report.Summary());
  board_.Note(QStringLiteral("Board reconnected; its previous settings restored.") +
              (summary.isEmpty() ? QString() : QLatin1Char(' ') + summary));
  if (!report.ReadsBackAsLoaded())
    QMessageBox::warning(this, QString::fromLatin1(ApplicationTitle), summary, QMessageBox::Ok);
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
