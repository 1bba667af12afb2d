// The two-stage offset and gain calibration, driven through its buttons and
// boxes against a recording board and on the simulated board.
#include "tests/support/panel_driver.h"
#include "tests/support/simulated_program.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <chrono>
#include <cstdio>

using namespace vq;
using namespace vq::test;

namespace {

// Writes pulse LDAC ("Pulse After Data Write" is ticked after the start): request 0xD9 with the
// upper byte 8 * select + DAC; reads are two 0xDD transfers with the R/W bit.
QString OffsetWrite(int dac, int code) {
  return QString::asprintf("D9 out v=%X i=%X", 0x28 + dac, code);
}
QString FineGainWrite(int dac, int code) {
  return QString::asprintf("D9 out v=%X i=%X", 0x20 + dac, code);
}

// A loaded window on a recording board, with the start-up requests dropped
// and a pause that does not wait.
struct Calibration {
  explicit Calibration(bool earlierBuild = false) : form(earlierBuild) {
    form.link.DownloadStatus = earlierBuild ? 1 : 0; // the earlier library reports success as 1 or more
    if (!form.fixture.Start())
      qFatal("the window did not load");
    form.fixture.Window().Calibration().SetCompletePause([this] {
      ++pauses;
      completeShownDuringPause = Controls().CompleteLabel->isVisible();
      stageShownDuringPause = Controls().ZeroScaleDoneButton->isVisible();
      startEnabledDuringPause = Controls().CalibrationButton->isEnabled();
    });
    form.fixture.Window().activateWindow();
    if (!QTest::qWaitForWindowActive(&form.fixture.Window()))
      qWarning("the window did not become active");
    Taken(form.link);
  }
  MainWindowControls &Controls() { return form.fixture.Controls(); }
  ProgramValues &Values() { return form.fixture.values; }
  QList<SeenMessage> &seen() { return form.fixture.answerer.Seen; }

  void Offset(const QString &reading) {
    QTest::mouseClick(Controls().CalibrationButton, Qt::LeftButton);
    Controls().OffsetReadingBox->setText(reading);
    QTest::mouseClick(Controls().OffsetDoneButton, Qt::LeftButton);
  }
  void ZeroScale(const QString &reading) {
    Controls().ZeroScaleReadingBox->setText(reading);
    QTest::mouseClick(Controls().ZeroScaleDoneButton, Qt::LeftButton);
  }
  // The visible controls of the frame, in a fixed order.
  QString Shown() {
    QStringList names;
    for (QWidget *w : std::initializer_list<QWidget *>{
             Controls().OffsetInstruction, Controls().OffsetReadingPrompt, Controls().OffsetReadingBox,
             Controls().OffsetDoneButton, Controls().ZeroScaleInstruction, Controls().ZeroScaleReadingPrompt,
             Controls().ZeroScaleReadingBox, Controls().ZeroScaleDoneButton, Controls().CompleteLabel})
      if (w->isVisible())
        names << w->objectName();
    return names.join(' ');
  }

  RecordingForm form;
  int pauses = 0;
  bool completeShownDuringPause = false;
  bool stageShownDuringPause = true;
  bool startEnabledDuringPause = true;
};

const QString OffsetStage = QStringLiteral("LabelOff1 LabelOff2 TextOff CommandOff");
const QString ZeroScaleStage = QStringLiteral("LabelFS1 LabelFS2 TextFS CommandFS");

} // namespace

class CalibrationTest : public QObject {
  Q_OBJECT
private slots:
  void offsetStageWritesTheCorrectedOffset_data();
  void offsetStageWritesTheCorrectedOffset();
  void offsetStageRefusesWhatItCannotCorrect_data();
  void offsetStageRefusesWhatItCannotCorrect();
  void zeroScaleStageWritesTheCorrectedFineGain_data();
  void zeroScaleStageWritesTheCorrectedFineGain();
  void zeroScaleFailureAsksForANegativeNumber_data();
  void zeroScaleFailureAsksForANegativeNumber();
  void stagesFollowEachOther();
  void eachStageUsesTheChannelChosenAtDone();
  void allDacsAreRefusedUntilAChannelIsChosen();
  void eachStageUsesTheRangeOfItsChannel_data();
  void eachStageUsesTheRangeOfItsChannel();
  void completePauseHoldsTheWindowForTwoSeconds();
  void calibrationCorrectsTheSimulatedChannel_data();
  void calibrationCorrectsTheSimulatedChannel();
};

void CalibrationTest::offsetStageWritesTheCorrectedOffset_data() {
  QTest::addColumn<int>("present");
  QTest::addColumn<QString>("reading");
  QTest::addColumn<int>("code");

  QTest::addColumn<QString>("staysOff"); // what the register could not correct; empty: all of it

  QTest::newRow("1 mV high: 8 LSBs down") << 0 << "0.001" << 0xC0 << "";
  QTest::newRow("half a mV low: 4 LSBs up") << 0 << "-0.0005" << 0x20 << "";
  QTest::newRow("10 mV high: limited to -16") << 0 << "0.01" << 0x80 << "+8.00 mV";
  QTest::newRow("10 mV low: limited to 15.875") << 0 << "-0.01" << 0x7F << "-8.02 mV";
  QTest::newRow("register at -0.125, reading 0: kept") << 0xFF << "0" << 0xFF << "";
  QTest::newRow("present offset added") << 0x08 << "0.000125" << 0x00 << "";
  QTest::newRow("text without a number reads 0") << 0x10 << "abc" << 0x10 << "";
}

void CalibrationTest::offsetStageWritesTheCorrectedOffset() {
  QFETCH(int, present);
  QFETCH(QString, reading);
  QFETCH(int, code);
  QFETCH(QString, staysOff);
  Calibration cal;
  cal.form.link.SetRegister({Register::Offset, Channel::A}, present);

  cal.Offset(reading);

  QCOMPARE(Taken(cal.form.link), Read({Register::CoarseGain, Channel::A}) + Read({Register::Offset, Channel::A})
                                     << OffsetWrite(0, code));
  QCOMPARE(cal.Values().DataValue, code);
  QCOMPARE(cal.Shown(), ZeroScaleStage);
  // Written at the limit, and said so.
  QCOMPARE(cal.seen().size(), staysOff.isEmpty() ? 0 : 1);
  if (!staysOff.isEmpty())
    QCOMPARE(cal.seen()[0].text, "The offset was written at its limit: DAC A could not be fully corrected, and its "
                                 "output at 0 V stays off by about " +
                                     staysOff + ".");
}

void CalibrationTest::offsetStageRefusesWhatItCannotCorrect_data() {
  QTest::addColumn<int>("present");
  QTest::addColumn<QString>("reading");
  QTest::addColumn<QString>("problem");

  QTest::newRow("read-back all ones") << 0xFFFF << "0"
                                      << "offset register read back as 65535";
  QTest::newRow("read-back above 32767") << 0x8000 << "0.001"
                                         << "offset register read back as 32768";
  QTest::newRow("correction beyond single precision") << 0 << "1e35"
                                                      << "too large";
  QTest::newRow("reading beyond single precision") << 0 << "-1e39"
                                                   << "too large";
  QTest::newRow("reading beyond double precision") << 0 << "1e400"
                                                   << "too large";
}

void CalibrationTest::offsetStageRefusesWhatItCannotCorrect() {
  QFETCH(int, present);
  QFETCH(QString, reading);
  QFETCH(QString, problem);
  Calibration cal;
  cal.form.link.SetRegister({Register::Offset, Channel::A}, present);
  cal.Values().DataValue = 1234;

  cal.Offset(reading);

  QCOMPARE(Taken(cal.form.link),
           Read({Register::CoarseGain, Channel::A}) + Read({Register::Offset, Channel::A})); // read, nothing written
  QCOMPARE(cal.Values().DataValue, 1234);
  QCOMPARE(cal.seen().size(), 1);
  QCOMPARE(cal.seen()[0].title, QString::fromLatin1(ApplicationTitle));
  QCOMPARE(cal.seen()[0].icon, QMessageBox::Warning);
  QCOMPARE(cal.seen()[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QVERIFY2(cal.seen()[0].text.contains(problem), qPrintable(cal.seen()[0].text));
  QCOMPARE(cal.Shown(), OffsetStage);
  QCOMPARE(cal.Controls().OffsetReadingBox->text(), reading);
  QCOMPARE(cal.form.fixture.Window().focusWidget(), cal.Controls().OffsetReadingBox);
  QVERIFY(!cal.Controls().CalibrationButton->isEnabled());
}

void CalibrationTest::zeroScaleStageWritesTheCorrectedFineGain_data() {
  QTest::addColumn<int>("present");
  QTest::addColumn<QString>("reading");
  QTest::addColumn<int>("code");

  QTest::addColumn<QString>("staysOff"); // what the register could not correct; empty: all of it

  QTest::newRow("1 mV low: 16 steps down") << 0 << "-4.097" << 0x30 << "";
  QTest::newRow("1 mV high: 16 steps up") << 0 << "-4.095" << 0x10 << "";
  QTest::newRow("1.6 steps taken to 2") << 0 << "-4.0959" << 2 << "";
  QTest::newRow("far too high: limited to 31") << 0 << "-4.0" << 0x1F << "+94.06 mV";
  QTest::newRow("far too low: limited to -32") << 0 << "-4.2" << 0x20 << "-102.00 mV";
  QTest::newRow("present fine gain -1 added") << 0x3F << "-4.095" << 0x0F << "";
  QTest::newRow("present 20 plus 16 limited") << 20 << "-4.095" << 0x1F << "+0.31 mV";
  QTest::newRow("present 15 plus 16 just reaches 31") << 15 << "-4.095" << 0x1F << "";
}

void CalibrationTest::zeroScaleStageWritesTheCorrectedFineGain() {
  QFETCH(int, present);
  QFETCH(QString, reading);
  QFETCH(int, code);
  QFETCH(QString, staysOff);
  Calibration cal;
  cal.Offset("0");
  cal.form.link.SetRegister({Register::FineGain, Channel::A}, present);
  Taken(cal.form.link);

  cal.ZeroScale(reading);

  QCOMPARE(Taken(cal.form.link), Read({Register::CoarseGain, Channel::A}) + Read({Register::FineGain, Channel::A})
                                     << FineGainWrite(0, code));
  QCOMPARE(cal.Values().DataValue, code);
  QCOMPARE(cal.pauses, 1);
  QCOMPARE(cal.seen().size(), staysOff.isEmpty() ? 0 : 1);
  if (!staysOff.isEmpty())
    QCOMPARE(cal.seen()[0].text, "The fine gain was written at its limit: DAC A could not be fully corrected, and "
                                 "its output at zero scale stays off by about " +
                                     staysOff + ".");
}

void CalibrationTest::zeroScaleFailureAsksForANegativeNumber_data() {
  QTest::addColumn<int>("present");
  QTest::addColumn<QString>("reading");
  QTest::addColumn<int>("coarse"); // the channel's range
  QTest::addColumn<QString>("expected");

  const QString on4096 = QStringLiteral("near -4.096 V; the fine gain reaches about \u00B12 mV");
  QTest::newRow("minus sign forgotten") << 0 << "4.097" << 0 << on4096;
  QTest::newRow("zero") << 0 << "0" << 0 << on4096;
  QTest::newRow("no number") << 0 << "xyz" << 0 << on4096;
  QTest::newRow("empty") << 0 << "" << 0 << on4096;
  QTest::newRow("negative, but -1 V") << 0 << "-1" << 0 << on4096;
  QTest::newRow("below -3/2 range") << 0 << "-6.2" << 0 << on4096;
  QTest::newRow("beyond double precision") << 0 << "-1e400" << 0 << on4096;
  QTest::newRow("read-back above 32767") << 0x8000 << "-4.095" << 0 << on4096;
  QTest::newRow("on 4.311 V") << 0 << "-1" << 2 << "near -4.311 V; the fine gain reaches about \u00B12.1 mV";
  QTest::newRow("on 4.201 V") << 0 << "-7" << 1 << "near -4.201 V; the fine gain reaches about \u00B12.05 mV";
}

void CalibrationTest::zeroScaleFailureAsksForANegativeNumber() {
  QFETCH(int, present);
  QFETCH(QString, reading);
  QFETCH(int, coarse);
  QFETCH(QString, expected);
  Calibration cal;
  cal.Offset("0");
  cal.form.link.SetRegister({Register::FineGain, Channel::A}, present);
  cal.form.link.SetRegister({Register::CoarseGain, Channel::A}, coarse);
  Taken(cal.form.link);
  cal.Values().DataValue = 1234;

  cal.ZeroScale(reading);

  QCOMPARE(Taken(cal.form.link),
           Read({Register::CoarseGain, Channel::A}) + Read({Register::FineGain, Channel::A})); // nothing written
  QCOMPARE(cal.Values().DataValue, 1234);
  QCOMPARE(cal.seen().size(), 1);
  // The message as it always read, then what the channel's range expects.
  QCOMPARE(cal.seen()[0].text, "A negative number is expected\nExpected a reading " + expected + ".");
  QCOMPARE(cal.seen()[0].title, QString::fromLatin1(ApplicationTitle));
  QCOMPARE(cal.seen()[0].icon, QMessageBox::Warning);
  QCOMPARE(cal.seen()[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QCOMPARE(cal.Controls().ZeroScaleReadingBox->text(), QString());
  QVERIFY(!cal.Controls().ZeroScaleReadingBox->isUndoAvailable());
  QCOMPARE(cal.form.fixture.Window().focusWidget(), cal.Controls().ZeroScaleReadingBox);
  QCOMPARE(cal.Shown(), ZeroScaleStage);
  QCOMPARE(cal.pauses, 0);

  // The stage stays open for a new reading.
  cal.form.link.SetRegister({Register::FineGain, Channel::A}, 0);
  cal.form.link.SetRegister({Register::CoarseGain, Channel::A}, 0);
  cal.ZeroScale("-4.095");
  QCOMPARE(Taken(cal.form.link), Read({Register::CoarseGain, Channel::A}) + Read({Register::FineGain, Channel::A})
                                     << FineGainWrite(0, 0x10));
  QCOMPARE(cal.pauses, 1);
}

void CalibrationTest::stagesFollowEachOther() {
  Calibration cal;
  // Neither stage refreshes the bit display: it keeps the word read last.
  const QString word = cal.Controls().WordHex->text(), data = cal.Controls().RegisterValue->text();
  QCOMPARE(cal.Shown(), QString());
  QVERIFY(cal.Controls().CalibrationButton->isEnabled());
  QCOMPARE(cal.Controls().OffsetReadingBox->text(), QStringLiteral("0"));
  QCOMPARE(cal.Controls().ZeroScaleReadingBox->text(), QStringLiteral("-"));

  QTest::mouseClick(cal.Controls().CalibrationButton, Qt::LeftButton);
  QCOMPARE(cal.Shown(), OffsetStage);
  QVERIFY(!cal.Controls().CalibrationButton->isEnabled());
  QCOMPARE(Taken(cal.form.link), QStringList()); // starting sends nothing

  cal.Controls().OffsetReadingBox->setText("0.001");
  QTest::mouseClick(cal.Controls().OffsetDoneButton, Qt::LeftButton);
  QCOMPARE(cal.Shown(), ZeroScaleStage);
  QVERIFY(!cal.Controls().CalibrationButton->isEnabled());

  cal.ZeroScale("-4.095");
  QCOMPARE(cal.pauses, 1);
  QVERIFY(cal.completeShownDuringPause);
  QVERIFY(!cal.stageShownDuringPause);
  QVERIFY(!cal.startEnabledDuringPause);
  QCOMPARE(cal.Shown(), QString());
  QVERIFY(cal.Controls().CalibrationButton->isEnabled());
  QCOMPARE(cal.Controls().WordHex->text(), word);
  QCOMPARE(cal.Controls().RegisterValue->text(), data);

  // The boxes keep what was typed for the next calibration.
  QTest::mouseClick(cal.Controls().CalibrationButton, Qt::LeftButton);
  QCOMPARE(cal.Controls().OffsetReadingBox->text(), QStringLiteral("0.001"));
  QCOMPARE(cal.Shown(), OffsetStage);
}

void CalibrationTest::eachStageUsesTheChannelChosenAtDone() {
  Calibration cal;
  QTest::mouseClick(cal.Controls().CalibrationButton, Qt::LeftButton);
  cal.Values().Word = cal.Values().Word.WithChannel(Channel::C);
  cal.form.link.SetRegister({Register::Offset, Channel::C}, 0xFF);
  cal.Controls().OffsetReadingBox->setText("0");
  QTest::mouseClick(cal.Controls().OffsetDoneButton, Qt::LeftButton);
  QCOMPARE(Taken(cal.form.link), Read({Register::CoarseGain, Channel::C}) + Read({Register::Offset, Channel::C})
                                     << OffsetWrite(2, 0xFF));

  cal.Values().Word = cal.Values().Word.WithChannel(Channel::D);
  cal.ZeroScale("-4.097");
  QCOMPARE(Taken(cal.form.link), Read({Register::CoarseGain, Channel::D}) + Read({Register::FineGain, Channel::D})
                                     << FineGainWrite(3, 0x30));
}

void CalibrationTest::eachStageUsesTheRangeOfItsChannel_data() {
  QTest::addColumn<int>("channel");
  QTest::addColumn<int>("coarseOfA");
  QTest::addColumn<int>("coarseOfB");
  QTest::addColumn<QStringList>("offsetStage");
  QTest::addColumn<QStringList>("zeroScaleStage");
  QTest::addColumn<float>("range");

  // The last entry left 4.096 V; the channel is on 4.311 V. 1 mV is 7.6 of
  // its LSBs (not 8), and -4.3115 V at zero scale is 7.6 steps low (not a
  // fine gain limited at -32).
  QTest::newRow("DAC B on 4.311 V")
      << 1 << 0 << 2
      << (Read({Register::CoarseGain, Channel::B}) + Read({Register::Offset, Channel::B}) << OffsetWrite(1, 0xC3))
      << (Read({Register::CoarseGain, Channel::B}) + Read({Register::FineGain, Channel::B}) << FineGainWrite(1, 0x38))
      << 4.311f;
  // DAC A takes its own range too, not DAC B's.
  QTest::newRow("DAC A on 4.311 V")
      << 0 << 2 << 0
      << (Read({Register::CoarseGain, Channel::A}) + Read({Register::Offset, Channel::A}) << OffsetWrite(0, 0xC3))
      << (Read({Register::CoarseGain, Channel::A}) + Read({Register::FineGain, Channel::A}) << FineGainWrite(0, 0x38))
      << 4.311f;
}

void CalibrationTest::eachStageUsesTheRangeOfItsChannel() {
  QFETCH(int, channel);
  QFETCH(int, coarseOfA);
  QFETCH(int, coarseOfB);
  Calibration cal;
  cal.form.link.SetRegister({Register::CoarseGain, Channel::A}, coarseOfA);
  cal.form.link.SetRegister({Register::CoarseGain, Channel::B}, coarseOfB);
  cal.Values().Word = cal.Values().Word.WithChannel(static_cast<Channel>(channel));

  cal.Offset("0.001");
  QTEST(Taken(cal.form.link), "offsetStage");
  cal.ZeroScale("-4.3115");
  QTEST(Taken(cal.form.link), "zeroScaleStage");
  QTEST(cal.Values().OutputRange, "range");
}

// One reading says nothing about the other three outputs: with "ALL DACs"
// chosen nothing starts and no stage sends anything; the open stage waits
// for a channel.
void CalibrationTest::allDacsAreRefusedUntilAChannelIsChosen() {
  const QString oneAtATime = QStringLiteral("Calibration works on one DAC at a time: choose DAC A, B, C or D.");
  for (const Program &program : BothPrograms) {
    Calibration cal(program.EarlierBuild);
    const auto choose = [&](const char *channel) {
      Choose(cal.Controls().ChannelList, channel);
      Taken(cal.form.link);
    };
    choose("ALL DACs");
    QTest::mouseClick(cal.Controls().CalibrationButton, Qt::LeftButton);
    QCOMPARE(cal.seen().size(), 1);
    QCOMPARE(cal.seen().takeLast().text, oneAtATime);
    QCOMPARE(cal.Shown(), QString());
    QVERIFY(cal.Controls().CalibrationButton->isEnabled());

    choose("DAC B");
    QTest::mouseClick(cal.Controls().CalibrationButton, Qt::LeftButton);
    choose("ALL DACs");
    cal.Controls().OffsetReadingBox->setText("0.001");
    QTest::mouseClick(cal.Controls().OffsetDoneButton, Qt::LeftButton);
    QCOMPARE(cal.seen().size(), 1);
    QCOMPARE(cal.seen().takeLast().text, oneAtATime);
    QCOMPARE(Taken(cal.form.link), QStringList());
    QCOMPARE(cal.Shown(), OffsetStage);
    QCOMPARE(cal.Controls().OffsetReadingBox->text(), QString("0.001"));

    choose("DAC C");
    QTest::mouseClick(cal.Controls().OffsetDoneButton, Qt::LeftButton);
    QCOMPARE(Taken(cal.form.link), Read({Register::CoarseGain, Channel::C}) + Read({Register::Offset, Channel::C})
                                       << OffsetWrite(2, 0xC0));
    choose("ALL DACs");
    cal.ZeroScale("-4.097");
    QCOMPARE(cal.seen().size(), 1);
    QCOMPARE(cal.seen().takeLast().text, oneAtATime);
    QCOMPARE(Taken(cal.form.link), QStringList());
    QCOMPARE(cal.Shown(), ZeroScaleStage);

    choose("DAC C");
    cal.ZeroScale("-4.097");
    QCOMPARE(Taken(cal.form.link), Read({Register::CoarseGain, Channel::C}) + Read({Register::FineGain, Channel::C})
                                       << FineGainWrite(2, 0x30));
    QCOMPARE(cal.pauses, 1);
    QVERIFY2(cal.seen().isEmpty(), program.Name);
  }
}

void CalibrationTest::completePauseHoldsTheWindowForTwoSeconds() {
  Calibration cal;
  // A timer due at once when the pause begins must not run until it is over:
  // the window handles no events meanwhile.
  bool timerRan = false;
  cal.form.fixture.Window().Calibration().SetCompletePause([&] {
    QTimer::singleShot(0, [&] { timerRan = true; });
    CalibrationPanel::WaitTwoSeconds();
  });
  cal.Offset("0");
  cal.Controls().ZeroScaleReadingBox->setText("-4.096");

  const auto start = std::chrono::steady_clock::now();
  QTest::mouseClick(cal.Controls().ZeroScaleDoneButton, Qt::LeftButton);
  const auto elapsed = std::chrono::steady_clock::now() - start;

  QVERIFY(elapsed >= std::chrono::seconds(2));
  QVERIFY(!timerRan);
  QVERIFY(cal.Controls().CalibrationButton->isEnabled());
  QCOMPARE(cal.Shown(), QString());
  QTRY_VERIFY(timerRan);
}

// On the simulated board, whose channels carry offset and gain errors, the
// two stages with the voltmeter's readings bring 0 V and zero scale close to
// what they should be.
void CalibrationTest::calibrationCorrectsTheSimulatedChannel_data() {
  QTest::addColumn<bool>("earlierBuild");
  QTest::newRow("VQ8231(version2)") << false;
  QTest::newRow("VQ8231") << true;
}

void CalibrationTest::calibrationCorrectsTheSimulatedChannel() {
  QFETCH(bool, earlierBuild);
  SimulatedProgram program(earlierBuild);
  sim::BoardControl &board = program.board;
  FormFixture &fixture = program.fixture;
  QVERIFY(fixture.Start());
  fixture.Window().Calibration().SetCompletePause([] {});
  MainWindowControls &ui = fixture.Controls();
  // The channel with the largest offset error.
  int dac = 0;
  for (int channel = 1; channel < sim::ChannelCount; ++channel)
    if (std::abs(board.Errors(channel).OffsetVolts) > std::abs(board.Errors(dac).OffsetVolts))
      dac = channel;
  fixture.values.Word = fixture.values.Word.WithChannel(static_cast<Channel>(dac));
  const auto measured = [&] {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", board.OutputVoltage(dac));
    return QString::fromLatin1(text);
  };

  Enter(ui.VoltsBox, "0");
  const double offsetBefore = board.OutputVoltage(dac);
  QVERIFY2(std::abs(offsetBefore) > 0.0001, "the simulated channel should need an offset correction");
  QTest::mouseClick(ui.CalibrationButton, Qt::LeftButton);
  ui.OffsetReadingBox->setText(measured());
  QTest::mouseClick(ui.OffsetDoneButton, Qt::LeftButton);
  QVERIFY2(std::abs(board.OutputVoltage(dac)) < 0.0001, qPrintable(measured()));

  Enter(ui.VoltsBox, "-4.096");
  const double zeroScaleBefore = board.OutputVoltage(dac);
  ui.ZeroScaleReadingBox->setText(measured());
  QTest::mouseClick(ui.ZeroScaleDoneButton, Qt::LeftButton);
  QVERIFY(fixture.answerer.Seen.isEmpty());
  const double zeroScaleAfter = board.OutputVoltage(dac);
  QVERIFY2(std::abs(zeroScaleAfter + 4.096) < 0.0002, qPrintable(measured()));
  QVERIFY(std::abs(zeroScaleAfter + 4.096) <= std::abs(zeroScaleBefore + 4.096));
  QVERIFY(ui.CalibrationButton->isEnabled());
}

QTEST_MAIN(CalibrationTest)
#include "tst_calibration.moc"
