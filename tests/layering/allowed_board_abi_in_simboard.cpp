// Keeps the rules: a board library takes its declarations from the interface
// header and what crosses the interface (statuses, lines, bits, paths).
#include "board/board_library.h"
#include "board/board_status.h"
#include "board/control_lines.h"
#include "board/function_word.h"
#include "board/read_back.h"
#include "board/zero_terminated_text.h"
#include "simboard/sim_board_api.h"
