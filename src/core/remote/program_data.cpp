#include "remote/program_data.h"

#include "remote/mnemonic.h"

#include <charconv>
#include <system_error>

namespace vq::remote {

namespace {

std::size_t SkipDigits(std::string_view line, std::size_t at) {
  while (at < line.size() && IsAsciiDigit(line[at]))
    ++at;
  return at;
}

// The length of the well-formed UTF-8 sequence at the start of text (never overlong, no surrogate,
// at most U+10FFFF), or 0.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high)
    return 0;
  for (std::size_t i = 2; i < length; ++i)
    if ((byte(i) & 0xC0) != 0x80)
      return 0;
  return length;
}

// The power of ten of a well-formed decimal number's first significant digit ("0.01" is -2, "12e3" is
// 4), saturated far beyond the double range: only its sign matters here.
int64_t DecimalExponent(std::string_view number) {
  constexpr int64_t Far = int64_t{1} << 40;
  std::size_t i = (number[0] == '+' || number[0] == '-') ? 1 : 0;
  int64_t magnitude = -1;
  bool significant = false;
  for (; i < number.size() && IsAsciiDigit(number[i]); ++i) {
    significant = significant || number[i] != '0';
    if (significant && magnitude < Far)
      ++magnitude;
  }
  if (!significant && i < number.size() && number[i] == '.')
    for (++i; i < number.size() && number[i] == '0' && magnitude > -Far; ++i)
      --magnitude;
  const std::size_t e = number.find_first_of("eE", i);
  if (e == std::string_view::npos)
    return magnitude;
  i = e + 1;
  const bool negative = i < number.size() && number[i] == '-';
  if (i < number.size() && (number[i] == '+' || number[i] == '-'))
    ++i;
  int64_t exponent = 0;
  for (; i < number.size() && exponent < Far; ++i)
    exponent = exponent * 10 + (number[i] - '0');
  return magnitude + (negative ? -exponent : exponent);
}

std::string_view ReadDecimal(std::string_view line, std::size_t &at, DataToken &token) {
  const std::size_t start = at;
  std::size_t i = at;
  if (line[i] == '+' || line[i] == '-')
    ++i;
  const std::size_t integerEnd = SkipDigits(line, i);
  bool digits = integerEnd > i;
  i = integerEnd;
  if (i < line.size() && line[i] == '.') {
    const std::size_t fractionEnd = SkipDigits(line, i + 1);
    digits = digits || fractionEnd > i + 1;
    i = fractionEnd;
  }
  if (!digits)
    return "a number without digits";
  // An E not followed by digits is not an exponent: it starts the unit, which then does not fit.
  if (i < line.size() && (line[i] == 'E' || line[i] == 'e')) {
    std::size_t e = i + 1;
    if (e < line.size() && (line[e] == '+' || line[e] == '-'))
      ++e;
    if (e < line.size() && IsAsciiDigit(line[e]))
      i = SkipDigits(line, e);
  }
  // from_chars takes no plus sign.
  const char *first = line.data() + start + (line[start] == '+' ? 1 : 0);
  const auto [end, error] = std::from_chars(first, line.data() + i, token.Decimal);
  if (error == std::errc::result_out_of_range) {
    // Too small for a double is zero; only too large is out of range.
    token.OutOfRange = DecimalExponent(line.substr(start, i - start)) > 0;
    token.Decimal = 0;
  } else if (error != std::errc() || end != line.data() + i) {
    return "a malformed number";
  }
  token.Kind = TokenKind::Decimal;
  at = i;
  std::size_t u = i;
  while (u < line.size() && IsBlank(line[u]))
    ++u;
  if (u < line.size() && IsAsciiLetter(line[u])) {
    const std::size_t unitStart = u;
    while (u < line.size() && IsAsciiLetter(line[u]))
      ++u;
    token.Unit = line.substr(unitStart, u - unitStart);
    at = u;
  }
  token.Written = line.substr(start, at - start);
  return {};
}

std::string_view ReadNonDecimal(std::string_view line, std::size_t &at, DataToken &token) {
  const std::size_t start = at;
  if (at + 1 >= line.size())
    return "a lone #";
  unsigned base = 0;
  switch (AsciiUpper(line[at + 1])) {
  case 'H':
    base = 16;
    break;
  case 'Q':
    base = 8;
    break;
  case 'B':
    base = 2;
    break;
  default:
    return "block data or an unknown number base after #";
  }
  std::size_t i = at + 2;
  for (; i < line.size(); ++i) {
    const char c = AsciiUpper(line[i]);
    unsigned digit = 0;
    if (IsAsciiDigit(c))
      digit = static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'F')
      digit = static_cast<unsigned>(c - 'A' + 10);
    else
      break;
    if (digit >= base)
      return "a digit that does not fit the number base";
    if (token.Bits > (UINT64_MAX - digit) / base)
      token.OutOfRange = true;
    token.Bits = token.Bits * base + digit;
  }
  if (i == at + 2)
    return "a number base without digits";
  if (i < line.size() && IsWordChar(line[i]))
    return "a digit that does not fit the number base";
  token.Kind = TokenKind::NonDecimal;
  token.Written = line.substr(start, i - start);
  at = i;
  return {};
}

std::string_view ReadString(std::string_view line, std::size_t &at, DataToken &token) {
  const char quote = line[at];
  std::size_t i = at + 1;
  while (true) {
    if (i >= line.size())
      return "a string without its closing quote";
    const char c = line[i];
    if (c == quote) {
      if (i + 1 < line.size() && line[i + 1] == quote) {
        i += 2;
        continue;
      }
      break;
    }
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F)
      return "a control character in a string";
    if (byte >= 0x80) {
      const std::size_t length = Utf8SequenceLength(line.substr(i));
      if (length == 0)
        return "a string that is not UTF-8";
      i += length;
      continue;
    }
    ++i;
  }
  token.Kind = TokenKind::Text;
  token.Quote = quote;
  token.Content = line.substr(at + 1, i - at - 1);
  token.Written = line.substr(at, i + 1 - at);
  at = i + 1;
  return {};
}

} // namespace

std::string_view ReadDataToken(std::string_view line, std::size_t &at, DataToken &token) {
  token = DataToken{};
  const char c = line[at];
  if (c == '"' || c == '\'')
    return ReadString(line, at, token);
  if (c == '#')
    return ReadNonDecimal(line, at, token);
  if (c == '+' || c == '-' || c == '.' || IsAsciiDigit(c))
    return ReadDecimal(line, at, token);
  if (IsAsciiLetter(c)) {
    const std::size_t start = at;
    while (at < line.size() && IsWordChar(line[at]))
      ++at;
    token.Kind = TokenKind::Word;
    token.Content = token.Written = line.substr(start, at - start);
    return {};
  }
  return "a character that starts no parameter";
}

} // namespace vq::remote
