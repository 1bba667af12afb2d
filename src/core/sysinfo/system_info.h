// Finding and starting the operating system's system-information program,
// as the About box's "System Info..." button does. The decision logic is plain
// C++ over a small platform interface, so it runs (and is tested) the same on
// every system; only the platform answers differ.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vq {

enum class RegistryRoot { LocalMachine };

using RegistryKeyHandle = std::uintptr_t;

// Registry value types the About box understands.
inline constexpr uint32_t RegistryString = 1; // REG_SZ
inline constexpr uint32_t RegistryNumber = 4; // REG_DWORD, little-endian

// The access the key is opened with: reading only, which a standard user has.
inline constexpr uint32_t RegistryKeyAccess = 0x20019;
// Size of the buffer a value is queried into.
inline constexpr uint32_t RegistryValueBufferSize = 1024;

// What a value query hands over and gets back: the caller fills Data with
// zeros and sets Size to its length; the platform sets Type, fills Data and
// sets Size to the number of bytes the value has.
struct RegistryValueQuery {
  uint32_t Type = 0;
  std::vector<uint8_t> Data;
  uint32_t Size = 0;
};

class SystemInfoPlatform {
public:
  virtual ~SystemInfoPlatform() = default;
  virtual bool OpenKey(RegistryRoot root, const std::string &key, uint32_t access, RegistryKeyHandle &handle) = 0;
  virtual bool QueryValue(RegistryKeyHandle handle, const std::string &valueName, RegistryValueQuery &query) = 0;
  virtual void CloseKey(RegistryKeyHandle handle) = 0;
  virtual bool FileExists(const std::string &path) = 0;
  // Starts the program as a separate process in a normal, focused window and
  // returns at once; false when it could not be started.
  virtual bool StartProcess(const std::string &path) = 0;
};

// The platform of the system the program runs on.
SystemInfoPlatform &NativeSystemInfoPlatform();

// Reads one registry value into `output`. A string becomes the output as it
// is, a 32-bit number its decimal text. When the key or the value cannot be
// read, or the value is of another type, the output becomes empty and the
// result is false.
bool GetKeyValue(SystemInfoPlatform &platform, RegistryRoot root, const std::string &keyName,
                 const std::string &valueName, std::string &output);

// Finds the system-information program through the registry and starts it.
// False when it is not there or could not be started; the caller tells the user.
bool StartSysInfo(SystemInfoPlatform &platform);

} // namespace vq
