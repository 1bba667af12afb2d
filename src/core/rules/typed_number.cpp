#include "rules/typed_number.h"

#include "rules/number_rules.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace vq {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

// The parts of a decimal number as typed; nullopt when the text is not one.
struct DecimalParts {
  std::string_view Whole, Fraction;
  int64_t Exponent = 0; // limited to a size no double reaches, so it never overflows
};

std::optional<DecimalParts> SplitDecimal(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    ++i;
  DecimalParts parts;
  const std::size_t whole = i;
  while (i < text.size() && IsDigit(text[i]))
    ++i;
  parts.Whole = text.substr(whole, i - whole);
  if (i < text.size() && text[i] == '.') {
    const std::size_t fraction = ++i;
    while (i < text.size() && IsDigit(text[i]))
      ++i;
    parts.Fraction = text.substr(fraction, i - fraction);
  }
  if (parts.Whole.empty() && parts.Fraction.empty())
    return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
      negative = text[i++] == '-';
    const std::size_t digits = i;
    for (; i < text.size() && IsDigit(text[i]); ++i)
      parts.Exponent = std::min<int64_t>(parts.Exponent * 10 + (text[i] - '0'), 1000000);
    if (i == digits)
      return std::nullopt;
    if (negative)
      parts.Exponent = -parts.Exponent;
  }
  if (i != text.size())
    return std::nullopt;
  return parts;
}

// Whether a number too large or too small for a double is too large: the
// power of ten of its first significant digit is beyond any double's.
bool BeyondLargest(const DecimalParts &parts) {
  const std::size_t leading = parts.Whole.find_first_not_of('0');
  if (leading != std::string_view::npos)
    return static_cast<int64_t>(parts.Whole.size() - leading) + parts.Exponent > 0;
  const std::size_t zeros = parts.Fraction.find_first_not_of('0');
  return zeros != std::string_view::npos && parts.Exponent - static_cast<int64_t>(zeros) > 0;
}

template <typename Number> TypedValue<Number> Refused(std::string reason) {
  return {std::nullopt, std::move(reason)};
}

std::string IntegerText(int64_t value, IntegerBase base) {
  if (base == IntegerBase::Decimal)
    return std::to_string(value);
  char text[24];
  const auto end = std::to_chars(text, text + sizeof text, value, 16).ptr;
  std::string hex(text, end);
  for (char &c : hex)
    c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
  return hex;
}

} // namespace

std::string RefusalMessage(std::string_view what, std::string_view typed, std::string_view refusal,
                           std::string_view kept) {
  std::string message = "The ";
  message.append(what).append(" ").append(QuotedExcerpt(typed)).append(" was not taken: it ");
  message.append(refusal).append(". It stays ").append(kept).append(".");
  return message;
}

std::string ShortestText(double value) {
  if (value == 0)
    return "0"; // also for -0
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

TypedValue<double> ReadTypedDecimal(std::string_view text, double lowest, double highest) {
  text = Trimmed(text);
  const std::optional<DecimalParts> parts = SplitDecimal(text);
  if (!parts)
    return Refused<double>("is not a number");
  const bool negative = text.front() == '-';
  // from_chars takes no plus sign.
  const std::string_view unsigned_ = text.front() == '+' ? text.substr(1) : text;
  double value = 0;
  const auto [end, error] = std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(), value);
  if (error == std::errc::result_out_of_range) {
    if (!BeyondLargest(*parts))
      return Refused<double>("is too close to 0 to be held");
    return Refused<double>(negative ? "is below the lowest, " + ShortestText(lowest)
                                    : "is above the highest, " + ShortestText(highest));
  }
  if (error != std::errc() || end != unsigned_.data() + unsigned_.size())
    return Refused<double>("is not a number");
  if (value < lowest)
    return Refused<double>("is below the lowest, " + ShortestText(lowest));
  if (value > highest)
    return Refused<double>("is above the highest, " + ShortestText(highest));
  return {value, {}};
}

TypedValue<int64_t> ReadTypedInteger(std::string_view text, int64_t lowest, int64_t highest, IntegerBase base) {
  text = Trimmed(text);
  const bool decimal = base == IntegerBase::Decimal;
  std::string_view digits = text;
  if (decimal && !digits.empty() && digits.front() == '+')
    digits.remove_prefix(1); // from_chars takes no plus sign
  const std::string_view body = decimal && !digits.empty() && digits.front() == '-' ? digits.substr(1) : digits;
  const bool wellFormed = !body.empty() && std::all_of(body.begin(), body.end(), decimal ? IsDigit : IsHexDigit);
  if (!wellFormed)
    return Refused<int64_t>(decimal && SplitDecimal(text) ? "is not a whole number"
                            : decimal                     ? "is not a number"
                                                          : "is not a hexadecimal number");
  int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, decimal ? 10 : 16);
  (void)end;
  const bool negative = digits.front() == '-';
  if (error == std::errc::result_out_of_range || (error == std::errc() && value < lowest) ||
      (error == std::errc() && value > highest)) {
    const bool low = error == std::errc() ? value < lowest : negative;
    return Refused<int64_t>(low ? "is below the lowest, " + IntegerText(lowest, base)
                                : "is above the highest, " + IntegerText(highest, base));
  }
  return {value, {}};
}

} // namespace vq
