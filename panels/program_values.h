// The program-wide values the window's handlers share, with their start
// values. One instance lives for the whole run.
#pragma once

#include <cstdint>
#include <string>

namespace vq {

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
  std::string DisplayMode = "Hex"; // "Hex" or "Dec"
  int32_t DataValue = 0;           // D15..D0 of the word being composed
  int16_t DacAddress = 0;
  int16_t RegisterSelect = 0;
  FunctionOptions Options;
  int32_t FunctionRegisterShadow = 0;
  float OutputRange = 4.096f;
  int16_t Resolution = 16;
  int32_t CoarseGainCode = 0; // coarse gain last read by the data-code entry
};

inline constexpr const char *ApplicationTitle = "VQ8231 Evaluation Software";

} // namespace vq
