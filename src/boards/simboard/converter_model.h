// The VQ8231 converter as the board's serial interface and control lines see
// it: four channels of registers, the function register, the word clocked out
// on SDO, and the LDAC, CLR, RSTIN, coding and D0/D1 lines.
#pragma once

#include "board/control_lines.h"
#include "simboard/sim_board_api.h"

#include <array>
#include <cstdint>

namespace vq::sim {

using vq::DigitalLine;

class ConverterModel {
public:
  ConverterModel() { PowerOn(); }

  // Power-on state: registers reset, control lines at their board defaults,
  // both digital lines driven by the board.
  void PowerOn();
  // The converter's supply cycled while the board stays powered: the
  // registers reset, the lines as the board goes on driving them.
  void CycleSupply() { ResetRegisters(); }

  // Shifts one 24-bit word in and returns the 24 bits clocked out on SDO
  // during that frame: the register a preceding read word asked for, zeros
  // after any other word, all ones while SDO is disabled (the line floats).
  uint32_t ShiftFrame(uint32_t word);

  // A pulse on LDAC: every DAC register takes its input register.
  void PulseLdac();

  void SetControlLines(const ControlLines &lines);
  // Request 0xDB/0xDC: true when the line is an input of the converter, so
  // the board drives it; false when the board lets go of it.
  void SetBoardDrives(DigitalLine line, bool boardDrives);

  ControlLines Lines() const { return lines_; }
  ChannelRegisters Registers(int channel) const { return channels_.at(channel); }
  uint8_t FunctionRegister() const { return function_; }
  DigitalLineState LineState(DigitalLine line) const;

  double OutputVoltage(int channel) const;
  void SetErrors(const std::array<ChannelErrors, ChannelCount> &errors) { errors_ = errors; }
  ChannelErrors Errors(int channel) const { return errors_.at(channel); }

private:
  void ResetRegisters();
  void Write(int select, int address, uint16_t data);
  uint16_t ReadBack(int select, int address) const;
  uint16_t FunctionReadBack() const;
  void Load(int channel);
  void LoadAll();
  void ClearDacs();
  template <typename Action> void ForAddressedChannels(int address, Action action);

  std::array<ChannelRegisters, ChannelCount> channels_{};
  std::array<ChannelErrors, ChannelCount> errors_{};
  uint8_t function_ = 0;
  uint32_t nextOut_ = 0;
  ControlLines lines_;
  bool boardDrivesD0_ = true;
  bool boardDrivesD1_ = true;
};

} // namespace vq::sim
