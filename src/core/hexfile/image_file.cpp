#include "hexfile/image_file.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace vq::hex {

FileContents ReadImageFile(const std::string &path) {
  FileContents contents;
  const std::string named = "The firmware file \"" + path + "\"";
  if (path.empty()) {
    contents.Problem = "No firmware file was named.";
    return contents;
  }
  std::error_code error;
  const std::filesystem::path file(path);
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
