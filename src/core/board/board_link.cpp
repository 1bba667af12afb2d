#include "board/board_link.h"

#include <algorithm>

namespace vq {

std::optional<std::string> BoardLink::StatusText(int32_t status) const {
  if (statusText_ == nullptr)
    return std::nullopt;
  const char *text = statusText_(status);
  if (text == nullptr)
    return std::nullopt;
  return std::string(text);
}

void BoardLink::NameFailure(BoardCall &call, int32_t status) const {
  if (const auto text = StatusText(status))
    call.StatusText = *text;
}

void BoardLink::ReportStep(const BoardCall &call, bool failed, bool firstStep) {
  if (firstStep)
    sessionFailure_.reset();
  if (failed && !sessionFailure_)
    sessionFailure_ = call;
  Report(call);
}

int16_t BoardLink::VendorRequest(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                                 uint8_t *buffer) {
  if (listener_ == nullptr)
    return Transfer(request, value, index, direction, length, buffer);

  BoardCall call;
  call.Kind = BoardCallKind::Request;
  call.Request = request;
  call.Value = value;
  call.Index = index;
  call.Direction = direction;
  call.Length = length;
  call.ByteCount = static_cast<uint8_t>(std::clamp<int>(length, 0, BoardCall::MaxBytes));
  // What goes out is taken before the call, what comes back after it.
  const bool returnsBytes = direction != 0;
  if (!returnsBytes && buffer != nullptr)
    std::copy_n(buffer, call.ByteCount, call.Bytes.begin());
  call.Status = Transfer(request, value, index, direction, length, buffer);
  if (returnsBytes && buffer != nullptr)
    std::copy_n(buffer, call.ByteCount, call.Bytes.begin());
  if (call.Status != 0)
    NameFailure(call, call.Status);
  listener_->OnBoardCall(call);
  return static_cast<int16_t>(call.Status);
}

} // namespace vq
