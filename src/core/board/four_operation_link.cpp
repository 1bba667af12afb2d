#include "board/four_operation_link.h"

#include "board/board_session.h"
#include "board/zero_terminated_text.h"

#include <array>

namespace vq {

std::string FourOperationLibraryPath([[maybe_unused]] const std::string &programDirectory) {
#if defined(_WIN32)
  return VQ_USB4_WINDOWS_PATH;
#else
  return programDirectory + "/" + VQ_USB4_FILE_NAME;
#endif
}

void FourOperationLink::Bind() {
  if (vendorRequest_ != nullptr)
    return;
  const auto search = library_.resolve<Search_For_Boards_Fn>("Search_For_Boards");
  const auto connect = library_.resolve<Connect_Fn>("Connect");
  const auto download = library_.resolve<Download_Firmware_Fn>("Download_Firmware");
  const auto vendorRequest = library_.resolve<Vendor_Request_Fn>("Vendor_Request");
  simulatedBoard_ = library_.resolveOptional<VqSim_Board_Fn>(VQ_SIM_BOARD_ACCESSOR);
  NameStatusesWith(library_.resolveOptional<VqBoard_StatusText_Fn>(VQ_BOARD_STATUS_TEXT));
  search_ = search;
  connect_ = connect;
  download_ = download;
  vendorRequest_ = vendorRequest; // last: it marks the binding complete
}

void FourOperationLink::SearchAndConnect(BoardSession &session) {
  Bind();

  BoardCall search;
  search.Kind = BoardCallKind::Search;
  search.VendorId = VQ_VENDOR_ID;
  search.ProductId = VQ_PRODUCT_ID;
  std::array<uint8_t, 128> boardList{};
  search.Status = search_(VQ_VENDOR_ID, VQ_PRODUCT_ID, &search.BoardCount, boardList.data());
  search.BoardNumber = boardList[0];
  if (search.Status != 0)
    NameFailure(search, search.Status);
  ReportStep(search, search.Status != 0, true);

  BoardCall connect;
  connect.Kind = BoardCallKind::Connect;
  connect.VendorId = VQ_VENDOR_ID;
  connect.ProductId = VQ_PRODUCT_ID;
  connect.BoardNumber = boardList[0];
  connect.Status = connect_(VQ_VENDOR_ID, VQ_PRODUCT_ID, boardList[0], &session.BoardHandle);
  connect.BoardHandle = session.BoardHandle;
  if (connect.Status != 0)
    NameFailure(connect, connect.Status);
  ReportStep(connect, connect.Status != 0, false);
  handle_ = session.BoardHandle;
}

int16_t FourOperationLink::Attach(BoardSession &session) {
  SearchAndConnect(session);
  if (const auto &failure = SessionFailure())
    return static_cast<int16_t>(failure->Status);
  return 0;
}

int16_t FourOperationLink::ConnectAndDownload(BoardSession &session) {
  SearchAndConnect(session);
  session.SetFirmwarePath();
  session.CopyFirmwarePath(session.FirmwarePath);
  BoardCall download;
  download.Kind = BoardCallKind::Download;
  download.BoardHandle = handle_;
  download.FirmwarePath =
      ZeroTerminatedText(session.FirmwarePathBuffer.data(), session.FirmwarePathBuffer.size()).value_or("");
  const int16_t status = download_(handle_, session.FirmwarePathBuffer.data());
  download.Status = status;
  download.DownloadSucceeded = DownloadSucceeded(status);
  if (!download.DownloadSucceeded)
    NameFailure(download, status);
  ReportStep(download, !download.DownloadSucceeded, false);
  return status;
}

int16_t FourOperationLink::Transfer(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                                    uint8_t *buffer) {
  Bind();
  return vendorRequest_(handle_, request, value, index, direction, length, buffer);
}

sim::BoardControl *FourOperationLink::SimulatedBoard() {
  return vendorRequest_ != nullptr && simulatedBoard_ != nullptr ? simulatedBoard_() : nullptr;
}

} // namespace vq
