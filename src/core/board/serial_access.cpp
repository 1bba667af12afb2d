#include "board/serial_access.h"

#include "board/board_library.h"
#include "board/read_back.h"

namespace vq {

BoardStatus SerialAccess::Request(uint8_t code, int32_t value, int32_t index, uint8_t direction, int16_t length,
                                  uint8_t *buffer) {
  LastRequestStatus = link_.VendorRequest(code, value, index, direction, length, buffer);
  if (LastRequestStatus != 0 && !firstFailure_) {
    BoardCall failure;
    failure.Request = code;
    failure.Value = value;
    failure.Index = index;
    failure.Direction = direction;
    failure.Length = length;
    failure.Status = LastRequestStatus;
    failure.StatusText = link_.StatusText(LastRequestStatus).value_or("");
    firstFailure_ = std::move(failure);
  }
  return TypedStatus(LastRequestStatus);
}

// Requests that carry no data travel with a single zero byte as buffer.
BoardStatus SerialAccess::WriteRegister(WordAddress address, int32_t data, bool pulseAfterWrite) {
  ReadWriteBit = ReadWrite::Write;
  const bool pulse = pulseAfterWrite && !address.IsFunctionGroup();
  uint8_t zeroByte = 0;
  return Request(pulse ? VQ_REQ_WRITE_PULSE : VQ_REQ_SHIFT_WORD, UpperByte(ReadWriteBit, address), data, 0, 0,
                 &zeroByte);
}

Reading<int32_t> SerialAccess::ReadRegister(WordAddress address) {
  ReadWriteBit = ReadWrite::Read;
  const int32_t upper = UpperByte(ReadWriteBit, address);
  // The converter answers a read during the frame after the read word, so the
  // second, identical transfer carries the register. A failed first transfer
  // leaves the second with the answer to whatever word went before it.
  Reading<int32_t> read;
  for (int transfer = 0; transfer < 2; ++transfer) {
    const BoardStatus status = Request(VQ_REQ_SHIFT_WORD, upper, 0, 1, 3, ReadBuffer.data());
    if (read.Answered())
      read.Status = status;
  }
  read.Value = RegisterFromReadBytes(ReadBuffer.data());
  return read;
}

BoardStatus SerialAccess::SetControlLines(const ControlLines &lines) {
  uint8_t zeroByte = 0;
  return Request(VQ_REQ_CONTROL_LINES, lines.RequestValue(), lines.RequestIndex(), 0, 0, &zeroByte);
}

Reading<int16_t> SerialAccess::ReadBoardSample() {
  const BoardStatus status = Request(VQ_REQ_SAMPLE, 0, 0, 1, 2, ReadBuffer.data());
  return {SampleFromBytes(ReadBuffer.data()), status};
}

BoardStatus SerialAccess::TakeLineDirection(DigitalLine line, bool inputOfConverter) {
  uint8_t zeroByte = 0;
  return Request(line == DigitalLine::D0 ? VQ_REQ_D0_DIRECTION : VQ_REQ_D1_DIRECTION, inputOfConverter ? 1 : 0, 0, 1, 0,
                 &zeroByte);
}

} // namespace vq
