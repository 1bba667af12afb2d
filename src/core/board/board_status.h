// The status values of our own board libraries, the simulated board and the
// libusb libraries alike: what each value means, once. Search_For_Boards,
// Connect, Download_Firmware, Vendor_Request and VendorIORequest return them
// as they are; LoadFirmWare returns 1 or more on success and a failure as 0
// or the negated value. The libraries name a value in words through their
// export VqBoard_StatusText (board/board_library.h); the board maker's
// library follows no table of ours and has no such export.
#pragma once

#include <cstdint>

namespace vq {

enum class BoardStatus : int16_t {
  Success = 0,
  NoAnswer = 1,           // the board did not answer in time
  Refused = 2,            // the board refused the request
  NoPermission = 3,       // the system would not let the library open the board
  Gone = 4,               // the board was unplugged (or left the bus) since it was opened
  BadArgument = 5,        // an argument out of place: direction, length, buffer, value, index or path
  UnknownHandle = 6,      // a handle Connect never gave
  NoBoard = 7,            // no board with the identifiers on the bus, or no such board number
  FirmwareUnreadable = 8, // the firmware file is missing or cannot be read
  BoardNotBack = 9,       // the board did not come back after the firmware download
  InUse = 10,             // another program holds the board
  UsbFailure = 11,        // any other USB failure
  FirmwareRefused = 12,   // the firmware image is not one the board can load
};

constexpr int16_t StatusValue(BoardStatus status) {
  return static_cast<int16_t>(status);
}

// The words for a status value; null for a value outside the table.
constexpr const char *BoardStatusText(int32_t status) {
  switch (status) {
  case StatusValue(BoardStatus::Success):
    return "success";
  case StatusValue(BoardStatus::NoAnswer):
    return "the board did not answer";
  case StatusValue(BoardStatus::Refused):
    return "the board refused the request";
  case StatusValue(BoardStatus::NoPermission):
    return "no permission to open the board";
  case StatusValue(BoardStatus::Gone):
    return "the board is gone";
  case StatusValue(BoardStatus::BadArgument):
    return "an argument is out of place";
  case StatusValue(BoardStatus::UnknownHandle):
    return "no board has this handle";
  case StatusValue(BoardStatus::NoBoard):
    return "no board with these identifiers";
  case StatusValue(BoardStatus::FirmwareUnreadable):
    return "the firmware file is missing or unreadable";
  case StatusValue(BoardStatus::BoardNotBack):
    return "the board did not come back after the download";
  case StatusValue(BoardStatus::InUse):
    return "another program holds the board";
  case StatusValue(BoardStatus::UsbFailure):
    return "USB failure";
  case StatusValue(BoardStatus::FirmwareRefused):
    return "the board cannot load this firmware image";
  default:
    return nullptr;
  }
}

} // namespace vq
