// What every panel works on besides its own widgets: the program-wide values
// and the one way to the board.
#pragma once

#include "panels/board_access.h"
#include "panels/program_values.h"

#include <QString>

class QWidget;

namespace vq {

struct PanelContext {
  ProgramValues &Values;
  BoardAccess &Board;
  QWidget *Window;      // parent for message boxes
  QString MessageTitle; // their title: the application's
};

// Composes the function word from the options as they stand, keeps it as the
// shadow and writes it to the function register. Every writer of the function
// register (the switches, "Read Register" and the temperature measurement)
// sends all six options this way.
inline void WriteFunctionWord(const PanelContext &c) {
  c.Values.FunctionRegisterShadow = c.Values.Options.Bits();
  c.Board.WriteRegister(Command::FunctionRegister, c.Values.FunctionRegisterShadow);
}

} // namespace vq
