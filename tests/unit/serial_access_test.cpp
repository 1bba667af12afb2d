// The request table of the serial access routines, against the recording
// link.
#include "board/read_back.h"
#include "board/serial_access.h"
#include "tests/support/recording_link.h"

#include <gtest/gtest.h>

#include <bitset>
#include <functional>
#include <string>
#include <vector>

namespace vq {
namespace {

using test::RecordedRequest;
using test::RecordingLink;
using Sent = RecordedRequest;

struct SerialAccessTest : ::testing::Test {
  RecordingLink link;
  SerialAccess access{link};
};

// Bits 23..16 of every word the program can address.
TEST(UpperByte, EveryRegisterCommandAndChannel) {
  const struct {
    WordAddress address;
    uint8_t write, read;
  } rows[] = {
      {Command::NoOperation, 0x00, 0x80},
      {Command::FunctionRegister, 0x01, 0x81},
      {Command::ClearAll, 0x04, 0x84},
      {Command::LoadAll, 0x05, 0x85},
      {{Register::Data, Channel::A}, 0x10, 0x90},
      {{Register::Data, Channel::All}, 0x14, 0x94},
      {{Register::CoarseGain, Channel::B}, 0x19, 0x99},
      {{Register::FineGain, Channel::C}, 0x22, 0xA2},
      {{Register::Offset, Channel::D}, 0x2B, 0xAB},
      {{Register::Offset, Channel::All}, 0x2C, 0xAC},
  };
  for (const auto &row : rows) {
    EXPECT_EQ(UpperByte(ReadWrite::Write, row.address), row.write) << int(row.write);
    EXPECT_EQ(UpperByte(ReadWrite::Read, row.address), row.read) << int(row.read);
  }
  // A command's address field reads as the channel of the same code.
  EXPECT_EQ(WordAddress(Command::FunctionRegister).AddressedChannel(), Channel::B);
  EXPECT_TRUE(WordAddress(Command::LoadAll).IsFunctionGroup());
  EXPECT_FALSE(WordAddress(Register::Data, Channel::A).IsFunctionGroup());
}

TEST(ReverseBits, MirrorsEveryByte) {
  for (int byte = 0; byte < 256; ++byte) {
    std::string bits = std::bitset<8>(byte).to_string();
    const std::string mirrored(bits.rbegin(), bits.rend());
    EXPECT_EQ(ReverseBits(static_cast<uint8_t>(byte)), std::bitset<8>(mirrored).to_ulong()) << byte;
  }
  EXPECT_EQ(ReverseBits(0x01), 0x80);
  EXPECT_EQ(ReverseBits(0xB4), 0x2D);
}

struct WriteCase {
  WordAddress address;
  int32_t data;
  bool pulseBox;
  Sent expected;
};

class WriteRegisterTest : public SerialAccessTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(WriteRegisterTest, SendsOneWordWithRW0) {
  const WriteCase &c = GetParam();
  access.ReadWriteBit = ReadWrite::Read;
  access.WriteRegister(c.address, c.data, c.pulseBox);
  ASSERT_EQ(link.Requests.size(), 1u);
  EXPECT_EQ(link.Requests[0], c.expected);
  EXPECT_EQ(access.ReadWriteBit, ReadWrite::Write);
}

INSTANTIATE_TEST_SUITE_P(RequestTable, WriteRegisterTest,
                         ::testing::Values(
                             // All DACs, data register, full scale: value 0x14, index 65535.
                             WriteCase{{Register::Data, Channel::All}, 0xFFFF, true, {0xD9, 0x14, 0xFFFF, 0, 0, 0}},
                             WriteCase{{Register::Data, Channel::All}, 0xFFFF, false, {0xDD, 0x14, 0xFFFF, 0, 0, 0}},
                             // The function register never pulses, whatever the box says.
                             WriteCase{Command::FunctionRegister, 0x21, true, {0xDD, 0x01, 0x21, 0, 0, 0}},
                             // Clear all and load all are function commands too.
                             WriteCase{Command::ClearAll, 0, true, {0xDD, 0x04, 0, 0, 0, 0}},
                             WriteCase{Command::LoadAll, 0, true, {0xDD, 0x05, 0, 0, 0, 0}},
                             // Offset of DAC A and fine gain of DAC D pulse with the box ticked.
                             WriteCase{{Register::Offset, Channel::A}, 8, true, {0xD9, 0x28, 8, 0, 0, 0}},
                             WriteCase{{Register::FineGain, Channel::D}, 63, true, {0xD9, 0x23, 63, 0, 0, 0}}));

TEST_F(SerialAccessTest, ReadRegisterSendsTwoIdenticalReadsAndUsesTheSecond) {
  link.Answers = {{0xFF, 0xFF, 0xFF}, {0x00, 0x80, 0x04}};
  EXPECT_EQ(access.ReadRegister(Command::FunctionRegister).Value, 0x0120);
  // The read buffer is handed over as it stands: the second request finds the
  // bytes of the first in it.
  EXPECT_EQ(link.Requests, (std::vector<Sent>{{0xDD, 0x81, 0, 1, 3, 0}, {0xDD, 0x81, 0, 1, 3, 0xFF}}));
  EXPECT_EQ(access.ReadWriteBit, ReadWrite::Read);
}

TEST_F(SerialAccessTest, ReadRegisterIgnoresTheFirstReturnedByte) {
  link.Answers = {{0, 0, 0}, {0xFF, 0xFF, 0xFF}};
  EXPECT_EQ(access.ReadRegister({Register::Data, Channel::C}).Value, 0xFFFF);
  EXPECT_EQ(link.Requests[0].Value, 0x80 + 2 * 8 + 2);
}

TEST_F(SerialAccessTest, ReadWithoutBytesReusesWhatTheBufferHeld) {
  link.Answers = {{0, 0x80, 0x00}, {0, 0x80, 0x00}};
  EXPECT_EQ(access.ReadRegister({Register::Data, Channel::A}).Value, 0x0100);
  link.RequestStatus = 1; // the board refuses and delivers nothing
  EXPECT_EQ(access.ReadRegister({Register::Data, Channel::A}).Value, 0x0100);
  EXPECT_EQ(access.LastRequestStatus, 1);
}

TEST_F(SerialAccessTest, ControlLinesSendEveryLineWithTheFixedBits) {
  ControlLines lines;
  access.SetControlLines(lines);
  lines.DriveD1 = true;
  access.SetControlLines(lines);
  lines = {};
  lines.Ldac = false;
  lines.BinaryCoding = false;
  lines.DriveD0 = true;
  access.SetControlLines(lines);
  EXPECT_EQ(link.Requests,
            (std::vector<Sent>{{0xDE, 0x9F, 0, 0, 0, 0}, {0xDE, 0x9F, 2, 0, 0, 0}, {0xDE, 0x8B, 1, 0, 0, 0}}));
}

TEST_F(SerialAccessTest, BoardSampleIsTwoReversedBytesAsSigned16Bits) {
  link.Answers = {{ReverseBits(0x06), ReverseBits(0xA4)}, {ReverseBits(0x80), 0}};
  EXPECT_EQ(access.ReadBoardSample().Value, 0x06A4);
  EXPECT_EQ(access.ReadBoardSample().Value, -32768);
  EXPECT_EQ(link.Requests[0], (Sent{0xDA, 0, 0, 1, 2, 0}));
}

TEST_F(SerialAccessTest, LineDirectionRequests) {
  access.TakeLineDirection(DigitalLine::D1, true);
  access.TakeLineDirection(DigitalLine::D0, false);
  EXPECT_EQ(link.Requests, (std::vector<Sent>{{0xDC, 1, 0, 1, 0, 0}, {0xDB, 0, 0, 1, 0, 0}}));
}

// Each routine returns its request's status typed; the first failure since
// ForgetFailure is kept as the link would report it, whatever follows.
TEST_F(SerialAccessTest, EveryRoutineReturnsItsStatusAndTheFirstFailureIsKept) {
  const struct {
    const char *what;
    std::function<BoardStatus(SerialAccess &)> run;
    uint8_t code;
    uint8_t direction;
  } rows[] = {
      {"write",
       [](SerialAccess &a) {
         return a.WriteRegister({Register::Data, Channel::B}, 5, true);
       },
       0xD9, 0},
      {"read", [](SerialAccess &a) { return a.ReadRegister(Command::FunctionRegister).Status; }, 0xDD, 1},
      {"control lines", [](SerialAccess &a) { return a.SetControlLines({}); }, 0xDE, 0},
      {"sample", [](SerialAccess &a) { return a.ReadBoardSample().Status; }, 0xDA, 1},
      {"direction", [](SerialAccess &a) { return a.TakeLineDirection(DigitalLine::D0, true); }, 0xDB, 1},
  };
  for (const auto &row : rows) {
    RecordingLink board;
    SerialAccess serial(board);
    EXPECT_EQ(row.run(serial), BoardStatus::Success) << row.what;
    EXPECT_FALSE(serial.FirstFailure()) << row.what;
    board.RequestStatus = 4;
    EXPECT_EQ(row.run(serial), BoardStatus::Gone) << row.what;
    board.RequestStatus = 1234; // outside the table: the number stays
    EXPECT_EQ(StatusValue(row.run(serial)), 1234) << row.what;
    ASSERT_TRUE(serial.FirstFailure()) << row.what;
    EXPECT_EQ(serial.FirstFailure()->Status, 4) << row.what;
    EXPECT_EQ(serial.FirstFailure()->Request, row.code) << row.what;
    EXPECT_EQ(serial.FirstFailure()->Direction, row.direction) << row.what;
    serial.ForgetFailure();
    board.RequestStatus = 0;
    row.run(serial);
    EXPECT_FALSE(serial.FirstFailure()) << row.what;
  }
}

// Either transfer of a read failing means the register was not read: after
// a failed first transfer the second carries the answer to an older word.
TEST_F(SerialAccessTest, ReadCountsOnlyWhenBothTransfersSucceed) {
  struct FailsOnce : RecordingLink {
    int failing = 0, seen = 0;
    int16_t Answer(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                   uint8_t *buffer) override {
      RecordingLink::Answer(request, value, index, direction, length, buffer);
      return ++seen == failing ? 2 : 0;
    }
  };
  for (int failing : {1, 2}) {
    FailsOnce board;
    board.failing = failing;
    SerialAccess serial(board);
    const Reading<int32_t> read = serial.ReadRegister({Register::Offset, Channel::D});
    EXPECT_FALSE(read.Answered()) << failing;
    EXPECT_EQ(read.Status, BoardStatus::Refused) << failing;
    EXPECT_EQ(board.Requests.size(), 2u) << "both transfers go out as before";
  }
}

TEST_F(SerialAccessTest, StatusOfEveryRequestIsKept) {
  link.RequestStatus = 7;
  access.WriteRegister({Register::Data, Channel::A}, 1, true);
  EXPECT_EQ(access.LastRequestStatus, 7);
  link.RequestStatus = 0;
  access.SetControlLines({});
  EXPECT_EQ(access.LastRequestStatus, 0);
}

} // namespace
} // namespace vq
