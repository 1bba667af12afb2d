// The register panel against the simulated board through the real library
// path: what is typed reaches the converter model's registers and comes back
// unchanged through "Read Register".
#include "board/board_library.h"
#include "board/dynamic_library.h"
#include "board/four_operation_link.h"
#include "board/two_operation_link.h"
#include "panels/choice_list.h"
#include "panels/register_choices.h"
#include "simboard/sim_board_api.h"
#include "tests/support/panel_driver.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace vq;
using namespace vq::test;

namespace {

int ModelField(const sim::ChannelRegisters &r, const QString &field) {
  if (field == "Dac")
    return r.Dac;
  if (field == "Coarse")
    return r.Coarse;
  if (field == "Fine")
    return r.Fine;
  if (field == "Offset")
    return r.Offset;
  return -1;
}

} // namespace

class RegisterOnSimBoardTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();
  void enteredValueReachesTheModelAndReadsBack_data();
  void enteredValueReachesTheModelAndReadsBack();
  void rangeChoiceReachesTheModelAndIsSelectedAgain();

private:
  DynamicLibrary library_{VQ_BIN_DIR "/" VQ_USB4_FILE_NAME};
  DynamicLibrary earlierLibrary_{VQ_BIN_DIR "/" VQ_USBFUNCTIONS_NAME};
  sim::BoardControl *board_ = nullptr;
  sim::BoardControl *earlierBoard_ = nullptr;
};

void RegisterOnSimBoardTest::initTestCase() {
  board_ = library_.resolve<VqSim_Board_Fn>(VQ_SIM_BOARD_ACCESSOR)();
  earlierBoard_ = earlierLibrary_.resolve<VqSim_Board_Fn>(VQ_SIM_BOARD_ACCESSOR)();
}

void RegisterOnSimBoardTest::enteredValueReachesTheModelAndReadsBack_data() {
  QTest::addColumn<bool>("earlier"); // the earlier build and its library
  QTest::addColumn<QString>("view");
  QTest::addColumn<QString>("channel");
  QTest::addColumn<int>("dac");
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("field");
  QTest::addColumn<int>("content");
  QTest::addColumn<QString>("shown"); // the box after "Read Register"

  QTest::newRow("data code on DAC B") << false << "Data Register"
                                      << "DAC B" << 1 << "TextData"
                                      << "beef"
                                      << "Dac" << 0xBEEF << "BEEF";
  QTest::newRow("voltage on DAC C") << false << "Data Register"
                                    << "DAC C" << 2 << "TextVolts"
                                    << "1"
                                    << "Dac" << 0x9F40 << "9F40";
  QTest::newRow("fine gain on DAC D") << false << "Fine Gain Register"
                                      << "DAC D" << 3 << "TextFine"
                                      << "-1"
                                      << "Fine" << 63 << "-1";
  QTest::newRow("offset on DAC A") << false << "Offset Register"
                                   << "DAC A" << 0 << "TextOffset"
                                   << "-0.125"
                                   << "Offset" << 255 << "-0.125";
  QTest::newRow("data code, earlier build") << true << "Data Register"
                                            << "DAC D" << 3 << "TextData"
                                            << "1234"
                                            << "Dac" << 0x1234 << "1234";
}

void RegisterOnSimBoardTest::enteredValueReachesTheModelAndReadsBack() {
  QFETCH(bool, earlier);
  QFETCH(QString, view);
  QFETCH(QString, channel);
  QFETCH(int, dac);
  QFETCH(QString, box);
  QFETCH(QString, typed);
  QFETCH(QString, field);
  QFETCH(int, content);
  sim::BoardControl *board = earlier ? earlierBoard_ : board_;
  board->PowerCycle();
  board->SetErrorSeed(0);
  std::unique_ptr<BoardLink> link;
  if (earlier)
    link = std::make_unique<TwoOperationLink>(VQ_BIN_DIR "/" VQ_USBFUNCTIONS_NAME);
  else
    link = std::make_unique<FourOperationLink>(VQ_BIN_DIR "/" VQ_USB4_FILE_NAME);
  FormFixture fixture(*link, VQ_BIN_DIR, earlier);
  QVERIFY(fixture.Start());
  QVERIFY2(board->FirmwareRunning(), board->FirmwareProblem().c_str());
  MainWindowControls &ui = fixture.Controls();
  Choose(ui.RegisterList, view);
  Choose(ui.ChannelList, channel);
  QLineEdit *entry = fixture.Find<QLineEdit>(box);

  Enter(entry, typed);
  QCOMPARE(ModelField(board->Registers(dac), field), content);
  if (field == "Dac") // LDAC pulsed after the write: the output follows
    QVERIFY(std::fabs(board->OutputVoltage(dac) - (2 * 4.096 * content / 65536 - 4.096)) < 1e-3);

  // Whatever the box holds now, the read-back shows the register.
  fixture.Find<QLineEdit>(box == "TextVolts" ? "TextData" : box)->setText("7");
  Click(ui.ReadRegisterButton);
  QCOMPARE(fixture.values.DataValue, content);
  QCOMPARE(ui.RegisterValue->text(), QString::number(content, 16).toUpper().rightJustified(4, '0'));
  QTEST(fixture.Find<QLineEdit>(box == "TextVolts" ? "TextData" : box)->text(), "shown");
}

void RegisterOnSimBoardTest::rangeChoiceReachesTheModelAndIsSelectedAgain() {
  board_->PowerCycle();
  FourOperationLink link(VQ_BIN_DIR "/" VQ_USB4_FILE_NAME);
  FormFixture fixture(link);
  QVERIFY(fixture.Start());
  MainWindowControls &ui = fixture.Controls();
  Choose(ui.RegisterList, "Coarse Gain Register");
  Choose(ui.ChannelList, "DAC C");
  const QString range4311 = QString::fromUtf8(RangeChoices[2]);

  Choose(ui.RangeList, range4311);
  QCOMPARE(int{board_->Registers(2).Coarse}, 2);
  QCOMPARE(int{board_->Registers(0).Coarse}, 0);

  // DAC A reads 0 and selects its range; back on DAC C its range returns.
  Choose(ui.ChannelList, "DAC A");
  QCOMPARE(ui.RangeList->currentText(), QString::fromUtf8(RangeChoices[0]));
  Choose(ui.ChannelList, "DAC C");
  QCOMPARE(ui.RangeList->currentText(), range4311);
  QCOMPARE(fixture.values.OutputRange, 4.311f);
  QCOMPARE(int{board_->Registers(2).Coarse}, 2);
}

QTEST_MAIN(RegisterOnSimBoardTest)
#include "tst_register_on_simboard.moc"
