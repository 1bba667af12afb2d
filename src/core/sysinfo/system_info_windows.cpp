// The Windows registry and process start behind the About box's
// system-information launcher.
#ifdef _WIN32

#include "sysinfo/system_info.h"

#include <windows.h>

namespace vq {

namespace {

HKEY RootKey(RegistryRoot root) {
  switch (root) {
  case RegistryRoot::LocalMachine:
    return HKEY_LOCAL_MACHINE;
  }
  return HKEY_LOCAL_MACHINE;
}

class WindowsSystemInfoPlatform : public SystemInfoPlatform {
public:
  bool OpenKey(RegistryRoot root, const std::string &key, uint32_t access, RegistryKeyHandle &handle) override {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, static_cast<REGSAM>(access), &opened) != ERROR_SUCCESS)
      return false;
    handle = reinterpret_cast<RegistryKeyHandle>(opened);
    return true;
  }

  bool QueryValue(RegistryKeyHandle handle, const std::string &valueName, RegistryValueQuery &query) override {
    DWORD type = 0;
    DWORD size = query.Size;
    const LONG status =
        RegQueryValueExA(reinterpret_cast<HKEY>(handle), valueName.c_str(), nullptr, &type, query.Data.data(), &size);
    if (status != ERROR_SUCCESS)
      return false;
    query.Type = type;
    query.Size = size;
    return true;
  }

  void CloseKey(RegistryKeyHandle handle) override { RegCloseKey(reinterpret_cast<HKEY>(handle)); }

  bool FileExists(const std::string &path) override {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool StartProcess(const std::string &path) override {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + path + "\"";
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
      return false;
    // The program runs on its own; we do not wait for it.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
  }
};

} // namespace

SystemInfoPlatform &NativeSystemInfoPlatform() {
  static WindowsSystemInfoPlatform platform;
  return platform;
}

} // namespace vq

#endif
