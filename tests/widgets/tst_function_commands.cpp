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
  void readSendsChangedLevelsInBothPrograms();
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
  const QString linesSent = QStringLiteral("DE out v=9F i=%1").arg(2 * driveD1 + driveD0);

  Click(panel.Controls().ReadLinesButton);

  // The board drives the levels read at once, when they are not the ones it
  // drives already (both low after start-up).
  QFETCH(QString, write);
  QStringList requests = Read(Command::FunctionRegister) + QStringList{write} + Read(Command::FunctionRegister);
  if (driveD1 != 0 || driveD0 != 0)
    requests << linesSent;
  QCOMPARE(panel.Taken(), requests);
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

  // The next control-line request sends them again; a second READ of the
  // same levels sends nothing more.
  panel.Controls().PulseAfterWriteBox->click();
  panel.Controls().PulseAfterWriteBox->click();
  QCOMPARE(panel.Taken(), QStringList{linesSent});
  Click(panel.Controls().ReadLinesButton);
  QCOMPARE(panel.Taken(), Read(Command::FunctionRegister) + QStringList{write} + Read(Command::FunctionRegister));
}

// Both programs send the levels READ shows, and only the ones that changed
// make a request: a level read back as the board already drives it does not.
void FunctionCommandsTest::readSendsChangedLevelsInBothPrograms() {
  for (const Program &program : BothPrograms) {
    LoadedPanel panel(program.EarlierBuild);
    panel.Link().SetRegister(Command::FunctionRegister, 0x08); // D1 high
    Click(panel.Controls().ReadLinesButton);
    QCOMPARE(panel.Taken().mid(5), QStringList{"DE out v=9F i=2"});

    panel.Link().SetRegister(Command::FunctionRegister, 0x0A); // D0 high too
    Click(panel.Controls().ReadLinesButton);
    QCOMPARE(panel.Taken().mid(5), QStringList{"DE out v=9F i=3"});
    QCOMPARE(panel.Values().Lines.RequestIndex(), 3);

    panel.Link().SetRegister(Command::FunctionRegister, 0x00);
    Click(panel.Controls().ReadLinesButton);
    QCOMPARE(panel.Taken().mid(5), QStringList{"DE out v=9F i=0"});
    QVERIFY2(!panel.Controls().DriveD1Switch->Value(), program.Name);
  }
}

QTEST_MAIN(FunctionCommandsTest)
#include "tst_function_commands.moc"
