#include "tests/support/recording_link.h"

#include "board/board_session.h"
#include "board/serial_access.h"

#include <cstdio>

namespace vq::test {

std::string Describe(const RecordedRequest &r) {
  char text[64];
  if (r.direction == 1 && r.length > 0)
    std::snprintf(text, sizeof text, "%02X in v=%X len=%d", r.code, r.value, r.length);
  else if (r.direction == 1)
    std::snprintf(text, sizeof text, "%02X in v=%X", r.code, r.value);
  else
    std::snprintf(text, sizeof text, "%02X out v=%X i=%X", r.code, r.value, r.index);
  return text;
}

std::vector<std::string> Describe(const std::vector<RecordedRequest> &requests) {
  std::vector<std::string> lines;
  for (const auto &request : requests)
    lines.push_back(Describe(request));
  return lines;
}

int16_t RecordingLink::ConnectAndDownload(BoardSession &session) {
  ++Downloads;
  DownloadedPath = reinterpret_cast<const char *>(session.FirmwarePathBuffer.data());
  return DownloadStatus;
}

int16_t RecordingLink::VendorRequest(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                                     uint8_t *buffer) {
  Requests.push_back({request, value, index, direction, length, buffer[0]});
  if (request == 0xDD && direction == 1 && length == 3) {
    const auto found = Registers.find(value & 0x7F);
    const int32_t content = found == Registers.end() ? 0 : found->second;
    buffer[0] = 0;
    buffer[1] = ReverseBits(static_cast<uint8_t>(content >> 8));
    buffer[2] = ReverseBits(static_cast<uint8_t>(content));
  } else if (request == 0xDA && length == 2) {
    int16_t sample = Sample;
    if (!EarlierSamples.empty()) {
      sample = EarlierSamples.front();
      EarlierSamples.pop_front();
    }
    buffer[0] = ReverseBits(static_cast<uint8_t>(static_cast<uint16_t>(sample) >> 8));
    buffer[1] = ReverseBits(static_cast<uint8_t>(sample));
  }
  return RequestStatus;
}

void RecordingLink::SetRegister(int16_t dacAddress, int16_t registerSelect, int32_t content) {
  Registers[registerSelect * 8 + dacAddress] = content;
}

QStringList RecordingLink::Take() {
  QStringList lines;
  for (const std::string &line : Describe(Requests))
    lines << QString::fromStdString(line);
  Requests.clear();
  return lines;
}

QStringList Read(int upperByte) {
  const QString line = QString::asprintf("DD in v=%X len=3", upperByte);
  return {line, line};
}

} // namespace vq::test
