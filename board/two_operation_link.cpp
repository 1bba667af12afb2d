#include "board/two_operation_link.h"

#include "board/board_session.h"

namespace vq {

int16_t TwoOperationLink::ConnectAndDownload(BoardSession &session) {
  // No search and no connect: the library loads the firmware on whatever board
  // it finds. The path buffer was filled by the caller. Both entry points are
  // looked up before the first call.
  const auto load = library_.resolve<LoadFirmWare_Fn>("LoadFirmWare");
  library_.resolve<VendorIORequest_Fn>("VendorIORequest");
  return load(session.FirmwarePathBuffer.data());
}

int16_t TwoOperationLink::VendorRequest(uint8_t request, int32_t value, int32_t index, uint8_t direction,
                                        int16_t length, uint8_t *buffer) {
  return library_.resolve<VendorIORequest_Fn>("VendorIORequest")(request, value, index, direction, length, buffer);
}

} // namespace vq
