// A board library with the four operations and nothing else, as a vendor's
// library is: no simulated board accessor. It finds one board, opens it, takes
// any firmware path and answers every request with status 0 (reads return
// zero bytes).
#include "board/board_library.h"

#include <cstring>

extern "C" {

VQ_BOARD_EXPORT int32_t VQ_BOARD_CALL Search_For_Boards(uint16_t, uint16_t, int32_t *count, uint8_t *BoardList) {
  *count = 1;
  BoardList[0] = 1;
  return 0;
}

VQ_BOARD_EXPORT int32_t VQ_BOARD_CALL Connect(uint16_t, uint16_t, uint8_t, int32_t *handle) {
  *handle = 7;
  return 0;
}

VQ_BOARD_EXPORT int16_t VQ_BOARD_CALL Download_Firmware(int32_t, uint8_t *) {
  return 0;
}

VQ_BOARD_EXPORT int16_t VQ_BOARD_CALL Vendor_Request(int32_t, uint8_t, int32_t, int32_t, uint8_t direction,
                                                     int16_t length, uint8_t *buffer) {
  if (direction == 1 && length > 0)
    std::memset(buffer, 0, static_cast<std::size_t>(length));
  return 0;
}
}
