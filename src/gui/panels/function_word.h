// The converter's function register word, composed from the six option flags.
// Every writer of the function register (the switches, "Read Register" and the
// temperature measurement) sends all six options, so they share this one rule.
#pragma once

#include "panels/program_values.h"
#include "panels/register_words.h"

#include <cstdint>

namespace vq {

// Bit 0 SDO disabled, 1 D0 high, 2 D0 output, 3 D1 high, 4 D1 output,
// 5 local ground offset adjust; bits 15..6 are 0.
inline int32_t ComposeFunctionWord(const FunctionOptions &o) {
  return o.SdoDisable + 2 * o.D0High + 4 * o.D0Output + 8 * o.D1High + 16 * o.D1Output + 32 * o.LocalGndOffsetAdjust;
}

// Composes the word from the flags as they stand, keeps it as the shadow and
// writes it to the function register.
inline void WriteFunctionWord(ProgramValues &values, RegisterWords &registers) {
  values.FunctionRegisterShadow = ComposeFunctionWord(values.Options);
  registers.Write(Command::FunctionRegister, values.FunctionRegisterShadow);
}

} // namespace vq
