// Start-up of both programs: the window and its frames, the failed download,
// and the fatal ends (missing library or entry point, a path too long), run
// in a child process where the program must end.
#include "app/start.h"
#include "board/four_operation_link.h"
#include "board/two_operation_link.h"
#include "panels/choice_list.h"
#include "panels/design_names.h"
#include "panels/toggle_switch.h"
#include "tests/support/form_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QStyle>
#include <QStyleOptionGroupBox>

#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include <cstdio>

using namespace vq;
using namespace vq::test;

namespace {

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
        auto *form = qobject_cast<MainForm *>(widget);
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

// What keeps a user from reading the window: a shown control outside its
// frame or in the row of the frame's title, two shown controls on top of each
// other, a caption that its control cuts off, a line of controls out of line.
QStringList Unreadable(const QWidget &form) {
  QStringList problems;
  QList<const QWidget *> containers{form.findChild<QWidget *>("Frame1")->parentWidget()};
  for (const QGroupBox *frame : form.findChildren<QGroupBox *>())
    containers << frame;
  const auto caption = [](QString text) { return text.replace("&&", "\x01").remove('&').replace('\x01', '&'); };
  const auto width = [](const QFontMetrics &metrics, const QString &text) {
    return text.isEmpty() ? 0 : metrics.boundingRect(text).width();
  };
  // Where a control shows something: a label only where its text is.
  const auto inked = [&](const QWidget *control) {
    const auto *label = qobject_cast<const QLabel *>(control);
    if (label == nullptr || label->wordWrap() || label->frameShape() != QFrame::NoFrame)
      return control->geometry();
    const QSize text(width(label->fontMetrics(), label->text().trimmed()), label->fontMetrics().height());
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(), text, label->contentsRect())
        .translated(label->pos());
  };
  for (const QWidget *container : containers) {
    if (!container->isVisibleTo(&form))
      continue;
    QRect title;
    if (const auto *frame = qobject_cast<const QGroupBox *>(container); frame != nullptr && !frame->title().isEmpty()) {
      QStyleOptionGroupBox option;
      option.initFrom(frame);
      option.text = frame->title();
      option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
      title = frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
    }
    QList<const QWidget *> shown;
    for (const QObject *child : container->children()) {
      const auto *control = qobject_cast<const QWidget *>(child);
      if (control != nullptr && !control->objectName().isEmpty() && control->isVisibleTo(&form))
        shown << control;
    }
    for (const QWidget *control : shown) {
      const QString name = control->objectName();
      const QRect area = control->contentsRect();
      const QFontMetrics metrics = control->fontMetrics();
      if (!container->rect().contains(control->geometry()))
        problems << name + " sticks out of " + container->objectName();
      if (title.isValid() && inked(control).top() <= title.bottom())
        problems << name + " reaches into the title row of " + container->objectName();
      QString text;
      if (const auto *label = qobject_cast<const QLabel *>(control)) {
        if (label->wordWrap() && label->heightForWidth(area.width()) > area.height())
          problems << name + " is cut off below";
        if (!label->wordWrap())
          text = label->text().trimmed();
      } else if (const auto *button = qobject_cast<const QAbstractButton *>(control)) {
        text = caption(button->text());
      } else if (const auto *frame = qobject_cast<const QGroupBox *>(control)) {
        text = frame->title();
      } else if (const auto *box = qobject_cast<const QLineEdit *>(control)) {
        text = box->text();
      } else if (const auto *list = qobject_cast<const QComboBox *>(control)) {
        for (int n = 0; n < list->count(); ++n)
          if (width(metrics, list->itemText(n)) > area.width())
            problems << name + " cuts off " + list->itemText(n);
      }
      if (width(metrics, text) > area.width())
        problems << name + " cuts off " + text;
      if (metrics.height() > area.height())
        problems << name + " is lower than a line of text";
      for (const QWidget *other : shown.mid(shown.indexOf(control) + 1))
        if (inked(other).intersects(inked(control)))
          problems << name + " lies on " + other->objectName();
    }
  }
  // Controls that line up: those read as one line share its centre line,
  // left to right; a column shares its left edge; the controls of the stages
  // that take each other's place take the same place, and so do switches of
  // one kind in their frames.
  enum Edges { Left = 1, Right = 2, Middle = 4, InOrder = 8, Width = 16 };
  const struct {
    int edges;
    QStringList names;
  } lines[] = {
      {Middle | InOrder, {"Label1", "Label29"}},
      {Middle | InOrder, {"ComboReg", "ComboAddr", "Command1", "Label27", "TextData", "Command2", "TextVolts"}},
      {Left, {"Label1", "TextData"}},
      {Left, {"Label29", "TextVolts"}},
      {Left | Middle, {"Label1", "Label5", "Label7", "Label9"}},
      {Left | Middle, {"TextData", "ComboCoarse", "TextFine", "TextOffset"}},
      {Middle | InOrder, {"Label19", "Label23"}},
      {Middle | InOrder, {"Label21", "Label25"}},
      {Left, {"Label19", "Label21"}},
      {Left | Right, {"Label23", "Label25"}},
      {Left, {"Command7", "Command8", "LabelOff1"}},
      {Middle | InOrder, {"LabelOff1", "LabelOff2", "TextOff", "CommandOff"}},
      {Middle | InOrder, {"LabelFS1", "LabelFS2", "TextFS", "CommandFS"}},
      {Left | Right | Middle, {"LabelOff1", "LabelFS1", "LabelComplete"}},
      {Left | Right | Middle, {"LabelOff2", "LabelFS2"}},
      {Left | Right | Middle, {"TextOff", "TextFS"}},
      {Left | Right | Middle, {"CommandOff", "CommandFS"}},
      {Middle | InOrder | Width, {"Frame7", "Frame9"}},
      {Middle | InOrder, {"Frame7", "Frame9", "Frame8"}},
      {Left | Right | Middle, {"Toggle1", "Toggle7"}},
      {Middle | InOrder | Width, {"Frame11", "Frame10"}},
      {Middle | InOrder | Width, {"Toggle3", "Toggle5"}},
      {Middle | InOrder | Width, {"Toggle4", "Toggle6"}},
      {Left | Right | Middle, {"Toggle3", "Toggle4"}},
      {Left | Right | Middle, {"Toggle5", "Toggle6"}},
      {Middle | InOrder | Width, {"Command4", "Command5"}},
      {Middle | InOrder, {"Frame13", "Frame14", "Frame15", "Frame16", "Frame21", "Frame20"}},
      {Left | Right | Middle, {"Toggle2", "Toggle8", "Toggle10", "Toggle12", "Toggle11"}},
  };
  for (const auto &line : lines) {
    const QRect first = form.findChild<QWidget *>(line.names[0])->geometry();
    QRect before = first;
    for (const QString &name : line.names.mid(1)) {
      const QRect at = form.findChild<QWidget *>(name)->geometry();
      if ((line.edges & Left && at.left() != first.left()) || (line.edges & Right && at.right() != first.right()) ||
          (line.edges & Middle && 2 * at.y() + at.height() != 2 * first.y() + first.height()) ||
          (line.edges & InOrder && at.left() <= before.right()) || (line.edges & Width && at.width() != first.width()))
        problems << name + " is out of line with " + line.names.join(' ');
      before = at;
    }
  }
  // Values the program shows stand apart from captions, all in one kind of box.
  const auto *model = form.findChild<QLabel *>("Label27");
  for (const char *readout : {"Label27", "Label23", "Label25"}) {
    const auto *label = form.findChild<QLabel *>(readout);
    if (label->frameShape() == QFrame::NoFrame || label->frameStyle() != model->frameStyle())
      problems << QString(readout) + " does not look like the other values";
  }
  return problems;
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
  void everyShownControlIsReadable_data();
  void everyShownControlIsReadable();
  void everyDesignNameIsAControl();
  void realProgramsFindTheirFilesBesideThemselves_data();
  void realProgramsFindTheirFilesBesideThemselves();
};

// The table that maps the panels' members to design names names only
// controls that exist, each once.
void StartupTest::everyDesignNameIsAControl() {
  RecordingForm f;
  QSet<QString> seen;
  for (const DesignName &row : DesignNames) {
    const QString name = QString::fromLatin1(row.designName);
    QVERIFY2(!seen.contains(name), row.designName);
    seen.insert(name);
    QVERIFY2(f.fixture.form->findChild<QWidget *>(name) != nullptr, row.designName);
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
  QVERIFY(f.fixture.Load());
  MainForm &form = *f.fixture.form;
  QVERIFY(form.isVisible());
  QCOMPARE(form.objectName(), QString("MainForm"));
  QCOMPARE(form.windowTitle(), QString("VQ8231 Evaluation Software"));
  QCOMPARE(form.centralWidget()->size(), QSize(978, 554)); // 14670 x 8310 twips
  QCOMPARE(form.minimumSize(), form.maximumSize());        // fixed size
  QCOMPARE(f.link.Downloads, 1);
  QCOMPARE(QString::fromStdString(f.link.DownloadedPath), QString(VQ_BIN_DIR "/VQ8231.hex"));

  const struct {
    const char *name, *caption;
    QRect twips;
  } frames[] = {
      {"Frame1", "Read / Write Registers", {120, 360, 14415, 2415}},
      {"Frame6", "Function Register Configuration", {120, 3000, 14415, 1935}},
      {"Frame12", "Hardware Configuration", {120, 5160, 14415, 1335}},
      {"Frame19", "Measure VQ8231 Core Temperature", {120, 6720, 4815, 1455}},
      {"Frame22", "Calibration", {5160, 6720, 9375, 1455}},
  };
  for (const auto &frame : frames) {
    auto *box = f.fixture.Find<QGroupBox>(frame.name);
    QCOMPARE(box->parentWidget(), form.centralWidget());
    QCOMPARE(box->title(), QString(frame.caption));
    const QRect &t = frame.twips;
    QCOMPARE(box->geometry(), QRect(t.x() / 15, t.y() / 15, t.width() / 15, t.height() / 15));
  }
  QCOMPARE(f.fixture.Find<QGroupBox>("Frame17")->geometry(), QRect(8, 24, 945, 81));
  QCOMPARE(f.fixture.Find<QLabel>("Label9")->text(), QString("Enter Offset Value (-16 to 15.875)"));
  QCOMPARE(f.fixture.Find<QLabel>("Label7")->text(), QString("Enter Fine Gain Value (-32 to 31)"));

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
  QVERIFY(!f.fixture.Load());
  QVERIFY(!f.fixture.form->isVisible());
  QCOMPARE(f.fixture.answerer.Seen.size(), 1);
  const SeenMessage &message = f.fixture.answerer.Seen.front();
  QCOMPARE(message.text, QString("Error Downloading Firmware - Check USB connections"));
  QCOMPARE(message.title, QString("VQ8231 Evaluation Software"));
  QCOMPARE(message.icon, QMessageBox::Warning);
  QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QVERIFY(f.link.Requests.empty()); // nothing reaches the board after the failure
  QCOMPARE(f.fixture.form->Board().LastRequestStatus, status);
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
  QTest::newRow("no firmware") << "no-firmware" << 1 << "Error Downloading Firmware - Check USB connections";
  QTest::newRow("earlier, no firmware") << "earlier-no-firmware" << 1
                                        << "Error Downloading Firmware - Check USB connections";
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
  QVERIFY(f.fixture.Load());
  f.link.Requests.clear();
  QSignalSpy ending(f.fixture.form.get(), &MainForm::ProgramEnd);
  f.fixture.Find<QAction>("MnuTest")->trigger();
  QVERIFY(f.link.Requests.empty());
  QCOMPARE(ending.count(), 0);
  QVERIFY(f.fixture.form->isVisible());
}

void StartupTest::controlsCarryTheirCaptions() {
  RecordingForm f;
  MainFormControls &ui = f.fixture.ui();
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
    ToggleSwitch *toggle = ui.Toggle[s.number];
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
    QCOMPARE(f.fixture.Find<QLabel>(label.name)->text(), QString(label.caption));
}

void StartupTest::everyShownControlIsReadable_data() {
  QTest::addColumn<QString>("view");
  for (const char *view :
       {"Function Register", "Data Register", "Coarse Gain Register", "Fine Gain Register", "Offset Register",
        "offset stage", "zero scale stage", "calibration complete", "after a measurement"})
    QTest::newRow(view) << view;
}

void StartupTest::everyShownControlIsReadable() {
  QFETCH(QString, view);
  RecordingForm f;
  QVERIFY(f.fixture.Load());
  MainFormControls &ui = f.fixture.ui();
  QStringList problems;
  int pauses = 0;
  f.fixture.form->Calibration().SetCompletePause([&] {
    ++pauses;
    problems = Unreadable(*f.fixture.form);
  });
  if (view.endsWith("Register")) {
    const int index = ui.ComboReg->findText(view);
    ui.ComboReg->setCurrentIndex(index);
    emit ui.ComboReg->activated(index);
  } else if (view == "after a measurement") {
    f.link.Sample = 0; // the longest temperature: "-271"
    QTest::mouseClick(ui.Command7, Qt::LeftButton);
  } else {
    QTest::mouseClick(ui.Command8, Qt::LeftButton);
    if (view != "offset stage")
      QTest::mouseClick(ui.CommandOff, Qt::LeftButton);
    if (view == "calibration complete") {
      ui.TextFS->setText("-4.095");
      QTest::mouseClick(ui.CommandFS, Qt::LeftButton);
      QCOMPARE(pauses, 1);
    }
  }
  if (view != "calibration complete")
    problems = Unreadable(*f.fixture.form);
  QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
}

// The built programs, copied into a directory of their own with some of the
// files they need, started from another working directory.
void StartupTest::realProgramsFindTheirFilesBesideThemselves_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<QStringList>("beside");
  QTest::addColumn<QString>("complaint");       // empty: the program must be up and running
  QTest::addColumn<QByteArray>("subdirectory"); // the program's directory, as bytes
  const QString v2 = "VQ8231(version2)", earlier = "VQ8231";
  // A directory whose name is not UTF-8 (Latin-1 "café") must pass through
  // byte for byte to the loader and the board library.
  const QByteArray latin1("caf\xe9 dir");
  QTest::newRow("version2 in a Latin-1 directory")
      << v2 << QStringList{"KVL_CYUSB_USB4.so", "VQ8231.hex"} << "" << latin1;
  QTest::newRow("earlier in a Latin-1 directory")
      << earlier << QStringList{"libUSBFunctions.so", "VQ8231.hex"} << "" << latin1;
  QTest::newRow("version2, complete") << v2 << QStringList{"KVL_CYUSB_USB4.so", "VQ8231.hex"} << "" << QByteArray();
  QTest::newRow("version2, no library") << v2 << QStringList{"VQ8231.hex"} << "%1/KVL_CYUSB_USB4.so\" cannot be loaded"
                                        << QByteArray();
  QTest::newRow("version2, no firmware") << v2 << QStringList{"KVL_CYUSB_USB4.so"} << "Error Downloading Firmware"
                                         << QByteArray();
  QTest::newRow("earlier, complete") << earlier << QStringList{"libUSBFunctions.so", "VQ8231.hex"} << ""
                                     << QByteArray();
  QTest::newRow("earlier, no library") << earlier << QStringList{"VQ8231.hex"}
                                       << "libUSBFunctions.so\" cannot be loaded" << QByteArray();
  QTest::newRow("earlier, no firmware") << earlier << QStringList{"libUSBFunctions.so"} << "Error Downloading Firmware"
                                        << QByteArray();

  // Bad firmware files: "name=kind" puts a file of that kind in place.
  const QString download = "Error Downloading Firmware";
  for (const char *kind : {"empty", "corrupt", "directory", "huge"}) {
    QTest::addRow("version2, firmware %s", kind)
        << v2 << QStringList{"KVL_CYUSB_USB4.so", QStringLiteral("VQ8231.hex=") + kind} << download << QByteArray();
    QTest::addRow("earlier, firmware %s", kind)
        << earlier << QStringList{"libUSBFunctions.so", QStringLiteral("VQ8231.hex=") + kind} << download
        << QByteArray();
  }
  // Places: blanks and non-ASCII letters; a firmware path of exactly the 512
  // bytes the board library takes, and one byte more ("bytes:N" pads the
  // directory so the firmware path has N bytes).
  QTest::newRow("version2, blanks and UTF-8 in the directory")
      << v2 << QStringList{"KVL_CYUSB_USB4.so", "VQ8231.hex"} << "" << QByteArray("Mes essais – ½ V");
  QTest::newRow("version2, firmware path of 512 bytes")
      << v2 << QStringList{"KVL_CYUSB_USB4.so", "VQ8231.hex"} << "" << QByteArray("bytes:512");
  QTest::newRow("earlier, firmware path of 512 bytes")
      << earlier << QStringList{"libUSBFunctions.so", "VQ8231.hex"} << "" << QByteArray("bytes:512");
  QTest::newRow("version2, firmware path of 513 bytes") << v2 << QStringList{"KVL_CYUSB_USB4.so", "VQ8231.hex"}
                                                        << "directory path is too long" << QByteArray("bytes:513");
}

namespace {

// A directory below `home` whose firmware path has exactly `bytes` bytes,
// in components a file system takes (at most 255 bytes each).
std::filesystem::path PaddedDirectory(const std::filesystem::path &home, std::size_t bytes) {
  const std::size_t fixed = home.string().size() + std::string("/VQ8231.hex").size();
  std::size_t left = bytes - fixed;
  std::filesystem::path directory = home;
  while (left > 0) {
    std::size_t component = std::min<std::size_t>(left - 1, 200); // one byte for the separator
    if (left - (component + 1) == 1)
      --component; // never leave a single byte: a separator alone names nothing
    directory /= std::string(component, 'p');
    left -= component + 1;
  }
  return directory;
}

// A file in place of `name`, of a kind no board library should accept.
void PlaceBadFile(const std::filesystem::path &path, const std::string &kind) {
  if (kind == "directory") {
    std::filesystem::create_directory(path);
    return;
  }
  std::ofstream file(path, std::ios::binary);
  if (kind == "corrupt")
    file << ":10000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF01\n:00000001FF\n"; // wrong checksum
  else if (kind == "huge")
    file << std::string(5 * 1024 * 1024, ':');
}

} // namespace

void StartupTest::realProgramsFindTheirFilesBesideThemselves() {
  QFETCH(QString, program);
  QFETCH(QStringList, beside);
  QFETCH(QString, complaint);
  QFETCH(QByteArray, subdirectory);
  QTemporaryDir directory;
  QVERIFY(directory.isValid());
  // Qt's file names are text, so the files go in through the bytes of the
  // path, and the program starts through a link with a plain name.
  const std::filesystem::path home = QFile::encodeName(directory.path()).toStdString();
  const std::filesystem::path programDirectory = subdirectory.startsWith("bytes:")
                                                     ? PaddedDirectory(home, subdirectory.mid(6).toUInt())
                                                     : home / subdirectory.toStdString();
  std::filesystem::create_directories(programDirectory);
  for (const QString &file : QStringList{program} + beside) {
    const std::string name = file.section('=', 0, 0).toStdString();
    if (file.contains('='))
      PlaceBadFile(programDirectory / name, file.section('=', 1).toStdString());
    else
      std::filesystem::copy_file(std::string(VQ_BIN_DIR "/") + name, programDirectory / name);
  }
  if (!subdirectory.isEmpty())
    std::filesystem::create_symlink(programDirectory / program.toStdString(), home / "start");
  const QString start = subdirectory.isEmpty() ? directory.filePath(program) : directory.filePath("start");
  if (complaint.contains("%1"))
    complaint = complaint.arg(directory.path());
  if (program == "VQ8231" && !beside.contains("libUSBFunctions.so") && qEnvironmentVariableIsSet("LD_LIBRARY_PATH"))
    QSKIP("the library search path names a directory holding the library");

  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  child.setProcessEnvironment(environment);
  child.setWorkingDirectory("/");
  child.start(start, {});
  QVERIFY(child.waitForStarted());
  QString errors;
  QElapsedTimer clock;
  clock.start();
  // A fatal start prints its message and then waits for the user; a good one
  // just runs. Either way the child is ended here.
  while (clock.elapsed() < (complaint.isEmpty() ? 1500 : 10000) && child.state() == QProcess::Running &&
         (complaint.isEmpty() || !errors.contains(complaint))) {
    child.waitForReadyRead(100);
    errors += QString::fromLocal8Bit(child.readAllStandardError());
  }
  const bool running = child.state() == QProcess::Running;
  child.kill();
  child.waitForFinished();
  if (complaint.isEmpty()) {
    QVERIFY2(running, qPrintable(errors));
    QVERIFY2(!errors.contains("cannot be loaded") && !errors.contains("Error Downloading"), qPrintable(errors));
  } else {
    QVERIFY2(errors.contains(complaint), qPrintable(errors));
  }
}

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  if (argc == 3 && QString(argv[1]) == "--child")
    return RunChild(app, QString(argv[2]));
  StartupTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
