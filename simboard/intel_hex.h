// Checks that bytes form a well-formed Intel HEX image. No I/O: the caller
// hands over the file's contents.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vq::sim {

struct HexCheck {
  bool Valid = false;
  std::string Problem;       // why the image is rejected, naming the line; empty when valid
  std::size_t DataBytes = 0; // bytes carried by the data records
};

// Every line is ':' followed by hex digit pairs: byte count, 16-bit address,
// record type, the data and a checksum that makes all bytes sum to 0 modulo
// 256. Record types 00 to 05 are known; an end-of-file record (01) must end
// the image, and only line ends may follow it. Lines end in LF or CR LF. An
// image without any data bytes is rejected: there would be nothing to run.
HexCheck CheckIntelHex(std::string_view image);

} // namespace vq::sim
