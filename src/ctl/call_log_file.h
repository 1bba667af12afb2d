// Every board library call written to a CSV file as it is made, in the
// columns and format of the Board Activity window's "Save As...": the exact
// sequence of words a script sent, to compare or to copy into firmware.
#pragma once

#include "board/board_call.h"

#include <chrono>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

namespace vq::ctl {

class CallLogFile : public BoardCallListener {
public:
  // Opens (and empties) the file and writes the header row; IsOpen() says
  // whether that worked.
  explicit CallLogFile(const std::string &path);
  bool IsOpen() const { return out_.good(); }

  // One row per call, flushed at once: a run that ends early keeps every
  // call made before.
  void OnBoardCall(const BoardCall &call) override;

private:
  std::ofstream out_;
  uint64_t next_ = 0;
  std::optional<BoardCall> previous_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

} // namespace vq::ctl
