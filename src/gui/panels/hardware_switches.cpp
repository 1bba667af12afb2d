#include "panels/hardware_switches.h"

#include "panels/control_placement.h"

#include <QCheckBox>

namespace vq {

HardwareSwitches::HardwareSwitches(QWidget *client, PanelContext context)
    : c_(context), frame_(PlaceFrame(client, "Frame12", QStringLiteral("Hardware Configuration"),
                                     QRect(Px(120), Px(5160), Px(14415), Px(1335)))) {
  const QRect toggle(13, 18, 100, 44);
  auto *codingFrame = PlaceFrame(frame_, "Frame13", QStringLiteral("Bin / 2sComp"), QRect(8, 18, 126, 66));
  codingSwitch_ = PlaceSwitch(codingFrame, "Toggle2", QStringLiteral("2sComplement"), QStringLiteral("Binary"), toggle);
  auto *clrFrame = PlaceFrame(frame_, "Frame14", QStringLiteral("CLR Pin"), QRect(142, 18, 126, 66));
  clrSwitch_ = PlaceSwitch(clrFrame, "Toggle8", QStringLiteral("Low"), QStringLiteral("High"), toggle);
  auto *ldacFrame = PlaceFrame(frame_, "Frame15", QStringLiteral("LDAC Pin"), QRect(276, 18, 264, 66));
  ldacSwitch_ = PlaceSwitch(ldacFrame, "Toggle9", QStringLiteral("Low"), QStringLiteral("High"), QRect(6, 18, 80, 44));
  pulseAfterWriteBox_ =
      Place<QCheckBox>(ldacFrame, "Check1", QRect(92, 24, 168, 30), QStringLiteral("Pulse After Data Write"));
  auto *rstinFrame = PlaceFrame(frame_, "Frame16", QStringLiteral("RSTIN Pin"), QRect(548, 18, 126, 66));
  rstinSwitch_ = PlaceSwitch(rstinFrame, "Toggle10", QStringLiteral("Low"), QStringLiteral("High"), toggle);
  driveD1Frame_ = PlaceFrame(frame_, "Frame21", QStringLiteral("Drive D1 Pin"), QRect(682, 18, 126, 66));
  driveD1Switch_ = PlaceSwitch(driveD1Frame_, "Toggle12", QStringLiteral("Low"), QStringLiteral("High"), toggle);
  driveD0Frame_ = PlaceFrame(frame_, "Frame20", QStringLiteral("Drive D0 Pin"), QRect(816, 18, 126, 66));
  driveD0Switch_ = PlaceSwitch(driveD0Frame_, "Toggle11", QStringLiteral("Low"), QStringLiteral("High"), toggle);

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

void HardwareSwitches::SendLine(bool &line, const ToggleSwitch *control) {
  line = control->Value();
  c_.Board.SetControlLines(c_.Values.Lines);
}

// Also the coding the voltage entry uses from now on.
void HardwareSwitches::onCodingFlipped() {
  SendLine(c_.Values.Lines.BinaryCoding, codingSwitch_);
}

void HardwareSwitches::onClrFlipped() {
  SendLine(c_.Values.Lines.Clr, clrSwitch_);
}

void HardwareSwitches::onLdacFlipped() {
  SendLine(c_.Values.Lines.Ldac, ldacSwitch_);
}

void HardwareSwitches::onRstinFlipped() {
  SendLine(c_.Values.Lines.Rstin, rstinSwitch_);
}

void HardwareSwitches::onDriveD1Flipped() {
  SendLine(c_.Values.Lines.DriveD1, driveD1Switch_);
}

void HardwareSwitches::onDriveD0Flipped() {
  SendLine(c_.Values.Lines.DriveD0, driveD0Switch_);
}

void HardwareSwitches::onPulseAfterWriteToggled() {
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
