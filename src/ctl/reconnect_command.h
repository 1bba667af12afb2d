// SYSTem:RECOnnect: a lost board (a request failed with -240, "the board is
// gone") comes back without restarting the program: the board session runs
// again on the library already loaded, and the instrument starts afresh.
#pragma once

#include "ctl/board_connection.h"
#include "instrument/bench_instrument.h"

namespace vq::ctl {

void AddReconnectCommand(BenchInstrument &instrument, BoardConnection &board);

} // namespace vq::ctl
