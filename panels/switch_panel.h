// The twelve switches: board control lines and function-register options.
#pragma once

#include "panels/panel_context.h"

namespace vq {

class SwitchPanel {
public:
  explicit SwitchPanel(PanelContext context) : c_(context) {}

  void Toggle1_Change();
  void Toggle2_Change();
  void Toggle3_Change();
  void Toggle4_Change();
  void Toggle5_Change();
  void Toggle6_Change();
  void Toggle7_Change();
  void Toggle8_Change();
  void Toggle9_Change();
  void Toggle10_Change();
  void Toggle11_Change();
  void Toggle12_Change();

  // The function register word from the six option flags as they stand.
  int32_t ComposeFunctionWord() const;

private:
  PanelContext c_;
};

} // namespace vq
