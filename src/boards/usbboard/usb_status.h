// Status values of the libusb board libraries. Download_Firmware,
// Vendor_Request, VendorIORequest, Search_For_Boards and Connect return them
// as they are; LoadFirmWare returns 1 on success and the negated status
// otherwise, so that every failure is 0 or less there.
#pragma once

#include <cstdint>

namespace vq::usb {

enum Status : int16_t {
  StatusOk = 0,
  StatusTimeout = 1,       // the board did not answer within the request's time
  StatusStall = 2,         // the board refused the request (the control pipe stalled)
  StatusNoPermission = 3,  // the system would not let us open the board (udev rule missing)
  StatusGone = 4,          // the board was unplugged (or dropped off the bus) since it was opened
  StatusBadArgument = 5,   // direction, length, buffer, value, index or path out of place
  StatusUnknownHandle = 6, // a handle Connect never gave
  StatusNoBoard = 7,       // no board with these identifiers, or no such board number
  StatusBadFirmware = 8,   // the firmware file is missing, unreadable or refused
  StatusNotBack = 9,       // after the download the board did not come back in time
  StatusBusy = 10,         // another program holds the board's interface
  StatusUsbError = 11      // any other failure reported by libusb
};

// A short text for each status, for messages.
const char *StatusText(int status);

} // namespace vq::usb
