// A number typed into a field that takes exactly what was typed or says no:
// the whole text must be the number (blanks around it aside), within the
// field's range. Never a leading part of the text, never a value clamped,
// rounded or otherwise different from the one typed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vq {

// What a field made of a typed text: the value, or why it was refused in
// words that follow the quoted text ("is not a number", "is below -55").
template <typename Number> struct TypedValue {
  std::optional<Number> Value;
  std::string Refusal;
};

// A decimal number: optional sign, digits with an optional full stop as the
// decimal point (whatever the locale), optional exponent. Taken as the double
// nearest to the decimal typed; refused when it is not a number or lies
// outside lowest..highest.
TypedValue<double> ReadTypedDecimal(std::string_view text, double lowest, double highest);

enum class IntegerBase { Decimal, Hexadecimal };

// A whole number: optional sign (decimal only), then digits of the base and
// nothing else. Refused when it is not a number, not a whole number ("25.05"),
// or outside lowest..highest.
TypedValue<int64_t> ReadTypedInteger(std::string_view text, int64_t lowest, int64_t highest,
                                     IntegerBase base = IntegerBase::Decimal);

// The message for a refused text, the same in every window: "The <what>
// "<typed>" was not taken: it <refusal>. It stays <kept>." The typed text is
// quoted as every message quotes one (QuotedExcerpt: at most 40 bytes).
std::string RefusalMessage(std::string_view what, std::string_view typed, std::string_view refusal,
                           std::string_view kept);

// The shortest decimal text that reads back as the same double: how a field
// shows the value it took ("25.05", "-55", "1e+300").
std::string ShortestText(double value);

} // namespace vq
