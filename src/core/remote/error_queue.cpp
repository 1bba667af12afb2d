#include "remote/error_queue.h"

#include <utility>

namespace vq::remote {

std::string_view ErrorText(ErrorCode code) {
  switch (code) {
  case ErrorCode::NoError:
    return "No error";
  case ErrorCode::SyntaxError:
    return "Syntax error";
  case ErrorCode::DataTypeError:
    return "Data type error";
  case ErrorCode::ParameterNotAllowed:
    return "Parameter not allowed";
  case ErrorCode::MissingParameter:
    return "Missing parameter";
  case ErrorCode::UndefinedHeader:
    return "Undefined header";
  case ErrorCode::HeaderSuffixOutOfRange:
    return "Header suffix out of range";
  case ErrorCode::ExecutionError:
    return "Execution error";
  case ErrorCode::SettingsConflict:
    return "Settings conflict";
  case ErrorCode::DataOutOfRange:
    return "Data out of range";
  case ErrorCode::IllegalParameterValue:
    return "Illegal parameter value";
  case ErrorCode::MassStorageError:
    return "Mass storage error";
  case ErrorCode::HardwareError:
    return "Hardware error";
  case ErrorCode::QueueOverflow:
    return "Queue overflow";
  }
  return "Unknown error";
}

std::string ErrorAnswer(const QueuedError &error) {
  std::string answer = std::to_string(static_cast<int>(error.Code));
  answer += ",\"";
  answer += ErrorText(error.Code);
  if (!error.Detail.empty()) {
    answer += ';';
    answer += error.Detail;
  }
  answer += '"';
  return answer;
}

namespace {

std::string CleanDetail(std::string_view detail) {
  const bool cut = detail.size() > ErrorQueue::MaxDetailLength;
  if (cut)
    detail = detail.substr(0, ErrorQueue::MaxDetailLength - 3);
  std::string clean;
  clean.reserve(detail.size() + 3);
  for (char c : detail) {
    if (c == '"')
      clean += '\'';
    else if (c >= ' ' && c <= '~')
      clean += c;
    else
      clean += '?';
  }
  if (cut)
    clean += "...";
  return clean;
}

} // namespace

void ErrorQueue::Push(ErrorCode code, std::string_view detail) {
  ++pushed_;
  if (count_ == Capacity) {
    entries_[(first_ + Capacity - 1) % Capacity] = QueuedError{ErrorCode::QueueOverflow, {}};
    return;
  }
  entries_[(first_ + count_) % Capacity] = QueuedError{code, CleanDetail(detail)};
  ++count_;
}

QueuedError ErrorQueue::Pop() {
  if (count_ == 0)
    return {};
  QueuedError error = std::move(entries_[first_]);
  first_ = (first_ + 1) % Capacity;
  --count_;
  return error;
}

} // namespace vq::remote
