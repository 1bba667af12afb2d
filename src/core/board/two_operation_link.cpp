#include "board/two_operation_link.h"

#include "board/board_session.h"
#include "board/zero_terminated_text.h"

namespace vq {

void TwoOperationLink::Bind() {
  if (vendorRequest_ != nullptr)
    return;
  const auto load = library_.resolve<LoadFirmWare_Fn>("LoadFirmWare");
  const auto vendorRequest = library_.resolve<VendorIORequest_Fn>("VendorIORequest");
  simulatedBoard_ = library_.resolveOptional<VqSim_Board_Fn>(VQ_SIM_BOARD_ACCESSOR);
  NameStatusesWith(library_.resolveOptional<VqBoard_StatusText_Fn>(VQ_BOARD_STATUS_TEXT));
  loadFirmware_ = load;
  vendorRequest_ = vendorRequest; // last: it marks the binding complete
}

int16_t TwoOperationLink::ConnectAndDownload(BoardSession &session) {
  // No search and no connect: the library loads the firmware on whatever board
  // it finds. The path buffer was filled by the caller.
  Bind();
  BoardCall download;
  download.Kind = BoardCallKind::Download;
  download.FirmwarePath =
      ZeroTerminatedText(session.FirmwarePathBuffer.data(), session.FirmwarePathBuffer.size()).value_or("");
  const int16_t status = loadFirmware_(session.FirmwarePathBuffer.data());
  download.Status = status;
  download.DownloadSucceeded = DownloadSucceeded(status);
  // A failed load returns the table's value negated; 0 says only that it failed.
  if (status < 0)
    NameFailure(download, -status);
  ReportStep(download, !download.DownloadSucceeded, true);
  return status;
}

int16_t TwoOperationLink::Transfer(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                                   uint8_t *buffer) {
  Bind();
  return vendorRequest_(request, value, index, direction, length, buffer);
}

sim::BoardControl *TwoOperationLink::SimulatedBoard() {
  return vendorRequest_ != nullptr && simulatedBoard_ != nullptr ? simulatedBoard_() : nullptr;
}

} // namespace vq
