// What the program needs from a board library binding: start the session and
// pass vendor requests. The serial access routines are the only users of
// VendorRequest; a test replaces the whole link with a recording fake. Every
// library call is reported to an optional listener, whatever the binding, so
// a log sees exactly what the board receives.
#pragma once

#include "board/board_call.h"
#include "board/board_library.h"

#include <cstdint>
#include <optional>
#include <string>

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

  // The first step of the last ConnectAndDownload that failed (the search,
  // the connect or the download), as the listener heard of it; nothing when
  // every step succeeded. The download's status alone cannot tell a search
  // that found no board from a download that failed.
  const std::optional<BoardCall> &SessionFailure() const { return sessionFailure_; }

  // One vendor request; `buffer` holds at least max(length, 1) bytes. The
  // listener hears of it after the library returned.
  int16_t VendorRequest(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                        uint8_t *buffer);

  // The board library's file as it was loaded (a path, or a bare name the
  // system searched for); empty for a link that loads none.
  virtual std::string LibraryFile() const { return {}; }

  // The simulated board's control view when the library this link loaded
  // offers one; null for any other library and before the library is loaded.
  virtual sim::BoardControl *SimulatedBoard() { return nullptr; }

  // At most one listener; null removes it. It must outlive its installation.
  void SetCallListener(BoardCallListener *listener) { listener_ = listener; }

  // Whether the library names its statuses, which then follow the one status
  // table (board/board_status.h); known once the library is loaded. A board
  // maker's library never does: its statuses are only numbers.
  bool NamesStatuses() const { return statusText_ != nullptr; }
  // The library's words for one of its status values; nothing when the
  // library names no statuses or does not know this one.
  std::optional<std::string> StatusText(int32_t status) const;

protected:
  // The vendor request itself, as the library takes it.
  virtual int16_t Transfer(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                           uint8_t *buffer) = 0;

  void Report(const BoardCall &call) const {
    if (listener_ != nullptr)
      listener_->OnBoardCall(call);
  }
  // A step of ConnectAndDownload, its failure named: keeps the session's
  // first failed step and reports the call. The first step forgets the last
  // session's failure.
  void ReportStep(const BoardCall &call, bool failed, bool firstStep);

  // The library's own entry point that names its statuses, if it has one.
  void NameStatusesWith(VqBoard_StatusText_Fn statusText) { statusText_ = statusText; }
  // Puts the library's words for `status` into the record of a failed call.
  void NameFailure(BoardCall &call, int32_t status) const;

private:
  BoardCallListener *listener_ = nullptr;
  VqBoard_StatusText_Fn statusText_ = nullptr;
  std::optional<BoardCall> sessionFailure_;
};

} // namespace vq
