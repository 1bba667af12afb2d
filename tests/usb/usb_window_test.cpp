// The window of VQ8231(version2) on the libusb library, in this process, on a
// board umockdev plays: the board is pulled mid-session, the window says so,
// the board is plugged in again and Reconnect downloads the firmware once
// more, transfer by transfer, and starts afresh.
// umockdev brings GLib, whose headers name a member "signals": before Qt,
// which makes that word a macro.
#include "usb_test_support.h"

#include "board/board_library.h"
#include "board/four_operation_link.h"
#include "tests/support/form_fixture.h"
#include "tests/support/panel_driver.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace vq::usbtest {
namespace {

using namespace std::chrono_literals;

// What the start-up sends after the download: the function register read
// twice, the no-operation word, the control lines with LDAC pulsing, the
// function word, and the data register of DAC A read twice.
const std::vector<std::string> StartUpRequests{"DD in v=81 len=3", "DD in v=81 len=3", "DD out v=0 i=0",
                                               "DE out v=9F i=0",  "DD out v=1 i=0",   "DD in v=90 len=3",
                                               "DD in v=90 len=3"};

TEST(UsbWindow, AnUnpluggedBoardIsReconnectedWithASecondDownload) {
  int argc = 1;
  char name[] = "usbwindow_tests";
  char *argv[] = {name, nullptr};
  QApplication application(argc, argv); // ends after the window, before Qt's own statics
  FakeBoard board(VQ_VENDOR_ID, VQ_PRODUCT_ID);
  board.Plug(1);
  TempDirectory directory;
  const Memory image = TestImage();
  directory.Write("VQ8231.hex", HexText(image));
  FourOperationLink link(std::string(VQ_USB_DIR "/") + VQ_USB4_FILE_NAME);
  test::FormFixture fixture(link, directory.Path().string());
  ASSERT_TRUE(fixture.Start());
  ExpectDownloadOf(image, board.LoaderTransfers());
  EXPECT_EQ(board.FirmwareLines(0, 0ms), StartUpRequests);
  MainWindow &window = fixture.Window();
  MainWindowControls &ui = fixture.Controls();

  board.Unplug(1);
  test::Click(ui.ReadRegisterButton);
  EXPECT_TRUE(window.Disconnected());
  EXPECT_TRUE(window.Status().Message().startsWith(QStringLiteral("Board disconnected. ")))
      << window.Status().Message().toStdString();
  EXPECT_TRUE(window.Status().Message().contains(QStringLiteral("the board is gone (status 4)")))
      << window.Status().Message().toStdString();
  for (QGroupBox *frame : {ui.RegisterFrame, ui.FunctionFrame, ui.HardwareFrame, ui.TemperatureFrame})
    EXPECT_FALSE(frame->isEnabled()) << frame->objectName().toStdString();
  auto *reconnect = window.findChild<QPushButton *>(QStringLiteral("StatusReconnect"));
  ASSERT_NE(reconnect, nullptr);
  EXPECT_TRUE(reconnect->isVisible());

  // Still off the bus: the search finds nothing, and the window stays.
  const std::size_t firstLoad = board.LoaderTransfers().size();
  test::Click(reconnect);
  EXPECT_TRUE(window.Status().Message().startsWith(QStringLiteral("Reconnect failed: no board with the identifiers")))
      << window.Status().Message().toStdString();
  EXPECT_TRUE(window.Disconnected());
  EXPECT_EQ(board.LoaderTransfers().size(), firstLoad);

  // Plugged in again: a fresh board in its boot loader, loaded once more.
  board.Plug(1);
  const std::size_t firmwareBefore = board.FirmwareTransfers().size();
  window.findChild<QAction *>(QStringLiteral("MnuReconnect"))->trigger();
  EXPECT_FALSE(window.Disconnected()) << window.Status().Message().toStdString();
  EXPECT_EQ(window.Status().Message(), QStringLiteral("Board reconnected."));
  const std::vector<ControlTransfer> loader = board.LoaderTransfers();
  ExpectDownloadOf(image,
                   std::vector<ControlTransfer>(loader.begin() + static_cast<std::ptrdiff_t>(firstLoad), loader.end()));
  const std::vector<ControlTransfer> firmware = board.FirmwareTransfers();
  std::vector<std::string> afterReconnect;
  for (std::size_t i = firmwareBefore; i < firmware.size(); ++i) {
    afterReconnect.push_back(firmware[i].Line());
    EXPECT_EQ(firmware[i].Device, board.AddressAt(1)) << "the board as it came back";
  }
  EXPECT_EQ(afterReconnect, StartUpRequests);
  for (QGroupBox *frame : {ui.RegisterFrame, ui.FunctionFrame, ui.HardwareFrame, ui.TemperatureFrame})
    EXPECT_TRUE(frame->isEnabled()) << frame->objectName().toStdString();
}

} // namespace
} // namespace vq::usbtest
