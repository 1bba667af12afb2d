// What a screen reader and the keyboard reach: every control of every window
// named, uniquely, with a tooltip; the bit display as one text that says the
// word; Return pressing focused buttons and finishing a calibration stage;
// locked switches without a Tab stop; Board Activity left with Tab and
// closed with Escape, the Register Map's table left with Tab.
#include "board/registers.h"
#include "panels/choice_list.h"
#include "panels/toggle_switch.h"
#include "tests/support/form_fixture.h"
#include "tests/support/panel_driver.h"
#include "tests/support/simulated_program.h"
#include "windows/activity_window.h"
#include "windows/front_panel.h"
#include "windows/register_map_window.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace vq;
using namespace vq::test;

namespace {

// A control a user operates or reads a value from: what must be named.
bool IsControl(const QWidget *widget) {
  if (const auto *label = qobject_cast<const QLabel *>(widget))
    return label->frameShape() != QFrame::NoFrame; // a readout
  return (widget->focusPolicy() & Qt::TabFocus) != 0 || qobject_cast<const ToggleSwitch *>(widget) != nullptr;
}

// Walks the accessible tree as a screen reader does, from the window down.
void Collect(QAccessibleInterface *node, QList<QAccessibleInterface *> &seen) {
  seen << node;
  for (int n = 0; n < node->childCount(); ++n)
    if (QAccessibleInterface *child = node->child(n);
        child != nullptr && child->object() != nullptr && child->object()->isWidgetType())
      Collect(child, seen);
}

// Problems a screen reader user meets: a control without a name, two with
// the same one, a control without a tooltip, a 0/1 bit reached on its own.
QStringList NamingProblems(QWidget *window) {
  QStringList problems;
  QList<QAccessibleInterface *> seen;
  Collect(QAccessible::queryAccessibleInterface(window), seen);
  QMap<QString, QString> names;
  for (QAccessibleInterface *node : seen) {
    auto *widget = static_cast<QWidget *>(node->object());
    if (widget->window() != window)
      continue; // a list's drop-down, part of the list
    if (auto *label = qobject_cast<QLabel *>(widget);
        label != nullptr && label->objectName().startsWith("Label") && (label->text() == "0" || label->text() == "1"))
      problems << label->objectName() + " is reached on its own";
    if (!IsControl(widget))
      continue;
    const QString name = node->text(QAccessible::Name);
    const QString who = widget->objectName();
    if (name.trimmed().isEmpty())
      problems << who + " has no name";
    else if (names.contains(name))
      problems << who + " and " + names[name] + " are both called " + name;
    else
      names[name] = who;
    if (widget->toolTip().isEmpty())
      problems << who + " has no tooltip";
  }
  return problems;
}

} // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT
private slots:
  void everyControlOfEveryWindowIsNamedOnce();
  void windowsAreWindowsWithTheirTitles();
  void bitDisplayIsOneTextSayingTheWord_data();
  void bitDisplayIsOneTextSayingTheWord();
  void returnAndEnterPressAFocusedButton_data();
  void returnAndEnterPressAFocusedButton();
  void returnInAReadingBoxDoesWhatDoneDoes_data();
  void returnInAReadingBoxDoesWhatDoneDoes();
  void mnemonicsReachTheirFields_data();
  void mnemonicsReachTheirFields();
  void lockedSwitchesTakeNoTabStop();
  void activityTableIsLeftWithTabAndClosedWithEscape();
};

void AccessibilityTest::everyControlOfEveryWindowIsNamedOnce() {
  SimulatedProgram program(false);
  QVERIFY(program.fixture.Start());
  MainWindow &form = program.fixture.Window();
  program.fixture.Find<QAction>("MnuActivity")->trigger();
  program.fixture.Find<QAction>("MnuRegisterMap")->trigger();
  QStringList problems;
  for (QWidget *window : {static_cast<QWidget *>(&form), static_cast<QWidget *>(form.findChild<FrontPanel *>()),
                          static_cast<QWidget *>(form.findChild<ActivityWindow *>()),
                          static_cast<QWidget *>(form.findChild<RegisterMapWindow *>())}) {
    QVERIFY(window != nullptr);
    for (const QString &problem : NamingProblems(window))
      problems << window->windowTitle() + ": " + problem;
  }
  QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
}

void AccessibilityTest::windowsAreWindowsWithTheirTitles() {
  SimulatedProgram program(false);
  QVERIFY(program.fixture.Start());
  MainWindow &form = program.fixture.Window();
  program.fixture.Find<QAction>("MnuActivity")->trigger();
  program.fixture.Find<QAction>("MnuRegisterMap")->trigger();
  for (QWidget *window : {static_cast<QWidget *>(form.findChild<FrontPanel *>()),
                          static_cast<QWidget *>(form.findChild<ActivityWindow *>()),
                          static_cast<QWidget *>(form.findChild<RegisterMapWindow *>())}) {
    QVERIFY(window != nullptr);
    QAccessibleInterface *node = QAccessible::queryAccessibleInterface(window);
    QCOMPARE(node->role(), QAccessible::Window);
    QCOMPARE(node->text(QAccessible::Name), window->windowTitle());
  }
}

void AccessibilityTest::bitDisplayIsOneTextSayingTheWord_data() {
  QTest::addColumn<QString>("view");
  QTest::addColumn<QString>("channel");
  QTest::addColumn<QString>("spoken");
  QTest::newRow("data register read") << "Data Register"
                                      << "DAC B"
                                      << "Input word 0x919F40: read, data register, DAC B, data 0x9F40";
  QTest::newRow("offset register read") << "Offset Register"
                                        << "DAC D"
                                        << "Input word 0xAB0081: read, offset register, DAC D, data 0x0081";
  QTest::newRow("function register read") << "Function Register"
                                          << ""
                                          << "Input word 0x810004: read, function register, data 0x0004";
}

void AccessibilityTest::bitDisplayIsOneTextSayingTheWord() {
  QFETCH(QString, view);
  QFETCH(QString, channel);
  QFETCH(QString, spoken);
  RecordingForm f;
  f.link.SetRegister({Register::Data, Channel::B}, 0x9F40);
  f.link.SetRegister({Register::Offset, Channel::D}, 0x81);
  f.link.SetRegister(Command::FunctionRegister, 0x0004);
  QVERIFY(f.fixture.Start());
  MainWindowControls &ui = f.Controls();
  Choose(ui.RegisterList, view);
  if (!channel.isEmpty())
    Choose(ui.ChannelList, channel);
  QAccessibleInterface *word = QAccessible::queryAccessibleInterface(ui.WordFrame);
  QCOMPARE(word->text(QAccessible::Name), spoken);
  QCOMPARE(word->childCount(), 0);
  QCOMPARE(word->role(), QAccessible::StaticText);
  // The bits stay visible as they were.
  QVERIFY(ui.DataBitLabels[0]->isVisible());
  QCOMPARE(ui.WordHex->text(), spoken.mid(13, 6));
}

void AccessibilityTest::returnAndEnterPressAFocusedButton_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<int>("key");
  QTest::newRow("Read Register, Return") << "Command1" << int(Qt::Key_Return);
  QTest::newRow("Read Register, Enter") << "Command1" << int(Qt::Key_Enter);
  QTest::newRow("CLEAR, Return") << "Command4" << int(Qt::Key_Return);
  QTest::newRow("LOAD, Enter") << "Command5" << int(Qt::Key_Enter);
  QTest::newRow("Measure, Return") << "Command7" << int(Qt::Key_Return);
}

void AccessibilityTest::returnAndEnterPressAFocusedButton() {
  QFETCH(QString, button);
  QFETCH(int, key);
  RecordingForm f;
  QVERIFY(f.fixture.Start());
  auto *control = f.fixture.Find<QPushButton>(button);
  QSignalSpy pressed(control, &QPushButton::clicked);
  control->setFocus();
  Taken(f.link);
  QTest::keyClick(control, static_cast<Qt::Key>(key));
  QCOMPARE(pressed.size(), 1);
  QVERIFY(!Taken(f.link).isEmpty());
}

void AccessibilityTest::returnInAReadingBoxDoesWhatDoneDoes_data() {
  QTest::addColumn<bool>("zeroScale");
  QTest::newRow("offset stage") << false;
  QTest::newRow("zero scale stage") << true;
}

// The same requests and the same next stage as with "Done".
void AccessibilityTest::returnInAReadingBoxDoesWhatDoneDoes() {
  QFETCH(bool, zeroScale);
  QStringList requests[2];
  bool nextShown[2] = {};
  for (int byReturn = 0; byReturn < 2; ++byReturn) {
    RecordingForm f;
    QVERIFY(f.fixture.Start());
    MainWindowControls &ui = f.Controls();
    f.fixture.Window().Calibration().SetCompletePause(nullptr);
    Click(ui.CalibrationButton);
    QLineEdit *box = ui.OffsetReadingBox;
    QPushButton *done = ui.OffsetDoneButton;
    box->setText("0.002");
    if (zeroScale) {
      Click(done);
      box = ui.ZeroScaleReadingBox, done = ui.ZeroScaleDoneButton;
      box->setText("-4.095");
    }
    Taken(f.link);
    if (byReturn == 1)
      QTest::keyClick(box, Qt::Key_Return);
    else
      Click(done);
    requests[byReturn] = Taken(f.link);
    nextShown[byReturn] = zeroScale ? ui.CalibrationButton->isEnabled() : ui.ZeroScaleReadingBox->isVisible();
  }
  QVERIFY(!requests[0].isEmpty());
  QCOMPARE(requests[1], requests[0]);
  QVERIFY(nextShown[0]);
  QVERIFY(nextShown[1]);
}

void AccessibilityTest::mnemonicsReachTheirFields_data() {
  QTest::addColumn<QString>("view");
  QTest::addColumn<int>("letter");
  QTest::addColumn<QString>("reached");
  QTest::newRow("Alt+O: the voltage box") << "Data Register" << int(Qt::Key_O) << "TextVolts";
  QTest::newRow("Alt+D: the data box") << "Data Register" << int(Qt::Key_D) << "TextData";
  QTest::newRow("Alt+R: the range list") << "Coarse Gain Register" << int(Qt::Key_R) << "ComboCoarse";
  QTest::newRow("Alt+G: the fine gain box") << "Fine Gain Register" << int(Qt::Key_G) << "TextFine";
  QTest::newRow("Alt+E: the offset box") << "Offset Register" << int(Qt::Key_E) << "TextOffset";
  QTest::newRow("Alt+W: the register frame") << "Data Register" << int(Qt::Key_W) << "ComboReg";
  QTest::newRow("Alt+T: the temperature frame") << "Data Register" << int(Qt::Key_T) << "Command7";
  QTest::newRow("Alt+L: the calibration frame") << "Data Register" << int(Qt::Key_L) << "Command8";
}

// The captions' texts stay as they were, "&" aside.
void AccessibilityTest::mnemonicsReachTheirFields() {
  QFETCH(QString, view);
  QFETCH(int, letter);
  QFETCH(QString, reached);
  RecordingForm f;
  QVERIFY(f.fixture.Start());
  Choose(f.Controls().RegisterList, view);
  f.Window().activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&f.Window()));
  // From a control outside the frames reached: a frame's mnemonic leaves the
  // focus where it is when it is inside the frame already.
  f.Controls().GroundOffsetSwitch->setFocus();
  QTest::keyClick(&f.Window(), static_cast<Qt::Key>(letter), Qt::AltModifier);
  QVERIFY(QApplication::focusWidget() != nullptr);
  QCOMPARE(QApplication::focusWidget()->objectName(), reached);
}

// At start the level switches and LDAC (pulsed after writes) are locked: no
// Tab stop; a level switch gets one back when its line becomes an output.
void AccessibilityTest::lockedSwitchesTakeNoTabStop() {
  RecordingForm f;
  QVERIFY(f.fixture.Start());
  MainWindowControls &ui = f.Controls();
  const auto tabStop = [](const QWidget *w) { return (w->focusPolicy() & Qt::TabFocus) != 0; };
  for (const ToggleSwitch *locked : {ui.D1LevelSwitch, ui.D0LevelSwitch, ui.LdacSwitch, ui.DriveD1Switch})
    QVERIFY2(locked->Flippable() == tabStop(locked), qPrintable(locked->objectName()));
  QVERIFY(!tabStop(ui.D1LevelSwitch));
  QVERIFY(!tabStop(ui.LdacSwitch));
  QVERIFY(tabStop(ui.D1DirectionSwitch));
  QTest::mouseClick(ui.D1DirectionSwitch, Qt::LeftButton, Qt::NoModifier, ui.D1DirectionSwitch->rect().center());
  QVERIFY(ui.D1LevelSwitch->Flippable());
  QVERIFY(tabStop(ui.D1LevelSwitch));
  // Unticking the pulse frees LDAC.
  QTest::mouseClick(ui.PulseAfterWriteBox, Qt::LeftButton);
  QVERIFY(tabStop(ui.LdacSwitch));
}

void AccessibilityTest::activityTableIsLeftWithTabAndClosedWithEscape() {
  RecordingForm f;
  QVERIFY(f.fixture.Start());
  f.fixture.Find<QAction>("MnuActivity")->trigger();
  auto *activity = f.Window().findChild<ActivityWindow *>();
  auto *table = activity->findChild<QTableView *>();
  activity->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(activity));
  table->setFocus();
  QCOMPARE(QApplication::focusWidget(), table);
  QTest::keyClick(table, Qt::Key_Tab);
  QVERIFY(QApplication::focusWidget() != table);
  QVERIFY(activity->isAncestorOf(QApplication::focusWidget()));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  QVERIFY(!activity->isVisible());
  QVERIFY(f.Window().isVisible());

  // The Register Map's table is left the same way, for "Read All".
  f.fixture.Find<QAction>("MnuRegisterMap")->trigger();
  auto *map = f.Window().findChild<RegisterMapWindow *>();
  map->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(map));
  auto *registers = map->findChild<QTableView *>();
  registers->setFocus();
  QTest::keyClick(registers, Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), map->findChild<QPushButton *>("RegisterMapReadAll"));
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
