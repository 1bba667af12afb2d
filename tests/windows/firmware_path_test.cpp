// The firmware path as a Windows program hands it over: in the system's
// 8-bit (ANSI) code page, from a directory whose name is not plain ASCII.
#include "board/board_session.h"
#include "board/four_operation_link.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

namespace vq {
namespace {

// `text` in the system's 8-bit code page; empty when a character has no code there.
std::string InAnsiCodePage(const std::wstring &text) {
  std::string bytes(text.size() * 4, '\0');
  BOOL lost = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, &lost);
  return lost || length <= 0 ? std::string() : bytes.substr(0, static_cast<std::size_t>(length));
}

TEST(FirmwarePath, AProgramDirectoryNamedInTheAnsiCodePageServesTheSimulatedBoard) {
  // The euro sign and a letter with an accent: 0x80 and 0xE9 in code page
  // 1252, where the euro sign is not the C library's 0x80.
  const std::filesystem::path directory = std::filesystem::temp_directory_path() / L"VQ8231 \u20ac\u00e9";
  const std::string programDirectory = InAnsiCodePage(directory.wstring());
  if (programDirectory.empty())
    GTEST_SKIP() << "the system's code page " << GetACP() << " has no code for the test's characters";
  std::filesystem::create_directories(directory);
  std::filesystem::copy_file(VQ_BIN_DIR "/VQ8231.hex", directory / L"VQ8231.hex",
                             std::filesystem::copy_options::overwrite_existing);

  BoardSession session;
  session.ProgramDirectory = programDirectory;
  FourOperationLink link(FourOperationLibraryPath(programDirectory));
  EXPECT_EQ(link.ConnectAndDownload(session), 0) << session.FirmwarePath;
  std::filesystem::remove_all(directory);
}

} // namespace
} // namespace vq
