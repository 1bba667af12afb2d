// The levels of the board's control lines, as request 0xDE carries them:
// LDAC, CLR, the coding line and RSTIN in bits 4..1 of the request's value,
// the levels the board drives on D1 and D0 in bits 1 and 0 of its index.
// Every request sends all of them.
#pragma once

#include <cstdint>

namespace vq {

// The two digital lines of the converter, D0 and D1: each is driven either by
// the converter (an output of it) or by the board (an input of it).
enum class DigitalLine { D0, D1 };

struct ControlLines {
  static constexpr int32_t LdacBit = 1 << 4;
  static constexpr int32_t ClrBit = 1 << 3;
  static constexpr int32_t BinaryCodingBit = 1 << 2;
  static constexpr int32_t RstinBit = 1 << 1;
  // The value's other bits are no lines the program switches: bits 7 and 0
  // always go high, bits 6 and 5 low, as the board firmware expects them.
  static constexpr int32_t FixedBitsMask = 0xE1;
  static constexpr int32_t FixedBits = 0x81;

  static constexpr int32_t DriveD1Bit = 1 << 1;
  static constexpr int32_t DriveD0Bit = 1 << 0;

  bool Ldac = true;
  bool Clr = true;
  bool BinaryCoding = true; // high: offset binary coding; low: two's complement
  bool Rstin = true;
  bool DriveD1 = false; // the level the board drives on D1 while it drives the line
  bool DriveD0 = false;

  constexpr int32_t RequestValue() const {
    return FixedBits | (Ldac ? LdacBit : 0) | (Clr ? ClrBit : 0) | (BinaryCoding ? BinaryCodingBit : 0) |
           (Rstin ? RstinBit : 0);
  }
  constexpr int32_t RequestIndex() const { return (DriveD1 ? DriveD1Bit : 0) | (DriveD0 ? DriveD0Bit : 0); }

  // The lines a request sets; the fixed bits are not looked at.
  static constexpr ControlLines FromRequest(int32_t value, int32_t index) {
    ControlLines lines;
    lines.Ldac = (value & LdacBit) != 0;
    lines.Clr = (value & ClrBit) != 0;
    lines.BinaryCoding = (value & BinaryCodingBit) != 0;
    lines.Rstin = (value & RstinBit) != 0;
    lines.DriveD1 = (index & DriveD1Bit) != 0;
    lines.DriveD0 = (index & DriveD0Bit) != 0;
    return lines;
  }

  constexpr bool operator==(const ControlLines &) const = default;
};

} // namespace vq
