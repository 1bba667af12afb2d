// Reading a zero-terminated byte string handed across the board library
// interface, such as the firmware path, without reading past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vq {

// The bytes before the terminator; nothing when there is no buffer or no
// terminator among its first `limit` bytes.
inline std::optional<std::string> ZeroTerminatedText(const uint8_t *bytes, std::size_t limit) {
  if (bytes == nullptr)
    return std::nullopt;
  for (std::size_t length = 0; length < limit; ++length)
    if (bytes[length] == 0)
      return std::string(reinterpret_cast<const char *>(bytes), length);
  return std::nullopt;
}

} // namespace vq
