#include "simboard/converter_model.h"

#include "board/function_word.h"
#include "simboard/output_stage.h"

namespace vq::sim {

namespace {

constexpr uint32_t WordMask = 0xFFFFFF;
constexpr uint32_t ReadBit = 0x800000;

// Register select codes.
constexpr int SelectFunction = 0;
constexpr int SelectData = 2;
constexpr int SelectCoarse = 3;
constexpr int SelectFine = 4;
constexpr int SelectOffset = 5;

// Address codes with register select 0.
constexpr int FunctionNoOperation = 0;
constexpr int FunctionRegisterAddress = 1;
constexpr int FunctionClearAll = 4;
constexpr int FunctionLoadAll = 5;

constexpr int AllChannels = 4;

DigitalLineState Line(bool converterDrives, bool writtenLevel, bool boardDrives, bool boardLevel) {
  DigitalLineState state;
  if (converterDrives) {
    // The converter reads back its own level, even if the board fights it.
    state.Driver = boardDrives ? LineDriver::Both : LineDriver::Converter;
    state.Level = writtenLevel;
  } else if (boardDrives) {
    state.Driver = LineDriver::Board;
    state.Level = boardLevel;
  } else {
    // Nobody drives: the line is pulled low.
    state.Driver = LineDriver::None;
    state.Level = false;
  }
  return state;
}

} // namespace

void ConverterModel::PowerOn() {
  lines_ = ControlLines{};
  boardDrivesD0_ = true;
  boardDrivesD1_ = true;
  ResetRegisters();
}

void ConverterModel::ResetRegisters() {
  const uint16_t zero = ZeroVoltCode(lines_.BinaryCoding);
  for (ChannelRegisters &channel : channels_)
    channel = ChannelRegisters{zero, zero, 0, 0, 0};
  function_ = 0;
  nextOut_ = 0;
}

uint32_t ConverterModel::ShiftFrame(uint32_t word) {
  word &= WordMask;
  const uint32_t out = FunctionWord::FromBits(function_).SdoDisabled ? WordMask : nextOut_;
  nextOut_ = 0;
  // Held in reset, the converter ignores its serial input.
  if (!lines_.Rstin)
    return out;
  const int select = static_cast<int>((word >> 19) & 7);
  const int address = static_cast<int>((word >> 16) & 7);
  if (word & ReadBit)
    nextOut_ = (word & 0x3F0000) | ReadBack(select, address);
  else
    Write(select, address, static_cast<uint16_t>(word & 0xFFFF));
  return out;
}

template <typename Action> void ConverterModel::ForAddressedChannels(int address, Action action) {
  if (address == AllChannels) {
    for (int channel = 0; channel < ChannelCount; ++channel)
      action(channel);
  } else if (address < ChannelCount) {
    action(address);
  }
}

void ConverterModel::Write(int select, int address, uint16_t data) {
  switch (select) {
  case SelectFunction:
    if (address == FunctionRegisterAddress)
      function_ = static_cast<uint8_t>(data & FunctionWord::OptionBits);
    else if (address == FunctionClearAll)
      ClearDacs();
    else if (address == FunctionLoadAll)
      LoadAll();
    // FunctionNoOperation and the unused codes do nothing.
    break;
  case SelectData:
    ForAddressedChannels(address, [&](int channel) {
      channels_[channel].Input = data;
      if (!lines_.Ldac)
        Load(channel);
    });
    break;
  case SelectCoarse:
    ForAddressedChannels(address, [&](int channel) { channels_[channel].Coarse = data & 0x03; });
    break;
  case SelectFine:
    ForAddressedChannels(address, [&](int channel) { channels_[channel].Fine = data & 0x3F; });
    break;
  case SelectOffset:
    ForAddressedChannels(address, [&](int channel) { channels_[channel].Offset = data & 0xFF; });
    break;
  default:
    break; // codes 1, 6 and 7 select no register
  }
}

uint16_t ConverterModel::ReadBack(int select, int address) const {
  if (select == SelectFunction)
    return address == FunctionRegisterAddress ? FunctionReadBack() : 0;
  if (address >= ChannelCount)
    return 0; // "all DACs" names no single register to read
  const ChannelRegisters &channel = channels_[address];
  switch (select) {
  case SelectData:
    return channel.Input;
  case SelectCoarse:
    return channel.Coarse;
  case SelectFine:
    return channel.Fine;
  case SelectOffset:
    return channel.Offset;
  default:
    return 0;
  }
}

// The levels read back are those on the lines, not those written.
uint16_t ConverterModel::FunctionReadBack() const {
  FunctionWord word = FunctionWord::FromBits(function_);
  word.D0High = LineState(DigitalLine::D0).Level;
  word.D1High = LineState(DigitalLine::D1).Level;
  return word.Bits();
}

DigitalLineState ConverterModel::LineState(DigitalLine line) const {
  const FunctionWord written = FunctionWord::FromBits(function_);
  if (line == DigitalLine::D0)
    return Line(written.D0Output, written.D0High, boardDrivesD0_, lines_.DriveD0);
  return Line(written.D1Output, written.D1High, boardDrivesD1_, lines_.DriveD1);
}

void ConverterModel::Load(int channel) {
  // While CLR is low the DAC registers stay at the cleared code.
  if (lines_.Clr)
    channels_[channel].Dac = channels_[channel].Input;
}

void ConverterModel::LoadAll() {
  for (int channel = 0; channel < ChannelCount; ++channel)
    Load(channel);
}

void ConverterModel::ClearDacs() {
  const uint16_t zero = ZeroVoltCode(lines_.BinaryCoding);
  for (ChannelRegisters &channel : channels_)
    channel.Dac = zero;
}

void ConverterModel::PulseLdac() {
  if (lines_.Rstin)
    LoadAll();
}

void ConverterModel::SetControlLines(const ControlLines &lines) {
  const bool ldacFalls = lines_.Ldac && !lines.Ldac;
  lines_ = lines;
  if (!lines_.Rstin) {
    ResetRegisters();
    return;
  }
  if (!lines_.Clr)
    ClearDacs();
  else if (ldacFalls)
    LoadAll(); // LDAC taken low loads, as a pulse does
}

void ConverterModel::SetBoardDrives(DigitalLine line, bool boardDrives) {
  (line == DigitalLine::D0 ? boardDrivesD0_ : boardDrivesD1_) = boardDrives;
}

double ConverterModel::OutputVoltage(int channel) const {
  return ChannelOutputVoltage(channels_.at(channel), lines_.BinaryCoding, errors_.at(channel));
}

} // namespace vq::sim
