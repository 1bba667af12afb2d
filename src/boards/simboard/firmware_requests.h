// The board firmware's vendor requests 0xD9 to 0xDE as they reach the
// converter and the temperature sensor behind it. The simulated board runs
// them once its firmware is loaded; anything else that stands in for the
// board's processor runs the same decoding.
#pragma once

#include "board/board_status.h"
#include "simboard/converter_model.h"

#include <cstdint>

namespace vq::sim {

// Carries out one request on `converter` (direction 1: from the board, with
// `length` bytes into `buffer`); a sample reflects `dieTemperature`. Every
// argument is checked before anything changes, so a request answered with
// anything but Success leaves the converter as it was.
BoardStatus CarryOutFirmwareRequest(ConverterModel &converter, double dieTemperature, int32_t request, int32_t value,
                                    int32_t index, int32_t direction, int32_t length, uint8_t *buffer);

} // namespace vq::sim
