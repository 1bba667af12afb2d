// The analog side of one converter channel: from register contents to volts.
#pragma once

#include "simboard/sim_board_api.h"

#include <cstdint>

namespace vq::sim {

// Output range in volts for a coarse gain code. Code 3 is not a range of the
// converter; the model gives it the narrowest one.
double CoarseRange(uint8_t coarseCode);

// The 0 V data code of a coding: 0x8000 in offset binary, 0 in two's complement.
uint16_t ZeroVoltCode(bool binaryCoding);

// The voltage of a data code on an ideal channel at range `range`.
double IdealVoltage(uint16_t code, bool binaryCoding, double range);

// The channel's output: the ideal voltage of its DAC register, its span scaled
// by the fine gain (1 + g / 2^16) and the gain error, plus the offset register
// (c / 8 LSB, one LSB = 2 x range / 2^16) and the offset error.
double ChannelOutputVoltage(const ChannelRegisters &registers, bool binaryCoding, const ChannelErrors &errors);

} // namespace vq::sim
