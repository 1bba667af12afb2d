#include "panels/hardware_switches.h"

#include "panels/control_placement.h"

#include <QCheckBox>
#include <QSignalBlocker>

namespace vq {

HardwareSwitches::HardwareSwitches(QWidget *client, PanelContext context)
    : c_(context), frame_(PlaceFrame(client, "Frame12", QStringLiteral("Hardware &Configuration"))) {
  const QString low = QStringLiteral("Low"), high = QStringLiteral("High");
  QGroupBox *codingFrame = SwitchFrame(frame_, "Frame13", QStringLiteral("Bin / 2sComp"), codingSwitch_, "Toggle2",
                                       QStringLiteral("2sComplement"), QStringLiteral("Binary"));
  QGroupBox *clrFrame = SwitchFrame(frame_, "Frame14", QStringLiteral("CLR Pin"), clrSwitch_, "Toggle8", low, high);
  auto *ldacFrame = PlaceFrame(frame_, "Frame15", QStringLiteral("LDAC Pin"));
  ldacSwitch_ = PlaceSwitch(ldacFrame, "Toggle9", low, high);
  pulseAfterWriteBox_ = Place<QCheckBox>(ldacFrame, "Check1", QStringLiteral("Pulse After Data Write"));
  auto *ldacRow = new QHBoxLayout(ldacFrame);
  ldacRow->addWidget(ldacSwitch_);
  ldacRow->addWidget(pulseAfterWriteBox_);
  QGroupBox *rstinFrame =
      SwitchFrame(frame_, "Frame16", QStringLiteral("RSTIN Pin"), rstinSwitch_, "Toggle10", low, high);
  driveD1Frame_ = SwitchFrame(frame_, "Frame21", QStringLiteral("Drive D1 Pin"), driveD1Switch_, "Toggle12", low, high);
  driveD0Frame_ = SwitchFrame(frame_, "Frame20", QStringLiteral("Drive D0 Pin"), driveD0Switch_, "Toggle11", low, high);
  Describe(codingSwitch_, QStringLiteral("Bin / 2sComp"),
           QStringLiteral("The coding of data codes: offset binary or two's complement"));
  Describe(clrSwitch_, QStringLiteral("CLR Pin"), QStringLiteral("The CLR pin: low holds every output at 0 V"));
  Describe(ldacSwitch_, QStringLiteral("LDAC Pin"),
           QStringLiteral("The LDAC pin: low moves each input register into its DAC register at once"));
  Describe(pulseAfterWriteBox_, QStringLiteral("Pulse After Data Write"),
           QStringLiteral("Pulses LDAC after every data write, so the output follows each write"));
  Describe(rstinSwitch_, QStringLiteral("RSTIN Pin"), QStringLiteral("The converter's reset input"));
  Describe(driveD1Switch_, QStringLiteral("Drive D1 Pin"),
           QStringLiteral("The level the board drives on D1 while D1 is an input of the converter"));
  Describe(driveD0Switch_, QStringLiteral("Drive D0 Pin"),
           QStringLiteral("The level the board drives on D0 while D0 is an input of the converter"));
  SameWidth({codingFrame, clrFrame, rstinFrame, driveD1Frame_, driveD0Frame_});

  auto *row = new QHBoxLayout(frame_);
  for (QGroupBox *line : {codingFrame, clrFrame, ldacFrame, rstinFrame, driveD1Frame_, driveD0Frame_})
    row->addWidget(line);
  row->addStretch(1);

  // The switches' handlers run only on a flip by the user.
  connect(codingSwitch_, &ToggleSwitch::flipped, this, &HardwareSwitches::onCodingFlipped);
  connect(clrSwitch_, &ToggleSwitch::flipped, this, &HardwareSwitches::onClrFlipped);
  connect(ldacSwitch_, &ToggleSwitch::flipped, this, &HardwareSwitches::onLdacFlipped);
  connect(rstinSwitch_, &ToggleSwitch::flipped, this, &HardwareSwitches::onRstinFlipped);
  connect(driveD1Switch_, &ToggleSwitch::flipped, this, &HardwareSwitches::onDriveD1Flipped);
  connect(driveD0Switch_, &ToggleSwitch::flipped, this, &HardwareSwitches::onDriveD0Flipped);
  // A tick from code runs the box's action as a user's tick does.
  connect(pulseAfterWriteBox_, &QCheckBox::toggled, this, &HardwareSwitches::onPulseAfterWriteToggled);
}

void HardwareSwitches::ShowStartLevels() {
  for (ToggleSwitch *line : {ldacSwitch_, clrSwitch_, codingSwitch_, rstinSwitch_})
    line->SetValue(true);
}

void HardwareSwitches::ShowStartState() {
  ShowStartLevels();
  ShowDriveLevels(false, false);
  const QSignalBlocker quiet(pulseAfterWriteBox_);
  pulseAfterWriteBox_->setChecked(false);
  ldacSwitch_->SetOperable(true);
  emit pulseAfterWriteChanged(false);
}

void HardwareSwitches::StartPulsingAfterWrites() {
  pulseAfterWriteBox_->setChecked(true);
  ldacSwitch_->SetOperable(false);
}

void HardwareSwitches::LetBoardDrive(DigitalLine line, bool boardDrives) {
  QGroupBox *frame = line == DigitalLine::D1 ? driveD1Frame_ : driveD0Frame_;
  ToggleSwitch *drive = line == DigitalLine::D1 ? driveD1Switch_ : driveD0Switch_;
  frame->setEnabled(boardDrives);
  drive->SetOperable(boardDrives);
}

void HardwareSwitches::ShowDriveLevels(bool d1High, bool d0High) {
  driveD1Switch_->SetValue(d1High);
  driveD0Switch_->SetValue(d0High);
}

void HardwareSwitches::ShowLines(const ControlLines &lines, bool pulseAfterWrite) {
  codingSwitch_->SetValue(lines.BinaryCoding);
  clrSwitch_->SetValue(lines.Clr);
  ldacSwitch_->SetValue(lines.Ldac);
  rstinSwitch_->SetValue(lines.Rstin);
  ShowDriveLevels(lines.DriveD1, lines.DriveD0);
  {
    // A tick from code would send the lines again.
    const QSignalBlocker quiet(pulseAfterWriteBox_);
    pulseAfterWriteBox_->setChecked(pulseAfterWrite);
  }
  ldacSwitch_->SetOperable(!pulseAfterWrite);
  emit pulseAfterWriteChanged(pulseAfterWrite);
}

void HardwareSwitches::SendLine(bool &line, const ToggleSwitch *control) {
  line = control->Value();
  c_.Board.SetControlLines(c_.Values.Lines);
}

// Also the coding the voltage entry uses from now on.
void HardwareSwitches::onCodingFlipped() {
  BoardAccess::Action action(c_.Board);
  SendLine(c_.Values.Lines.BinaryCoding, codingSwitch_);
}

void HardwareSwitches::onClrFlipped() {
  BoardAccess::Action action(c_.Board);
  SendLine(c_.Values.Lines.Clr, clrSwitch_);
}

void HardwareSwitches::onLdacFlipped() {
  BoardAccess::Action action(c_.Board);
  SendLine(c_.Values.Lines.Ldac, ldacSwitch_);
}

void HardwareSwitches::onRstinFlipped() {
  BoardAccess::Action action(c_.Board);
  SendLine(c_.Values.Lines.Rstin, rstinSwitch_);
}

void HardwareSwitches::onDriveD1Flipped() {
  BoardAccess::Action action(c_.Board);
  SendLine(c_.Values.Lines.DriveD1, driveD1Switch_);
}

void HardwareSwitches::onDriveD0Flipped() {
  BoardAccess::Action action(c_.Board);
  SendLine(c_.Values.Lines.DriveD0, driveD0Switch_);
}

void HardwareSwitches::onPulseAfterWriteToggled() {
  BoardAccess::Action action(c_.Board);
  emit pulseAfterWriteChanged(pulseAfterWriteBox_->isChecked());
  if (pulseAfterWriteBox_->isChecked()) {
    ldacSwitch_->SetValue(true);
    ldacSwitch_->SetOperable(false);
    c_.Values.Lines.Ldac = true;
    c_.Board.SetControlLines(c_.Values.Lines);
  } else {
    // LDAC stays where it is until the user flips the switch.
    ldacSwitch_->SetOperable(true);
  }
}

} // namespace vq
