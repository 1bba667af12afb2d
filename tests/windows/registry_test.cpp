// The About box's system-information seam on a real registry and file
// system: keys written by the system's own reg.exe, read back through the
// seam the launcher uses.
#include "sysinfo/system_info.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace vq {
namespace {

// Under HKEY_LOCAL_MACHINE, in the registry view of this program's bitness:
// reg.exe from the system directory has the same bitness, so it writes there.
const std::string TestKey = "SOFTWARE\\VQ8231 evaluation program tests";

std::string SystemDirectory() {
  char directory[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
  return std::string(directory, length < MAX_PATH ? length : 0);
}

// Runs a program with its arguments to its end: its exit code, or -1 when it
// could not be started or did not end within a minute.
int Run(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &process))
    return -1;
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

int Reg(const std::string &arguments) {
  return Run("\"" + SystemDirectory() + "\\reg.exe\" " + arguments);
}

int AddValue(const std::string &name, const std::string &type, const std::string &data) {
  return Reg("add \"HKLM\\" + TestKey + "\" /v " + name + " /t " + type + " /d \"" + data + "\" /f");
}

TEST(NativeRegistry, GetKeyValueReadsWhatRegWrote) {
  Reg("delete \"HKLM\\" + TestKey + "\" /f"); // left by an earlier run, if any
  const std::string longText(1500, 'x');      // more than the 1024-byte buffer holds
  ASSERT_EQ(AddValue("Text", "REG_SZ", "C:\\Tools\\info32.exe"), 0);
  ASSERT_EQ(AddValue("Empty", "REG_SZ", ""), 0);
  ASSERT_EQ(AddValue("Number", "REG_DWORD", "305419896"), 0);
  ASSERT_EQ(AddValue("Largest", "REG_DWORD", "4294967295"), 0);
  ASSERT_EQ(AddValue("Bytes", "REG_BINARY", "0102AB"), 0);
  ASSERT_EQ(AddValue("Expandable", "REG_EXPAND_SZ", "C:\\Tools"), 0);
  ASSERT_EQ(AddValue("Long", "REG_SZ", longText), 0);

  struct Case {
    const char *what;
    std::string key, value;
    bool read;
    std::string output;
  };
  const Case cases[] = {
      {"a string", TestKey, "Text", true, "C:\\Tools\\info32.exe"},
      {"an empty string", TestKey, "Empty", true, ""},
      {"a 32-bit number", TestKey, "Number", true, "305419896"},
      {"the largest 32-bit number", TestKey, "Largest", true, "4294967295"},
      {"a missing key", TestKey + "\\Absent", "Text", false, ""},
      {"a missing value", TestKey, "Absent", false, ""},
      {"bytes", TestKey, "Bytes", false, ""},
      {"an expandable string", TestKey, "Expandable", false, ""},
      {"a string longer than the buffer", TestKey, "Long", false, ""},
  };
  for (const Case &c : cases) {
    std::string output = "left from before";
    EXPECT_EQ(GetKeyValue(NativeSystemInfoPlatform(), RegistryRoot::LocalMachine, c.key, c.value, output), c.read)
        << c.what;
    EXPECT_EQ(output, c.output) << c.what;
  }
  EXPECT_EQ(Reg("delete \"HKLM\\" + TestKey + "\" /f"), 0);
}

TEST(NativeSystemInfo, FindsFilesAndStartsPrograms) {
  SystemInfoPlatform &platform = NativeSystemInfoPlatform();
  const std::string system = SystemDirectory();
  ASSERT_FALSE(system.empty());
  EXPECT_TRUE(platform.FileExists(system + "\\reg.exe"));
  EXPECT_FALSE(platform.FileExists(system)) << "a directory is no program";
  EXPECT_FALSE(platform.FileExists(system + "\\absent.exe"));
  // reg.exe without arguments prints its usage and ends by itself.
  EXPECT_TRUE(platform.StartProcess(system + "\\reg.exe"));
  EXPECT_FALSE(platform.StartProcess(system + "\\absent.exe"));
}

} // namespace
} // namespace vq
