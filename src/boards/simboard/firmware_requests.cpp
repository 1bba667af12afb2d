#include "simboard/firmware_requests.h"

#include "board/board_library.h"
#include "board/read_back.h"
#include "simboard/temperature_sensor.h"

#include <algorithm>
#include <initializer_list>

namespace vq::sim {

namespace {

// The board returns each byte with its bit order reversed, and no more bytes
// than the request asked for.
void Deliver(std::initializer_list<uint32_t> bytes, int32_t length, uint8_t *buffer) {
  const auto count = std::min<std::size_t>(static_cast<std::size_t>(length), bytes.size());
  auto byte = bytes.begin();
  for (std::size_t i = 0; i < count; ++i, ++byte)
    buffer[i] = ReverseBits(static_cast<uint8_t>(*byte & 0xFF));
}

} // namespace

BoardStatus CarryOutFirmwareRequest(ConverterModel &converter, double dieTemperature, int32_t request, int32_t value,
                                    int32_t index, int32_t direction, int32_t length, uint8_t *buffer) {
  if ((direction != 0 && direction != 1) || length < 0 || (length > 0 && buffer == nullptr))
    return BoardStatus::BadArgument;
  const bool fromBoard = direction == 1;
  switch (request) {
  case VQ_REQ_WRITE_PULSE:
  case VQ_REQ_SHIFT_WORD: {
    if (value < 0 || value > 0xFF || index < 0 || index > 0xFFFF)
      return BoardStatus::BadArgument;
    const uint32_t out = converter.ShiftFrame(static_cast<uint32_t>(value) << 16 | static_cast<uint32_t>(index));
    if (request == VQ_REQ_WRITE_PULSE)
      converter.PulseLdac();
    if (fromBoard)
      Deliver({out >> 16, out >> 8, out}, length, buffer);
    return BoardStatus::Success;
  }
  case VQ_REQ_SAMPLE: {
    if (!fromBoard)
      return BoardStatus::BadArgument;
    const uint16_t sample = TemperatureSample(dieTemperature);
    Deliver({static_cast<uint32_t>(sample >> 8), sample}, length, buffer);
    return BoardStatus::Success;
  }
  case VQ_REQ_D0_DIRECTION:
  case VQ_REQ_D1_DIRECTION:
    if (value != 0 && value != 1)
      return BoardStatus::BadArgument;
    converter.SetBoardDrives(request == VQ_REQ_D0_DIRECTION ? DigitalLine::D0 : DigitalLine::D1, value == 1);
    return BoardStatus::Success;
  case VQ_REQ_CONTROL_LINES:
    if (value < 0 || value > 0xFF || index < 0 || index > 3)
      return BoardStatus::BadArgument;
    converter.SetControlLines(ControlLines::FromRequest(value, index));
    return BoardStatus::Success;
  default:
    // The firmware refuses a request it does not know.
    return BoardStatus::Refused;
  }
}

} // namespace vq::sim
