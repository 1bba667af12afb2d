#include "rules/conversions.h"

#include "rules/number_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace vq {
namespace {

TEST(CoarseGain, EachCodeHasItsRangeAndCode3None) {
  EXPECT_EQ(RangeForCoarseCode(0), 4.096f);
  EXPECT_EQ(RangeForCoarseCode(1), 4.201f);
  EXPECT_EQ(RangeForCoarseCode(2), 4.311f);
  for (int32_t code : {3, -1, 65535}) {
    EXPECT_FALSE(RangeForCoarseCode(code).has_value()) << code;
  }
}

TEST(DataCode, CodeToVoltsShownWithFourDecimals) {
  const struct {
    int32_t code;
    float range;
    const char *shown;
  } cases[] = {{0, 4.096f, "-4.0960"}, {32768, 4.096f, "0.0000"},  {65535, 4.096f, "4.0959"},
               {1, 4.096f, "-4.0959"}, {32767, 4.096f, "-0.0001"}, {0x9F40, 4.096f, "1.0000"},
               {0, 4.311f, "-4.3110"}, {65535, 4.201f, "4.2009"},  {0x8000, 4.311f, "0.0000"}};
  for (const auto &c : cases) {
    EXPECT_EQ(FormatVolts(CodeToVolts(c.code, c.range)), c.shown) << c.code << " at " << c.range;
  }
}

TEST(DataCode, ReadBackVoltsFollowTheCoding) {
  const struct {
    int32_t code;
    bool binary;
    const char *shown;
  } cases[] = {{0x1F40, false, "1.0000"}, {0xE0C0, false, "-1.0000"}, {0x8000, false, "-4.0960"},
               {0x7FFF, false, "4.0959"}, {0x0000, false, "0.0000"},  {0x9F40, true, "1.0000"}};
  for (const auto &c : cases) {
    EXPECT_EQ(FormatVolts(ReadBackVolts(c.code, 4.096f, c.binary)), c.shown) << c.code << " binary " << c.binary;
  }
}

TEST(DataCode, VoltsToCodeBothCodings) {
  const struct {
    float typed;
    bool binary;
    int32_t code;
  } cases[] = {
      {0.0f, true, 0x8000},   {1.0f, true, 0x9F40},       {-1.0f, true, 0x60C0}, {4.096f, true, 0xFFFF},
      {5.0f, true, 0xFFFF},   {-5.0f, true, 0x0000},      {0.0f, false, 0x0000}, {1.0f, false, 0x1F40},
      {-1.0f, false, 0xE0C0}, {4.096f, false, 0x7FFF},    {5.0f, false, 0x7FFF}, {-4.096f, false, 0x8000},
      {-5.0f, false, 0x8000}, {-0.00001f, false, 0xFFFF}, {3.0f, false, 0x5DC0}, {3.0f, true, 0xDDC0},
  };
  const float range = 4.096f;
  for (const auto &c : cases) {
    EXPECT_EQ(VoltsToCode(LimitVolts(c.typed, range), range, c.binary), c.code)
        << c.typed << (c.binary ? " binary" : " two's complement");
  }
  EXPECT_EQ(FormatVolts(RoundToDecimals(LimitVolts(-5.0f, range), 5)), "-4.0960");
  EXPECT_THROW(VoltsToCode(0.0f, 0.0f, true), NumberError);
}

TEST(FineGain, ValuesAndCodesGoBothWays) {
  // A value that rounds to 0 from below is code 0, never 64. The typed value plus 64 is held in single
  // precision, which takes that boundary a little below -0.5.
  const struct {
    float typed;
    int32_t code;
    int32_t shown;
  } cases[] = {{31, 31, 31},         {-1, 63, -1},      {-32, 32, -32},    {40, 31, 31},    {-40, 32, -32},
               {2.5f, 2, 2},         {3.5f, 4, 4},      {-2.5f, 62, -2},   {-3.5f, 60, -4}, {0.0f, 0, 0},
               {0.4f, 0, 0},         {-0.3f, 0, 0},     {-0.5f, 0, 0},     {-1e-30f, 0, 0}, {-0.5000019f, 0, 0},
               {-0.500002f, 63, -1}, {-31.5f, 32, -32}, {-30.5f, 34, -30}, {30.5f, 30, 30}};
  for (const auto &c : cases) {
    const int32_t code = FineGainCode(LimitFineGain(c.typed));
    EXPECT_EQ(code, c.code) << c.typed;
    EXPECT_EQ(FineGainValue(code), c.shown) << c.typed;
  }
  EXPECT_EQ(LimitFineGain(-40.0f), -32.0f); // +32 would give the same 6-bit code
}

TEST(Offset, ValuesAndCodesGoBothWays) {
  // A value that rounds to 0 from below (-0.0625 up to 0) is code 0, never 256.
  const struct {
    float typed;
    int32_t code;
    const char *shown;
  } cases[] = {{15.875f, 127, "15.875"}, {1.0f, 8, "1"},       {0.125f, 1, "0.125"},
               {-0.125f, 255, "-0.125"}, {-16.0f, 128, "-16"}, {20.0f, 127, "15.875"},
               {-20.0f, 128, "-16"},     {0.0625f, 0, "0"},    {0.1875f, 2, "0.25"},
               {0.1f, 1, "0.125"},       {0.0f, 0, "0"},       {-0.01f, 0, "0"},
               {-0.0625f, 0, "0"},       {-1e-30f, 0, "0"},    {-0.06250001f, 255, "-0.125"},
               {-0.1875f, 254, "-0.25"}};
  for (const auto &c : cases) {
    const int32_t code = OffsetCode(LimitOffset(c.typed));
    EXPECT_EQ(code, c.code) << c.typed;
    EXPECT_EQ(ShortestDecimal(OffsetValue(code)), c.shown) << c.typed;
  }
}

TEST(Calibration, OffsetStageCorrectsThePresentOffset) {
  // 0.000005 V is a correction of -0.04 LSB, which rounds to 0: code 0, never 256. Read-backs at the
  // ends of 16 bits are taken.
  const struct {
    int32_t before;
    float reading;
    int32_t code;
  } cases[] = {{0, 0.001f, 192},  {0, -0.0005f, 32}, {0, 0.01f, 128},     {0, -0.01f, 127},
               {255, 0.0f, 255},  {8, 0.0f, 8},      {0, 0.0f, 0},        {0, 1e30f, 128},
               {1000, 0.0f, 127}, {0, 0.000005f, 0}, {-32768, 0.0f, 128}, {32767, 0.0f, 127}};
  for (const auto &c : cases) {
    EXPECT_EQ(OffsetCalibration(c.before, c.reading, 4.096f).Code, c.code) << c.before << ", " << c.reading;
  }
}

TEST(Calibration, OffsetStageRejectsNonsense) {
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_THROW(OffsetCalibration(40000, 0.0f, 4.096f), NumberError);
  EXPECT_THROW(OffsetCalibration(-40000, 0.0f, 4.096f), NumberError);
  EXPECT_THROW(OffsetCalibration(0, 1e35f, 4.096f), NumberError);
  EXPECT_THROW(OffsetCalibration(0, -3e38f, 4.096f), NumberError);
  EXPECT_THROW(OffsetCalibration(0, inf, 4.096f), NumberError);
  EXPECT_THROW(OffsetCalibration(0, 0.0f, 0.0f), NumberError);
}

TEST(Calibration, ZeroScaleStageCorrectsThePresentFineGain) {
  const struct {
    int32_t before;
    double reading;
    int32_t code;
  } cases[] = {{0, -4.097, 48},  {0, -4.095, 16},  {0, -4.0959, 2},  {0, -4.0, 31},    {0, -4.2, 32},
               {63, -4.097, 47}, {16, -4.095, 31}, {31, -4.096, 31}, {32, -4.095, 48}, {63, -4.098, 32}};
  for (const auto &c : cases) {
    EXPECT_EQ(FineGainCalibration(c.before, c.reading, 4.096f).Code, c.code) << c.before << ", " << c.reading;
  }
}

TEST(Calibration, ZeroScaleStageRefusesWhatItCannotCorrect) {
  // A reading without its minus sign, 0 (also a text without a number), readings too far from zero
  // scale, a read-back that does not fit 16 bits, and a reading beyond single precision.
  for (double reading : {4.097, 0.0, -2.0, -6.2, 1e300}) {
    EXPECT_THROW(FineGainCalibration(0, reading, 4.096f), NumberError) << reading;
  }
  EXPECT_THROW(FineGainCalibration(40000, -4.096, 4.096f), NumberError);
  // The step count just fits 16 bits, but adding the present gain does not.
  const double justFits = 32767.0 * 4.096f / 65536.0 - 4.096f;
  EXPECT_EQ(FineGainCalibration(0, justFits, 4.096f).Code, 31);
  EXPECT_THROW(FineGainCalibration(31, justFits, 4.096f), NumberError);
}

TEST(Calibration, ACorrectionBeyondTheRegisterLeavesAShortfall) {
  // Volts the output stays off, positive when it reads high. The offset register reaches -16..15.875
  // LSBs (2 mV at 4.096 V); within half a code of its limit the limit is simply the nearest code.
  const double lsb = 2 * static_cast<double>(4.096f) / 65536, step = lsb / 2;
  const struct {
    const char *what;
    Correction correction;
    double shortfall;
  } cases[] = {
      {"offset, 10 mV high: 64 LSBs left", OffsetCalibration(0, 0.01f, 4.096f), 64 * lsb},
      {"offset, 10 mV low", OffsetCalibration(0, -0.01f, 4.096f), -0.01 + 15.875 * lsb},
      {"offset, present -8 LSBs helps", OffsetCalibration(0xC0, -0.002f, 4.096f), 0.0},
      {"offset, 1/40 LSB beyond the limit", OffsetCalibration(0, -0.0019875f, 4.096f), 0.0},
      {"offset, on 4.311 V", OffsetCalibration(0, 0.01f, 4.311f), 0.01 - 16 * 2 * static_cast<double>(4.311f) / 65536},
      {"fine gain, -4.0 V: 1505 steps left", FineGainCalibration(0, -4.0, 4.096f), 1505 * step},
      {"fine gain, -4.2 V", FineGainCalibration(0, -4.2, 4.096f), -(1664 - 32) * step},
      {"fine gain, present 20 plus 16", FineGainCalibration(20, -4.095, 4.096f), 5 * step},
      {"fine gain, reaches 31 exactly", FineGainCalibration(15, -4.095, 4.096f), 0.0},
  };
  for (const auto &c : cases) {
    EXPECT_NEAR(c.correction.Shortfall, c.shortfall, 1e-9) << c.what;
  }
  EXPECT_DOUBLE_EQ(FineGainReach(4.096f), 32 * step);
}

TEST(Temperature, AReadingGivesVoltsAndDegrees) {
  const struct {
    int16_t reading;
    const char *volts;
    const char *degrees;
  } cases[] = {{1700, "1.365", "2"},  {2000, "1.606", "50"}, {4095, "3.289", "386"},      {1690, "1.357", "0"},
               {1650, "1.325", "-6"}, {0, ".000", "-271"},   {-32768, "-26.320", "-5535"}};
  for (const auto &c : cases) {
    const float volts = TempPinVolts(c.reading);
    EXPECT_EQ(FormatTempVolts(volts), c.volts) << c.reading;
    EXPECT_EQ(FormatWhole(DieTemperature(volts)), c.degrees) << c.reading;
  }
  // The reference 3.29 is taken in double precision; in single precision the last bit would differ.
  EXPECT_EQ(TempPinVolts(37), 0.0297192391f);
}

} // namespace
} // namespace vq
