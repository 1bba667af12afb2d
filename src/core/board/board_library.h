// The binary interface of the two board libraries: the four-operation library
// (KVL_CYUSB_USB4) of VQ8231(version2) and the two-operation library
// (USBFunctions) of the earlier build. The program and the simulated board both
// take their declarations from here, so the two cannot drift apart.
#pragma once

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define VQ_BOARD_CALL __stdcall
#else
#define VQ_BOARD_CALL
#endif

#if defined(_WIN32) && defined(__GNUC__)
#define VQ_BOARD_EXPORT __attribute__((dllexport))
#elif defined(_WIN32)
#define VQ_BOARD_EXPORT /* MSVC: the build exports the library's symbols */
#else
#define VQ_BOARD_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Four-operation library. Status 0 = success. */
typedef int32_t(VQ_BOARD_CALL *Search_For_Boards_Fn)(uint16_t VendorId, uint16_t ProductId, int32_t *count,
                                                     uint8_t *BoardList /* 128 bytes */);
typedef int32_t(VQ_BOARD_CALL *Connect_Fn)(uint16_t VendorId, uint16_t ProductId, uint8_t boardNumber, int32_t *handle);
typedef int16_t(VQ_BOARD_CALL *Download_Firmware_Fn)(int32_t handle, uint8_t *path /* zero-terminated */);
typedef int16_t(VQ_BOARD_CALL *Vendor_Request_Fn)(int32_t handle, uint8_t request, int32_t value, int32_t index,
                                                  uint8_t direction, int16_t length, uint8_t *buffer);

/* Two-operation library. LoadFirmWare succeeds when its status is 1 or more;
   VendorIORequest returns 0 on success. */
typedef int16_t(VQ_BOARD_CALL *LoadFirmWare_Fn)(uint8_t *path /* zero-terminated */);
typedef int16_t(VQ_BOARD_CALL *VendorIORequest_Fn)(int16_t request, int32_t value, int32_t index, int16_t direction,
                                                   int16_t length, uint8_t *buffer);

#ifdef __cplusplus
}
#endif

/* Optional entry point: only the simulated board libraries export it, and a
   program looks it up in the library it loaded, never by linking the model.
   It returns the simulated board's C++ control view (simboard/sim_board_api.h,
   which repeats this declaration). A vendor library never has it. */
#ifdef __cplusplus
namespace vq::sim {
class BoardControl;
}
extern "C" {
typedef vq::sim::BoardControl *(*VqSim_Board_Fn)();
}
#endif
#define VQ_SIM_BOARD_ACCESSOR "VqSim_Board"

/* Optional entry point of our own board libraries (simulated and libusb),
   never of the board maker's: the words for one of the library's status
   values, null for a value it does not have. Its presence says that the
   library's statuses follow the one status table (board/board_status.h). */
#ifdef __cplusplus
extern "C" {
#endif
typedef const char *(*VqBoard_StatusText_Fn)(int32_t status);
#ifdef __cplusplus
}
#endif
#define VQ_BOARD_STATUS_TEXT "VqBoard_StatusText"

/* Library file names and entry point names, as the loader looks them up. On
   Windows the program loads the four-operation library from the board
   maker's installation (VQ_USB4_WINDOWS_PATH); the file name is what our own
   board libraries are called. */
#define VQ_USB4_WINDOWS_PATH "c:/Program Files/Korvell/USB Drivers/KVL_CYUSB_USB4.dll"
#if defined(_WIN32)
#define VQ_USB4_FILE_NAME "KVL_CYUSB_USB4.dll"
#define VQ_USBFUNCTIONS_NAME "USBFunctions"
#else
#define VQ_USB4_FILE_NAME "KVL_CYUSB_USB4.so"
#define VQ_USBFUNCTIONS_NAME "libUSBFunctions.so"
#endif

/* Board identifiers handed to Search_For_Boards and Connect: VQ_VENDOR_ID and
   VQ_PRODUCT_ID, set at build time (CMake cache variables VQ_USB_VENDOR_ID and
   VQ_USB_PRODUCT_ID) in a header the build generates (target vq_board_ids). */
#include "board/board_ids.h"

/* The vendor requests the firmware understands. */
enum VqRequest {
  VQ_REQ_WRITE_PULSE = 0xD9, /* shift the word in, then pulse LDAC */
  VQ_REQ_SAMPLE = 0xDA,      /* two-byte TEMP sample */
  VQ_REQ_D0_DIRECTION = 0xDB,
  VQ_REQ_D1_DIRECTION = 0xDC,
  VQ_REQ_SHIFT_WORD = 0xDD, /* shift the word in (and read back when direction is 1) */
  VQ_REQ_CONTROL_LINES = 0xDE
};
