// The calibration closed on the simulated board, as a user at the bench does
// it: through the real widgets, reading every voltage off the front panel to
// its 0.01 mV and typing it back. For each seed and channel it measures the
// output error at 0 V and at zero scale before and after, prints the table the
// README records, and holds the result to 1 LSB.
#include "panels/choice_list.h"
#include "simboard/sim_board_api.h"
#include "tests/support/panel_driver.h"
#include "tests/support/simulated_program.h"
#include "windows/front_panel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cmath>

using namespace vq;
using namespace vq::test;

class CalibrationLoopTest : public QObject {
  Q_OBJECT
private slots:
  void afterCalibrationBothErrorsAreWithinOneLsb_data();
  void afterCalibrationBothErrorsAreWithinOneLsb();
};

namespace {

constexpr double Range = 4.096;
constexpr double Lsb = 2 * Range / 65536; // 0.125 mV

struct Errors {
  double zero = 0;      // LSB, output at 0 V
  double zeroScale = 0; // LSB, output at zero scale against -4.096 V
};

class Bench {
public:
  explicit Bench(uint32_t seed) : program_(false) {
    if (!program_.fixture.Start())
      qFatal("window not loaded");
    program_.fixture.Window().Calibration().SetCompletePause([] {});
    panel_ = program_.fixture.Window().findChild<FrontPanel *>(QStringLiteral("FrontPanel"));
    Enter(panel_->findChild<QLineEdit *>(QStringLiteral("ErrorSeed")), QString::number(seed));
  }

  void ChooseChannel(int channel) {
    Choose(Find<ChoiceList>("ComboAddr"), QStringLiteral("DAC %1").arg(QChar('A' + channel)));
    channel_ = channel;
  }
  // What the voltmeter shows, as the panel shows it ("+0.00093 V").
  QString Reading() const {
    const QString shown = panel_->findChild<QLabel *>(QStringLiteral("Output%1").arg(QChar('A' + channel_)))->text();
    return shown.chopped(2); // without " V"
  }
  void Load(const QString &volts) { Enter(Find<QLineEdit>("TextVolts"), volts); }
  // The errors themselves, taken from the board unrounded.
  Errors Measure() {
    Errors errors;
    Load(QStringLiteral("0"));
    errors.zero = program_.board.OutputVoltage(channel_) / Lsb;
    Load(QStringLiteral("-4.096"));
    errors.zeroScale = (program_.board.OutputVoltage(channel_) + Range) / Lsb;
    return errors;
  }
  void Calibrate() {
    Click(Find<QPushButton>("Command8"));
    Load(QStringLiteral("0"));
    Find<QLineEdit>("TextOff")->setText(Reading());
    Click(Find<QPushButton>("CommandOff"));
    Load(QStringLiteral("-4.096"));
    Find<QLineEdit>("TextFS")->setText(Reading());
    Click(Find<QPushButton>("CommandFS"));
  }

private:
  template <typename Widget> Widget *Find(const char *name) const {
    return program_.fixture.Find<Widget>(QString::fromLatin1(name));
  }
  SimulatedProgram program_;
  FrontPanel *panel_ = nullptr;
  int channel_ = 0;
};

} // namespace

void CalibrationLoopTest::afterCalibrationBothErrorsAreWithinOneLsb_data() {
  QTest::addColumn<uint32_t>("seed");
  QTest::addColumn<int>("channel");
  for (uint32_t seed : {8231u, 1u, 2u})
    for (int channel = 0; channel < 4; ++channel)
      QTest::addRow("seed %u, DAC %c", seed, 'A' + channel) << seed << channel;
}

void CalibrationLoopTest::afterCalibrationBothErrorsAreWithinOneLsb() {
  QFETCH(uint32_t, seed);
  QFETCH(int, channel);
  Bench bench(seed);
  bench.ChooseChannel(channel);
  const Errors before = bench.Measure();
  bench.Calibrate();
  const Errors after = bench.Measure();
  // The README's table row.
  qInfo("| %u | DAC %c | %+.2f | %+.2f | %+.2f | %+.2f |", seed, 'A' + channel, before.zero, before.zeroScale,
        after.zero, after.zeroScale);
  QVERIFY2(std::abs(after.zero) <= 1.0, qPrintable(QString::number(after.zero)));
  QVERIFY2(std::abs(after.zeroScale) <= 1.0, qPrintable(QString::number(after.zeroScale)));
}

QTEST_MAIN(CalibrationLoopTest)
#include "tst_calibration_loop.moc"
