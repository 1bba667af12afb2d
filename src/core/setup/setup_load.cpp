#include "setup/setup_load.h"

#include "boardlog/register_values.h"

#include <cstdio>

namespace vq {

namespace {

constexpr DigitalLine Lines[] = {DigitalLine::D0, DigitalLine::D1};

bool IsOutput(const FunctionWord &word, DigitalLine line) {
  return line == DigitalLine::D0 ? word.D0Output : word.D1Output;
}

std::string Hex(uint16_t code, WordAddress address) {
  char text[8];
  std::snprintf(text, sizeof text, RegisterMask(address) > 0xFF ? "0x%04X" : "0x%02X", static_cast<unsigned>(code));
  return text;
}

// The bits a read-back must show as written: on a line that is an input of
// the converter the level bit is the level it reads, not the one written.
uint16_t ComparedBits(WordAddress address, const std::optional<FunctionWord> &function) {
  uint16_t mask = RegisterMask(address);
  if (address.IsFunctionGroup() && function) {
    if (!function->D0Output)
      mask &= static_cast<uint16_t>(~FunctionWord::D0HighBit);
    if (!function->D1Output)
      mask &= static_cast<uint16_t>(~FunctionWord::D1HighBit);
  }
  return mask;
}

void WriteFunction(SerialAccess &serial, const FunctionWord &options) {
  for (DigitalLine line : Lines)
    if (IsOutput(options, line))
      serial.TakeLineDirection(line, false);
  serial.WriteRegister(Command::FunctionRegister, options.Bits(), false);
  for (DigitalLine line : Lines)
    if (!IsOutput(options, line))
      serial.TakeLineDirection(line, true);
}

void WriteChannels(SerialAccess &serial, const BoardSetup &setup) {
  for (Channel channel : {Channel::A, Channel::B, Channel::C, Channel::D})
    for (Register reg : {Register::CoarseGain, Register::FineGain, Register::Offset, Register::Data})
      if (const std::optional<uint16_t> code = setup.Code({reg, channel}))
        serial.WriteRegister({reg, channel}, *code, reg == Register::Data);
}

void ReadBack(SerialAccess &serial, const BoardSetup &setup, SetupLoadReport &report) {
  const std::optional<FunctionWord> function = setup.Function();
  std::optional<FunctionWord> readable = function;
  if (function && function->SdoDisabled) {
    readable->SdoDisabled = false;
    serial.WriteRegister(Command::FunctionRegister, readable->Bits(), false);
  }
  for (WordAddress address : ReadableRegisters) {
    std::optional<uint16_t> wrote = setup.Code(address);
    if (!wrote)
      continue;
    if (address.IsFunctionGroup())
      wrote = readable->Bits();
    const Reading<int32_t> read = serial.ReadRegister(address);
    const std::string title = RegisterLongTitle(address) + ": wrote " + Hex(*wrote, address);
    if (!read.Answered()) {
      report.Differences.push_back(title + ", could not be read back");
      continue;
    }
    const uint16_t mask = ComparedBits(address, function);
    const auto reads = static_cast<uint16_t>(read.Value & RegisterMask(address));
    if ((reads & mask) != (*wrote & mask))
      report.Differences.push_back(title + ", reads " + Hex(reads, address));
  }
  if (function && function->SdoDisabled)
    serial.WriteRegister(Command::FunctionRegister, function->Bits(), false);
}

std::string Joined(const std::vector<std::string> &items, const char *separator) {
  std::string text;
  for (const std::string &item : items)
    text += (text.empty() ? "" : separator) + item;
  return text;
}

} // namespace

std::string SetupLoadReport::Summary() const {
  std::string text;
  if (!Differences.empty())
    text += "Read back otherwise than loaded: " + Joined(Differences, "; ") + ".";
  if (!NotRestored.empty())
    text += std::string(text.empty() ? "" : " ") + "Not restored (never known): " + Joined(NotRestored, ", ") + ".";
  if (ReadBackSkipped)
    text += std::string(text.empty() ? "" : " ") + "RSTIN is low as loaded, so nothing was read back.";
  return text;
}

SetupLoadReport LoadSetup(SerialAccess &serial, const BoardSetup &setup) {
  SetupLoadReport report;
  for (WordAddress address : ReadableRegisters)
    if (!setup.Code(address))
      report.NotRestored.push_back(RegisterLongTitle(address));

  ControlLines awake = setup.Lines;
  awake.Rstin = true;
  awake.Clr = true;
  awake.Ldac = true;
  serial.SetControlLines(awake);
  if (const std::optional<FunctionWord> function = setup.Function())
    WriteFunction(serial, *function);
  WriteChannels(serial, setup);
  serial.SetControlLines(setup.Lines);

  if (!setup.Lines.Rstin)
    report.ReadBackSkipped = true;
  else
    ReadBack(serial, setup, report);
  return report;
}

} // namespace vq
