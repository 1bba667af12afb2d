#include "simboard/channel_errors.h"

namespace vq::sim {

namespace {

// SplitMix64: tiny and fully specified, unlike the standard distributions,
// whose results differ between library implementations.
uint64_t NextRandom(uint64_t &state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// Uniform in [-limit, limit).
double Symmetric(uint64_t &state, double limit) {
  const double unit = static_cast<double>(NextRandom(state) >> 11) / 9007199254740992.0; // [0, 1)
  return (2.0 * unit - 1.0) * limit;
}

constexpr double LsbOfNarrowestRange = 2.0 * 4.096 / 65536.0;

} // namespace

std::array<ChannelErrors, ChannelCount> ErrorsFromSeed(uint32_t seed) {
  std::array<ChannelErrors, ChannelCount> errors{};
  if (seed == 0)
    return errors;
  uint64_t state = seed;
  for (ChannelErrors &channel : errors) {
    channel.OffsetVolts = Symmetric(state, MaxOffsetErrorLsb) * LsbOfNarrowestRange;
    channel.GainError = Symmetric(state, MaxGainErrorSteps) / 65536.0;
  }
  return errors;
}

} // namespace vq::sim
