// The register panel's three lists: what each choice sends, which controls
// it shows, and what the bit display and the entry field show afterwards.
#include "panels/choice_list.h"
#include "panels/register_entries.h"
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

QString Coarse(int code) {
  return code < 0 ? QString() : QString::fromUtf8(CoarseEntries[code]);
}

// The text of the view's own field: a box's text or the range list's choice.
QString FieldText(const MainFormControls &ui, const QString &field) {
  if (field == "ComboCoarse")
    return ui.ComboCoarse->currentText();
  for (QLineEdit *box : {ui.TextData, ui.TextVolts, ui.TextFine, ui.TextOffset})
    if (box->objectName() == field)
      return box->text();
  return QStringLiteral("no field %1").arg(field);
}

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
  void readBackIsShownInEveryView_data();
  void readBackIsShownInEveryView();
  void readBackUsesTheRangeOfTheLastDataEntry();
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
      << "ComboCoarse" << Coarse(2);
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
    Choose(panel.ui().ComboCoarse, Coarse(before));
  panel.link().SetRegister(0, 3, content);
  panel.Taken();

  Choose(panel.ui().ComboReg, "Coarse Gain Register");

  QTEST(panel.Taken(), "requests");
  QFETCH(int, selected);
  QCOMPARE(panel.ui().ComboCoarse->currentText(), Coarse(selected));
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

  Choose(panel.ui().ComboCoarse, Coarse(code));

  QFETCH(QString, request);
  QCOMPARE(panel.Taken(), QStringList{request});
  QTEST(panel.values().OutputRange, "range");
  QCOMPARE(panel.ui().LabelRW->text(), QString("0"));
  QCOMPARE(panel.board().ReadWriteBit, ReadWrite::Write);
}

void RegisterPanelTest::readBackIsShownInEveryView_data() {
  QTest::addColumn<QString>("view");
  QTest::addColumn<bool>("decimal");
  QTest::addColumn<QString>("channel");
  QTest::addColumn<int>("content");
  QTest::addColumn<QString>("bits");
  QTest::addColumn<QString>("label27");
  QTest::addColumn<QString>("word");
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("fieldText");

  const QString data = "Data Register", fine = "Fine Gain Register", offset = "Offset Register";
  QTest::newRow("hex: label at least four digits, box without zeros")
      << data << false << "DAC A" << 0x0ABC << "0000101010111100"
      << "0ABC"
      << "900ABC"
      << "TextData"
      << "ABC";
  QTest::newRow("decimal") << data << true << "DAC A" << 0x0ABC << "0000101010111100"
                           << "2748"
                           << "900ABC"
                           << "TextData"
                           << "2748";
  QTest::newRow("DAC C word") << data << false << "DAC C" << 0x1234 << "0001001000110100"
                              << "1234"
                              << "921234"
                              << "TextData"
                              << "1234";
  QTest::newRow("code 0 volts") << data << false << "DAC A" << 0 << "0000000000000000"
                                << "0000"
                                << "900000"
                                << "TextVolts"
                                << "-4.0960";
  QTest::newRow("code 1 volts") << data << false << "DAC A" << 1 << "0000000000000001"
                                << "0001"
                                << "900001"
                                << "TextVolts"
                                << "-4.0959";
  QTest::newRow("code 32767 volts") << data << false << "DAC A" << 32767 << "0111111111111111"
                                    << "7FFF"
                                    << "907FFF"
                                    << "TextVolts"
                                    << "-0.0001";
  QTest::newRow("code 32768 volts") << data << false << "DAC A" << 32768 << "1000000000000000"
                                    << "8000"
                                    << "908000"
                                    << "TextVolts"
                                    << "0.0000";
  QTest::newRow("code 65535 volts") << data << false << "DAC A" << 65535 << "1111111111111111"
                                    << "FFFF"
                                    << "90FFFF"
                                    << "TextVolts"
                                    << "4.0959";
  QTest::newRow("fine gain 31") << fine << false << "DAC B" << 31 << "0000000000011111"
                                << "001F"
                                << "A1001F"
                                << "TextFine"
                                << "31";
  QTest::newRow("fine gain 32") << fine << false << "DAC B" << 32 << "0000000000100000"
                                << "0020"
                                << "A10020"
                                << "TextFine"
                                << "-32";
  QTest::newRow("fine gain 63") << fine << false << "DAC B" << 63 << "0000000000111111"
                                << "003F"
                                << "A1003F"
                                << "TextFine"
                                << "-1";
  QTest::newRow("offset 1") << offset << false << "DAC A" << 1 << "0000000000000001"
                            << "0001"
                            << "A80001"
                            << "TextOffset"
                            << "0.125";
  QTest::newRow("offset 127") << offset << false << "DAC A" << 127 << "0000000001111111"
                              << "007F"
                              << "A8007F"
                              << "TextOffset"
                              << "15.875";
  QTest::newRow("offset 128") << offset << false << "DAC A" << 128 << "0000000010000000"
                              << "0080"
                              << "A80080"
                              << "TextOffset"
                              << "-16";
  QTest::newRow("offset 255") << offset << false << "DAC A" << 255 << "0000000011111111"
                              << "00FF"
                              << "A800FF"
                              << "TextOffset"
                              << "-0.125";
  QTest::newRow("coarse gain 3 leaves the list")
      << "Coarse Gain Register" << false << "DAC A" << 3 << "0000000000000011"
      << "0003"
      << "980003"
      << "ComboCoarse" << Coarse(1);
}

void RegisterPanelTest::readBackIsShownInEveryView() {
  QFETCH(QString, view);
  QFETCH(bool, decimal);
  QFETCH(QString, channel);
  QFETCH(int, content);
  LoadedPanel panel;
  panel.link().SetRegister(0, 3, 1);
  Choose(panel.ui().ComboReg, view);
  Choose(panel.ui().ComboAddr, channel);
  if (decimal)
    Click(panel.ui().Command2);
  panel.link().SetRegister(panel.values().Word.AddressBits(), panel.values().Word.SelectBits(), content);

  Click(panel.ui().Command1);

  QTEST(DataBits(panel.ui()), "bits");
  QTEST(panel.ui().Label27->text(), "label27");
  QTEST(panel.ui().LabelData->text(), "word");
  QFETCH(QString, field);
  QTEST(FieldText(panel.ui(), field), "fieldText");
  QCOMPARE(panel.ui().LabelRW->text(), QString("1"));
}

void RegisterPanelTest::readBackUsesTheRangeOfTheLastDataEntry() {
  LoadedPanel panel;
  panel.link().SetRegister(0, 3, 2); // DAC A on 4.311 V, DAC B on 4.096 V
  Enter(panel.ui().TextData, "8000");
  QCOMPARE(panel.values().CoarseGainCode, 2);

  Choose(panel.ui().ComboAddr, "DAC B"); // its data register reads 0
  QCOMPARE(panel.ui().TextVolts->text(), QString("-4.3110"));
  QCOMPARE(panel.values().OutputRange, 4.311f);

  // Choosing DAC B's range changes OutputRange, but the next data read-back
  // takes the range recorded at the data entry again.
  Choose(panel.ui().ComboReg, "Coarse Gain Register");
  Choose(panel.ui().ComboCoarse, Coarse(0));
  QCOMPARE(panel.values().OutputRange, 4.096f);
  Choose(panel.ui().ComboReg, "Data Register");
  QCOMPARE(panel.ui().TextVolts->text(), QString("-4.3110"));
  QCOMPARE(panel.values().OutputRange, 4.311f);
}

QTEST_MAIN(RegisterPanelTest)
#include "tst_register_panel.moc"
