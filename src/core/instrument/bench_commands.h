// The command groups of the bench instrument, each added to the tree by its
// own function. Every handler starts with the board's failure record cleared,
// so RequestsSucceeded sees only its own requests.
#pragma once

#include "instrument/bench_context.h"
#include "remote/interpreter.h"

#include <utility>

namespace vq {

// A handler that sees the bench and starts with no failed request on record.
template <typename Body> remote::Handler OnBench(BenchContext &bench, Body body) {
  return [&bench, body = std::move(body)](remote::CommandContext &command) {
    bench.Serial.ForgetFailure();
    body(command);
  };
}

// SOURce<n>: and SOURce:ALL: CODE, VOLTage, RANGe, GAIN:FINE, OFFSet.
void AddSourceCommands(remote::CommandTree &tree, BenchContext &bench);
// FUNCtion: (the converter's options) and LINE: (the board's control lines).
void AddSwitchCommands(remote::CommandTree &tree, BenchContext &bench);
// MEASure:, CALibration<n>: and REGister:.
void AddMeasurementCommands(remote::CommandTree &tree, BenchContext &bench);
// SETup:SAVE and SETup:LOAD, the setup files of the window's File menu.
void AddSetupCommands(remote::CommandTree &tree, BenchContext &bench);

// The channel a suffix 1..4 names.
constexpr Channel ChannelOfSuffix(int32_t suffix) {
  return static_cast<Channel>(suffix - 1);
}

} // namespace vq
