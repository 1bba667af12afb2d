// Reading the firmware file that the board library is handed by path.
#pragma once

#include "simboard/intel_hex.h"

#include <cstddef>
#include <optional>
#include <string>

namespace vq::sim {

// Far beyond any image the board's memory can take; a larger file is refused
// unread rather than pulled into memory.
constexpr std::size_t MaxFirmwareFileBytes = 4 * 1024 * 1024;

struct FileContents {
  std::optional<std::string> Bytes; // nothing when the file cannot be read
  std::string Problem;
};

// The whole file at `path`, if it is a readable regular file of at most
// MaxFirmwareFileBytes bytes.
FileContents ReadFirmwareFile(const std::string &path);

// Reads the file and checks it as an Intel HEX image.
HexCheck CheckFirmwareFile(const std::string &path);

} // namespace vq::sim
