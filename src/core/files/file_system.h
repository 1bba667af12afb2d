// The few file operations the writer needs, behind one small interface: the
// system's own calls on POSIX and on Windows, or a stand-in in the tests that
// fails at a chosen step. Every operation returns the system's error code
// (errno, or GetLastError on Windows), 0 when it succeeded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vq {

using FileHandle = std::intptr_t; // a descriptor, or a HANDLE on Windows
using SystemError = int;          // 0: no error

// What a path names, following links.
enum class PathKind { Missing, Regular, Directory, Device, Pipe, Other };

struct PathInfo {
  PathKind Kind = PathKind::Missing;
  uint32_t Permissions = 0; // the permission bits (rwx for owner, group, others)
  uint32_t Owner = 0;
  uint32_t Group = 0;
};

// The errors the writer words in its own way; every other is named in the
// system's words.
enum class ErrorKind { Other, Missing, Exists, Refused, NameTooLong };

class FileSystem {
public:
  virtual ~FileSystem() = default;

  // What `path` names. A path that names nothing is Missing, not an error.
  virtual SystemError Inspect(const std::string &path, PathInfo &info) = 0;
  // The file a symbolic link at `path` leads to; `path` itself when it is no
  // link (or leads nowhere).
  virtual SystemError Resolve(const std::string &path, std::string &resolved) = 0;
  // Creates a file that did not exist, for writing; an existing one is Exists.
  virtual SystemError CreateNew(const std::string &path, FileHandle &file) = 0;
  // Opens an existing file for writing, leaving its contents as they are.
  virtual SystemError OpenExisting(const std::string &path, FileHandle &file) = 0;
  // One write; `written` may come back short of `size`.
  virtual SystemError Write(FileHandle file, const char *data, std::size_t size, std::size_t &written) = 0;
  virtual SystemError Truncate(FileHandle file, uint64_t size) = 0;
  // Gives the file the permissions (and, where allowed, the owner) of `of`.
  virtual SystemError KeepAttributes(FileHandle file, const PathInfo &of) = 0;
  // Until the data is on the disk.
  virtual SystemError Sync(FileHandle file) = 0;
  virtual SystemError SizeOf(FileHandle file, uint64_t &size) = 0;
  virtual SystemError Close(FileHandle file) = 0;
  // Renames `from` to `to` in one step, replacing a file there.
  virtual SystemError Replace(const std::string &from, const std::string &to) = 0;
  virtual SystemError Remove(const std::string &path) = 0;
  // Makes a rename in `directory` last; a system that cannot is no failure.
  virtual void SyncDirectory(const std::string &directory) = 0;

  virtual ErrorKind KindOf(SystemError error) const = 0;
  virtual std::string ErrorText(SystemError error) const = 0; // "No space left on device"
  // The longest name of a directory entry and the longest path, in bytes;
  // 0 where the system itself answers.
  virtual std::size_t LongestName() const = 0;
  virtual std::size_t LongestPath() const = 0;
  virtual bool IsSeparator(char c) const = 0;
};

// The system the program runs on.
FileSystem &NativeFileSystem();

} // namespace vq
