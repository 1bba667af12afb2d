// The firmware path buffer and the binding of the board libraries.
#include "board/board_session.h"
#include "board/dynamic_library.h"
#include "board/four_operation_link.h"
#include "board/two_operation_link.h"

#include <gtest/gtest.h>

#include <algorithm>

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
  session.ProgramDirectory = "/opt/vq";
  session.SetFirmwarePath();
  EXPECT_EQ(session.FirmwarePath, "/opt/vq/VQ8231.hex");
}

TEST(DynamicLibrary, AMissingFileIsNamed) {
  DynamicLibrary library("/nonexistent/KVL_CYUSB_USB4.so");
  try {
    library.resolve<void (*)()>("Connect");
    FAIL() << "a missing library loaded";
  } catch (const BoardLibraryError &error) {
    EXPECT_NE(std::string(error.what()).find("/nonexistent/KVL_CYUSB_USB4.so"), std::string::npos);
  }
}

TEST(DynamicLibrary, AMissingEntryPointIsNamed) {
  // The two-operation library has no Vendor_Request.
  FourOperationLink link(VQ_BIN_DIR "/libUSBFunctions.so");
  BoardSession session;
  session.ProgramDirectory = VQ_BIN_DIR;
  try {
    link.ConnectAndDownload(session);
    FAIL() << "the wrong library was accepted";
  } catch (const BoardLibraryError &error) {
    EXPECT_NE(std::string(error.what()).find("\"Search_For_Boards\""), std::string::npos) << error.what();
  }
}

TEST(BoardLinks, BothSimulatedLibrariesLoadAndAcceptTheFirmware) {
  BoardSession session;
  session.ProgramDirectory = VQ_BIN_DIR;
  FourOperationLink four(FourOperationLibraryPath(VQ_BIN_DIR));
  const int16_t status = four.ConnectAndDownload(session);
  EXPECT_TRUE(four.DownloadSucceeded(status)) << status;
  EXPECT_STREQ(reinterpret_cast<const char *>(session.FirmwarePathBuffer.data()), VQ_BIN_DIR "/VQ8231.hex");
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
