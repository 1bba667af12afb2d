#include "app/main_window.h"

#include "board/session_outcome.h"
#include "boardlog/call_decoder.h"
#include "windows/board_views.h"
#include "windows/program_icon.h"
#include "windows/screen_fit.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>

#include <cstdio>

namespace vq {

namespace {

// The frames' area scrolls where the screen is too small for it.
QWidget *ClientArea(QMainWindow *window) {
  auto *client = new QWidget;
  client->setObjectName(QStringLiteral("ClientArea"));
  auto *area = new FittingScrollArea(client, window);
  area->setObjectName(QStringLiteral("ClientScroll"));
  window->setCentralWidget(area);
  return client;
}

} // namespace

MainWindow::MainWindow(ProgramValues &values, BoardLink &link, BoardSession &session, ProgramVariant variant,
                       QWidget *parent)
    : QMainWindow(parent), values_(values), link_(link), session_(session), variant_(variant), serial_(link),
      board_(serial_), context_{values_, board_, this, QString::fromLatin1(ApplicationTitle)},
      client_(ClientArea(this)), registerPanel_(client_, context_), functionSwitches_(client_, context_),
      hardwareSwitches_(client_, context_), temperature_(client_, context_), calibration_(client_, context_),
      statusLine_(this), registerMap_(new RegisterMapWindow(registers_, this)), boardViews_(nullptr) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowIcon(ProgramIcon());
  link_.AddCallListener(&registers_);
  registerMap_->setWindowIcon(windowIcon());
  BuildMenus();
  boardViews_ = new BoardViews(this, link_); // owned by the window: the View menu and the board windows
  Wire();
  LayOutFrames();
  FitOnScreen(*this);
}

// The frames in the window design's order: the register frame, the function
// and hardware frames across the window, temperature and calibration side by
// side below; the room left over goes below them.
void MainWindow::LayOutFrames() {
  auto *grid = new QGridLayout(client_);
  grid->addWidget(registerPanel_.Frame(), 0, 0, 1, 2);
  grid->addWidget(functionSwitches_.Frame(), 1, 0, 1, 2);
  grid->addWidget(hardwareSwitches_.Frame(), 2, 0, 1, 2);
  grid->addWidget(temperature_.Frame(), 3, 0);
  grid->addWidget(calibration_.Frame(), 3, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(4, 1);
}

MainWindow::~MainWindow() {
  link_.RemoveCallListener(&registers_);
  // The map observes the model this window owns: it goes first.
  delete registerMap_;
}

bool MainWindow::Start() {
  session_.SetFirmwarePath();
  session_.CopyFirmwarePath(session_.FirmwarePath);
  hardwareSwitches_.ShowStartLevels();

  const SessionOutcome outcome = RunBoardSession(link_, session_);
  serial_.LastRequestStatus = outcome.Status;
  if (!outcome.Succeeded) {
    QString text = QStringLiteral("Error Downloading Firmware - Check USB connections");
    // Also on the terminal a bench script may have started the program from.
    std::fprintf(stderr, "%s (status %d)\n", qPrintable(text), outcome.Status);
    // Our libraries name the step that failed first: the search that found
    // no board, rather than the download that then had no board to load.
    if (outcome.Failure) {
      if (const std::string step = SessionFailureLine(*outcome.Failure); !step.empty()) {
        std::fprintf(stderr, "%s\n", step.c_str());
        text += QStringLiteral("\n") + QString::fromStdString(step);
      }
    }
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(ApplicationTitle), text, QMessageBox::Ok);
    box.exec();
    return false;
  }

  statusLine_.ShowBoard(BoardName());
  setWindowTitle(QStringLiteral("VQ8231 Evaluation Software"));
  registerPanel_.ShowGainAndOffsetPrompts();
  ApplyInitialState();
  // The earlier build shows the window only once this has returned; the
  // caller does that for both.
  return true;
}

void MainWindow::BuildMenus() {
  QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("MnuFile"));
  QAction *open = file->addAction(QStringLiteral("&Open Setup..."));
  open->setObjectName(QStringLiteral("MnuOpenSetup"));
  open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  connect(open, &QAction::triggered, this, &MainWindow::onOpenSetupChosen);
  QAction *save = file->addAction(QStringLiteral("&Save Setup..."));
  save->setObjectName(QStringLiteral("MnuSaveSetup"));
  save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  connect(save, &QAction::triggered, this, &MainWindow::onSaveSetupChosen);
  // Always there: with a library that cannot say the board is gone, this is
  // how the user recovers from a board that stopped answering.
  QAction *reconnect = file->addAction(QStringLiteral("&Reconnect Board"));
  reconnect->setObjectName(QStringLiteral("MnuReconnect"));
  reconnect->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  connect(reconnect, &QAction::triggered, this, &MainWindow::onReconnectChosen);
  file->addSeparator();
  QAction *exit = file->addAction(QStringLiteral("E&xit"));
  exit->setObjectName(QStringLiteral("MnuExit"));
  connect(exit, &QAction::triggered, this, &MainWindow::onExitChosen);

  QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("MnuHelp"));
  QAction *about = help->addAction(QStringLiteral("&About"));
  about->setObjectName(QStringLiteral("MnuAbout"));
  connect(about, &QAction::triggered, this, &MainWindow::onAboutChosen);

  // Choosing the title itself does nothing; its one item opens the map.
  QMenu *direct = menuBar()->addMenu(QStringLiteral("Direct Read/Write"));
  direct->menuAction()->setObjectName(QStringLiteral("MnuTest"));
  QAction *map = direct->addAction(QStringLiteral("Register &Map..."));
  map->setObjectName(QStringLiteral("MnuRegisterMap"));
  connect(map, &QAction::triggered, this, &MainWindow::onRegisterMapChosen);
}

// Every connection between the panels, in one place; each panel connects its
// own controls to its own handlers.
void MainWindow::Wire() {
  board_.FollowRegisters(registers_);
  connect(&hardwareSwitches_, &HardwareSwitches::pulseAfterWriteChanged, &board_, &BoardAccess::SetPulseAfterDataWrite);
  connect(&board_, &BoardAccess::readWriteBitSet, &registerPanel_, &RegisterPanel::ShowReadWriteBit);
  connect(&registerPanel_, &RegisterPanel::serialOutputEnabled, this,
          [this] { functionSwitches_.ShowSdoDisabled(false); });
  connect(&temperature_, &TemperaturePanel::serialOutputDisabled, this,
          [this] { functionSwitches_.ShowSdoDisabled(true); });
  connect(&functionSwitches_, &FunctionSwitches::lineDirectionChanged, this,
          [this](DigitalLine line, bool boardDrives) { hardwareSwitches_.LetBoardDrive(line, boardDrives); });
  connect(&functionSwitches_, &FunctionSwitches::driveLevelsRead, this,
          [this](bool d1High, bool d0High) { hardwareSwitches_.ShowDriveLevels(d1High, d0High); });

  // The register map reads and writes the way the register panel does: the
  // same SDO switch, option flag and R/W label follow.
  connect(registerMap_, &RegisterMapWindow::readAllRequested, &registerPanel_, &RegisterPanel::ReadAllRegisters);
  connect(registerMap_, &RegisterMapWindow::codeEntered, this, [this](WordAddress address, int code) {
    BoardAccess::Action action(board_);
    board_.WriteRegister(address, code);
  });
  connect(&registerPanel_, &RegisterPanel::displayModeChanged, this,
          [this](DisplayMode mode) { registerMap_->ShowDecimal(mode == DisplayMode::Dec); });

  connect(&board_, &BoardAccess::actionEnded, this, &MainWindow::ShowActionOutcome);

  // The simulated converter's supply cycled: what the program knew of its
  // registers no longer holds.
  connect(boardViews_, &BoardViews::converterPowerCycled, this, [this] { registers_.ForgetEverything(); });
  connect(&statusLine_, &StatusLine::reconnectClicked, this, &MainWindow::onReconnectChosen);
}

// After every action: its first failed request and why, with what the action
// did about it, or what it refused or read on its own; nothing when all went
// well.
void MainWindow::ShowActionOutcome(const std::optional<BoardCall> &failure, const QString &note) {
  if (failure && ReportsBoardGone(*failure))
    ShowDisconnected(true);
  if (disconnected_) {
    QString line = QStringLiteral("Board disconnected.");
    if (failure)
      line += QLatin1Char(' ') + QString::fromStdString(FailureLine(*failure)) + QLatin1Char('.');
    statusLine_.ShowMessage(line, true);
    return;
  }
  if (!failure) {
    statusLine_.ShowMessage(note, false);
    return;
  }
  QString line = QString::fromStdString(FailureLine(*failure)) + QLatin1Char('.');
  if (!note.isEmpty())
    line += QLatin1Char(' ') + note;
  statusLine_.ShowMessage(line, true);
}

QString MainWindow::BoardName() const {
  if (link_.SimulatedBoard() != nullptr)
    return QStringLiteral("Simulated board");
  const std::string file = link_.LibraryFile();
  return QString::fromLocal8Bit(file.substr(file.find_last_of("/\\") + 1));
}

void MainWindow::onExitChosen() {
  emit endRequested();
}

void MainWindow::onAboutChosen() {
  if (about_ == nullptr) {
    about_ = new AboutBox(QString::fromLatin1(ApplicationTitle), variant_.Version, this);
    about_->setWindowIcon(windowIcon());
  }
  about_->show();
  about_->raise();
  about_->activateWindow();
}

void MainWindow::onRegisterMapChosen() {
  registerMap_->show();
  registerMap_->raise();
  registerMap_->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent *event) {
  event->accept();
  emit endRequested();
}

} // namespace vq
