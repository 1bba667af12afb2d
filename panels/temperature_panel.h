// "Measure VQ8231 Core Temperature": the TEMP pin voltage and the die
// temperature derived from it.
#pragma once

#include "panels/panel_context.h"

namespace vq {

class TemperaturePanel {
public:
  explicit TemperaturePanel(PanelContext context) : c_(context) {}

  void Command7_Click(); // "Measure"

  // Shown in both result labels when the board's sample is not a reading.
  static constexpr const char *NoReading = "----";

private:
  PanelContext c_;
};

} // namespace vq
