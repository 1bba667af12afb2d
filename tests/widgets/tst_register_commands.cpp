// The register panel's commands: "Read Register", the Hex/Dec switch,
// "CLEAR", "LOAD", "READ" and "Pulse After Data Write".
#include "panels/toggle_switch.h"
#include "tests/support/panel_driver.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vq;
using namespace vq::test;

class RegisterCommandsTest : public QObject {
  Q_OBJECT
private slots:
  void readRegisterEnablesSdoFirst_data();
  void readRegisterEnablesSdoFirst();
  void displayModeSwitchConvertsBothTexts_data();
  void displayModeSwitchConvertsBothTexts();
  void displayModeSwitchRefusesWhatIsNoNumber_data();
  void displayModeSwitchRefusesWhatIsNoNumber();
  void clearAndLoadSendOneWord_data();
  void clearAndLoadSendOneWord();
  void readTakesTheDigitalLevels_data();
  void readTakesTheDigitalLevels();
  void pulseAfterDataWrite_data();
  void pulseAfterDataWrite();
};

void RegisterCommandsTest::readRegisterEnablesSdoFirst_data() {
  QTest::addColumn<QString>("view");
  QTest::addColumn<int>("options"); // function word bits as the flags stand
  QTest::addColumn<QStringList>("requests");

  QTest::newRow("SDO disabled goes out enabled")
      << "Data Register" << 0x01 << (QStringList{"DD out v=1 i=0"} + Read(0x90));
  QTest::newRow("every option but SDO kept")
      << "Data Register" << 0x3F << (QStringList{"DD out v=1 i=3E"} + Read(0x90));
  QTest::newRow("function view reads address 1")
      << "Function Register" << 0x0B << (QStringList{"DD out v=1 i=A"} + Read(0x81));
}

void RegisterCommandsTest::readRegisterEnablesSdoFirst() {
  QFETCH(QString, view);
  QFETCH(int, options);
  LoadedPanel panel;
  Choose(panel.ui().ComboReg, view);
  FunctionOptions &o = panel.values().Options;
  o.SdoDisable = options & 1;
  o.D0High = options >> 1 & 1;
  o.D0Output = options >> 2 & 1;
  o.D1High = options >> 3 & 1;
  o.D1Output = options >> 4 & 1;
  o.LocalGndOffsetAdjust = options >> 5 & 1;
  panel.ui().Toggle[7]->SetValue(true);
  panel.link().SetRegister(panel.values().Word.AddressBits(), panel.values().Word.SelectBits(), 0x1234);
  panel.Taken();

  Click(panel.ui().Command1);

  QTEST(panel.Taken(), "requests");
  QCOMPARE(o.SdoDisable, 0);
  QCOMPARE(panel.values().FunctionRegisterShadow, options & ~1);
  QCOMPARE(panel.ui().Toggle[7]->Value(), false);
  QCOMPARE(panel.values().DataValue, 0x1234);
  QCOMPARE(panel.ui().Label27->text(), QString("1234"));
  QCOMPARE(panel.ui().LabelRW->text(), QString("1"));
}

void RegisterCommandsTest::displayModeSwitchConvertsBothTexts_data() {
  QTest::addColumn<QString>("typedHex"); // in TextData, not entered
  QTest::addColumn<QString>("decimal");  // TextData after the switch to "Dec"
  QTest::addColumn<int>("dataValue");    // DataValue after it
  QTest::addColumn<QString>("typedDec"); // then typed, not entered
  QTest::addColumn<QString>("hexAgain"); // TextData after the switch back

  QTest::newRow("1A and back") << "1A"
                               << "26" << 26 << "26"
                               << "001A";
  QTest::newRow("FFFF") << "FFFF"
                        << "65535" << 65535 << "65535"
                        << "FFFF";
  QTest::newRow("eight digits are negative") << "ffffffff"
                                             << "-1" << -1 << "-1"
                                             << "FFFFFFFF";
  QTest::newRow("70000 has five digits") << "0"
                                         << "0" << 0 << "70000"
                                         << "11170";
  QTest::newRow("12.5 rounds to even") << "0"
                                       << "0" << 0 << "12.5"
                                       << "000C";
  QTest::newRow("13.5 rounds to even") << "0"
                                       << "0" << 0 << "13.5"
                                       << "000E";
  QTest::newRow("no number counts 0") << "0"
                                      << "0" << 0 << "abc"
                                      << "0000";
  QTest::newRow("blanks ignored") << "0"
                                  << "0" << 0 << " 2 5x"
                                  << "0019";
}

void RegisterCommandsTest::displayModeSwitchConvertsBothTexts() {
  QFETCH(QString, typedHex);
  QFETCH(QString, typedDec);
  QFETCH(int, dataValue);
  LoadedPanel panel;
  panel.link().SetRegister(0, 2, 0x0ABC);
  Click(panel.ui().Command1);
  panel.Taken();
  QLineEdit *box = panel.ui().TextData;
  QPushButton *button = panel.ui().Command2;

  box->setText(typedHex);
  Click(button);
  QTEST(box->text(), "decimal");
  QCOMPARE(panel.ui().Label27->text(), QString("2748"));
  QCOMPARE(panel.values().DataValue, dataValue);
  QCOMPARE(button->text(), QString("Dec"));
  QCOMPARE(panel.values().Display, DisplayMode::Dec);

  box->setText(typedDec);
  Click(button);
  QTEST(box->text(), "hexAgain");
  QCOMPARE(panel.ui().Label27->text(), QString("0ABC"));
  QCOMPARE(panel.values().DataValue, dataValue); // the switch to hex leaves it
  QCOMPARE(button->text(), QString("Hex"));
  QCOMPARE(panel.values().Display, DisplayMode::Hex);
  QCOMPARE(panel.Taken(), QStringList());
}

void RegisterCommandsTest::displayModeSwitchRefusesWhatIsNoNumber_data() {
  QTest::addColumn<bool>("fromDecimal");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("message");

  QTest::newRow("12G") << false << "12G"
                       << "The data value \"12G\" is not a hexadecimal number.";
  QTest::newRow("empty") << false << ""
                         << "The data value \"\" is not a hexadecimal number.";
  QTest::newRow("blank inside") << false << "1 A"
                                << "The data value \"1 A\" is not a hexadecimal number.";
  QTest::newRow("nine digits") << false << "123456789"
                               << "The data value \"123456789\" is not a hexadecimal number of at most eight "
                                  "significant digits.";
  QTest::newRow("beyond 32 bits") << true << "99999999999"
                                  << "The data value \"99999999999\" is not a decimal number within the 32-bit "
                                     "range.";
  QTest::newRow("beyond double") << true << "1e400"
                                 << "The data value \"1e400\" is not a decimal number within the 32-bit range.";
  // A pasted page is quoted as a short, marked excerpt, not whole.
  QTest::newRow("pasted page") << false << "x" + QString(32766, 'y')
                               << "The data value \"x" + QString(39, 'y') + "...\" is not a hexadecimal number.";
}

void RegisterCommandsTest::displayModeSwitchRefusesWhatIsNoNumber() {
  QFETCH(bool, fromDecimal);
  QFETCH(QString, text);
  LoadedPanel panel;
  panel.link().SetRegister(0, 2, 0x0ABC);
  Click(panel.ui().Command1);
  if (fromDecimal)
    Click(panel.ui().Command2);
  panel.Taken();
  const QString caption = panel.ui().Command2->text();
  const DisplayMode mode = panel.values().Display;
  const QString label27 = panel.ui().Label27->text();
  const int32_t dataValue = panel.values().DataValue;
  panel.ui().TextData->setText(text);

  Click(panel.ui().Command2);

  const QList<SeenMessage> &seen = panel.form.fixture.answerer.Seen;
  QCOMPARE(seen.size(), 1);
  QTEST(seen[0].text, "message");
  QCOMPARE(seen[0].title, QString("VQ8231 Evaluation Software"));
  QCOMPARE(seen[0].icon, QMessageBox::Warning);
  QCOMPARE(seen[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QCOMPARE(panel.ui().Command2->text(), caption);
  QCOMPARE(panel.values().Display, mode);
  QCOMPARE(panel.ui().TextData->text(), text);
  QCOMPARE(panel.ui().Label27->text(), label27);
  QCOMPARE(panel.values().DataValue, dataValue);
  QCOMPARE(panel.Taken(), QStringList());
}

void RegisterCommandsTest::clearAndLoadSendOneWord_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("request");
  QTest::newRow("CLEAR") << "Command4"
                         << "DD out v=4 i=0";
  QTest::newRow("LOAD") << "Command5"
                        << "DD out v=5 i=0";
}

void RegisterCommandsTest::clearAndLoadSendOneWord() {
  QFETCH(QString, button);
  QFETCH(QString, request);
  LoadedPanel panel;
  panel.link().SetRegister(0, 2, 0x0ABC);
  Click(panel.ui().Command1);
  panel.Taken();
  const QString bits = DataBits(panel.ui()), word = panel.ui().LabelData->text(), label27 = panel.ui().Label27->text();
  QVERIFY(panel.ui().Check1->isChecked()); // a function command never pulses

  Click(panel.form.fixture.Find<QPushButton>(button));

  QCOMPARE(panel.Taken(), QStringList{request});
  QCOMPARE(panel.ui().LabelRW->text(), QString("0"));
  QCOMPARE(DataBits(panel.ui()), bits);
  QCOMPARE(panel.ui().LabelData->text(), word);
  QCOMPARE(panel.ui().Label27->text(), label27);
  QCOMPARE(panel.ui().TextData->text(), QString("ABC"));
}

void RegisterCommandsTest::readTakesTheDigitalLevels_data() {
  QTest::addColumn<int>("content");
  QTest::addColumn<QString>("write");
  QTest::addColumn<int>("driveD1");
  QTest::addColumn<int>("driveD0");

  QTest::newRow("both high, SDO disabled") << 0x0B << "DD out v=1 i=A" << 1 << 1;
  QTest::newRow("both low, outputs kept") << 0x15 << "DD out v=1 i=14" << 0 << 0;
  QTest::newRow("D0 high only") << 0x02 << "DD out v=1 i=2" << 0 << 1;
  QTest::newRow("D1 high only, upper bits not written back") << 0xFF08 << "DD out v=1 i=8" << 1 << 0;
}

void RegisterCommandsTest::readTakesTheDigitalLevels() {
  QFETCH(int, content);
  QFETCH(int, driveD1);
  QFETCH(int, driveD0);
  LoadedPanel panel;
  panel.link().SetRegister(1, 0, content);
  panel.ui().Toggle[7]->SetValue(true);
  const FunctionOptions before = panel.values().Options;

  Click(panel.ui().Command6);

  QFETCH(QString, write);
  QCOMPARE(panel.Taken(), Read(0x81) + QStringList{write} + Read(0x81));
  QCOMPARE(panel.values().FunctionRegisterShadow, content);
  QCOMPARE(panel.board().ControlPins.DriveD1, driveD1);
  QCOMPARE(panel.board().ControlPins.DriveD0, driveD0);
  QCOMPARE(panel.ui().Toggle[5]->Value(), driveD1 == 1);
  QCOMPARE(panel.ui().Toggle[6]->Value(), driveD0 == 1);
  QCOMPARE(panel.ui().Toggle[7]->Value(), false);
  // The board's drive switches show the levels it will now drive.
  QCOMPARE(panel.ui().Toggle[12]->Value(), driveD1 == 1);
  QCOMPARE(panel.ui().Toggle[11]->Value(), driveD0 == 1);
  QCOMPARE(panel.values().Options.SdoDisable, before.SdoDisable);
  QCOMPARE(panel.values().Options.D0High, before.D0High);
  QCOMPARE(panel.values().Options.D1High, before.D1High);

  // The levels reach the board with the next control-pin request.
  panel.ui().Check1->click();
  panel.ui().Check1->click();
  QCOMPARE(panel.Taken(), QStringList{QStringLiteral("DE out v=9F i=%1").arg(2 * driveD1 + driveD0)});
}

void RegisterCommandsTest::pulseAfterDataWrite_data() {
  QTest::addColumn<bool>("ticked");
  QTest::addColumn<QStringList>("requests");
  QTest::addColumn<bool>("ldacOperable");
  QTest::addColumn<QString>("dataWrite");

  QTest::newRow("unticked: switch free, LDAC kept, plain writes")
      << false << QStringList() << true << "DD out v=10 i=1";
  QTest::newRow("ticked again: LDAC high and locked, pulsed writes")
      << true << QStringList{"DE out v=9F i=0"} << false << "D9 out v=10 i=1";
}

void RegisterCommandsTest::pulseAfterDataWrite() {
  QFETCH(bool, ticked);
  QFETCH(bool, ldacOperable);
  LoadedPanel panel;
  ToggleSwitch *ldac = panel.ui().Toggle[9];
  panel.ui().Check1->click(); // unticked
  if (ticked) {
    // As after the user has put LDAC low with the switch.
    panel.board().ControlPins.LdacPin = 0;
    ldac->SetValue(false);
    panel.Taken();
    panel.ui().Check1->click();
  } else {
    // Unticking leaves the line and the switch as they were.
    QCOMPARE(panel.board().ControlPins.LdacPin, 1);
  }

  QCOMPARE(panel.ui().Check1->isChecked(), ticked);
  QTEST(panel.Taken(), "requests");
  QCOMPARE(ldac->Value(), true);
  QCOMPARE(ldac->Operable(), ldacOperable);
  QCOMPARE(panel.board().ControlPins.LdacPin, 1);

  Enter(panel.ui().TextData, "1");
  QFETCH(QString, dataWrite);
  QCOMPARE(panel.Taken().last(), dataWrite);
}

QTEST_MAIN(RegisterCommandsTest)
#include "tst_register_commands.moc"
