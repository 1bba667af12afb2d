#include "simboard/firmware_file.h"

#include <utility>

namespace vq::sim {

HexCheck CheckFirmwareFile(const std::string &path) {
  FileContents contents = ReadFirmwareFile(path);
  if (!contents.Bytes) {
    HexCheck check;
    check.Read = false;
    check.Problem = std::move(contents.Problem);
    return check;
  }
  return CheckIntelHex(*contents.Bytes);
}

} // namespace vq::sim
