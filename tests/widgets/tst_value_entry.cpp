// The four entry boxes: Return in TextData, TextVolts, TextFine and
// TextOffset, what goes to the board and what the panel shows afterwards.
#include "panels/choice_list.h"
#include "tests/support/panel_driver.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vq;
using namespace vq::test;

namespace {

QString Hex(int value) {
  return QString::number(value, 16).toUpper();
}

QWidget *Focused(LoadedPanel &panel) {
  return panel.Window().focusWidget();
}

} // namespace

class ValueEntryTest : public QObject {
  Q_OBJECT
private slots:
  void dataCodeEntryWritesTheLimitedCode_data();
  void dataCodeEntryWritesTheLimitedCode();
  void failedDataCodeEntryEmptiesTheBox_data();
  void failedDataCodeEntryEmptiesTheBox();
  void eightDigitHexIsUnsignedInBothPrograms();
  void voltageEntryWritesTheCodeOfTheVoltage_data();
  void voltageEntryWritesTheCodeOfTheVoltage();
  void failedVoltageEntryEmptiesTheBox_data();
  void failedVoltageEntryEmptiesTheBox();
  void eachEntryTakesItsOwnChannelsRange_data();
  void eachEntryTakesItsOwnChannelsRange();
  void gainAndOffsetEntriesWriteTheirCodes_data();
  void gainAndOffsetEntriesWriteTheirCodes();
  void failedGainOrOffsetEntryEmptiesTheBox_data();
  void failedGainOrOffsetEntryEmptiesTheBox();
  void otherKeysOnlyEditTheBox_data();
  void otherKeysOnlyEditTheBox();
};

void ValueEntryTest::dataCodeEntryWritesTheLimitedCode_data() {
  QTest::addColumn<bool>("decimal");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("code");
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("volts");

  QTest::newRow("hex empty writes 0") << false << "" << 0 << "0"
                                      << "-4.0960";
  QTest::newRow("hex 10000 limited") << false << "10000" << 65535 << "FFFF"
                                     << "4.0959";
  QTest::newRow("hex 0abc") << false << "0abc" << 2748 << "ABC"
                            << "-3.7525";
  QTest::newRow("hex ffffffff is too large, limited") << false << "ffffffff" << 65535 << "FFFF"
                                                      << "4.0959";
  QTest::newRow("hex 80000000 is too large, limited") << false << "80000000" << 65535 << "FFFF"
                                                      << "4.0959";
  QTest::newRow("hex 8000 mid-scale") << false << "8000" << 32768 << "8000"
                                      << "0.0000";
  QTest::newRow("hex 1") << false << "1" << 1 << "1"
                         << "-4.0959";
  QTest::newRow("hex 7FFF") << false << "7FFF" << 32767 << "7FFF"
                            << "-0.0001";
  QTest::newRow("dec -5 limited") << true << "-5" << 0 << "0"
                                  << "-4.0960";
  QTest::newRow("dec 70000 limited") << true << "70000" << 65535 << "65535"
                                     << "4.0959";
  QTest::newRow("dec 12.5 to even") << true << "12.5" << 12 << "12"
                                    << "-4.0945";
  QTest::newRow("dec 13.5 to even") << true << "13.5" << 14 << "14"
                                    << "-4.0943";
  QTest::newRow("dec no number") << true << "xyz" << 0 << "0"
                                 << "-4.0960";
  QTest::newRow("dec empty") << true << "" << 0 << "0"
                             << "-4.0960";
  QTest::newRow("dec blanks and tail") << true << " 3 2768 V" << 32768 << "32768"
                                       << "0.0000";
}

void ValueEntryTest::dataCodeEntryWritesTheLimitedCode() {
  QFETCH(bool, decimal);
  QFETCH(QString, typed);
  QFETCH(int, code);
  LoadedPanel panel;
  if (decimal)
    Click(panel.Controls().DisplayModeButton);
  panel.Link().SetRegister({Register::CoarseGain, Channel::A}, 0);
  panel.Taken();

  Enter(panel.Controls().DataBox, typed);

  QCOMPARE(panel.Taken(), Read({Register::CoarseGain, Channel::A}) + QStringList{"D9 out v=10 i=" + Hex(code)});
  QCOMPARE(panel.Values().DataValue, code);
  QTEST(panel.Controls().DataBox->text(), "box");
  QTEST(panel.Controls().VoltsBox->text(), "volts");
  // The bit display shows the word just written.
  QCOMPARE(panel.Controls().WordHex->text(), Hex(0x100000 + code));
  QCOMPARE(DataBits(panel.Controls()), QString::number(code, 2).rightJustified(16, '0'));
  QCOMPARE(panel.Controls().RegisterValue->text(), decimal ? QString::number(code) : Hex(code).rightJustified(4, '0'));
  QCOMPARE(panel.Controls().ReadWriteBit->text(), QString("0"));
}

// FFFFFFFF once drove the output to negative full scale.
void ValueEntryTest::eightDigitHexIsUnsignedInBothPrograms() {
  for (const Program &program : BothPrograms) {
    LoadedPanel panel(program.EarlierBuild);
    Enter(panel.Controls().DataBox, "FFFFFFFF");
    QCOMPARE(panel.Taken(), Read({Register::CoarseGain, Channel::A}) + QStringList{"D9 out v=10 i=FFFF"});
    QCOMPARE(panel.Controls().VoltsBox->text(), QString("4.0959"));

    panel.Controls().DataBox->setText("80000000");
    Click(panel.Controls().DisplayModeButton);
    QCOMPARE(panel.Controls().DataBox->text(), QString("2147483648"));
    Click(panel.Controls().DisplayModeButton);
    QCOMPARE(panel.Controls().DataBox->text(), QString("80000000"));
    QVERIFY2(panel.form.fixture.answerer.Seen.isEmpty(), program.Name);
  }
}

void ValueEntryTest::failedDataCodeEntryEmptiesTheBox_data() {
  QTest::addColumn<bool>("decimal");
  QTest::addColumn<QString>("typed");

  QTest::newRow("hex 12G") << false << "12G";
  QTest::newRow("hex nine digits") << false << "123456789";
  QTest::newRow("hex with a blank") << false << " 1";
  QTest::newRow("dec beyond 32 bits") << true << "1e10";
  QTest::newRow("dec beyond double") << true << "1e400";
}

void ValueEntryTest::failedDataCodeEntryEmptiesTheBox() {
  QFETCH(bool, decimal);
  QFETCH(QString, typed);
  LoadedPanel panel;
  if (decimal)
    Click(panel.Controls().DisplayModeButton);
  panel.Link().SetRegister({Register::CoarseGain, Channel::A}, 1);
  panel.Taken();
  panel.Controls().VoltsBox->setFocus();

  Enter(panel.Controls().DataBox, typed);

  // The range read before the failure stays; nothing is written.
  QCOMPARE(panel.Taken(), Read({Register::CoarseGain, Channel::A}));
  QCOMPARE(panel.Controls().DataBox->text(), QString());
  QVERIFY(!panel.Controls().DataBox->isUndoAvailable()); // the failed text is gone for good
  QCOMPARE(Focused(panel), panel.Controls().DataBox);
  QCOMPARE(panel.Values().CoarseGainCode, 1);
  QCOMPARE(panel.Values().OutputRange, 4.201f);
  QCOMPARE(panel.Controls().VoltsBox->text(), QString("-4.0960"));
  QCOMPARE(panel.Controls().ReadWriteBit->text(), QString("0"));
  QCOMPARE(panel.Values().DataValue, 0);
}

void ValueEntryTest::voltageEntryWritesTheCodeOfTheVoltage_data() {
  QTest::addColumn<bool>("binary");
  QTest::addColumn<bool>("decimal");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("code");
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("dataBox");

  QTest::newRow("binary 0") << true << false << "0" << 0x8000 << "0.0000"
                            << "8000";
  QTest::newRow("binary 1") << true << false << "1" << 0x9F40 << "1.0000"
                            << "9F40";
  QTest::newRow("binary -1") << true << false << "-1" << 0x60C0 << "-1.0000"
                             << "60C0";
  QTest::newRow("binary 4.096: 65536 becomes 65535") << true << false << "4.096" << 0xFFFF << "4.0960"
                                                     << "FFFF";
  QTest::newRow("binary 5 limited") << true << false << "5" << 0xFFFF << "4.0960"
                                    << "FFFF";
  QTest::newRow("binary -5 limited") << true << false << "-5" << 0x0000 << "-4.0960"
                                     << "0";
  QTest::newRow("binary no number: mid-scale") << true << false << "abc" << 0x8000 << "0.0000"
                                               << "8000";
  QTest::newRow("binary, shown to five decimals first") << true << false << "0.00005" << 0x8000 << "0.0001"
                                                        << "8000";
  QTest::newRow("binary, five decimals and not six") << true << false << "0.000046" << 0x8000 << "0.0001"
                                                     << "8000";
  QTest::newRow("binary, code from the typed value") << true << false << "0.00018" << 0x8001 << "0.0002"
                                                     << "8001";
  QTest::newRow("binary 1, decimal display") << true << true << "1" << 0x9F40 << "1.0000"
                                             << "40768";
  QTest::newRow("2s 0") << false << false << "0" << 0x0000 << "0.0000"
                        << "0";
  QTest::newRow("2s 1") << false << false << "1" << 0x1F40 << "1.0000"
                        << "1F40";
  QTest::newRow("2s -1") << false << false << "-1" << 0xE0C0 << "-1.0000"
                         << "E0C0";
  QTest::newRow("2s 4.096 capped") << false << false << "4.096" << 0x7FFF << "4.0960"
                                   << "7FFF";
  QTest::newRow("2s -4.096") << false << false << "-4.096" << 0x8000 << "-4.0960"
                             << "8000";
  QTest::newRow("2s -0.00001: 65536 becomes 65535") << false << false << "-0.00001" << 0xFFFF << "0.0000"
                                                    << "FFFF";
  QTest::newRow("2s no number: zero") << false << false << "xyz" << 0x0000 << "0.0000"
                                      << "0";
}

void ValueEntryTest::voltageEntryWritesTheCodeOfTheVoltage() {
  QFETCH(bool, binary);
  QFETCH(bool, decimal);
  QFETCH(QString, typed);
  QFETCH(int, code);
  LoadedPanel panel;
  panel.Link().SetRegister({Register::Data, Channel::A}, 0x0ABC);
  Click(panel.Controls().ReadRegisterButton);
  if (decimal)
    Click(panel.Controls().DisplayModeButton);
  panel.Values().Lines.BinaryCoding = binary;
  panel.Taken();
  const QString bits = DataBits(panel.Controls()), word = panel.Controls().WordHex->text(),
                registerValue = panel.Controls().RegisterValue->text();

  Enter(panel.Controls().VoltsBox, typed);

  QCOMPARE(panel.Taken(), Read({Register::CoarseGain, Channel::A}) + QStringList{"D9 out v=10 i=" + Hex(code)});
  QCOMPARE(panel.Values().DataValue, code);
  QCOMPARE(int(panel.Values().Word.SelectBits()), 2);
  QTEST(panel.Controls().VoltsBox->text(), "box");
  QTEST(panel.Controls().DataBox->text(), "dataBox");
  // Only the R/W bit follows a voltage entry; the rest of the display waits.
  QCOMPARE(panel.Controls().ReadWriteBit->text(), QString("0"));
  QCOMPARE(DataBits(panel.Controls()), bits);
  QCOMPARE(panel.Controls().WordHex->text(), word);
  QCOMPARE(panel.Controls().RegisterValue->text(), registerValue);
}

void ValueEntryTest::failedVoltageEntryEmptiesTheBox_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("coarse");
  QTest::newRow("too large for single precision") << "1e39" << 1;
  QTest::newRow("too large for double precision") << "1e400" << 1;
  QTest::newRow("coarse gain just beyond 16 bits") << "1" << 0x8000;
}

void ValueEntryTest::failedVoltageEntryEmptiesTheBox() {
  QFETCH(QString, typed);
  QFETCH(int, coarse);
  LoadedPanel panel;
  panel.Link().SetRegister({Register::CoarseGain, Channel::A}, coarse);
  panel.Controls().DataBox->setFocus();

  Enter(panel.Controls().VoltsBox, typed);

  QCOMPARE(panel.Taken(), Read({Register::CoarseGain, Channel::A}));
  QCOMPARE(panel.Controls().VoltsBox->text(), QString());
  QVERIFY(!panel.Controls().VoltsBox->isUndoAvailable());
  QCOMPARE(Focused(panel), panel.Controls().VoltsBox);
  QCOMPARE(panel.Controls().DataBox->text(), QString("0"));
  QCOMPARE(panel.Values().OutputRange, coarse == 1 ? 4.201f : 4.096f);
}

void ValueEntryTest::eachEntryTakesItsOwnChannelsRange_data() {
  QTest::addColumn<QString>("channel");
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QStringList>("requests");
  QTest::addColumn<QString>("dataBox");
  QTest::addColumn<QString>("voltsBox");
  QTest::addColumn<float>("range");

  // DAC A is on 4.311 V, DAC B on 4.096 V.
  QTest::newRow("code: DAC B's range") << "DAC B"
                                       << "TextData"
                                       << "0"
                                       << (Read({Register::CoarseGain, Channel::B}) + QStringList{"D9 out v=11 i=0"})
                                       << "0"
                                       << "-4.0960" << 4.096f;
  QTest::newRow("voltage: DAC B's range")
      << "DAC B"
      << "TextVolts"
      << "1" << (Read({Register::CoarseGain, Channel::B}) + QStringList{"D9 out v=11 i=9F40"}) << "9F40"
      << "1.0000" << 4.096f;
  QTest::newRow("voltage for all: DAC A's range")
      << "ALL DACs"
      << "TextVolts"
      << "1" << (Read({Register::CoarseGain, Channel::A}) + QStringList{"D9 out v=14 i=9DB1"}) << "9DB1"
      << "1.0000" << 4.311f;
}

void ValueEntryTest::eachEntryTakesItsOwnChannelsRange() {
  QFETCH(QString, channel);
  QFETCH(QString, box);
  QFETCH(QString, typed);
  LoadedPanel panel;
  panel.Link().SetRegister({Register::CoarseGain, Channel::A}, 2);
  panel.Link().SetRegister({Register::CoarseGain, Channel::B}, 0);
  Choose(panel.Controls().ChannelList, channel);
  panel.Taken();

  Enter(panel.form.fixture.Find<QLineEdit>(box), typed);

  QTEST(panel.Taken(), "requests");
  QTEST(panel.Controls().DataBox->text(), "dataBox");
  QTEST(panel.Controls().VoltsBox->text(), "voltsBox");
  QTEST(panel.Values().OutputRange, "range");
}

void ValueEntryTest::gainAndOffsetEntriesWriteTheirCodes_data() {
  QTest::addColumn<QString>("view");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("code");
  QTest::addColumn<QString>("box");

  const QString fine = "Fine Gain Register", offset = "Offset Register";
  QTest::newRow("fine 31") << fine << "31" << 31 << "31";
  QTest::newRow("fine -1") << fine << "-1" << 63 << "-1";
  QTest::newRow("fine -32") << fine << "-32" << 32 << "-32";
  QTest::newRow("fine 40 limited") << fine << "40" << 31 << "31";
  QTest::newRow("fine -40 limited") << fine << "-40" << 32 << "-32";
  QTest::newRow("fine 2.5 to even") << fine << "2.5" << 2 << "2";
  QTest::newRow("fine 3.5 to even") << fine << "3.5" << 4 << "4";
  QTest::newRow("fine -2.5") << fine << "-2.5" << 62 << "-2";
  QTest::newRow("fine -3.5") << fine << "-3.5" << 60 << "-4";
  QTest::newRow("fine -0.3 rounds to 0") << fine << "-0.3" << 0 << "0";
  QTest::newRow("fine empty") << fine << "" << 0 << "0";
  QTest::newRow("fine no number") << fine << "xyz" << 0 << "0";
  QTest::newRow("offset 15.875") << offset << "15.875" << 127 << "15.875";
  QTest::newRow("offset 1") << offset << "1" << 8 << "1";
  QTest::newRow("offset 0.125") << offset << "0.125" << 1 << "0.125";
  QTest::newRow("offset -0.125") << offset << "-0.125" << 255 << "-0.125";
  QTest::newRow("offset -16") << offset << "-16" << 128 << "-16";
  QTest::newRow("offset 20 limited") << offset << "20" << 127 << "15.875";
  QTest::newRow("offset 0.0625 to even") << offset << "0.0625" << 0 << "0";
  QTest::newRow("offset 0.1875 to even") << offset << "0.1875" << 2 << "0.25";
  QTest::newRow("offset 0.1 shows the step") << offset << "0.1" << 1 << "0.125";
  QTest::newRow("offset -0.01 rounds to 0") << offset << "-0.01" << 0 << "0";
  QTest::newRow("offset empty") << offset << "" << 0 << "0";
  QTest::newRow("offset no number") << offset << "xyz" << 0 << "0";
}

void ValueEntryTest::gainAndOffsetEntriesWriteTheirCodes() {
  QFETCH(QString, view);
  QFETCH(QString, typed);
  QFETCH(int, code);
  LoadedPanel panel;
  Choose(panel.Controls().RegisterList, view);
  panel.Taken();
  const bool fine = view.startsWith("Fine");
  QLineEdit *box = fine ? panel.Controls().FineGainBox : panel.Controls().OffsetBox;
  const int upper = fine ? 0x20 : 0x28;

  Enter(box, typed);

  QCOMPARE(panel.Taken(), QStringList{QStringLiteral("D9 out v=%1 i=%2").arg(Hex(upper), Hex(code))});
  QCOMPARE(panel.Values().DataValue, code);
  QTEST(box->text(), "box");
  QCOMPARE(panel.Controls().WordHex->text(), Hex((upper << 16) + code));
  QCOMPARE(DataBits(panel.Controls()), QString::number(code, 2).rightJustified(16, '0'));
  QCOMPARE(panel.Controls().ReadWriteBit->text(), QString("0"));
}

void ValueEntryTest::failedGainOrOffsetEntryEmptiesTheBox_data() {
  QTest::addColumn<QString>("view");
  QTest::newRow("fine gain") << "Fine Gain Register";
  QTest::newRow("offset") << "Offset Register";
}

void ValueEntryTest::failedGainOrOffsetEntryEmptiesTheBox() {
  QFETCH(QString, view);
  LoadedPanel panel;
  Choose(panel.Controls().RegisterList, view);
  panel.Taken();
  QLineEdit *box = view.startsWith("Fine") ? panel.Controls().FineGainBox : panel.Controls().OffsetBox;
  panel.Controls().ChannelList->setFocus();

  Enter(box, "1e400");

  QCOMPARE(panel.Taken(), QStringList());
  QCOMPARE(box->text(), QString());
  QVERIFY(!box->isUndoAvailable());
  QCOMPARE(Focused(panel), box);
  QCOMPARE(panel.Controls().ReadWriteBit->text(), QString("0"));
}

// Keys other than Return only edit the box; Tab moves on along the row.
void ValueEntryTest::otherKeysOnlyEditTheBox_data() {
  QTest::addColumn<QString>("view");
  QTest::addColumn<QString>("box");
  QTest::addColumn<QStringList>("tabStops");
  QTest::newRow("data code") << "Data Register"
                             << "TextData" << QStringList{"Command2", "TextVolts"};
  QTest::newRow("voltage") << "Data Register"
                           << "TextVolts" << QStringList{"Toggle1"};
  QTest::newRow("fine gain") << "Fine Gain Register"
                             << "TextFine" << QStringList{"Toggle1"};
  QTest::newRow("offset") << "Offset Register"
                          << "TextOffset" << QStringList{"Toggle1"};
}

void ValueEntryTest::otherKeysOnlyEditTheBox() {
  QFETCH(QString, view);
  QFETCH(QString, box);
  QFETCH(QStringList, tabStops);
  LoadedPanel panel;
  Choose(panel.Controls().RegisterList, view);
  panel.Taken();
  QLineEdit *entry = panel.form.fixture.Find<QLineEdit>(box);
  entry->clear();

  QTest::keyClicks(entry, "-1A.x e+");

  QCOMPARE(entry->text(), QString("-1A.x e+"));
  QCOMPARE(panel.Taken(), QStringList());
  entry->setFocus();
  for (const QString &stop : tabStops) {
    QTest::keyClick(Focused(panel), Qt::Key_Tab);
    QCOMPARE(Focused(panel)->objectName(), stop);
  }
}

QTEST_MAIN(ValueEntryTest)
#include "tst_value_entry.moc"
