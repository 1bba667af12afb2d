// MEASure: the temperature measurement. CALibration<n>: the two stages of the
// window's calibration, each given the voltage the user measured. REGister:
// raw access to any register, with the register map's limits.
#include "instrument/bench_commands.h"

#include "remote/answers.h"
#include "rules/conversions.h"
#include "rules/number_rules.h"

#include <array>
#include <string>

namespace vq {

namespace {

using remote::CommandContext;
using remote::ErrorCode;

// MEASure:TEMPerature? answers degrees, MEASure:TEMPerature:VOLTage? the TEMP pin's volts.
void AddTemperatureQuery(remote::CommandTree &tree, BenchContext &bench, const char *pattern, bool degrees) {
  tree.AddQuery(pattern, {}, OnBench(bench, [&bench, degrees](CommandContext &c) {
                  const Reading<int16_t> read = SampleTemperaturePin(bench);
                  if (!RequestsSucceeded(bench, c))
                    return;
                  // The board digitises 12 bits: a negative sample is no reading.
                  if (read.Value < 0) {
                    c.Fail(ErrorCode::HardwareError, "the board returned no reading of the TEMP pin");
                    return;
                  }
                  const float volts = TempPinVolts(read.Value);
                  c.Answer(remote::DecimalAnswer(degrees ? DieTemperature(volts) : volts));
                }));
}

// One calibration stage: the channel's range, the register read back, the
// correction written. Nothing is written unless everything before it worked.
template <typename Correct>
void RunCalibrationStage(BenchContext &bench, CommandContext &c, Register reg, Correct correct) {
  const Channel channel = ChannelOfSuffix(c.Suffix());
  const std::optional<float> range = ChannelRange(bench, channel);
  bench.Serial.ForgetFailure(); // as for a voltage: the model may know the range
  if (!range) {
    c.Fail(ErrorCode::SettingsConflict, "the channel's range is not known: enable SDO or set the range");
    return;
  }
  const WordAddress address(reg, channel);
  const Reading<int32_t> present = bench.Serial.ReadRegister(address);
  if (!RequestsSucceeded(bench, c))
    return;
  Correction correction;
  try {
    correction = correct(present.Value, *range);
  } catch (const NumberError &error) {
    c.Fail(ErrorCode::DataOutOfRange, error.what());
    return;
  }
  WriteRegister(bench, address, correction.Code);
  RequestsSucceeded(bench, c);
}

void AddCalibrationCommands(remote::CommandTree &tree, BenchContext &bench) {
  tree.AddCommand("CALibration<1-4>:OFFSet", {remote::VoltageParameter()}, OnBench(bench, [&bench](CommandContext &c) {
                    const float reading = ToSingle(c[0].Number);
                    RunCalibrationStage(bench, c, Register::Offset, [reading](int32_t present, float range) {
                      return OffsetCalibration(present, reading, range);
                    });
                  }));
  tree.AddCommand("CALibration<1-4>:GAIN", {remote::VoltageParameter()}, OnBench(bench, [&bench](CommandContext &c) {
                    const double reading = c[0].Number;
                    RunCalibrationStage(bench, c, Register::FineGain, [reading](int32_t present, float range) {
                      return FineGainCalibration(present, reading, range);
                    });
                  }));
}

const std::initializer_list<std::string_view> RegisterWords = {"FUNCtion", "DATA", "COARse", "FINE", "OFFSet"};
constexpr std::array<Register, 4> ChannelRegisters = {Register::Data, Register::CoarseGain, Register::FineGain,
                                                      Register::Offset};

// The register a word (its index in RegisterWords) and a channel name.
WordAddress AddressOf(int word, Channel channel) {
  if (word == 0)
    return Command::FunctionRegister;
  return {ChannelRegisters[static_cast<std::size_t>(word - 1)], channel};
}

void AddRegisterCommands(remote::CommandTree &tree, BenchContext &bench) {
  // The channel means nothing to the function register; any one may be given.
  tree.AddQuery("REGister:READ", {remote::WordParameter(RegisterWords), remote::IntegerParameter(1, 4).Optionally()},
                OnBench(bench, [&bench](CommandContext &c) {
                  const int32_t channel = c[1].Kind == remote::ValueKind::Absent ? 1 : c[1].Integer;
                  const Reading<int32_t> read =
                      ReadAsReadRegister(bench, AddressOf(c[0].Word, ChannelOfSuffix(channel)));
                  if (RequestsSucceeded(bench, c))
                    c.Answer(remote::IntegerAnswer(read.Value));
                }));
  tree.AddCommand(
      "REGister:WRITe",
      {remote::WordParameter(RegisterWords), remote::IntegerParameter(1, 4).OrWords({"ALL"}),
       remote::IntegerParameter(0, MaxDataCode)},
      OnBench(bench, [&bench](CommandContext &c) {
        const Channel channel = c[1].Kind == remote::ValueKind::Word ? Channel::All : ChannelOfSuffix(c[1].Integer);
        const WordAddress address = AddressOf(c[0].Word, channel);
        const int32_t code = c[2].Integer;
        if (code > LargestCode(address)) {
          c.Fail(ErrorCode::DataOutOfRange, std::to_string(code) + " is above the register's largest code, " +
                                                std::to_string(LargestCode(address)));
          return;
        }
        if (address.IsFunctionGroup()) {
          // The options FUNCtion commands keep from now on.
          bench.Settings.Options = FunctionWord::FromBits(static_cast<uint32_t>(code));
          WriteFunctionWord(bench);
        } else {
          WriteRegister(bench, address, code);
        }
        RequestsSucceeded(bench, c);
      }));
}

} // namespace

void AddMeasurementCommands(remote::CommandTree &tree, BenchContext &bench) {
  AddTemperatureQuery(tree, bench, "MEASure:TEMPerature", true);
  AddTemperatureQuery(tree, bench, "MEASure:TEMPerature:VOLTage", false);
  AddCalibrationCommands(tree, bench);
  AddRegisterCommands(tree, bench);
}

} // namespace vq
