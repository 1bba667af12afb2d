#include "board/session_outcome.h"

#include "board/board_status.h"

#include <cstdio>

namespace vq {
namespace {

std::string StatusInBrackets(int32_t status) {
  return " (status " + std::to_string(status) + ")";
}

std::string Identifier(uint16_t id) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(id));
  return text;
}

} // namespace

SessionOutcome RunBoardSession(BoardLink &link, BoardSession &session) {
  SessionOutcome outcome;
  outcome.Status = link.ConnectAndDownload(session);
  outcome.Succeeded = link.DownloadSucceeded(outcome.Status);
  if (outcome.Succeeded)
    return outcome;
  outcome.Failure = link.SessionFailure();
  if (outcome.Failure)
    outcome.Reason = SessionFailureLine(*outcome.Failure);
  if (outcome.Reason.empty())
    outcome.Reason = "the firmware download failed" + StatusInBrackets(outcome.Status);
  return outcome;
}

std::string SessionFailureLine(const BoardCall &call) {
  if (call.StatusText.empty())
    return "";
  // The earlier build's library returns a failure negated.
  const int32_t status = call.Status < 0 ? -call.Status : call.Status;
  if (call.Kind == BoardCallKind::Search && status == StatusValue(BoardStatus::NoBoard))
    return "no board with the identifiers " + Identifier(call.VendorId) + ":" + Identifier(call.ProductId) +
           " is on the USB bus";
  if (call.Kind == BoardCallKind::Download && status == StatusValue(BoardStatus::FirmwareUnreadable))
    return std::string(FirmwareFileName) + " is missing beside the program or cannot be read";
  const char *step = call.Kind == BoardCallKind::Search    ? "The search for boards"
                     : call.Kind == BoardCallKind::Connect ? "Connecting to the board"
                                                           : "The firmware download";
  return step + (": " + call.StatusText) + StatusInBrackets(call.Status);
}

bool ReportsBoardGone(const BoardCall &call) {
  return !call.StatusText.empty() && call.Status == StatusValue(BoardStatus::Gone);
}

} // namespace vq
