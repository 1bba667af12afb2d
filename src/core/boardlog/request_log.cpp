#include "boardlog/request_log.h"

#include "boardlog/call_decoder.h"

#include <algorithm>
#include <stdexcept>

namespace vq {

RequestLog::RequestLog(std::size_t capacity)
    : capacity_(std::max<std::size_t>(capacity, 1)), start_(std::chrono::steady_clock::now()) {}

void RequestLog::OnBoardCall(const BoardCall &call) {
  const auto elapsed = std::chrono::steady_clock::now() - start_;
  Record(call, std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
}

void RequestLog::Record(const BoardCall &call, int64_t micros) {
  const bool repeats = !entries_.empty() && SameRequest(call, Newest().Call);
  if (entries_.size() < capacity_) {
    entries_.push_back({next_++, micros, call, repeats});
    return;
  }
  LogEntry &slot = entries_[head_];
  slot.Sequence = next_++;
  slot.Micros = micros;
  slot.Call = call;
  slot.RepeatsPrevious = repeats;
  head_ = (head_ + 1) % capacity_;
}

const LogEntry &RequestLog::At(std::size_t position) const {
  if (position >= entries_.size())
    throw std::out_of_range("no log entry at position " + std::to_string(position));
  return entries_[(head_ + position) % entries_.size()];
}

const LogEntry *RequestLog::BySequence(uint64_t sequence) const {
  if (sequence < FirstSequence() || sequence >= next_)
    return nullptr;
  return &At(static_cast<std::size_t>(sequence - FirstSequence()));
}

void RequestLog::Clear() {
  entries_.clear();
  head_ = 0;
  clearedAt_ = next_;
}

} // namespace vq
