#include "board/four_operation_link.h"

#include "board/board_session.h"

#include <array>

namespace vq {

std::string FourOperationLibraryPath([[maybe_unused]] const std::string &programDirectory) {
#if defined(_WIN32)
  return VQ_USB4_WINDOWS_PATH;
#else
  return programDirectory + "/" + VQ_USB4_FILE_NAME;
#endif
}

int16_t FourOperationLink::ConnectAndDownload(BoardSession &session) {
  // Every entry point is looked up before the first call, so a library that
  // lacks one is reported as such and never half used.
  const auto search = library_.resolve<Search_For_Boards_Fn>("Search_For_Boards");
  const auto connect = library_.resolve<Connect_Fn>("Connect");
  const auto download = library_.resolve<Download_Firmware_Fn>("Download_Firmware");
  library_.resolve<Vendor_Request_Fn>("Vendor_Request");

  std::array<uint8_t, 128> boardList{};
  int32_t count = 0;
  search(VQ_VENDOR_ID, VQ_PRODUCT_ID, &count, boardList.data());
  connect(VQ_VENDOR_ID, VQ_PRODUCT_ID, boardList[0], &session.BoardHandle);
  handle_ = session.BoardHandle;
  session.SetFirmwarePath();
  session.CopyFirmwarePath(session.FirmwarePath);
  return download(handle_, session.FirmwarePathBuffer.data());
}

int16_t FourOperationLink::VendorRequest(uint8_t request, int32_t value, int32_t index, uint8_t direction,
                                         int16_t length, uint8_t *buffer) {
  return library_.resolve<Vendor_Request_Fn>("Vendor_Request")(handle_, request, value, index, direction, length,
                                                               buffer);
}

} // namespace vq
