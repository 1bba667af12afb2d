// The window's actions and the bench instrument's commands side by side: each
// pair runs on a recording board of its own, holding the same registers, and
// must send the same requests.
#include "boardlog/register_model.h"
#include "instrument/bench_instrument.h"
#include "panels/choice_list.h"
#include "panels/toggle_switch.h"
#include "tests/support/panel_driver.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <functional>

using namespace vq;
using namespace vq::test;

namespace {

// The instrument on a recording board of its own.
struct Instrument {
  Instrument() { link.AddCallListener(&model); }
  QStringList Run(const QString &line) {
    std::vector<std::string> answers;
    instrument.Run(line.toStdString(), answers);
    const auto error = instrument.Interpreter().Errors().Pop();
    if (error.Code != remote::ErrorCode::NoError)
      qWarning("%s queued %d %s", qPrintable(line), int(error.Code), error.Detail.c_str());
    return Taken(link);
  }
  RecordingLink link;
  RegisterModel model;
  SerialAccess serial{link};
  BenchInstrument instrument{serial, model, {}};
};

void SetBothRegisters(RecordingLink &window, RecordingLink &instrument, WordAddress address, int32_t content) {
  window.SetRegister(address, content);
  instrument.SetRegister(address, content);
}

} // namespace

class RemoteSideBySideTest : public QObject {
  Q_OBJECT
private slots:
  void eachCommandSendsWhatItsWindowActionSends();
  void resetSendsTheStartUpsRequests();
};

void RemoteSideBySideTest::eachCommandSendsWhatItsWindowActionSends() {
  LoadedPanel panel;
  panel.Window().Calibration().SetCompletePause([] {});
  Instrument bench;
  SetBothRegisters(panel.Link(), bench.link, {Register::CoarseGain, Channel::B}, 1);
  SetBothRegisters(panel.Link(), bench.link, {Register::Data, Channel::B}, 0x1234);
  SetBothRegisters(panel.Link(), bench.link, {Register::Offset, Channel::B}, 0x05);
  SetBothRegisters(panel.Link(), bench.link, {Register::FineGain, Channel::B}, 0x02);
  panel.Link().Sample = bench.link.Sample = 1000;
  MainWindowControls &ui = panel.Controls();

  // A step is either compared (`compared`), or brings both to the same state
  // and its requests are dropped.
  const struct Step {
    const char *name;
    std::function<void()> window;
    QString command;
    bool compared = true;
  } steps[] = {
      {"DAC B chosen", [&] { Choose(ui.ChannelList, "DAC B"); }, "SOUR2:CODE?", false},
      {"voltage", [&] { Enter(ui.VoltsBox, "1"); }, "SOUR2:VOLT 1"},
      {"coding", [&] { Flip(ui.CodingSwitch); }, "LINE:COD TWOS"},
      {"voltage, two's complement", [&] { Enter(ui.VoltsBox, "-0.5"); }, "SOUR2:VOLT -0.5"},
      {"read register", [&] { Click(ui.ReadRegisterButton); }, "SOUR2:CODE?"},
      {"coarse gain view", [&] { Choose(ui.RegisterList, "Coarse Gain Register"); }, "SOUR2:RANG?", false},
      {"range", [&] { Choose(ui.RangeList, RangeChoiceText(2)); }, "SOUR2:RANG 4.311"},
      {"fine gain view", [&] { Choose(ui.RegisterList, "Fine Gain Register"); }, "SOUR2:GAIN:FINE?", false},
      {"fine gain", [&] { Enter(ui.FineGainBox, "-3"); }, "SOUR2:GAIN:FINE -3"},
      {"offset view", [&] { Choose(ui.RegisterList, "Offset Register"); }, "SOUR2:OFFS?", false},
      {"offset", [&] { Enter(ui.OffsetBox, "2.25"); }, "SOUR2:OFFS 2.25"},
      {"ground offset", [&] { Flip(ui.GroundOffsetSwitch); }, "FUNC:LGOF ON"},
      {"D0 to output", [&] { Flip(ui.D0DirectionSwitch); }, "FUNC:DIG0:DIR OUTP"},
      {"D0 level", [&] { Flip(ui.D0LevelSwitch); }, "FUNC:DIG0:LEV HIGH"},
      {"D0 to input", [&] { Flip(ui.D0DirectionSwitch); }, "FUNC:DIG0:DIR INP"},
      {"D1 to output", [&] { Flip(ui.D1DirectionSwitch); }, "FUNC:DIG1:DIR OUTP"},
      {"board drives D0", [&] { Flip(ui.DriveD0Switch); }, "LINE:DRIV0 HIGH"},
      {"CLR low", [&] { Flip(ui.ClrSwitch); }, "LINE:CLR LOW"},
      {"RSTIN low", [&] { Flip(ui.RstinSwitch); }, "LINE:RST LOW"},
      {"RSTIN high", [&] { Flip(ui.RstinSwitch); }, "LINE:RST HIGH"},
      {"pulse off", [&] { ui.PulseAfterWriteBox->click(); }, "LINE:LDAC HIGH", false},
      {"LDAC low", [&] { Flip(ui.LdacSwitch); }, "LINE:LDAC LOW"},
      {"pulse on", [&] { ui.PulseAfterWriteBox->click(); }, "LINE:LDAC PULS"},
      {"SDO off", [&] { Flip(ui.SdoSwitch); }, "FUNC:SDO OFF"},
      {"measure", [&] { Click(ui.MeasureButton); }, "MEAS:TEMP?"},
      {"calibration started", [&] { Click(ui.CalibrationButton); }, "", false},
      {"offset stage", [&] { Enter(ui.OffsetReadingBox, "0.0015"); }, "CAL2:OFFS 1.5 mV"},
      {"zero-scale stage", [&] { Enter(ui.ZeroScaleReadingBox, "-4.3105"); }, "CAL2:GAIN -4.3105"},
  };
  for (const Step &step : steps) {
    step.window();
    const QStringList window = panel.Taken();
    const QStringList command = bench.Run(step.command);
    if (step.compared) {
      QVERIFY2(!window.isEmpty(), step.name);
      QVERIFY2(command == window, qPrintable(QStringLiteral("%1: the command sent %2, the window %3")
                                                 .arg(step.name, command.join(", "), window.join(", "))));
    }
  }
}

void RemoteSideBySideTest::resetSendsTheStartUpsRequests() {
  RecordingForm form;
  Instrument bench;
  SetBothRegisters(form.link, bench.link, Command::FunctionRegister, 0x15);
  SetBothRegisters(form.link, bench.link, {Register::Data, Channel::A}, 0x4321);
  QVERIFY(form.fixture.Start());
  // Settings away from the start-up's first: *RST brings them back.
  bench.Run("LINE:COD TWOS;:LINE:LDAC LOW;:FUNC:LGOF ON;:FUNC:DIG1:DIR OUTP");
  QCOMPARE(bench.Run("*RST"), Taken(form.link));
}

QTEST_MAIN(RemoteSideBySideTest)
#include "tst_remote_side_by_side.moc"
