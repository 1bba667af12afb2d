// The per-channel offset and gain errors of the simulated converter. They are
// derived from a seed with a fixed generator, so a seed gives the same errors
// on every system and in every run.
#pragma once

#include "simboard/sim_board_api.h"

#include <array>
#include <cstdint>

namespace vq::sim {

// Bounds of the errors: well inside what the offset register (+-16 LSB) and
// the fine gain register (+-32 steps of 1/2^16) can take out, with room for
// the rounding of a calibration.
constexpr double MaxOffsetErrorLsb = 10.0; // LSBs of the +-4.096 V range
constexpr double MaxGainErrorSteps = 20.0; // fine gain steps, 1/2^16 each

// Seed 0 gives an ideal converter (all errors 0).
std::array<ChannelErrors, ChannelCount> ErrorsFromSeed(uint32_t seed);

} // namespace vq::sim
