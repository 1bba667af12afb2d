// Output voltages, the seeded errors and the temperature sample.
#include "simboard/channel_errors.h"
#include "simboard/converter_model.h"
#include "simboard/output_stage.h"
#include "simboard/temperature_sensor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vq::sim {
namespace {

constexpr double Microvolt = 1e-6;

double Output(uint16_t dac, bool binary, uint8_t coarse, uint8_t fine = 0, uint8_t offset = 0) {
  return ChannelOutputVoltage(ChannelRegisters{dac, dac, coarse, fine, offset}, binary, ChannelErrors{});
}

TEST(SimulatedAnalogSide, BothCodingsAtTheThreeRanges) {
  struct Range {
    uint8_t coarse;
    double volts;
  };
  for (const Range &range : {Range{0, 4.096}, Range{1, 4.201}, Range{2, 4.311}}) {
    const double r = range.volts;
    const double lsb = 2 * r / 65536;
    struct Case {
      bool binary;
      uint16_t code;
      double expected;
    };
    for (const Case &c : {Case{true, 0x0000, -r}, Case{true, 0x8000, 0.0}, Case{true, 0xFFFF, r - lsb},
                          Case{false, 0x0000, 0.0}, Case{false, 0x8000, -r}, Case{false, 0xFFFF, -lsb}})
      EXPECT_NEAR(Output(c.code, c.binary, range.coarse), c.expected, Microvolt)
          << "range " << r << (c.binary ? " binary" : " two's complement") << " code " << c.code;
  }
  EXPECT_NEAR(Output(0x7FFF, false, 0), 4.096 - 2 * 4.096 / 65536, Microvolt);
  EXPECT_NEAR(Output(0x0000, true, 3), -4.096, Microvolt) << "code 3 counts as the narrowest range";
}

TEST(SimulatedAnalogSide, FineGainScalesTheSpanAndOffsetShiftsInEighthsOfAnLsb) {
  const double lsb = 2 * 4.096 / 65536;
  struct Case {
    const char *what;
    uint16_t code;
    uint8_t fine, offset;
    double expected;
  };
  const Case cases[] = {
      {"+1 step moves zero scale away from 0 V", 0x0000, 1, 0, -4.096 - 4.096 / 65536},
      {"+31 steps", 0x0000, 31, 0, -4.096 - 31 * 4.096 / 65536},
      {"-32 steps", 0x0000, 32, 0, -4.096 + 32 * 4.096 / 65536},
      {"-1 step at full scale", 0xFFFF, 63, 0, (4.096 - lsb) * (1 - 1.0 / 65536)},
      {"fine gain leaves 0 V alone", 0x8000, 31, 0, 0.0},
      {"offset +1 LSB", 0x8000, 0, 8, lsb},
      {"offset -1/8 LSB", 0x8000, 0, 0xFF, -lsb / 8},
      {"offset +15.875 LSB", 0x8000, 0, 0x7F, 15.875 * lsb},
      {"offset -16 LSB at zero scale", 0x0000, 0, 0x80, -4.096 - 16 * lsb},
  };
  for (const Case &c : cases)
    EXPECT_NEAR(Output(c.code, true, 0, c.fine, c.offset), c.expected, 1e-9) << c.what;
}

TEST(SimulatedAnalogSide, SeedZeroIsIdealAndOtherSeedsStayCorrectable) {
  for (const ChannelErrors &e : ErrorsFromSeed(0)) {
    EXPECT_EQ(e.OffsetVolts, 0.0);
    EXPECT_EQ(e.GainError, 0.0);
  }
  const double lsb = 2 * 4.096 / 65536;
  for (uint32_t seed : {1u, DefaultErrorSeed, 0xFFFFFFFFu}) {
    const auto errors = ErrorsFromSeed(seed);
    EXPECT_EQ(errors[2].OffsetVolts, ErrorsFromSeed(seed)[2].OffsetVolts) << "a seed always gives the same errors";
    for (const ChannelErrors &e : errors) {
      EXPECT_NE(e.OffsetVolts, 0.0);
      EXPECT_LE(std::abs(e.OffsetVolts) / lsb, MaxOffsetErrorLsb);
      EXPECT_LE(std::abs(e.GainError) * 65536, MaxGainErrorSteps);
    }
    EXPECT_NE(errors[0].OffsetVolts, errors[1].OffsetVolts) << "channels differ";
  }
  EXPECT_NE(ErrorsFromSeed(1)[0].GainError, ErrorsFromSeed(2)[0].GainError);
}

TEST(SimulatedAnalogSide, ErrorsAddToTheChannelOutput) {
  ConverterModel converter;
  converter.SetErrors(ErrorsFromSeed(DefaultErrorSeed));
  const ChannelErrors e = converter.Errors(2);
  EXPECT_NEAR(converter.OutputVoltage(2), e.OffsetVolts, 1e-12) << "power-on output is 0 V plus the offset error";
  converter.SetControlLines([] {
    ControlLines lines;
    lines.Ldac = false;
    return lines;
  }());
  converter.ShiftFrame(0x120000); // DAC C to code 0: zero scale
  EXPECT_NEAR(converter.OutputVoltage(2), -4.096 * (1 + e.GainError) + e.OffsetVolts, 1e-12);
}

TEST(SimulatedAnalogSide, TemperatureSampleFollowsTheDie) {
  struct Case {
    double celsius;
    uint16_t reading;
  };
  for (const Case &c : {Case{-40, 1440}, Case{0, 1689}, Case{25, 1845}, Case{50, 2001}, Case{125, 2468},
                        Case{400, 4095}, Case{-300, 0}, Case{1e300, 4095}, Case{-1e300, 0}})
    EXPECT_EQ(TemperatureSample(c.celsius), c.reading) << c.celsius << " degrees";
}

} // namespace
} // namespace vq::sim
