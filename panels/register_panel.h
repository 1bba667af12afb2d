// The register panel: the three selection lists, the register commands and
// the bit display of the input word.
#pragma once

#include "panels/panel_context.h"

namespace vq {

class RegisterPanel {
public:
  explicit RegisterPanel(PanelContext context) : c_(context) {}

  // Selections
  void ComboReg_Click();
  void ComboAddr_Click();
  void ComboCoarse_Click();
  // Commands
  void Command1_Click(); // "Read Register"
  void Command2_Click(); // Hex / Dec
  void Command4_Click(); // "CLEAR"
  void Command5_Click(); // "LOAD"
  void Command6_Click(); // "READ"
  void Check1_Click();   // "Pulse After Data Write"
  // Display refresh of the word, its value labels and the current entry field.
  void ShowInputWord();

private:
  PanelContext c_;
};

} // namespace vq
