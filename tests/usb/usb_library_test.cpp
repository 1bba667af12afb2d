// The libusb board libraries as the programs load them, on a board played by
// umockdev: search, connect, download and requests over real libusb calls.
#include "board/board_library.h"
#include "board/board_status.h"
#include "usb_test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace vq::usbtest {
namespace {

using namespace std::chrono_literals;

class UsbLibrary : public ::testing::Test {
protected:
  void SetUp() override {
    board_ = std::make_unique<FakeBoard>(VQ_VENDOR_ID, VQ_PRODUCT_ID);
    image_ = TestImage();
    firmware_ = directory_.Write("VQ8231.hex", HexText(image_));
  }
  // The library goes first: it closes what it holds open on the board.
  void TearDown() override {
    if (library_ != nullptr)
      dlclose(library_);
    board_.reset();
  }

  void Load(const char *file) {
    library_ = dlopen((std::string(VQ_USB_DIR "/") + file).c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
  }
  template <typename Fn> Fn Entry(const char *name) {
    auto entry = reinterpret_cast<Fn>(dlsym(library_, name));
    EXPECT_NE(entry, nullptr) << name;
    return entry;
  }
  void LoadFourOperation() {
    Load(VQ_USB4_FILE_NAME);
    search_ = Entry<Search_For_Boards_Fn>("Search_For_Boards");
    connect_ = Entry<Connect_Fn>("Connect");
    download_ = Entry<Download_Firmware_Fn>("Download_Firmware");
    request_ = Entry<Vendor_Request_Fn>("Vendor_Request");
  }
  uint8_t *Path(const std::string &path) {
    path_.assign(path.begin(), path.end());
    path_.push_back(0);
    return path_.data();
  }
  // Search, connect to board `number` and download the test image.
  int32_t ConnectAndDownload(uint8_t number = 1) {
    int32_t count = 0;
    std::array<uint8_t, 128> list{};
    EXPECT_EQ(search_(VQ_VENDOR_ID, VQ_PRODUCT_ID, &count, list.data()), StatusValue(BoardStatus::Success));
    int32_t handle = 0;
    EXPECT_EQ(connect_(VQ_VENDOR_ID, VQ_PRODUCT_ID, number, &handle), StatusValue(BoardStatus::Success));
    EXPECT_EQ(download_(handle, Path(firmware_)), StatusValue(BoardStatus::Success));
    return handle;
  }

  TempDirectory directory_;
  std::unique_ptr<FakeBoard> board_;
  Memory image_;
  std::string firmware_;
  void *library_ = nullptr;
  std::vector<uint8_t> path_;
  Search_For_Boards_Fn search_ = nullptr;
  Connect_Fn connect_ = nullptr;
  Download_Firmware_Fn download_ = nullptr;
  Vendor_Request_Fn request_ = nullptr;
};

TEST_F(UsbLibrary, ExportsOnlyItsEntryPoints) {
  for (const char *file : {VQ_USB4_FILE_NAME, VQ_USBFUNCTIONS_NAME}) {
    void *library = dlopen((std::string(VQ_USB_DIR "/") + file).c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    EXPECT_EQ(dlsym(library, "VqSim_Board"), nullptr) << file;
    EXPECT_NE(dlsym(library, VQ_BOARD_STATUS_TEXT), nullptr) << file; // its statuses follow the table
    const bool four = std::string(file) == VQ_USB4_FILE_NAME;
    EXPECT_EQ(dlsym(library, "Vendor_Request") != nullptr, four) << file;
    EXPECT_EQ(dlsym(library, "LoadFirmWare") != nullptr, !four) << file;
    dlclose(library);
  }
}

// Beside the real-board programs: their libraries and the udev rule for the
// configured identifiers, and never the simulated board's firmware image.
TEST_F(UsbLibrary, TheRealBoardDirectory) {
  for (const char *file : {"VQ8231(version2)", "VQ8231", VQ_USB4_FILE_NAME, VQ_USBFUNCTIONS_NAME})
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(VQ_USB_DIR) / file)) << file;
  EXPECT_FALSE(std::filesystem::exists(VQ_USB_DIR "/VQ8231.hex"));
  std::ifstream file(VQ_USB_DIR "/70-vq8231.rules");
  const std::string rule((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  char ids[64];
  std::snprintf(ids, sizeof ids, "ATTR{idVendor}==\"%04x\", ATTR{idProduct}==\"%04x\"", VQ_VENDOR_ID, VQ_PRODUCT_ID);
  EXPECT_NE(rule.find(ids), std::string::npos) << rule;
  EXPECT_NE(rule.find("TAG+=\"uaccess\""), std::string::npos) << rule;
}

TEST_F(UsbLibrary, FourOperationsDownloadAndTalkToTheFirmware) {
  board_->Plug(1);
  const int loaderAddress = board_->AddressAt(1);
  LoadFourOperation();
  const int32_t handle = ConnectAndDownload();
  ExpectDownloadOf(image_, board_->LoaderTransfers());
  const int firmwareAddress = board_->AddressAt(1);
  EXPECT_NE(firmwareAddress, loaderAddress) << "the board came back as a new device";

  board_->SetBehaviour({.Answer = {0x12, 0x34, 0x56}});
  std::array<uint8_t, 4> buffer{};
  uint8_t zero = 0;
  EXPECT_EQ(request_(handle, 0xD9, 0x11, 0x9F40, 0, 0, &zero), StatusValue(BoardStatus::Success));
  EXPECT_EQ(request_(handle, 0xDD, 0x98, 0, 1, 3, buffer.data()), StatusValue(BoardStatus::Success));
  EXPECT_EQ(buffer, (std::array<uint8_t, 4>{0x12, 0x34, 0x56, 0}));
  EXPECT_EQ(request_(handle, 0xDE, 0x9F, 2, 0, 0, &zero), StatusValue(BoardStatus::Success));
  const std::vector<ControlTransfer> sent = board_->FirmwareTransfers();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].Line(), "D9 out v=11 i=9F40");
  EXPECT_EQ(sent[0].RequestType, 0x40);
  EXPECT_EQ(sent[1].Line(), "DD in v=98 len=3");
  EXPECT_EQ(sent[1].RequestType, 0xC0);
  EXPECT_EQ(sent[2].Line(), "DE out v=9F i=2");
  for (const ControlTransfer &transfer : sent)
    EXPECT_EQ(transfer.Device, firmwareAddress);
}

TEST_F(UsbLibrary, TwoOperationsLoadTheFirstBoardAndTalkToIt) {
  board_->Plug(1);
  Load(VQ_USBFUNCTIONS_NAME);
  auto load = Entry<LoadFirmWare_Fn>("LoadFirmWare");
  auto request = Entry<VendorIORequest_Fn>("VendorIORequest");
  uint8_t zero = 0;
  EXPECT_EQ(request(0xDD, 0, 0, 0, 0, &zero), StatusValue(BoardStatus::NoBoard)) << "nothing loaded yet";
  EXPECT_EQ(load(Path(firmware_)), 1);
  ExpectDownloadOf(image_, board_->LoaderTransfers());
  board_->SetBehaviour({.Answer = {0xAB, 0xCD}});
  std::array<uint8_t, 2> sample{};
  EXPECT_EQ(request(0xDA, 0, 0, 1, 2, sample.data()), StatusValue(BoardStatus::Success));
  EXPECT_EQ(sample, (std::array<uint8_t, 2>{0xAB, 0xCD}));
  EXPECT_EQ(request(0xDB, 1, 0, 1, 0, &zero), StatusValue(BoardStatus::Success));
  EXPECT_EQ(board_->FirmwareLines(2, 0ms), (std::vector<std::string>{"DA in v=0 len=2", "DB in v=1 len=0"}));
  // Failures are 0 or less: here the bad image's status, negated.
  EXPECT_EQ(load(Path(directory_.Write("bad.hex", ":0400000001020304F3\n:00000001FF\n"))),
            -StatusValue(BoardStatus::FirmwareRefused));
}

// Several boards: numbered by their place on the bus, and the download
// reopens the board that came back at the place of the one downloaded to.
TEST_F(UsbLibrary, SeveralBoardsAndTheOneThatComesBack) {
  board_->Plug(2);
  board_->Plug(1);
  LoadFourOperation();
  int32_t count = 0;
  std::array<uint8_t, 128> list;
  list.fill(0xFF);
  EXPECT_EQ(search_(VQ_VENDOR_ID, VQ_PRODUCT_ID, &count, list.data()), StatusValue(BoardStatus::Success));
  EXPECT_EQ(count, 2);
  EXPECT_EQ(list[0], 1);
  EXPECT_EQ(list[1], 2);
  EXPECT_EQ(list[2], 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(search_(0x5A51, 0x0BAD, &count, list.data()), StatusValue(BoardStatus::NoBoard));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("vendor 0x5A51, product 0x0BAD"), std::string::npos);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(list[0], 0);
  int32_t handle = -1;
  EXPECT_EQ(connect_(VQ_VENDOR_ID, VQ_PRODUCT_ID, 3, &handle), StatusValue(BoardStatus::NoBoard));
  EXPECT_EQ(handle, 0);
  EXPECT_EQ(connect_(VQ_VENDOR_ID, VQ_PRODUCT_ID, 0, &handle), StatusValue(BoardStatus::NoBoard));

  const int first = board_->AddressAt(1);
  const int32_t second = ConnectAndDownload(2);
  EXPECT_EQ(board_->AddressAt(1), first) << "the other board is left alone";
  uint8_t zero = 0;
  EXPECT_EQ(request_(second, 0xDD, 1, 0, 0, 0, &zero), StatusValue(BoardStatus::Success));
  const std::vector<ControlTransfer> sent = board_->FirmwareTransfers();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].Device, board_->AddressAt(2));
}

TEST_F(UsbLibrary, RefusedCallsFailAtOnce) {
  board_->Plug(1);
  LoadFourOperation();
  uint8_t zero = 0;
  std::array<uint8_t, 4> buffer{};
  EXPECT_EQ(request_(77, 0xDD, 0, 0, 0, 0, &zero), StatusValue(BoardStatus::UnknownHandle)) << "a handle never given";
  EXPECT_EQ(download_(77, Path(firmware_)), StatusValue(BoardStatus::UnknownHandle));
  int32_t count = 0;
  EXPECT_EQ(search_(VQ_VENDOR_ID, VQ_PRODUCT_ID, nullptr, buffer.data()), StatusValue(BoardStatus::BadArgument));
  EXPECT_EQ(search_(VQ_VENDOR_ID, VQ_PRODUCT_ID, &count, nullptr), StatusValue(BoardStatus::BadArgument));
  EXPECT_EQ(connect_(VQ_VENDOR_ID, VQ_PRODUCT_ID, 1, nullptr), StatusValue(BoardStatus::BadArgument));

  const int32_t handle = ConnectAndDownload();
  struct Case {
    const char *what;
    int32_t value, index;
    uint8_t direction;
    int16_t length;
    uint8_t *buffer;
  };
  const Case cases[] = {
      {"direction 2", 0, 0, 2, 0, &zero},     {"negative length", 0, 0, 1, -1, buffer.data()},
      {"no buffer", 0, 0, 1, 3, nullptr},     {"value beyond 16 bits", 0x10000, 0, 0, 0, &zero},
      {"negative index", 0, -1, 0, 0, &zero},
  };
  for (const Case &c : cases)
    EXPECT_EQ(request_(handle, 0xDD, c.value, c.index, c.direction, c.length, c.buffer),
              StatusValue(BoardStatus::BadArgument))
        << c.what;
  EXPECT_TRUE(board_->FirmwareTransfers().empty()) << "nothing refused reaches the board";
}

// Each way a firmware file can be unfit is caught before the board is
// touched; the rules themselves are tested with the image reader.
TEST_F(UsbLibrary, UnfitFirmwareNeverReachesTheBoard) {
  board_->Plug(1);
  LoadFourOperation();
  int32_t handle = 0;
  std::array<uint8_t, 128> list{};
  int32_t count = 0;
  search_(VQ_VENDOR_ID, VQ_PRODUCT_ID, &count, list.data());
  ASSERT_EQ(connect_(VQ_VENDOR_ID, VQ_PRODUCT_ID, 1, &handle), StatusValue(BoardStatus::Success));
  const struct {
    std::string file;
    BoardStatus status;
  } cases[] = {
      {(directory_.Path() / "absent.hex").string(), BoardStatus::FirmwareUnreadable},
      {directory_.Write("checksum.hex", ":0400000001020304F3\n:00000001FF\n"), BoardStatus::FirmwareRefused},
      {directory_.Write("no_end.hex", ":0400000001020304F2\n"), BoardStatus::FirmwareRefused},
      {directory_.Write("beyond.hex", ":01400000AA15\n:00000001FF\n"), BoardStatus::FirmwareRefused},
      {directory_.Path().string(), BoardStatus::FirmwareUnreadable},
  };
  for (const auto &c : cases)
    EXPECT_EQ(download_(handle, Path(c.file)), StatusValue(c.status)) << c.file;
  EXPECT_EQ(download_(handle, nullptr), StatusValue(BoardStatus::BadArgument));
  EXPECT_TRUE(board_->LoaderTransfers().empty());
  EXPECT_EQ(download_(handle, Path(firmware_)), StatusValue(BoardStatus::Success))
      << "the board is still fit for a good image";
}

TEST_F(UsbLibrary, AnUnpluggedBoardFailsEveryLaterRequestAtOnce) {
  board_->Plug(1);
  LoadFourOperation();
  const int32_t handle = ConnectAndDownload();
  uint8_t zero = 0;
  ASSERT_EQ(request_(handle, 0xDE, 0x9F, 0, 0, 0, &zero), StatusValue(BoardStatus::Success));
  board_->Unplug(1);
  std::array<uint8_t, 3> buffer{};
  EXPECT_EQ(request_(handle, 0xDD, 0x81, 0, 1, 3, buffer.data()), StatusValue(BoardStatus::Gone));
  // From now on the library knows: nothing more goes to the device.
  const int asked = board_->CallsAfterUnplug();
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(request_(handle, 0xDD, 0, 0, 0, 0, &zero), StatusValue(BoardStatus::Gone));
  EXPECT_EQ(download_(handle, Path(firmware_)), StatusValue(BoardStatus::Gone));
  EXPECT_EQ(board_->CallsAfterUnplug(), asked);
  EXPECT_EQ(board_->FirmwareTransfers().size(), 1u);
}

TEST_F(UsbLibrary, TimeoutAndStallAreToldApart) {
  board_->Plug(1);
  LoadFourOperation();
  const int32_t handle = ConnectAndDownload();
  board_->SetBehaviour({.NeverAnswered = 0xDA, .Stalled = 0xDB});
  std::array<uint8_t, 2> sample{};
  uint8_t zero = 0;
  EXPECT_EQ(request_(handle, 0xDA, 0, 0, 1, 2, sample.data()), StatusValue(BoardStatus::NoAnswer));
  EXPECT_EQ(request_(handle, 0xDB, 0, 0, 1, 0, &zero), StatusValue(BoardStatus::Refused));
  EXPECT_EQ(request_(handle, 0xDD, 0, 0, 0, 0, &zero), StatusValue(BoardStatus::Success)) << "the board is still there";
}

// How many of this process's open files name `part`: "eventfd" counts libusb
// contexts (one each).
int OpenFilesNaming(const std::string &part) {
  int count = 0;
  for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
    count += !error && target.find(part) != std::string::npos;
  }
  return count;
}

TEST_F(UsbLibrary, AReconnectLeavesNothingOfTheLostBoardOpen) {
  board_->Plug(1);
  LoadFourOperation();
  const int32_t lost = ConnectAndDownload();
  const int contexts = OpenFilesNaming("eventfd");
  uint8_t zero = 0;
  board_->Unplug(1);
  ASSERT_EQ(request_(lost, 0xDE, 0x9F, 0, 0, 0, &zero), StatusValue(BoardStatus::Gone));

  for (int again = 0; again < 2; ++again) {
    board_->Plug(1);
    const int32_t back = ConnectAndDownload();
    EXPECT_NE(back, lost);
    EXPECT_EQ(request_(back, 0xDE, 0x9F, 0, 0, 0, &zero), StatusValue(BoardStatus::Success));
    EXPECT_EQ(request_(lost, 0xDE, 0x9F, 0, 0, 0, &zero), StatusValue(BoardStatus::Gone)) << "its handle still says so";
    EXPECT_EQ(OpenFilesNaming("eventfd"), contexts) << "the lost board's context is ended";
    board_->Unplug(1);
    EXPECT_EQ(request_(back, 0xDE, 0x9F, 0, 0, 0, &zero), StatusValue(BoardStatus::Gone));
  }
}

} // namespace
} // namespace vq::usbtest
