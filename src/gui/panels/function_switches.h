// "Function Register Configuration": the converter's options (local ground
// offset adjust, SDO, the direction and level of D1 and D0), "READ" of the
// digital lines, and the "CLEAR" and "LOAD" commands. Each option flip
// rewrites the whole function word.
#pragma once

#include "panels/panel_context.h"

#include <QObject>

class QGroupBox;
class QPushButton;

namespace vq {

class ToggleSwitch;

class FunctionSwitches : public QObject {
  Q_OBJECT
public:
  FunctionSwitches(QWidget *client, PanelContext context);

  // Shows the six options of a function register word; the options the
  // program keeps stay as they are.
  void ShowOptions(const FunctionWord &word);
  void ShowSdoDisabled(bool disabled);
  // The level switches stay locked until a direction switch is flipped.
  void LockLevelSwitches();
  // Each level switch operable while its line is an output of the converter,
  // as after a flip of its direction switch.
  void LetLevelSwitchesFollowDirections();
  // "READ" is offered while either line is an input of the converter.
  void OfferReadWhileALineIsInput();
  QGroupBox *Frame() const { return frame_; }

signals:
  // The converter took or gave up driving a digital line.
  void lineDirectionChanged(DigitalLine line, bool boardDrives);
  // "READ" set the board's drive levels to the levels read.
  void driveLevelsRead(bool d1High, bool d0High);

private:
  struct Line; // the switches and flags that belong to D1 or D0
  Line D1() const;
  Line D0() const;

  void onGroundOffsetFlipped();
  void onSdoFlipped();
  void onD1DirectionFlipped();
  void onD0DirectionFlipped();
  void onD1LevelFlipped();
  void onD0LevelFlipped();
  void onClearAllClicked();
  void onLoadAllClicked();
  void onReadLinesClicked();

  void SetOption(bool &option, const ToggleSwitch *control);
  void ChangeDirection(const Line &line);
  void ChangeLevel(const Line &line);

  PanelContext c_;
  QGroupBox *frame_;
  ToggleSwitch *groundOffsetSwitch_;
  ToggleSwitch *sdoSwitch_;
  ToggleSwitch *d1DirectionSwitch_;
  ToggleSwitch *d1LevelSwitch_;
  ToggleSwitch *d0DirectionSwitch_;
  ToggleSwitch *d0LevelSwitch_;
  QPushButton *readLinesButton_;
  QPushButton *clearAllButton_;
  QPushButton *loadAllButton_;
};

} // namespace vq
