// The hexadecimal reader on any text, against a reading of its own: which texts it takes, the value of
// those, and that upper-case hexadecimal and decimal written back read the same.
#include "property.h"
#include "rules/number_rules.h"

#include <cstdint>
#include <optional>
#include <string>

namespace {

int Digit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

std::optional<uint32_t> Read(std::string_view text) {
  try {
    return vq::HexValue(text);
  } catch (const vq::NumberError &) {
    return std::nullopt;
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  const std::string_view text = vq::fuzz::Text(data, size);
  const std::optional<uint32_t> value = Read(text);

  // Taken exactly when it is one or more hex digits with at most eight after the leading zeros.
  bool allDigits = !text.empty();
  for (char c : text) {
    allDigits = allDigits && Digit(c) >= 0;
  }
  const std::size_t first = text.find_first_not_of('0');
  const std::size_t significant = first == std::string_view::npos ? 0 : text.size() - first;
  VQ_PROPERTY(value.has_value() == (allDigits && significant <= 8));
  if (!value) {
    return 0;
  }
  uint32_t expected = 0;
  for (std::size_t i = text.size() - significant; i < text.size(); ++i) {
    expected = expected * 16u + static_cast<uint32_t>(Digit(text[i]));
  }
  VQ_PROPERTY(*value == expected);

  // Written back it reads the same: upper case without leading zeros, at least four digits, decimal.
  const std::string upper = vq::HexUpper(static_cast<int32_t>(*value));
  VQ_PROPERTY(!upper.empty() && upper.size() <= 8 && (upper == "0" || upper[0] != '0'));
  VQ_PROPERTY(upper.find_first_of("abcdef") == std::string::npos);
  VQ_PROPERTY(Read(upper) == value);
  const std::string four = vq::HexAtLeastFour(static_cast<int32_t>(*value));
  VQ_PROPERTY(four.size() == std::max<std::size_t>(4, upper.size()) && Read(four) == value);
  VQ_PROPERTY(vq::RoundTo32Bits(vq::LeadingNumber(std::to_string(*value))) == *value);
  return 0;
}
