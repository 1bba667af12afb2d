// "Read Register" in every view: what the bit display, the value label and
// the view's own field show for the content read back.
#include "panels/choice_list.h"
#include "panels/toggle_switch.h"
#include "tests/support/panel_driver.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vq;
using namespace vq::test;

class RegisterReadBackTest : public QObject {
  Q_OBJECT
private slots:
  void readBackIsShownInEveryView_data();
  void readBackIsShownInEveryView();
  void readBackVoltsUseTheReadChannelsRangeAndCoding();
};

void RegisterReadBackTest::readBackIsShownInEveryView_data() {
  QTest::addColumn<QString>("view");
  QTest::addColumn<bool>("decimal");
  QTest::addColumn<QString>("channel");
  QTest::addColumn<int>("content");
  QTest::addColumn<QString>("bits");
  QTest::addColumn<QString>("registerValue");
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
  // Read after the list showed 4.201 V: the new range is selected and written
  // back, and the label still tells that this was a read.
  QTest::newRow("coarse gain 2 written back after the read")
      << "Coarse Gain Register" << false << "DAC A" << 2 << "0000000000000010"
      << "0002"
      << "980002"
      << "ComboCoarse" << RangeChoiceText(2);
  // Code 3 selects no range: the list no longer shows 4.201 V.
  QTest::newRow("coarse gain 3 shows no range") << "Coarse Gain Register" << false << "DAC A" << 3 << "0000000000000011"
                                                << "0003"
                                                << "980003"
                                                << "ComboCoarse" << RangeChoiceText(-1);
}

void RegisterReadBackTest::readBackIsShownInEveryView() {
  QFETCH(QString, view);
  QFETCH(bool, decimal);
  QFETCH(QString, channel);
  QFETCH(int, content);
  LoadedPanel panel;
  panel.Link().SetRegister({Register::CoarseGain, Channel::A}, 1);
  Choose(panel.Controls().RegisterList, view);
  Choose(panel.Controls().ChannelList, channel);
  if (decimal)
    Click(panel.Controls().DisplayModeButton);
  panel.Link().SetRegister(panel.Values().Word, content);

  Click(panel.Controls().ReadRegisterButton);

  QTEST(DataBits(panel.Controls()), "bits");
  QTEST(panel.Controls().RegisterValue->text(), "registerValue");
  QTEST(panel.Controls().WordHex->text(), "word");
  QFETCH(QString, field);
  QTEST(FieldText(panel.Controls(), field), "fieldText");
  QCOMPARE(panel.Controls().ReadWriteBit->text(), QString("1"));
}

void RegisterReadBackTest::readBackVoltsUseTheReadChannelsRangeAndCoding() {
  LoadedPanel panel;
  panel.Link().SetRegister({Register::CoarseGain, Channel::A}, 0); // DAC A on 4.096 V, DAC D on 4.311 V
  panel.Link().SetRegister({Register::CoarseGain, Channel::D}, 2);
  Enter(panel.Controls().DataBox, "8000"); // reads DAC A's range: the model knows it
  QCOMPARE(panel.Values().OutputRange, 4.096f);

  // DAC D's range is not known yet: the range last taken, and the status bar says so.
  panel.Link().SetRegister({Register::Data, Channel::D}, 0xC000);
  Choose(panel.Controls().ChannelList, "DAC D");
  QCOMPARE(panel.Controls().VoltsBox->text(), QString("2.0480"));
  QVERIFY(panel.Window().Status().Message().contains("range is not known"));

  // Once a read of its coarse gain has been seen, DAC D's data shows on 4.311 V;
  // the entries' program-wide range stays the last entry's.
  Choose(panel.Controls().RegisterList, "Coarse Gain Register");
  Choose(panel.Controls().RegisterList, "Data Register");
  QCOMPARE(panel.Controls().VoltsBox->text(), QString("2.1555"));
  QCOMPARE(panel.Values().OutputRange, 4.096f);
  QCOMPARE(panel.Window().Status().Message(), QString());

  // Two's complement coding: 1F40 is +1 V, not -3.0960.
  ToggleSwitch *coding = panel.Controls().CodingSwitch;
  QTest::mouseClick(coding, Qt::LeftButton, Qt::NoModifier, coding->rect().center());
  QVERIFY(!panel.Values().Lines.BinaryCoding);
  panel.Link().SetRegister({Register::Data, Channel::A}, 0x1F40);
  Choose(panel.Controls().ChannelList, "DAC A");
  QCOMPARE(panel.Controls().VoltsBox->text(), QString("1.0000"));
}

QTEST_MAIN(RegisterReadBackTest)
#include "tst_register_readback.moc"
