// The register panel's commands: "Read Register" and the Hex/Dec switch.
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
};

void RegisterCommandsTest::readRegisterEnablesSdoFirst_data() {
  QTest::addColumn<QString>("view");
  QTest::addColumn<int>("options"); // function word bits as the flags stand
  QTest::addColumn<QStringList>("requests");

  QTest::newRow("SDO disabled goes out enabled")
      << "Data Register" << 0x01 << (QStringList{"DD out v=1 i=0"} + Read({Register::Data, Channel::A}));
  QTest::newRow("every option but SDO kept")
      << "Data Register" << 0x3F << (QStringList{"DD out v=1 i=3E"} + Read({Register::Data, Channel::A}));
  QTest::newRow("function view reads address 1")
      << "Function Register" << 0x0B << (QStringList{"DD out v=1 i=A"} + Read(Command::FunctionRegister));
}

void RegisterCommandsTest::readRegisterEnablesSdoFirst() {
  QFETCH(QString, view);
  QFETCH(int, options);
  LoadedPanel panel;
  Choose(panel.Controls().RegisterList, view);
  FunctionWord &o = panel.Values().Options;
  o = FunctionWord::FromBits(options);
  panel.Controls().SdoSwitch->SetValue(true);
  panel.Link().SetRegister(panel.Values().Word, 0x1234);
  panel.Taken();

  Click(panel.Controls().ReadRegisterButton);

  QTEST(panel.Taken(), "requests");
  QCOMPARE(o.SdoDisabled, false);
  QCOMPARE(panel.Values().FunctionRegisterShadow, options & ~1);
  QCOMPARE(panel.Controls().SdoSwitch->Value(), false);
  QCOMPARE(panel.Values().DataValue, 0x1234);
  QCOMPARE(panel.Controls().RegisterValue->text(), QString("1234"));
  QCOMPARE(panel.Controls().ReadWriteBit->text(), QString("1"));
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
  // Hexadecimal is unsigned; DataValue keeps the 32 bits.
  QTest::newRow("eight digits are unsigned") << "ffffffff"
                                             << "4294967295" << -1 << "4294967295"
                                             << "FFFFFFFF";
  QTest::newRow("80000000 is 2^31") << "80000000"
                                    << "2147483648" << INT32_MIN << "2147483648"
                                    << "80000000";
  QTest::newRow("negative decimal as its two's complement") << "0"
                                                            << "0" << 0 << "-1"
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
  panel.Link().SetRegister({Register::Data, Channel::A}, 0x0ABC);
  Click(panel.Controls().ReadRegisterButton);
  panel.Taken();
  QLineEdit *box = panel.Controls().DataBox;
  QPushButton *button = panel.Controls().DisplayModeButton;

  box->setText(typedHex);
  Click(button);
  QTEST(box->text(), "decimal");
  QCOMPARE(panel.Controls().RegisterValue->text(), QString("2748"));
  QCOMPARE(panel.Values().DataValue, dataValue);
  QCOMPARE(button->text(), QString("Dec"));
  QCOMPARE(panel.Values().Display, DisplayMode::Dec);

  box->setText(typedDec);
  Click(button);
  QTEST(box->text(), "hexAgain");
  QCOMPARE(panel.Controls().RegisterValue->text(), QString("0ABC"));
  QCOMPARE(panel.Values().DataValue, dataValue); // the switch to hex leaves it
  QCOMPARE(button->text(), QString("Hex"));
  QCOMPARE(panel.Values().Display, DisplayMode::Hex);
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
  QTest::newRow("beyond 32 bits") << true << "4294967296"
                                  << "The data value \"4294967296\" is not a decimal number from -2147483648 to "
                                     "4294967295.";
  QTest::newRow("below 32 bits") << true << "-2147483649"
                                 << "The data value \"-2147483649\" is not a decimal number from -2147483648 to "
                                    "4294967295.";
  QTest::newRow("beyond double") << true << "1e400"
                                 << "The data value \"1e400\" is not a decimal number from -2147483648 to "
                                    "4294967295.";
  // A pasted page is quoted as a short, marked excerpt, not whole.
  QTest::newRow("pasted page") << false << "x" + QString(32766, 'y')
                               << "The data value \"x" + QString(39, 'y') + "...\" is not a hexadecimal number.";
}

void RegisterCommandsTest::displayModeSwitchRefusesWhatIsNoNumber() {
  QFETCH(bool, fromDecimal);
  QFETCH(QString, text);
  LoadedPanel panel;
  panel.Link().SetRegister({Register::Data, Channel::A}, 0x0ABC);
  Click(panel.Controls().ReadRegisterButton);
  if (fromDecimal)
    Click(panel.Controls().DisplayModeButton);
  panel.Taken();
  const QString caption = panel.Controls().DisplayModeButton->text();
  const DisplayMode mode = panel.Values().Display;
  const QString registerValue = panel.Controls().RegisterValue->text();
  const int32_t dataValue = panel.Values().DataValue;
  panel.Controls().DataBox->setText(text);

  Click(panel.Controls().DisplayModeButton);

  const QList<SeenMessage> &seen = panel.form.fixture.answerer.Seen;
  QCOMPARE(seen.size(), 1);
  QTEST(seen[0].text, "message");
  QCOMPARE(seen[0].title, QString("VQ8231 Evaluation Software"));
  QCOMPARE(seen[0].icon, QMessageBox::Warning);
  QCOMPARE(seen[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QCOMPARE(panel.Controls().DisplayModeButton->text(), caption);
  QCOMPARE(panel.Values().Display, mode);
  QCOMPARE(panel.Controls().DataBox->text(), text);
  QCOMPARE(panel.Controls().RegisterValue->text(), registerValue);
  QCOMPARE(panel.Values().DataValue, dataValue);
  QCOMPARE(panel.Taken(), QStringList());
}

QTEST_MAIN(RegisterCommandsTest)
#include "tst_register_commands.moc"
