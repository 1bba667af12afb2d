// Rounding and the display patterns on any double (NaN, infinities and subnormals included): rounding
// agrees with the processor's own round-to-nearest-even, formatting never throws and gives texts of its
// pattern that read back as values showing the same.
#include "property.h"
#include "rules/number_rules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace {

using vq::NumberError;

template <typename Int> std::optional<Int> Rounded(double value) {
  try {
    if constexpr (sizeof(Int) == 4) {
      return vq::RoundToInt32(value);
    } else {
      return vq::RoundToInt16(value);
    }
  } catch (const NumberError &) {
    return std::nullopt;
  }
}

// The reference: the processor's rounding in its default mode (to nearest, ties to even).
template <typename Int> std::optional<Int> ReferenceRounded(double value) {
  if (!std::isfinite(value)) {
    return std::nullopt;
  }
  const double r = std::nearbyint(value);
  if (r < std::numeric_limits<Int>::min() || r > std::numeric_limits<Int>::max()) {
    return std::nullopt;
  }
  return static_cast<Int>(r);
}

double Read(const std::string &text) {
  return vq::LeadingNumber(text); // a text the program wrote never reads as too large
}

bool AllDigits(std::string_view text) {
  return text.find_first_not_of("0123456789") == std::string_view::npos;
}

// An optional minus, the whole part and exactly `decimals` digits after the point; the whole part is
// handed back. A minus needs a digit other than 0 after it.
bool FixedPattern(std::string_view text, std::size_t decimals, std::string_view &whole) {
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) {
    text.remove_prefix(1);
    if (text.find_first_of("123456789") == std::string_view::npos) {
      return false;
    }
  }
  const std::size_t point = text.find('.');
  if (point == std::string_view::npos) {
    return false;
  }
  whole = text.substr(0, point);
  const std::string_view fraction = text.substr(point + 1);
  return fraction.size() == decimals && AllDigits(whole) && AllDigits(fraction);
}

// A whole number without leading zeros; "0" only when allowed.
bool WholePattern(std::string_view text, bool zero) {
  if (!text.empty() && text[0] == '-') {
    text.remove_prefix(1);
    zero = false;
  }
  return !text.empty() && AllDigits(text) && (text[0] != '0' || (zero && text == "0"));
}

void CheckRounding(double value, int decimals) {
  VQ_PROPERTY(Rounded<int32_t>(value) == ReferenceRounded<int32_t>(value));
  VQ_PROPERTY(Rounded<int16_t>(value) == ReferenceRounded<int16_t>(value));

  // Single precision: refused exactly when a finite value would become infinite.
  std::optional<float> single;
  try {
    single = vq::ToSingle(value);
  } catch (const NumberError &) {
  }
  const float cast = static_cast<float>(value);
  VQ_PROPERTY(single.has_value() == !(std::isfinite(value) && std::isinf(cast)));
  VQ_PROPERTY(!single || std::bit_cast<uint32_t>(*single) == std::bit_cast<uint32_t>(cast));

  // Decimal rounding keeps a finite value finite and is done after one pass.
  const double once = vq::RoundToDecimals(value, decimals);
  VQ_PROPERTY(std::isnan(once) == std::isnan(value));
  VQ_PROPERTY(!std::isfinite(value) || (std::isfinite(once) && vq::RoundToDecimals(once, decimals) == once));
  if (std::isfinite(value) && decimals >= 0 && decimals <= 15) {
    // Off by at most half the last decimal, plus what the division by the power of ten can lose.
    const double ulp = std::nextafter(std::fabs(value), INFINITY) - std::fabs(value);
    VQ_PROPERTY(std::fabs(once - value) <= 0.5000001 * std::pow(10.0, -decimals) + 2 * ulp);
  }
}

void CheckFormats(double value) {
  const std::string volts = vq::FormatVolts(value);
  const std::string tempVolts = vq::FormatTempVolts(value);
  const std::string whole = vq::FormatWhole(value);
  if (!std::isfinite(value)) {
    return; // shown somehow, without throwing; no entry or reading gives such a value
  }
  std::string_view part;
  VQ_PROPERTY(FixedPattern(volts, 4, part) && WholePattern(part, true));
  const double voltsRead = Read(volts);
  VQ_PROPERTY(vq::FormatVolts(voltsRead) == volts);
  VQ_PROPERTY(std::fabs(voltsRead - value) <= 0.00005 + std::fabs(value) * 1e-15);

  VQ_PROPERTY(FixedPattern(tempVolts, 3, part) && (part.empty() || WholePattern(part, false)));
  VQ_PROPERTY(vq::FormatTempVolts(Read(tempVolts)) == tempVolts);

  VQ_PROPERTY(WholePattern(whole, true)); // never empty: 0 shows "0"
  VQ_PROPERTY(vq::FormatWhole(Read(whole)) == whole);
}

void CheckShortest(float value) {
  const std::string text = vq::ShortestDecimal(value);
  if (std::isnan(value)) {
    VQ_PROPERTY(text == "NaN");
    return;
  }
  if (std::isinf(value)) {
    VQ_PROPERTY(text == (value < 0 ? "-Inf" : "Inf"));
    return;
  }
  // No exponent, no zeros at the end of a fraction, no minus on zero.
  std::string_view body = text;
  if (body[0] == '-') {
    body.remove_prefix(1);
  }
  const std::size_t point = body.find('.');
  const std::string_view fraction = point == std::string_view::npos ? "1" : body.substr(point + 1);
  VQ_PROPERTY(text != "-0" && WholePattern(body.substr(0, point), true));
  VQ_PROPERTY(!fraction.empty() && AllDigits(fraction) && fraction.back() != '0');
  VQ_PROPERTY(static_cast<float>(Read(text)) == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const double value = std::bit_cast<double>(input.ConsumeIntegral<uint64_t>());
  const int decimals = input.ConsumeIntegralInRange(-2, 17);
  const float single = std::bit_cast<float>(input.ConsumeIntegral<uint32_t>());
  try {
    CheckRounding(value, decimals);
    CheckFormats(value);
    CheckShortest(single);
  } catch (const std::exception &e) {
    vq::fuzz::Broken(e.what(), __FILE__, __LINE__);
  }
  return 0;
}
