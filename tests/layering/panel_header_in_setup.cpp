// Breaks the rules: setup files know nothing of the panels.
#include "panels/board_access.h"
