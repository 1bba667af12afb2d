#include "rules/number_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace vq {
namespace {

struct LeadingCase {
  const char *text;
  double expected;
};

TEST(LeadingNumber, ReadsTheLeadingDecimalNumber) {
  const LeadingCase cases[] = {
      {"", 0.0},
      {"xyz", 0.0},
      {"-", 0.0},
      {".", 0.0},
      {"-.e5", 0.0},
      {"12", 12.0},
      {"-5", -5.0},
      {"+7", 7.0},
      {"12.5", 12.5},
      {".5", 0.5},
      {"5.", 5.0},
      {"1 2.5", 12.5},
      {" \t-\n1\r0 ", -10.0},
      {"1e3", 1000.0},
      {"1E-2", 0.01},
      {"2.5e+1V", 25.0},
      {"1 e 2", 100.0},
      {"2e", 2.0},
      {"2e+", 2.0},
      {"2ex", 2.0},
      {"3.3.3", 3.3},
      {"4V", 4.0},
      {"--5", 0.0},
      {"&h10", 0.0},
      {"1,5", 1.0},
      {"0.000", 0.0},
      {"1e-400", 0.0},
      {"0e999999999999", 0.0},
      {"007", 7.0},
      {"70000", 70000.0},
      {"-0.00001", -0.00001},
  };
  for (const auto &c : cases) {
    EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.expected) << '"' << c.text << '"';
  }
}

// Whether the number was the whole text: what a user is told was read.
TEST(LeadingNumber, SaysWhetherTheNumberWasTheWholeText) {
  const struct {
    const char *text;
    double value;
    bool whole;
  } rows[] = {
      {"1.5", 1.5, true}, {" 2 ", 2, true},       {"1 2.5", 12.5, true}, {"1e5", 1e5, true}, {"", 0, true},
      {" \t", 0, true},   {"0", 0, true},         {"1,5", 1, false},     {"2e", 2, false},   {"12G", 12, false},
      {"abc", 0, false},  {"-", 0, false},        {".", 0, false},       {"+-3", 0, false},  {"0x10", 0, false},
      {"e5", 0, false},   {"-0.5V", -0.5, false},
  };
  for (const auto &row : rows) {
    const LeadingNumberRead read = ReadLeadingNumber(row.text);
    EXPECT_DOUBLE_EQ(read.Value, row.value) << '"' << row.text << '"';
    EXPECT_EQ(read.Whole, row.whole) << '"' << row.text << '"';
  }
}

TEST(LeadingNumber, TooLargeForDoubleFails) {
  for (const char *text : {"1e400", "-1e309", "1e999999999999999", "1 0 0 e 3 0 8"}) {
    EXPECT_THROW(LeadingNumber(text), NumberError) << text;
  }
  EXPECT_DOUBLE_EQ(LeadingNumber("1.7e308"), 1.7e308);
  EXPECT_DOUBLE_EQ(LeadingNumber("0.0001e310"), 1e306);
}

TEST(HexValue, ReadsUpToEightSignificantDigits) {
  const struct {
    const char *text;
    uint32_t expected;
  } cases[] = {
      {"0", 0},
      {"1A", 26},
      {"1a", 26},
      {"FFFF", 65535},
      {"0abc", 2748},
      {"10000", 65536},
      {"ffffffff", UINT32_MAX}, // unsigned: too large, never -1
      {"80000000", 0x80000000u},
      {"7FFFFFFF", INT32_MAX},
      {"00000000012345678", 0x12345678},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(HexValue(c.text), c.expected) << c.text;
  }
}

TEST(HexValue, RejectsAnythingElseNamingTheText) {
  // A text of up to 40 characters is quoted whole; a longer one only by its first 40 and "...".
  const std::string longest(40, 'G'), longer = longest + "G";
  const struct {
    std::string text;
    std::string quoted;
  } cases[] = {{"", ""},       {"12G", "12G"},     {"123456789", "123456789"},
               {" 1", " 1"},   {"1 ", "1 "},       {"-1", "-1"},
               {"+1", "+1"},   {"&h1", "&h1"},     {"0x1", "0x1"},
               {"1.0", "1.0"}, {longest, longest}, {longer, longest + "..."}};
  for (const auto &c : cases) {
    try {
      HexValue(c.text);
      ADD_FAILURE() << "no error for \"" << c.text << '"';
    } catch (const NumberError &e) {
      if (!c.text.empty()) {
        EXPECT_NE(std::string(e.what()).find('"' + c.quoted + '"'), std::string::npos) << e.what();
      }
    }
  }
}

TEST(Rounding, HalvesGoToEven) {
  const struct {
    double value;
    int32_t expected;
  } cases[] = {{0.5, 0},
               {1.5, 2},
               {2.5, 2},
               {3.5, 4},
               {-0.5, 0},
               {-1.5, -2},
               {-2.5, -2},
               {12.5, 12},
               {13.5, 14},
               {0.49999999999999994, 0},
               {1.49999999, 1}, // the fraction is not rounded to single precision on the way
               {2.5000001, 3},
               {-6.2, -6},
               {2147483647.4, INT32_MAX},
               {-2147483648.5, INT32_MIN}};
  for (const auto &c : cases) {
    EXPECT_EQ(RoundToInt32(c.value), c.expected) << c.value;
  }
  EXPECT_EQ(RoundToInt16(32767.4), 32767);
  EXPECT_EQ(RoundToInt16(-32768.5), -32768);
  EXPECT_EQ(RoundToInt16(-15.997), -16);
}

TEST(Rounding, ResultsThatDoNotFitFail) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double v : {2147483647.5, -2147483648.6, 1e300, inf, -inf, nan}) {
    EXPECT_THROW(RoundToInt32(v), NumberError) << v;
  }
  for (double v : {32767.5, -32768.6, 65536.0, inf, nan}) {
    EXPECT_THROW(RoundToInt16(v), NumberError) << v;
  }
}

TEST(Rounding, ThirtyTwoBitsTakeEveryValueAHexTextShows) {
  // What the Hex/Dec switch shows in decimal reads back: up to 4294967295, and negative values as
  // their two's complement; halves to even as everywhere.
  const struct {
    double value;
    uint32_t bits;
  } cases[] = {{2147483648.0, 0x80000000u},
               {4294967295.4, UINT32_MAX},
               {-1.0, UINT32_MAX},
               {-2147483648.0, 0x80000000u},
               {2.5, 2u},
               {-0.5, 0u}};
  for (const auto &c : cases) {
    EXPECT_EQ(RoundTo32Bits(c.value), c.bits) << c.value;
  }
  for (double v : {4294967295.5, -2147483648.6, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_THROW(RoundTo32Bits(v), NumberError) << v;
  }
}

TEST(Rounding, ToDecimalsKeepsTheNearestOfThatManyDigits) {
  EXPECT_DOUBLE_EQ(RoundToDecimals(0.125, 2), 0.12);
  EXPECT_DOUBLE_EQ(RoundToDecimals(-4.0960001945495605, 5), -4.096);
  EXPECT_DOUBLE_EQ(RoundToDecimals(1e300, 5), 1e300);
}

TEST(ToSingle, StoresInSinglePrecision) {
  EXPECT_EQ(ToSingle(4.096), 4.096f);
  EXPECT_EQ(ToSingle(3.4028235e38), std::numeric_limits<float>::max());
  EXPECT_THROW(ToSingle(3.5e38), NumberError);
  // From halfway between the largest float and 2^128 on, the nearest float is infinity.
  const double halfway = std::ldexp(2.0 - std::ldexp(1.0, -24), 127);
  EXPECT_THROW(ToSingle(halfway), NumberError);
  EXPECT_EQ(ToSingle(std::nextafter(halfway, 0.0)), std::numeric_limits<float>::max());
  EXPECT_THROW(ToSingle(-1e300), NumberError);
  EXPECT_TRUE(std::isinf(ToSingle(std::numeric_limits<double>::infinity())));
}

struct FormatCase {
  double value;
  const char *expected;
};

TEST(Format, VoltsShowFourDecimals) {
  const FormatCase cases[] = {{-4.0960001945495605, "-4.0960"},
                              {0.0, "0.0000"},
                              {4.0958747863769531, "4.0959"},
                              {-4.0958747863769531, "-4.0959"},
                              {-0.000125, "-0.0001"},
                              {-0.00004, "0.0000"},
                              {-0.0, "0.0000"},
                              {1.0, "1.0000"},
                              {12.34567, "12.3457"}};
  for (const auto &c : cases) {
    EXPECT_EQ(FormatVolts(c.value), c.expected) << c.value;
  }
}

TEST(Format, PinVoltsShowThreeDecimalsAndTemperaturesWholeDegrees) {
  const FormatCase volts[] = {{0.5, ".500"},     {1.3649, "1.365"},    {0.0, ".000"},   {-0.5, "-.500"},
                              {-0.0001, ".000"}, {3.2891967, "3.289"}, {12.0, "12.000"}};
  for (const auto &c : volts) {
    EXPECT_EQ(FormatTempVolts(c.value), c.expected) << c.value;
  }
  // 0 degrees shows "0", whatever side of it the value was.
  const FormatCase whole[] = {{-6.2, "-6"}, {0.098, "0"}, {0.0, "0"}, {-0.3, "0"},     {-0.5, "0"},
                              {0.5, "0"},   {1.5, "2"},   {2.5, "2"}, {386.44, "386"}, {-271.39, "-271"}};
  for (const auto &c : whole) {
    EXPECT_EQ(FormatWhole(c.value), c.expected) << c.value;
  }
}

TEST(Format, HexIsUpperCaseAndDecimalPlain) {
  const struct {
    int32_t value;
    const char *upper;
    const char *four;
  } cases[] = {{0, "0", "0000"},
               {0xABC, "ABC", "0ABC"},
               {0x1A, "1A", "001A"},
               {8000, "1F40", "1F40"},
               {70000, "11170", "11170"},
               {-1, "FFFFFFFF", "FFFFFFFF"},
               {0x921234, "921234", "921234"},
               {INT32_MIN, "80000000", "80000000"}};
  for (const auto &c : cases) {
    EXPECT_EQ(HexUpper(c.value), c.upper);
    EXPECT_EQ(HexAtLeastFour(c.value), c.four);
  }
  EXPECT_EQ(DecimalText(2748), "2748");
  EXPECT_EQ(DecimalText(-5), "-5");
}

TEST(Format, ShortestDecimalDropsTrailingZeros) {
  const struct {
    float value;
    const char *expected;
  } cases[] = {{15.875f, "15.875"}, {-0.125f, "-0.125"}, {-16.0f, "-16"}, {0.0f, "0"},     {-0.0f, "0"},
               {0.25f, "0.25"},     {0.1f, "0.1"},       {31.0f, "31"},   {-32.0f, "-32"}, {1e10f, "10000000000"}};
  for (const auto &c : cases) {
    EXPECT_EQ(ShortestDecimal(c.value), c.expected) << c.value;
  }
}

} // namespace
} // namespace vq

namespace vq {
namespace {

TEST(QuotedExcerpt, ShortTextsWholeLongOnesCutAndMarked) {
  const struct {
    std::string text, quoted;
  } rows[] = {
      {"", "\"\""},
      {"12G", "\"12G\""},
      {std::string(40, 'a'), "\"" + std::string(40, 'a') + "\""},
      {std::string(41, 'a'), "\"" + std::string(40, 'a') + "...\""},
      {std::string(4000, 'd'), "\"" + std::string(40, 'd') + "...\""},
      // A two-byte character across the cut stays whole or goes whole.
      {std::string(39, 'a') + "\xc3\xa9" + "b", "\"" + std::string(39, 'a') + "...\""},
      {std::string(38, 'a') + "\xc3\xa9" + "b", "\"" + std::string(38, 'a') + "\xc3\xa9...\""},
  };
  for (const auto &row : rows)
    EXPECT_EQ(QuotedExcerpt(row.text), row.quoted) << row.text.size();
}

} // namespace
} // namespace vq
