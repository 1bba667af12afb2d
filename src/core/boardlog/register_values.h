// The readable registers in words, for people: their names, their codes in the
// window's number base, what a code means in the register's own unit, and the
// rule that takes a typed code or refuses it with its reason. Shared by the
// register map, the activity log and whoever shows a register beside its code.
#pragma once

#include "board/registers.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vq {

class RegisterModel;

// "data", "coarse gain", "fine gain", "offset", "function".
std::string RegisterTitle(WordAddress address);
// "DAC A" to "DAC D"; empty for the function register.
std::string ChannelTitle(WordAddress address);
// "DAC B fine gain", "function register".
std::string RegisterLongTitle(WordAddress address);

// The options a function register word sets, in the order of its bits.
std::string FunctionOptionsText(uint32_t bits);
// "±4.096 V"; "no range" for a code that selects none.
std::string RangeText(int32_t coarseCode);

// A code in four upper-case hexadecimal digits, or in decimal.
std::string CodeText(uint16_t code, bool decimal);

// What `code` means in the register's unit: a data code in volts on the
// channel's known range with the known coding line ("+1.00000 V"; "range not
// known" when the model knows either not), the range, fine gain steps, offset
// LSB, the function register's options.
std::string RegisterValueText(WordAddress address, uint16_t code, const RegisterModel &model);

// A code typed for a register: taken exactly, or refused with a message that
// names the register and its limit. Hexadecimal digits without prefix, or
// decimal digits when `decimal`; blanks around are allowed.
struct TypedCode {
  std::optional<uint16_t> Code;
  std::string Refusal; // set exactly when Code is not
};
TypedCode ReadTypedCode(std::string_view text, bool decimal, WordAddress address);

} // namespace vq
