#include "board/word_names.h"

#include "board/registers.h"

#include <cstdio>

namespace vq {

namespace {

std::string Format(const char *pattern, int value) {
  char text[48];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

} // namespace

std::string ChannelName(int address) {
  if (address >= CodeOf(Channel::A) && address <= CodeOf(Channel::D))
    return std::string("DAC ") + static_cast<char>('A' + address);
  if (address == CodeOf(Channel::All))
    return "ALL DACs";
  return Format("address %d", address);
}

std::string RegisterName(int select) {
  switch (select) {
  case FunctionGroupSelect:
    return "function register";
  case CodeOf(Register::Data):
    return "data register";
  case CodeOf(Register::CoarseGain):
    return "coarse gain register";
  case CodeOf(Register::FineGain):
    return "fine gain register";
  case CodeOf(Register::Offset):
    return "offset register";
  default:
    return Format("register select %d (no register)", select);
  }
}

std::string WordTarget(int select, int address) {
  if (select != FunctionGroupSelect)
    return RegisterName(select) + ", " + ChannelName(address);
  switch (address) {
  case CodeOf(Command::NoOperation):
    return "no operation";
  case CodeOf(Command::FunctionRegister):
    return "function register";
  case CodeOf(Command::ClearAll):
    return "clear all DACs";
  case CodeOf(Command::LoadAll):
    return "load all DACs";
  default:
    return Format("function code %d (does nothing)", address);
  }
}

std::string DescribeWord(uint32_t word) {
  const int select = static_cast<int>(word >> 19 & 7);
  const int address = static_cast<int>(word >> 16 & 7);
  return std::string((word >> 23 & 1) != 0 ? "read, " : "write, ") + WordTarget(select, address) +
         Format(", data 0x%04X", static_cast<int>(word & 0xFFFF));
}

} // namespace vq
