// The window's start state: what the board sees while the window loads, and
// how switches, frames, lists and "READ" stand afterwards, for the function
// register contents a converter may come up with.
#include "tests/support/form_fixture.h"

#include "board/board_library.h"
#include "board/dynamic_library.h"
#include "board/four_operation_link.h"
#include "board/function_word.h"
#include "panels/choice_list.h"
#include "panels/toggle_switch.h"
#include "simboard/sim_board_api.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vq;
using namespace vq::test;

class InitialStateTest : public QObject {
  Q_OBJECT
private slots:
  void startUpShowsWhatTheConverterHolds_data();
  void startUpShowsWhatTheConverterHolds();
  void startUpOnTheSimulatedBoardAgreesWithIt();
};

namespace {

bool Bit(int word, int n) {
  return (word >> n & 1) != 0;
}

// The six option switches read as a function word.
int SwitchWord(const MainWindowControls &ui) {
  int word = 0;
  for (const auto &[toggle, bit] : {std::pair{1, 5}, {3, 4}, {5, 3}, {4, 2}, {6, 1}, {7, 0}})
    word |= (ui.Switches[toggle]->Value() ? 1 : 0) << bit;
  return word;
}

// Notes the function register shadow, the option switches and whether "READ"
// is offered at the moment the no-operation word goes out, i.e. right after
// the read-back has set them.
class ShadowWatchingLink : public RecordingLink {
public:
  int16_t Answer(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                 uint8_t *buffer) override {
    if (values != nullptr && request == 0xDD && direction == 0 && value == 0 && index == 0 && shadowAtNoOperation < 0) {
      shadowAtNoOperation = values->FunctionRegisterShadow;
      switchesAtNoOperation = SwitchWord(*ui);
      readOfferedAtNoOperation = !ui->ReadLinesButton->isHidden();
    }
    return RecordingLink::Answer(request, value, index, direction, length, buffer);
  }
  const ProgramValues *values = nullptr;
  const MainWindowControls *ui = nullptr;
  int32_t shadowAtNoOperation = -1;
  int switchesAtNoOperation = -1;
  bool readOfferedAtNoOperation = false;
};

} // namespace

void InitialStateTest::startUpShowsWhatTheConverterHolds_data() {
  QTest::addColumn<int>("functionRegister");
  QTest::newRow("all clear") << 0x0000;
  QTest::newRow("D1 and D0 outputs") << 0x0014;
  QTest::newRow("D1 output only") << 0x0010;
  QTest::newRow("D0 output only") << 0x0004;
  QTest::newRow("levels without outputs") << 0x000A;
  QTest::newRow("all six options") << 0x003F;
  QTest::newRow("high bits only") << 0xFFC0;
  QTest::newRow("high bits with both outputs") << 0xFFD4;
}

void InitialStateTest::startUpShowsWhatTheConverterHolds() {
  QFETCH(int, functionRegister);
  const int options = functionRegister & 0x3F;
  // What the converter holds once start-up's own read-back has written the
  // function word from the flags: every option clear.
  const int held = 0;

  ShadowWatchingLink link;
  link.SetRegister(Command::FunctionRegister, functionRegister);
  link.SetRegister({Register::Data, Channel::A}, 0x1234); // data register of DAC A
  FormFixture fixture(link);
  link.values = &fixture.values;
  link.ui = &fixture.Controls();
  QVERIFY(fixture.Start());
  MainWindowControls &ui = fixture.Controls();
  const ProgramValues &v = fixture.values;

  // The download, then: the function register read (two transfers), the
  // no-operation word, the pins with LDAC pulsing, and "Read Register" on the
  // data register of DAC A, whose function word comes from the flags (all 0).
  QCOMPARE(link.Downloads, 1);
  QCOMPARE(Taken(link), (QStringList{"DD in v=81 len=3", "DD in v=81 len=3", "DD out v=0 i=0", "DE out v=9F i=0",
                                     "DD out v=1 i=0", "DD in v=90 len=3", "DD in v=90 len=3"}));
  QCOMPARE(link.shadowAtNoOperation, options);
  QCOMPARE(link.switchesAtNoOperation, options);
  QCOMPARE(link.readOfferedAtNoOperation, !(Bit(options, 4) && Bit(options, 2)));
  QCOMPARE(v.FunctionRegisterShadow, 0);
  QCOMPARE(v.Options.Bits(), 0); // the flags did not take the read-back

  // The switches show what the converter holds, not the options read first.
  QCOMPARE(SwitchWord(ui), held);
  QVERIFY(!ui.D1LevelSwitch->Operable());
  QVERIFY(!ui.D0LevelSwitch->Operable());

  // A line the converter drives locks the board's drive switch for it.
  QCOMPARE(ui.DriveD1Frame->isEnabled(), !Bit(held, 4));
  QCOMPARE(ui.DriveD1Switch->Operable(), !Bit(held, 4));
  QCOMPARE(ui.DriveD0Frame->isEnabled(), !Bit(held, 2));
  QCOMPARE(ui.DriveD0Switch->Operable(), !Bit(held, 2));
  QCOMPARE(ui.ReadLinesButton->isVisible(), !(Bit(held, 4) && Bit(held, 2)));

  // The board's lines at their start levels, LDAC pulsing on and locked.
  for (int n : {2, 8, 9, 10})
    QVERIFY2(ui.Switches[n]->Value(), qPrintable(QStringLiteral("Toggle%1").arg(n)));
  QVERIFY(!ui.DriveD0Switch->Value());
  QVERIFY(!ui.DriveD1Switch->Value());
  QVERIFY(ui.PulseAfterWriteBox->isChecked());
  QVERIFY(!ui.LdacSwitch->Operable());

  // The data register view of DAC A, as read.
  QCOMPARE(ui.RegisterList->currentText(), QStringLiteral("Data Register"));
  QCOMPARE(ui.RegisterList->count(), 5);
  QCOMPARE(ui.ChannelList->currentIndex(), -1);
  QCOMPARE(ui.ChannelList->count(), 5);
  QCOMPARE(ui.RangeList->count(), 3);
  QVERIFY(ui.ChannelList->isVisible());
  QVERIFY(ui.DataBox->isVisible());
  QVERIFY(ui.VoltsBox->isVisible());
  QVERIFY(ui.DisplayModeButton->isVisible());
  QCOMPARE(ui.DisplayModeButton->text(), QStringLiteral("Hex"));
  for (QWidget *hidden : {static_cast<QWidget *>(ui.RangeList), static_cast<QWidget *>(ui.FineGainBox),
                          static_cast<QWidget *>(ui.OffsetBox)})
    QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
  QCOMPARE(int(v.Word.AddressBits()), 0);
  QCOMPARE(int(v.Word.SelectBits()), 2);
  QCOMPARE(v.DataValue, 0x1234);
  QCOMPARE(ui.DataBox->text(), QStringLiteral("1234"));
  QCOMPARE(ui.ReadWriteBit->text(), QStringLiteral("1"));
}

// The real loading path: the board library found by path, the firmware
// downloaded, and the simulated converter and board lines as start-up leaves
// them; then one direction switch and one pin switch reach the board.
void InitialStateTest::startUpOnTheSimulatedBoardAgreesWithIt() {
  DynamicLibrary library(VQ_BIN_DIR "/" VQ_USB4_FILE_NAME);
  sim::BoardControl &board = *library.resolve<VqSim_Board_Fn>(VQ_SIM_BOARD_ACCESSOR)();
  board.PowerCycle();
  FourOperationLink link(VQ_BIN_DIR "/" VQ_USB4_FILE_NAME);
  FormFixture fixture(link);
  QVERIFY(fixture.Start());
  MainWindowControls &ui = fixture.Controls();

  QVERIFY2(board.FirmwareRunning(), board.FirmwareProblem().c_str());
  const sim::ControlLines lines = board.Lines();
  QVERIFY(lines.Ldac);
  QVERIFY(lines.Clr);
  QVERIFY(lines.BinaryCoding);
  QVERIFY(lines.Rstin);
  QVERIFY(!lines.DriveD0);
  QVERIFY(!lines.DriveD1);
  QCOMPARE(board.FunctionRegister(), uint8_t{0});
  QCOMPARE(fixture.values.DataValue, int32_t{board.Registers(0).Input});
  QCOMPARE(ui.RegisterList->currentText(), QStringLiteral("Data Register"));
  QVERIFY(ui.ReadLinesButton->isVisible());
  QVERIFY(ui.PulseAfterWriteBox->isChecked());

  QTest::mouseClick(ui.D1DirectionSwitch, Qt::LeftButton, Qt::NoModifier, ui.D1DirectionSwitch->rect().center());
  QCOMPARE(board.FunctionRegister(), uint8_t{0x10});
  QCOMPARE(board.D1().Driver, sim::LineDriver::Converter);
  QTest::mouseClick(ui.ClrSwitch, Qt::LeftButton, Qt::NoModifier, ui.ClrSwitch->rect().center());
  QVERIFY(!board.Lines().Clr);
  QVERIFY(board.Lines().Ldac);
}

QTEST_MAIN(InitialStateTest)
#include "tst_initial_state.moc"
