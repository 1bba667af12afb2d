// "Calibration": the two-stage offset and gain calibration of one channel
// against a voltmeter.
#pragma once

#include "panels/panel_context.h"

#include <QString>

#include <functional>

namespace vq {

class CalibrationPanel {
public:
  explicit CalibrationPanel(PanelContext context);

  void Command8_Click();   // start
  void CommandOff_Click(); // offset stage "Done"
  void CommandFS_Click();  // zero-scale stage "Done"

  // The wait while "Calibration complete" shows. By default it blocks for
  // just over two seconds without handling window events; tests put in a
  // quicker one.
  void SetCompletePause(std::function<void()> pause) { completePause_ = std::move(pause); }

  // The real pause: returns once more than two seconds have passed.
  static void WaitTwoSeconds();

private:
  void ShowOffsetStage(bool shown);
  void ShowZeroScaleStage(bool shown);
  void FailOffsetStage(const QString &problem);
  void FailZeroScaleStage();

  PanelContext c_;
  std::function<void()> completePause_;
};

} // namespace vq
