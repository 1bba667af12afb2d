#include "panels/switch_panel.h"

#include "panels/function_word.h"
#include "panels/toggle_switch.h"

#include <QGroupBox>
#include <QPushButton>

namespace vq {

struct SwitchPanel::Line {
  DigitalLine which;
  int direction; // the converter's direction switch of this line
  int level;     // the converter's level switch of this line
  int otherDirection;
  int boardDrive; // the board's drive switch of this line
  QGroupBox *driveFrame;
  int16_t &outputFlag;
  int16_t &highFlag;
};

SwitchPanel::Line SwitchPanel::D1() const {
  FunctionOptions &o = c_.values.Options;
  return {DigitalLine::D1, 3, 5, 4, 12, c_.ui.Frame21, o.D1Output, o.D1High};
}

SwitchPanel::Line SwitchPanel::D0() const {
  FunctionOptions &o = c_.values.Options;
  return {DigitalLine::D0, 4, 6, 3, 11, c_.ui.Frame20, o.D0Output, o.D0High};
}

bool SwitchPanel::IsOn(int toggle) const {
  return c_.ui.Toggle[toggle]->Value();
}

int32_t SwitchPanel::ComposeFunctionWord() const {
  return vq::ComposeFunctionWord(c_.values.Options);
}

void SwitchPanel::WriteFunctionWord() {
  vq::WriteFunctionWord(c_.values, c_.board);
}

// SetControlPins sends every flag, so the others go out with their present
// values.
void SwitchPanel::SetPin(int16_t &flag, int toggle) {
  flag = IsOn(toggle) ? 1 : 0;
  c_.board.SetControlPins();
}

void SwitchPanel::SetOption(int16_t &flag, int toggle) {
  flag = IsOn(toggle) ? 1 : 0;
  WriteFunctionWord();
}

// The converter's level switch only matters while the converter drives the
// line; while it is an input its flag stays as it was.
void SwitchPanel::ChangeLevel(const Line &line) {
  if (!IsOn(line.direction))
    return;
  SetOption(line.highFlag, line.level);
}

// A line is driven either by the converter (output: its level switch counts,
// the board's drive switch is locked) or by the board (input: the other way
// round). "READ" is offered while at least one line is an input.
void SwitchPanel::ChangeDirection(const Line &line) {
  MainFormControls &ui = c_.ui;
  if (IsOn(line.direction)) {
    c_.board.TakeLineDirection(line.which, false);
    ui.Toggle[line.level]->SetOperable(true);
    ui.Command6->setVisible(!IsOn(line.otherDirection));
    line.driveFrame->setEnabled(false);
    ui.Toggle[line.boardDrive]->SetOperable(false);
    line.outputFlag = 1;
  } else {
    c_.board.TakeLineDirection(line.which, true);
    ui.Toggle[line.level]->SetOperable(false);
    ui.Command6->setVisible(true);
    line.driveFrame->setEnabled(true);
    ui.Toggle[line.boardDrive]->SetOperable(true);
    line.outputFlag = 0;
  }
  WriteFunctionWord();
}

void SwitchPanel::Toggle1_Change() {
  SetOption(c_.values.Options.LocalGndOffsetAdjust, 1);
}

// Also the coding the voltage entry uses from now on.
void SwitchPanel::Toggle2_Change() {
  SetPin(c_.board.ControlPins.BinCoding, 2);
}

void SwitchPanel::Toggle3_Change() {
  ChangeDirection(D1());
}

void SwitchPanel::Toggle4_Change() {
  ChangeDirection(D0());
}

void SwitchPanel::Toggle5_Change() {
  ChangeLevel(D1());
}

void SwitchPanel::Toggle6_Change() {
  ChangeLevel(D0());
}

void SwitchPanel::Toggle7_Change() {
  SetOption(c_.values.Options.SdoDisable, 7);
}

void SwitchPanel::Toggle8_Change() {
  SetPin(c_.board.ControlPins.ClrPin, 8);
}

void SwitchPanel::Toggle9_Change() {
  SetPin(c_.board.ControlPins.LdacPin, 9);
}

void SwitchPanel::Toggle10_Change() {
  SetPin(c_.board.ControlPins.RstinPin, 10);
}

void SwitchPanel::Toggle11_Change() {
  SetPin(c_.board.ControlPins.DriveD0, 11);
}

void SwitchPanel::Toggle12_Change() {
  SetPin(c_.board.ControlPins.DriveD1, 12);
}

} // namespace vq
