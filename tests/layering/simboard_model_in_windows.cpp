// Breaks the rules: the front panel sees the simulated board only through its
// control view, never the model it would then be linked with.
#include "simboard/simulated_board.h"
