#include "rules/number_rules.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace vq {

std::string QuotedExcerpt(std::string_view text) {
  std::size_t shown = std::min(text.size(), QuotedExcerptLength);
  // Never cut a UTF-8 sequence in two: back off over continuation bytes.
  if (shown < text.size())
    while (shown > 0 && (static_cast<unsigned char>(text[shown]) & 0xC0) == 0x80)
      --shown;
  std::string out = "\"";
  out += text.substr(0, shown);
  if (shown < text.size())
    out += "...";
  out += "\"";
  return out;
}

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string Quoted(std::string_view text) {
  return QuotedExcerpt(text);
}

std::string ValueText(double value) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, res.ptr);
}

// Nearest integer as a double, halves to even; exact for every double.
double RoundHalfEven(double x) {
  const double below = std::floor(x);
  const double fraction = x - below; // exact: below and x share their high bits
  if (fraction < 0.5) {
    return below;
  }
  if (fraction > 0.5) {
    return below + 1.0;
  }
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

// Fixed-point text with the given decimals, locale-independent, correctly rounded. A negative value
// that shows only zeros loses its minus sign.
std::string FixedText(double value, int decimals) {
  char buf[400]; // the largest double has 309 integer digits
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  std::string text(buf, res.ptr);
  if (!text.empty() && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) {
    text.erase(0, 1);
  }
  return text;
}

} // namespace

LeadingNumberRead ReadLeadingNumber(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto skipBlanks = [&] {
    while (i < n && IsBlank(text[i])) {
      ++i;
    }
  };

  skipBlanks();
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }

  // Mantissa with blanks removed, plus what the range check below needs to know about it.
  std::string number;
  bool anyDigit = false;
  bool seenPoint = false;
  bool seenNonZero = false;
  long long leadingFractionZeros = 0; // zeros after the point before the first nonzero digit
  long long integerDigits = 0;        // significant digits before the point
  for (skipBlanks(); i < n; ++i, skipBlanks()) {
    const char c = text[i];
    if (IsDigit(c)) {
      anyDigit = true;
      if (c != '0') {
        seenNonZero = true;
      }
      if (!seenPoint && seenNonZero) {
        ++integerDigits;
      } else if (seenPoint && !seenNonZero) {
        ++leadingFractionZeros;
      }
      number += c;
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
      number += c;
    } else {
      break;
    }
  }
  // Exponent: taken only when digits follow the letter (and its optional sign).
  long long exponent = 0;
  if (anyDigit && i < n && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    auto skip = [&] {
      while (j < n && IsBlank(text[j])) {
        ++j;
      }
    };
    skip();
    bool expNegative = false;
    if (j < n && (text[j] == '+' || text[j] == '-')) {
      expNegative = text[j] == '-';
      ++j;
    }
    bool anyExpDigit = false;
    for (skip(); j < n && IsDigit(text[j]); ++j, skip()) {
      anyExpDigit = true;
      // Saturate: any exponent past a billion is out of range either way.
      exponent = std::min<long long>(exponent * 10 + (text[j] - '0'), 1'000'000'000LL);
    }
    if (anyExpDigit) {
      if (expNegative) {
        exponent = -exponent;
      }
      number += 'e';
      number += std::to_string(exponent);
      i = j;
    }
  }
  // The number took the whole text when nothing but blanks follows it; a
  // text of blanks alone holds no number to misread.
  skipBlanks();
  const bool whole = i == n && (anyDigit || text.find_first_not_of(" \t\n\r") == std::string_view::npos);
  if (!anyDigit || !seenNonZero) {
    return {0.0, whole};
  }

  double value = 0.0;
  auto res = std::from_chars(number.data(), number.data() + number.size(), value);
  if (res.ec == std::errc::result_out_of_range) {
    // Decimal magnitude of the value: positive means far too large, otherwise far too small.
    const long long magnitude = (integerDigits > 0 ? integerDigits : -leadingFractionZeros) + exponent;
    if (magnitude > 0) {
      throw NumberError("the number " + Quoted(text) + " is too large");
    }
    return {0.0, whole};
  }
  if (res.ec != std::errc()) {
    return {0.0, whole}; // cannot happen for the text built above; a text without a number reads 0
  }
  return {negative ? -value : value, whole};
}

double LeadingNumber(std::string_view text) {
  return ReadLeadingNumber(text).Value;
}

uint32_t HexValue(std::string_view text) {
  if (text.empty()) {
    throw NumberError("an empty text is not a hexadecimal number");
  }
  uint32_t value = 0;
  int significant = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      throw NumberError(Quoted(text) + " is not a hexadecimal number");
    }
    if (significant > 0 || digit != 0) {
      if (++significant > 8) {
        throw NumberError(Quoted(text) + " has more than eight significant hexadecimal digits");
      }
    }
    value = value * 16u + static_cast<uint32_t>(digit);
  }
  return value;
}

int32_t RoundToInt32(double value) {
  const double r = RoundHalfEven(value);
  if (!(r >= std::numeric_limits<int32_t>::min() && r <= std::numeric_limits<int32_t>::max())) {
    throw NumberError("the value " + ValueText(value) + " does not fit a 32-bit integer");
  }
  return static_cast<int32_t>(r);
}

int16_t RoundToInt16(double value) {
  const double r = RoundHalfEven(value);
  if (!(r >= std::numeric_limits<int16_t>::min() && r <= std::numeric_limits<int16_t>::max())) {
    throw NumberError("the value " + ValueText(value) + " does not fit a 16-bit integer");
  }
  return static_cast<int16_t>(r);
}

uint32_t RoundTo32Bits(double value) {
  const double r = RoundHalfEven(value);
  if (!(r >= std::numeric_limits<int32_t>::min() && r <= std::numeric_limits<uint32_t>::max())) {
    throw NumberError("the value " + ValueText(value) + " does not fit 32 bits");
  }
  return r < 0 ? static_cast<uint32_t>(static_cast<int32_t>(r)) : static_cast<uint32_t>(r);
}

double RoundToDecimals(double value, int decimals) {
  decimals = std::clamp(decimals, 0, 15);
  const double scale = std::pow(10.0, decimals);
  const double scaled = value * scale;
  // Beyond 2^52 every double is already whole: nothing to round, and no infinity to make.
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) {
    return value;
  }
  return RoundHalfEven(scaled) / scale;
}

float ToSingle(double value) {
  // Halfway between FLT_MAX and the next power of two: from here on the nearest float is infinity.
  static const double overflow = std::ldexp(2.0 - std::ldexp(1.0, -24), 127);
  if (std::isfinite(value) && std::fabs(value) >= overflow) {
    throw NumberError("the value " + ValueText(value) + " is too large for single precision");
  }
  return static_cast<float>(value);
}

std::string FormatVolts(double value) {
  return FixedText(value, 4);
}

std::string FormatTempVolts(double value) {
  std::string text = FixedText(value, 3);
  const std::size_t zero = (!text.empty() && text[0] == '-') ? 1 : 0;
  if (text.compare(zero, 2, "0.") == 0) {
    text.erase(zero, 1);
  }
  return text;
}

std::string FormatWhole(double value) {
  return FixedText(value, 0);
}

std::string HexUpper(int32_t value) {
  char buf[16];
  auto res = std::to_chars(buf, buf + sizeof buf, static_cast<uint32_t>(value), 16);
  std::string text(buf, res.ptr);
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

std::string HexAtLeastFour(int32_t value) {
  std::string text = HexUpper(value);
  if (text.size() < 4) {
    text.insert(0, 4 - text.size(), '0');
  }
  return text;
}

std::string DecimalText(int32_t value) {
  return std::to_string(value);
}

std::string ShortestDecimal(float value) {
  if (std::isnan(value)) {
    return "NaN";
  }
  if (std::isinf(value)) {
    return value < 0 ? "-Inf" : "Inf";
  }
  if (value == 0.0f) {
    return "0";
  }
  char buf[64]; // the largest float has 39 integer digits
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  return std::string(buf, res.ptr);
}

} // namespace vq
