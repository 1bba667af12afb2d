// The register panel's three lists: what each choice sends, which controls
// it shows, and what the bit display and the entry field show afterwards.
#include "panels/choice_list.h"
#include "tests/support/panel_driver.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vq;
using namespace vq::test;

namespace {

const QString DataView = QStringLiteral("ComboAddr TextData Label1 TextVolts Label29 Command2");
const QString FunctionWord = QStringLiteral("DD out v=1 i=0"); // options all 0, SDO enabled

} // namespace

class RegisterPanelTest : public QObject {
  Q_OBJECT
private slots:
  void registerChoiceSetsViewAndReadsBack_data();
  void registerChoiceSetsViewAndReadsBack();
  void functionRegisterThenDataRegisterGoesToTheListedChannel();
  void coarseGainViewSelectsTheRangeRead_data();
  void coarseGainViewSelectsTheRangeRead();
  void channelChoiceReadsThatChannelAtOnce_data();
  void channelChoiceReadsThatChannelAtOnce();
  void rangeChoiceWritesTheCurrentChannel_data();
  void rangeChoiceWritesTheCurrentChannel();
};

void RegisterPanelTest::registerChoiceSetsViewAndReadsBack_data() {
  QTest::addColumn<QString>("entry");
  QTest::addColumn<int>("select");
  QTest::addColumn<int>("content");
  QTest::addColumn<QStringList>("requests");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("regBits");
  QTest::addColumn<QString>("addressBits");
  QTest::addColumn<QString>("label27");
  QTest::addColumn<QString>("word");
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("fieldText");

  QTest::newRow("function register: address 1, only the base button")
      << "Function Register" << 0 << 0x21 << (QStringList{FunctionWord} + Read(0x81)) << "Command2"
      << "000"
      << "001"
      << "0021"
      << "810021"
      << "TextData"
      << "0";
  QTest::newRow("data register") << "Data Register" << 2 << 0x0ABC << (QStringList{FunctionWord} + Read(0x90))
                                 << DataView << "010"
                                 << "000"
                                 << "0ABC"
                                 << "900ABC"
                                 << "TextVolts"
                                 << "-3.7525";
  QTest::newRow("coarse gain: range read, selected and written back")
      << "Coarse Gain Register" << 3 << 2 << (Read(0x98) + QStringList{"D9 out v=18 i=2", FunctionWord} + Read(0x98))
      << "ComboAddr ComboCoarse Label5"
      << "011"
      << "000"
      << "0002"
      << "980002"
      << "ComboCoarse" << CoarseEntryText(2);
  QTest::newRow("fine gain") << "Fine Gain Register" << 4 << 63 << (QStringList{FunctionWord} + Read(0xA0))
                             << "ComboAddr TextFine Label7"
                             << "100"
                             << "000"
                             << "003F"
                             << "A0003F"
                             << "TextFine"
                             << "-1";
  QTest::newRow("offset") << "Offset Register" << 5 << 255 << (QStringList{FunctionWord} + Read(0xA8))
                          << "ComboAddr TextOffset Label9"
                          << "101"
                          << "000"
                          << "00FF"
                          << "A800FF"
                          << "TextOffset"
                          << "-0.125";
}

void RegisterPanelTest::registerChoiceSetsViewAndReadsBack() {
  QFETCH(QString, entry);
  QFETCH(int, select);
  QFETCH(int, content);
  LoadedPanel panel;
  const int16_t address = select == 0 ? 1 : 0;
  panel.link().SetRegister(address, static_cast<int16_t>(select), content);

  Choose(panel.ui().ComboReg, entry);

  QTEST(panel.Taken(), "requests");
  QTEST(ShownEntryArea(panel.ui()), "shown");
  QCOMPARE(int(panel.values().Word.SelectBits()), select);
  QCOMPARE(int(panel.values().Word.AddressBits()), int(address));
  QCOMPARE(panel.values().DataValue, content);
  QTEST(RegisterBits(panel.ui()), "regBits");
  QTEST(AddressBits(panel.ui()), "addressBits");
  QTEST(panel.ui().Label27->text(), "label27");
  QTEST(panel.ui().LabelData->text(), "word");
  QCOMPARE(panel.ui().LabelRW->text(), QString("1"));
  QFETCH(QString, field);
  QTEST(FieldText(panel.ui(), field), "fieldText");
}

// The function register's command code in the address field is not taken
// for a channel: the next register view addresses the channel the list shows.
void RegisterPanelTest::functionRegisterThenDataRegisterGoesToTheListedChannel() {
  LoadedPanel panel;
  panel.link().SetRegister(0, 2, 0x1234);
  panel.link().SetRegister(2, 2, 0x0C0C);
  Choose(panel.ui().ComboReg, "Function Register");
  panel.Taken();

  // No channel chosen yet: DAC A.
  Choose(panel.ui().ComboReg, "Data Register");
  QCOMPARE(panel.Taken(), QStringList{FunctionWord} + Read(0x90));
  QCOMPARE(int(panel.values().Word.AddressBits()), 0);
  QCOMPARE(AddressBits(panel.ui()), QString("000"));
  QCOMPARE(panel.ui().ComboAddr->currentIndex(), -1);
  QCOMPARE(panel.ui().TextData->text(), QString("1234"));
  Enter(panel.ui().TextData, "5");
  QCOMPARE(panel.Taken(), Read(0x98) + QStringList{"D9 out v=10 i=5"});

  // DAC C chosen before the function register view: DAC C again after it.
  Choose(panel.ui().ComboAddr, "DAC C");
  Choose(panel.ui().ComboReg, "Function Register");
  panel.Taken();
  Choose(panel.ui().ComboReg, "Fine Gain Register");
  QCOMPARE(panel.Taken(), QStringList{FunctionWord} + Read(0xA2));
  QCOMPARE(AddressBits(panel.ui()), QString("010"));
}

void RegisterPanelTest::coarseGainViewSelectsTheRangeRead_data() {
  QTest::addColumn<int>("before"); // range chosen beforehand, -1 none
  QTest::addColumn<int>("content");
  QTest::addColumn<QStringList>("requests");
  QTest::addColumn<int>("selected");
  QTest::addColumn<float>("range");

  const QStringList readBack = QStringList{FunctionWord} + Read(0x98);
  QTest::newRow("reads 1 while another range is shown: written back")
      << 0 << 1 << (Read(0x98) + QStringList{"D9 out v=18 i=1"} + readBack) << 1 << 4.201f;
  QTest::newRow("reads the range already shown: nothing written") << 1 << 1 << (Read(0x98) + readBack) << 1 << 4.201f;
  QTest::newRow("first view, code 0: a change of selection")
      << -1 << 0 << (Read(0x98) + QStringList{"D9 out v=18 i=0"} + readBack) << 0 << 4.096f;
  QTest::newRow("code 3 leaves the list") << -1 << 3 << (Read(0x98) + readBack) << -1 << 4.096f;
  QTest::newRow("only the two lowest bits choose the range")
      << 0 << 6 << (Read(0x98) + QStringList{"D9 out v=18 i=2"} + readBack) << 2 << 4.311f;
}

void RegisterPanelTest::coarseGainViewSelectsTheRangeRead() {
  QFETCH(int, before);
  QFETCH(int, content);
  LoadedPanel panel;
  if (before >= 0)
    Choose(panel.ui().ComboCoarse, CoarseEntryText(before));
  panel.link().SetRegister(0, 3, content);
  panel.Taken();

  Choose(panel.ui().ComboReg, "Coarse Gain Register");

  QTEST(panel.Taken(), "requests");
  QFETCH(int, selected);
  QCOMPARE(panel.ui().ComboCoarse->currentText(), CoarseEntryText(selected));
  QTEST(panel.values().OutputRange, "range");
  QCOMPARE(panel.values().DataValue, content);
  QCOMPARE(panel.ui().LabelRW->text(), QString("1"));
}

void RegisterPanelTest::channelChoiceReadsThatChannelAtOnce_data() {
  QTest::addColumn<QString>("view");
  QTest::addColumn<QString>("channel");
  QTest::addColumn<int>("address");
  QTest::addColumn<QString>("addressBits");
  QTest::addColumn<int>("upperByte");

  QTest::newRow("data, DAC A") << "Data Register"
                               << "DAC A" << 0 << "000" << 0x90;
  QTest::newRow("data, DAC B") << "Data Register"
                               << "DAC B" << 1 << "001" << 0x91;
  QTest::newRow("data, DAC C") << "Data Register"
                               << "DAC C" << 2 << "010" << 0x92;
  QTest::newRow("data, DAC D") << "Data Register"
                               << "DAC D" << 3 << "011" << 0x93;
  QTest::newRow("data, ALL DACs") << "Data Register"
                                  << "ALL DACs" << 4 << "100" << 0x94;
  QTest::newRow("offset, DAC D") << "Offset Register"
                                 << "DAC D" << 3 << "011" << 0xAB;
}

void RegisterPanelTest::channelChoiceReadsThatChannelAtOnce() {
  QFETCH(QString, view);
  QFETCH(QString, channel);
  QFETCH(int, address);
  QFETCH(int, upperByte);
  LoadedPanel panel;
  Choose(panel.ui().ComboReg, view);
  panel.link().SetRegister(static_cast<int16_t>(address), panel.values().Word.SelectBits(), 0x0042);
  panel.Taken();

  Choose(panel.ui().ComboAddr, channel);

  QCOMPARE(panel.Taken(), QStringList{FunctionWord} + Read(upperByte));
  QCOMPARE(int(panel.values().Word.AddressBits()), int(address));
  QTEST(AddressBits(panel.ui()), "addressBits");
  QCOMPARE(panel.values().DataValue, 0x42);
  QCOMPARE(panel.ui().Label27->text(), QString("0042"));
}

void RegisterPanelTest::rangeChoiceWritesTheCurrentChannel_data() {
  QTest::addColumn<QString>("channel");
  QTest::addColumn<bool>("pulse");
  QTest::addColumn<int>("code");
  QTest::addColumn<QString>("request");
  QTest::addColumn<float>("range");

  QTest::newRow("ALL DACs, pulsed") << "ALL DACs" << true << 2 << "D9 out v=1C i=2" << 4.311f;
  QTest::newRow("DAC B, not pulsed") << "DAC B" << false << 1 << "DD out v=19 i=1" << 4.201f;
  QTest::newRow("DAC D, back to 4.096") << "DAC D" << true << 0 << "D9 out v=1B i=0" << 4.096f;
}

void RegisterPanelTest::rangeChoiceWritesTheCurrentChannel() {
  QFETCH(QString, channel);
  QFETCH(bool, pulse);
  QFETCH(int, code);
  LoadedPanel panel;
  panel.link().SetRegister(4, 3, 3); // no entry: the views leave the list alone
  panel.link().SetRegister(1, 3, 3);
  panel.link().SetRegister(3, 3, 3);
  panel.link().SetRegister(0, 3, code == 0 ? 1 : 0); // the first view shows another range
  Choose(panel.ui().ComboReg, "Coarse Gain Register");
  Choose(panel.ui().ComboAddr, channel);
  panel.ui().Check1->setChecked(pulse);
  panel.Taken();

  Choose(panel.ui().ComboCoarse, CoarseEntryText(code));

  QFETCH(QString, request);
  QCOMPARE(panel.Taken(), QStringList{request});
  QTEST(panel.values().OutputRange, "range");
  QCOMPARE(panel.ui().LabelRW->text(), QString("0"));
  QCOMPARE(panel.board().ReadWriteBit, ReadWrite::Write);
}

QTEST_MAIN(RegisterPanelTest)
#include "tst_register_panel.moc"
