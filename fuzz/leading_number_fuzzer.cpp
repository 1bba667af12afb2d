// The leading-number reader on any text: blanks never matter, and a value written back in normal form,
// or in the forms the panel shows, reads the same again.
#include "property.h"
#include "rules/number_rules.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

namespace {

using vq::LeadingNumber;
using vq::NumberError;

// The value of a text, or nothing when the reader refuses it as too large.
std::optional<double> Read(std::string_view text) {
  try {
    return LeadingNumber(text);
  } catch (const NumberError &) {
    return std::nullopt;
  }
}

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
      out += c;
    }
  }
  return out;
}

// The shortest text from_chars reads back exactly, exponent included where it is shorter.
std::string NormalForm(double value) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, res.ptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  const std::string_view text = vq::fuzz::Text(data, size);
  const std::optional<double> value = Read(text);

  // Blanks are ignored wherever they stand, so the text without them reads the same or is refused too.
  const std::optional<double> squeezed = Read(WithoutBlanks(text));
  VQ_PROPERTY(squeezed.has_value() == value.has_value());
  if (!value) {
    return 0;
  }
  VQ_PROPERTY(*squeezed == *value);
  VQ_PROPERTY(std::isfinite(*value));

  // Written back in normal form it reads the same, also when other text follows the number.
  const std::string normal = NormalForm(*value);
  VQ_PROPERTY(Read(normal) == value);
  VQ_PROPERTY(Read(normal + "x" + std::string(text)) == value);
  VQ_PROPERTY(Read("  " + normal.substr(0, 1) + " \t" + normal.substr(1)) == value);

  // What a box shows after an entry reads back as a value that shows the same.
  const std::string volts = vq::FormatVolts(*value);
  const std::optional<double> voltsRead = Read(volts);
  VQ_PROPERTY(voltsRead && vq::FormatVolts(*voltsRead) == volts);
  if (std::fabs(*value) <= 3.4e38) {
    const float single = static_cast<float>(*value);
    if (std::isfinite(single)) {
      const std::optional<double> shortest = Read(vq::ShortestDecimal(single));
      VQ_PROPERTY(shortest && static_cast<float>(*shortest) == single);
    }
  }
  return 0;
}
