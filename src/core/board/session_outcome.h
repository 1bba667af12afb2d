// The board session run on a library already loaded: at start-up, and again
// when the board was lost and the user reconnects. What became of it, in
// words a user can act on, for the window and the command-line program alike.
#pragma once

#include "board/board_call.h"
#include "board/board_link.h"
#include "board/board_session.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vq {

struct SessionOutcome {
  int16_t Status = 0; // the download's, as the library returned it
  bool Succeeded = false;
  // The first step that failed (the search, the connect or the download).
  std::optional<BoardCall> Failure;
  // Empty on success; otherwise why, in the library's words where it names
  // its statuses ("no board with the identifiers ... is on the USB bus"),
  // else the download's bare status.
  std::string Reason;
};

// Search, connect and firmware download on `link`, with the firmware path
// of `session`. The library is loaded already: nothing else is loaded or
// reloaded. Throws what ConnectAndDownload throws.
SessionOutcome RunBoardSession(BoardLink &link, BoardSession &session);

// The failed step of a board session in words, from a library that names its
// statuses: "no board with the identifiers 0x8231:0x0001 is on the USB bus",
// "VQ8231.hex is missing beside the program or cannot be read", else the step
// and the library's words. Empty for a library that names none.
std::string SessionFailureLine(const BoardCall &call);

// Whether a failed call says the board left the bus since it was opened. Only
// a library that names its statuses can say so: from any other, a failure is
// only a failure.
bool ReportsBoardGone(const BoardCall &call);

} // namespace vq
