// The twelve switches flipped by the user on a loaded window: what each one
// sends to the board, and how the direction switches lock the controls that
// no longer apply; and "Pulse After Data Write", which decides whether a
// register write pulses LDAC.
#include "tests/support/form_fixture.h"
#include "tests/support/panel_driver.h"

#include "panels/toggle_switch.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vq;
using namespace vq::test;

class SwitchesTest : public QObject {
  Q_OBJECT
private slots:
  void lineSwitchSendsEveryLine_data();
  void lineSwitchSendsEveryLine();
  void optionSwitchSendsTheWholeFunctionWord_data();
  void optionSwitchSendsTheWholeFunctionWord();
  void levelSwitchOfAnInputChangesNothing_data();
  void levelSwitchOfAnInputChangesNothing();
  void directionSwitchLocksWhatNoLongerApplies_data();
  void directionSwitchLocksWhatNoLongerApplies();
  void codingSwitchCodesTypedVoltages_data();
  void codingSwitchCodesTypedVoltages();
  void pulseBoxDecidesThePulseAndLocksLdac_data();
  void pulseBoxDecidesThePulseAndLocksLdac();
};

namespace {

// Loads the window on a converter whose function register reads
// `functionRegister` and forgets the start-up requests.
bool Start(RecordingForm &w, int32_t functionRegister = 0) {
  w.link.SetRegister(Command::FunctionRegister, functionRegister);
  if (!w.fixture.Start())
    return false;
  Taken(w.link);
  return true;
}

void FlipAll(RecordingForm &w, const QList<int> &toggles) {
  for (int n : toggles)
    Flip(w.fixture.Controls().Switches[n]);
}

QString Pins(int value, int index) {
  return QStringLiteral("DE out v=%1 i=%2")
      .arg(QString::number(value, 16).toUpper(), QString::number(index, 16).toUpper());
}

QString FunctionWordSent(int word) {
  return QStringLiteral("DD out v=1 i=%1").arg(QString::number(word, 16).toUpper());
}

} // namespace

void SwitchesTest::lineSwitchSendsEveryLine_data() {
  QTest::addColumn<bool>("untickPulse"); // makes the LDAC switch operable
  QTest::addColumn<QList<int>>("flips");
  QTest::addColumn<QStringList>("sent");

  // After start-up the pins stand at value 0x9F, index 0.
  QTest::newRow("CLR low") << false << QList<int>{8} << QStringList{Pins(0x97, 0)};
  QTest::newRow("two's complement") << false << QList<int>{2} << QStringList{Pins(0x9B, 0)};
  QTest::newRow("RSTIN low") << false << QList<int>{10} << QStringList{Pins(0x9D, 0)};
  QTest::newRow("LDAC low") << true << QList<int>{9} << QStringList{Pins(0x8F, 0)};
  QTest::newRow("drive D1 high") << false << QList<int>{12} << QStringList{Pins(0x9F, 2)};
  QTest::newRow("drive D0 high") << false << QList<int>{11} << QStringList{Pins(0x9F, 1)};
  QTest::newRow("each flip keeps the others")
      << true << QList<int>{8, 2, 12, 10, 11, 9}
      << QStringList{Pins(0x97, 0), Pins(0x93, 0), Pins(0x93, 2), Pins(0x91, 2), Pins(0x91, 3), Pins(0x81, 3)};
  QTest::newRow("back high") << false << QList<int>{8, 8} << QStringList{Pins(0x97, 0), Pins(0x9F, 0)};
}

void SwitchesTest::lineSwitchSendsEveryLine() {
  QFETCH(bool, untickPulse);
  QFETCH(QList<int>, flips);
  QFETCH(QStringList, sent);

  RecordingForm w;
  QVERIFY(Start(w));
  if (untickPulse) {
    QTest::mouseClick(w.fixture.Controls().PulseAfterWriteBox, Qt::LeftButton);
    QVERIFY(!w.fixture.Controls().PulseAfterWriteBox->isChecked());
    QVERIFY(w.fixture.Controls().LdacSwitch->Operable());
    Taken(w.link);
  }
  FlipAll(w, flips);
  QCOMPARE(Taken(w.link), sent);
}

void SwitchesTest::optionSwitchSendsTheWholeFunctionWord_data() {
  QTest::addColumn<int>("readBack"); // the function register at start-up
  QTest::addColumn<QList<int>>("flips");
  QTest::addColumn<QStringList>("sent");

  const QString d1Output = QStringLiteral("DC in v=0");
  const QString d1Input = QStringLiteral("DC in v=1");
  const QString d0Output = QStringLiteral("DB in v=0");
  const QString d0Input = QStringLiteral("DB in v=1");

  QTest::newRow("SDO disabled") << 0 << QList<int>{7} << QStringList{FunctionWordSent(0x01)};
  QTest::newRow("SDO enabled again") << 0 << QList<int>{7, 7}
                                     << QStringList{FunctionWordSent(0x01), FunctionWordSent(0)};
  QTest::newRow("local gnd offset adjust") << 0 << QList<int>{1} << QStringList{FunctionWordSent(0x20)};
  QTest::newRow("D1 output") << 0 << QList<int>{3} << QStringList{d1Output, FunctionWordSent(0x10)};
  QTest::newRow("D0 output") << 0 << QList<int>{4} << QStringList{d0Output, FunctionWordSent(0x04)};
  QTest::newRow("D1 output high") << 0 << QList<int>{3, 5}
                                  << QStringList{d1Output, FunctionWordSent(0x10), FunctionWordSent(0x18)};
  QTest::newRow("D0 output high") << 0 << QList<int>{4, 6}
                                  << QStringList{d0Output, FunctionWordSent(0x04), FunctionWordSent(0x06)};
  QTest::newRow("all six options") << 0 << QList<int>{1, 7, 3, 5, 4, 6}
                                   << QStringList{FunctionWordSent(0x20), FunctionWordSent(0x21), d1Output,
                                                  FunctionWordSent(0x31), FunctionWordSent(0x39), d0Output,
                                                  FunctionWordSent(0x3D), FunctionWordSent(0x3F)};
  // Back to input: the level flag stays and keeps being sent. The converter
  // lets go of the line before the board drives it.
  QTest::newRow("D1 input keeps its level")
      << 0 << QList<int>{3, 5, 3}
      << QStringList{d1Output, FunctionWordSent(0x10), FunctionWordSent(0x18), FunctionWordSent(0x08), d1Input};
  QTest::newRow("D0 input keeps its level")
      << 0 << QList<int>{4, 6, 4}
      << QStringList{d0Output, FunctionWordSent(0x04), FunctionWordSent(0x06), FunctionWordSent(0x02), d0Input};
  // Start-up's own read-back wrote the options from the flags (all clear),
  // so the switches show them clear whatever was read first, and a flip
  // turns an option on.
  QTest::newRow("options read at start are not shown, SDO")
      << 0x3F << QList<int>{7} << QStringList{FunctionWordSent(0x01)};
  QTest::newRow("options read at start are not shown, gnd adjust")
      << 0x3F << QList<int>{1} << QStringList{FunctionWordSent(0x20)};
  QTest::newRow("options read at start are not shown, D1 to output")
      << 0x3F << QList<int>{3} << QStringList{d1Output, FunctionWordSent(0x10)};
}

void SwitchesTest::optionSwitchSendsTheWholeFunctionWord() {
  QFETCH(int, readBack);
  QFETCH(QList<int>, flips);
  QFETCH(QStringList, sent);

  RecordingForm w;
  QVERIFY(Start(w, readBack));
  FlipAll(w, flips);
  QCOMPARE(Taken(w.link), sent);
  // The word last written is the one kept.
  QStringList words = sent.filter(QStringLiteral("DD out"));
  QCOMPARE(FunctionWordSent(w.fixture.values.FunctionRegisterShadow), words.constLast());
  QCOMPARE(w.fixture.Controls().ReadWriteBit->text(), QStringLiteral("0"));
}

void SwitchesTest::levelSwitchOfAnInputChangesNothing_data() {
  QTest::addColumn<int>("direction");
  QTest::addColumn<int>("level");
  QTest::newRow("D1") << 3 << 5;
  QTest::newRow("D0") << 4 << 6;
}

// The level switch is locked while its line is an input; should it be flipped
// all the same, nothing goes out and its flag stays.
void SwitchesTest::levelSwitchOfAnInputChangesNothing() {
  QFETCH(int, direction);
  QFETCH(int, level);

  RecordingForm w;
  QVERIFY(Start(w));
  MainWindowControls &ui = w.fixture.Controls();
  FlipAll(w, {direction, level, direction}); // output, high, back to input
  QVERIFY(!ui.Switches[level]->Operable());
  Taken(w.link);
  const FunctionWord before = w.fixture.values.Options;

  Flip(ui.Switches[level]); // locked: nothing happens at all
  QVERIFY(ui.Switches[level]->Value());
  ui.Switches[level]->SetOperable(true);
  Flip(ui.Switches[level]);
  QVERIFY(!ui.Switches[level]->Value());

  QCOMPARE(Taken(w.link), QStringList{});
  QCOMPARE(w.fixture.values.Options.D1High, before.D1High);
  QCOMPARE(w.fixture.values.Options.D0High, before.D0High);
  QCOMPARE(direction == 3 ? before.D1High : before.D0High, int16_t{1});
}

void SwitchesTest::directionSwitchLocksWhatNoLongerApplies_data() {
  QTest::addColumn<QList<int>>("flips");
  QTest::addColumn<bool>("readVisible");
  QTest::addColumn<QList<bool>>("driveFramesEnabled");            // D1, D0
  QTest::addColumn<QList<bool>>("driveAndLevelSwitchesOperable"); // drive D1, D0; level D1, D0

  QTest::newRow("start") << QList<int>{} << true << QList<bool>{true, true} << QList<bool>{true, true, false, false};
  QTest::newRow("D1 output") << QList<int>{3} << true << QList<bool>{false, true}
                             << QList<bool>{false, true, true, false};
  QTest::newRow("D0 output") << QList<int>{4} << true << QList<bool>{true, false}
                             << QList<bool>{true, false, false, true};
  QTest::newRow("both outputs") << QList<int>{3, 4} << false << QList<bool>{false, false}
                                << QList<bool>{false, false, true, true};
  QTest::newRow("both, D0 first") << QList<int>{4, 3} << false << QList<bool>{false, false}
                                  << QList<bool>{false, false, true, true};
  QTest::newRow("both, then D1 input") << QList<int>{3, 4, 3} << true << QList<bool>{true, false}
                                       << QList<bool>{true, false, false, true};
  QTest::newRow("both, then D0 input") << QList<int>{3, 4, 4} << true << QList<bool>{false, true}
                                       << QList<bool>{false, true, true, false};
}

void SwitchesTest::directionSwitchLocksWhatNoLongerApplies() {
  QFETCH(QList<int>, flips);
  QFETCH(bool, readVisible);
  QFETCH(QList<bool>, driveFramesEnabled);
  QFETCH(QList<bool>, driveAndLevelSwitchesOperable);

  RecordingForm w;
  QVERIFY(Start(w));
  MainWindowControls &ui = w.fixture.Controls();
  FlipAll(w, flips);
  QCOMPARE(ui.ReadLinesButton->isVisible(), readVisible);
  QCOMPARE(ui.DriveD1Frame->isEnabled(), driveFramesEnabled[0]);
  QCOMPARE(ui.DriveD0Frame->isEnabled(), driveFramesEnabled[1]);
  QCOMPARE(ui.DriveD1Switch->Operable(), driveAndLevelSwitchesOperable[0]);
  QCOMPARE(ui.DriveD0Switch->Operable(), driveAndLevelSwitchesOperable[1]);
  QCOMPARE(ui.D1LevelSwitch->Operable(), driveAndLevelSwitchesOperable[2]);
  QCOMPARE(ui.D0LevelSwitch->Operable(), driveAndLevelSwitchesOperable[3]);
  // A drive switch in a disabled frame cannot be flipped by the user.
  if (!driveFramesEnabled[0]) {
    Flip(ui.DriveD1Switch);
    QVERIFY(!ui.DriveD1Switch->Value());
  }
}

void SwitchesTest::codingSwitchCodesTypedVoltages_data() {
  QTest::addColumn<bool>("twosComplement");
  QTest::addColumn<QString>("volts");
  QTest::addColumn<QString>("code");

  QTest::newRow("binary, +1 V") << false << "1"
                                << "9F40";
  QTest::newRow("binary, -1 V") << false << "-1"
                                << "60C0";
  QTest::newRow("two's complement, +1 V") << true << "1"
                                          << "1F40";
  QTest::newRow("two's complement, -1 V") << true << "-1"
                                          << "E0C0";
  QTest::newRow("two's complement, top") << true << "5"
                                         << "7FFF";
}

void SwitchesTest::codingSwitchCodesTypedVoltages() {
  QFETCH(bool, twosComplement);
  QFETCH(QString, volts);
  QFETCH(QString, code);

  RecordingForm w;
  QVERIFY(Start(w));
  MainWindowControls &ui = w.fixture.Controls();
  if (twosComplement) {
    Flip(ui.CodingSwitch);
    QCOMPARE(ui.CodingSwitch->Caption(), QStringLiteral("2sComplement"));
    // The board's coding pin goes low with the program's conversion.
    QCOMPARE(Taken(w.link), QStringList{Pins(0x9B, 0)});
  }
  ui.VoltsBox->setText(volts);
  QTest::keyClick(ui.VoltsBox, Qt::Key_Return);
  QCOMPARE(ui.DataBox->text(), code);
  // The coarse gain of DAC A is read, then the code written with LDAC pulsed.
  QCOMPARE(Taken(w.link), (QStringList{QStringLiteral("DD in v=98 len=3"), QStringLiteral("DD in v=98 len=3"),
                                       QStringLiteral("D9 out v=10 i=") + code}));
}

void SwitchesTest::pulseBoxDecidesThePulseAndLocksLdac_data() {
  QTest::addColumn<bool>("ticked");
  QTest::addColumn<QStringList>("requests");
  QTest::addColumn<bool>("ldacOperable");
  QTest::addColumn<QString>("dataWrite");

  QTest::newRow("unticked: switch free, LDAC kept, plain writes")
      << false << QStringList() << true << "DD out v=10 i=1";
  QTest::newRow("ticked again: LDAC high and locked, pulsed writes")
      << true << QStringList{"DE out v=9F i=0"} << false << "D9 out v=10 i=1";
}

void SwitchesTest::pulseBoxDecidesThePulseAndLocksLdac() {
  QFETCH(bool, ticked);
  QFETCH(bool, ldacOperable);
  LoadedPanel panel;
  ToggleSwitch *ldac = panel.Controls().LdacSwitch;
  panel.Controls().PulseAfterWriteBox->click(); // unticked
  if (ticked) {
    // As after the user has put LDAC low with the switch.
    panel.Values().Lines.Ldac = false;
    ldac->SetValue(false);
    panel.Taken();
    panel.Controls().PulseAfterWriteBox->click();
  } else {
    // Unticking leaves the line and the switch as they were.
    QCOMPARE(panel.Values().Lines.Ldac, true);
  }

  QCOMPARE(panel.Controls().PulseAfterWriteBox->isChecked(), ticked);
  QTEST(panel.Taken(), "requests");
  QCOMPARE(ldac->Value(), true);
  QCOMPARE(ldac->Operable(), ldacOperable);
  QCOMPARE(panel.Values().Lines.Ldac, true);

  Enter(panel.Controls().DataBox, "1");
  QFETCH(QString, dataWrite);
  QCOMPARE(panel.Taken().last(), dataWrite);
}

QTEST_MAIN(SwitchesTest)
#include "tst_switches.moc"
