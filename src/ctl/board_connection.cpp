#include "ctl/board_connection.h"

#include "board/board_status.h"
#include "board/dynamic_library.h"
#include "board/registers.h"
#include "board/session_outcome.h"
#include "boardlog/call_decoder.h"

namespace vq::ctl {

BoardConnection::BoardConnection(std::string libraryPath, std::string programDirectory)
    : link_(std::move(libraryPath)), serial_(link_) {
  session_.ProgramDirectory = std::move(programDirectory);
  link_.AddCallListener(&registers_);
  link_.AddCallListener(this);
}

BoardConnection::~BoardConnection() {
  link_.RemoveCallListener(this);
  link_.RemoveCallListener(&registers_);
}

void BoardConnection::OnBoardCall(const BoardCall &call) {
  if (call.Kind == BoardCallKind::Search && call.Status == 0 && call.BoardCount > 0)
    boardNumber_ = call.BoardNumber;
}

std::optional<std::string> BoardConnection::Open(bool attach) {
  try {
    int16_t status = 0;
    bool usable = false;
    if (attach) {
      status = link_.Attach(session_);
      usable = status == 0;
    } else {
      status = link_.ConnectAndDownload(session_);
      usable = link_.DownloadSucceeded(status);
    }
    serial_.LastRequestStatus = status;
    if (!usable)
      return SessionFailureReason(status);
  } catch (const BoardLibraryError &error) {
    return std::string("cannot use the board library: ") + error.what();
  } catch (const FirmwarePathTooLong &error) {
    return error.what();
  }
  return std::nullopt;
}

std::optional<std::string> BoardConnection::Reconnect() {
  try {
    const SessionOutcome outcome = RunBoardSession(link_, session_);
    serial_.LastRequestStatus = outcome.Status;
    if (!outcome.Succeeded)
      return SessionFailureReason(outcome.Status);
  } catch (const BoardLibraryError &error) {
    return std::string("cannot use the board library: ") + error.what();
  } catch (const FirmwarePathTooLong &error) {
    return error.what();
  }
  return std::nullopt;
}

std::string BoardConnection::SessionFailureReason(int16_t status) const {
  const std::optional<BoardCall> &failure = link_.SessionFailure();
  if (!failure)
    return "the board session failed (status " + std::to_string(status) + ")";
  // Only a library that names its statuses follows our table: a board
  // maker's status 10 may mean anything.
  if (!failure->StatusText.empty() && failure->Status == StatusValue(BoardStatus::InUse))
    return "the board is in use by another program";
  if (std::string line = SessionFailureLine(*failure); !line.empty())
    return line;
  const char *step = failure->Kind == BoardCallKind::Search    ? "the search for boards"
                     : failure->Kind == BoardCallKind::Connect ? "connecting to the board"
                                                               : "the firmware download";
  return std::string(step) + " failed (status " + std::to_string(failure->Status) + ")";
}

} // namespace vq::ctl
