// The firmware path buffer and the binding of the board libraries.
#include "board/board_session.h"
#include "board/dynamic_library.h"
#include "board/four_operation_link.h"
#include "board/two_operation_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace vq {
namespace {

TEST(CopyFirmwarePath, PutsTheTerminatorAfterThePathAndKeepsTheRest) {
  BoardSession session;
  session.FirmwarePathBuffer.fill(0xAA);
  session.CopyFirmwarePath("/opt/vq/VQ8231.hex");
  EXPECT_STREQ(reinterpret_cast<const char *>(session.FirmwarePathBuffer.data()), "/opt/vq/VQ8231.hex");
  EXPECT_EQ(session.FirmwarePathBuffer[19], 0xAA);

  session.CopyFirmwarePath("");
  EXPECT_EQ(session.FirmwarePathBuffer[0], 0);
  EXPECT_EQ(session.FirmwarePathBuffer[1], 'o');
}

TEST(CopyFirmwarePath, A512BytePathFitsExactly) {
  BoardSession session;
  session.FirmwarePathBuffer.fill(0xAA);
  const std::string path(512, 'p');
  session.CopyFirmwarePath(path);
  EXPECT_TRUE(std::all_of(session.FirmwarePathBuffer.begin(), session.FirmwarePathBuffer.begin() + 512,
                          [](uint8_t b) { return b == 'p'; }));
  EXPECT_EQ(session.FirmwarePathBuffer[512], 0);
}

TEST(CopyFirmwarePath, ALongerPathIsRefusedWithoutTouchingTheBuffer) {
  BoardSession session;
  session.CopyFirmwarePath("/short/VQ8231.hex");
  const auto before = session.FirmwarePathBuffer;
  try {
    session.CopyFirmwarePath(std::string(513, 'p'));
    FAIL() << "a 513-byte path was accepted";
  } catch (const FirmwarePathTooLong &error) {
    EXPECT_NE(std::string(error.what()).find("directory path is too long"), std::string::npos) << error.what();
  }
  EXPECT_EQ(session.FirmwarePathBuffer, before);
}

TEST(SetFirmwarePath, JoinsTheProgramDirectoryAndTheFirmwareName) {
  BoardSession session;
#if defined(_WIN32)
  session.ProgramDirectory = "C:\\Program Files\\VQ";
  session.SetFirmwarePath();
  EXPECT_EQ(session.FirmwarePath, "C:\\Program Files\\VQ\\VQ8231.hex");
#else
  session.ProgramDirectory = "/opt/vq";
  session.SetFirmwarePath();
  EXPECT_EQ(session.FirmwarePath, "/opt/vq/VQ8231.hex");
#endif
}

TEST(DynamicLibrary, AMissingFileIsNamed) {
  DynamicLibrary library("/nonexistent/" VQ_USB4_FILE_NAME);
  try {
    library.resolve<void (*)()>("Connect");
    FAIL() << "a missing library loaded";
  } catch (const BoardLibraryError &error) {
    EXPECT_NE(std::string(error.what()).find("\"/nonexistent/" VQ_USB4_FILE_NAME "\" cannot be loaded"),
              std::string::npos)
        << error.what();
  }
}

TEST(DynamicLibrary, AMissingEntryPointIsNamed) {
  // The two-operation library has no Vendor_Request.
  FourOperationLink link(VQ_BIN_DIR "/" VQ_USBFUNCTIONS_NAME);
  BoardSession session;
  session.ProgramDirectory = VQ_BIN_DIR;
  try {
    link.ConnectAndDownload(session);
    FAIL() << "the wrong library was accepted";
  } catch (const BoardLibraryError &error) {
    EXPECT_NE(std::string(error.what()).find("\"Search_For_Boards\""), std::string::npos) << error.what();
  }
}

// Changes the current directory for the life of the object.
class CurrentDirectory {
public:
  explicit CurrentDirectory(const std::filesystem::path &directory) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(directory);
  }
  ~CurrentDirectory() { std::filesystem::current_path(previous_); }

private:
  std::filesystem::path previous_;
};

TEST(DynamicLibrary, ABareNameIsNeverLoadedFromTheCurrentDirectory) {
  // A working library, planted in the current directory under a bare name
  // that is neither beside the program nor in the system's directories.
#if defined(_WIN32)
  const std::string bareName = "VqPlantedBoard", fileName = "VqPlantedBoard.dll";
#else
  const std::string bareName = "libVqPlantedBoard.so", fileName = bareName;
#endif
  const std::filesystem::path directory = std::filesystem::temp_directory_path() / "dynamic_library_planted";
  std::filesystem::create_directories(directory);
  std::filesystem::copy_file(VQ_BIN_DIR "/" VQ_PLAIN_BOARD_FILE, directory / fileName,
                             std::filesystem::copy_options::overwrite_existing);
  {
    CurrentDirectory inPlantedDirectory(directory);
    DynamicLibrary planted(bareName);
    EXPECT_THROW(planted.resolve<Connect_Fn>("Connect"), BoardLibraryError);
    EXPECT_FALSE(planted.loaded());
    // The file itself is a library that loads when named by its path.
    DynamicLibrary named((directory / fileName).string());
    EXPECT_NE(named.resolve<Connect_Fn>("Connect"), nullptr);
  }
  std::filesystem::remove_all(directory);
}

TEST(BoardLinks, BothSimulatedLibrariesLoadAndAcceptTheFirmware) {
  BoardSession session;
  session.ProgramDirectory = VQ_BIN_DIR;
  FourOperationLink four(FourOperationLibraryPath(VQ_BIN_DIR));
  const int16_t status = four.ConnectAndDownload(session);
  EXPECT_TRUE(four.DownloadSucceeded(status)) << status;
  EXPECT_EQ(reinterpret_cast<const char *>(session.FirmwarePathBuffer.data()),
            std::string(VQ_BIN_DIR) + PathSeparator + "VQ8231.hex");
  uint8_t zero = 0;
  EXPECT_EQ(four.VendorRequest(0xDE, 0x9F, 0, 0, 0, &zero), 0);

  // The earlier build finds its library by bare name through the run path.
  TwoOperationLink two;
  session.SetFirmwarePath();
  session.CopyFirmwarePath(session.FirmwarePath);
  EXPECT_TRUE(two.DownloadSucceeded(two.ConnectAndDownload(session)));
  EXPECT_EQ(two.VendorRequest(0xDE, 0x9F, 0, 0, 0, &zero), 0);
}

TEST(BoardLinks, DownloadStatusesCountAsTheirLibrarySays) {
  FourOperationLink four("unused");
  TwoOperationLink two("unused");
  EXPECT_TRUE(four.DownloadSucceeded(0));
  EXPECT_FALSE(four.DownloadSucceeded(1));
  EXPECT_FALSE(four.DownloadSucceeded(-1));
  EXPECT_TRUE(two.DownloadSucceeded(1));
  EXPECT_TRUE(two.DownloadSucceeded(32767));
  EXPECT_FALSE(two.DownloadSucceeded(0));
  EXPECT_FALSE(two.DownloadSucceeded(-1));
}

} // namespace
} // namespace vq
