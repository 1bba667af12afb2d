// The simulated board's front panel: there only when the loaded library
// offers the simulated board, and showing what the board does after each
// request: outputs, registers, lines; the die temperature set on it is what
// the next "Measure" reads.
#include "board/four_operation_link.h"
#include "panels/choice_list.h"
#include "tests/support/panel_driver.h"
#include "tests/support/simulated_program.h"
#include "windows/front_panel.h"
#include "windows/screen_fit.h"

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QtTest>

using namespace vq;
using namespace vq::test;

class FrontPanelTest : public QObject {
  Q_OBJECT
private slots:
  void shownBesideTheWindowOnTheSimulatedBoard_data();
  void shownBesideTheWindowOnTheSimulatedBoard();
  void absentWithALibraryWithoutTheAccessor();
  void followsTheBoard();
  void temperatureSetOnThePanelIsMeasured();
  void valuesSelectableOnceTheMouseComesOver();
  void keepsItsWidthWhenValuesGrow();
  void placedBesideTheWindowOrOverIt_data();
  void placedBesideTheWindowOrOverIt();
};

namespace {

QString Shown(QWidget *panel, const char *name) {
  auto *label = panel->findChild<QLabel *>(QString::fromLatin1(name));
  if (label == nullptr)
    qFatal("no label %s", name);
  return label->text();
}

// A loaded window of VQ8231(version2) on an ideal simulated board.
struct IdealBoard {
  IdealBoard() : program(false) {
    if (!program.fixture.Start())
      qFatal("window not loaded");
    panel = program.fixture.Window().findChild<FrontPanel *>(QStringLiteral("FrontPanel"));
    if (panel == nullptr)
      qFatal("no front panel");
    panel->findChild<QSpinBox *>(QStringLiteral("ErrorSeed"))->setValue(0);
  }
  template <typename Widget> Widget *Find(const char *name) {
    return program.fixture.Find<Widget>(QString::fromLatin1(name));
  }
  SimulatedProgram program;
  FrontPanel *panel = nullptr;
};

} // namespace

void FrontPanelTest::shownBesideTheWindowOnTheSimulatedBoard_data() {
  QTest::addColumn<bool>("earlierBuild");
  QTest::newRow("VQ8231(version2)") << false;
  QTest::newRow("VQ8231") << true;
}

void FrontPanelTest::shownBesideTheWindowOnTheSimulatedBoard() {
  QFETCH(bool, earlierBuild);
  SimulatedProgram program(earlierBuild);
  QVERIFY(program.fixture.Start());
  auto *panel = program.fixture.Window().findChild<FrontPanel *>(QStringLiteral("FrontPanel"));
  QVERIFY(panel != nullptr);
  QVERIFY(panel->isVisible());
  QCOMPARE(panel->windowTitle(), QStringLiteral("Simulated Board"));
  // Beside the window or over its lower part: on the screen either way.
  QVERIFY(panel->screen()->availableGeometry().contains(panel->frameGeometry()));
  QCOMPARE(Shown(panel, "Firmware"), QStringLiteral("running"));
  QCOMPARE(panel->findChild<QSpinBox *>(QStringLiteral("ErrorSeed"))->value(), 8231);

  // Closing it leaves the program running; View brings it back.
  panel->close();
  QVERIFY(program.fixture.Window().isVisible());
  auto *show = program.fixture.Find<QAction>(QStringLiteral("MnuFrontPanel"));
  QCOMPARE(show->text(), QStringLiteral("Simulated &Board"));
  show->trigger();
  QVERIFY(panel->isVisible());
}

void FrontPanelTest::absentWithALibraryWithoutTheAccessor() {
  FourOperationLink link(VQ_BIN_DIR "/libPlainBoard.so");
  FormFixture fixture(link);
  QVERIFY(fixture.Start());
  QVERIFY(fixture.Window().findChild<FrontPanel *>() == nullptr);
  QVERIFY(fixture.Window().findChild<QAction *>(QStringLiteral("MnuFrontPanel")) == nullptr);
  QCOMPARE(fixture.Find<QMenu>(QStringLiteral("MnuView"))->title(), QStringLiteral("&View"));
  QCOMPARE(fixture.Find<QAction>(QStringLiteral("MnuActivity"))->text(), QStringLiteral("Board &Activity"));
}

void FrontPanelTest::followsTheBoard() {
  IdealBoard b;
  QCOMPARE(Shown(b.panel, "OutputB"), QStringLiteral("+0.00000 V"));
  Choose(b.Find<ChoiceList>("ComboAddr"), QStringLiteral("DAC B"));
  Enter(b.Find<QLineEdit>("TextVolts"), QStringLiteral("1"));
  QCOMPARE(Shown(b.panel, "OutputB"), QStringLiteral("+1.00000 V"));
  QCOMPARE(Shown(b.panel, "DacCodeB"), QStringLiteral("0x9F40"));
  QCOMPARE(Shown(b.panel, "OutputA"), QStringLiteral("+0.00000 V"));
  QCOMPARE(Shown(b.panel, "RangeB"), QString::fromUtf8("\u00B14.096 V"));
  QCOMPARE(Shown(b.panel, "CodingB"), QStringLiteral("offset binary"));
  QCOMPARE(Shown(b.panel, "LineLDAC"), QStringLiteral("high"));

  // LDAC high without the pulse: the input register takes the code, the
  // output waits for LOAD.
  QTest::mouseClick(b.Find<QCheckBox>("Check1"), Qt::LeftButton);
  Enter(b.Find<QLineEdit>("TextVolts"), QStringLiteral("-2.048"));
  QCOMPARE(Shown(b.panel, "InputCodeB"), QStringLiteral("0x4000"));
  QCOMPARE(Shown(b.panel, "OutputB"), QStringLiteral("+1.00000 V"));
  Click(b.Find<QPushButton>("Command5"));
  QCOMPARE(Shown(b.panel, "OutputB"), QStringLiteral("-2.04800 V"));

  // CLR low holds every output at 0 V.
  QWidget *clr = b.Find<QWidget>("Toggle8");
  QTest::mouseClick(clr, Qt::LeftButton, Qt::NoModifier, clr->rect().center());
  QCOMPARE(Shown(b.panel, "LineCLR"), QStringLiteral("low"));
  QCOMPARE(Shown(b.panel, "OutputB"), QStringLiteral("+0.00000 V"));

  // Seed back: the errors show at once.
  b.panel->findChild<QSpinBox *>(QStringLiteral("ErrorSeed"))->setValue(8231);
  QCOMPARE(b.program.board.ErrorSeed(), 8231u);
}

void FrontPanelTest::temperatureSetOnThePanelIsMeasured() {
  IdealBoard b;
  b.panel->findChild<QDoubleSpinBox *>(QStringLiteral("DieTemperature"))->setValue(60);
  QCOMPARE(b.program.board.DieTemperature(), 60.0);
  Click(b.Find<QPushButton>("Command7"));
  QCOMPARE(b.Find<QLabel>("Label25")->text(), QStringLiteral("60"));
}

// The values become selectable (to copy a reading into the calibration) once
// the mouse is over the panel, and a row changed after that still shows the
// new value.
void FrontPanelTest::valuesSelectableOnceTheMouseComesOver() {
  IdealBoard b;
  auto *output = b.panel->findChild<QLabel *>(QStringLiteral("OutputC"));
  QVERIFY(!b.panel->ValuesSelectable());
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(b.panel, &enter);
  QVERIFY(b.panel->ValuesSelectable());
  QVERIFY(output->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
  QVERIFY(b.panel->findChild<QLabel *>(QStringLiteral("LineLDAC"))
              ->textInteractionFlags()
              .testFlag(Qt::TextSelectableByMouse));
  Choose(b.Find<ChoiceList>("ComboAddr"), QStringLiteral("DAC C"));
  Enter(b.Find<QLineEdit>("TextVolts"), QStringLiteral("-1"));
  QCOMPARE(output->text(), QStringLiteral("-1.00000 V"));
}

// The offset's column is as wide as its widest value from the start: an
// offset of -15.875 LSB (the longest) leaves the panel's width as it was.
void FrontPanelTest::keepsItsWidthWhenValuesGrow() {
  IdealBoard b;
  const int width = b.panel->sizeHint().width();
  Choose(b.Find<ChoiceList>("ComboReg"), QStringLiteral("Offset Register"));
  for (const char *channel : {"DAC A", "DAC B", "DAC C", "DAC D"}) {
    Choose(b.Find<ChoiceList>("ComboAddr"), QString::fromLatin1(channel));
    Enter(b.Find<QLineEdit>("TextOffset"), QStringLiteral("-15.875"));
  }
  Choose(b.Find<ChoiceList>("ComboReg"), QStringLiteral("Fine Gain Register"));
  Enter(b.Find<QLineEdit>("TextFine"), QStringLiteral("-32"));
  QCOMPARE(Shown(b.panel, "OffsetD"), QStringLiteral("0x81 (-15.875 LSB)"));
  QCOMPARE(b.panel->sizeHint().width(), width);
}

void FrontPanelTest::placedBesideTheWindowOrOverIt_data() {
  QTest::addColumn<QRect>("window");
  QTest::addColumn<QSize>("panel");
  QTest::addColumn<QPoint>("expected");
  QTest::newRow("room on the right") << QRect(0, 0, 600, 500) << QSize(700, 400) << QPoint(608, 0);
  QTest::newRow("no room: over the lower part") << QRect(0, 0, 1000, 600) << QSize(700, 400) << QPoint(300, 200);
  QTest::newRow("window off the right edge: kept on the screen")
      << QRect(900, 100, 600, 500) << QSize(700, 400) << QPoint(666, 200);
  QTest::newRow("window above the screen: title bar kept on it")
      << QRect(100, -300, 1000, 400) << QSize(700, 400) << QPoint(400, 0);
  QTest::newRow("panel taller than the screen: its top on it")
      << QRect(0, 0, 1000, 600) << QSize(700, 900) << QPoint(300, 0);
}

void FrontPanelTest::placedBesideTheWindowOrOverIt() {
  QFETCH(QRect, window);
  QFETCH(QSize, panel);
  QFETCH(QPoint, expected);
  QCOMPARE(PlaceBeside(window, panel, QRect(0, 0, 1366, 768)), expected);
}

QTEST_MAIN(FrontPanelTest)
#include "tst_front_panel.moc"
