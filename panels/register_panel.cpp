#include "panels/register_panel.h"

#include "panels/choice_list.h"
#include "rules/conversions.h"
#include "panels/register_entries.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <vector>

namespace vq {

namespace {

QString Bit(int value, int n) {
  return (value >> n & 1) != 0 ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

void RegisterPanel::ShowRegisterSelect(int16_t select) {
  c_.ui.LabelREG2->setText(Bit(select, 2));
  c_.ui.LabelREG1->setText(Bit(select, 1));
  c_.ui.LabelREG0->setText(Bit(select, 0));
}

void RegisterPanel::ShowDacAddress(int16_t address) {
  c_.ui.LabelA2->setText(Bit(address, 2));
  c_.ui.LabelA1->setText(Bit(address, 1));
  c_.ui.LabelA0->setText(Bit(address, 0));
}

// Every view names all twelve controls of the entry area: those it does not
// show are hidden.
void RegisterPanel::ApplyView(int16_t select) {
  MainFormControls &ui = c_.ui;
  const std::array<QWidget *, 12> area = {ui.ComboAddr, ui.TextData, ui.Label1,      ui.TextVolts,
                                          ui.Label29,   ui.Command2, ui.ComboCoarse, ui.Label5,
                                          ui.TextFine,  ui.Label7,   ui.TextOffset,  ui.Label9};
  std::vector<QWidget *> shown;
  switch (select) {
  case 0:
    shown = {ui.Command2};
    break;
  case 2:
    shown = {ui.ComboAddr, ui.TextData, ui.Label1, ui.TextVolts, ui.Label29, ui.Command2};
    break;
  case 3:
    shown = {ui.ComboAddr, ui.ComboCoarse, ui.Label5};
    break;
  case 4:
    shown = {ui.ComboAddr, ui.TextFine, ui.Label7};
    break;
  case 5:
    shown = {ui.ComboAddr, ui.TextOffset, ui.Label9};
    break;
  default:
    return;
  }
  for (QWidget *control : area)
    control->setVisible(std::find(shown.begin(), shown.end(), control) != shown.end());
}

void RegisterPanel::ComboReg_Click() {
  ProgramValues &v = c_.values;
  const QString text = c_.ui.ComboReg->currentText();
  const RegisterEntry *entry = nullptr;
  for (const RegisterEntry &candidate : RegisterEntries)
    if (text == QString::fromUtf8(candidate.text))
      entry = &candidate;
  if (entry == nullptr)
    return;

  v.RegisterSelect = entry->select;
  ShowRegisterSelect(v.RegisterSelect);
  int32_t coarseCode = -1;
  if (v.RegisterSelect == 0) {
    // The function register lives at address 1; it stays so until a channel
    // is chosen again.
    v.DacAddress = 1;
    ShowDacAddress(v.DacAddress);
  } else if (v.RegisterSelect == 3) {
    coarseCode = c_.board.ReadRegister(v.DacAddress, 3) & 3;
  }
  ApplyView(v.RegisterSelect);
  // Code 3 has no entry and leaves the selection; a change of selection runs
  // the list's action, which writes the code back.
  if (coarseCode >= 0 && coarseCode < static_cast<int32_t>(CoarseEntries.size()))
    c_.ui.ComboCoarse->SelectText(QString::fromUtf8(CoarseEntries[coarseCode]));
  Command1_Click();
}

void RegisterPanel::ComboAddr_Click() {
  ProgramValues &v = c_.values;
  const auto address = EntryIndex(AddressEntries, c_.ui.ComboAddr->currentText());
  if (!address)
    return;
  v.DacAddress = static_cast<int16_t>(*address);
  ShowDacAddress(v.DacAddress);
  Command1_Click();
}

void RegisterPanel::ComboCoarse_Click() {
  ProgramValues &v = c_.values;
  c_.board.ReadWriteBit = 0;
  c_.ui.LabelRW->setText(QStringLiteral("0"));
  const auto code = EntryIndex(CoarseEntries, c_.ui.ComboCoarse->currentText());
  if (!code)
    return;
  c_.board.WriteRegister(v.DacAddress, 3, *code);
  if (const auto range = RangeForCoarseCode(*code))
    v.OutputRange = *range;
}

} // namespace vq
