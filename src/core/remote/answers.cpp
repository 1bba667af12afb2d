#include "remote/answers.h"

#include "remote/mnemonic.h"

#include <charconv>
#include <cmath>

namespace vq::remote {

std::string IntegerAnswer(int64_t value) {
  return std::to_string(value);
}

std::string DecimalAnswer(double value) {
  if (!std::isfinite(value))
    return "9.91E+37";
  char text[400]; // the largest double has 309 digits before the point
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6).ptr;
  std::string answer(text, end);
  if (answer.starts_with('-') && answer.find_first_not_of("0.", 1) == std::string::npos)
    answer.erase(0, 1);
  return answer;
}

std::string_view BooleanAnswer(bool on) {
  return on ? "ON" : "OFF";
}

std::string_view WordAnswer(std::string_view written) {
  std::size_t end = 0;
  while (end < written.size() && !IsAsciiLower(written[end]))
    ++end;
  return written.substr(0, end);
}

std::string TextAnswer(std::string_view text) {
  std::string answer = "\"";
  for (char c : text) {
    answer += c;
    if (c == '"')
      answer += '"';
  }
  answer += '"';
  return answer;
}

} // namespace vq::remote
