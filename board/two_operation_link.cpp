#include "board/two_operation_link.h"

#include "board/board_session.h"

namespace vq {

int16_t TwoOperationLink::ConnectAndDownload(BoardSession &session) {
  // No search and no connect: the library loads the firmware on whatever board
  // it finds. The path buffer was filled by the caller.
  const int16_t status = library_.resolve<LoadFirmWare_Fn>("LoadFirmWare")(session.FirmwarePathBuffer.data());
  library_.resolve<VendorIORequest_Fn>("VendorIORequest");
  return status;
}

int16_t TwoOperationLink::VendorRequest(uint8_t request, int32_t value, int32_t index, uint8_t direction,
                                        int16_t length, uint8_t *buffer) {
  return library_.resolve<VendorIORequest_Fn>("VendorIORequest")(request, value, index, direction, length, buffer);
}

} // namespace vq
