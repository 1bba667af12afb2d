// Breaks the rules: the board link does not use the panels' number rules.
#include "rules/number_rules.h"
