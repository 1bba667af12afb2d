// Reads a firmware image file whole, with a bound on its size. Kept apart from
// the reader, which does no I/O.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace vq::hex {

// Far beyond any image a board's memory can take; a larger file is refused
// unread rather than pulled into memory.
constexpr std::size_t MaxImageFileBytes = 4 * 1024 * 1024;

struct FileContents {
  std::optional<std::string> Bytes; // nothing when the file cannot be read
  std::string Problem;
};

// The whole file at `path`, if it is a readable regular file of at most
// MaxImageFileBytes bytes.
FileContents ReadImageFile(const std::string &path);

} // namespace vq::hex
