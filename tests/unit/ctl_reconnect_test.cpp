// SYSTem:RECOnnect on the simulated board through the library path: a board
// unplugged mid-session fails its requests with -240 and why; plugged back,
// the command runs the session again and the board answers afresh.
#include "board/board_library.h"
#include "board/dynamic_library.h"
#include "ctl/board_connection.h"
#include "ctl/reconnect_command.h"
#include "simboard/sim_board_api.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

TEST(Reconnect, ALostBoardComesBackOnCommand) {
  vq::DynamicLibrary library(vq::FourOperationLibraryPath(VQ_BIN_DIR));
  vq::sim::BoardControl &board = *library.resolve<VqSim_Board_Fn>(VQ_SIM_BOARD_ACCESSOR)();
  board.PowerCycle();
  vq::ctl::BoardConnection connection(vq::FourOperationLibraryPath(VQ_BIN_DIR), VQ_BIN_DIR);
  ASSERT_EQ(connection.Open(false), std::nullopt);
  vq::BenchInstrument instrument(connection.Serial(), connection.Registers(), {connection.BoardNumber()});
  instrument.ReadStartOptions();
  vq::ctl::AddReconnectCommand(instrument, connection);
  vq::remote::ErrorQueue &errors = instrument.Interpreter().Errors();
  Lines answers;

  instrument.Run("SOUR2:CODE 1234;LINE:COD TWOS", answers);
  board.SetPluggedIn(false);
  instrument.Run("SOUR2:CODE 99", answers);
  vq::remote::QueuedError lost = errors.Pop();
  EXPECT_EQ(lost.Code, vq::remote::ErrorCode::HardwareError);
  EXPECT_NE(lost.Detail.find("gone"), std::string::npos) << lost.Detail;

  instrument.Run("SYST:RECO", answers); // still unplugged: the search finds nothing
  lost = errors.Pop();
  EXPECT_EQ(lost.Code, vq::remote::ErrorCode::HardwareError);
  EXPECT_NE(lost.Detail.find("no board"), std::string::npos) << lost.Detail;

  board.SetPluggedIn(true);
  instrument.Run("SYST:RECO;SOUR2:CODE?;LINE:COD?;SOUR2:CODE 4321;SOUR2:CODE?", answers);
  EXPECT_EQ(errors.Count(), 0u) << errors.Pop().Detail;
  // The converter came back at its power-on registers (0 V), the lines as at start.
  EXPECT_EQ(answers, (Lines{"32768", "BIN", "4321"}));
}

} // namespace
