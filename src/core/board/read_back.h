// What the board returns: every byte a read or a sample delivers comes with
// its bit order reversed. A register read answers with three bytes, bits
// 23..16 of the word clocked out first; the register is in bytes 1 and 2. A
// sample is two bytes, high byte first.
#pragma once

#include <cstdint>

namespace vq {

constexpr uint8_t ReverseBits(uint8_t byte) {
  uint8_t result = 0;
  for (int i = 0; i < 8; ++i)
    if (byte & (1u << i))
      result |= static_cast<uint8_t>(1u << (7 - i));
  return result;
}

// The register a read returned, 0 to 65535; byte 0 (bits 23..16) is not
// part of it.
constexpr int32_t RegisterFromReadBytes(const uint8_t *bytes) {
  return ReverseBits(bytes[1]) * 256 + ReverseBits(bytes[2]);
}

// The sample two bytes carry, as a signed 16-bit value: the board digitises
// 12 bits, so a negative sample is no reading.
constexpr int16_t SampleFromBytes(const uint8_t *bytes) {
  return static_cast<int16_t>(ReverseBits(bytes[0]) * 256 + ReverseBits(bytes[1]));
}

} // namespace vq
