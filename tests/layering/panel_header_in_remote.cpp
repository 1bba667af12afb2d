// Breaks the rules: the SCPI command layer knows no window.
#include "panels/program_values.h"
