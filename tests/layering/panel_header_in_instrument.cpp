// Breaks the rules: the bench instrument knows no window.
#include "panels/program_values.h"
