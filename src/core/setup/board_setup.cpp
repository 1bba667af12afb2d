#include "setup/board_setup.h"

#include "boardlog/register_model.h"

#include <algorithm>

namespace vq {

int RegisterRow(WordAddress address) {
  const auto found = std::find(ReadableRegisters.begin(), ReadableRegisters.end(), address);
  return found == ReadableRegisters.end() ? -1 : static_cast<int>(found - ReadableRegisters.begin());
}

std::optional<uint16_t> BoardSetup::Code(WordAddress address) const {
  const int row = RegisterRow(address);
  return row < 0 ? std::nullopt : Codes[row];
}

void BoardSetup::SetCode(WordAddress address, uint16_t code) {
  if (const int row = RegisterRow(address); row >= 0)
    Codes[row] = static_cast<uint16_t>(code & RegisterMask(address));
}

std::optional<FunctionWord> BoardSetup::Function() const {
  const std::optional<uint16_t> code = Code(Command::FunctionRegister);
  if (!code)
    return std::nullopt;
  return FunctionWord::FromBits(*code);
}

bool BoardSetup::IsComplete() const {
  return std::all_of(Codes.begin(), Codes.end(), [](const std::optional<uint16_t> &code) { return code.has_value(); });
}

bool BoardSetup::KnowsAnyRegister() const {
  return std::any_of(Codes.begin(), Codes.end(), [](const std::optional<uint16_t> &code) { return code.has_value(); });
}

BoardSetup SetupFromModel(const RegisterModel &model, const ControlLines &lines, bool pulseAfterDataWrite,
                          std::optional<FunctionWord> written) {
  BoardSetup setup;
  for (WordAddress address : ReadableRegisters)
    if (const std::optional<uint16_t> code = model.KnownCode(address))
      setup.SetCode(address, *code);
  if (std::optional<FunctionWord> options = setup.Function(); options && written) {
    if (!options->D0Output)
      options->D0High = written->D0High;
    if (!options->D1Output)
      options->D1High = written->D1High;
    setup.SetCode(Command::FunctionRegister, options->Bits());
  }
  setup.Lines = lines;
  setup.PulseAfterDataWrite = pulseAfterDataWrite;
  return setup;
}

} // namespace vq
