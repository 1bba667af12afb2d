// The error codes a command line can queue, with their standard texts, and the queue that
// SYSTem:ERRor? reads: oldest first, at most 32 entries.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vq::remote {

enum class ErrorCode : int16_t {
  NoError = 0,
  SyntaxError = -102,
  DataTypeError = -104,
  ParameterNotAllowed = -108,
  MissingParameter = -109,
  UndefinedHeader = -113,
  HeaderSuffixOutOfRange = -114,
  // Only for a handler that ends by an exception instead of reporting what went wrong.
  ExecutionError = -200,
  SettingsConflict = -221,
  DataOutOfRange = -222,
  IllegalParameterValue = -224,
  HardwareError = -240,
  MassStorageError = -250, // a file that could not be read or written
  QueueOverflow = -350,
};

// "Syntax error", "Undefined header", ..., "No error".
std::string_view ErrorText(ErrorCode code);

struct QueuedError {
  ErrorCode Code = ErrorCode::NoError;
  // What went wrong in particular: the offending text, or the reason a request failed. Printable
  // ASCII only, at most MaxDetailLength bytes (see ErrorQueue::Push).
  std::string Detail;
};

// The answer line of SYSTem:ERRor?: -113,"Undefined header;SOUR9:CODE" or 0,"No error".
std::string ErrorAnswer(const QueuedError &error);

class ErrorQueue {
public:
  static constexpr std::size_t Capacity = 32;
  static constexpr std::size_t MaxDetailLength = 60;

  // Queues an error. When the queue is full, its newest entry becomes QueueOverflow instead, so the
  // reader learns that errors were lost. The detail is cut to MaxDetailLength bytes (marked "...");
  // bytes outside printable ASCII become '?' and double quotes single ones, so any answer stays one
  // well-formed line whatever a client sent.
  void Push(ErrorCode code, std::string_view detail = {});
  // The oldest error, taken off the queue; NoError when it is empty.
  QueuedError Pop();
  std::size_t Count() const { return count_; }
  void Clear() { count_ = 0; }
  // How many errors were ever pushed, lost ones included: a caller compares it before and after a
  // line to learn whether the line queued any.
  uint64_t Pushed() const { return pushed_; }

private:
  std::array<QueuedError, Capacity> entries_;
  std::size_t first_ = 0;
  std::size_t count_ = 0;
  uint64_t pushed_ = 0;
};

} // namespace vq::remote
