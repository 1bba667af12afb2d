#include "instrument/bench_context.h"

#include "board/board_status.h"
#include "boardlog/call_decoder.h"
#include "boardlog/formatted_text.h"
#include "boardlog/register_model.h"
#include "remote/interpreter.h"
#include "rules/conversions.h"

namespace vq {

namespace {

// What every read returns while the converter's serial output is off.
constexpr int32_t LargestRealCoarseRead = 32767;

} // namespace

std::string FailureReason(const BoardCall &call) {
  std::string reason = call.StatusText;
  if (reason.empty()) {
    const char *text = BoardStatusText(call.Status);
    reason = text != nullptr && call.Status != 0 ? text : "failed";
  }
  return reason + FormattedText(" (status %d): ", call.Status) + RequestAction(call);
}

bool RequestsSucceeded(BenchContext &bench, remote::CommandContext &command) {
  const std::optional<BoardCall> &failure = bench.Serial.FirstFailure();
  if (!failure)
    return true;
  bench.LastFailure = failure;
  command.Fail(remote::ErrorCode::HardwareError, FailureReason(*failure));
  return false;
}

void WriteFunctionWord(BenchContext &bench) {
  bench.Serial.WriteRegister(Command::FunctionRegister, bench.Settings.Options.Bits(), false);
}

void WriteRegister(BenchContext &bench, WordAddress address, int32_t code) {
  bench.Serial.WriteRegister(address, code, bench.Settings.PulseAfterDataWrite);
}

Reading<int32_t> ReadAsReadRegister(BenchContext &bench, WordAddress address) {
  bench.Settings.Options.SdoDisabled = false;
  WriteFunctionWord(bench);
  return bench.Serial.ReadRegister(address);
}

std::optional<float> RangeFromReadBack(const BenchContext &bench, WordAddress coarseGain,
                                       const Reading<int32_t> &read) {
  if (read.Answered() && read.Value <= LargestRealCoarseRead)
    if (const auto range = RangeForCoarseCode(read.Value))
      return range;
  if (const auto known = bench.Model.KnownCode(coarseGain))
    return RangeForCoarseCode(*known);
  return std::nullopt;
}

std::optional<float> ChannelRange(BenchContext &bench, Channel channel) {
  const WordAddress coarseGain = RangeRegisterOf(channel);
  const Reading<int32_t> read = bench.Serial.ReadRegister(coarseGain);
  return RangeFromReadBack(bench, coarseGain, read);
}

Reading<int16_t> SampleTemperaturePin(BenchContext &bench) {
  bench.Settings.Options.SdoDisabled = true;
  WriteFunctionWord(bench);
  // The earlier two samples settle the board's converter; only the last counts.
  bench.Serial.ReadBoardSample();
  bench.Serial.ReadBoardSample();
  return bench.Serial.ReadBoardSample();
}

void TurnLine(BenchContext &bench, DigitalLine line, bool converterDrives) {
  FunctionWord &options = bench.Settings.Options;
  (line == DigitalLine::D0 ? options.D0Output : options.D1Output) = converterDrives;
  if (converterDrives) {
    bench.Serial.TakeLineDirection(line, false);
    WriteFunctionWord(bench);
  } else {
    WriteFunctionWord(bench);
    bench.Serial.TakeLineDirection(line, true);
  }
}

void RunInitialState(BenchContext &bench) {
  bench.Settings = InstrumentSettings{};
  // The read only shows the options; the ones kept are the start values.
  bench.Serial.ReadRegister(Command::FunctionRegister);
  bench.Serial.WriteRegister(WordAddress(Command::NoOperation), 0, false);
  bench.Serial.SetControlLines(bench.Settings.Lines);
  ReadAsReadRegister(bench, {Register::Data, Channel::A});
}

} // namespace vq
