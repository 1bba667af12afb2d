// The routines through which every word reaches the converter and every
// read-back, sample and control-line change comes from the board. Each one
// becomes one or two vendor requests on the board link.
#pragma once

#include "board/board_link.h"
#include "board/registers.h"

#include <array>
#include <cstdint>

namespace vq {

// Levels of the board's control lines, sent together with request 0xDE.
// Flags hold 0 or 1; the fixed ones never change.
struct ControlPinState {
  int16_t Bit7 = 1; // fixed
  int16_t Bit6 = 0; // fixed
  int16_t Bit5 = 0; // fixed
  int16_t LdacPin = 1;
  int16_t ClrPin = 1;
  int16_t BinCoding = 1; // 1 binary (offset) coding, 0 two's complement
  int16_t RstinPin = 1;
  int16_t Bit0 = 1; // fixed
  int16_t DriveD1 = 0;
  int16_t DriveD0 = 0;

  int32_t RequestValue() const {
    return 128 * Bit7 + 64 * Bit6 + 32 * Bit5 + 16 * LdacPin + 8 * ClrPin + 4 * BinCoding + 2 * RstinPin + Bit0;
  }
  int32_t RequestIndex() const { return 2 * DriveD1 + DriveD0; }
};

// The two digital lines whose direction the board takes.
enum class DigitalLine { D0, D1 };

uint8_t ReverseBits(uint8_t byte);

class SerialAccess {
public:
  explicit SerialAccess(BoardLink &link) : link_(link) {}

  // Sends the word with R/W 0. With `pulseAfterWrite` the board pulses LDAC
  // after shifting it in; a function group word never pulses.
  void WriteRegister(WordAddress address, int32_t data, bool pulseAfterWrite);
  // Sends the word with R/W 1 and returns what the register holds, 0 to 65535.
  int32_t ReadRegister(WordAddress address);
  void SetControlPins();
  int16_t ReadBoardSample();
  // Requests 0xDB (D0) and 0xDC (D1): value 1 when the line becomes an input
  // of the converter, 0 when it becomes an output.
  void TakeLineDirection(DigitalLine line, bool inputOfConverter);

  ControlPinState ControlPins;
  ReadWrite ReadWriteBit = ReadWrite::Write; // of the word last sent
  int16_t LastRequestStatus = 0;
  std::array<uint8_t, 4> ReadBuffer{}; // kept between reads

private:
  void Request(uint8_t code, int32_t value, int32_t index, uint8_t direction);

  BoardLink &link_;
};

} // namespace vq
