// The request log's ring and the CSV form of its entries.
#include "boardlog/log_columns.h"
#include "boardlog/request_log.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace vq;

namespace {

BoardCall Frame(int32_t index) {
  BoardCall call;
  call.Request = 0xDD;
  call.Value = 0x12;
  call.Index = index;
  return call;
}

TEST(RequestLog, KeepsTheNewestHundredThousandAndCountsTheDropped) {
  RequestLog log;
  ASSERT_EQ(log.Capacity(), 100000u);
  const int total = 100000 + 7;
  for (int i = 0; i < total; ++i)
    log.Record(Frame(i & 0xFFFF), i);
  EXPECT_EQ(log.Size(), 100000u);
  EXPECT_EQ(log.Dropped(), 7u);
  EXPECT_EQ(log.At(0).Sequence, 7u);
  EXPECT_EQ(log.At(0).Micros, 7);
  EXPECT_EQ(log.Newest().Micros, total - 1);
  EXPECT_EQ(log.BySequence(6), nullptr);
  EXPECT_EQ(log.BySequence(50000)->Micros, 50000);
  for (std::size_t i = 1; i < log.Size(); ++i)
    ASSERT_EQ(log.At(i).Sequence, log.At(i - 1).Sequence + 1);

  log.Clear();
  EXPECT_TRUE(log.Empty());
  EXPECT_EQ(log.Dropped(), 0u);
  log.Record(Frame(1), 5);
  EXPECT_EQ(log.At(0).Sequence, static_cast<uint64_t>(total)); // numbers go on after a clear
  EXPECT_THROW(log.At(1), std::out_of_range);
}

TEST(RequestLog, TimesItsEntriesFromItsStart) {
  RequestLog log(3);
  log.OnBoardCall(Frame(1));
  log.OnBoardCall(Frame(2));
  EXPECT_GE(log.At(0).Micros, 0);
  EXPECT_GE(log.At(1).Micros, log.At(0).Micros);
}

// Splits CSV text as a spreadsheet would: quoted fields may hold commas,
// doubled quotes and line breaks.
std::vector<std::vector<std::string>> ParseCsv(const std::string &text) {
  std::vector<std::vector<std::string>> rows(1);
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
        field += text[++i];
      else if (c == '"')
        quoted = false;
      else
        field += c;
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      rows.back().push_back(field);
      field.clear();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      rows.back().push_back(field);
      field.clear();
      rows.emplace_back();
      ++i;
    } else {
      field += c;
    }
  }
  rows.pop_back(); // after the last line break
  return rows;
}

TEST(LogCsv, ARoundTripKeepsEveryFieldOfEveryRow) {
  RequestLog log;
  log.Record(Frame(0x9F40), 12);
  BoardCall read = Frame(0);
  read.Value = 0x91;
  read.Direction = 1;
  read.Length = 3;
  read.ByteCount = 3;
  read.Bytes = {0x00, 0x80, 0x04};
  log.Record(read, 40);
  log.Record(read, 41);
  BoardCall download;
  download.Kind = BoardCallKind::Download;
  download.FirmwarePath = "/home/a \"b\", c/VQ8231.hex"; // a path with a quote and a comma
  download.DownloadSucceeded = true;
  log.Record(download, 3);

  std::vector<const LogEntry *> entries;
  for (std::size_t i = 0; i < log.Size(); ++i)
    entries.push_back(&log.At(i));
  std::ostringstream out;
  WriteCsv(out, entries);
  const auto rows = ParseCsv(out.str());

  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"time_us", "code", "request", "value", "index", "word", "direction",
                                               "length", "bytes", "reversed", "status", "meaning"}));
  for (std::size_t r = 1; r < rows.size(); ++r) {
    ASSERT_EQ(rows[r].size(), static_cast<std::size_t>(LogColumnCount));
    for (int c = 0; c < LogColumnCount; ++c)
      EXPECT_EQ(rows[r][c], ColumnText(*entries[r - 1], static_cast<LogColumn>(c)));
  }
  EXPECT_EQ(rows[2][0], "40");
  EXPECT_EQ(rows[1][5], "0x129F40");
  EXPECT_EQ(rows[2][5], "0x910000");
  EXPECT_EQ(rows[2][8], "00 80 04");
  EXPECT_EQ(rows[2][9], "00 01 20");
  EXPECT_EQ(rows[2][11], "read data register, DAC B, first transfer: returned 0x0120 (the answer to the frame before)");
  EXPECT_EQ(rows[3][11], "read data register, DAC B: returned 0x0120");
  EXPECT_EQ(rows[4][11], "download firmware \"/home/a \"b\", c/VQ8231.hex\": firmware running");
}

} // namespace
