// What the program needs from a board library binding: start the session and
// pass vendor requests. The serial access routines are the only users of
// vendorRequest; a test replaces the whole link with a recording fake.
#pragma once

#include <cstdint>

namespace vq {

struct BoardSession;

class BoardLink {
public:
  virtual ~BoardLink() = default;

  // Finds and opens the board where the library needs it and has the firmware
  // at session.FirmwarePathBuffer downloaded. Returns the library's status.
  // Throws BoardLibraryError when the library or an entry point is missing.
  virtual int16_t ConnectAndDownload(BoardSession &session) = 0;

  // Whether a status returned by ConnectAndDownload means the firmware runs.
  virtual bool DownloadSucceeded(int16_t status) const = 0;

  // One vendor request; `buffer` holds at least max(length, 1) bytes.
  virtual int16_t VendorRequest(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                                uint8_t *buffer) = 0;
};

} // namespace vq
