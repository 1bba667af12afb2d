// "Hardware Configuration": the board's control lines (coding, CLR, LDAC,
// RSTIN, the drive levels of D1 and D0) and the LDAC pulse choice. Each flip
// sends the whole control-line state.
#pragma once

#include "panels/panel_context.h"

#include <QObject>

class QCheckBox;
class QGroupBox;

namespace vq {

class ToggleSwitch;

class HardwareSwitches : public QObject {
  Q_OBJECT
public:
  HardwareSwitches(QWidget *client, PanelContext context);

  // LDAC, CLR, coding and RSTIN show their lines' start levels (high).
  void ShowStartLevels();
  // Every switch and the box as before the start's initial state: the start
  // levels, both drive levels low, "Pulse After Data Write" unticked without
  // its action (the initial state ticks it, which sends the lines).
  void ShowStartState();
  // Ticks "Pulse After Data Write", which sends the control lines, and locks
  // the LDAC switch.
  void StartPulsingAfterWrites();
  // While the converter drives a line, the board's drive switch is locked.
  void LetBoardDrive(DigitalLine line, bool boardDrives);
  // Shows drive levels that were set without a flip.
  void ShowDriveLevels(bool d1High, bool d0High);
  // Shows lines the program set without a flip (a setup it loaded) and the
  // LDAC pulse choice, which goes out as pulseAfterWriteChanged; nothing is
  // sent: the lines are already on the board.
  void ShowLines(const ControlLines &lines, bool pulseAfterWrite);
  QGroupBox *Frame() const { return frame_; }

signals:
  // "Pulse After Data Write" was ticked or cleared, from code or by the user:
  // whether register writes now pulse LDAC.
  void pulseAfterWriteChanged(bool pulse);

private:
  void onCodingFlipped();
  void onClrFlipped();
  void onLdacFlipped();
  void onRstinFlipped();
  void onDriveD1Flipped();
  void onDriveD0Flipped();
  void onPulseAfterWriteToggled();
  // Every request sends all the lines, so the others go out with their
  // present levels.
  void SendLine(bool &line, const ToggleSwitch *control);

  PanelContext c_;
  QGroupBox *frame_;
  ToggleSwitch *codingSwitch_;
  ToggleSwitch *clrSwitch_;
  ToggleSwitch *ldacSwitch_;
  QCheckBox *pulseAfterWriteBox_;
  ToggleSwitch *rstinSwitch_;
  QGroupBox *driveD1Frame_;
  ToggleSwitch *driveD1Switch_;
  QGroupBox *driveD0Frame_;
  ToggleSwitch *driveD0Switch_;
};

} // namespace vq
