// A board link that records every request, for unit and window tests alike
// (no Qt). On its own it plays a board: reads are answered from a table of
// register contents, samples from a queue, each byte bit-reversed as the board
// returns it. Given another link, it passes every request on to that one and
// records what went and came back.
#pragma once

#include "board/board_link.h"
#include "board/registers.h"

#include <cstdint>
#include <deque>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace vq::test {

struct RecordedRequest {
  uint8_t Code;
  int32_t Value;
  int32_t Index;
  uint8_t Direction;
  int16_t Length;
  uint8_t FirstByte; // the buffer's first byte as handed over
  bool operator==(const RecordedRequest &) const = default;
};

// "DD out v=14 i=FFFF" for writes, "DD in v=81 len=3" for reads.
std::string Describe(const RecordedRequest &request);
std::vector<std::string> Describe(const std::vector<RecordedRequest> &requests);
std::ostream &operator<<(std::ostream &out, const RecordedRequest &request); // as Describe, and the first byte

// The two identical transfers of one register read, described.
std::vector<std::string> ReadLines(WordAddress address);

class RecordingLink : public BoardLink {
public:
  // A board of its own; the earlier build's library counts a download status
  // of 1 or more as success.
  explicit RecordingLink(bool earlierBuild = false) : earlierBuild_(earlierBuild) {}
  // Records what passes to `board` and back. The simulated board's view is
  // not handed on: the front panel stays closed. The board's session steps
  // (search, connect, download) reach this link's listeners as the board
  // reports them.
  explicit RecordingLink(BoardLink &board) : board_(&board) {}

  int16_t ConnectAndDownload(BoardSession &session) override;
  bool DownloadSucceeded(int16_t status) const override;

  // What the recording board does with one request. Tests that look in on
  // requests as they arrive override it; it runs after the request was
  // recorded and before the link's listener hears of it.
  virtual int16_t Answer(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                         uint8_t *buffer);

  // The content a read of this register returns (0 for registers not set).
  void SetRegister(WordAddress address, int32_t content);
  // Names its statuses by the one status table, as our libraries do.
  void NameStatusesByTable();
  std::vector<std::string> Take(); // the requests described, and forget them

  int16_t DownloadStatus = 0;
  // Bytes the next requests that return bytes deliver, before anything else
  // and whatever their status.
  std::deque<std::vector<uint8_t>> Answers;
  std::deque<int16_t> EarlierSamples; // answered first, one per request 0xDA
  int16_t Sample = 0;                 // what request 0xDA returns after them
  int16_t RequestStatus = 0;          // of every request; while it is not 0 only Answers deliver bytes
  int Downloads = 0;
  std::string DownloadedPath;
  std::vector<RecordedRequest> Requests;

protected:
  int16_t Transfer(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                   uint8_t *buffer) override;

private:
  // Hands the passed-on board's session steps to this link's listeners.
  struct SessionSteps : BoardCallListener {
    explicit SessionSteps(RecordingLink &link) : link_(link) {}
    void OnBoardCall(const BoardCall &call) override {
      if (call.Kind != BoardCallKind::Request)
        link_.Report(call);
    }
    RecordingLink &link_;
  };

  BoardLink *board_ = nullptr;
  SessionSteps sessionSteps_{*this};
  bool earlierBuild_ = false;
  std::map<int, int32_t> registers_; // key: the word's upper byte with R/W 0
};

} // namespace vq::test
