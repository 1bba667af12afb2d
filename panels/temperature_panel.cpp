#include "panels/temperature_panel.h"

namespace vq {

void TemperaturePanel::Command7_Click() {}

} // namespace vq
