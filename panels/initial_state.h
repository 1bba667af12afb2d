// The steps that make the window agree with the converter and the board
// before the user sees it.
#pragma once

#include "panels/panel_context.h"

namespace vq {

class InitialState {
public:
  explicit InitialState(PanelContext context) : c_(context) {}

  // Before the board session: the four hardware switches show their lines'
  // start levels.
  void SetHardwareSwitches();
  // After the prompt texts: switches from the function register, lists, the
  // no-operation word, the view, LDAC pulsing and the data register of DAC A.
  void Apply();

private:
  PanelContext c_;
};

} // namespace vq
