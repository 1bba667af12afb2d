// A board link that records every request and answers reads from a table of
// register contents, as the board returns them (each byte bit-reversed).
#pragma once

#include "board/board_link.h"

#include <QStringList>

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace vq::test {

struct RecordedRequest {
  uint8_t code;
  int32_t value;
  int32_t index;
  uint8_t direction;
  int16_t length;
  uint8_t firstByte; // the buffer's first byte as handed over
};

// "DD out v=14 i=FFFF" for writes, "DD in v=81 len=3" for reads.
std::string Describe(const RecordedRequest &request);
std::vector<std::string> Describe(const std::vector<RecordedRequest> &requests);

// The two identical transfers of one register read.
QStringList Read(int upperByte);

class RecordingLink : public BoardLink {
public:
  explicit RecordingLink(bool earlierBuild = false) : earlierBuild_(earlierBuild) {}

  int16_t ConnectAndDownload(BoardSession &session) override;
  bool DownloadSucceeded(int16_t status) const override { return earlierBuild_ ? status >= 1 : status == 0; }
  // What the recording board does with one request. Tests that look in on
  // requests as they arrive override it; calls through BoardLink reach it by
  // way of Transfer, so the link's listener hears of every one.
  virtual int16_t VendorRequest(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                                uint8_t *buffer);

  // The content a read of this register returns (0 for registers not set).
  void SetRegister(int16_t dacAddress, int16_t registerSelect, int32_t content);
  QStringList Take(); // the requests described, and forget them

  int16_t DownloadStatus = 0;
  std::deque<int16_t> EarlierSamples; // answered first, one per request 0xDA
  int16_t Sample = 0;                 // what request 0xDA returns after them
  int16_t RequestStatus = 0;
  int Downloads = 0;
  std::string DownloadedPath;
  std::vector<RecordedRequest> Requests;
  std::map<int, int32_t> Registers; // key: register select * 8 + address

protected:
  int16_t Transfer(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                   uint8_t *buffer) override {
    return VendorRequest(request, value, index, direction, length, buffer);
  }

private:
  bool earlierBuild_;
};

} // namespace vq::test
