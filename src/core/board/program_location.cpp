#include "board/program_location.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <vector>

namespace vq {

std::string ProgramDirectory() {
  // Grows the buffer until the whole path fits; a path of a megabyte is not
  // a program's.
  for (std::size_t size = 4096; size <= (std::size_t{1} << 20); size *= 4) {
    std::vector<char> path(size);
#if defined(_WIN32)
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      break;
    const char separator = '\\';
#else
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0)
      break;
    const char separator = '/';
#endif
    if (static_cast<std::size_t>(length) < path.size()) {
      const std::string whole(path.data(), static_cast<std::size_t>(length));
      const std::size_t end = whole.rfind(separator);
      return end == std::string::npos ? std::string() : whole.substr(0, end);
    }
  }
  return {};
}

} // namespace vq
