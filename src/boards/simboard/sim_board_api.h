// The C++ view of the simulated board that its libraries hand out beside the
// vendor interface: read the analog outputs, registers and lines, set the die
// temperature and the error seed. Tests and a monitor window reach it through
// the exported accessor, so it is an abstract class: calls run the library's
// own code and the caller needs nothing but this header. No Qt.
#pragma once

#include "board/control_lines.h"

#include <cstdint>
#include <string>

namespace vq::sim {

constexpr int ChannelCount = 4;

// The seed both libraries start with (and return to on PowerCycle): non-zero,
// so a calibration has real errors to correct.
constexpr uint32_t DefaultErrorSeed = 8231;
constexpr double DefaultDieTemperature = 25.0; // degrees Celsius

struct ChannelRegisters {
  uint16_t Input = 0; // what the last data write put in
  uint16_t Dac = 0;   // what the output follows
  uint8_t Coarse = 0; // 2 bits
  uint8_t Fine = 0;   // 6 bits, two's complement
  uint8_t Offset = 0; // 8 bits, two's complement eighths of an LSB
};

// Per-channel errors of the simulated converter, fixed by the error seed.
struct ChannelErrors {
  double OffsetVolts = 0; // added to the output
  double GainError = 0;   // relative span error (0.0001 = +100 ppm)
};

// Levels of the board's control lines as the last request 0xDE set them.
using vq::ControlLines;

// Who drives a digital line: the converter (function register says output),
// the board (its last 0xDB/0xDC said input of the converter), both or none.
enum class LineDriver { None, Converter, Board, Both };

struct DigitalLineState {
  LineDriver Driver = LineDriver::Board;
  bool Level = false; // the level the converter reads back
};

class BoardControl {
public:
  // Channel arguments are 0..3 (DAC A..D); others throw std::out_of_range.
  virtual double OutputVoltage(int channel) const = 0;
  virtual ChannelRegisters Registers(int channel) const = 0;
  virtual ChannelErrors Errors(int channel) const = 0;
  virtual uint8_t FunctionRegister() const = 0; // as written (6 bits)
  virtual ControlLines Lines() const = 0;
  virtual DigitalLineState D0() const = 0;
  virtual DigitalLineState D1() const = 0;
  virtual bool FirmwareRunning() const = 0;
  // Why the last firmware download failed; empty after a successful one.
  virtual std::string FirmwareProblem() const = 0;

  // Throws std::invalid_argument for a non-finite temperature.
  virtual void SetDieTemperature(double celsius) = 0;
  virtual double DieTemperature() const = 0;
  // Seed 0 = an ideal converter. Takes effect at once.
  virtual void SetErrorSeed(uint32_t seed) = 0;
  virtual uint32_t ErrorSeed() const = 0;

  // Back to the state after the library was loaded: no connection, no
  // firmware, power-on registers, default lines, temperature and seed.
  virtual void PowerCycle() = 0;
  // The converter's supply cycled alone: its registers back to their
  // power-on codes, while the board keeps its connection, its firmware, the
  // lines it drives, the temperature and the seed.
  virtual void PowerCycleConverter() = 0;

  // The board's USB cable. Unplugged, the board is off the bus: the search
  // finds nothing, and every other call fails as for a board that left the
  // bus (BoardStatus::Gone), until it is plugged in again. A board plugged
  // back in has been without power: no firmware, no connection, and the
  // converter at its power-on registers; the error seed and the die
  // temperature are the board's and stay.
  virtual void SetPluggedIn(bool pluggedIn) = 0;
  virtual bool PluggedIn() const = 0;

protected:
  ~BoardControl() = default; // owned by the library, never deleted by a caller
};

} // namespace vq::sim

// The accessor that hands this view out is declared with the other entry
// points in board/board_library.h.
