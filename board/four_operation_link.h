// Binding to the four-operation board library (search, connect, download,
// vendor request) used by VQ8231(version2).
#pragma once

#include "board/board_library.h"
#include "board/board_link.h"
#include "board/dynamic_library.h"

#include <string>

namespace vq {

class FourOperationLink : public BoardLink {
public:
  explicit FourOperationLink(std::string libraryPath) : library_(std::move(libraryPath)) {}

  int16_t ConnectAndDownload(BoardSession &session) override;
  bool DownloadSucceeded(int16_t status) const override { return status == 0; }
  int16_t VendorRequest(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                        uint8_t *buffer) override;

private:
  DynamicLibrary library_;
  int32_t handle_ = 0;
};

// Where VQ8231(version2) looks for its library.
std::string FourOperationLibraryPath(const std::string &programDirectory);

} // namespace vq
