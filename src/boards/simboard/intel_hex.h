// Which Intel HEX images the simulated board accepts: every image the shared
// reader finds well formed, whatever its addresses. No I/O.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vq::sim {

struct HexCheck {
  bool Read = true; // false: the file could not be read, let alone checked
  bool Valid = false;
  std::string Problem;       // why the image is rejected, naming the line; empty when valid
  std::size_t DataBytes = 0; // bytes carried by the data records
};

// The rules are those of vq::hex::ReadIntelHex (hexfile/intel_hex.h): record
// syntax and checksums, record types 00 to 05, an end-of-file record ending
// the image, at least one data byte.
HexCheck CheckIntelHex(std::string_view image);

} // namespace vq::sim
