// The writer's file operations on Windows. Paths come in as UTF-8 and go to
// the wide-character calls. What Windows does not have is left out: no
// symbolic links are followed, permission bits and owners are not copied
// (a new file takes its folder's access rules), and a folder cannot be synced.
#ifdef _WIN32

#include "files/file_system.h"

#include <windows.h>

#include <string>

namespace vq {

namespace {

HANDLE Native(FileHandle file) {
  return reinterpret_cast<HANDLE>(file);
}

std::wstring Wide(const std::string &utf8) {
  if (utf8.empty())
    return {};
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

std::string Utf8(const wchar_t *wide, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

SystemError LastError() {
  return static_cast<SystemError>(GetLastError());
}

SystemError Checked(BOOL succeeded) {
  return succeeded ? 0 : LastError();
}

class WindowsFileSystem : public FileSystem {
public:
  SystemError Inspect(const std::string &path, PathInfo &info) override {
    info = {};
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) {
      const SystemError error = LastError();
      return KindOf(error) == ErrorKind::Missing ? 0 : error;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      info.Kind = PathKind::Directory;
    else if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE)
      info.Kind = PathKind::Device;
    else
      info.Kind = PathKind::Regular;
    info.Permissions = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    return 0;
  }

  SystemError Resolve(const std::string &path, std::string &resolved) override {
    resolved = path;
    return 0;
  }

  SystemError CreateNew(const std::string &path, FileHandle &file) override {
    return Opened(
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr), file);
  }

  SystemError OpenExisting(const std::string &path, FileHandle &file) override {
    return Opened(
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
        file);
  }

  SystemError Write(FileHandle file, const char *data, std::size_t size, std::size_t &written) override {
    const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD done = 0;
    const SystemError error = Checked(WriteFile(Native(file), data, chunk, &done, nullptr));
    written = done;
    return error;
  }

  SystemError Truncate(FileHandle file, uint64_t size) override {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(Native(file), position, nullptr, FILE_BEGIN))
      return LastError();
    return Checked(SetEndOfFile(Native(file)));
  }

  SystemError KeepAttributes(FileHandle, const PathInfo &) override { return 0; }

  SystemError Sync(FileHandle file) override { return Checked(FlushFileBuffers(Native(file))); }

  SystemError SizeOf(FileHandle file, uint64_t &size) override {
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(Native(file), &length))
      return LastError();
    size = static_cast<uint64_t>(length.QuadPart);
    return 0;
  }

  SystemError Close(FileHandle file) override { return Checked(CloseHandle(Native(file))); }

  SystemError Replace(const std::string &from, const std::string &to) override {
    return Checked(
        MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  }

  SystemError Remove(const std::string &path) override { return Checked(DeleteFileW(Wide(path).c_str())); }

  void SyncDirectory(const std::string &) override {}

  ErrorKind KindOf(SystemError error) const override {
    switch (static_cast<DWORD>(error)) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ErrorKind::Missing;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return ErrorKind::Exists;
    case ERROR_ACCESS_DENIED:
      return ErrorKind::Refused;
    case ERROR_FILENAME_EXCED_RANGE:
      return ErrorKind::NameTooLong;
    default:
      return ErrorKind::Other;
    }
  }

  std::string ErrorText(SystemError error) const override {
    wchar_t *text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    if (length == 0 || text == nullptr)
      return "system error " + std::to_string(static_cast<unsigned long>(error));
    DWORD shown = length;
    while (shown > 0 && (text[shown - 1] == L'\r' || text[shown - 1] == L'\n' || text[shown - 1] == L'.'))
      --shown; // the system's sentence ends in ".\r\n"; the writer adds its own
    std::string words = Utf8(text, static_cast<int>(shown));
    LocalFree(text);
    return words;
  }

  std::size_t LongestName() const override { return 0; }
  std::size_t LongestPath() const override { return 0; }
  bool IsSeparator(char c) const override { return c == '/' || c == '\\'; }

private:
  static SystemError Opened(HANDLE handle, FileHandle &file) {
    if (handle == INVALID_HANDLE_VALUE)
      return LastError();
    file = reinterpret_cast<FileHandle>(handle);
    return 0;
  }
};

} // namespace

FileSystem &NativeFileSystem() {
  static WindowsFileSystem system;
  return system;
}

} // namespace vq

#endif
