// Loading a setup: the exact requests and their order on a recording board,
// what the read-back names, a setup that lacks registers, and a saved
// calibration restored on the simulated converter after its supply was cycled.
#include "board/board_library.h"
#include "board/board_session.h"
#include "board/four_operation_link.h"
#include "board/registers.h"
#include "boardlog/register_model.h"
#include "setup/setup_load.h"
#include "simboard/sim_board_api.h"
#include "tests/support/recording_link.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vq {
namespace {

using test::RecordingLink;

std::vector<std::string> Lines(std::initializer_list<std::vector<std::string>> groups) {
  std::vector<std::string> all;
  for (const auto &group : groups)
    all.insert(all.end(), group.begin(), group.end());
  return all;
}

// D0 an output of the converter, D1 an input, SDO enabled.
BoardSetup Saved() {
  BoardSetup setup;
  for (std::size_t row = 0; row < ReadableRegisters.size(); ++row)
    setup.SetCode(ReadableRegisters[row], static_cast<uint16_t>(0x0101 * (row + 1)));
  FunctionWord options;
  options.D0Output = true;
  options.D0High = true;
  setup.SetCode(Command::FunctionRegister, options.Bits());
  setup.Lines = {true, false, true, true, true, false};
  return setup;
}

// A recording board whose registers read back as the setup wrote them.
void Holding(RecordingLink &link, const BoardSetup &setup) {
  for (WordAddress address : ReadableRegisters)
    if (const auto code = setup.Code(address))
      link.SetRegister(address, *code);
}

std::vector<std::string> ReadBackOf(const BoardSetup &setup) {
  std::vector<std::string> reads;
  for (WordAddress address : ReadableRegisters)
    if (setup.Code(address))
      for (const std::string &line : test::ReadLines(address))
        reads.push_back(line);
  return reads;
}

TEST(SetupLoad, SendsTheRequestsInTheirSafeOrder) {
  RecordingLink link;
  SerialAccess serial(link);
  const BoardSetup setup = Saved();
  Holding(link, setup);
  const SetupLoadReport report = LoadSetup(serial, setup);
  EXPECT_TRUE(report.ReadsBackAsLoaded()) << report.Summary();
  EXPECT_EQ(report.Summary(), "");
  // Lines value: 0x81 fixed, LDAC 0x10, CLR 0x08, binary coding 0x04, RSTIN 0x02.
  // Lines value: 0x81 fixed, LDAC 0x10, CLR 0x08, binary coding 0x04, RSTIN
  // 0x02; index: the levels the board drives on D1 (2) and D0 (1).
  EXPECT_EQ(link.Take(),
            Lines({{"DE out v=9F i=2", // awake: RSTIN, CLR and LDAC high; the saved coding and drive levels
                    "DB in v=0",       // the board lets go of D0 before the converter drives it
                    "DD out v=1 i=6",  // the function word: D0 an output, high
                    "DC in v=1",       // only then the board drives D1
                    // DAC A to D: coarse gain, fine gain, offset, data with the LDAC pulse
                    "DD out v=18 i=2", "DD out v=20 i=3", "DD out v=28 i=4", "D9 out v=10 i=101",  //
                    "DD out v=19 i=2", "DD out v=21 i=7", "DD out v=29 i=8", "D9 out v=11 i=505",  //
                    "DD out v=1A i=2", "DD out v=22 i=B", "DD out v=2A i=C", "D9 out v=12 i=909",  //
                    "DD out v=1B i=2", "DD out v=23 i=F", "DD out v=2B i=10", "D9 out v=13 i=D0D", //
                    "DE out v=97 i=2"}, // the lines as saved: CLR low
                   ReadBackOf(setup)}));
}

TEST(SetupLoad, WithSdoDisabledReadsWithItEnabledAndDisablesItAgain) {
  RecordingLink link;
  SerialAccess serial(link);
  BoardSetup setup = Saved();
  FunctionWord options = *setup.Function();
  options.SdoDisabled = true;
  options.D0Output = false; // both lines inputs: the board drives both after the word
  setup.SetCode(Command::FunctionRegister, options.Bits());
  Holding(link, setup);
  link.SetRegister(Command::FunctionRegister, options.Bits() & ~FunctionWord::SdoDisabledBit);
  EXPECT_TRUE(LoadSetup(serial, setup).ReadsBackAsLoaded());
  const std::vector<std::string> sent = link.Take();
  ASSERT_GE(sent.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(sent.begin() + 1, sent.begin() + 4),
            (std::vector<std::string>{"DD out v=1 i=3", "DB in v=1", "DC in v=1"}));
  const std::vector<std::string> tail = {"DE out v=97 i=2", "DD out v=1 i=2"};
  EXPECT_EQ(std::vector<std::string>(sent.end() - 2 * 17 - 3, sent.end() - 2 * 17 - 1), tail);
  EXPECT_EQ(sent.back(), "DD out v=1 i=3");
}

TEST(SetupLoad, NamesWhatReadsBackOtherwiseAndWhatItDidNotKnow) {
  RecordingLink link;
  SerialAccess serial(link);
  BoardSetup setup = Saved();
  Holding(link, setup);
  link.SetRegister({Register::Offset, Channel::C}, 0);
  // An input line reads the level the board drives, not the level written.
  link.SetRegister(Command::FunctionRegister, *setup.Code(Command::FunctionRegister) | FunctionWord::D1HighBit);
  setup.Codes[3].reset(); // DAC A offset
  SetupLoadReport report = LoadSetup(serial, setup);
  EXPECT_EQ(report.Differences, std::vector<std::string>{"DAC C offset: wrote 0x0C, reads 0x00"});
  EXPECT_EQ(report.NotRestored, std::vector<std::string>{"DAC A offset"});
  for (const std::string &line : link.Take())
    EXPECT_EQ(line.find("i=404"), std::string::npos) << "DAC A offset was written: " << line;

  link.RequestStatus = StatusValue(BoardStatus::NoAnswer);
  report = LoadSetup(serial, setup);
  EXPECT_EQ(report.Differences.size(), 16u);
  EXPECT_EQ(report.Differences[0], "DAC A data: wrote 0x0101, could not be read back");
  EXPECT_TRUE(serial.FirstFailure());
}

TEST(SetupLoad, WithRstinSavedLowReadsNothingBack) {
  RecordingLink link;
  SerialAccess serial(link);
  BoardSetup setup = Saved();
  setup.Lines.Rstin = false;
  const SetupLoadReport report = LoadSetup(serial, setup);
  EXPECT_TRUE(report.ReadBackSkipped);
  const std::vector<std::string> sent = link.Take();
  EXPECT_EQ(sent.back(), "DE out v=95 i=2");
  EXPECT_EQ(sent.size(), 21u);
}

TEST(SetupLoad, RestoresEveryRegisterOfTheSimulatedBoardAfterItsConvertersSupplyCycled) {
  FourOperationLink link(FourOperationLibraryPath(VQ_BIN_DIR));
  BoardSession session;
  session.ProgramDirectory = VQ_BIN_DIR;
  session.SetFirmwarePath();
  session.CopyFirmwarePath(session.FirmwarePath);
  ASSERT_EQ(link.ConnectAndDownload(session), 0);
  sim::BoardControl &board = *link.SimulatedBoard();
  RegisterModel model;
  link.AddCallListener(&model);
  SerialAccess serial(link);
  BoardSetup saved = Saved();
  saved.Lines.Clr = true;
  ASSERT_TRUE(LoadSetup(serial, saved).ReadsBackAsLoaded());
  // D1 is an input of the converter: a read shows the level the board drives
  // there, while the option written stays the program's.
  EXPECT_TRUE(SetupFromModel(model, saved.Lines, true).Function()->D1High);
  const BoardSetup known = SetupFromModel(model, saved.Lines, saved.PulseAfterDataWrite, *saved.Function());
  EXPECT_EQ(known, saved);

  board.PowerCycleConverter();
  model.ForgetEverything();
  EXPECT_TRUE(board.FirmwareRunning());
  EXPECT_NE(board.Registers(2).Dac, *saved.Code({Register::Data, Channel::C}));
  EXPECT_EQ(SetupFromModel(model, saved.Lines, true).Code({Register::Data, Channel::A}), std::nullopt);

  EXPECT_TRUE(LoadSetup(serial, known).ReadsBackAsLoaded());
  EXPECT_EQ(SetupFromModel(model, saved.Lines, saved.PulseAfterDataWrite, *saved.Function()), saved);
  EXPECT_EQ(board.FunctionRegister(), *saved.Code(Command::FunctionRegister));
  EXPECT_EQ(board.Registers(2).Dac, *saved.Code({Register::Data, Channel::C})) << "the output took it";
  EXPECT_EQ(board.Lines(), saved.Lines);
  link.RemoveCallListener(&model);
  board.PowerCycle();
}

} // namespace
} // namespace vq
