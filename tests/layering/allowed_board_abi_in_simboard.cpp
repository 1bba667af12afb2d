// Keeps the rules: a board library takes its declarations from the interface
// header.
#include "board/board_library.h"
#include "simboard/sim_board_api.h"
