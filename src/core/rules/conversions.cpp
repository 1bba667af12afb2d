#include "rules/conversions.h"

#include "rules/number_rules.h"

#include <cmath>
#include <limits>
#include <string>

namespace vq {

namespace {

constexpr double kCodes = FullScaleCodes;         // 2^16
constexpr double kHalfCodes = FullScaleCodes / 2; // 2^15
constexpr double kOffsetTop = 15.875;             // largest offset, 127/8
constexpr double kOffsetPerCode = 127.0;          // codes per kOffsetTop
constexpr int32_t kFineGainCodes = 64;            // codes of the 6-bit fine gain register
constexpr int32_t kOffsetCodes = 256;             // codes of the 8-bit offset register
constexpr double kTempScale = 4096.0;             // board reading at the reference
constexpr double kTempReference = 3.29;           // TEMP pin volts at kTempScale
constexpr double kSensorZero = 1.356958;          // TEMP pin volts at 0 degrees C
constexpr double kSensorSlope = 0.005;            // volts per degree C

// A register read-back is a 16-bit signed value; a larger one is a fault, not a value.
int16_t ReadBack16(int32_t value, const char *what) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max()) {
    throw NumberError(std::string("the ") + what + " read back as " + std::to_string(value) +
                      ", which does not fit a 16-bit integer");
  }
  return static_cast<int16_t>(value);
}

} // namespace

std::optional<float> RangeForCoarseCode(int32_t code) {
  switch (code) {
  case 0:
    return 4.096f;
  case 1:
    return 4.201f;
  case 2:
    return 4.311f;
  default:
    return std::nullopt;
  }
}

float CodeToVolts(int32_t code, float range) {
  const double r = range;
  return ToSingle(2.0 * r * code / kCodes - r);
}

float ReadBackVolts(int32_t code, float range, bool binaryCoding) {
  // Flipping the sign bit turns a two's complement code into its offset-binary twin.
  return CodeToVolts(binaryCoding ? code : (code ^ 0x8000), range);
}

float LimitVolts(float v, float range) {
  if (v > range) {
    v = range;
  }
  if (v < -range) {
    v = -range;
  }
  return v;
}

int32_t VoltsToCode(float v, float range, bool binaryCoding) {
  const double r = range;
  const double x = v;
  int32_t code;
  if (binaryCoding) {
    code = RoundToInt32(kCodes * (r + x) / (2.0 * r));
  } else if (x >= 0.0) {
    code = RoundToInt32(kHalfCodes * x / r);
    if (code > MaxDataCode / 2) {
      code = MaxDataCode / 2;
    }
  } else {
    code = RoundToInt32(kCodes + kHalfCodes * x / r);
  }
  if (code == FullScaleCodes) {
    code = MaxDataCode;
  }
  return code;
}

float LimitFineGain(float x) {
  if (x > 31.0f) {
    x = 31.0f;
  }
  if (x < -32.0f) {
    x = -32.0f;
  }
  return x;
}

int32_t FineGainCode(float x) {
  if (x < 0.0f) {
    x = ToSingle(static_cast<double>(x) + kFineGainCodes);
  }
  const int32_t code = RoundToInt32(x);
  return code == kFineGainCodes ? 0 : code; // a value just below 0 rounds to 0
}

int32_t FineGainValue(int32_t code) {
  return code > 31 ? code - 64 : code;
}

float LimitOffset(float x) {
  if (x > 15.875f) {
    x = 15.875f;
  }
  if (x < -16.0f) {
    x = -16.0f;
  }
  return x;
}

int32_t OffsetCode(float x) {
  const double d = x;
  if (d >= 0.0) {
    return RoundToInt32(d / kOffsetTop * kOffsetPerCode);
  }
  const int32_t code = RoundToInt32((d + 16.0) / kOffsetTop * kOffsetPerCode + 128.0);
  return code == kOffsetCodes ? 0 : code; // a value just below 0 rounds to 0
}

float OffsetValue(int32_t code) {
  return static_cast<float>((code > 127 ? code - 256 : code) / 8.0);
}

Correction OffsetCalibration(int32_t offsetRegister, float reading, float range) {
  const int16_t c = ReadBack16(offsetRegister, "offset register");
  if (!std::isfinite(reading)) {
    throw NumberError("the measured voltage is not a finite number");
  }
  if (!(range > 0.0f)) {
    throw NumberError("the output range must be positive");
  }
  const float present = ToSingle((c >= 128 ? c - 256 : c) / 8.0); // in LSBs
  const float negated = -reading;
  const double lsb = 2.0 * static_cast<double>(range) / kCodes;
  float correction;
  try {
    correction = ToSingle(negated / lsb);
  } catch (const NumberError &) {
    throw NumberError("the measured voltage is too large for an offset correction");
  }
  const float wanted = ToSingle(static_cast<double>(present) + correction);
  const float offset = LimitOffset(wanted);
  Correction result{OffsetCode(offset), 0.0};
  // Within half a code of the limit the limit is the nearest code anyway.
  const double beyond = static_cast<double>(offset) - wanted;
  if (std::fabs(beyond) > kOffsetTop / kOffsetPerCode / 2.0) {
    result.Shortfall = beyond * lsb;
  }
  return result;
}

Correction FineGainCalibration(int32_t fineGainRegister, double reading, float range) {
  const int16_t c = ReadBack16(fineGainRegister, "fine gain register");
  const int32_t present = c >= 32 ? c - 64 : c;
  const double r = range;
  const float error = ToSingle(r + reading); // zero scale should read -range
  const double step = 2.0 * r / (2.0 * kCodes);
  const int16_t steps = RoundToInt16(error / step);
  const int32_t wanted = RoundToInt16(static_cast<double>(steps) + present);
  int32_t gain = wanted;
  if (gain > 31) {
    gain = 31;
  }
  if (gain < -32) {
    gain = -32;
  }
  return {FineGainCode(static_cast<float>(gain)), (wanted - gain) * step};
}

double FineGainReach(float range) {
  return 32.0 * static_cast<double>(range) / kCodes;
}

float TempPinVolts(int16_t reading) {
  return ToSingle(reading / kTempScale * kTempReference);
}

float DieTemperature(float volts) {
  const double v = volts;
  return ToSingle(v / kSensorSlope - kSensorZero / kSensorSlope);
}

} // namespace vq
