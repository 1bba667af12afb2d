// A file system for tests that passes every call to the real one; a test
// overrides the step it wants to fail. No Qt.
#pragma once

#include "files/file_system.h"

namespace vq::test {

class DelegatingFileSystem : public FileSystem {
public:
  SystemError Inspect(const std::string &path, PathInfo &info) override { return real_.Inspect(path, info); }
  SystemError Resolve(const std::string &path, std::string &resolved) override { return real_.Resolve(path, resolved); }
  SystemError CreateNew(const std::string &path, FileHandle &file) override { return real_.CreateNew(path, file); }
  SystemError OpenExisting(const std::string &path, FileHandle &file) override {
    return real_.OpenExisting(path, file);
  }
  SystemError Write(FileHandle file, const char *data, std::size_t size, std::size_t &written) override {
    return real_.Write(file, data, size, written);
  }
  SystemError Truncate(FileHandle file, uint64_t size) override { return real_.Truncate(file, size); }
  SystemError KeepAttributes(FileHandle file, const PathInfo &of) override { return real_.KeepAttributes(file, of); }
  SystemError Sync(FileHandle file) override { return real_.Sync(file); }
  SystemError SizeOf(FileHandle file, uint64_t &size) override { return real_.SizeOf(file, size); }
  SystemError Close(FileHandle file) override { return real_.Close(file); }
  SystemError Replace(const std::string &from, const std::string &to) override { return real_.Replace(from, to); }
  SystemError Remove(const std::string &path) override { return real_.Remove(path); }
  void SyncDirectory(const std::string &directory) override { real_.SyncDirectory(directory); }
  ErrorKind KindOf(SystemError error) const override { return real_.KindOf(error); }
  std::string ErrorText(SystemError error) const override { return real_.ErrorText(error); }
  std::size_t LongestName() const override { return real_.LongestName(); }
  std::size_t LongestPath() const override { return real_.LongestPath(); }
  bool IsSeparator(char c) const override { return real_.IsSeparator(c); }

protected:
  FileSystem &real_ = NativeFileSystem();
};

} // namespace vq::test
