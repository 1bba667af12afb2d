#include "simboard/intel_hex.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vq::sim {

namespace {

enum RecordType : uint8_t {
  Data = 0x00,
  EndOfFile = 0x01,
  ExtendedSegmentAddress = 0x02,
  StartSegmentAddress = 0x03,
  ExtendedLinearAddress = 0x04,
  StartLinearAddress = 0x05
};

// The longest record: ':' and 2 x (1 + 2 + 1 + 255 + 1) digits.
constexpr std::size_t MaxRecordLength = 1 + 2 * (5 + 255);

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

// The data length a record type demands, or nothing when any length will do.
std::optional<std::size_t> RequiredLength(uint8_t type) {
  switch (type) {
  case EndOfFile:
    return 0;
  case ExtendedSegmentAddress:
  case ExtendedLinearAddress:
    return 2;
  case StartSegmentAddress:
  case StartLinearAddress:
    return 4;
  default:
    return std::nullopt;
  }
}

struct RecordResult {
  std::string Problem; // empty when the record is good
  uint8_t Type = 0;
  std::size_t DataBytes = 0;
};

RecordResult CheckRecord(std::string_view line) {
  RecordResult result;
  if (line.empty())
    return {"is empty"};
  if (line.front() != ':')
    return {"does not start with ':'"};
  if (line.size() > MaxRecordLength)
    return {"is longer than any record can be"};
  const std::string_view digits = line.substr(1);
  if (digits.size() % 2 != 0)
    return {"has an odd number of hex digits"};
  std::vector<uint8_t> bytes;
  bytes.reserve(digits.size() / 2);
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    const int high = HexDigit(digits[i]);
    const int low = HexDigit(digits[i + 1]);
    if (high < 0 || low < 0)
      return {"holds a character that is not a hex digit"};
    bytes.push_back(static_cast<uint8_t>(high * 16 + low));
  }
  if (bytes.size() < 5)
    return {"is too short for a record"};
  const std::size_t count = bytes[0];
  if (bytes.size() != count + 5)
    return {"has a byte count that does not match its data"};
  uint8_t sum = 0;
  for (uint8_t byte : bytes)
    sum = static_cast<uint8_t>(sum + byte);
  if (sum != 0)
    return {"has a wrong checksum"};
  result.Type = bytes[3];
  if (result.Type > StartLinearAddress)
    return {"has an unknown record type"};
  const std::optional<std::size_t> required = RequiredLength(result.Type);
  if (required && *required != count)
    return {"has the wrong length for its record type"};
  if (result.Type == Data)
    result.DataBytes = count;
  return result;
}

} // namespace

HexCheck CheckIntelHex(std::string_view image) {
  HexCheck check;
  if (image.empty()) {
    check.Problem = "The firmware file is empty.";
    return check;
  }
  std::size_t position = 0;
  std::size_t lineNumber = 0;
  bool ended = false;
  while (position < image.size()) {
    const std::size_t newline = image.find('\n', position);
    const std::size_t end = newline == std::string_view::npos ? image.size() : newline;
    std::string_view line = image.substr(position, end - position);
    position = newline == std::string_view::npos ? image.size() : newline + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    if (ended) {
      if (!line.empty()) {
        check.Problem = "Line " + std::to_string(lineNumber) + " follows the end-of-file record.";
        return check;
      }
      continue;
    }
    const RecordResult record = CheckRecord(line);
    if (!record.Problem.empty()) {
      check.Problem = "Line " + std::to_string(lineNumber) + " " + record.Problem + ".";
      return check;
    }
    check.DataBytes += record.DataBytes;
    ended = record.Type == EndOfFile;
  }
  if (!ended) {
    check.Problem = "The firmware file has no end-of-file record.";
    return check;
  }
  if (check.DataBytes == 0) {
    check.Problem = "The firmware file holds no data.";
    return check;
  }
  check.Valid = true;
  return check;
}

} // namespace vq::sim
