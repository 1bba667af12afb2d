// The code/value conversions on any operands: every code lies within its register, a code taken to its
// value and back is the same code, and a value taken to its code is off by at most half a step.
#include "property.h"
#include "rules/conversions.h"
#include "rules/number_rules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

using vq::NumberError;

constexpr float kRanges[] = {4.096f, 4.201f, 4.311f};

bool Fits16(int32_t value) {
  return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

void CheckCoarse(int32_t code) {
  const std::optional<float> range = vq::RangeForCoarseCode(code);
  VQ_PROPERTY(range.has_value() == (code >= 0 && code <= 2));
  VQ_PROPERTY(!range || *range == kRanges[code]);
}

void CheckData(float typed, int32_t anyCode, float range, bool binary) {
  const float v = vq::LimitVolts(typed, range);
  if (std::isnan(typed)) {
    VQ_PROPERTY(std::isnan(v));
    return; // no text reads as NaN; the conversion refuses it with NumberError
  }
  VQ_PROPERTY(std::fabs(v) <= range);
  const int32_t code = vq::VoltsToCode(v, range, binary);
  VQ_PROPERTY(code >= 0 && code <= vq::MaxDataCode);
  // Two's complement is offset binary with the top bit flipped.
  const double lsb = 2.0 * range / vq::FullScaleCodes;
  const double shown = vq::CodeToVolts(binary ? code : code ^ 0x8000, range);
  VQ_PROPERTY(std::fabs(shown - v) <= lsb + 1e-6);

  const int32_t c = anyCode & vq::MaxDataCode;
  const float volts = vq::CodeToVolts(c, range);
  VQ_PROPERTY(vq::VoltsToCode(vq::LimitVolts(volts, range), range, true) == c);
  VQ_PROPERTY(vq::VoltsToCode(vq::LimitVolts(volts, range), range, false) == (c ^ 0x8000));
}

// A register entered as a number: the limit, the code within the register's
// bits, the value within `tolerance` of what was typed, and every code read
// back as itself.
template <typename Value>
void CheckRegisterCoding(float typed, int32_t anyCode, int32_t maxCode, double tolerance, float (*limit)(float),
                         int32_t (*toCode)(float), Value (*toValue)(int32_t)) {
  const float x = limit(typed);
  if (std::isnan(typed))
    return;
  const int32_t code = toCode(x);
  VQ_PROPERTY(code >= 0 && code <= maxCode);
  VQ_PROPERTY(std::fabs(toValue(code) - x) <= tolerance);
  const int32_t c = anyCode & maxCode;
  VQ_PROPERTY(toCode(static_cast<float>(toValue(c))) == c);
}

void CheckFineGain(float typed, int32_t anyCode) {
  // Half a step, plus the rounding of x + 64 to single precision for a negative x.
  CheckRegisterCoding(typed, anyCode, 63, 0.5f + 1e-5f, &vq::LimitFineGain, &vq::FineGainCode, &vq::FineGainValue);
}

void CheckOffset(float typed, int32_t anyCode) {
  CheckRegisterCoding(typed, anyCode, 255, 0.0625 + 1e-9, &vq::LimitOffset, &vq::OffsetCode, &vq::OffsetValue);
}

void CheckOffsetCalibration(int32_t registerRead, float reading, float range) {
  std::optional<int32_t> code;
  try {
    code = vq::OffsetCalibration(registerRead, reading, range).Code;
  } catch (const NumberError &) {
  }
  VQ_PROPERTY(!code || (*code >= 0 && *code <= 255));
  // Refused only for a read-back beyond 16 bits or a reading that is no measurement.
  const bool ordinary = Fits16(registerRead) && std::isfinite(reading) && std::fabs(reading) < 1e30f;
  VQ_PROPERTY(code || !ordinary);
  // A reading of 0 V keeps the register as it is.
  const int32_t c = registerRead & 255;
  VQ_PROPERTY(vq::OffsetCalibration(c, 0.0f, range).Code == c);
}

void CheckFineGainCalibration(int32_t registerRead, double reading, float range) {
  std::optional<int32_t> code;
  try {
    code = vq::FineGainCalibration(registerRead, reading, range).Code;
  } catch (const NumberError &) {
  }
  VQ_PROPERTY(!code || (*code >= 0 && *code <= 63));
  // A register within its six bits and a reading within a quarter range of zero scale always give a code.
  const bool ordinary = registerRead >= 0 && registerRead <= 63 && std::fabs(reading + range) <= 0.25 * range;
  VQ_PROPERTY(code || !ordinary);
  // Zero scale read exactly keeps the register as it is.
  const int32_t c = registerRead & 63;
  VQ_PROPERTY(vq::FineGainCalibration(c, -static_cast<double>(range), range).Code == c);
}

void CheckTemperature(int16_t reading) {
  const float volts = vq::TempPinVolts(reading);
  VQ_PROPERTY(std::fabs(volts) <= 32768 / 4096.0 * 3.29 + 1e-5); // a 16-bit reading, not only 0..4095
  const float celsius = vq::DieTemperature(volts);
  VQ_PROPERTY(std::isfinite(celsius));
  VQ_PROPERTY(!vq::FormatTempVolts(volts).empty());
  vq::FormatWhole(celsius);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const float range = kRanges[input.ConsumeIntegralInRange(0, 2)];
  const bool binary = input.ConsumeBool();
  const float typed = std::bit_cast<float>(input.ConsumeIntegral<uint32_t>());
  const int32_t anyCode = input.ConsumeIntegral<int32_t>();
  const float measured = std::bit_cast<float>(input.ConsumeIntegral<uint32_t>());
  const double reading = std::bit_cast<double>(input.ConsumeIntegral<uint64_t>());
  try {
    CheckCoarse(anyCode);
    CheckCoarse(anyCode & 7);
    CheckData(typed, anyCode, range, binary);
    CheckFineGain(typed, anyCode);
    CheckOffset(typed, anyCode);
    CheckOffsetCalibration(anyCode, typed, range);
    CheckOffsetCalibration(anyCode >> 16, measured, range);
    CheckFineGainCalibration(anyCode, reading, range);
    CheckFineGainCalibration(anyCode & 63, -range + typed, range);
    CheckTemperature(static_cast<int16_t>(anyCode));
  } catch (const std::exception &e) {
    vq::fuzz::Broken(e.what(), __FILE__, __LINE__);
  }
  return 0;
}
