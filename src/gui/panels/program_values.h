// The program-wide values the window's handlers share, with their start
// values. One instance lives for the whole run; the serial access routines
// send what it holds and keep only what they learnt from the board.
#pragma once

#include "board/control_lines.h"
#include "board/function_word.h"
#include "board/registers.h"

#include <cstdint>

namespace vq {

// How the data field and the register value are shown and read.
enum class DisplayMode { Hex, Dec };

struct ProgramValues {
  DisplayMode Display = DisplayMode::Hex;
  int32_t DataValue = 0; // D15..D0 of the word being composed
  // Register select and DAC address of the word being composed.
  WordAddress Word = Command::NoOperation;
  // The converter's options as the program last set them; every function
  // register write sends all six.
  FunctionWord Options;
  // The function register word last composed or read back, as it came.
  int32_t FunctionRegisterShadow = 0;
  // The board's control lines as the program last set them; every change
  // sends them all. BinaryCoding also codes typed voltages.
  ControlLines Lines;
  float OutputRange = 4.096f;
  int32_t CoarseGainCode = 0; // coarse gain last read by the data-code entry
};

} // namespace vq
