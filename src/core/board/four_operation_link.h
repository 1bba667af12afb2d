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
  // The search and the connect only, for a board whose firmware already
  // runs (a download resets the board's processor). Returns 0, or the status
  // of the first step that failed (then also SessionFailure()).
  int16_t Attach(BoardSession &session);
  bool DownloadSucceeded(int16_t status) const override { return status == 0; }
  sim::BoardControl *SimulatedBoard() override;
  std::string LibraryFile() const override { return library_.file(); }

protected:
  int16_t Transfer(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                   uint8_t *buffer) override;

private:
  void SearchAndConnect(BoardSession &session);
  // Looks every entry point up once, all before the first call, so a library
  // that lacks one is reported as such and never half used.
  void Bind();

  DynamicLibrary library_;
  Search_For_Boards_Fn search_ = nullptr;
  Connect_Fn connect_ = nullptr;
  Download_Firmware_Fn download_ = nullptr;
  Vendor_Request_Fn vendorRequest_ = nullptr;
  VqSim_Board_Fn simulatedBoard_ = nullptr; // optional
  int32_t handle_ = 0;
};

// Where VQ8231(version2) looks for its library.
std::string FourOperationLibraryPath(const std::string &programDirectory);

} // namespace vq
