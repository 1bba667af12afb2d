// The routines through which every word reaches the converter and every
// read-back, sample and control-line change comes from the board. Each one
// becomes one or two vendor requests on the board link.
#pragma once

#include "board/board_link.h"

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

// What the serial access needs from the main window: the "Pulse After Data
// Write" choice, and a place to show the R/W bit of the word last sent.
class RegisterAccessView {
public:
  virtual ~RegisterAccessView() = default;
  virtual bool PulseAfterDataWrite() const = 0;
  virtual void ShowReadWriteBit(int16_t bit) = 0;
};

// The two digital lines whose direction the board takes.
enum class DigitalLine { D0, D1 };

uint8_t ReverseBits(uint8_t byte);

class SerialAccess {
public:
  SerialAccess(BoardLink &link, RegisterAccessView &view) : link_(link), view_(view) {}

  void WriteRegister(int16_t dacAddress, int16_t registerSelect, int32_t data);
  int32_t ReadRegister(int16_t dacAddress, int16_t registerSelect); // 0 to 65535
  void SetControlPins();
  int16_t ReadBoardSample();
  // Requests 0xDB (D0) and 0xDC (D1): value 1 when the line becomes an input
  // of the converter, 0 when it becomes an output.
  void TakeLineDirection(DigitalLine line, bool inputOfConverter);

  ControlPinState ControlPins;
  int16_t ReadWriteBit = 0;
  int16_t LastRequestStatus = 0;
  std::array<uint8_t, 4> ReadBuffer{}; // kept between reads

private:
  void Request(uint8_t code, int32_t value, int32_t index, uint8_t direction);
  static int32_t UpperByte(int16_t readWrite, int16_t dacAddress, int16_t registerSelect);

  BoardLink &link_;
  RegisterAccessView &view_;
};

} // namespace vq
