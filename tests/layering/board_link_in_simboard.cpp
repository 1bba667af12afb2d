// Breaks the rules: a board library shares only the interface header with
// the program, never the program's own binding.
#include "board/serial_access.h"
