#include "hexfile/image_file.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace vq::hex {

namespace {

// The path as the system means it. On Windows a program hands over its path
// in the system's 8-bit (ANSI) code page, which std::filesystem would instead
// decode as the C library's encoding: a directory named with a character
// such as the euro sign would not be found.
std::filesystem::path SystemPath(const std::string &path) {
#if defined(_WIN32)
  const int size = static_cast<int>(path.size());
  std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, path.data(), size, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), size, wide.data(), static_cast<int>(wide.size()));
  return std::filesystem::path(wide);
#else
  return std::filesystem::path(path);
#endif
}

} // namespace

FileContents ReadImageFile(const std::string &path) {
  FileContents contents;
  const std::string named = "The firmware file \"" + path + "\"";
  if (path.empty()) {
    contents.Problem = "No firmware file was named.";
    return contents;
  }
  std::error_code error;
  const std::filesystem::path file = SystemPath(path);
  if (!std::filesystem::is_regular_file(file, error)) {
    contents.Problem = named + (std::filesystem::exists(file, error) ? " is not a file." : " does not exist.");
    return contents;
  }
  std::ifstream stream(file, std::ios::binary);
  if (!stream) {
    contents.Problem = named + " cannot be opened.";
    return contents;
  }
  // Read in pieces and stop once past the limit, so a huge file (or one that
  // grows while read) never fills memory.
  std::string bytes;
  std::array<char, 16384> chunk;
  while (stream) {
    stream.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    bytes.append(chunk.data(), static_cast<std::size_t>(stream.gcount()));
    if (bytes.size() > MaxImageFileBytes) {
      contents.Problem = named + " is too large for a firmware image.";
      return contents;
    }
  }
  if (stream.bad()) {
    contents.Problem = named + " cannot be read.";
    return contents;
  }
  contents.Bytes = std::move(bytes);
  return contents;
}

} // namespace vq::hex
