// Fields that take exactly what was typed or say why not.
#include "rules/typed_number.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace vq {
namespace {

struct DecimalCase {
  const char *text;
  double value;        // when taken
  const char *refusal; // when refused
};

// The die temperature's range.
TEST(ReadTypedDecimal, TakesExactlyWhatWasTypedOrSaysWhyNot) {
  const DecimalCase cases[] = {
      {"60", 60, ""},
      {" -55 ", -55, ""},
      {"150", 150, ""},
      {"+25.05", 25.05, ""},
      {"-.5", -0.5, ""},
      {"7.", 7, ""},
      {"1.5e1", 15, ""},
      {"15E-1", 1.5, ""},
      {"-0", 0, ""},
      {"1e-400", 0, "is too close to 0 to be held"},
      {"-56", 0, "is below the lowest, -55"},
      {"-55.0001", 0, "is below the lowest, -55"},
      {"151", 0, "is above the highest, 150"},
      {"150.00001", 0, "is above the highest, 150"},
      {"1e400", 0, "is above the highest, 150"},
      {"0.0001e400", 0, "is above the highest, 150"},
      {"-1e400", 0, "is below the lowest, -55"},
      {"", 0, "is not a number"},
      {"  ", 0, "is not a number"},
      {".", 0, "is not a number"},
      {"-", 0, "is not a number"},
      {"25,5", 0, "is not a number"},
      {"2 5", 0, "is not a number"},
      {"25 C", 0, "is not a number"},
      {"1e", 0, "is not a number"},
      {"1e+", 0, "is not a number"},
      {"0x10", 0, "is not a number"},
      {"nan", 0, "is not a number"},
      {"inf", 0, "is not a number"},
      {"--5", 0, "is not a number"},
      {"1.2.3", 0, "is not a number"},
  };
  for (const DecimalCase &c : cases) {
    const TypedValue<double> read = ReadTypedDecimal(c.text, -55, 150);
    EXPECT_EQ(read.Refusal, c.refusal) << '"' << c.text << '"';
    if (*c.refusal == '\0') {
      ASSERT_TRUE(read.Value.has_value()) << c.text;
      EXPECT_EQ(*read.Value, c.value) << c.text;
    } else {
      EXPECT_FALSE(read.Value.has_value()) << c.text;
    }
  }
}

struct IntegerCase {
  const char *text;
  IntegerBase base;
  int64_t value;
  const char *refusal;
};

// Each case read with the range 0..highest: its value, or its refusal.
template <std::size_t Count> void ExpectRead(const IntegerCase (&cases)[Count], int64_t highest) {
  for (const IntegerCase &c : cases) {
    const TypedValue<int64_t> read = ReadTypedInteger(c.text, 0, highest, c.base);
    EXPECT_EQ(read.Refusal, c.refusal) << '"' << c.text << '"';
    EXPECT_EQ(read.Value.value_or(-1), *c.refusal ? -1 : c.value) << c.text;
  }
}

// The error seed's range (32 bits unsigned), and a 16-bit register cell.
TEST(ReadTypedInteger, TakesExactlyWhatWasTypedOrSaysWhyNot) {
  constexpr auto Dec = IntegerBase::Decimal;
  constexpr auto Hex = IntegerBase::Hexadecimal;
  const IntegerCase seeds[] = {
      {"0", Dec, 0, ""},
      {"25", Dec, 25, ""},
      {" +8231\t", Dec, 8231, ""},
      {"4294967295", Dec, 4294967295, ""},
      {"4294967296", Dec, 0, "is above the highest, 4294967295"},
      {"99999999999999999999999", Dec, 0, "is above the highest, 4294967295"},
      {"-1", Dec, 0, "is below the lowest, 0"},
      {"-99999999999999999999999", Dec, 0, "is below the lowest, 0"},
      {"25.05", Dec, 0, "is not a whole number"},
      {"1e3", Dec, 0, "is not a whole number"},
      {"25.", Dec, 0, "is not a whole number"},
      {"", Dec, 0, "is not a number"},
      {"-", Dec, 0, "is not a number"},
      {"12a", Dec, 0, "is not a number"},
      {"1 000", Dec, 0, "is not a number"},
  };
  ExpectRead(seeds, 4294967295);
  const IntegerCase cells[] = {
      {"ffff", Hex, 0xFFFF, ""},
      {"9F40", Hex, 0x9F40, ""},
      {"0", Hex, 0, ""},
      {"10000", Hex, 0, "is above the highest, FFFF"},
      {"FFFFFFFFFFFFFFFFFFFF", Hex, 0, "is above the highest, FFFF"},
      {"-1", Hex, 0, "is not a hexadecimal number"},
      {"0x10", Hex, 0, "is not a hexadecimal number"},
      {"G", Hex, 0, "is not a hexadecimal number"},
      {"65535", Dec, 65535, ""},
      {"-1", Dec, 0, "is below the lowest, 0"},
  };
  ExpectRead(cells, 0xFFFF);
  EXPECT_EQ(ReadTypedInteger("-40000", -32768, -10).Refusal, "is below the lowest, -32768");
  EXPECT_EQ(ReadTypedInteger("-9", -32768, -10).Refusal, "is above the highest, -10");
  EXPECT_EQ(*ReadTypedInteger("-20", -32768, -10).Value, -20);
  EXPECT_EQ(*ReadTypedInteger("-9223372036854775808", std::numeric_limits<int64_t>::min(), 0).Value,
            std::numeric_limits<int64_t>::min());
}

// One message for every refused field, its quote as short as every message's.
TEST(RefusalMessage, QuotesTheTypedTextShortened) {
  EXPECT_EQ(RefusalMessage("cell", "10000", "is above the highest, FFFF", "0000"),
            "The cell \"10000\" was not taken: it is above the highest, FFFF. It stays 0000.");
  EXPECT_EQ(RefusalMessage("error seed", std::string(5000, '9'), "is not a number", "8231"),
            "The error seed \"" + std::string(40, '9') + "...\" was not taken: it is not a number. It stays 8231.");
}

TEST(ShortestText, ShowsTheValueAsItReadsBack) {
  EXPECT_EQ(ShortestText(25.05), "25.05");
  EXPECT_EQ(ShortestText(-55), "-55");
  EXPECT_EQ(ShortestText(-0.0), "0");
  EXPECT_EQ(ShortestText(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(ShortestText(1e300), "1e+300");
}

} // namespace
} // namespace vq
