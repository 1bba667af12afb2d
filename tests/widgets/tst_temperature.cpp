// "Measure": the function word it sends, the samples it takes and what the
// two result labels show.
#include "panels/toggle_switch.h"
#include "tests/support/simulated_program.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace vq;
using namespace vq::test;

namespace {

struct Measurement {
  Measurement() {
    if (!form.fixture.Start())
      qFatal("the window did not load");
    test::Taken(form.link);
  }
  MainWindowControls &Controls() { return form.fixture.Controls(); }
  ProgramValues &Values() { return form.fixture.values; }
  void Measure() { QTest::mouseClick(Controls().MeasureButton, Qt::LeftButton); }
  QStringList Taken() { return test::Taken(form.link); }
  RecordingForm form;
};

const QString Sample = QStringLiteral("DA in v=0 len=2");

} // namespace

class TemperatureTest : public QObject {
  Q_OBJECT
private slots:
  void readingIsShownAsVoltsAndDegrees_data();
  void readingIsShownAsVoltsAndDegrees();
  void functionWordDisablesSdoAndKeepsTheOtherOptions_data();
  void functionWordDisablesSdoAndKeepsTheOtherOptions();
  void measuresTheSimulatedDie_data();
  void measuresTheSimulatedDie();
};

void TemperatureTest::readingIsShownAsVoltsAndDegrees_data() {
  QTest::addColumn<int>("sample");
  QTest::addColumn<QString>("volts");
  QTest::addColumn<QString>("degrees");

  QTest::newRow("1700") << 1700 << "1.365"
                        << "2";
  QTest::newRow("2000") << 2000 << "1.606"
                        << "50";
  QTest::newRow("4095, the top of the scale") << 4095 << "3.289"
                                              << "386";
  QTest::newRow("1690: 0.098 degrees shows 0") << 1690 << "1.357"
                                               << "0";
  QTest::newRow("1689: -0.06 degrees shows 0, without a sign") << 1689 << "1.357"
                                                               << "0";
  QTest::newRow("1650: below freezing") << 1650 << "1.325"
                                        << "-6";
  QTest::newRow("0: no digit before the point") << 0 << ".000"
                                                << "-271";
  QTest::newRow("0xFFFF: not a reading") << -1 << "----"
                                         << "----";
  QTest::newRow("0x8000: not a reading") << -32768 << "----"
                                         << "----";
}

void TemperatureTest::readingIsShownAsVoltsAndDegrees() {
  QFETCH(int, sample);
  QFETCH(QString, volts);
  QFETCH(QString, degrees);
  Measurement m;
  m.Controls().PinVolts->setText("old");
  m.Controls().DieTemperature->setText("old");
  m.form.link.EarlierSamples = {4095, -1}; // the first two samples are discarded
  m.form.link.Sample = static_cast<int16_t>(sample);

  m.Measure();

  QCOMPARE(m.Controls().PinVolts->text(), volts);
  QCOMPARE(m.Controls().DieTemperature->text(), degrees);
}

void TemperatureTest::functionWordDisablesSdoAndKeepsTheOtherOptions_data() {
  QTest::addColumn<int>("options"); // bits 5..1 of the word, bit 0 as before
  QTest::addColumn<QString>("word");

  QTest::newRow("all off") << 0x00 << "1";
  QTest::newRow("SDO already disabled") << 0x01 << "1";
  QTest::newRow("D0 high, D1 output, ground offset adjust") << 0x32 << "33";
  QTest::newRow("D0 output, D1 high") << 0x0C << "D";
  QTest::newRow("everything on") << 0x3F << "3F";
}

void TemperatureTest::functionWordDisablesSdoAndKeepsTheOtherOptions() {
  QFETCH(int, options);
  QFETCH(QString, word);
  Measurement m;
  m.Values().Options = FunctionWord::FromBits(options);
  m.Controls().SdoSwitch->SetValue(options & 1);

  m.Measure();

  // The function register (select 0, address 1) never pulses LDAC; then
  // three samples.
  QCOMPARE(m.Taken(), QStringList({"DD out v=1 i=" + word, Sample, Sample, Sample}));
  QCOMPARE(m.Values().FunctionRegisterShadow, options | 1);
  QCOMPARE(m.Values().Options.SdoDisabled, true);
  QCOMPARE(m.Values().Options.D0High, (options >> 1 & 1) == 1);
  QCOMPARE(m.Values().Options.LocalGroundOffsetAdjust, (options >> 5 & 1) == 1);
  QVERIFY(m.Controls().SdoSwitch->Value());
  QCOMPARE(m.Controls().ReadWriteBit->text(), QStringLiteral("0"));
}

void TemperatureTest::measuresTheSimulatedDie_data() {
  QTest::addColumn<bool>("earlierBuild");
  QTest::newRow("VQ8231(version2)") << false;
  QTest::newRow("VQ8231") << true;
}

void TemperatureTest::measuresTheSimulatedDie() {
  QFETCH(bool, earlierBuild);
  SimulatedProgram program(earlierBuild);
  QVERIFY(program.fixture.Start());

  for (double celsius : {25.0, 85.0, -40.0, 0.0}) {
    program.board.SetDieTemperature(celsius);
    QTest::mouseClick(program.Controls().MeasureButton, Qt::LeftButton);
    QCOMPARE(program.Controls().DieTemperature->text(), QString::number(celsius, 'f', 0));
    QCOMPARE(program.board.FunctionRegister() & 1, 1);
  }
}

QTEST_MAIN(TemperatureTest)
#include "tst_temperature.moc"
