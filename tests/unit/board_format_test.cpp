// What crosses the board library interface besides the calls themselves: the
// bits of the function word and of the control-line request, the status
// table, and zero-terminated byte strings.
#include "board/board_status.h"
#include "board/control_lines.h"
#include "board/function_word.h"
#include "board/zero_terminated_text.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

namespace vq {
namespace {

TEST(FunctionWord, EachOptionHasItsOwnBit) {
  const struct {
    bool FunctionWord::*option;
    uint16_t bits;
  } rows[] = {
      {&FunctionWord::SdoDisabled, 0x01}, {&FunctionWord::D0High, 0x02},
      {&FunctionWord::D0Output, 0x04},    {&FunctionWord::D1High, 0x08},
      {&FunctionWord::D1Output, 0x10},    {&FunctionWord::LocalGroundOffsetAdjust, 0x20},
  };
  for (const auto &row : rows) {
    FunctionWord word;
    word.*row.option = true;
    EXPECT_EQ(word.Bits(), row.bits);
    EXPECT_EQ(FunctionWord::FromBits(row.bits), word) << row.bits;
  }
  // Every word of six options comes back as it went; the upper bits carry nothing.
  for (uint16_t bits = 0; bits < 64; ++bits)
    EXPECT_EQ(FunctionWord::FromBits(0xFFC0 | bits).Bits(), bits);
}

TEST(ControlLines, EachLineHasItsOwnBitBesideTheFixedOnes) {
  const ControlLines start;
  EXPECT_EQ(start.RequestValue(), 0x9F);
  EXPECT_EQ(start.RequestIndex(), 0);
  const struct {
    bool ControlLines::*line;
    int32_t value, index; // with only this line low (or, for the drives, high)
  } rows[] = {
      {&ControlLines::Ldac, 0x8F, 0},  {&ControlLines::Clr, 0x97, 0},     {&ControlLines::BinaryCoding, 0x9B, 0},
      {&ControlLines::Rstin, 0x9D, 0}, {&ControlLines::DriveD1, 0x9F, 2}, {&ControlLines::DriveD0, 0x9F, 1},
  };
  for (const auto &row : rows) {
    ControlLines lines;
    lines.*row.line = !(lines.*row.line);
    EXPECT_EQ(lines.RequestValue(), row.value);
    EXPECT_EQ(lines.RequestIndex(), row.index);
    EXPECT_EQ(ControlLines::FromRequest(row.value, row.index), lines);
  }
  ControlLines low;
  low.Ldac = low.Clr = low.BinaryCoding = low.Rstin = false;
  EXPECT_EQ(low.RequestValue(), 0x81) << "the fixed bits stay";
}

TEST(BoardStatus, EveryValueOfTheTableHasWordsOfItsOwn) {
  std::set<std::string> texts;
  for (int16_t status = 0; status <= StatusValue(BoardStatus::FirmwareRefused); ++status) {
    const char *text = BoardStatusText(status);
    ASSERT_NE(text, nullptr) << status;
    EXPECT_TRUE(texts.insert(text).second) << "said twice: " << text;
  }
  EXPECT_EQ(std::string(BoardStatusText(StatusValue(BoardStatus::Gone))), "the board is gone");
  EXPECT_EQ(BoardStatusText(StatusValue(BoardStatus::FirmwareRefused) + 1), nullptr);
  EXPECT_EQ(BoardStatusText(-1), nullptr);
}

TEST(ZeroTerminatedText, StopsAtTheTerminatorOrTheLimit) {
  const std::array<uint8_t, 5> path = {'a', 'b', 'c', 0, 'x'};
  EXPECT_EQ(ZeroTerminatedText(path.data(), 5), "abc");
  EXPECT_EQ(ZeroTerminatedText(path.data(), 4), "abc") << "the terminator is the last byte looked at";
  EXPECT_EQ(ZeroTerminatedText(path.data(), 3), std::nullopt) << "no terminator within the limit";
  EXPECT_EQ(ZeroTerminatedText(path.data() + 3, 1), "");
  EXPECT_EQ(ZeroTerminatedText(nullptr, 5), std::nullopt);
}

} // namespace
} // namespace vq
