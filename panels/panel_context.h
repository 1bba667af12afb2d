// What every handler of the main window works on: its controls, the
// program-wide values and the board's serial access routines.
#pragma once

#include "board/serial_access.h"
#include "panels/main_form_controls.h"
#include "panels/program_values.h"

class QWidget;

namespace vq {

struct PanelContext {
  MainFormControls &ui;
  ProgramValues &values;
  SerialAccess &board;
  QWidget *window; // parent for message boxes
};

} // namespace vq
