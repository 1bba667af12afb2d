#include "panels/function_switches.h"

#include "panels/control_placement.h"

namespace vq {

struct FunctionSwitches::Line {
  DigitalLine Which;
  ToggleSwitch *Direction;      // on: the converter drives the line
  ToggleSwitch *Level;          // the level the converter drives
  ToggleSwitch *OtherDirection; // the other line's direction switch
  bool &Output;                 // the options that belong to the line
  bool &High;
};

FunctionSwitches::Line FunctionSwitches::D1() const {
  FunctionWord &o = c_.Values.Options;
  return {DigitalLine::D1, d1DirectionSwitch_, d1LevelSwitch_, d0DirectionSwitch_, o.D1Output, o.D1High};
}

FunctionSwitches::Line FunctionSwitches::D0() const {
  FunctionWord &o = c_.Values.Options;
  return {DigitalLine::D0, d0DirectionSwitch_, d0LevelSwitch_, d1DirectionSwitch_, o.D0Output, o.D0High};
}

FunctionSwitches::FunctionSwitches(QWidget *client, PanelContext context)
    : c_(context), frame_(PlaceFrame(client, "Frame6", QStringLiteral("Function Register Configuration"),
                                     QRect(Px(120), Px(3000), Px(14415), Px(1935)))) {
  const QRect toggle = QRect(10, 22, 110, 44).translated(15, 10);
  auto *groundFrame = PlaceFrame(frame_, "Frame7", QStringLiteral("Local Gnd Offset Adjust"), QRect(8, 20, 160, 96));
  groundOffsetSwitch_ =
      PlaceSwitch(groundFrame, "Toggle1", QStringLiteral("Disabled"), QStringLiteral("Enabled"), toggle);
  auto *sdoFrame = PlaceFrame(frame_, "Frame9", QStringLiteral("Serial Data Output (SDO)"), QRect(176, 20, 160, 96));
  sdoSwitch_ = PlaceSwitch(sdoFrame, "Toggle7", QStringLiteral("Enabled"), QStringLiteral("Disabled"), toggle);

  auto *linesFrame = PlaceFrame(frame_, "Frame8", QStringLiteral("Digital I/O Ports"), QRect(344, 20, 440, 96));
  auto *d1Frame = PlaceFrame(linesFrame, "Frame11", QString(), QRect(8, 18, 176, 70));
  d1DirectionSwitch_ = PlaceSwitch(d1Frame, "Toggle3", QStringLiteral("D1 - Input"), QStringLiteral("D1 - Output"),
                                   QRect(4, 12, 84, 44));
  d1LevelSwitch_ =
      PlaceSwitch(d1Frame, "Toggle5", QStringLiteral("D1 - Low"), QStringLiteral("D1 - High"), QRect(88, 12, 84, 44));
  auto *d0Frame = PlaceFrame(linesFrame, "Frame10", QString(), QRect(192, 18, 176, 70));
  d0DirectionSwitch_ = PlaceSwitch(d0Frame, "Toggle4", QStringLiteral("D0 - Input"), QStringLiteral("D0 - Output"),
                                   QRect(4, 12, 84, 44));
  d0LevelSwitch_ =
      PlaceSwitch(d0Frame, "Toggle6", QStringLiteral("D0 - Low"), QStringLiteral("D0 - High"), QRect(88, 12, 84, 44));
  readLinesButton_ = PlaceButton(linesFrame, "Command6", QStringLiteral("READ"), QRect(376, 38, 56, 28));

  clearAllButton_ = PlaceButton(frame_, "Command4", QStringLiteral("CLEAR"), QRect(800, 40, 72, 30));
  loadAllButton_ = PlaceButton(frame_, "Command5", QStringLiteral("LOAD"), QRect(880, 40, 72, 30));

  // The switches' handlers run only on a flip by the user.
  connect(groundOffsetSwitch_, &ToggleSwitch::flipped, this, &FunctionSwitches::onGroundOffsetFlipped);
  connect(sdoSwitch_, &ToggleSwitch::flipped, this, &FunctionSwitches::onSdoFlipped);
  connect(d1DirectionSwitch_, &ToggleSwitch::flipped, this, &FunctionSwitches::onD1DirectionFlipped);
  connect(d0DirectionSwitch_, &ToggleSwitch::flipped, this, &FunctionSwitches::onD0DirectionFlipped);
  connect(d1LevelSwitch_, &ToggleSwitch::flipped, this, &FunctionSwitches::onD1LevelFlipped);
  connect(d0LevelSwitch_, &ToggleSwitch::flipped, this, &FunctionSwitches::onD0LevelFlipped);
  connect(clearAllButton_, &QPushButton::clicked, this, &FunctionSwitches::onClearAllClicked);
  connect(loadAllButton_, &QPushButton::clicked, this, &FunctionSwitches::onLoadAllClicked);
  connect(readLinesButton_, &QPushButton::clicked, this, &FunctionSwitches::onReadLinesClicked);
}

void FunctionSwitches::ShowOptions(const FunctionWord &word) {
  groundOffsetSwitch_->SetValue(word.LocalGroundOffsetAdjust);
  d1DirectionSwitch_->SetValue(word.D1Output);
  d1LevelSwitch_->SetValue(word.D1High);
  d0DirectionSwitch_->SetValue(word.D0Output);
  d0LevelSwitch_->SetValue(word.D0High);
  sdoSwitch_->SetValue(word.SdoDisabled);
}

void FunctionSwitches::ShowSdoDisabled(bool disabled) {
  sdoSwitch_->SetValue(disabled);
}

void FunctionSwitches::LockLevelSwitches() {
  d1LevelSwitch_->SetOperable(false);
  d0LevelSwitch_->SetOperable(false);
}

void FunctionSwitches::OfferReadWhileALineIsInput() {
  readLinesButton_->setVisible(!(d1DirectionSwitch_->Value() && d0DirectionSwitch_->Value()));
}

void FunctionSwitches::SetOption(bool &option, const ToggleSwitch *control) {
  option = control->Value();
  WriteFunctionWord(c_);
}

// The converter's level switch only matters while the converter drives the
// line; while it is an input its flag stays as it was.
void FunctionSwitches::ChangeLevel(const Line &line) {
  if (!line.Direction->Value())
    return;
  SetOption(line.High, line.Level);
}

// A line is driven either by the converter (output: its level switch counts,
// the board's drive switch is locked) or by the board (input: the other way
// round). "READ" is offered while at least one line is an input.
// Never both at once: the board lets go before the converter drives, and the
// converter lets go before the board drives.
void FunctionSwitches::ChangeDirection(const Line &line) {
  const bool converterDrives = line.Direction->Value();
  line.Level->SetOperable(converterDrives);
  readLinesButton_->setVisible(converterDrives ? !line.OtherDirection->Value() : true);
  emit lineDirectionChanged(line.Which, !converterDrives);
  line.Output = converterDrives;
  if (converterDrives) {
    c_.Board.TakeLineDirection(line.Which, false);
    WriteFunctionWord(c_);
  } else {
    WriteFunctionWord(c_);
    c_.Board.TakeLineDirection(line.Which, true);
  }
}

void FunctionSwitches::onGroundOffsetFlipped() {
  SetOption(c_.Values.Options.LocalGroundOffsetAdjust, groundOffsetSwitch_);
}

void FunctionSwitches::onSdoFlipped() {
  SetOption(c_.Values.Options.SdoDisabled, sdoSwitch_);
}

void FunctionSwitches::onD1DirectionFlipped() {
  ChangeDirection(D1());
}

void FunctionSwitches::onD0DirectionFlipped() {
  ChangeDirection(D0());
}

void FunctionSwitches::onD1LevelFlipped() {
  ChangeLevel(D1());
}

void FunctionSwitches::onD0LevelFlipped() {
  ChangeLevel(D0());
}

void FunctionSwitches::onClearAllClicked() {
  c_.Board.WriteRegister(Command::ClearAll, 0);
}

void FunctionSwitches::onLoadAllClicked() {
  c_.Board.WriteRegister(Command::LoadAll, 0);
}

void FunctionSwitches::onReadLinesClicked() {
  ProgramValues &v = c_.Values;
  // SDO must be enabled for the read-back; the other options stay as read.
  // Only the six option bits are written back: bits 15..6 of the function
  // register are always written as 0, whatever a read-back carried there.
  FunctionWord asRead = FunctionWord::FromBits(c_.Board.ReadRegister(Command::FunctionRegister));
  asRead.SdoDisabled = false;
  v.FunctionRegisterShadow = asRead.Bits();
  c_.Board.WriteRegister(Command::FunctionRegister, v.FunctionRegisterShadow);
  v.FunctionRegisterShadow = c_.Board.ReadRegister(Command::FunctionRegister);
  const FunctionWord levels = FunctionWord::FromBits(v.FunctionRegisterShadow);
  const bool changed = v.Lines.DriveD1 != levels.D1High || v.Lines.DriveD0 != levels.D0High;
  v.Lines.DriveD1 = levels.D1High;
  v.Lines.DriveD0 = levels.D0High;
  sdoSwitch_->SetValue(false);
  d1LevelSwitch_->SetValue(levels.D1High);
  d0LevelSwitch_->SetValue(levels.D0High);
  emit driveLevelsRead(levels.D1High, levels.D0High);
  // The board drives what the drive switches now show, not only from the
  // next, unrelated switch flip on.
  if (changed)
    c_.Board.SetControlLines(v.Lines);
}

} // namespace vq
