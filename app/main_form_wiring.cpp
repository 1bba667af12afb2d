// Every connection between a control's event and its handler, in one place.
#include "app/main_form.h"

#include "panels/choice_list.h"
#include "panels/toggle_switch.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace vq {

void MainForm::Wire() {
  auto on = [this](auto *sender, auto signal, auto handler) { connect(sender, signal, this, handler); };

  // Register panel
  on(ui_.ComboReg, &ChoiceList::Click, [this] { registerPanel_.ComboReg_Click(); });
  on(ui_.ComboAddr, &ChoiceList::Click, [this] { registerPanel_.ComboAddr_Click(); });
  on(ui_.ComboCoarse, &ChoiceList::Click, [this] { registerPanel_.ComboCoarse_Click(); });
  on(ui_.Command1, &QPushButton::clicked, [this] { registerPanel_.Command1_Click(); });
  on(ui_.Command2, &QPushButton::clicked, [this] { registerPanel_.Command2_Click(); });
  on(ui_.Command4, &QPushButton::clicked, [this] { registerPanel_.Command4_Click(); });
  on(ui_.Command5, &QPushButton::clicked, [this] { registerPanel_.Command5_Click(); });
  on(ui_.Command6, &QPushButton::clicked, [this] { registerPanel_.Command6_Click(); });
  // A tick from code runs the box's action as a user's tick does.
  on(ui_.Check1, &QCheckBox::toggled, [this] { registerPanel_.Check1_Click(); });

  // Entry boxes act on Return (and Enter on the keypad).
  on(ui_.TextData, &QLineEdit::returnPressed, [this] { valueEntry_.TextData_KeyPress(); });
  on(ui_.TextVolts, &QLineEdit::returnPressed, [this] { valueEntry_.TextVolts_KeyPress(); });
  on(ui_.TextFine, &QLineEdit::returnPressed, [this] { valueEntry_.TextFine_KeyPress(); });
  on(ui_.TextOffset, &QLineEdit::returnPressed, [this] { valueEntry_.TextOffset_KeyPress(); });

  // Switches: the handlers run only on a flip by the user.
  const std::array<void (SwitchPanel::*)(), 13> toggles = {
      nullptr,
      &SwitchPanel::Toggle1_Change,
      &SwitchPanel::Toggle2_Change,
      &SwitchPanel::Toggle3_Change,
      &SwitchPanel::Toggle4_Change,
      &SwitchPanel::Toggle5_Change,
      &SwitchPanel::Toggle6_Change,
      &SwitchPanel::Toggle7_Change,
      &SwitchPanel::Toggle8_Change,
      &SwitchPanel::Toggle9_Change,
      &SwitchPanel::Toggle10_Change,
      &SwitchPanel::Toggle11_Change,
      &SwitchPanel::Toggle12_Change,
  };
  for (int n = 1; n <= 12; ++n)
    on(ui_.Toggle[n], &ToggleSwitch::Change, [this, handler = toggles[n]] { (switches_.*handler)(); });

  // Temperature and calibration
  on(ui_.Command7, &QPushButton::clicked, [this] { temperature_.Command7_Click(); });
  on(ui_.Command8, &QPushButton::clicked, [this] { calibration_.Command8_Click(); });
  on(ui_.CommandOff, &QPushButton::clicked, [this] { calibration_.CommandOff_Click(); });
  on(ui_.CommandFS, &QPushButton::clicked, [this] { calibration_.CommandFS_Click(); });
}

} // namespace vq
