#include "panels/initial_state.h"

#include "panels/choice_list.h"
#include "panels/register_entries.h"
#include "panels/toggle_switch.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vq {

void InitialState::SetHardwareSwitches() {
  // LDAC, CLR, coding and RSTIN start high, as their flags do.
  for (int n : {9, 8, 2, 10})
    c_.ui.Toggle[n]->SetValue(true);
}

void InitialState::Apply() {
  MainFormControls &ui = c_.ui;
  ProgramValues &v = c_.values;

  // 1-2. The converter's options onto the switches. The option flags stay as
  // they are: only the display follows the read-back.
  v.FunctionRegisterShadow = c_.board.ReadRegister(1, 0) & 0x3F;
  const auto bit = [&](int n) { return (v.FunctionRegisterShadow >> n & 1) != 0; };
  ui.Toggle[1]->SetValue(bit(5));
  ui.Toggle[3]->SetValue(bit(4));
  ui.Frame21->setEnabled(!bit(4));
  ui.Toggle[12]->SetOperable(!bit(4));
  ui.Toggle[5]->SetValue(bit(3));
  ui.Toggle[4]->SetValue(bit(2));
  ui.Frame20->setEnabled(!bit(2));
  ui.Toggle[11]->SetOperable(!bit(2));
  ui.Toggle[6]->SetValue(bit(1));
  ui.Toggle[7]->SetValue(bit(0));

  // 3. The lists.
  QStringList registers;
  for (const RegisterEntry &entry : RegisterEntries)
    registers << QString::fromUtf8(entry.text);
  const auto texts = [](const auto &entries) {
    QStringList list;
    for (const char *text : entries)
      list << QString::fromUtf8(text);
    return list;
  };
  ui.ComboReg->Fill(registers);
  ui.ComboAddr->Fill(texts(AddressEntries));
  ui.ComboCoarse->Fill(texts(CoarseEntries));

  // 4. The no-operation word: register select is still 0.
  v.DataValue = 0;
  v.DacAddress = 0;
  c_.board.WriteRegister(v.DacAddress, v.RegisterSelect, v.DataValue);

  // 5-6. The entry area hidden, the channel list shown.
  for (QWidget *control : std::initializer_list<QWidget *>{ui.TextData, ui.Label1, ui.Command2, ui.ComboCoarse,
                                                           ui.Label5, ui.TextFine, ui.Label7, ui.TextOffset, ui.Label9})
    control->hide();
  ui.ComboAddr->show();
  ui.Command2->setText(QString::fromStdString(v.DisplayMode));

  // 7-8. The level switches stay locked until a direction switch is flipped;
  // "READ" is offered while either line is an input of the converter.
  ui.Toggle[5]->SetOperable(false);
  ui.Toggle[6]->SetOperable(false);
  ui.Command6->setVisible(!(ui.Toggle[3]->Value() && ui.Toggle[4]->Value()));

  // 9-10. LDAC pulsing on: the tick runs the box's action, which sends the
  // whole control-pin state.
  ui.Check1->setChecked(true);
  ui.Toggle[9]->SetOperable(false);

  // 11. The data register view of DAC A, read back.
  ui.ComboReg->SelectText(QStringLiteral("Data register"));
}

} // namespace vq
