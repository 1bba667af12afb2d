#include "simboard/intel_hex.h"

#include "hexfile/intel_hex.h"

namespace vq::sim {

HexCheck CheckIntelHex(std::string_view image) {
  hex::Reading reading = hex::ReadIntelHex(image);
  HexCheck check;
  check.Valid = reading.Valid();
  check.Problem = std::move(reading.Problem);
  check.DataBytes = check.Valid ? reading.DataBytes : 0;
  return check;
}

} // namespace vq::sim
