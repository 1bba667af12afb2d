// Keeps the rules: a panel uses the board link and the rules.
#include "board/serial_access.h"
#include "rules/number_rules.h"

#include <QString>
