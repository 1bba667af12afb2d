// A setup: what the converter holds and how the board drives it, as a setup
// file keeps it and a load restores it. The 17 readable registers are held in
// the order of ReadableRegisters; a register the program never knew stays
// empty (a setup built for a reconnect may lack some, a file never does).
#pragma once

#include "board/control_lines.h"
#include "board/function_word.h"
#include "board/registers.h"

#include <array>
#include <cstdint>
#include <optional>

namespace vq {

class RegisterModel;

struct BoardSetup {
  std::array<std::optional<uint16_t>, ReadableRegisterCount> Codes{};
  ControlLines Lines;
  bool PulseAfterDataWrite = true;

  // The code of one of ReadableRegisters; empty for any other address.
  std::optional<uint16_t> Code(WordAddress address) const;
  void SetCode(WordAddress address, uint16_t code);
  std::optional<FunctionWord> Function() const;
  // Whether every register is known, as a file needs it.
  bool IsComplete() const;
  // Whether any register is known: something a restore can write.
  bool KnowsAnyRegister() const;

  bool operator==(const BoardSetup &) const = default;
};

// The position of `address` in ReadableRegisters; -1 for any other address.
int RegisterRow(WordAddress address);

// What the register model knows, with the lines and the LDAC pulse choice as
// the program sets them (the lines cannot be read back). A read of the
// function register shows the level an input line reads, not the level
// option written for it: with `written`, the options the program last wrote,
// those level bits are the program's.
BoardSetup SetupFromModel(const RegisterModel &model, const ControlLines &lines, bool pulseAfterDataWrite,
                          std::optional<FunctionWord> written = std::nullopt);

} // namespace vq
