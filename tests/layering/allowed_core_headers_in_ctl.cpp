// Keeps the rules: vq8231ctl builds on the board link, the register model and
// the SCPI command layer.
#include "board/serial_access.h"
#include "boardlog/register_model.h"
#include "remote/interpreter.h"
