#include "boardlog/register_model.h"

#include "board/board_library.h"
#include "board/function_word.h"
#include "board/read_back.h"
#include "board/session_outcome.h"

#include <algorithm>

namespace vq {

namespace {

constexpr int RegistersPerChannel = 4;
constexpr int FunctionRow = ReadableRegisterCount - 1;
constexpr uint8_t FirstChannelSelect = CodeOf(Register::Data);
constexpr uint8_t LastChannelSelect = CodeOf(Register::Offset);
constexpr int ChannelCount = 4;

// The row of a register of one channel or of the function register; -1 for
// anything else (a command, "all DACs", an unused code).
int RowOf(uint8_t select, uint8_t address) {
  if (select == FunctionGroupSelect)
    return address == CodeOf(Command::FunctionRegister) ? FunctionRow : -1;
  if (select < FirstChannelSelect || select > LastChannelSelect || address >= ChannelCount)
    return -1;
  return address * RegistersPerChannel + (select - FirstChannelSelect);
}

uint16_t MaskOf(uint8_t select) {
  return select == FunctionGroupSelect ? RegisterMask(Command::FunctionRegister)
                                       : RegisterMask(WordAddress(static_cast<Register>(select), Channel::A));
}

// The channels a register select and DAC address reach: one, all four, or none.
template <typename Action> void ForAddressed(uint8_t address, Action action) {
  if (address == CodeOf(Channel::All)) {
    for (uint8_t channel = 0; channel < ChannelCount; ++channel)
      action(channel);
  } else if (address < ChannelCount) {
    action(address);
  }
}

// The register a read word of these fields asks for, if a read reaches one.
std::optional<WordAddress> ReadableAt(uint8_t select, uint8_t address) {
  if (RowOf(select, address) < 0)
    return std::nullopt;
  if (select == FunctionGroupSelect)
    return WordAddress(Command::FunctionRegister);
  return WordAddress(static_cast<Register>(select), static_cast<Channel>(address));
}

bool IsFrame(uint8_t request) {
  return request == VQ_REQ_SHIFT_WORD || request == VQ_REQ_WRITE_PULSE;
}

} // namespace

RegisterState RegisterModel::State(WordAddress address) const {
  const int row = RowOf(address.SelectBits(), address.AddressBits());
  return row < 0 ? RegisterState{} : registers_[row];
}

std::optional<uint16_t> RegisterModel::KnownCode(WordAddress address) const {
  const RegisterState state = State(address);
  if (!state.IsKnown())
    return std::nullopt;
  return state.Code;
}

std::optional<bool> RegisterModel::SdoDisabled() const {
  const RegisterState &function = registers_[FunctionRow];
  if (!function.IsKnown())
    return std::nullopt;
  return (function.Code & FunctionWord::SdoDisabledBit) != 0;
}

void RegisterModel::OnBoardCall(const BoardCall &call) {
  switch (call.Kind) {
  case BoardCallKind::Download:
    // New firmware may have reset the board and the converter with it.
    ForgetEverything();
    return;
  case BoardCallKind::Search:
  case BoardCallKind::Connect:
    return;
  case BoardCallKind::Request:
    break;
  }
  if (IsFrame(call.Request))
    OnFrame(call);
  else if (call.Request == VQ_REQ_CONTROL_LINES)
    OnControlLines(call);
  // The sample and the D0/D1 direction requests change no register.
}

void RegisterModel::OnFrame(const BoardCall &call) {
  const WordFields word = WordFields::Of(static_cast<uint32_t>((call.Value & 0xFF) << 16 | (call.Index & 0xFFFF)));
  if (call.Status != 0) {
    // Whether the word reached the converter is not known: what a write
    // would have changed is not known either. A read word changes nothing,
    // and nor does any word to a board that has left the bus: what was known
    // up to the loss stays, for a reconnect to restore.
    pendingRead_.reset();
    if (!word.Read && !ReportsBoardGone(call))
      Forget(word.SelectBits, word.AddressBits);
    return;
  }
  const std::optional<WordAddress> reads = word.Read ? ReadableAt(word.SelectBits, word.AddressBits) : std::nullopt;
  if (call.Direction != 0 && reads)
    TakeReadAnswer(call, *reads);
  pendingRead_.reset();
  if (HeldInReset())
    return; // the converter ignores its serial input
  if (word.Read) {
    pendingRead_ = reads;
    return;
  }
  Write(word.SelectBits, word.AddressBits, word.Data);
}

// The frame after a read word clocks the register out; the program reads
// with two identical transfers and takes the second. Only that answer counts:
// an answer in any other frame may be a board's that does not delay it. While
// SDO is disabled the line floats and every bit reads 1, which no answer can
// be (bit 23 of an answer is 0): such a read tells nothing, and what the
// model knew stays.
void RegisterModel::TakeReadAnswer(const BoardCall &call, WordAddress repeated) {
  if (!pendingRead_ || *pendingRead_ != repeated || call.ByteCount < 3)
    return;
  const bool floating = call.Bytes[0] == 0xFF && call.Bytes[1] == 0xFF && call.Bytes[2] == 0xFF;
  if (floating || SdoDisabled().value_or(false))
    return;
  const uint16_t code = static_cast<uint16_t>(RegisterFromReadBytes(call.Bytes.data()));
  RegisterState &state = *Slot(pendingRead_->SelectBits(), pendingRead_->AddressBits());
  state =
      RegisterState{static_cast<uint16_t>(code & MaskOf(pendingRead_->SelectBits())), RegisterOrigin::Read, clock_()};
  Changed();
}

void RegisterModel::Write(uint8_t select, uint8_t address, uint16_t data) {
  const uint16_t code = data & MaskOf(select);
  if (select == FunctionGroupSelect) {
    // Clear-all and load-all move only the DAC registers, which no read reaches.
    if (address != CodeOf(Command::FunctionRegister))
      return;
    registers_[FunctionRow] = RegisterState{code, RegisterOrigin::Written, {}};
  } else {
    bool any = false;
    ForAddressed(address, [&](uint8_t channel) {
      if (RegisterState *state = Slot(select, channel)) {
        *state = RegisterState{code, RegisterOrigin::Written, {}};
        any = true;
      }
    });
    if (!any)
      return;
  }
  Changed();
}

void RegisterModel::Forget(uint8_t select, uint8_t address) {
  bool any = false;
  auto forget = [&](uint8_t channel) {
    if (RegisterState *state = Slot(select, channel)) {
      *state = RegisterState{};
      any = true;
    }
  };
  if (select == FunctionGroupSelect)
    forget(address);
  else
    ForAddressed(address, forget);
  if (any)
    Changed();
}

void RegisterModel::OnControlLines(const BoardCall &call) {
  const ControlLines lines = ControlLines::FromRequest(call.Value, call.Index);
  if (call.Status != 0) {
    lines_.reset();
    // A request that would have held the converter in reset may have done
    // so, unless the board had left the bus.
    if (!lines.Rstin && !ReportsBoardGone(call)) {
      pendingRead_.reset();
      registers_.fill(RegisterState{});
    }
    Changed();
    return;
  }
  lines_ = lines;
  if (!lines.Rstin) {
    pendingRead_.reset();
    ResetRegisters(lines.BinaryCoding);
  }
  Changed();
}

// The converter's reset values: the data registers at the code of 0 V in the
// coding the line selects, everything else 0.
void RegisterModel::ResetRegisters(bool binaryCoding) {
  const uint16_t zeroVolts = binaryCoding ? 0x8000 : 0x0000;
  for (int row = 0; row < ReadableRegisterCount; ++row)
    registers_[row] = RegisterState{0, RegisterOrigin::Reset, {}};
  for (int channel = 0; channel < ChannelCount; ++channel)
    registers_[channel * RegistersPerChannel].Code = zeroVolts;
}

void RegisterModel::ForgetEverything() {
  registers_.fill(RegisterState{});
  lines_.reset();
  pendingRead_.reset();
  Changed();
}

RegisterState *RegisterModel::Slot(uint8_t select, uint8_t address) {
  const int row = RowOf(select, address);
  return row < 0 ? nullptr : &registers_[row];
}

void RegisterModel::AddObserver(RegisterModelObserver *observer) {
  if (observer != nullptr && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
}

void RegisterModel::RemoveObserver(RegisterModelObserver *observer) {
  std::erase(observers_, observer);
}

void RegisterModel::Changed() {
  for (RegisterModelObserver *observer : observers_)
    observer->OnRegistersChanged();
}

} // namespace vq
