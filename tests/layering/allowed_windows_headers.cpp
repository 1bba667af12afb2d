// Keeps the rules: a window uses Qt, the log, the board link, the rules and
// the simulated board's control view.
#include "board/board_link.h"
#include "boardlog/request_log.h"
#include "rules/conversions.h"
#include "simboard/sim_board_api.h"

#include <QWidget>
