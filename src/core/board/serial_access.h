// The routines through which every word reaches the converter and every
// read-back, sample and control-line change comes from the board. Each one
// becomes one or two vendor requests on the board link. They keep only what
// they learnt from the requests themselves; the levels to send are the
// caller's.
#pragma once

#include "board/board_link.h"
#include "board/control_lines.h"
#include "board/registers.h"

#include <array>
#include <cstdint>

namespace vq {

class SerialAccess {
public:
  explicit SerialAccess(BoardLink &link) : link_(link) {}

  // Sends the word with R/W 0. With `pulseAfterWrite` the board pulses LDAC
  // after shifting it in; a function group word never pulses.
  void WriteRegister(WordAddress address, int32_t data, bool pulseAfterWrite);
  // Sends the word with R/W 1 and returns what the register holds, 0 to 65535.
  int32_t ReadRegister(WordAddress address);
  // Request 0xDE with every line's level.
  void SetControlLines(const ControlLines &lines);
  int16_t ReadBoardSample();
  // Requests 0xDB (D0) and 0xDC (D1): value 1 when the line becomes an input
  // of the converter, 0 when it becomes an output.
  void TakeLineDirection(DigitalLine line, bool inputOfConverter);

  ReadWrite ReadWriteBit = ReadWrite::Write; // of the word last sent
  int16_t LastRequestStatus = 0;
  std::array<uint8_t, 4> ReadBuffer{}; // kept between reads

private:
  void Request(uint8_t code, int32_t value, int32_t index, uint8_t direction);

  BoardLink &link_;
};

} // namespace vq
