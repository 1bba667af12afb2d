// Reading the firmware file that the board library is handed by path.
#pragma once

#include "hexfile/image_file.h"
#include "simboard/intel_hex.h"

#include <cstddef>
#include <string>

namespace vq::sim {

// The file is read by the bounded reader the libusb board libraries use too.
constexpr std::size_t MaxFirmwareFileBytes = hex::MaxImageFileBytes;
using hex::FileContents;
inline FileContents ReadFirmwareFile(const std::string &path) {
  return hex::ReadImageFile(path);
}

// Reads the file and checks it as an Intel HEX image.
HexCheck CheckFirmwareFile(const std::string &path);

} // namespace vq::sim
