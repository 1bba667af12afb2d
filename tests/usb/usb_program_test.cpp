// The real program on the libusb library: VQ8231(version2) copied with a
// firmware image into a directory of its own and started offscreen in a child
// process, which reaches the board played here through the mock environment.
#include "board/board_library.h"
#include "usb_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace vq::usbtest {
namespace {

using namespace std::chrono_literals;

TEST(UsbProgram, StartsOnTheLibusbLibraryWithTheStartUpRequests) {
  FakeBoard board(VQ_VENDOR_ID, VQ_PRODUCT_ID);
  board.Plug(1);
  TempDirectory directory;
  const Memory image = TestImage();
  directory.Write("VQ8231.hex", HexText(image));
  for (const char *file : {"VQ8231(version2)", VQ_USB4_FILE_NAME})
    std::filesystem::copy_file(std::filesystem::path(VQ_USB_DIR) / file, directory.Path() / file);
  const std::string program = (directory.Path() / "VQ8231(version2)").string();

  // Started by posix_spawn, not fork: the child runs none of this process's
  // code before the program, so no lock that umockdev's thread may hold at
  // that moment can come along locked. From "/", so that the program finds its
  // library beside itself.
  std::string offscreen = "QT_QPA_PLATFORM=offscreen"; // the first of a name counts
  std::vector<char *> environment{offscreen.data()};
  for (char **variable = environ; *variable != nullptr; ++variable)
    environment.push_back(*variable);
  environment.push_back(nullptr);
  std::string name = program;
  char *argv[] = {name.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, "/");
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environment.data());
  posix_spawn_file_actions_destroy(&actions);
  ASSERT_EQ(spawned, 0) << std::strerror(spawned);
  // The start-up: the function register read twice, the no-operation word,
  // the control lines with LDAC pulsing, the function word, and the data
  // register of DAC A read twice.
  const std::vector<std::string> expected{"DD in v=81 len=3", "DD in v=81 len=3", "DD out v=0 i=0",  "DE out v=9F i=0",
                                          "DD out v=1 i=0",   "DD in v=90 len=3", "DD in v=90 len=3"};
  std::vector<std::string> seen = board.FirmwareLines(expected.size(), 60s);
  // Anything sent after the start-up would show up here.
  std::this_thread::sleep_for(300ms);
  seen = board.FirmwareLines(0, 0ms);
  int status = 0;
  const bool stillRunning = waitpid(child, &status, WNOHANG) == 0;
  kill(child, SIGKILL);
  waitpid(child, &status, 0);

  EXPECT_TRUE(stillRunning) << "the program ended: it did not start";
  ExpectDownloadOf(image, board.LoaderTransfers());
  EXPECT_EQ(seen, expected);
}

} // namespace
} // namespace vq::usbtest
