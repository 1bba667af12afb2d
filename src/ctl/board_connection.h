// The board session of the command-line program: the four-operation board
// library loaded by path, the search, the connect and (unless attaching to a
// board whose firmware runs) the firmware download, then the function
// register read (by the instrument) as the window's start-up reads it.
// Nothing else is sent: a one-shot command changes only what it names.
#pragma once

#include "board/board_call.h"
#include "board/board_session.h"
#include "board/four_operation_link.h"
#include "board/serial_access.h"
#include "boardlog/register_model.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vq::ctl {

class BoardConnection : private BoardCallListener {
public:
  // `libraryPath` names the board library file; `programDirectory` is where
  // the firmware image is looked for.
  BoardConnection(std::string libraryPath, std::string programDirectory);
  ~BoardConnection();
  BoardConnection(const BoardConnection &) = delete;
  BoardConnection &operator=(const BoardConnection &) = delete;

  // Runs the session; with `attach` the download is left out. Returns the
  // reason in words when the board cannot be used, nothing when it can.
  std::optional<std::string> Open(bool attach);
  // The board session again on the library already loaded (search, connect,
  // download), for a board that was lost: the reason in words when it fails.
  std::optional<std::string> Reconnect();

  SerialAccess &Serial() { return serial_; }
  RegisterModel &Registers() { return registers_; }
  BoardLink &Link() { return link_; }
  // The board number the search found first; 0 before a search found one.
  int BoardNumber() const { return boardNumber_; }

private:
  void OnBoardCall(const BoardCall &call) override;
  std::string SessionFailureReason(int16_t status) const;

  FourOperationLink link_;
  BoardSession session_;
  SerialAccess serial_;
  RegisterModel registers_;
  int boardNumber_ = 0;
};

} // namespace vq::ctl
