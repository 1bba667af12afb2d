#include "panels/board_access.h"

namespace vq {

BoardAccess::Action::Action(BoardAccess &board) : board_(board) {
  if (board_.openActions_++ == 0) {
    board_.serial_.ForgetFailure();
    board_.note_.clear();
  }
}

BoardAccess::Action::~Action() {
  if (--board_.openActions_ == 0)
    emit board_.actionEnded(board_.serial_.FirstFailure(), board_.note_);
}

BoardStatus BoardAccess::WriteRegister(WordAddress address, int32_t data) {
  const BoardStatus status = serial_.WriteRegister(address, data, pulseAfterDataWrite_);
  emit readWriteBitSet(serial_.ReadWriteBit);
  return status;
}

Reading<int32_t> BoardAccess::ReadRegister(WordAddress address) {
  const Reading<int32_t> read = serial_.ReadRegister(address);
  emit readWriteBitSet(serial_.ReadWriteBit);
  return read;
}

void BoardAccess::MarkWriting() {
  serial_.ReadWriteBit = ReadWrite::Write;
  emit readWriteBitSet(serial_.ReadWriteBit);
}

std::optional<int32_t> BoardAccess::LastKnown(WordAddress address) const {
  if (registers_ == nullptr)
    return std::nullopt;
  if (const auto code = registers_->KnownCode(address))
    return *code;
  return std::nullopt;
}

void BoardAccess::Note(const QString &text) {
  if (!note_.isEmpty())
    note_ += QLatin1Char(' ');
  note_ += text;
}

} // namespace vq
