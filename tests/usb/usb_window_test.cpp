// The window of VQ8231(version2) on the libusb library, in this process, on a
// board umockdev plays: settings are changed through the widgets, the board is
// pulled mid-session, the window says so, the board is plugged in again and
// Reconnect downloads the firmware once more, transfer by transfer. Answered
// Yes, the restore puts the converter's registers back as they were before
// the loss; answered No, the window starts afresh.
// umockdev brings GLib, whose headers name a member "signals": before Qt,
// which makes that word a macro.
#include "usb_test_support.h"

#include "board/board_library.h"
#include "board/four_operation_link.h"
#include "board/serial_access.h"
#include "panels/choice_list.h"
#include "setup/board_setup.h"
#include "setup/setup_load.h"
#include "tests/support/form_fixture.h"
#include "tests/support/panel_driver.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <optional>

namespace vq::usbtest {
namespace {

using namespace std::chrono_literals;

// What the start-up sends after the download: the function register read
// twice, the no-operation word, the control lines with LDAC pulsing, the
// function word, and the data register of DAC A read twice.
const std::vector<std::string> StartUpRequests{"DD in v=81 len=3", "DD in v=81 len=3", "DD out v=0 i=0",
                                               "DE out v=9F i=0",  "DD out v=1 i=0",   "DD in v=90 len=3",
                                               "DD in v=90 len=3"};

// A recorded request as the fake board lists the transfer it becomes.
std::string TransferLine(const test::RecordedRequest &request) {
  ControlTransfer transfer;
  transfer.RequestType = request.Direction == 1 ? 0xC0 : 0x40;
  transfer.Request = request.Code;
  transfer.Value = static_cast<uint16_t>(request.Value);
  transfer.Index = static_cast<uint16_t>(request.Index);
  transfer.Length = static_cast<uint16_t>(request.Length);
  return transfer.Line();
}

// The window started on the four-operation library, the board at port 1.
class UsbWindow : public testing::Test {
protected:
  UsbWindow() {
    board_.Plug(1);
    directory_.Write("VQ8231.hex", HexText(image_));
    link_.emplace(std::string(VQ_USB_DIR "/") + VQ_USB4_FILE_NAME);
    fixture_.emplace(*link_, directory_.Path().string());
  }

  // The first session: one download, then the start-up's requests.
  void Start() {
    ASSERT_TRUE(fixture_->Start());
    ExpectDownloadOf(image_, board_.LoaderTransfers());
    EXPECT_EQ(board_.FirmwareLines(0, 0ms), StartUpRequests);
  }

  MainWindow &Window() { return fixture_->Window(); }
  MainWindowControls &Controls() { return fixture_->Controls(); }

  // DAC C's data register written with a code, DAC B's range changed, and
  // the ground offset option turned on.
  void ChangeSettings() {
    MainWindowControls &ui = Controls();
    test::Choose(ui.ChannelList, QStringLiteral("DAC C"));
    test::Enter(ui.DataBox, QStringLiteral("1234"));
    test::Choose(ui.RegisterList, QStringLiteral("Coarse Gain Register"));
    test::Choose(ui.ChannelList, QStringLiteral("DAC B"));
    test::Choose(ui.RangeList, test::RangeChoiceText(2));
    test::Flip(ui.GroundOffsetSwitch);
  }

  void ExpectBoardFramesEnabled(bool enabled) {
    MainWindowControls &ui = Controls();
    for (QGroupBox *frame : {ui.RegisterFrame, ui.FunctionFrame, ui.HardwareFrame, ui.TemperatureFrame})
      EXPECT_EQ(frame->isEnabled(), enabled) << frame->objectName().toStdString();
  }

  // Pulls the board and lets a register read find it gone.
  void PullTheBoard() {
    board_.Unplug(1);
    test::Click(Controls().ReadRegisterButton);
    EXPECT_TRUE(Window().Disconnected());
    const std::string message = Window().Status().Message().toStdString();
    EXPECT_TRUE(message.starts_with("Board disconnected. ")) << message;
    EXPECT_NE(message.find("the board is gone (status 4)"), std::string::npos) << message;
    ExpectBoardFramesEnabled(false);
    EXPECT_TRUE(ReconnectButton()->isVisible());
  }

  // Still off the bus: the search finds nothing, and the window stays.
  void FailToReconnect() {
    const std::size_t loaded = board_.LoaderTransfers().size();
    test::Click(ReconnectButton());
    EXPECT_TRUE(
        Window().Status().Message().startsWith(QStringLiteral("Reconnect failed: no board with the identifiers")))
        << Window().Status().Message().toStdString();
    EXPECT_TRUE(Window().Disconnected());
    EXPECT_EQ(board_.LoaderTransfers().size(), loaded);
  }

  QPushButton *ReconnectButton() {
    auto *button = Window().findChild<QPushButton *>(QStringLiteral("StatusReconnect"));
    if (button == nullptr)
      qFatal("no StatusReconnect button");
    return button;
  }

  // Plugs the board in again, a fresh one in its boot loader, and reconnects
  // answering the restore question with `answer`. Returns the requests sent
  // after the second download, each checked to reach the board that came back.
  std::vector<std::string> ReconnectAnswering(QMessageBox::StandardButton answer) {
    const std::size_t loaded = board_.LoaderTransfers().size();
    const std::size_t talked = board_.FirmwareTransfers().size();
    board_.Plug(1);
    fixture_->answerer.Answer = answer;
    Window().findChild<QAction *>(QStringLiteral("MnuReconnect"))->trigger();
    EXPECT_FALSE(Window().Disconnected()) << Window().Status().Message().toStdString();
    const std::vector<ControlTransfer> loader = board_.LoaderTransfers();
    ExpectDownloadOf(image_,
                     std::vector<ControlTransfer>(loader.begin() + static_cast<std::ptrdiff_t>(loaded), loader.end()));
    const std::vector<ControlTransfer> firmware = board_.FirmwareTransfers();
    std::vector<std::string> lines;
    for (std::size_t i = talked; i < firmware.size(); ++i) {
      lines.push_back(firmware[i].Line());
      EXPECT_EQ(firmware[i].Device, board_.AddressAt(1)) << "the board as it came back";
    }
    ExpectBoardFramesEnabled(true);
    return lines;
  }

  // The reconnect asked once, and no box said anything more (a restore
  // that read back otherwise would warn).
  void ExpectOnlyTheRestoreQuestion() {
    const QList<test::SeenMessage> &seen = fixture_->answerer.Seen;
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].text, QStringLiteral("Restore the board's previous settings?"));
  }

  int argc_ = 1;
  char name_[16] = "usbwindow_tests";
  char *argv_[2] = {name_, nullptr};
  QApplication application_{argc_, argv_}; // ends after the window, before Qt's own statics
  FakeBoard board_{VQ_VENDOR_ID, VQ_PRODUCT_ID};
  TempDirectory directory_;
  const Memory image_ = TestImage();
  std::optional<FourOperationLink> link_;
  std::optional<test::FormFixture> fixture_;
};

TEST_F(UsbWindow, ReconnectedBoardGetsItsRegistersBackOnYes) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const std::vector<std::string> atStartUp = board_.ConverterRegisters(1);
  ChangeSettings();
  const std::vector<std::string> noted = board_.ConverterRegisters(1);
  ASSERT_EQ(noted.size(), 5u);
  EXPECT_EQ(noted[1], "DAC B input=8000 dac=8000 coarse=2 fine=0 offset=0");
  EXPECT_EQ(noted[2], "DAC C input=1234 dac=1234 coarse=0 fine=0 offset=0");
  EXPECT_NE(noted[4], atStartUp[4]) << "the ground offset option";

  PullTheBoard();
  // What restoring sends: what opening the setup the window knows once the
  // board is lost would send, worked out on a board of its own.
  const BoardSetup known = SetupFromModel(Window().Registers(), fixture_->values.Lines,
                                          Window().Board().PulsesAfterDataWrite(), fixture_->values.Options);
  test::RecordingLink setupBoard;
  SerialAccess serial(setupBoard);
  LoadSetup(serial, known);
  std::vector<std::string> restore;
  for (const test::RecordedRequest &request : setupBoard.Requests)
    restore.push_back(TransferLine(request));
  FailToReconnect(); // forgets nothing of that

  EXPECT_EQ(ReconnectAnswering(QMessageBox::Yes), restore);
  EXPECT_EQ(board_.ConverterRegisters(1), noted);
  const QString message = Window().Status().Message();
  EXPECT_TRUE(message.startsWith(QStringLiteral("Board reconnected; its previous settings restored.")))
      << message.toStdString();
  ExpectOnlyTheRestoreQuestion();
}

TEST_F(UsbWindow, ReconnectedBoardStartsAfreshOnNo) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const std::vector<std::string> atStartUp = board_.ConverterRegisters(1);
  ChangeSettings();
  ASSERT_NE(board_.ConverterRegisters(1), atStartUp);

  PullTheBoard();
  FailToReconnect();
  EXPECT_EQ(ReconnectAnswering(QMessageBox::No), StartUpRequests);
  EXPECT_EQ(Window().Status().Message(), QStringLiteral("Board reconnected."));
  EXPECT_EQ(board_.ConverterRegisters(1), atStartUp);
  ExpectOnlyTheRestoreQuestion();
}

} // namespace
} // namespace vq::usbtest
