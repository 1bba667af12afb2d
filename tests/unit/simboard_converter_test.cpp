// The converter's serial protocol, registers and control lines.
#include "simboard/converter_model.h"

#include <gtest/gtest.h>

namespace vq::sim {
namespace {

uint32_t Word(int readWrite, int select, int address, uint32_t data) {
  return static_cast<uint32_t>(readWrite) << 23 | static_cast<uint32_t>(select) << 19 |
         static_cast<uint32_t>(address) << 16 | data;
}

// The program's read: two identical read words, the register on the second.
uint32_t ReadTwice(ConverterModel &converter, int select, int address) {
  converter.ShiftFrame(Word(1, select, address, 0));
  return converter.ShiftFrame(Word(1, select, address, 0));
}

ControlLines WithLdac(bool level) {
  ControlLines lines;
  lines.Ldac = level;
  return lines;
}

TEST(SimulatedConverter, ReadAnswersInTheFrameAfterTheReadWord) {
  ConverterModel converter;
  converter.ShiftFrame(Word(0, 5, 1, 0x0C)); // offset of DAC B
  EXPECT_EQ(converter.ShiftFrame(Word(1, 5, 1, 0)), 0u) << "a write is followed by zeros";
  EXPECT_EQ(converter.ShiftFrame(Word(1, 5, 1, 0)), 0x29000Cu) << "address bits, R/W clear, then the register";
  // The read request is served by whatever frame comes next, even a write.
  converter.ShiftFrame(Word(1, 3, 2, 0));
  EXPECT_EQ(converter.ShiftFrame(Word(0, 2, 0, 0x1234)), 0x1A0000u);
  EXPECT_EQ(converter.ShiftFrame(Word(0, 0, 0, 0)), 0u);
}

TEST(SimulatedConverter, SdoDisabledFloatsHighUntilTheFrameAfterItIsEnabled) {
  ConverterModel converter;
  converter.ShiftFrame(Word(0, 0, 1, 0x01));
  EXPECT_EQ(ReadTwice(converter, 2, 0), 0xFFFFFFu);
  // The enabling frame itself still runs with SDO off.
  EXPECT_EQ(converter.ShiftFrame(Word(0, 0, 1, 0x00)), 0xFFFFFFu);
  EXPECT_EQ(ReadTwice(converter, 2, 0), 0x108000u);
}

TEST(SimulatedConverter, LdacDecidesWhenADataWriteReachesTheDac) {
  struct Case {
    bool ldac;
    bool pulse;
    uint16_t expectedDac;
  };
  for (const Case &c : {Case{true, false, 0x8000}, Case{true, true, 0x4321}, Case{false, false, 0x4321}}) {
    ConverterModel converter;
    converter.SetControlLines(WithLdac(c.ldac));
    converter.ShiftFrame(Word(0, 2, 3, 0x4321));
    if (c.pulse)
      converter.PulseLdac();
    EXPECT_EQ(converter.Registers(3).Input, 0x4321);
    EXPECT_EQ(converter.Registers(3).Dac, c.expectedDac) << "LDAC " << c.ldac << " pulse " << c.pulse;
  }
  ConverterModel converter;
  converter.ShiftFrame(Word(0, 2, 0, 0x1111));
  converter.SetControlLines(WithLdac(false));
  EXPECT_EQ(converter.Registers(0).Dac, 0x1111) << "taking LDAC low loads";
}

TEST(SimulatedConverter, ClearAllAndLoadAllMoveEveryDac) {
  for (bool binary : {true, false}) {
    ConverterModel converter;
    ControlLines lines = WithLdac(false);
    lines.BinaryCoding = binary;
    converter.SetControlLines(lines);
    converter.ShiftFrame(Word(0, 2, 4, 0x0123));
    converter.ShiftFrame(Word(0, 0, 4, 0)); // clear all
    for (int channel = 0; channel < ChannelCount; ++channel) {
      EXPECT_EQ(converter.Registers(channel).Dac, binary ? 0x8000 : 0x0000);
      EXPECT_EQ(converter.Registers(channel).Input, 0x0123) << "clear leaves the input registers";
    }
    converter.ShiftFrame(Word(0, 0, 5, 0)); // load all
    for (int channel = 0; channel < ChannelCount; ++channel)
      EXPECT_EQ(converter.Registers(channel).Dac, 0x0123);
  }
}

TEST(SimulatedConverter, ClrLowHoldsTheDacsAtZeroVolts) {
  ConverterModel converter;
  ControlLines lines = WithLdac(false);
  converter.SetControlLines(lines);
  converter.ShiftFrame(Word(0, 2, 1, 0xF000));
  lines.Clr = false;
  converter.SetControlLines(lines);
  EXPECT_EQ(converter.Registers(1).Dac, 0x8000);
  converter.ShiftFrame(Word(0, 2, 1, 0xE000));
  converter.PulseLdac();
  EXPECT_EQ(converter.Registers(1).Dac, 0x8000) << "no load while CLR is low";
  lines.BinaryCoding = false;
  converter.SetControlLines(lines);
  EXPECT_EQ(converter.Registers(1).Dac, 0x0000) << "the 0 V code follows the coding";
  lines.Clr = true;
  converter.SetControlLines(lines);
  EXPECT_EQ(converter.Registers(1).Dac, 0x0000) << "releasing CLR loads nothing";
  converter.ShiftFrame(Word(0, 0, 5, 0));
  EXPECT_EQ(converter.Registers(1).Dac, 0xE000);
}

TEST(SimulatedConverter, RstinLowResetsAndHoldsEveryRegister) {
  ConverterModel converter;
  for (uint32_t word :
       {Word(0, 2, 4, 0x1234), Word(0, 3, 4, 2), Word(0, 4, 4, 5), Word(0, 5, 4, 9), Word(0, 0, 1, 0x21)})
    converter.ShiftFrame(word);
  converter.PulseLdac();
  ControlLines lines;
  lines.Rstin = false;
  converter.SetControlLines(lines);
  converter.ShiftFrame(Word(0, 2, 0, 0x7777)); // ignored while in reset
  converter.PulseLdac();
  for (int channel = 0; channel < ChannelCount; ++channel) {
    const ChannelRegisters r = converter.Registers(channel);
    EXPECT_EQ(r.Input, 0x8000);
    EXPECT_EQ(r.Dac, 0x8000);
    EXPECT_EQ(r.Coarse + r.Fine + r.Offset, 0);
  }
  EXPECT_EQ(converter.FunctionRegister(), 0);
  lines.Rstin = true;
  converter.SetControlLines(lines);
  converter.ShiftFrame(Word(0, 4, 0, 3));
  EXPECT_EQ(converter.Registers(0).Fine, 3) << "writes work again after reset";
}

TEST(SimulatedConverter, AllDacsAddressWritesEveryChannelOfEachRegister) {
  struct Case {
    int select;
    uint32_t data;
    uint8_t ChannelRegisters::*field8;
    uint16_t expected;
  };
  for (const Case &c : {Case{3, 0xFFFF, &ChannelRegisters::Coarse, 3}, Case{4, 0x40, &ChannelRegisters::Fine, 0},
                        Case{4, 0x3F, &ChannelRegisters::Fine, 0x3F}, Case{5, 0x100, &ChannelRegisters::Offset, 0},
                        Case{5, 0x80, &ChannelRegisters::Offset, 0x80}}) {
    ConverterModel converter;
    converter.ShiftFrame(Word(0, c.select, 4, c.data));
    for (int channel = 0; channel < ChannelCount; ++channel) {
      EXPECT_EQ(converter.Registers(channel).*c.field8, c.expected) << "select " << c.select << " data " << c.data;
      EXPECT_EQ(ReadTwice(converter, c.select, channel) & 0xFFFF, c.expected);
    }
  }
  ConverterModel converter;
  converter.ShiftFrame(Word(0, 2, 4, 0xBEEF));
  for (int channel = 0; channel < ChannelCount; ++channel)
    EXPECT_EQ(ReadTwice(converter, 2, channel), 0x100000u | static_cast<uint32_t>(channel) << 16 | 0xBEEF);
}

TEST(SimulatedConverter, FunctionReadBackShowsTheLevelsOnD0AndD1) {
  struct Case {
    const char *what;
    uint16_t written;        // function register bits 1..4
    bool boardDrives;        // last 0xDB/0xDC for both lines
    bool driveD0, driveD1;   // 0xDE index
    uint16_t expectedLevels; // bits 1 and 3 of the read-back
    LineDriver driver;
  };
  const Case cases[] = {
      {"inputs, board drives D0 high", 0x00, true, true, false, 0x02, LineDriver::Board},
      {"inputs, board drives D1 high", 0x00, true, false, true, 0x08, LineDriver::Board},
      {"inputs, written levels do not count", 0x0A, true, false, false, 0x00, LineDriver::Board},
      {"outputs, written levels", 0x1E, false, false, false, 0x0A, LineDriver::Converter},
      {"outputs, board levels do not count", 0x14, false, true, true, 0x00, LineDriver::Converter},
      {"outputs while the board drives too", 0x16, true, false, true, 0x02, LineDriver::Both},
      {"inputs nobody drives are pulled low", 0x00, false, true, true, 0x00, LineDriver::None},
  };
  for (const Case &c : cases) {
    ConverterModel converter;
    converter.SetBoardDrives(DigitalLine::D0, c.boardDrives);
    converter.SetBoardDrives(DigitalLine::D1, c.boardDrives);
    ControlLines lines;
    lines.DriveD0 = c.driveD0;
    lines.DriveD1 = c.driveD1;
    converter.SetControlLines(lines);
    converter.ShiftFrame(Word(0, 0, 1, c.written | 0x20));
    const uint32_t readBack = ReadTwice(converter, 0, 1);
    EXPECT_EQ(readBack, 0x010000u | 0x20 | (c.written & 0x14) | c.expectedLevels) << c.what;
    EXPECT_EQ(converter.LineState(DigitalLine::D0).Driver, c.driver) << c.what;
  }
}

} // namespace
} // namespace vq::sim
