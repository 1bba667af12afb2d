// The converter's function register word: six options, one bit each. Every
// writer of the function register sends all six, the read-back shows them
// (with the levels the converter reads on D0 and D1), and the board activity
// names them; all of them take the bits from here.
#pragma once

#include <cstdint>

namespace vq {

struct FunctionWord {
  static constexpr uint16_t SdoDisabledBit = 1 << 0;
  static constexpr uint16_t D0HighBit = 1 << 1;
  static constexpr uint16_t D0OutputBit = 1 << 2;
  static constexpr uint16_t D1HighBit = 1 << 3;
  static constexpr uint16_t D1OutputBit = 1 << 4;
  static constexpr uint16_t LocalGroundOffsetAdjustBit = 1 << 5;
  // Bits 15..6 carry nothing and are always written as 0.
  static constexpr uint16_t OptionBits = 0x3F;

  bool SdoDisabled = false;
  bool D0High = false;   // the level the converter drives on D0 (or reads there)
  bool D0Output = false; // the converter drives D0
  bool D1High = false;
  bool D1Output = false;
  bool LocalGroundOffsetAdjust = false;

  // The options of a word as written or read back; bits 15..6 are dropped.
  static constexpr FunctionWord FromBits(uint32_t bits) {
    FunctionWord word;
    word.SdoDisabled = (bits & SdoDisabledBit) != 0;
    word.D0High = (bits & D0HighBit) != 0;
    word.D0Output = (bits & D0OutputBit) != 0;
    word.D1High = (bits & D1HighBit) != 0;
    word.D1Output = (bits & D1OutputBit) != 0;
    word.LocalGroundOffsetAdjust = (bits & LocalGroundOffsetAdjustBit) != 0;
    return word;
  }

  constexpr uint16_t Bits() const {
    return static_cast<uint16_t>((SdoDisabled ? SdoDisabledBit : 0) | (D0High ? D0HighBit : 0) |
                                 (D0Output ? D0OutputBit : 0) | (D1High ? D1HighBit : 0) |
                                 (D1Output ? D1OutputBit : 0) |
                                 (LocalGroundOffsetAdjust ? LocalGroundOffsetAdjustBit : 0));
  }

  constexpr bool operator==(const FunctionWord &) const = default;
};

} // namespace vq
