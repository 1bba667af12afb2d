// "Calibration": the two-stage offset and gain calibration of one channel
// against a voltmeter.
#pragma once

#include "panels/panel_context.h"

namespace vq {

class CalibrationPanel {
public:
  explicit CalibrationPanel(PanelContext context) : c_(context) {}

  void Command8_Click();   // start
  void CommandOff_Click(); // offset stage "Done"
  void CommandFS_Click();  // zero-scale stage "Done"

private:
  PanelContext c_;
};

} // namespace vq
