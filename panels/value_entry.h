// The entry boxes of the register panel: data code, voltage, fine gain and
// offset. Each acts on Return.
#pragma once

#include "panels/panel_context.h"

namespace vq {

class RegisterPanel;

class ValueEntry {
public:
  ValueEntry(PanelContext context, RegisterPanel &panel) : c_(context), panel_(panel) {}

  void TextData_KeyPress();
  void TextVolts_KeyPress();
  void TextFine_KeyPress();
  void TextOffset_KeyPress();

private:
  void ShowWriting(); // R/W bit 0, before a write

  PanelContext c_;
  RegisterPanel &panel_;
};

} // namespace vq
