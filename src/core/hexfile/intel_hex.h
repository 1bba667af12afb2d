// Reads an Intel HEX image into its records. No I/O: the caller hands over the
// file's contents, and each user applies its own rules (which record types it
// takes, which addresses it can load) to the records returned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vq::hex {

enum RecordType : uint8_t {
  Data = 0x00,
  EndOfFile = 0x01,
  ExtendedSegmentAddress = 0x02,
  StartSegmentAddress = 0x03,
  ExtendedLinearAddress = 0x04,
  StartLinearAddress = 0x05
};

struct Record {
  std::size_t Line = 0; // 1-based line number in the image
  uint8_t Type = Data;
  uint16_t Address = 0;
  std::vector<uint8_t> Bytes; // the record's data field
};

struct Reading {
  std::string Problem;         // why the image is not well formed, naming the line; empty when it is
  std::vector<Record> Records; // up to the end-of-file record (not included); partial on a problem
  std::size_t DataBytes = 0;   // bytes carried by the data records
  bool Valid() const { return Problem.empty(); }
};

// Every line is ':' followed by hex digit pairs: byte count, 16-bit address,
// record type, the data and a checksum that makes all bytes sum to 0 modulo
// 256. Record types 00 to 05 are known, and those other than data have a fixed
// length. An end-of-file record (01) must end the image, and only line ends
// may follow it. Lines end in LF or CR LF. An image without any data bytes is
// not well formed either: there would be nothing to run.
Reading ReadIntelHex(std::string_view image);

} // namespace vq::hex
