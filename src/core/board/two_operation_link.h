// Binding to the two-operation board library (firmware load and vendor
// request, no handle) used by the earlier build VQ8231.
#pragma once

#include "board/board_library.h"
#include "board/board_link.h"
#include "board/dynamic_library.h"

#include <string>

namespace vq {

class TwoOperationLink : public BoardLink {
public:
  // `library` is a bare name found through the system's library search.
  explicit TwoOperationLink(std::string library = VQ_USBFUNCTIONS_NAME) : library_(std::move(library)) {}

  int16_t ConnectAndDownload(BoardSession &session) override;
  // This library reports success with any status of 1 or more.
  bool DownloadSucceeded(int16_t status) const override { return status >= 1; }
  sim::BoardControl *SimulatedBoard() override;
  std::string LibraryFile() const override { return library_.file(); }

protected:
  int16_t Transfer(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                   uint8_t *buffer) override;

private:
  // Looks both entry points up once, before the first call.
  void Bind();

  DynamicLibrary library_;
  LoadFirmWare_Fn loadFirmware_ = nullptr;
  VendorIORequest_Fn vendorRequest_ = nullptr;
  VqSim_Board_Fn simulatedBoard_ = nullptr; // optional
};

} // namespace vq
