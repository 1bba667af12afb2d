// Start-up of both programs: the window and its frames, the failed download,
// and the fatal ends (missing library or entry point, a path too long), run
// in a child process where the program must end.
#include "app/start.h"
#include "board/four_operation_link.h"
#include "board/two_operation_link.h"
#include "panels/design_names.h"
#include "panels/toggle_switch.h"
#include "tests/support/form_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>

#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <cstdio>

using namespace vq;
using namespace vq::test;

namespace {

// A caption as the user reads it: a mnemonic's "&" is shown as an underline,
// "&&" as "&".
QString WithoutMnemonic(QString text) {
  return text.replace("&&", "\x01").remove('&').replace('\x01', '&');
}

// The child side: runs the program in one of several situations and prints
// the message boxes it showed before ending.
int RunChild(QApplication &app, const QString &scenario) {
  MessageAnswerer answerer;
  const std::string bin = VQ_BIN_DIR;
  ProgramVariant variant;
  std::unique_ptr<BoardLink> link;
  std::string directory = bin;
  if (scenario == "missing-library") {
    link = std::make_unique<FourOperationLink>("/nonexistent/KVL_CYUSB_USB4.so");
  } else if (scenario == "missing-entry") {
    link = std::make_unique<FourOperationLink>(bin + "/libUSBFunctions.so");
  } else if (scenario == "missing-earlier-library") {
    link = std::make_unique<TwoOperationLink>("libNoSuchUSBFunctions.so");
  } else if (scenario == "long-path") {
    link = std::make_unique<FourOperationLink>(bin + "/KVL_CYUSB_USB4.so");
    directory = "/" + std::string(520, 'd');
  } else if (scenario == "no-firmware" || scenario == "earlier-no-firmware") {
    if (scenario.startsWith("earlier"))
      link = std::make_unique<TwoOperationLink>(bin + "/libUSBFunctions.so");
    else
      link = std::make_unique<FourOperationLink>(bin + "/KVL_CYUSB_USB4.so");
    directory = "/nonexistent"; // no firmware file there
  } else if (scenario == "close-with-about" || scenario == "exit-menu") {
    link = std::make_unique<FourOperationLink>(bin + "/KVL_CYUSB_USB4.so");
    QTimer::singleShot(50, [scenario] {
      for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *form = qobject_cast<MainWindow *>(widget);
        if (form == nullptr)
          continue;
        std::printf("window shown: %d\n", form->isVisible() ? 1 : 0);
        if (scenario == "exit-menu") {
          form->findChild<QAction *>("MnuExit")->trigger();
        } else {
          form->findChild<QAction *>("MnuAbout")->trigger();
          std::printf("about shown: %d\n", form->About() && form->About()->isVisible() ? 1 : 0);
          form->close();
        }
        std::fflush(stdout);
      }
    });
  } else {
    return 99;
  }
  const int status = RunProgram(app, *link, directory, variant);
  for (const SeenMessage &message : answerer.Seen)
    std::printf("message: %s | %s | icon %d\n", qPrintable(message.title), qPrintable(message.text),
                static_cast<int>(message.icon));
  return status;
}

struct ChildResult {
  int exitCode;
  QString output;
};

ChildResult RunInChild(const QString &scenario) {
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  child.setProcessEnvironment(environment);
  child.start(QCoreApplication::applicationFilePath(), {"--child", scenario});
  if (!child.waitForFinished(30000)) {
    child.kill();
    return {-1, "timed out"};
  }
  return {child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -2,
          QString::fromLocal8Bit(child.readAllStandardOutput())};
}

} // namespace

class StartupTest : public QObject {
  Q_OBJECT
private slots:
  void windowHasItsFramesAndMenus_data();
  void windowHasItsFramesAndMenus();
  void failedDownloadShowsTheMessageOnceAndNoWindow_data();
  void failedDownloadShowsTheMessageOnceAndNoWindow();
  void fatalStartsEndTheProgram_data();
  void fatalStartsEndTheProgram();
  void closingOrExitEndsTheProgram_data();
  void closingOrExitEndsTheProgram();
  void directReadWriteDoesNothing();
  void controlsCarryTheirCaptions();
  void everyDesignNameIsAControl();
};

// The table that maps members to design names names only windows and
// controls that exist, each once.
void StartupTest::everyDesignNameIsAControl() {
  RecordingForm f;
  QVERIFY(f.fixture.Start());
  f.fixture.Find<QAction>("MnuAbout")->trigger(); // the About box and its controls
  QSet<QString> seen;
  for (const DesignName &row : DesignNames) {
    const QString name = QString::fromLatin1(row.Design);
    QVERIFY2(!seen.contains(name), row.Design);
    seen.insert(name);
    const bool isTheWindow = f.Window().objectName() == name;
    QVERIFY2(isTheWindow || f.Window().findChild<QWidget *>(name) != nullptr, row.Design);
  }
}

void StartupTest::windowHasItsFramesAndMenus_data() {
  QTest::addColumn<bool>("earlierBuild");
  QTest::newRow("VQ8231(version2)") << false;
  QTest::newRow("VQ8231") << true;
}

void StartupTest::windowHasItsFramesAndMenus() {
  QFETCH(bool, earlierBuild);
  RecordingForm f(earlierBuild);
  f.link.DownloadStatus = earlierBuild ? 1 : 0;
  QVERIFY(f.fixture.Start());
  MainWindow &form = f.fixture.Window();
  QVERIFY(form.isVisible());
  QCOMPARE(form.objectName(), QString("MainForm"));
  QCOMPARE(form.windowTitle(), QString("VQ8231 Evaluation Software"));
  // Resizable, down to what the frames need (the window fits the screen).
  QVERIFY(form.maximumSize().width() > form.minimumSizeHint().width());
  // The drawn icon in the sizes window managers and task bars ask for.
  QCOMPARE(form.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}}));
  QCOMPARE(f.link.Downloads, 1);
  QCOMPARE(QString::fromStdString(f.link.DownloadedPath), QString(VQ_BIN_DIR "/VQ8231.hex"));

  // The frames in the design's arrangement: three across the window, one
  // under the other, then temperature and calibration side by side.
  const struct {
    const char *name, *caption;
  } frames[] = {
      {"Frame1", "Read / Write Registers"},
      {"Frame6", "Function Register Configuration"},
      {"Frame12", "Hardware Configuration"},
      {"Frame19", "Measure VQ8231 Core Temperature"},
      {"Frame22", "Calibration"},
  };
  QWidget *client = f.fixture.Find<QGroupBox>("Frame1")->parentWidget();
  QList<QRect> at;
  for (const auto &frame : frames) {
    auto *box = f.fixture.Find<QGroupBox>(frame.name);
    QCOMPARE(box->parentWidget(), client);
    QCOMPARE(WithoutMnemonic(box->title()), QString(frame.caption));
    at << box->geometry();
  }
  for (int n = 1; n < 3; ++n) {
    QCOMPARE(at[n].left(), at[0].left());
    QCOMPARE(at[n].right(), at[0].right());
    QVERIFY(at[n].top() > at[n - 1].bottom());
  }
  QCOMPARE(at[3].left(), at[0].left());
  QCOMPARE(at[4].right(), at[0].right());
  QCOMPARE(at[3].top(), at[4].top());
  QVERIFY(at[3].top() > at[2].bottom());
  QVERIFY(at[4].left() > at[3].right());
  // The input word across the top of the register frame.
  const QRect word = f.fixture.Find<QGroupBox>("Frame17")->geometry();
  QVERIFY(word.top() < f.fixture.Find<QWidget>("ComboReg")->geometry().top());
  QVERIFY(word.width() > at[0].width() * 9 / 10);
  QCOMPARE(WithoutMnemonic(f.fixture.Find<QLabel>("Label9")->text()), QString("Enter Offset Value (-16 to 15.875)"));
  QCOMPARE(WithoutMnemonic(f.fixture.Find<QLabel>("Label7")->text()), QString("Enter Fine Gain Value (-32 to 31)"));

  QCOMPARE(f.fixture.Find<QMenu>("MnuFile")->title(), QString("&File"));
  QCOMPARE(f.fixture.Find<QAction>("MnuExit")->text(), QString("E&xit"));
  QCOMPARE(f.fixture.Find<QMenu>("MnuHelp")->title(), QString("&Help"));
  QCOMPARE(f.fixture.Find<QAction>("MnuAbout")->text(), QString("&About"));
  QCOMPARE(f.fixture.Find<QAction>("MnuTest")->text(), QString("Direct Read/Write"));
  QVERIFY(f.fixture.answerer.Seen.isEmpty());
}

void StartupTest::failedDownloadShowsTheMessageOnceAndNoWindow_data() {
  QTest::addColumn<bool>("earlierBuild");
  QTest::addColumn<int>("status");
  QTest::newRow("version2, status 1") << false << 1;
  QTest::newRow("version2, status -1") << false << -1;
  QTest::newRow("version2, status 1234") << false << 1234;
  QTest::newRow("earlier, status 0") << true << 0;
  QTest::newRow("earlier, status -5") << true << -5;
}

void StartupTest::failedDownloadShowsTheMessageOnceAndNoWindow() {
  QFETCH(bool, earlierBuild);
  QFETCH(int, status);
  RecordingForm f(earlierBuild);
  f.link.DownloadStatus = static_cast<int16_t>(status);
  QVERIFY(!f.fixture.Start());
  QVERIFY(!f.fixture.Window().isVisible());
  QCOMPARE(f.fixture.answerer.Seen.size(), 1);
  const SeenMessage &message = f.fixture.answerer.Seen.front();
  QCOMPARE(message.text, QString("Error Downloading Firmware - Check USB connections"));
  QCOMPARE(message.title, QString("VQ8231 Evaluation Software"));
  QCOMPARE(message.icon, QMessageBox::Warning);
  QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QVERIFY(f.link.Requests.empty()); // nothing reaches the board after the failure
  QCOMPARE(f.fixture.Window().Board().LastRequestStatus(), status);
}

void StartupTest::fatalStartsEndTheProgram_data() {
  QTest::addColumn<QString>("scenario");
  QTest::addColumn<int>("exitCode");
  QTest::addColumn<QString>("message");
  QTest::newRow("library missing") << "missing-library" << 2 << "\"/nonexistent/KVL_CYUSB_USB4.so\"";
  QTest::newRow("entry point missing") << "missing-entry" << 2 << "\"Search_For_Boards\"";
  QTest::newRow("earlier library missing") << "missing-earlier-library" << 2 << "\"libNoSuchUSBFunctions.so\"";
  // The path itself only as a short excerpt: "/ddd...d..." (40 bytes).
  QTest::newRow("path too long") << "long-path" << 3
                                 << "directory path is too long: the firmware path has 532 characters, and at most "
                                    "512 fit the board library's path buffer. Move the program to a directory with a "
                                    "shorter path.\n\nFirmware path: \"/" +
                                        QString(39, 'd') + "...\"";
  // Our libraries name the step that failed, on a line of its own.
  const QString noFirmware = "Error Downloading Firmware - Check USB connections\n"
                             "VQ8231.hex is missing beside the program or cannot be read | icon";
  QTest::newRow("no firmware") << "no-firmware" << 1 << noFirmware;
  // The earlier build's library reports this failure as 0, which says no why.
  QTest::newRow("earlier, no firmware") << "earlier-no-firmware" << 1
                                        << "Error Downloading Firmware - Check USB connections | icon";
}

void StartupTest::fatalStartsEndTheProgram() {
  QFETCH(QString, scenario);
  QFETCH(int, exitCode);
  QFETCH(QString, message);
  const ChildResult result = RunInChild(scenario);
  QCOMPARE(result.exitCode, exitCode);
  QCOMPARE(result.output.count("message: "), 1);
  QVERIFY2(result.output.contains(message), qPrintable(result.output));
  QVERIFY(!result.output.contains("window shown"));
}

void StartupTest::closingOrExitEndsTheProgram_data() {
  QTest::addColumn<QString>("scenario");
  QTest::newRow("close with the About window open") << "close-with-about";
  QTest::newRow("File, Exit") << "exit-menu";
}

void StartupTest::closingOrExitEndsTheProgram() {
  QFETCH(QString, scenario);
  const ChildResult result = RunInChild(scenario);
  QCOMPARE(result.exitCode, 0);
  QVERIFY2(result.output.contains("window shown: 1"), qPrintable(result.output));
  if (scenario == "close-with-about")
    QVERIFY2(result.output.contains("about shown: 1"), qPrintable(result.output));
  QVERIFY(!result.output.contains("message: "));
}

void StartupTest::directReadWriteDoesNothing() {
  RecordingForm f;
  QVERIFY(f.fixture.Start());
  f.link.Requests.clear();
  QSignalSpy ending(&f.fixture.Window(), &MainWindow::endRequested);
  f.fixture.Find<QAction>("MnuTest")->trigger();
  QVERIFY(f.link.Requests.empty());
  QCOMPARE(ending.count(), 0);
  QVERIFY(f.fixture.Window().isVisible());
}

void StartupTest::controlsCarryTheirCaptions() {
  RecordingForm f;
  MainWindowControls &ui = f.fixture.Controls();
  const struct {
    int number;
    const char *frame, *off, *on;
  } switches[] = {
      {1, "Frame7", "Disabled", "Enabled"},
      {2, "Frame13", "2sComplement", "Binary"},
      {3, "Frame11", "D1 - Input", "D1 - Output"},
      {4, "Frame10", "D0 - Input", "D0 - Output"},
      {5, "Frame11", "D1 - Low", "D1 - High"},
      {6, "Frame10", "D0 - Low", "D0 - High"},
      {7, "Frame9", "Enabled", "Disabled"},
      {8, "Frame14", "Low", "High"},
      {9, "Frame15", "Low", "High"},
      {10, "Frame16", "Low", "High"},
      {11, "Frame20", "Low", "High"},
      {12, "Frame21", "Low", "High"},
  };
  for (const auto &s : switches) {
    ToggleSwitch *toggle = ui.Switches[s.number];
    QCOMPARE(toggle->objectName(), QStringLiteral("Toggle%1").arg(s.number));
    QCOMPARE(toggle->parentWidget()->objectName(), QString(s.frame));
    toggle->SetValue(false);
    QCOMPARE(toggle->Caption(), QString(s.off));
    toggle->SetValue(true);
    QCOMPARE(toggle->Caption(), QString(s.on));
  }
  const struct {
    const char *name, *caption;
  } frames[] = {{"Frame7", "Local Gnd Offset Adjust"},
                {"Frame9", "Serial Data Output (SDO)"},
                {"Frame8", "Digital I/O Ports"},
                {"Frame13", "Bin / 2sComp"},
                {"Frame14", "CLR Pin"},
                {"Frame15", "LDAC Pin"},
                {"Frame16", "RSTIN Pin"},
                {"Frame21", "Drive D1 Pin"},
                {"Frame20", "Drive D0 Pin"},
                {"Frame17", "Input Register Contents"}};
  for (const auto &frame : frames)
    QCOMPARE(f.fixture.Find<QGroupBox>(frame.name)->title(), QString(frame.caption));
  const struct {
    const char *name, *caption;
  } buttons[] = {{"Command1", "Read Register"},
                 {"Command2", "Hex"},
                 {"Command4", "CLEAR"},
                 {"Command5", "LOAD"},
                 {"Command6", "READ"},
                 {"Command7", "Measure"},
                 {"CommandOff", "Done"},
                 {"CommandFS", "Done"},
                 {"Command8", "Perform Offset && Gain Calibration on Selected DAC"}};
  for (const auto &button : buttons)
    QCOMPARE(f.fixture.Find<QPushButton>(button.name)->text(), QString(button.caption));
  QCOMPARE(f.fixture.Find<QCheckBox>("Check1")->text(), QString("Pulse After Data Write"));
  const struct {
    const char *name, *caption;
  } labels[] = {{"Label1", "Enter Data Value"},
                {"Label29", "Enter Voltage Value"},
                {"Label5", "Select Output Range"},
                {"Label19", "Voltage at TEMP pin"},
                {"Label21", "Temperature (°C)"},
                {"Label23", ""},
                {"Label25", ""},
                {"LabelData", "000000"},
                {"LabelOff2", "Measured Voltage = "}};
  for (const auto &label : labels)
    QCOMPARE(WithoutMnemonic(f.fixture.Find<QLabel>(label.name)->text()), QString(label.caption));
}

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  if (argc == 3 && QString(argv[1]) == "--child")
    return RunChild(app, QString(argv[2]));
  StartupTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
