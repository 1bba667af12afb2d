// The latest board library calls, oldest first, in a ring of fixed capacity:
// when it is full the oldest entry makes room and is counted as dropped.
// Recording copies one fixed-size entry and reads the clock, so it can stay on
// while nobody looks.
#pragma once

#include "board/board_call.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vq {

struct LogEntry {
  uint64_t Sequence = 0; // counts every call recorded, never reused
  int64_t Micros = 0;    // time since the log started
  BoardCall Call;
  bool RepeatsPrevious = false; // the same request as the entry before it
};

class RequestLog : public BoardCallListener {
public:
  static constexpr std::size_t DefaultCapacity = 100000;

  explicit RequestLog(std::size_t capacity = DefaultCapacity);

  // Records the call with the time since the log started.
  void OnBoardCall(const BoardCall &call) override;
  void Record(const BoardCall &call, int64_t micros);

  std::size_t Capacity() const { return capacity_; }
  std::size_t Size() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  const LogEntry &At(std::size_t position) const; // 0 = oldest kept
  const LogEntry &Newest() const { return At(Size() - 1); }

  uint64_t FirstSequence() const { return next_ - entries_.size(); } // of At(0)
  uint64_t NextSequence() const { return next_; }
  // The entry with this sequence number if it is still kept, else null.
  const LogEntry *BySequence(uint64_t sequence) const;

  // Entries that made room for newer ones since the last Clear.
  uint64_t Dropped() const { return next_ - clearedAt_ - entries_.size(); }

  // Forgets every entry and the dropped count; sequence numbers go on.
  void Clear();

private:
  std::size_t capacity_;
  std::vector<LogEntry> entries_; // grows to capacity_, then wraps at head_
  std::size_t head_ = 0;          // position of the oldest entry once full
  uint64_t next_ = 0;
  uint64_t clearedAt_ = 0;
  std::chrono::steady_clock::time_point start_;
};

} // namespace vq
