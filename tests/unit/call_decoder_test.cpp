// What the activity log says each board call means: one row per kind of call,
// with the name, the word of a frame and the text.
#include "board/board_library.h"
#include "board/board_status.h"
#include "board/session_outcome.h"
#include "boardlog/call_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>

using namespace vq;

namespace {

BoardCall Request(uint8_t code, int32_t value, int32_t index, uint8_t direction = 0,
                  std::initializer_list<uint8_t> bytes = {}, int32_t status = 0) {
  BoardCall call;
  call.Request = code;
  call.Value = value;
  call.Index = index;
  call.Direction = direction;
  call.Length = static_cast<int16_t>(bytes.size());
  call.ByteCount = static_cast<uint8_t>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), call.Bytes.begin());
  call.Status = status;
  return call;
}

struct DecodingRow {
  const char *what;
  BoardCall call;
  const char *name;
  const char *text;
  bool repeatsPrevious = false;
};

const DecodingRow Rows[] = {
    {"data write with pulse", Request(0xD9, 0x11, 0x9F40), "write and pulse LDAC",
     "write data register, DAC B, 0x9F40, LDAC pulse"},
    {"data write to all DACs", Request(0xDD, 0x14, 0xFFFF), "write or read frame",
     "write data register, ALL DACs, 0xFFFF"},
    {"function register write", Request(0xDD, 0x01, 0x15), "write or read frame",
     "write function register, 0x0015: SDO disabled, D0 output low, D1 output low, local ground offset adjust off"},
    {"no operation", Request(0xDD, 0x00, 0), "write or read frame", "no operation"},
    {"clear all", Request(0xDD, 0x04, 0), "write or read frame", "clear all DACs"},
    {"load all", Request(0xDD, 0x05, 0), "write or read frame", "load all DACs"},
    {"coarse gain", Request(0xD9, 0x18, 1), "write and pulse LDAC",
     "write coarse gain register, DAC A, 0x0001 (range \xC2\xB1"
     "4.201 V), LDAC pulse"},
    {"fine gain", Request(0xDD, 0x22, 0x3F), "write or read frame",
     "write fine gain register, DAC C, 0x003F (fine gain -1)"},
    {"offset", Request(0xDD, 0x2B, 0xFF), "write or read frame",
     "write offset register, DAC D, 0x00FF (offset -0.125 LSB)"},
    {"unused register select", Request(0xDD, 0x30, 7), "write or read frame",
     "write register select 6 (no register), DAC A, 0x0007"},
    {"data register read, first transfer", Request(0xDD, 0x91, 0, 1, {0x00, 0x80, 0x04}), "write or read frame",
     "read data register, DAC B, first transfer: returned 0x0120 (the answer to the frame before)"},
    {"data register read, second transfer", Request(0xDD, 0x91, 0, 1, {0x00, 0x80, 0x04}), "write or read frame",
     "read data register, DAC B: returned 0x0120", true},
    {"coarse gain read", Request(0xDD, 0x98, 0, 1, {0x00, 0x00, 0x40}), "write or read frame",
     "read coarse gain register, DAC A: returned 0x0002 (range \xC2\xB1"
     "4.311 V)",
     true},
    {"function register read", Request(0xDD, 0x81, 0, 1, {0x00, 0x00, 0x84}), "write or read frame",
     "read function register: returned 0x0021 (SDO disabled, D0 input, D1 input, local ground offset adjust on)", true},
    {"control lines at start", Request(0xDE, 0x9F, 0), "control lines",
     "LDAC high, CLR high, binary coding, RSTIN high, board drives D1 low and D0 low where it drives them"},
    {"control lines all low", Request(0xDE, 0x81, 2), "control lines",
     "LDAC low, CLR low, two's complement coding, RSTIN low, board drives D1 high and D0 low where it drives them"},
    {"control lines, fixed bits wrong", Request(0xDE, 0x1F, 0), "control lines",
     "LDAC high, CLR high, binary coding, RSTIN high, board drives D1 low and D0 low where it drives them, fixed "
     "bits 0x01 (0x81 expected)"},
    {"temperature sample", Request(0xDA, 0, 0, 1, {0xE0, 0xAC}), "temperature sample",
     "sample 1845: TEMP pin 1.482 V, 25.0 \xC2\xB0"
     "C"},
    {"D0 to input", Request(0xDB, 1, 0, 1), "D0 direction", "D0 is an input of the converter: the board drives it"},
    {"D1 to output", Request(0xDC, 0, 0, 1), "D1 direction", "D1 is an output of the converter: the board lets go"},
    {"unknown request", Request(0x42, 3, 4), "unknown request", "unknown request 0x42"},
    {"failed request", Request(0xDD, 0x12, 0x8000, 0, {}, 3), "write or read frame",
     "write data register, DAC C, 0x8000; request failed (status 3)"},
};

TEST(CallDecoder, EveryKindOfRequestIsNamedAndDescribed) {
  for (const DecodingRow &row : Rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(CallName(row.call), row.name);
    EXPECT_EQ(DescribeCall(row.call, row.repeatsPrevious), row.text);
  }
}

TEST(CallDecoder, FramesCarryTheirWordAndReadsTheirReversedBytes) {
  EXPECT_EQ(FrameWord(Rows[0].call), 0x119F40u);
  EXPECT_EQ(FrameWord(Request(0xDD, 0x91, 0, 1)), 0x910000u);
  EXPECT_EQ(FrameWord(Request(0xDE, 0x9F, 0)), std::nullopt);
  const BoardCall read = Request(0xDD, 0x91, 0, 1, {0x00, 0x80, 0x04});
  EXPECT_EQ(RecordedBytes(read), "00 80 04");
  EXPECT_EQ(ReversedBytes(read), "00 01 20");
  // Bytes the program does not reverse are not shown reversed.
  EXPECT_EQ(ReversedBytes(Request(0xDD, 0x11, 0x9F40)), "");
  EXPECT_EQ(CategoryOf(read), CallCategory::ReadFrame);
  EXPECT_EQ(CategoryOf(Rows[0].call), CallCategory::WriteFrame);
  EXPECT_EQ(CategoryOf(Request(0x42, 0, 0)), CallCategory::Unknown);
}

TEST(CallDecoder, SessionCallsSayWhatTheLibraryAnswered) {
  BoardCall search;
  search.Kind = BoardCallKind::Search;
  search.VendorId = VQ_VENDOR_ID;
  search.ProductId = VQ_PRODUCT_ID;
  search.BoardCount = 1;
  search.BoardNumber = 1;
  char expected[96];
  std::snprintf(expected, sizeof expected,
                "search for boards: vendor 0x%04X, product 0x%04X: count 1, first list byte 1", VQ_VENDOR_ID,
                VQ_PRODUCT_ID);
  EXPECT_EQ(DescribeCall(search), expected);
  BoardCall connect;
  connect.Kind = BoardCallKind::Connect;
  connect.BoardNumber = 1;
  connect.BoardHandle = 0x8231;
  EXPECT_EQ(DescribeCall(connect), "connect to board 1: handle 0x8231");
  BoardCall download;
  download.Kind = BoardCallKind::Download;
  download.FirmwarePath = "/opt/vq/VQ8231.hex";
  download.Status = 4;
  EXPECT_EQ(DescribeCall(download), "download firmware \"/opt/vq/VQ8231.hex\": download failed");
  EXPECT_EQ(CategoryOf(download), CallCategory::Session);
}

// Where the library names its statuses, a failure says why; where it does
// not, only the number shows (as the table above has it).
TEST(CallDecoder, AFailureSaysWhyWhereTheLibraryNamesIt) {
  BoardCall request = Request(0xDD, 0x12, 0x8000, 0, {}, 4);
  request.StatusText = "the board is gone";
  EXPECT_EQ(DescribeCall(request), "write data register, DAC C, 0x8000; request failed: the board is gone (status 4)");
  BoardCall search;
  search.Kind = BoardCallKind::Search;
  search.Status = 7;
  EXPECT_EQ(DescribeCall(search), "search for boards: vendor 0x0000, product 0x0000: count 0, first list byte 0; "
                                  "search failed (status 7)");
  search.StatusText = "no board with these identifiers";
  EXPECT_EQ(DescribeCall(search), "search for boards: vendor 0x0000, product 0x0000: count 0, first list byte 0; "
                                  "search failed: no board with these identifiers (status 7)");
  BoardCall download;
  download.Kind = BoardCallKind::Download;
  download.FirmwarePath = "VQ8231.hex";
  download.Status = 8;
  download.StatusText = "the firmware file is missing or unreadable";
  EXPECT_EQ(DescribeCall(download),
            "download firmware \"VQ8231.hex\": download failed: the firmware file is missing or unreadable");
}

// The line that names an action's failed request: every kind of request,
// with every status of the table in the library's words, and as a bare
// number from a library that names none.
TEST(FailureLine, NamesTheRequestAndTheReason) {
  const struct {
    BoardCall call;
    const char *action;
  } rows[] = {
      {Request(0xD9, 0x11, 0x9F40), "Write data register, DAC B"},
      {Request(0xDD, 0x01, 0x0012), "Write function register"},
      {Request(0xDD, 0x04, 0), "Clear all DACs"},
      {Request(0xDD, 0x05, 0), "Load all DACs"},
      {Request(0xDD, 0x00, 0), "No operation"},
      {Request(0xDD, 0x9C, 0, 1, {0, 0, 0}), "Read coarse gain register, ALL DACs"},
      {Request(0xDD, 0x81, 0, 1, {0, 0, 0}), "Read function register"},
      {Request(0xDE, 0x9F, 0), "Set the control lines"},
      {Request(0xDA, 0, 0, 1, {0, 0}), "Read a temperature sample"},
      {Request(0xDB, 1, 0, 1), "Set the direction of D0"},
      {Request(0xDC, 0, 0, 1), "Set the direction of D1"},
      {Request(0xD0, 0, 0), "Request 0xD0"},
  };
  for (const auto &row : rows) {
    EXPECT_EQ(RequestAction(row.call), row.action);
    for (int status = 1; status <= StatusValue(BoardStatus::FirmwareRefused); ++status) {
      BoardCall failed = row.call;
      failed.Status = status;
      EXPECT_EQ(FailureLine(failed), row.action + std::string(" failed (status ") + std::to_string(status) + ")");
      failed.StatusText = BoardStatusText(status);
      EXPECT_EQ(FailureLine(failed),
                row.action + std::string(": ") + BoardStatusText(status) + " (status " + std::to_string(status) + ")");
    }
  }
}

// The start-up's fatal message names the step that failed first, in words
// where the library names its statuses.
TEST(SessionFailureLine, NamesTheFirstFailedStep) {
  BoardCall search;
  search.Kind = BoardCallKind::Search;
  search.VendorId = 0x8231;
  search.ProductId = 0x0001;
  search.Status = StatusValue(BoardStatus::NoBoard);
  BoardCall connect;
  connect.Kind = BoardCallKind::Connect;
  connect.Status = StatusValue(BoardStatus::InUse);
  BoardCall download;
  download.Kind = BoardCallKind::Download;
  download.Status = StatusValue(BoardStatus::FirmwareUnreadable);
  BoardCall earlierDownload = download; // the earlier build's library negates a failure
  earlierDownload.Status = -download.Status;
  BoardCall refused = download;
  refused.Status = StatusValue(BoardStatus::FirmwareRefused);
  const struct {
    BoardCall call;
    const char *line;
  } rows[] = {
      {search, "no board with the identifiers 0x8231:0x0001 is on the USB bus"},
      {connect, "Connecting to the board: another program holds the board (status 10)"},
      {download, "VQ8231.hex is missing beside the program or cannot be read"},
      {earlierDownload, "VQ8231.hex is missing beside the program or cannot be read"},
      {refused, "The firmware download: the board cannot load this firmware image (status 12)"},
  };
  for (auto row : rows) {
    EXPECT_EQ(SessionFailureLine(row.call), "") << row.line << ": a library without words";
    row.call.StatusText = BoardStatusText(row.call.Status < 0 ? -row.call.Status : row.call.Status);
    EXPECT_EQ(SessionFailureLine(row.call), row.line);
  }
}

// Only a library that names its statuses can say the board left: from any
// other a status 4 is one failure among others.
TEST(ReportsBoardGone, OnlyTheGoneStatusInALibrarysOwnWords) {
  BoardCall gone;
  gone.Status = StatusValue(BoardStatus::Gone);
  EXPECT_FALSE(ReportsBoardGone(gone)) << "a library without words";
  gone.StatusText = BoardStatusText(gone.Status);
  EXPECT_TRUE(ReportsBoardGone(gone));
  BoardCall noAnswer;
  noAnswer.Status = StatusValue(BoardStatus::NoAnswer);
  noAnswer.StatusText = BoardStatusText(noAnswer.Status);
  EXPECT_FALSE(ReportsBoardGone(noAnswer));
}

} // namespace
