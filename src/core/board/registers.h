// The converter's registers, the commands of its function group and its
// channels, as the 24-bit serial word addresses them: bit 23 R/W, bit 22
// always 0, bits 21..19 register select, bits 18..16 DAC address.
#pragma once

#include <cstdint>

namespace vq {

// A channel's registers (register select 2 to 5).
enum class Register : uint8_t { Data = 2, CoarseGain = 3, FineGain = 4, Offset = 5 };

// Register select 0: the DAC address field chooses a command instead.
enum class Command : uint8_t { NoOperation = 0, FunctionRegister = 1, ClearAll = 4, LoadAll = 5 };

enum class Channel : uint8_t { A = 0, B = 1, C = 2, D = 3, All = 4 };

enum class ReadWrite : uint8_t { Write = 0, Read = 1 };

// The code a field of the word carries for a register, a command or a channel.
constexpr uint8_t CodeOf(Register reg) {
  return static_cast<uint8_t>(reg);
}
constexpr uint8_t CodeOf(Command command) {
  return static_cast<uint8_t>(command);
}
constexpr uint8_t CodeOf(Channel channel) {
  return static_cast<uint8_t>(channel);
}

// Register select 0: the function group, whose address field holds a command.
constexpr uint8_t FunctionGroupSelect = 0;

// What a word addresses: a register of a channel (or of all), or a command of
// the function group. It holds the two fields as the word carries them, so a
// command's address field can be taken as a channel where the program keeps
// it for the next register choice.
class WordAddress {
public:
  constexpr WordAddress(Register reg, Channel channel)
      : select_(static_cast<uint8_t>(reg)), address_(static_cast<uint8_t>(channel)) {}
  constexpr WordAddress(Command command) : select_(FunctionGroupSelect), address_(static_cast<uint8_t>(command)) {}

  constexpr uint8_t SelectBits() const { return select_; }
  constexpr uint8_t AddressBits() const { return address_; }
  constexpr bool IsFunctionGroup() const { return select_ == FunctionGroupSelect; }
  constexpr Channel AddressedChannel() const { return static_cast<Channel>(address_); }
  // The same register select with another DAC address.
  constexpr WordAddress WithChannel(Channel channel) const {
    WordAddress changed = *this;
    changed.address_ = static_cast<uint8_t>(channel);
    return changed;
  }
  constexpr bool operator==(const WordAddress &) const = default;

private:
  uint8_t select_;
  uint8_t address_;
};

// The coarse gain register that tells a channel's output range; with all
// channels addressed, DAC A's stands for them.
constexpr WordAddress RangeRegisterOf(Channel channel) {
  return {Register::CoarseGain, channel == Channel::All ? Channel::A : channel};
}

// The fields of a 24-bit word as it travels, whatever codes they hold: a
// word from outside the program may select no register or no channel.
struct WordFields {
  bool Read = false;
  bool Bit22 = false; // always 0 in a word the program composes
  uint8_t SelectBits = 0;
  uint8_t AddressBits = 0;
  uint16_t Data = 0;

  static constexpr WordFields Of(uint32_t word) {
    WordFields fields;
    fields.Read = (word >> 23 & 1) != 0;
    fields.Bit22 = (word >> 22 & 1) != 0;
    fields.SelectBits = static_cast<uint8_t>(word >> 19 & 7);
    fields.AddressBits = static_cast<uint8_t>(word >> 16 & 7);
    fields.Data = static_cast<uint16_t>(word & 0xFFFF);
    return fields;
  }
};

// Bits 23..16 of the word: carried as the request value.
constexpr uint8_t UpperByte(ReadWrite readWrite, WordAddress address) {
  return static_cast<uint8_t>(static_cast<uint8_t>(readWrite) << 7 | address.SelectBits() << 3 | address.AddressBits());
}

} // namespace vq
