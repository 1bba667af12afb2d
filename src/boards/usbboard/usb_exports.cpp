// The exported entry points of a libusb board library. This one source is
// built twice: with VQ_USB_FOUR_OPERATION it becomes KVL_CYUSB_USB4 (search,
// connect, download, vendor request), with VQ_USB_TWO_OPERATION it becomes
// USBFunctions (firmware load and vendor request, no handle), which takes the
// first board with the identifiers the build was configured with.
#include "board/board_exports.h"
#include "board/board_library.h"
#include "usbboard/usb_boards.h"

#include <atomic>
#include <type_traits>

#if defined(VQ_USB_FOUR_OPERATION) == defined(VQ_USB_TWO_OPERATION)
#error "Define exactly one of VQ_USB_FOUR_OPERATION and VQ_USB_TWO_OPERATION."
#endif

namespace {

using vq::BoardStatus;
using vq::CallCatching;
using vq::StatusValue;

vq::usb::UsbBoards &Boards() {
  static vq::usb::UsbBoards boards;
  return boards;
}

} // namespace

extern "C" {

VQ_BOARD_EXPORT const char *VqBoard_StatusText(int32_t status) {
  return vq::BoardStatusText(status);
}

#if defined(VQ_USB_FOUR_OPERATION)

VQ_BOARD_EXPORT int32_t VQ_BOARD_CALL Search_For_Boards(uint16_t VendorId, uint16_t ProductId, int32_t *count,
                                                        uint8_t *BoardList) {
  return CallCatching([&] { return int32_t{StatusValue(Boards().Search(VendorId, ProductId, count, BoardList))}; },
                      int32_t{StatusValue(BoardStatus::UsbFailure)});
}

VQ_BOARD_EXPORT int32_t VQ_BOARD_CALL Connect(uint16_t VendorId, uint16_t ProductId, uint8_t boardNumber,
                                              int32_t *handle) {
  return CallCatching([&] { return int32_t{StatusValue(Boards().Connect(VendorId, ProductId, boardNumber, handle))}; },
                      int32_t{StatusValue(BoardStatus::UsbFailure)});
}

VQ_BOARD_EXPORT int16_t VQ_BOARD_CALL Download_Firmware(int32_t handle, uint8_t *path) {
  return CallCatching([&] { return StatusValue(Boards().Download(handle, path)); },
                      StatusValue(BoardStatus::UsbFailure));
}

VQ_BOARD_EXPORT int16_t VQ_BOARD_CALL Vendor_Request(int32_t handle, uint8_t request, int32_t value, int32_t index,
                                                     uint8_t direction, int16_t length, uint8_t *buffer) {
  return CallCatching(
      [&] { return StatusValue(Boards().Request(handle, request, value, index, direction, length, buffer)); },
      StatusValue(BoardStatus::UsbFailure));
}

#else

namespace {
std::atomic<int32_t> loadedBoard{0}; // the handle LoadFirmWare opened; 0 before
}

// 1 when the firmware runs, otherwise the negated status (0 or less).
VQ_BOARD_EXPORT int16_t VQ_BOARD_CALL LoadFirmWare(uint8_t *path) {
  return CallCatching(
      [&] {
        int32_t count = 0;
        uint8_t boardList[128] = {};
        BoardStatus status = Boards().Search(VQ_VENDOR_ID, VQ_PRODUCT_ID, &count, boardList);
        int32_t handle = 0;
        if (status == BoardStatus::Success)
          status = Boards().Connect(VQ_VENDOR_ID, VQ_PRODUCT_ID, boardList[0], &handle);
        if (status == BoardStatus::Success) {
          loadedBoard = handle;
          status = Boards().Download(handle, path);
        }
        return static_cast<int16_t>(status == BoardStatus::Success ? 1 : -StatusValue(status));
      },
      static_cast<int16_t>(-StatusValue(BoardStatus::UsbFailure)));
}

VQ_BOARD_EXPORT int16_t VQ_BOARD_CALL VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                                                      int16_t length, uint8_t *buffer) {
  return CallCatching(
      [&] {
        const int32_t handle = loadedBoard;
        if (handle == 0)
          return StatusValue(BoardStatus::NoBoard);
        return StatusValue(Boards().Request(handle, request, value, index, direction, length, buffer));
      },
      StatusValue(BoardStatus::UsbFailure));
}

#endif

} // extern "C"

// The definitions above must have exactly the types the program loads them as.
static_assert(std::is_same_v<decltype(&VqBoard_StatusText), VqBoard_StatusText_Fn>);
#if defined(VQ_USB_FOUR_OPERATION)
static_assert(std::is_same_v<decltype(&Search_For_Boards), Search_For_Boards_Fn>);
static_assert(std::is_same_v<decltype(&Connect), Connect_Fn>);
static_assert(std::is_same_v<decltype(&Download_Firmware), Download_Firmware_Fn>);
static_assert(std::is_same_v<decltype(&Vendor_Request), Vendor_Request_Fn>);
#else
static_assert(std::is_same_v<decltype(&LoadFirmWare), LoadFirmWare_Fn>);
static_assert(std::is_same_v<decltype(&VendorIORequest), VendorIORequest_Fn>);
#endif
