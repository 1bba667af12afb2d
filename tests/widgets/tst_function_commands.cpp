// The function register frame's commands: "CLEAR", "LOAD" and "READ" of the
// digital lines.
#include "panels/toggle_switch.h"
#include "tests/support/panel_driver.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vq;
using namespace vq::test;

class FunctionCommandsTest : public QObject {
  Q_OBJECT
private slots:
  void clearAndLoadSendOneWord_data();
  void clearAndLoadSendOneWord();
  void readTakesTheDigitalLevels_data();
  void readTakesTheDigitalLevels();
};

void FunctionCommandsTest::clearAndLoadSendOneWord_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("request");
  QTest::newRow("CLEAR") << "Command4"
                         << "DD out v=4 i=0";
  QTest::newRow("LOAD") << "Command5"
                        << "DD out v=5 i=0";
}

void FunctionCommandsTest::clearAndLoadSendOneWord() {
  QFETCH(QString, button);
  QFETCH(QString, request);
  LoadedPanel panel;
  panel.Link().SetRegister({Register::Data, Channel::A}, 0x0ABC);
  Click(panel.Controls().ReadRegisterButton);
  panel.Taken();
  const QString bits = DataBits(panel.Controls()), word = panel.Controls().WordHex->text(),
                registerValue = panel.Controls().RegisterValue->text();
  QVERIFY(panel.Controls().PulseAfterWriteBox->isChecked()); // a function command never pulses

  Click(panel.form.fixture.Find<QPushButton>(button));

  QCOMPARE(panel.Taken(), QStringList{request});
  QCOMPARE(panel.Controls().ReadWriteBit->text(), QString("0"));
  QCOMPARE(DataBits(panel.Controls()), bits);
  QCOMPARE(panel.Controls().WordHex->text(), word);
  QCOMPARE(panel.Controls().RegisterValue->text(), registerValue);
  QCOMPARE(panel.Controls().DataBox->text(), QString("ABC"));
}

void FunctionCommandsTest::readTakesTheDigitalLevels_data() {
  QTest::addColumn<int>("content");
  QTest::addColumn<QString>("write");
  QTest::addColumn<int>("driveD1");
  QTest::addColumn<int>("driveD0");

  QTest::newRow("both high, SDO disabled") << 0x0B << "DD out v=1 i=A" << 1 << 1;
  QTest::newRow("both low, outputs kept") << 0x15 << "DD out v=1 i=14" << 0 << 0;
  QTest::newRow("D0 high only") << 0x02 << "DD out v=1 i=2" << 0 << 1;
  QTest::newRow("D1 high only, upper bits not written back") << 0xFF08 << "DD out v=1 i=8" << 1 << 0;
}

void FunctionCommandsTest::readTakesTheDigitalLevels() {
  QFETCH(int, content);
  QFETCH(int, driveD1);
  QFETCH(int, driveD0);
  LoadedPanel panel;
  panel.Link().SetRegister(Command::FunctionRegister, content);
  panel.Controls().SdoSwitch->SetValue(true);
  const FunctionWord before = panel.Values().Options;

  Click(panel.Controls().ReadLinesButton);

  QFETCH(QString, write);
  QCOMPARE(panel.Taken(), Read(Command::FunctionRegister) + QStringList{write} + Read(Command::FunctionRegister));
  QCOMPARE(panel.Values().FunctionRegisterShadow, content);
  QCOMPARE(panel.Values().Lines.DriveD1, driveD1 == 1);
  QCOMPARE(panel.Values().Lines.DriveD0, driveD0 == 1);
  QCOMPARE(panel.Controls().D1LevelSwitch->Value(), driveD1 == 1);
  QCOMPARE(panel.Controls().D0LevelSwitch->Value(), driveD0 == 1);
  QCOMPARE(panel.Controls().SdoSwitch->Value(), false);
  // The board's drive switches show the levels it will now drive.
  QCOMPARE(panel.Controls().DriveD1Switch->Value(), driveD1 == 1);
  QCOMPARE(panel.Controls().DriveD0Switch->Value(), driveD0 == 1);
  QCOMPARE(panel.Values().Options.SdoDisabled, before.SdoDisabled);
  QCOMPARE(panel.Values().Options.D0High, before.D0High);
  QCOMPARE(panel.Values().Options.D1High, before.D1High);

  // The levels reach the board with the next control-line request.
  panel.Controls().PulseAfterWriteBox->click();
  panel.Controls().PulseAfterWriteBox->click();
  QCOMPARE(panel.Taken(), QStringList{QStringLiteral("DE out v=9F i=%1").arg(2 * driveD1 + driveD0)});
}

QTEST_MAIN(FunctionCommandsTest)
#include "tst_function_commands.moc"
