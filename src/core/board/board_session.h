// The board session's firmware path: where the firmware file lies and the
// zero-terminated byte buffer in which the board library takes that path.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace vq {

constexpr std::size_t FirmwarePathBufferSize = 513; // indexes 0 to 512
constexpr const char *FirmwareFileName = "VQ8231.hex";
#if defined(_WIN32)
constexpr char PathSeparator = '\\';
#else
constexpr char PathSeparator = '/';
#endif

// The program directory's path is too long for FirmwarePathBuffer.
// what() says so without quoting the path, which may run to kilobytes.
class FirmwarePathTooLong : public std::runtime_error {
public:
  FirmwarePathTooLong(const std::string &message, std::string path)
      : std::runtime_error(message), path_(std::move(path)) {}
  const std::string &Path() const { return path_; }

private:
  std::string path_;
};

struct BoardSession {
  // Directory of the running program, without a trailing separator, as the
  // operating system's 8-bit path string.
  std::string ProgramDirectory;
  std::string FirmwarePath;
  std::array<uint8_t, FirmwarePathBufferSize> FirmwarePathBuffer{};
  int32_t BoardHandle = 0;

  // FirmwarePath := program directory + separator + "VQ8231.hex".
  void SetFirmwarePath();

  // Copies `path` into FirmwarePathBuffer followed by one zero byte; bytes
  // after the terminator keep what they held. A path of more than 512 bytes
  // does not fit: the buffer is left untouched and FirmwarePathTooLong thrown.
  void CopyFirmwarePath(const std::string &path);
};

} // namespace vq
