// Reading, rounding and formatting of the numbers the panel shows and the user types.
// Plain functions without Qt, so the entries, the display, the calibration and the temperature
// measurement all follow one set of rules and can be tested without a window.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vq {

// A rule that cannot give a value: a text that is not a number, a value that does not fit its type.
// The entry handlers catch it and empty their box; the message says what went wrong.
class NumberError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// ---- Quoting texts in messages ----

inline constexpr std::size_t QuotedExcerptLength = 40;

// The text in double quotes, cut after QuotedExcerptLength bytes (never inside
// a UTF-8 sequence) and marked "..." when cut, so a pasted page or a long path
// does not become the message.
std::string QuotedExcerpt(std::string_view text);

// ---- Reading texts ----

// The leading decimal number of a text: optional sign, digits with an optional full stop as decimal
// point (whatever the locale), optional exponent (E or e, optional sign, digits). Blanks, tabs, line
// feeds and carriage returns are ignored anywhere, even inside the number ("1 2.5" is 12.5). The
// number ends at the first other character; a text without a number reads 0. An exponent letter not
// followed by digits ends the number ("2e" is 2). "&h" prefixes are not recognised ("&h10" reads 0).
// A value too small for a double reads 0; a value too large throws NumberError.
double LeadingNumber(std::string_view text);

// LeadingNumber's value, and whether the number was the whole text (blanks
// aside), so a caller can tell the user what a text like "1,5" was read as.
// A text of blanks alone, or none, counts as whole.
struct LeadingNumberRead {
  double Value;
  bool Whole;
};
LeadingNumberRead ReadLeadingNumber(std::string_view text);

// The text read as hexadecimal: one or more hex digits of either case and nothing else, at most eight
// significant digits (leading zeros do not count), taken as an unsigned 32-bit value ("FFFF" is
// 65535, "ffffffff" is 4294967295, never negative). Anything else (empty text, blank, sign, "G", nine
// significant digits) throws NumberError naming the text.
uint32_t HexValue(std::string_view text);

// ---- Rounding and storage ----

// Nearest integer, halves to the even neighbour. NumberError when the result does not fit, or for
// NaN and infinity.
int32_t RoundToInt32(double value);
int16_t RoundToInt16(double value);
// The 32 bits a hexadecimal text shows for a value: nearest integer, halves to even, from INT32_MIN
// (negative values as their two's complement, -1 is 0xFFFFFFFF) up to UINT32_MAX, so every value
// HexValue gives reads back. NumberError outside that, or for NaN and infinity.
uint32_t RoundTo32Bits(double value);

// Rounds to the given number of decimals (0..15), halves to even; used before showing a typed voltage.
double RoundToDecimals(double value, int decimals);

// Stores a double in single precision (nearest float). NumberError when the value is finite but
// beyond the float range; NaN and infinity pass through unchanged.
float ToSingle(double value);

// ---- Formatting ----
// The decimal patterns round the value's exact binary value to the shown digits; an exact tie goes
// to the even digit, like every other rounding in this program. A negative value that shows only
// zeros is shown without its minus sign, so a bench reading of -0.00001 V shows "0.0000".

// Pattern "0.0000": at least one digit before the point, exactly four after ("-4.0960", "0.0000").
std::string FormatVolts(double value);

// Pattern "#.000": exactly three decimals, no digit before the point when the whole part is 0
// (0.5 shows ".500", 0 shows ".000", -0.5 shows "-.500").
std::string FormatTempVolts(double value);

// Pattern "#": rounded to a whole number, "-6" for -6.2; a value that rounds to 0 shows "0" whatever
// its sign (-0.4 shows "0"), never an empty text.
std::string FormatWhole(double value);

// Upper-case hexadecimal without leading zeros ("0" for 0); negative values as their eight-digit
// two's complement ("FFFFFFFF" for -1).
std::string HexUpper(int32_t value);

// HexUpper with "000", "00" or "0" put in front of a 1-, 2- or 3-digit text; longer texts unchanged.
std::string HexAtLeastFour(int32_t value);

// Plain decimal text of an integer ("-5", "2748").
std::string DecimalText(int32_t value);

// The shortest decimal text that reads back as the same single-precision value, without exponent:
// "15.875", "-0.125", "-16", "0" (also for -0), "0.25". NaN shows "NaN", infinities "Inf"/"-Inf".
std::string ShortestDecimal(float value);

} // namespace vq
