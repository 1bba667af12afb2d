// The boards the libusb libraries drive: search, connect, firmware download
// and vendor requests over libusb-1.0. One object holds every board a library
// has opened; both exported interfaces are thin calls into it. No Qt.
#pragma once

#include "board/board_status.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct libusb_context;
struct libusb_device;
struct libusb_device_handle;

namespace vq::usb {

// The name of the udev rule that gives the logged-in user the board.
constexpr const char *UdevRuleName = "70-vq8231.rules";

// Longest path taken from a caller's zero-terminated buffer.
constexpr std::size_t MaxPathBytes = 4096;

// Boot loader of the board's processor: vendor request 0xA0 writes its RAM,
// and writing 1 or 0 to the CPU control register holds or releases it.
constexpr uint8_t LoaderRequest = 0xA0;
constexpr uint16_t CpuControlAddress = 0xE600;
constexpr std::size_t MaxLoaderChunk = 4096;

struct BoardOptions {
  std::chrono::milliseconds RequestTimeout{1000};
  // How long a download waits for the board to come back running its firmware.
  std::chrono::milliseconds ReturnTimeout{5000};
  std::chrono::milliseconds ReturnPoll{50};
  // Opens a device; libusb_open unless a test needs another answer.
  int (*Open)(libusb_device *device, libusb_device_handle **handle) = nullptr;
};

class UsbBoards {
public:
  explicit UsbBoards(BoardOptions options = {});
  ~UsbBoards();
  UsbBoards(const UsbBoards &) = delete;
  UsbBoards &operator=(const UsbBoards &) = delete;

  // Boards with these identifiers, numbered from 1 in the order of their bus
  // and port: count and the numbers 1..count in the list's first bytes (at
  // most 128), the rest of the list zero. BoardStatus::NoBoard when there is none.
  BoardStatus Search(uint16_t vendorId, uint16_t productId, int32_t *count, uint8_t *boardList);
  // Opens board `boardNumber` of a search with these identifiers and claims
  // its interface 0; writes its handle (0 on failure). A board already open
  // keeps its handle.
  BoardStatus Connect(uint16_t vendorId, uint16_t productId, uint8_t boardNumber, int32_t *handle);
  // Loads the Intel HEX file at `path` (zero-terminated) into the board's
  // RAM and waits until the board has come back running it; the handle then
  // reaches the board as it came back.
  BoardStatus Download(int32_t handle, const uint8_t *path);
  // One control transfer: direction 0 to the board, 1 from it.
  BoardStatus Request(int32_t handle, int32_t request, int32_t value, int32_t index, int32_t direction, int32_t length,
                      uint8_t *buffer);

private:
  struct Board;
  Board *Find(int32_t handle);
  // The open board behind a handle; none, with the status that says why,
  // for a handle never given or of a board that went away.
  Board *Usable(int32_t handle, BoardStatus &status);
  BoardStatus ControlOut(Board &board, uint8_t request, uint16_t value, const uint8_t *bytes, std::size_t length);
  BoardStatus OpenAndClaim(libusb_device *device, Board &board);
  BoardStatus WaitForReturn(Board &board);
  void CloseHandle(Board &board);
  void Close(Board &board);

  BoardOptions options_;
  std::mutex mutex_;
  std::map<int32_t, std::unique_ptr<Board>> boards_;
  int32_t nextHandle_ = 1;
};

} // namespace vq::usb
