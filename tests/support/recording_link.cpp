#include "tests/support/recording_link.h"

#include "board/board_library.h"
#include "board/board_session.h"
#include "board/board_status.h"
#include "board/read_back.h"

#include <algorithm>
#include <cstdio>

namespace vq::test {

std::string Describe(const RecordedRequest &r) {
  char text[64];
  if (r.Direction == 1 && r.Length > 0)
    std::snprintf(text, sizeof text, "%02X in v=%X len=%d", r.Code, r.Value, r.Length);
  else if (r.Direction == 1)
    std::snprintf(text, sizeof text, "%02X in v=%X", r.Code, r.Value);
  else
    std::snprintf(text, sizeof text, "%02X out v=%X i=%X", r.Code, r.Value, r.Index);
  return text;
}

std::vector<std::string> Describe(const std::vector<RecordedRequest> &requests) {
  std::vector<std::string> lines;
  for (const auto &request : requests)
    lines.push_back(Describe(request));
  return lines;
}

std::ostream &operator<<(std::ostream &out, const RecordedRequest &request) {
  return out << Describe(request) << " (first byte " << int{request.FirstByte} << ")";
}

std::vector<std::string> ReadLines(WordAddress address) {
  const std::string line = Describe({VQ_REQ_SHIFT_WORD, UpperByte(ReadWrite::Read, address), 0, 1, 3, 0});
  return {line, line};
}

int16_t RecordingLink::ConnectAndDownload(BoardSession &session) {
  if (board_ != nullptr) {
    board_->AddCallListener(&sessionSteps_);
    const int16_t status = board_->ConnectAndDownload(session);
    board_->RemoveCallListener(&sessionSteps_);
    return status;
  }
  ++Downloads;
  DownloadedPath = reinterpret_cast<const char *>(session.FirmwarePathBuffer.data());
  return DownloadStatus;
}

bool RecordingLink::DownloadSucceeded(int16_t status) const {
  if (board_ != nullptr)
    return board_->DownloadSucceeded(status);
  return earlierBuild_ ? status >= 1 : status == 0;
}

int16_t RecordingLink::Transfer(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                                uint8_t *buffer) {
  Requests.push_back({request, value, index, direction, length, buffer[0]});
  return Answer(request, value, index, direction, length, buffer);
}

int16_t RecordingLink::Answer(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                              uint8_t *buffer) {
  if (board_ != nullptr)
    return board_->VendorRequest(request, value, index, direction, length, buffer);
  if (direction == 1 && length > 0 && !Answers.empty()) {
    const std::vector<uint8_t> bytes = Answers.front();
    Answers.pop_front();
    std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(length)), buffer);
  } else if (RequestStatus != 0) {
    // A request that fails delivers nothing of its own.
  } else if (request == VQ_REQ_SHIFT_WORD && direction == 1 && length == 3) {
    const auto found = registers_.find(value & 0x7F);
    const int32_t content = found == registers_.end() ? 0 : found->second;
    buffer[0] = 0;
    buffer[1] = ReverseBits(static_cast<uint8_t>(content >> 8));
    buffer[2] = ReverseBits(static_cast<uint8_t>(content));
  } else if (request == VQ_REQ_SAMPLE && length == 2) {
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

void RecordingLink::NameStatusesByTable() {
  NameStatusesWith([](int32_t status) { return BoardStatusText(status); });
}

void RecordingLink::SetRegister(WordAddress address, int32_t content) {
  registers_[UpperByte(ReadWrite::Write, address)] = content;
}

std::vector<std::string> RecordingLink::Take() {
  std::vector<std::string> lines = Describe(Requests);
  Requests.clear();
  return lines;
}

} // namespace vq::test
