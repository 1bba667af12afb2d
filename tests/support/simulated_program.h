// A window of either program on its simulated board, loaded as the program
// loads it, with the board's own view for checking what reached it.
#pragma once

#include "board/dynamic_library.h"
#include "simboard/sim_board_api.h"
#include "tests/support/form_fixture.h"

#include <memory>
#include <string>

namespace vq::test {

struct SimulatedProgram {
  // The board is power-cycled first, so each window starts on a fresh board.
  explicit SimulatedProgram(bool earlierBuild);

  std::string libraryPath;
  DynamicLibrary library; // the same file the link binds: the same board
  sim::BoardControl &board;
  std::unique_ptr<BoardLink> link;
  FormFixture fixture;
  MainWindowControls &Controls() { return fixture.Controls(); }
};

} // namespace vq::test
