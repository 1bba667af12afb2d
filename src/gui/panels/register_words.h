// The panels' way to the converter's registers: the serial access routines,
// with the "Pulse After Data Write" choice supplied and the R/W bit of every
// word shown. The main window connects both to the panels that own them.
#pragma once

#include "board/serial_access.h"

#include <functional>

namespace vq {

class RegisterWords {
public:
  explicit RegisterWords(SerialAccess &board) : board_(board) {}

  void Write(WordAddress address, int32_t data) {
    board_.WriteRegister(address, data, PulseAfterDataWrite && PulseAfterDataWrite());
    Show();
  }
  int32_t Read(WordAddress address) {
    const int32_t content = board_.ReadRegister(address);
    Show();
    return content;
  }

  // Before a write whose steps may fail: the word about to go out is a write.
  void MarkWriting() {
    board_.ReadWriteBit = ReadWrite::Write;
    Show();
  }

  std::function<bool()> PulseAfterDataWrite;
  std::function<void(ReadWrite)> ShowReadWriteBit;

private:
  void Show() {
    if (ShowReadWriteBit)
      ShowReadWriteBit(board_.ReadWriteBit);
  }
  SerialAccess &board_;
};

} // namespace vq
