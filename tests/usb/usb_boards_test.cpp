// The board core with its seams: a short wait for a board that never comes
// back, a board that comes back late, and an open that the system refuses (as
// root no file mode can).
#include "board/board_library.h"
#include "usb_test_support.h"
#include "usbboard/usb_boards.h"

#include <libusb.h>

#include <gtest/gtest.h>

#include <array>

namespace vq::usbtest {
namespace {

using namespace vq::usb;
using namespace std::chrono_literals;

int RefuseOpen(libusb_device *, libusb_device_handle **) {
  return LIBUSB_ERROR_ACCESS;
}

std::vector<uint8_t> Terminated(const std::string &text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

TEST(UsbBoardsCore, ABoardThatNeverComesBackFailsTheDownload) {
  FakeBoard board(VQ_VENDOR_ID, VQ_PRODUCT_ID);
  board.SetBehaviour({.ComesBack = false});
  board.Plug(1);
  TempDirectory directory;
  const Memory image = TestImage(100);
  std::vector<uint8_t> path = Terminated(directory.Write("VQ8231.hex", HexText(image)));
  UsbBoards boards({.ReturnTimeout = 400ms, .ReturnPoll = 20ms});
  int32_t handle = 0;
  ASSERT_EQ(boards.Connect(VQ_VENDOR_ID, VQ_PRODUCT_ID, 1, &handle), BoardStatus::Success);
  EXPECT_EQ(boards.Download(handle, path.data()), BoardStatus::BoardNotBack);
  ExpectDownloadOf(image, board.LoaderTransfers());
  uint8_t zero = 0;
  EXPECT_EQ(boards.Request(handle, 0xDD, 0, 0, 0, 0, &zero), BoardStatus::Gone);
  EXPECT_EQ(boards.Download(handle, path.data()), BoardStatus::Gone);
}

// A board that takes its time to come back is looked for in the context it
// was opened in: the wait opens no udev listener of its own.
TEST(UsbBoardsCore, ABoardThatComesBackLateIsWaitedForInItsOwnContext) {
  FakeBoard board(VQ_VENDOR_ID, VQ_PRODUCT_ID);
  board.SetBehaviour({.ReturnDelay = 300ms});
  board.Plug(1);
  TempDirectory directory;
  std::vector<uint8_t> path = Terminated(directory.Write("VQ8231.hex", HexText(TestImage(10))));
  UsbBoards boards({.ReturnPoll = 20ms});
  int32_t handle = 0;
  ASSERT_EQ(boards.Connect(VQ_VENDOR_ID, VQ_PRODUCT_ID, 1, &handle), BoardStatus::Success);
  const int listeners = board.ListenersOpened();
  ASSERT_GE(listeners, 1) << "the connect's own listener went unseen";
  EXPECT_EQ(boards.Download(handle, path.data()), BoardStatus::Success);
  EXPECT_EQ(board.ListenersOpened(), listeners);
  uint8_t zero = 0;
  EXPECT_EQ(boards.Request(handle, 0xDD, 1, 0, 0, 0, &zero), BoardStatus::Success);
  const std::vector<ControlTransfer> sent = board.FirmwareTransfers();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].Device, board.AddressAt(1));
}

TEST(UsbBoardsCore, NoPermissionIsToldWithTheUdevRule) {
  FakeBoard board(VQ_VENDOR_ID, VQ_PRODUCT_ID);
  board.Plug(1);
  UsbBoards boards({.Open = RefuseOpen});
  int32_t handle = -1;
  testing::internal::CaptureStderr();
  EXPECT_EQ(boards.Connect(VQ_VENDOR_ID, VQ_PRODUCT_ID, 1, &handle), BoardStatus::NoPermission);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(handle, 0);
  EXPECT_NE(said.find("no permission"), std::string::npos) << said;
  EXPECT_NE(said.find("70-vq8231.rules"), std::string::npos) << said;
}

// A board that comes back but cannot be opened (its new device node not yet
// given to the user) is reported the same way after the wait. The board is
// back before the wait starts, so the short wait decides nothing.
TEST(UsbBoardsCore, NoPermissionAfterTheDownload) {
  FakeBoard board(VQ_VENDOR_ID, VQ_PRODUCT_ID);
  board.Plug(1);
  TempDirectory directory;
  std::vector<uint8_t> path = Terminated(directory.Write("VQ8231.hex", HexText(TestImage(10))));
  static int opened;
  opened = 0;
  UsbBoards boards(
      {.ReturnTimeout = 400ms, .ReturnPoll = 20ms, .Open = [](libusb_device *device, libusb_device_handle **handle) {
         return opened++ == 0 ? libusb_open(device, handle) : LIBUSB_ERROR_ACCESS;
       }});
  int32_t handle = 0;
  ASSERT_EQ(boards.Connect(VQ_VENDOR_ID, VQ_PRODUCT_ID, 1, &handle), BoardStatus::Success);
  testing::internal::CaptureStderr();
  EXPECT_EQ(boards.Download(handle, path.data()), BoardStatus::NoPermission);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("70-vq8231.rules"), std::string::npos) << said;
  EXPECT_GT(opened, 1);
}

} // namespace
} // namespace vq::usbtest
