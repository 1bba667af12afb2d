// Breaks the rules: the further windows sit below the application.
#include "app/main_window.h"
