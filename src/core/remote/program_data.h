// Reading one parameter of a command line as IEEE 488.2 writes program data: decimal numbers (with an
// optional unit suffix), #H/#Q/#B numbers, character data (words) and quoted strings. Only the form is
// read here; what a command accepts is its rules' business (parameter_rule.h).
#pragma once

#include <cstdint>
#include <string_view>

namespace vq::remote {

enum class TokenKind : uint8_t { Decimal, NonDecimal, Word, Text };

struct DataToken {
  TokenKind Kind = TokenKind::Word;
  // The token as written, for error messages.
  std::string_view Written;
  // Decimal: the value; NonDecimal: the value in Bits.
  double Decimal = 0;
  uint64_t Bits = 0;
  // A decimal beyond the double range, or a non-decimal beyond 64 bits.
  bool OutOfRange = false;
  // Decimal: the unit suffix ("MV"), empty when none.
  std::string_view Unit;
  // Word: the word; Text: what stands between the quotes, doubled quotes still doubled.
  std::string_view Content;
  char Quote = '"';
};

// Reads the token that starts at `at` (not a blank) and moves `at` past it. Returns an empty text when
// a token was read, else why the line is a syntax error.
std::string_view ReadDataToken(std::string_view line, std::size_t &at, DataToken &token);

// True for the blanks that may stand between the parts of a line.
constexpr bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace vq::remote
