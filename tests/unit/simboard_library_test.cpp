// The simulated board through its exported C functions, loaded the way the
// programs load a board library.
#include "board/board_library.h"
#include "board/board_session.h"
#include "board/board_status.h"
#include "board/dynamic_library.h"
#include "board/four_operation_link.h"
#include "board/serial_access.h"
#include "board/session_outcome.h"
#include "board/two_operation_link.h"
#include "simboard/sim_board_api.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

using vq::sim::BoardControl;

BoardControl &FreshBoard(vq::DynamicLibrary &library) {
  BoardControl &board = *library.resolve<VqSim_Board_Fn>(VQ_SIM_BOARD_ACCESSOR)();
  board.PowerCycle();
  return board;
}

class SimulatedFourOperationLibrary : public ::testing::Test {
protected:
  vq::DynamicLibrary library_{VQ_BIN_DIR "/" VQ_USB4_FILE_NAME};
  BoardControl &board_ = FreshBoard(library_);
  Search_For_Boards_Fn search_ = library_.resolve<Search_For_Boards_Fn>("Search_For_Boards");
  Connect_Fn connect_ = library_.resolve<Connect_Fn>("Connect");
  Download_Firmware_Fn download_ = library_.resolve<Download_Firmware_Fn>("Download_Firmware");
  Vendor_Request_Fn request_ = library_.resolve<Vendor_Request_Fn>("Vendor_Request");

  // Sends CLR low: a request whose effect is easy to see.
  int16_t ClearRequest(int32_t handle) {
    uint8_t zero = 0;
    return request_(handle, VQ_REQ_CONTROL_LINES, 0x97, 0, 0, 0, &zero);
  }
  int16_t Download(const std::string &path) {
    std::array<uint8_t, 600> buffer{};
    std::copy(path.begin(), path.end(), buffer.begin());
    return download_(handle_, buffer.data());
  }

  int32_t handle_ = 0;
};

TEST_F(SimulatedFourOperationLibrary, RequestsNeedAConnectAndAGoodDownload) {
  std::array<uint8_t, 128> list{};
  int32_t count = 0;
  EXPECT_EQ(search_(VQ_VENDOR_ID, VQ_PRODUCT_ID, &count, list.data()), 0);
  EXPECT_EQ(count, 1);
  EXPECT_NE(list[0], 0);
  EXPECT_NE(connect_(VQ_VENDOR_ID, VQ_PRODUCT_ID + 1, list[0], &handle_), 0) << "not our board";
  EXPECT_EQ(handle_, 0);
  EXPECT_NE(Download(VQ_BIN_DIR "/VQ8231.hex"), 0) << "download before connect";

  ASSERT_EQ(connect_(VQ_VENDOR_ID, VQ_PRODUCT_ID, list[0], &handle_), 0);
  EXPECT_NE(handle_, 0);
  EXPECT_NE(ClearRequest(handle_), 0) << "request before download";
  EXPECT_NE(Download(VQ_BIN_DIR "/absent.hex"), 0);
  EXPECT_FALSE(board_.FirmwareRunning());
  EXPECT_NE(board_.FirmwareProblem().find("does not exist"), std::string::npos);
  EXPECT_NE(ClearRequest(handle_), 0) << "request after a failed download";
  EXPECT_TRUE(board_.Lines().Clr) << "refused requests change nothing";

  ASSERT_EQ(Download(VQ_BIN_DIR "/VQ8231.hex"), 0);
  EXPECT_NE(ClearRequest(handle_ + 1), 0) << "wrong handle";
  EXPECT_TRUE(board_.Lines().Clr);
  EXPECT_EQ(ClearRequest(handle_), 0);
  EXPECT_FALSE(board_.Lines().Clr);
}

TEST_F(SimulatedFourOperationLibrary, MalformedRequestsAreRefusedAndChangeNothing) {
  std::array<uint8_t, 128> list{};
  int32_t count = 0;
  search_(VQ_VENDOR_ID, VQ_PRODUCT_ID, &count, list.data());
  connect_(VQ_VENDOR_ID, VQ_PRODUCT_ID, list[0], &handle_);
  ASSERT_EQ(Download(VQ_BIN_DIR "/VQ8231.hex"), 0);
  struct Case {
    const char *what;
    uint8_t request;
    int32_t value, index;
    uint8_t direction;
    int16_t length;
  };
  const Case cases[] = {
      {"unknown request", 0xD8, 0, 0, 0, 0},
      {"upper byte too large", VQ_REQ_SHIFT_WORD, 0x110, 0, 0, 0},
      {"data too large", VQ_REQ_SHIFT_WORD, 0x10, 0x10000, 0, 0},
      {"negative length", VQ_REQ_SHIFT_WORD, 0x90, 0, 1, -3},
      {"direction 2", VQ_REQ_SHIFT_WORD, 0x10, 1, 2, 0},
      {"sample sent to the board", VQ_REQ_SAMPLE, 0, 0, 0, 2},
      {"direction value 2", VQ_REQ_D0_DIRECTION, 2, 0, 1, 0},
      {"drive index 4", VQ_REQ_CONTROL_LINES, 0x97, 4, 0, 0},
      {"control lines beyond 8 bits", VQ_REQ_CONTROL_LINES, 0x197, 0, 0, 0},
  };
  for (const Case &c : cases) {
    std::array<uint8_t, 4> buffer{0x5A, 0x5A, 0x5A, 0x5A};
    EXPECT_NE(request_(handle_, c.request, c.value, c.index, c.direction, c.length, buffer.data()), 0) << c.what;
    EXPECT_EQ(buffer[0], 0x5A) << c.what;
  }
  EXPECT_NE(request_(handle_, VQ_REQ_SAMPLE, 0, 0, 1, 2, nullptr), 0) << "no buffer";
  EXPECT_TRUE(board_.Lines().Clr);
  EXPECT_EQ(board_.Registers(0).Input, 0x8000);
  EXPECT_EQ(board_.D0().Driver, vq::sim::LineDriver::Board);
  uint8_t zero = 0;
  EXPECT_EQ(request_(handle_, VQ_REQ_WRITE_PULSE, 0x10, 0xFFFF, 0, 0, &zero), 0) << "the largest data code";
  EXPECT_EQ(board_.Registers(0).Input, 0xFFFF);
  EXPECT_EQ(request_(handle_, VQ_REQ_CONTROL_LINES, 0xFF, 0, 0, 0, &zero), 0) << "every line bit set";
}

// Each refusal with the value the status table gives its reason.
TEST_F(SimulatedFourOperationLibrary, StatusesFollowTheTable) {
  using vq::BoardStatus, vq::StatusValue;
  std::array<uint8_t, 128> list{};
  int32_t count = 0;
  search_(VQ_VENDOR_ID, VQ_PRODUCT_ID, &count, list.data());
  EXPECT_EQ(connect_(VQ_VENDOR_ID + 1, VQ_PRODUCT_ID, list[0], &handle_), StatusValue(BoardStatus::NoBoard));
  EXPECT_EQ(Download(VQ_BIN_DIR "/VQ8231.hex"), StatusValue(BoardStatus::UnknownHandle)) << "before connect";
  ASSERT_EQ(connect_(VQ_VENDOR_ID, VQ_PRODUCT_ID, list[0], &handle_), 0);
  EXPECT_EQ(ClearRequest(handle_), StatusValue(BoardStatus::Refused)) << "no firmware runs";
  EXPECT_EQ(Download(VQ_BIN_DIR "/absent.hex"), StatusValue(BoardStatus::FirmwareUnreadable));
  const std::string malformed = ::testing::TempDir() + "simulated_board_malformed.hex";
  std::ofstream(malformed) << ":0400000001020304F3\n:00000001FF\n"; // wrong checksum
  EXPECT_EQ(Download(malformed), StatusValue(BoardStatus::FirmwareRefused));
  EXPECT_EQ(download_(handle_, nullptr), StatusValue(BoardStatus::BadArgument));
  ASSERT_EQ(Download(VQ_BIN_DIR "/VQ8231.hex"), 0);
  uint8_t zero = 0;
  EXPECT_EQ(request_(handle_, 0xD8, 0, 0, 0, 0, &zero), StatusValue(BoardStatus::Refused)) << "unknown request";
  EXPECT_EQ(ClearRequest(handle_ + 1), StatusValue(BoardStatus::UnknownHandle));
  const auto words = library_.resolve<VqBoard_StatusText_Fn>(VQ_BOARD_STATUS_TEXT);
  EXPECT_STREQ(words(StatusValue(BoardStatus::Refused)), "the board refused the request");
}

TEST(SimulatedTwoOperationLibrary, LoadStatusAndRequestsBeforeALoad) {
  vq::DynamicLibrary library(VQ_BIN_DIR "/" VQ_USBFUNCTIONS_NAME);
  BoardControl &board = FreshBoard(library);
  const auto load = library.resolve<LoadFirmWare_Fn>("LoadFirmWare");
  const auto request = library.resolve<VendorIORequest_Fn>("VendorIORequest");
  uint8_t zero = 0;
  std::string missing = VQ_BIN_DIR "/absent.hex";
  std::string good = VQ_BIN_DIR "/VQ8231.hex";
  EXPECT_NE(request(VQ_REQ_CONTROL_LINES, 0x97, 0, 0, 0, &zero), 0);
  EXPECT_EQ(load(reinterpret_cast<uint8_t *>(missing.data())), 0);
  EXPECT_NE(request(VQ_REQ_CONTROL_LINES, 0x97, 0, 0, 0, &zero), 0);
  EXPECT_TRUE(board.Lines().Clr);
  EXPECT_EQ(load(reinterpret_cast<uint8_t *>(good.data())), 1);
  EXPECT_NE(request(0x1D9, 0x10, 0, 0, 0, &zero), 0) << "request code beyond 8 bits";
  EXPECT_EQ(request(VQ_REQ_CONTROL_LINES, 0x97, 0, 0, 0, &zero), 0);
  EXPECT_FALSE(board.Lines().Clr);
}

// The program's own link and serial routines against the simulated board.
TEST(SimulatedPrograms, BothBuildsDriveTheBoardThroughTheirLinks) {
  vq::FourOperationLink fourOperation(vq::FourOperationLibraryPath(VQ_BIN_DIR));
  vq::TwoOperationLink twoOperation(VQ_BIN_DIR "/" VQ_USBFUNCTIONS_NAME);
  // The same file as the link's, so that both reach one board (on Windows that
  // is the board maker's path, where the test prefix holds our library).
  vq::DynamicLibrary fourLibrary(vq::FourOperationLibraryPath(VQ_BIN_DIR));
  vq::DynamicLibrary twoLibrary(VQ_BIN_DIR "/" VQ_USBFUNCTIONS_NAME);
  struct Build {
    vq::BoardLink &link;
    BoardControl &board;
  };
  for (Build build : {Build{fourOperation, FreshBoard(fourLibrary)}, Build{twoOperation, FreshBoard(twoLibrary)}}) {
    build.board.SetErrorSeed(0);
    build.board.SetDieTemperature(50);
    vq::BoardSession session;
    session.ProgramDirectory = VQ_BIN_DIR;
    session.SetFirmwarePath();
    session.CopyFirmwarePath(session.FirmwarePath);
    ASSERT_TRUE(build.link.DownloadSucceeded(build.link.ConnectAndDownload(session)));

    using vq::Channel, vq::Command, vq::Register;
    vq::SerialAccess serial(build.link);
    serial.WriteRegister({Register::Data, Channel::B}, 0x9F40, true); // 1 V on DAC B, LDAC pulsed
    EXPECT_NEAR(build.board.OutputVoltage(1), 1.0, 1e-6);
    EXPECT_EQ(serial.ReadRegister({Register::Data, Channel::B}).Value, 0x9F40);
    serial.WriteRegister(Command::FunctionRegister, 0x01, true); // SDO off
    EXPECT_EQ(serial.ReadRegister({Register::Data, Channel::B}).Value, 0xFFFF);
    EXPECT_EQ(serial.ReadBoardSample().Value, 2001);
    serial.TakeLineDirection(vq::DigitalLine::D1, true);
    vq::ControlLines lines;
    lines.DriveD1 = true;
    serial.SetControlLines(lines);
    serial.WriteRegister(Command::FunctionRegister, 0x00, true);
    EXPECT_EQ(serial.ReadRegister(Command::FunctionRegister).Value, 0x08) << "D1 reads the board's level";
    EXPECT_EQ(serial.LastRequestStatus, 0);
  }
}

// Pulling the cable mid-session: every request says the board is gone, the
// session cannot be run again until the board is back, and the board that
// comes back has lost its registers, in both builds.
TEST(SimulatedPrograms, AnUnpluggedBoardIsGoneUntilItIsBackAndComesBackBlank) {
  using vq::BoardStatus, vq::Channel, vq::Register;
  vq::FourOperationLink fourOperation(vq::FourOperationLibraryPath(VQ_BIN_DIR));
  vq::TwoOperationLink twoOperation(VQ_BIN_DIR "/" VQ_USBFUNCTIONS_NAME);
  vq::DynamicLibrary fourLibrary(vq::FourOperationLibraryPath(VQ_BIN_DIR));
  vq::DynamicLibrary twoLibrary(VQ_BIN_DIR "/" VQ_USBFUNCTIONS_NAME);
  const std::string ids = [] {
    char text[32];
    std::snprintf(text, sizeof text, "0x%04X:0x%04X", VQ_VENDOR_ID, VQ_PRODUCT_ID);
    return std::string(text);
  }();
  struct Build {
    vq::BoardLink &link;
    BoardControl &board;
    std::string unpluggedReason;
    BoardStatus beforeReconnect; // what a request says once the board is back
  };
  for (const Build &build :
       {Build{fourOperation, FreshBoard(fourLibrary), "no board with the identifiers " + ids + " is on the USB bus",
              BoardStatus::Gone},
        Build{twoOperation, FreshBoard(twoLibrary),
              "The firmware download: no board with these identifiers (status -7)", BoardStatus::Refused}}) {
    vq::BoardSession session;
    session.ProgramDirectory = VQ_BIN_DIR;
    session.SetFirmwarePath();
    session.CopyFirmwarePath(session.FirmwarePath);
    ASSERT_TRUE(vq::RunBoardSession(build.link, session).Succeeded);
    vq::SerialAccess serial(build.link);
    const vq::WordAddress coarseB{Register::CoarseGain, Channel::B};
    ASSERT_EQ(serial.WriteRegister(coarseB, 2, false), BoardStatus::Success);

    build.board.SetPluggedIn(false);
    EXPECT_FALSE(build.board.FirmwareRunning());
    EXPECT_EQ(serial.WriteRegister(coarseB, 1, false), BoardStatus::Gone);
    ASSERT_TRUE(serial.FirstFailure().has_value());
    EXPECT_TRUE(vq::ReportsBoardGone(*serial.FirstFailure()));
    const vq::SessionOutcome lost = vq::RunBoardSession(build.link, session);
    EXPECT_FALSE(lost.Succeeded);
    EXPECT_EQ(lost.Reason, build.unpluggedReason);

    build.board.SetPluggedIn(true);
    EXPECT_EQ(build.board.Registers(1).Coarse, 0) << "the board lost its power";
    serial.ForgetFailure();
    EXPECT_EQ(serial.ReadRegister(coarseB).Status, build.beforeReconnect) << "the old session is over";
    const vq::SessionOutcome back = vq::RunBoardSession(build.link, session);
    EXPECT_TRUE(back.Succeeded) << back.Reason;
    EXPECT_EQ(back.Reason, "");
    EXPECT_EQ(serial.ReadRegister(coarseB).Value, 0);
    EXPECT_EQ(serial.WriteRegister(coarseB, 3, false), BoardStatus::Success);
    EXPECT_EQ(build.board.Registers(1).Coarse, 3);
  }
}

} // namespace
