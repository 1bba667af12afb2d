// The writer's file operations on a POSIX system.
#ifndef _WIN32

#include "files/file_system.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace vq {

namespace {

int Descriptor(FileHandle file) {
  return static_cast<int>(file);
}

// A call interrupted by a signal is simply made again.
template <typename Call> SystemError Retried(Call call) {
  for (;;) {
    if (call() == 0)
      return 0;
    if (errno != EINTR)
      return errno;
  }
}

PathKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode))
    return PathKind::Regular;
  if (S_ISDIR(mode))
    return PathKind::Directory;
  if (S_ISCHR(mode) || S_ISBLK(mode))
    return PathKind::Device;
  if (S_ISFIFO(mode))
    return PathKind::Pipe;
  return PathKind::Other;
}

class PosixFileSystem : public FileSystem {
public:
  SystemError Inspect(const std::string &path, PathInfo &info) override {
    struct stat status {};
    info = {};
    if (::stat(path.c_str(), &status) != 0)
      return errno == ENOENT ? 0 : errno;
    info.Kind = KindOfMode(status.st_mode);
    info.Permissions = status.st_mode & 0777;
    info.Owner = status.st_uid;
    info.Group = status.st_gid;
    return 0;
  }

  SystemError Resolve(const std::string &path, std::string &resolved) override {
    resolved = path;
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
      return 0;
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (real == nullptr)
      return errno == ENOENT ? 0 : errno;
    resolved = real.get();
    return 0;
  }

  SystemError CreateNew(const std::string &path, FileHandle &file) override {
    return Opened(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666), file);
  }

  SystemError OpenExisting(const std::string &path, FileHandle &file) override {
    // Never blocks on a pipe and never makes a file: only a regular file that
    // is there gets here.
    return Opened(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK), file);
  }

  SystemError Write(FileHandle file, const char *data, std::size_t size, std::size_t &written) override {
    written = 0;
    for (;;) {
      const ssize_t done = ::write(Descriptor(file), data, size);
      if (done >= 0) {
        written = static_cast<std::size_t>(done);
        return 0;
      }
      if (errno != EINTR)
        return errno;
    }
  }

  SystemError Truncate(FileHandle file, uint64_t size) override {
    return Retried([&] { return ::ftruncate(Descriptor(file), static_cast<off_t>(size)); });
  }

  SystemError KeepAttributes(FileHandle file, const PathInfo &of) override {
    // The owner only where the system allows it (to root, or a group of
    // one's own); the permissions always.
    if (of.Owner != ::geteuid() || of.Group != ::getegid())
      (void)::fchown(Descriptor(file), of.Owner, of.Group);
    return Retried([&] { return ::fchmod(Descriptor(file), static_cast<mode_t>(of.Permissions & 0777)); });
  }

  SystemError Sync(FileHandle file) override {
    return Retried([&] { return ::fsync(Descriptor(file)); });
  }

  SystemError SizeOf(FileHandle file, uint64_t &size) override {
    struct stat status {};
    if (::fstat(Descriptor(file), &status) != 0)
      return errno;
    size = static_cast<uint64_t>(status.st_size);
    return 0;
  }

  SystemError Close(FileHandle file) override {
    // Not repeated on EINTR: the descriptor is gone either way on Linux.
    return ::close(Descriptor(file)) == 0 || errno == EINTR ? 0 : errno;
  }

  SystemError Replace(const std::string &from, const std::string &to) override {
    return Retried([&] { return ::rename(from.c_str(), to.c_str()); });
  }

  SystemError Remove(const std::string &path) override {
    return Retried([&] { return ::unlink(path.c_str()); });
  }

  void SyncDirectory(const std::string &directory) override {
    const int descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
      return;
    (void)::fsync(descriptor);
    ::close(descriptor);
  }

  ErrorKind KindOf(SystemError error) const override {
    switch (error) {
    case ENOENT:
      return ErrorKind::Missing;
    case EEXIST:
      return ErrorKind::Exists;
    case EACCES:
    case EPERM:
      return ErrorKind::Refused;
    case ENAMETOOLONG:
      return ErrorKind::NameTooLong;
    default:
      return ErrorKind::Other;
    }
  }

  std::string ErrorText(SystemError error) const override { return std::generic_category().message(error); }

  std::size_t LongestName() const override { return NAME_MAX; }
  std::size_t LongestPath() const override { return PATH_MAX - 1; } // PATH_MAX counts the terminator
  bool IsSeparator(char c) const override { return c == '/'; }

private:
  static SystemError Opened(int descriptor, FileHandle &file) {
    if (descriptor < 0)
      return errno;
    file = descriptor;
    return 0;
  }
};

} // namespace

FileSystem &NativeFileSystem() {
  static PosixFileSystem system;
  return system;
}

} // namespace vq

#endif
