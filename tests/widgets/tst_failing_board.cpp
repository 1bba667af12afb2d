// A board that fails: requests refused, reads that deliver fewer bytes than
// asked for, a board that stops answering mid-session. The program stays
// silent, shows what its read buffer held, and never crashes or hangs.
#include "board/board_library.h"
#include "board/four_operation_link.h"
#include "panels/toggle_switch.h"
#include "simboard/fault_plan.h"
#include "simboard/sim_board_api.h"
#include "tests/support/form_fixture.h"
#include "tests/support/panel_driver.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vq;
using namespace vq::test;

namespace {

// The window on the fault-injecting library, loaded with no fault.
struct FailingBoard {
  FailingBoard()
      : path(VQ_FAULTY_DIR "/" VQ_USB4_FILE_NAME), library(path),
        board(*library.resolve<VqSim_Board_Fn>(VQ_SIM_BOARD_ACCESSOR)()),
        faults(*library.resolve<VqSim_Faults_Fn>(VQ_SIM_FAULTS_ACCESSOR)()), link((Fresh(), path)),
        fixture(link, VQ_BIN_DIR) {
    if (!fixture.Load())
      qFatal("the window did not load on the fault-injecting board");
  }
  void Fresh() {
    board.PowerCycle();
    faults.SetPlan({});
  }
  MainFormControls &ui() { return fixture.ui(); }

  std::string path;
  DynamicLibrary library;
  sim::BoardControl &board;
  sim::FaultControl &faults;
  FourOperationLink link;
  FormFixture fixture;
};

} // namespace

class FailingBoardTest : public QObject {
  Q_OBJECT
private slots:
  void readsShowWhatTheBufferHeld_data();
  void readsShowWhatTheBufferHeld();
  void boardThatStopsAnsweringStaysSilent();
};

void FailingBoardTest::readsShowWhatTheBufferHeld_data() {
  QTest::addColumn<int>("failEvery");
  QTest::addColumn<int>("readBytes");
  QTest::addColumn<QString>("shown"); // Label27 after "Read Register"
  QTest::addColumn<QString>("sent");  // what reached DAC A's data register

  // ABCD was written to DAC A; the last read before the faults was the
  // entry's read of DAC A's coarse gain, 1: that is what the buffer holds.
  QTest::newRow("every request refused") << 1 << -1 << "0001"
                                         << "ABCD";
  QTest::newRow("reads deliver nothing") << 0 << 0 << "0001"
                                         << "ABCD";
  QTest::newRow("reads deliver the unused first byte") << 0 << 1 << "0001"
                                                       << "ABCD";
  QTest::newRow("reads deliver two of three bytes") << 0 << 2 << "AB01"
                                                    << "ABCD";
  // The first transfer refused, the second clocks out what the word before
  // it asked for: nothing.
  QTest::newRow("every other request refused") << 2 << -1 << "0000"
                                               << "ABCD";
}

void FailingBoardTest::readsShowWhatTheBufferHeld() {
  QFETCH(int, failEvery);
  QFETCH(int, readBytes);
  FailingBoard f;
  Choose(f.ui().ComboReg, "Coarse Gain Register");
  Choose(f.ui().ComboCoarse, QString::fromUtf8("Output Range = ± 4.201 V"));
  Choose(f.ui().ComboReg, "Data Register");
  Enter(f.ui().TextData, "ABCD");

  f.faults.SetPlan({failEvery, readBytes, -1});
  Click(f.ui().Command1);

  QTEST(f.ui().Label27->text(), "shown");
  QTEST(QString::number(f.board.Registers(0).Input, 16).toUpper(), "sent");
  QVERIFY(f.faults.Injected() > 0);
  QVERIFY(f.fixture.answerer.Seen.isEmpty()); // no message: a failed request is silent
}

// After the board goes quiet every control still acts on the window alone.
void FailingBoardTest::boardThatStopsAnsweringStaysSilent() {
  FailingBoard f;
  MainFormControls &ui = f.ui();
  Enter(ui.TextVolts, "1");
  // The last good read leaves zeros in the buffer: the offset register.
  Choose(ui.ComboReg, "Offset Register");
  const double before = f.board.OutputVoltage(0);
  f.faults.SetPlan({0, -1, 0});

  for (const char *view : {"Data Register", "Coarse Gain Register", "Fine Gain Register", "Offset Register",
                           "Function Register", "Data Register"})
    Choose(ui.ComboReg, view);
  for (const char *channel : {"DAC B", "ALL DACs", "DAC A"})
    Choose(ui.ComboAddr, channel);
  for (QLineEdit *box : {ui.TextData, ui.TextVolts})
    Enter(box, "2");
  for (int n = 1; n <= 12; ++n)
    QTest::mouseClick(ui.Toggle[n], Qt::LeftButton, Qt::NoModifier, ui.Toggle[n]->rect().center());
  for (QPushButton *button : {ui.Command1, ui.Command4, ui.Command5, ui.Command7})
    Click(button);
  Click(ui.Command8);
  ui.TextOff->setText("0.001");
  Click(ui.CommandOff);
  ui.TextFS->setText("-4.097");
  Click(ui.CommandFS);

  QVERIFY(f.faults.Injected() > 20);
  QCOMPARE(f.board.OutputVoltage(0), before); // nothing more reached it
  QVERIFY(f.fixture.answerer.Seen.isEmpty());
  QVERIFY(f.fixture.form->isVisible());
  QVERIFY(ui.Command8->isEnabled()); // the calibration ran to its end
}

QTEST_MAIN(FailingBoardTest)
#include "tst_failing_board.moc"
