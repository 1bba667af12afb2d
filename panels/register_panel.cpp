#include "panels/register_panel.h"

namespace vq {

void RegisterPanel::ComboReg_Click() {}
void RegisterPanel::ComboAddr_Click() {}
void RegisterPanel::ComboCoarse_Click() {}
void RegisterPanel::Command1_Click() {}
void RegisterPanel::Command2_Click() {}
void RegisterPanel::Command4_Click() {}
void RegisterPanel::Command5_Click() {}
void RegisterPanel::Command6_Click() {}
void RegisterPanel::Check1_Click() {}
void RegisterPanel::ShowInputWord() {}

} // namespace vq
