#include "hexfile/intel_hex.h"

#include <optional>

namespace vq::hex {

namespace {

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

// Fills `record` from one line, or says what is wrong with it.
std::string ParseRecord(std::string_view line, Record &record) {
  if (line.empty())
    return "is empty";
  if (line.front() != ':')
    return "does not start with ':'";
  if (line.size() > MaxRecordLength)
    return "is longer than any record can be";
  const std::string_view digits = line.substr(1);
  if (digits.size() % 2 != 0)
    return "has an odd number of hex digits";
  std::vector<uint8_t> bytes;
  bytes.reserve(digits.size() / 2);
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    const int high = HexDigit(digits[i]);
    const int low = HexDigit(digits[i + 1]);
    if (high < 0 || low < 0)
      return "holds a character that is not a hex digit";
    bytes.push_back(static_cast<uint8_t>(high * 16 + low));
  }
  if (bytes.size() < 5)
    return "is too short for a record";
  const std::size_t count = bytes[0];
  if (bytes.size() != count + 5)
    return "has a byte count that does not match its data";
  uint8_t sum = 0;
  for (uint8_t byte : bytes)
    sum = static_cast<uint8_t>(sum + byte);
  if (sum != 0)
    return "has a wrong checksum";
  record.Type = bytes[3];
  if (record.Type > StartLinearAddress)
    return "has an unknown record type";
  const std::optional<std::size_t> required = RequiredLength(record.Type);
  if (required && *required != count)
    return "has the wrong length for its record type";
  record.Address = static_cast<uint16_t>(bytes[1] << 8 | bytes[2]);
  record.Bytes.assign(bytes.begin() + 4, bytes.end() - 1);
  return {};
}

} // namespace

Reading ReadIntelHex(std::string_view image) {
  Reading reading;
  if (image.empty()) {
    reading.Problem = "The firmware file is empty.";
    return reading;
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
        reading.Problem = "Line " + std::to_string(lineNumber) + " follows the end-of-file record.";
        return reading;
      }
      continue;
    }
    Record record;
    record.Line = lineNumber;
    const std::string problem = ParseRecord(line, record);
    if (!problem.empty()) {
      reading.Problem = "Line " + std::to_string(lineNumber) + " " + problem + ".";
      return reading;
    }
    if (record.Type == EndOfFile) {
      ended = true;
      continue;
    }
    if (record.Type == Data)
      reading.DataBytes += record.Bytes.size();
    reading.Records.push_back(std::move(record));
  }
  if (!ended) {
    reading.Problem = "The firmware file has no end-of-file record.";
    return reading;
  }
  if (reading.DataBytes == 0) {
    reading.Problem = "The firmware file holds no data.";
    return reading;
  }
  return reading;
}

} // namespace vq::hex
