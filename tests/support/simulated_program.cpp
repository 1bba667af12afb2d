#include "tests/support/simulated_program.h"

#include "board/board_library.h"
#include "board/four_operation_link.h"
#include "board/two_operation_link.h"

namespace vq::test {

namespace {

sim::BoardControl &FreshBoard(DynamicLibrary &library) {
  sim::BoardControl &board = *library.resolve<VqSim_Board_Fn>(VQ_SIM_BOARD_ACCESSOR)();
  board.PowerCycle();
  return board;
}

std::unique_ptr<BoardLink> LinkTo(const std::string &path, bool earlierBuild) {
  if (earlierBuild)
    return std::make_unique<TwoOperationLink>(path);
  return std::make_unique<FourOperationLink>(path);
}

} // namespace

SimulatedProgram::SimulatedProgram(bool earlierBuild)
    : libraryPath(std::string(VQ_BIN_DIR) + "/" + (earlierBuild ? VQ_USBFUNCTIONS_NAME : VQ_USB4_FILE_NAME)),
      library(libraryPath), board(FreshBoard(library)), link(LinkTo(libraryPath, earlierBuild)),
      fixture(*link, VQ_BIN_DIR, earlierBuild) {}

} // namespace vq::test
