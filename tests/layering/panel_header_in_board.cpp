// Breaks the rules: the board link knows no window.
#include "panels/program_values.h"
