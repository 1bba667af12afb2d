// What the libusb board libraries load into the board's processor: the data of
// an Intel HEX image as contiguous segments, after the rules a real board
// needs. No I/O.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vq::usb {

// The processor's internal RAM, the only memory the boot loader can write.
constexpr uint32_t ProgramMemoryEnd = 0x4000; // 0x0000 to 0x3FFF
constexpr uint32_t DataMemoryStart = 0xE000;  // 0xE000 to 0xE1FF
constexpr uint32_t DataMemoryEnd = 0xE200;

struct Segment {
  uint16_t Address = 0;
  std::vector<uint8_t> Bytes;
};

struct FirmwareImage {
  std::vector<Segment> Segments; // ascending, neither touching nor overlapping
  std::string Problem;           // why the image is refused; empty when it can be loaded
  bool Valid() const { return Problem.empty(); }
};

// Well formed as hexfile/intel_hex.h demands, and beyond that: only data and
// end records, extended address records (02, 04) as long as the data stays in
// range, start address records (03, 05) ignored; every data byte inside the
// internal RAM and written only once.
FirmwareImage LoadableImage(std::string_view hexText);

} // namespace vq::usb
