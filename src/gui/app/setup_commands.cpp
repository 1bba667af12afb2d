// File > "Open Setup..." and "Save Setup...": the file dialogs, the checks
// and the load sequence of setup/, and the controls brought to what was
// loaded.
#include "app/main_window.h"

#include "setup/setup_file.h"
#include "setup/setup_load.h"
#include "windows/saving.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace vq {

namespace {

const QString SetupFilter = QStringLiteral("Setup files (*.json);;All files (*)");

} // namespace

void MainWindow::onOpenSetupChosen() {
  const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open Setup"), QString(), SetupFilter);
  if (!path.isEmpty())
    OpenSetupFile(path);
}

void MainWindow::onSaveSetupChosen() {
  const QString path =
      SaveFileDialog::Ask(this, QStringLiteral("Save Setup"), QStringLiteral("setup.json"), SetupFilter);
  if (!path.isEmpty())
    SaveSetupFile(path);
}

QString MainWindow::OpenSetupFile(const QString &path) {
  const SetupFileReading file = ReadSetupFile(SystemPath(path));
  if (!file.Value) {
    const QString refusal = FromSystemText(file.Message);
    QMessageBox::warning(this, QString::fromLatin1(ApplicationTitle), refusal, QMessageBox::Ok);
    return refusal;
  }
  BoardAccess::Action action(board_);
  const SetupLoadReport report = LoadSetup(serial_, *file.Value);
  ShowLoadedSetup(*file.Value);
  const QString summary = QString::fromStdString(report.Summary());
  board_.Note(QStringLiteral("Setup %1 loaded.").arg(QFileInfo(path).fileName()) +
              (summary.isEmpty() ? QString() : QLatin1Char(' ') + summary));
  // What reads back otherwise is the one thing a user must not miss.
  if (!report.ReadsBackAsLoaded())
    QMessageBox::warning(this, QString::fromLatin1(ApplicationTitle), summary, QMessageBox::Ok);
  return {};
}

void MainWindow::ShowLoadedSetup(const BoardSetup &setup) {
  ProgramValues &v = values_;
  if (const std::optional<FunctionWord> options = setup.Function()) {
    v.Options = *options;
    v.FunctionRegisterShadow = options->Bits();
    ShowFunctionOptions(v.FunctionRegisterShadow);
    functionSwitches_.LetLevelSwitchesFollowDirections();
  }
  v.Lines = setup.Lines;
  hardwareSwitches_.ShowLines(setup.Lines, setup.PulseAfterDataWrite);
  if (const std::optional<uint16_t> code = setup.Code(v.Word))
    registerPanel_.ShowRegisterContent(*code);
}

bool MainWindow::SaveSetupFile(const QString &path) {
  // The file holds what the converter holds: every register is read first;
  // one that cannot be read keeps what the program last wrote to it.
  registerPanel_.ReadAllRegisters();
  const BoardSetup setup = SetupFromModel(registers_, values_.Lines, board_.PulsesAfterDataWrite(), values_.Options);
  if (!setup.IsComplete()) {
    const WriteResult refused = WriteSetupFile(SystemPath(path), setup);
    QMessageBox::warning(this, QString::fromLatin1(ApplicationTitle), FromSystemText(refused.Message), QMessageBox::Ok);
    return false;
  }
  return SaveBytes(this, path, SetupText(setup, std::chrono::system_clock::now()),
                   QStringLiteral("The setup was not saved."));
}

} // namespace vq
