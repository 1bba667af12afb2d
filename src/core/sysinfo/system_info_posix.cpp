// Systems without the Windows registry: no key can be opened, so the About
// box takes its "unavailable" path.
#ifndef _WIN32

#include "sysinfo/system_info.h"

#include <sys/stat.h>

namespace vq {

namespace {

class PosixSystemInfoPlatform : public SystemInfoPlatform {
public:
  bool OpenKey(RegistryRoot, const std::string &, uint32_t, RegistryKeyHandle &) override { return false; }
  bool QueryValue(RegistryKeyHandle, const std::string &, RegistryValueQuery &) override { return false; }
  void CloseKey(RegistryKeyHandle) override {}
  bool FileExists(const std::string &path) override {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
  }
  bool StartProcess(const std::string &) override { return false; }
};

} // namespace

SystemInfoPlatform &NativeSystemInfoPlatform() {
  static PosixSystemInfoPlatform platform;
  return platform;
}

} // namespace vq

#endif
