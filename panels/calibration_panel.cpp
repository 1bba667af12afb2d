#include "panels/calibration_panel.h"

namespace vq {

void CalibrationPanel::Command8_Click() {}
void CalibrationPanel::CommandOff_Click() {}
void CalibrationPanel::CommandFS_Click() {}

} // namespace vq
