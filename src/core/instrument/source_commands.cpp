// SOURce<n>: one channel, SOURce:ALL: all four through the converter's "ALL
// DACs" address (settings only). Each setting writes what the window's entry
// of the same register writes, with its limits; each query reads as "Read
// Register" reads.
#include "instrument/bench_commands.h"

#include "remote/answers.h"
#include "rules/conversions.h"
#include "rules/number_rules.h"

#include <cmath>
#include <functional>
#include <string>

namespace vq {

namespace {

using remote::CommandContext;
using remote::ErrorCode;

// The three ranges, in volts, by coarse gain code.
constexpr double RangeVolts[] = {4.096, 4.201, 4.311};
constexpr double LargestRange = 4.311;

std::optional<int32_t> CoarseCodeOf(double volts) {
  for (int32_t code = 0; code < 3; ++code)
    if (std::fabs(volts - RangeVolts[code]) < 0.0005)
      return code;
  return std::nullopt;
}

ErrorCode CheckRange(const remote::Parameter &value) {
  return CoarseCodeOf(value.Number) ? ErrorCode::NoError : ErrorCode::IllegalParameterValue;
}

std::string ChannelName(Channel channel) {
  return channel == Channel::All ? std::string("all DACs") : std::string("DAC ") + char('A' + CodeOf(channel));
}

using ChannelBody = std::function<void(CommandContext &, Channel)>;

// The setting on SOURce<1-4>:<node> and SOURce:ALL:<node>.
void AddSetting(remote::CommandTree &tree, BenchContext &bench, const std::string &node, remote::ParameterRule rule,
                const ChannelBody &body) {
  tree.AddCommand("SOURce<1-4>:" + node, {rule}, OnBench(bench, [body](CommandContext &command) {
                    body(command, ChannelOfSuffix(command.Suffix()));
                  }));
  tree.AddCommand("SOURce:ALL:" + node, {rule},
                  OnBench(bench, [body](CommandContext &command) { body(command, Channel::All); }));
}

// The query of one register of SOURce<1-4>, answered from its code.
template <typename Answer>
void AddRegisterQuery(remote::CommandTree &tree, BenchContext &bench, const std::string &node, Register reg,
                      Answer answer) {
  tree.AddQuery("SOURce<1-4>:" + node, {}, OnBench(bench, [&bench, reg, answer](CommandContext &command) {
                  const Reading<int32_t> read = ReadAsReadRegister(bench, {reg, ChannelOfSuffix(command.Suffix())});
                  if (RequestsSucceeded(bench, command))
                    answer(command, read.Value);
                }));
}

void SetVoltage(BenchContext &bench, CommandContext &command, Channel channel) {
  const std::optional<float> range = ChannelRange(bench, channel);
  // A range read that failed is no failure of the command when the model
  // knew the range; the write below reports a board that stopped answering.
  bench.Serial.ForgetFailure();
  if (!range) {
    command.Fail(ErrorCode::SettingsConflict,
                 ChannelName(channel) + "'s range is not known: enable SDO or set the range");
    return;
  }
  const float volts = ToSingle(command[0].Number);
  if (std::fabs(volts) > *range) {
    command.Fail(ErrorCode::DataOutOfRange,
                 DecimalText(command[0].Number) + " V is beyond the range of +-" + FormatVolts(*range) + " V");
    return;
  }
  WriteRegister(bench, {Register::Data, channel}, VoltsToCode(volts, *range, bench.Settings.Lines.BinaryCoding));
  RequestsSucceeded(bench, command);
}

void QueryVoltage(BenchContext &bench, CommandContext &command) {
  const Channel channel = ChannelOfSuffix(command.Suffix());
  const Reading<int32_t> data = ReadAsReadRegister(bench, {Register::Data, channel});
  const WordAddress coarseGain = RangeRegisterOf(channel);
  const Reading<int32_t> coarse = bench.Serial.ReadRegister(coarseGain);
  if (!data.Answered()) {
    RequestsSucceeded(bench, command);
    return;
  }
  const std::optional<float> range = RangeFromReadBack(bench, coarseGain, coarse);
  if (!range) {
    if (!RequestsSucceeded(bench, command))
      return;
    command.Fail(ErrorCode::SettingsConflict, ChannelName(channel) + "'s coarse gain selects no range");
    return;
  }
  command.Answer(remote::DecimalAnswer(ReadBackVolts(data.Value, *range, bench.Settings.Lines.BinaryCoding)));
}

} // namespace

void AddSourceCommands(remote::CommandTree &tree, BenchContext &bench) {
  AddSetting(tree, bench, "CODE", remote::IntegerParameter(0, MaxDataCode),
             [&bench](CommandContext &command, Channel channel) {
               WriteRegister(bench, {Register::Data, channel}, command[0].Integer);
               RequestsSucceeded(bench, command);
             });
  AddSetting(tree, bench, "VOLTage", remote::VoltageParameter(-LargestRange, LargestRange),
             [&bench](CommandContext &command, Channel channel) { SetVoltage(bench, command, channel); });
  AddSetting(tree, bench, "RANGe", remote::RealParameter(-HUGE_VAL, HUGE_VAL).CheckedBy(&CheckRange),
             [&bench](CommandContext &command, Channel channel) {
               WriteRegister(bench, {Register::CoarseGain, channel}, *CoarseCodeOf(command[0].Number));
               RequestsSucceeded(bench, command);
             });
  AddSetting(tree, bench, "GAIN:FINE", remote::RealParameter(-32, 31),
             [&bench](CommandContext &command, Channel channel) {
               WriteRegister(bench, {Register::FineGain, channel}, FineGainCode(ToSingle(command[0].Number)));
               RequestsSucceeded(bench, command);
             });
  AddSetting(tree, bench, "OFFSet", remote::RealParameter(-16, 15.875),
             [&bench](CommandContext &command, Channel channel) {
               WriteRegister(bench, {Register::Offset, channel}, OffsetCode(ToSingle(command[0].Number)));
               RequestsSucceeded(bench, command);
             });

  AddRegisterQuery(tree, bench, "CODE", Register::Data,
                   [](CommandContext &command, int32_t code) { command.Answer(remote::IntegerAnswer(code)); });
  tree.AddQuery("SOURce<1-4>:VOLTage", {},
                OnBench(bench, [&bench](CommandContext &command) { QueryVoltage(bench, command); }));
  AddRegisterQuery(tree, bench, "RANGe", Register::CoarseGain, [](CommandContext &command, int32_t code) {
    if (const auto range = RangeForCoarseCode(code))
      command.Answer(remote::DecimalAnswer(RangeVolts[code]));
    else
      command.Fail(ErrorCode::SettingsConflict, "the coarse gain code " + std::to_string(code) + " selects no range");
  });
  AddRegisterQuery(tree, bench, "GAIN:FINE", Register::FineGain, [](CommandContext &command, int32_t code) {
    command.Answer(remote::IntegerAnswer(FineGainValue(code)));
  });
  AddRegisterQuery(tree, bench, "OFFSet", Register::Offset, [](CommandContext &command, int32_t code) {
    command.Answer(remote::DecimalAnswer(OffsetValue(code)));
  });
}

} // namespace vq
