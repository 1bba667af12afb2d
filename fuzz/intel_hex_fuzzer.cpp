// The Intel HEX check on any bytes and on well-formed images built from the input: its verdict is
// stable, a well-formed image is taken with line ends of either kind, and one changed digit or checksum
// is refused.
#include "property.h"
// The check under test; it moves with the Intel HEX reader.
#include "simboard/intel_hex.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using HexVerdict = vq::sim::HexCheck;
HexVerdict Check(std::string_view image) {
  return vq::sim::CheckIntelHex(image);
}

void AppendRecord(std::string &image, uint8_t type, uint16_t address, const std::vector<uint8_t> &data, bool lower,
                  const char *lineEnd) {
  std::vector<uint8_t> bytes = {static_cast<uint8_t>(data.size()), static_cast<uint8_t>(address >> 8),
                                static_cast<uint8_t>(address & 0xFF), type};
  bytes.insert(bytes.end(), data.begin(), data.end());
  uint8_t sum = 0;
  for (uint8_t b : bytes) {
    sum = static_cast<uint8_t>(sum + b);
  }
  bytes.push_back(static_cast<uint8_t>(0x100 - sum));
  const char *digits = lower ? "0123456789abcdef" : "0123456789ABCDEF";
  image += ':';
  for (uint8_t b : bytes) {
    image += digits[b >> 4];
    image += digits[b & 0xF];
  }
  image += lineEnd;
}

// A well-formed image of data records, address records and the end record; `dataBytes` is what it carries.
std::string BuildImage(FuzzedDataProvider &input, std::size_t &dataBytes) {
  const bool lower = input.ConsumeBool();
  const char *lineEnd = input.ConsumeBool() ? "\r\n" : "\n";
  std::string image;
  dataBytes = 0;
  for (int records = input.ConsumeIntegralInRange(1, 4); records > 0; --records) {
    const uint16_t address = input.ConsumeIntegral<uint16_t>();
    if (input.ConsumeIntegralInRange(0, 7) == 0) {
      AppendRecord(image, 0x04, 0, {static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address)}, lower, lineEnd);
      continue;
    }
    const std::vector<uint8_t> data = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange(0, 255));
    AppendRecord(image, 0x00, address, data, lower, lineEnd);
    dataBytes += data.size();
  }
  AppendRecord(image, 0x01, 0, {}, lower, lineEnd);
  if (input.ConsumeBool()) {
    image += lineEnd;
  }
  return image;
}

bool Same(const HexVerdict &a, const HexVerdict &b) {
  return a.Valid == b.Valid && a.Problem == b.Problem && a.DataBytes == b.DataBytes;
}

// Where each record's text starts and how long it is (without its line end), up to the end record.
std::vector<std::pair<std::size_t, std::size_t>> Records(std::string_view image) {
  std::vector<std::pair<std::size_t, std::size_t>> records;
  std::size_t position = 0;
  while (position < image.size()) {
    const std::size_t newline = image.find('\n', position);
    std::size_t end = newline == std::string_view::npos ? image.size() : newline;
    if (end > position && image[end - 1] == '\r') {
      --end;
    }
    if (end > position) {
      records.emplace_back(position, end - position);
    }
    position = newline == std::string_view::npos ? image.size() : newline + 1;
  }
  return records;
}

std::string WithCrLf(std::string_view image) {
  std::string out;
  for (char c : image) {
    if (c == '\n') {
      out += '\r';
    }
    out += c;
  }
  return out;
}

void CheckVerdict(std::string_view image, FuzzedDataProvider &choices) {
  const HexVerdict verdict = Check(image);
  VQ_PROPERTY(Same(verdict, Check(image)));
  VQ_PROPERTY(verdict.Valid == verdict.Problem.empty());
  VQ_PROPERTY(verdict.DataBytes <= image.size() / 2);
  if (!verdict.Valid) {
    return;
  }
  VQ_PROPERTY(verdict.DataBytes > 0);

  // Line ends of the other kind, or one more at the end, change nothing.
  if (image.find('\r') == std::string_view::npos) {
    VQ_PROPERTY(Same(Check(WithCrLf(image)), verdict));
  }
  VQ_PROPERTY(Same(Check(std::string(image) + "\n"), verdict));

  const auto records = Records(image);
  VQ_PROPERTY(!records.empty());
  // A record after the end record is refused, and so is an image that lost its end record.
  VQ_PROPERTY(!Check(std::string(image) + ":00000001FF\n").Valid);
  VQ_PROPERTY(!Check(image.substr(0, records.back().first)).Valid);

  // One record with a changed checksum is refused.
  const auto [start, length] = records[choices.ConsumeIntegralInRange<std::size_t>(0, records.size() - 1)];
  std::string changed(image);
  const std::size_t checksum = start + length - 2;
  const int old = std::stoi(changed.substr(checksum, 2), nullptr, 16);
  const int delta = choices.ConsumeIntegralInRange(1, 255);
  static const char *const kDigits = "0123456789ABCDEF";
  changed[checksum] = kDigits[((old + delta) & 0xFF) >> 4];
  changed[checksum + 1] = kDigits[(old + delta) & 0xF];
  VQ_PROPERTY(!Check(changed).Valid);

  // So is one with any single hex digit changed to another value.
  changed = image;
  const std::size_t at = start + choices.ConsumeIntegralInRange<std::size_t>(1, length - 1);
  const int digit = std::stoi(changed.substr(at, 1), nullptr, 16);
  changed[at] = kDigits[(digit + choices.ConsumeIntegralInRange(1, 15)) & 0xF];
  VQ_PROPERTY(!Check(changed).Valid);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  if (size == 0) {
    VQ_PROPERTY(!Check({}).Valid);
    return 0;
  }
  FuzzedDataProvider input(data + 1, size - 1);
  if (data[0] & 1) {
    // Any bytes: a verdict that holds still, and what follows from validity.
    const std::string image = input.ConsumeRandomLengthString(size);
    CheckVerdict(image, input);
    return 0;
  }
  std::size_t dataBytes = 0;
  const std::string image = BuildImage(input, dataBytes);
  const HexVerdict verdict = Check(image);
  VQ_PROPERTY(verdict.Valid == (dataBytes > 0) && verdict.DataBytes == dataBytes);
  CheckVerdict(image, input);
  return 0;
}
