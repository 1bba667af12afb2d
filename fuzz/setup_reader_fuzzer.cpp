// The setup file reader on any bytes: an accepted setup, written and read
// again, is the same setup; a refused text says why and gives no setup.
#include "property.h"
#include "setup/setup_file.h"

#include <chrono>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, std::size_t size) {
  const vq::SetupReading reading = vq::ParseSetup(vq::fuzz::Text(data, size));
  if (!reading.Value) {
    VQ_PROPERTY(!reading.Problem.empty());
    return 0;
  }
  VQ_PROPERTY(reading.Problem.empty() && reading.Field.empty());
  VQ_PROPERTY(reading.Value->IsComplete());
  const std::string text = vq::SetupText(*reading.Value, std::chrono::system_clock::time_point{});
  const vq::SetupReading again = vq::ParseSetup(text);
  VQ_PROPERTY(again.Value.has_value());
  VQ_PROPERTY(*again.Value == *reading.Value);
  VQ_PROPERTY(vq::SetupText(*again.Value, std::chrono::system_clock::time_point{}) == text);
  return 0;
}
