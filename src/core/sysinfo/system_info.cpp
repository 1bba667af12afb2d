#include "sysinfo/system_info.h"

#include <algorithm>
#include <exception>

namespace vq {

namespace {

const char *const SysInfoPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char *const SysInfoPathValue = "PATH";
const char *const SysInfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const char *const SysInfoLocationValue = "MSINFO";
const char *const SysInfoProgram = "\\MSINFO32.EXE";

// Closes the key on every way out, exceptions included.
class OpenedKey {
public:
  OpenedKey(SystemInfoPlatform &platform, RegistryKeyHandle handle) : platform_(platform), handle_(handle) {}
  ~OpenedKey() { platform_.CloseKey(handle_); }
  OpenedKey(const OpenedKey &) = delete;
  OpenedKey &operator=(const OpenedKey &) = delete;

private:
  SystemInfoPlatform &platform_;
  RegistryKeyHandle handle_;
};

} // namespace

bool GetKeyValue(SystemInfoPlatform &platform, RegistryRoot root, const std::string &keyName,
                 const std::string &valueName, std::string &output) {
  RegistryKeyHandle handle = 0;
  if (!platform.OpenKey(root, keyName, RegistryKeyAccess, handle)) {
    output.clear();
    return false;
  }
  OpenedKey opened(platform, handle);

  RegistryValueQuery query;
  query.Data.assign(RegistryValueBufferSize, 0);
  query.Size = RegistryValueBufferSize;
  if (!platform.QueryValue(handle, valueName, query)) {
    output.clear();
    return false;
  }
  // Never trust a reported size past the buffer we handed over.
  const std::size_t size = std::min<std::size_t>(query.Size, query.Data.size());
  std::string data(query.Data.begin(), query.Data.begin() + static_cast<std::ptrdiff_t>(size));
  if (!data.empty() && data.back() == '\0')
    data.pop_back();

  switch (query.Type) {
  case RegistryString:
    output = data;
    break;
  case RegistryNumber: {
    // Little-endian; bytes the trailing-zero rule dropped are zero anyway.
    uint32_t number = 0;
    for (std::size_t i = std::min<std::size_t>(data.size(), 4); i-- > 0;)
      number = number * 256 + static_cast<uint8_t>(data[i]);
    output = std::to_string(number);
    break;
  }
  default:
    output.clear();
    return false;
  }
  return true;
}

bool StartSysInfo(SystemInfoPlatform &platform) {
  try {
    std::string path;
    if (!GetKeyValue(platform, RegistryRoot::LocalMachine, SysInfoPathKey, SysInfoPathValue, path)) {
      std::string location;
      if (!GetKeyValue(platform, RegistryRoot::LocalMachine, SysInfoLocationKey, SysInfoLocationValue, location))
        return false;
      path = location + SysInfoProgram;
      if (!platform.FileExists(path))
        return false;
    }
    return platform.StartProcess(path);
  } catch (const std::exception &) {
    return false;
  }
}

} // namespace vq
