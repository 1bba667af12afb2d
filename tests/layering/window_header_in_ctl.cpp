// Breaks the rules: vq8231ctl reaches the board through the core, never a window.
#include "app/main_window.h"
