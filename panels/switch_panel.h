// The twelve switches: board control lines and function-register options.
#pragma once

#include "panels/panel_context.h"

namespace vq {

class SwitchPanel {
public:
  explicit SwitchPanel(PanelContext context) : c_(context) {}

  // "Hardware Configuration": each flip sends the whole control-pin state.
  void Toggle2_Change();  // Bin / 2sComp
  void Toggle8_Change();  // CLR
  void Toggle9_Change();  // LDAC
  void Toggle10_Change(); // RSTIN
  void Toggle11_Change(); // drive D0
  void Toggle12_Change(); // drive D1

  // "Function Register Configuration": each flip rewrites the function word.
  void Toggle1_Change(); // local ground offset adjust
  void Toggle7_Change(); // SDO
  void Toggle3_Change(); // D1 direction
  void Toggle4_Change(); // D0 direction
  void Toggle5_Change(); // D1 level, only while D1 is an output
  void Toggle6_Change(); // D0 level, only while D0 is an output

  // The function register word from the six option flags as they stand.
  int32_t ComposeFunctionWord() const;

private:
  struct Line; // the controls and flags that belong to D1 or D0
  Line D1() const;
  Line D0() const;

  bool IsOn(int toggle) const;
  void SetPin(int16_t &flag, int toggle);
  void SetOption(int16_t &flag, int toggle);
  void ChangeDirection(const Line &line);
  void ChangeLevel(const Line &line);
  void WriteFunctionWord();

  PanelContext c_;
};

} // namespace vq
