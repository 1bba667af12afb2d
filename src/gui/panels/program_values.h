// The program-wide values the window's handlers share, with their start
// values. One instance lives for the whole run; the control lines and the R/W
// bit of the last word live with the serial access routines.
#pragma once

#include "board/registers.h"

#include <cstdint>

namespace vq {

// How the data field and the register value are shown and read.
enum class DisplayMode { Hex, Dec };

// The converter's function-register options as the program last set them.
struct FunctionOptions {
  int16_t SdoDisable = 0;
  int16_t D0High = 0;
  int16_t D0Output = 0;
  int16_t D1High = 0;
  int16_t D1Output = 0;
  int16_t LocalGndOffsetAdjust = 0;
};

struct ProgramValues {
  DisplayMode Display = DisplayMode::Hex;
  int32_t DataValue = 0; // D15..D0 of the word being composed
  // Register select and DAC address of the word being composed.
  WordAddress Word = Command::NoOperation;
  FunctionOptions Options;
  int32_t FunctionRegisterShadow = 0;
  float OutputRange = 4.096f;
  int32_t CoarseGainCode = 0; // coarse gain last read by the data-code entry
};

// The coarse gain register that tells a channel's output range; with all
// channels addressed, DAC A's stands for them.
inline WordAddress RangeRegisterOf(Channel channel) {
  return {Register::CoarseGain, channel == Channel::All ? Channel::A : channel};
}

inline constexpr const char *ApplicationTitle = "VQ8231 Evaluation Software";

} // namespace vq
