#include "board/serial_access.h"

#include "board/board_library.h"
#include "board/read_back.h"

namespace vq {

// Requests that carry no data travel with a single zero byte as buffer.
void SerialAccess::Request(uint8_t code, int32_t value, int32_t index, uint8_t direction) {
  uint8_t zeroByte = 0;
  LastRequestStatus = link_.VendorRequest(code, value, index, direction, 0, &zeroByte);
}

void SerialAccess::WriteRegister(WordAddress address, int32_t data, bool pulseAfterWrite) {
  ReadWriteBit = ReadWrite::Write;
  const bool pulse = pulseAfterWrite && !address.IsFunctionGroup();
  Request(pulse ? VQ_REQ_WRITE_PULSE : VQ_REQ_SHIFT_WORD, UpperByte(ReadWriteBit, address), data, 0);
}

int32_t SerialAccess::ReadRegister(WordAddress address) {
  ReadWriteBit = ReadWrite::Read;
  const int32_t upper = UpperByte(ReadWriteBit, address);
  // The converter answers a read during the frame after the read word, so the
  // second, identical transfer carries the register.
  for (int transfer = 0; transfer < 2; ++transfer)
    LastRequestStatus = link_.VendorRequest(VQ_REQ_SHIFT_WORD, upper, 0, 1, 3, ReadBuffer.data());
  return RegisterFromReadBytes(ReadBuffer.data());
}

void SerialAccess::SetControlLines(const ControlLines &lines) {
  Request(VQ_REQ_CONTROL_LINES, lines.RequestValue(), lines.RequestIndex(), 0);
}

int16_t SerialAccess::ReadBoardSample() {
  LastRequestStatus = link_.VendorRequest(VQ_REQ_SAMPLE, 0, 0, 1, 2, ReadBuffer.data());
  return SampleFromBytes(ReadBuffer.data());
}

void SerialAccess::TakeLineDirection(DigitalLine line, bool inputOfConverter) {
  Request(line == DigitalLine::D0 ? VQ_REQ_D0_DIRECTION : VQ_REQ_D1_DIRECTION, inputOfConverter ? 1 : 0, 0, 1);
}

} // namespace vq
