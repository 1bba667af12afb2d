#include "simboard/output_stage.h"

namespace vq::sim {

namespace {

// Value of a two's-complement field of `bits` bits.
int SignedField(uint32_t code, int bits) {
  const uint32_t mask = (1u << bits) - 1;
  const uint32_t field = code & mask;
  return field & (1u << (bits - 1)) ? static_cast<int>(field) - static_cast<int>(mask + 1) : static_cast<int>(field);
}

constexpr double FullScale = 65536.0;

} // namespace

double CoarseRange(uint8_t coarseCode) {
  switch (coarseCode & 3) {
  case 1:
    return 4.201;
  case 2:
    return 4.311;
  default:
    return 4.096;
  }
}

uint16_t ZeroVoltCode(bool binaryCoding) {
  return binaryCoding ? 0x8000 : 0x0000;
}

double IdealVoltage(uint16_t code, bool binaryCoding, double range) {
  if (binaryCoding)
    return 2.0 * range * code / FullScale - range;
  return SignedField(code, 16) * range / 32768.0;
}

double ChannelOutputVoltage(const ChannelRegisters &registers, bool binaryCoding, const ChannelErrors &errors) {
  const double range = CoarseRange(registers.Coarse);
  const double lsb = 2.0 * range / FullScale;
  const double fineGain = SignedField(registers.Fine, 6) / FullScale;
  const double offset = SignedField(registers.Offset, 8) / 8.0 * lsb;
  return IdealVoltage(registers.Dac, binaryCoding, range) * (1.0 + fineGain + errors.GainError) + offset +
         errors.OffsetVolts;
}

} // namespace vq::sim
