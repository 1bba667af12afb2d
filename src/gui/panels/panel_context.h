// What every panel works on besides its own widgets: the program-wide values
// and the one way to the board.
#pragma once

#include "panels/board_access.h"
#include "panels/program_values.h"

#include <QString>

#include <optional>

class QWidget;

namespace vq {

// What a display shows where a read or a sample failed: nothing was read.
inline constexpr const char *NoAnswer = "no answer";

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

// The number a typed text holds, by the one reading rule (LeadingNumber).
// When only the start of the text was a number, the action's note says what
// it was read as: "Read \"1,5\" as 1."
double ReadTypedNumber(const PanelContext &c, const QString &text);

// Reads the coarse gain register a conversion takes its range from. When the
// read fails: the register's last known content if the program knows one,
// else nothing, and the range last taken stays; the action's note says which.
std::optional<int32_t> ReadCoarseGain(const PanelContext &c, WordAddress coarseGain);

} // namespace vq
