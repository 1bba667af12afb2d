// The register panel: the three selection lists, the register commands and
// the bit display of the input word.
#pragma once

#include "panels/panel_context.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <string>

namespace vq {

// DataValue as the data field shows it: upper-case hexadecimal without
// leading zeros in "Hex" mode, plain decimal in "Dec" mode.
QString DataValueText(int32_t value, const std::string &displayMode);

class RegisterPanel {
public:
  explicit RegisterPanel(PanelContext context) : c_(context) {}

  // Selections (register_panel.cpp)
  void ComboReg_Click();
  void ComboAddr_Click();
  void ComboCoarse_Click();
  // Commands (register_commands.cpp)
  void Command1_Click(); // "Read Register"
  void Command2_Click(); // Hex / Dec
  void Command4_Click(); // "CLEAR"
  void Command5_Click(); // "LOAD"
  void Command6_Click(); // "READ"
  void Check1_Click();   // "Pulse After Data Write"
  // Display refresh of the word, its value labels and the current entry field
  // (word_display.cpp).
  void ShowInputWord();

private:
  void ShowRegisterSelect(int16_t select);
  void ShowDacAddress(int16_t address);
  void ApplyView(int16_t select);
  void SwitchToDecimal();
  void SwitchToHexadecimal();
  // Reads TextData and Label27 with `rule`. When either is not a number,
  // tells the user which one and what it should be, and returns false.
  bool ReadBothTexts(const std::function<int32_t(const std::string &)> &rule,
                     const std::function<QString(const QString &)> &kind, int32_t &data, int32_t &label);

  PanelContext c_;
};

} // namespace vq
