// What the program needs from a board library binding: start the session and
// pass vendor requests. The serial access routines are the only users of
// VendorRequest; a test replaces the whole link with a recording fake. Every
// library call is reported to an optional listener, whatever the binding, so
// a log sees exactly what the board receives.
#pragma once

#include "board/board_call.h"

#include <cstdint>

namespace vq {

namespace sim {
class BoardControl;
}

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

  // One vendor request; `buffer` holds at least max(length, 1) bytes. The
  // listener hears of it after the library returned.
  int16_t VendorRequest(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                        uint8_t *buffer);

  // The simulated board's control view when the library this link loaded
  // offers one; null for any other library and before the library is loaded.
  virtual sim::BoardControl *SimulatedBoard() { return nullptr; }

  // At most one listener; null removes it. It must outlive its installation.
  void SetCallListener(BoardCallListener *listener) { listener_ = listener; }

protected:
  // The vendor request itself, as the library takes it.
  virtual int16_t Transfer(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                           uint8_t *buffer) = 0;

  void Report(const BoardCall &call) const {
    if (listener_ != nullptr)
      listener_->OnBoardCall(call);
  }

private:
  BoardCallListener *listener_ = nullptr;
};

} // namespace vq
