// One call the program made into its board library, as the board link reports
// it to an optional listener: the search, the connect, the firmware download
// and every vendor request, with what went in and what came back. The link
// reports only what crosses its own boundary; what a library does inside a
// call (the firmware bytes it sends, for instance) is not seen here.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vq {

enum class BoardCallKind : uint8_t { Search, Connect, Download, Request };

struct BoardCall {
  // Bytes kept of a request's buffer; the program never moves more than 3.
  static constexpr int MaxBytes = 8;

  BoardCallKind Kind = BoardCallKind::Request;
  int32_t Status = 0;
  // The library's words for a failure, when it names its statuses; empty for
  // a success and for a library that does not.
  std::string StatusText;

  // Search and connect.
  uint16_t VendorId = 0;
  uint16_t ProductId = 0;
  int32_t BoardCount = 0;  // search: the count the library wrote
  uint8_t BoardNumber = 0; // search: first byte of the list; connect: the board opened
  int32_t BoardHandle = 0; // connect: the handle the library wrote

  // Download.
  std::string FirmwarePath; // the bytes handed over, up to the terminator
  bool DownloadSucceeded = false;

  // Request.
  uint8_t Request = 0;
  int32_t Value = 0;
  int32_t Index = 0;
  uint8_t Direction = 0;
  int16_t Length = 0;
  // Direction 0: the bytes sent; direction 1: the bytes the library returned.
  // Length bytes, at most MaxBytes of them (ByteCount).
  std::array<uint8_t, MaxBytes> Bytes{};
  uint8_t ByteCount = 0;
};

// Told about every call after it returned, on the caller's thread.
class BoardCallListener {
public:
  virtual void OnBoardCall(const BoardCall &call) = 0;

protected:
  ~BoardCallListener() = default;
};

} // namespace vq
