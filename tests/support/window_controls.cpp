#include "tests/support/window_controls.h"

#include "panels/choice_list.h"
#include "panels/toggle_switch.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vq {

namespace {

template <typename Control> Control *Find(const QWidget *form, const QString &name) {
  auto *control = form->findChild<Control *>(name);
  if (control == nullptr)
    qFatal("no control named %s", qPrintable(name));
  return control;
}

} // namespace

MainFormControls::MainFormControls(const QWidget *form) {
  Frame1 = Find<QGroupBox>(form, QStringLiteral("Frame1"));
  Frame17 = Find<QGroupBox>(form, QStringLiteral("Frame17"));
  LabelRW = Find<QLabel>(form, QStringLiteral("LabelRW"));
  LabelBit22 = Find<QLabel>(form, QStringLiteral("LabelBit22"));
  LabelREG2 = Find<QLabel>(form, QStringLiteral("LabelREG2"));
  LabelREG1 = Find<QLabel>(form, QStringLiteral("LabelREG1"));
  LabelREG0 = Find<QLabel>(form, QStringLiteral("LabelREG0"));
  LabelA2 = Find<QLabel>(form, QStringLiteral("LabelA2"));
  LabelA1 = Find<QLabel>(form, QStringLiteral("LabelA1"));
  LabelA0 = Find<QLabel>(form, QStringLiteral("LabelA0"));
  LabelData = Find<QLabel>(form, QStringLiteral("LabelData"));
  ComboReg = Find<ChoiceList>(form, QStringLiteral("ComboReg"));
  ComboAddr = Find<ChoiceList>(form, QStringLiteral("ComboAddr"));
  ComboCoarse = Find<ChoiceList>(form, QStringLiteral("ComboCoarse"));
  TextData = Find<QLineEdit>(form, QStringLiteral("TextData"));
  TextVolts = Find<QLineEdit>(form, QStringLiteral("TextVolts"));
  TextFine = Find<QLineEdit>(form, QStringLiteral("TextFine"));
  TextOffset = Find<QLineEdit>(form, QStringLiteral("TextOffset"));
  Command1 = Find<QPushButton>(form, QStringLiteral("Command1"));
  Command2 = Find<QPushButton>(form, QStringLiteral("Command2"));
  Label1 = Find<QLabel>(form, QStringLiteral("Label1"));
  Label29 = Find<QLabel>(form, QStringLiteral("Label29"));
  Label5 = Find<QLabel>(form, QStringLiteral("Label5"));
  Label7 = Find<QLabel>(form, QStringLiteral("Label7"));
  Label9 = Find<QLabel>(form, QStringLiteral("Label9"));
  Label27 = Find<QLabel>(form, QStringLiteral("Label27"));
  Frame6 = Find<QGroupBox>(form, QStringLiteral("Frame6"));
  Frame7 = Find<QGroupBox>(form, QStringLiteral("Frame7"));
  Frame9 = Find<QGroupBox>(form, QStringLiteral("Frame9"));
  Frame8 = Find<QGroupBox>(form, QStringLiteral("Frame8"));
  Frame11 = Find<QGroupBox>(form, QStringLiteral("Frame11"));
  Frame10 = Find<QGroupBox>(form, QStringLiteral("Frame10"));
  Command4 = Find<QPushButton>(form, QStringLiteral("Command4"));
  Command5 = Find<QPushButton>(form, QStringLiteral("Command5"));
  Command6 = Find<QPushButton>(form, QStringLiteral("Command6"));
  Frame12 = Find<QGroupBox>(form, QStringLiteral("Frame12"));
  Frame13 = Find<QGroupBox>(form, QStringLiteral("Frame13"));
  Frame14 = Find<QGroupBox>(form, QStringLiteral("Frame14"));
  Frame15 = Find<QGroupBox>(form, QStringLiteral("Frame15"));
  Frame16 = Find<QGroupBox>(form, QStringLiteral("Frame16"));
  Frame21 = Find<QGroupBox>(form, QStringLiteral("Frame21"));
  Frame20 = Find<QGroupBox>(form, QStringLiteral("Frame20"));
  Check1 = Find<QCheckBox>(form, QStringLiteral("Check1"));
  Frame19 = Find<QGroupBox>(form, QStringLiteral("Frame19"));
  Command7 = Find<QPushButton>(form, QStringLiteral("Command7"));
  Label19 = Find<QLabel>(form, QStringLiteral("Label19"));
  Label23 = Find<QLabel>(form, QStringLiteral("Label23"));
  Label21 = Find<QLabel>(form, QStringLiteral("Label21"));
  Label25 = Find<QLabel>(form, QStringLiteral("Label25"));
  Frame22 = Find<QGroupBox>(form, QStringLiteral("Frame22"));
  Command8 = Find<QPushButton>(form, QStringLiteral("Command8"));
  CommandOff = Find<QPushButton>(form, QStringLiteral("CommandOff"));
  CommandFS = Find<QPushButton>(form, QStringLiteral("CommandFS"));
  LabelOff1 = Find<QLabel>(form, QStringLiteral("LabelOff1"));
  LabelOff2 = Find<QLabel>(form, QStringLiteral("LabelOff2"));
  LabelFS1 = Find<QLabel>(form, QStringLiteral("LabelFS1"));
  LabelFS2 = Find<QLabel>(form, QStringLiteral("LabelFS2"));
  LabelComplete = Find<QLabel>(form, QStringLiteral("LabelComplete"));
  TextOff = Find<QLineEdit>(form, QStringLiteral("TextOff"));
  TextFS = Find<QLineEdit>(form, QStringLiteral("TextFS"));
  for (int n = 0; n < 16; ++n)
    LabelD[n] = Find<QLabel>(form, QStringLiteral("LabelD%1").arg(n));
  for (int n = 1; n <= 12; ++n)
    Toggle[n] = Find<ToggleSwitch>(form, QStringLiteral("Toggle%1").arg(n));
}

} // namespace vq
