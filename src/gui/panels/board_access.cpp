#include "panels/board_access.h"

namespace vq {

void BoardAccess::WriteRegister(WordAddress address, int32_t data) {
  serial_.WriteRegister(address, data, pulseAfterDataWrite_);
  emit readWriteBitSet(serial_.ReadWriteBit);
}

int32_t BoardAccess::ReadRegister(WordAddress address) {
  const int32_t content = serial_.ReadRegister(address);
  emit readWriteBitSet(serial_.ReadWriteBit);
  return content;
}

void BoardAccess::MarkWriting() {
  serial_.ReadWriteBit = ReadWrite::Write;
  emit readWriteBitSet(serial_.ReadWriteBit);
}

} // namespace vq
