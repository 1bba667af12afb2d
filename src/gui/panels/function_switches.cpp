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
    : c_(context), frame_(PlaceFrame(client, "Frame6", QStringLiteral("F&unction Register Configuration"))) {
  QGroupBox *groundFrame = SwitchFrame(frame_, "Frame7", QStringLiteral("Local Gnd Offset Adjust"), groundOffsetSwitch_,
                                       "Toggle1", QStringLiteral("Disabled"), QStringLiteral("Enabled"));
  QGroupBox *sdoFrame = SwitchFrame(frame_, "Frame9", QStringLiteral("Serial Data Output (SDO)"), sdoSwitch_, "Toggle7",
                                    QStringLiteral("Enabled"), QStringLiteral("Disabled"));

  auto *linesFrame = PlaceFrame(frame_, "Frame8", QStringLiteral("Digital I/O Ports"));
  auto *d1Frame = PlaceFrame(linesFrame, "Frame11", QString());
  d1DirectionSwitch_ = PlaceSwitch(d1Frame, "Toggle3", QStringLiteral("D1 - Input"), QStringLiteral("D1 - Output"));
  d1LevelSwitch_ = PlaceSwitch(d1Frame, "Toggle5", QStringLiteral("D1 - Low"), QStringLiteral("D1 - High"));
  auto *d0Frame = PlaceFrame(linesFrame, "Frame10", QString());
  d0DirectionSwitch_ = PlaceSwitch(d0Frame, "Toggle4", QStringLiteral("D0 - Input"), QStringLiteral("D0 - Output"));
  d0LevelSwitch_ = PlaceSwitch(d0Frame, "Toggle6", QStringLiteral("D0 - Low"), QStringLiteral("D0 - High"));
  readLinesButton_ = PlaceButton(linesFrame, "Command6", QStringLiteral("READ"));
  // "READ" comes and goes with the lines' directions; the rest stays put.
  KeepRoomWhenHidden({readLinesButton_});

  clearAllButton_ = PlaceButton(frame_, "Command4", QStringLiteral("CLEAR"));
  loadAllButton_ = PlaceButton(frame_, "Command5", QStringLiteral("LOAD"));

  Describe(groundOffsetSwitch_, QStringLiteral("Local Gnd Offset Adjust"),
           QStringLiteral("Whether the converter adjusts its outputs for the offset of the local ground"));
  Describe(sdoSwitch_, QStringLiteral("Serial Data Output (SDO)"),
           QStringLiteral("Enables or disables the converter's serial data output; reads need it enabled"));
  Describe(d1DirectionSwitch_, QStringLiteral("D1 direction"),
           QStringLiteral("Whether the converter drives D1 (output) or reads it (input)"));
  Describe(d1LevelSwitch_, QStringLiteral("D1 level"),
           QStringLiteral("The level the converter drives on D1 while D1 is an output"));
  Describe(d0DirectionSwitch_, QStringLiteral("D0 direction"),
           QStringLiteral("Whether the converter drives D0 (output) or reads it (input)"));
  Describe(d0LevelSwitch_, QStringLiteral("D0 level"),
           QStringLiteral("The level the converter drives on D0 while D0 is an output"));
  Describe(readLinesButton_, QStringLiteral("Read D0 and D1"),
           QStringLiteral("Reads the levels of D0 and D1 from the converter's function register"));
  Describe(clearAllButton_, QStringLiteral("Clear all DACs"), QStringLiteral("Sets every DAC to its clear code: 0 V"));
  Describe(loadAllButton_, QStringLiteral("Load all DACs"),
           QStringLiteral("Moves every input register into its DAC register: all outputs change at once"));
  SameWidth({groundFrame, sdoFrame});
  SameWidth({d1DirectionSwitch_, d1LevelSwitch_, d0DirectionSwitch_, d0LevelSwitch_});
  SameWidth({clearAllButton_, loadAllButton_});
  for (QGroupBox *line : {d1Frame, d0Frame}) {
    auto *row = new QHBoxLayout(line);
    for (QObject *child : line->children())
      if (auto *toggle = qobject_cast<ToggleSwitch *>(child))
        row->addWidget(toggle);
  }
  auto *lines = new QHBoxLayout(linesFrame);
  lines->addWidget(d1Frame);
  lines->addWidget(d0Frame);
  lines->addWidget(readLinesButton_, 0, Qt::AlignVCenter);
  auto *row = new QHBoxLayout(frame_);
  row->addWidget(groundFrame);
  row->addWidget(sdoFrame);
  row->addWidget(linesFrame);
  row->addStretch(1);
  row->addWidget(clearAllButton_, 0, Qt::AlignVCenter);
  row->addWidget(loadAllButton_, 0, Qt::AlignVCenter);
  row->addStretch(1);

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

void FunctionSwitches::LetLevelSwitchesFollowDirections() {
  d1LevelSwitch_->SetOperable(d1DirectionSwitch_->Value());
  d0LevelSwitch_->SetOperable(d0DirectionSwitch_->Value());
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
  BoardAccess::Action action(c_.Board);
  SetOption(c_.Values.Options.LocalGroundOffsetAdjust, groundOffsetSwitch_);
}

void FunctionSwitches::onSdoFlipped() {
  BoardAccess::Action action(c_.Board);
  SetOption(c_.Values.Options.SdoDisabled, sdoSwitch_);
}

void FunctionSwitches::onD1DirectionFlipped() {
  BoardAccess::Action action(c_.Board);
  ChangeDirection(D1());
}

void FunctionSwitches::onD0DirectionFlipped() {
  BoardAccess::Action action(c_.Board);
  ChangeDirection(D0());
}

void FunctionSwitches::onD1LevelFlipped() {
  BoardAccess::Action action(c_.Board);
  ChangeLevel(D1());
}

void FunctionSwitches::onD0LevelFlipped() {
  BoardAccess::Action action(c_.Board);
  ChangeLevel(D0());
}

void FunctionSwitches::onClearAllClicked() {
  BoardAccess::Action action(c_.Board);
  c_.Board.WriteRegister(Command::ClearAll, 0);
}

void FunctionSwitches::onLoadAllClicked() {
  BoardAccess::Action action(c_.Board);
  c_.Board.WriteRegister(Command::LoadAll, 0);
}

void FunctionSwitches::onReadLinesClicked() {
  BoardAccess::Action action(c_.Board);
  ProgramValues &v = c_.Values;
  // SDO must be enabled for the read-back; the other options stay as read.
  // Only the six option bits are written back: bits 15..6 of the function
  // register are always written as 0, whatever a read-back carried there.
  // Options or levels that were not read are neither written back nor shown.
  const Reading<int32_t> first = c_.Board.ReadRegister(Command::FunctionRegister);
  if (!first.Answered()) {
    c_.Board.Note(QStringLiteral("Nothing was written back."));
    return;
  }
  FunctionWord asRead = FunctionWord::FromBits(first.Value);
  asRead.SdoDisabled = false;
  v.FunctionRegisterShadow = asRead.Bits();
  c_.Board.WriteRegister(Command::FunctionRegister, v.FunctionRegisterShadow);
  const Reading<int32_t> second = c_.Board.ReadRegister(Command::FunctionRegister);
  if (!second.Answered()) {
    c_.Board.Note(QStringLiteral("The drive levels were not taken."));
    return;
  }
  v.FunctionRegisterShadow = second.Value;
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
