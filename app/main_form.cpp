#include "app/main_form.h"

#include "app/main_form_layout.h"
#include "forms/program_icon.h"
#include "windows/board_views.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>

#include <cstdio>

namespace vq {

MainForm::MainForm(ProgramValues &values, BoardLink &link, BoardSession &session, ProgramVariant variant,
                   QWidget *parent)
    : QMainWindow(parent), values_(values), link_(link), session_(session), variant_(variant),
      board_(link, *this), context_{ui_, values_, board_, this}, registerPanel_(context_),
      valueEntry_(context_, registerPanel_), switches_(context_), initialState_(context_), temperature_(context_),
      calibration_(context_) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowIcon(ProgramIcon());
  auto *client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  client->setFixedSize(ClientWidth, ClientHeight);
  setCentralWidget(client);
  BuildMainFormLayout(client, ui_);
  BuildMenus();
  Wire();
  new BoardViews(this, link_); // owned by the window: the View menu and the board windows
  // A single fixed border: the user cannot resize the window.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
}

bool MainForm::Form_Load() {
  session_.SetFirmwarePath();
  session_.CopyFirmwarePath(session_.FirmwarePath);
  initialState_.SetHardwareSwitches();

  const int16_t status = link_.ConnectAndDownload(session_);
  board_.LastRequestStatus = status;
  if (!link_.DownloadSucceeded(status)) {
    const QString text = QStringLiteral("Error Downloading Firmware - Check USB connections");
    // Also on the terminal a bench script may have started the program from.
    std::fprintf(stderr, "%s (status %d)\n", qPrintable(text), status);
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(ApplicationTitle), text, QMessageBox::Ok);
    box.exec();
    return false;
  }

  setWindowTitle(QStringLiteral("VQ8231 Evaluation Software"));
  ui_.Label9->setText(QStringLiteral("Enter Offset Value (-16 to 15.875)"));
  ui_.Label7->setText(QStringLiteral("Enter Fine Gain Value (-32 to 31)"));
  initialState_.Apply();
  // The earlier build shows the window after the load handler has returned;
  // the caller does that for both.
  return true;
}

void MainForm::BuildMenus() {
  QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("MnuFile"));
  QAction *exit = file->addAction(QStringLiteral("E&xit"));
  exit->setObjectName(QStringLiteral("MnuExit"));
  connect(exit, &QAction::triggered, this, &MainForm::MnuExit_Click);

  QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("MnuHelp"));
  QAction *about = help->addAction(QStringLiteral("&About"));
  about->setObjectName(QStringLiteral("MnuAbout"));
  connect(about, &QAction::triggered, this, &MainForm::MnuAbout_Click);

  // A menu-bar item without a handler: choosing it does nothing.
  QAction *test = menuBar()->addAction(QStringLiteral("Direct Read/Write"));
  test->setObjectName(QStringLiteral("MnuTest"));
}

void MainForm::MnuExit_Click() {
  emit ProgramEnd();
}

void MainForm::MnuAbout_Click() {
  if (about_ == nullptr) {
    about_ = new AboutForm(QString::fromLatin1(ApplicationTitle), variant_.Version, this);
    about_->setWindowIcon(windowIcon());
  }
  about_->show();
  about_->raise();
  about_->activateWindow();
}

void MainForm::closeEvent(QCloseEvent *event) {
  event->accept();
  emit ProgramEnd();
}

bool MainForm::PulseAfterDataWrite() const {
  return ui_.Check1->isChecked();
}

void MainForm::ShowReadWriteBit(int16_t bit) {
  ui_.LabelRW->setText(QString::number(bit));
}

} // namespace vq
