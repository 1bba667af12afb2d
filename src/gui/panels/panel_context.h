// What every panel works on besides its own widgets: the program-wide values,
// the board's serial access routines and the register words through them.
#pragma once

#include "board/serial_access.h"
#include "panels/program_values.h"
#include "panels/register_words.h"

class QWidget;

namespace vq {

struct PanelContext {
  ProgramValues &values;
  SerialAccess &board;
  RegisterWords &registers;
  QWidget *window; // parent for message boxes
};

} // namespace vq
