// The routines through which every word reaches the converter and every
// read-back, sample and control-line change comes from the board. Each one
// becomes one or two vendor requests on the board link and returns the
// request's status; a read returns what it read only with a status that says
// it was read. They keep only what they learnt from the requests themselves;
// the levels to send are the caller's.
#pragma once

#include "board/board_call.h"
#include "board/board_link.h"
#include "board/board_status.h"
#include "board/control_lines.h"
#include "board/registers.h"

#include <array>
#include <cstdint>
#include <optional>

namespace vq {

// What a read delivered. Value holds what the buffer held after the request;
// it means nothing unless Answered().
template <typename T> struct Reading {
  T Value = 0;
  BoardStatus Status = BoardStatus::Success;
  bool Answered() const { return Status == BoardStatus::Success; }
};

// A status as the library returned it, typed; a value outside the table
// (a board maker's library has its own) keeps its number.
constexpr BoardStatus TypedStatus(int32_t status) {
  return static_cast<BoardStatus>(static_cast<int16_t>(status));
}

class SerialAccess {
public:
  explicit SerialAccess(BoardLink &link) : link_(link) {}

  // Sends the word with R/W 0. With `pulseAfterWrite` the board pulses LDAC
  // after shifting it in; a function group word never pulses.
  BoardStatus WriteRegister(WordAddress address, int32_t data, bool pulseAfterWrite);
  // Sends the word with R/W 1 and returns what the register holds, 0 to
  // 65535. Both transfers must succeed for the register to count as read.
  Reading<int32_t> ReadRegister(WordAddress address);
  // Request 0xDE with every line's level.
  BoardStatus SetControlLines(const ControlLines &lines);
  Reading<int16_t> ReadBoardSample();
  // Requests 0xDB (D0) and 0xDC (D1): value 1 when the line becomes an input
  // of the converter, 0 when it becomes an output.
  BoardStatus TakeLineDirection(DigitalLine line, bool inputOfConverter);

  // The first request that failed since ForgetFailure, as the board link
  // would report it (with the library's words when it names its statuses).
  // A caller that runs one action of several requests forgets before it and
  // looks here after it.
  const std::optional<BoardCall> &FirstFailure() const { return firstFailure_; }
  void ForgetFailure() { firstFailure_.reset(); }

  ReadWrite ReadWriteBit = ReadWrite::Write; // of the word last sent
  int16_t LastRequestStatus = 0;
  std::array<uint8_t, 4> ReadBuffer{}; // kept between reads

private:
  BoardStatus Request(uint8_t code, int32_t value, int32_t index, uint8_t direction, int16_t length, uint8_t *buffer);

  BoardLink &link_;
  std::optional<BoardCall> firstFailure_;
};

} // namespace vq
