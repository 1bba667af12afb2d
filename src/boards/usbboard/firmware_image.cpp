#include "usbboard/firmware_image.h"

#include "hexfile/intel_hex.h"

#include <cstdio>
#include <vector>

namespace vq::usb {

namespace {

bool Loadable(uint64_t address) {
  return address < ProgramMemoryEnd || (address >= DataMemoryStart && address < DataMemoryEnd);
}

std::string Hex4(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%04llX", static_cast<unsigned long long>(value));
  return text;
}

std::string AtLine(std::size_t line) {
  return "Line " + std::to_string(line) + " ";
}

} // namespace

FirmwareImage LoadableImage(std::string_view hexText) {
  FirmwareImage image;
  const hex::Reading reading = hex::ReadIntelHex(hexText);
  if (!reading.Valid()) {
    image.Problem = reading.Problem;
    return image;
  }
  // Every loadable address lies below DataMemoryEnd, so one flag and one byte
  // per address below it hold the whole image.
  std::vector<bool> written(DataMemoryEnd, false);
  std::vector<uint8_t> memory(DataMemoryEnd, 0);
  uint64_t base = 0;
  for (const hex::Record &record : reading.Records) {
    switch (record.Type) {
    case hex::Data:
      for (std::size_t i = 0; i < record.Bytes.size(); ++i) {
        const uint64_t address = base + ((record.Address + i) & 0xFFFF);
        if (!Loadable(address)) {
          image.Problem = AtLine(record.Line) + "puts data at " + Hex4(address) +
                          ", outside the board's internal RAM (0x0000-0x3FFF, 0xE000-0xE1FF).";
          return image;
        }
        if (written[address]) {
          image.Problem = AtLine(record.Line) + "writes " + Hex4(address) + " a second time.";
          return image;
        }
        written[address] = true;
        memory[address] = record.Bytes[i];
      }
      break;
    case hex::ExtendedSegmentAddress:
      base = static_cast<uint64_t>(record.Bytes[0] << 8 | record.Bytes[1]) << 4;
      break;
    case hex::ExtendedLinearAddress:
      base = static_cast<uint64_t>(record.Bytes[0] << 8 | record.Bytes[1]) << 16;
      break;
    case hex::StartSegmentAddress:
    case hex::StartLinearAddress:
      break; // where a program starts means nothing to the boot loader
    default:
      image.Problem = AtLine(record.Line) + "has a record type the board cannot load.";
      return image;
    }
  }
  for (uint32_t address = 0; address < DataMemoryEnd; ++address) {
    if (!written[address])
      continue;
    if (image.Segments.empty() || !written[address - 1])
      image.Segments.push_back({static_cast<uint16_t>(address), {}});
    image.Segments.back().Bytes.push_back(memory[address]);
  }
  return image;
}

} // namespace vq::usb
