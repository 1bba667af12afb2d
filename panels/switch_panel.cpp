#include "panels/switch_panel.h"

namespace vq {

void SwitchPanel::Toggle1_Change() {}
void SwitchPanel::Toggle2_Change() {}
void SwitchPanel::Toggle3_Change() {}
void SwitchPanel::Toggle4_Change() {}
void SwitchPanel::Toggle5_Change() {}
void SwitchPanel::Toggle6_Change() {}
void SwitchPanel::Toggle7_Change() {}
void SwitchPanel::Toggle8_Change() {}
void SwitchPanel::Toggle9_Change() {}
void SwitchPanel::Toggle10_Change() {}
void SwitchPanel::Toggle11_Change() {}
void SwitchPanel::Toggle12_Change() {}
int32_t SwitchPanel::ComposeFunctionWord() const {
  return 0;
}

} // namespace vq
