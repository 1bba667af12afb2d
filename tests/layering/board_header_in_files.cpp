// Breaks the rules: the file writer knows nothing of the board.
#include "board/registers.h"
