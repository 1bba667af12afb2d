#include "app/program_directory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#if defined(__linux__)
#include <unistd.h>
#endif

namespace vq {

std::string ProgramDirectory() {
#if defined(__linux__)
  // The link's target as bytes; Qt's own answer is decoded text, which loses
  // every byte that is not UTF-8.
  for (std::size_t size = 4096; size <= 1 << 20; size *= 4) {
    std::string path(size, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0)
      break;
    if (static_cast<std::size_t>(length) < path.size()) {
      path.resize(static_cast<std::size_t>(length));
      return path.substr(0, path.rfind('/'));
    }
  }
#endif
  return QFile::encodeName(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())).toStdString();
}

} // namespace vq
