// The main window's controls as the tests reach them: found by their design
// names (objectName), the way a tool outside the program finds them.
#pragma once

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vq {

class ChoiceList;
class ToggleSwitch;

struct MainFormControls {
  // Every control looked up under its design name in `form`; a missing one
  // fails the test program.
  explicit MainFormControls(const QWidget *form);

  // "Read / Write Registers" and the bit display
  QGroupBox *Frame1 = nullptr;
  QGroupBox *Frame17 = nullptr;
  QLabel *LabelRW = nullptr;
  QLabel *LabelBit22 = nullptr; // fixed "0"
  QLabel *LabelREG2 = nullptr, *LabelREG1 = nullptr, *LabelREG0 = nullptr;
  QLabel *LabelA2 = nullptr, *LabelA1 = nullptr, *LabelA0 = nullptr;
  std::array<QLabel *, 16> LabelD{}; // LabelD[n] is LabelDn
  QLabel *LabelData = nullptr;
  ChoiceList *ComboReg = nullptr, *ComboAddr = nullptr, *ComboCoarse = nullptr;
  QLineEdit *TextData = nullptr, *TextVolts = nullptr, *TextFine = nullptr, *TextOffset = nullptr;
  QPushButton *Command1 = nullptr, *Command2 = nullptr;
  QLabel *Label1 = nullptr, *Label29 = nullptr, *Label5 = nullptr, *Label7 = nullptr, *Label9 = nullptr;
  QLabel *Label27 = nullptr;

  // "Function Register Configuration"
  QGroupBox *Frame6 = nullptr, *Frame7 = nullptr, *Frame9 = nullptr, *Frame8 = nullptr;
  QGroupBox *Frame11 = nullptr, *Frame10 = nullptr;
  QPushButton *Command4 = nullptr, *Command5 = nullptr, *Command6 = nullptr;

  // "Hardware Configuration"
  QGroupBox *Frame12 = nullptr, *Frame13 = nullptr, *Frame14 = nullptr, *Frame15 = nullptr, *Frame16 = nullptr;
  QGroupBox *Frame21 = nullptr, *Frame20 = nullptr;
  QCheckBox *Check1 = nullptr;

  // The twelve switches; Toggle[n] is Toggle<n>, Toggle[0] unused.
  std::array<ToggleSwitch *, 13> Toggle{};

  // "Measure VQ8231 Core Temperature"
  QGroupBox *Frame19 = nullptr;
  QPushButton *Command7 = nullptr;
  QLabel *Label19 = nullptr, *Label23 = nullptr, *Label21 = nullptr, *Label25 = nullptr;

  // "Calibration"
  QGroupBox *Frame22 = nullptr;
  QPushButton *Command8 = nullptr, *CommandOff = nullptr, *CommandFS = nullptr;
  QLabel *LabelOff1 = nullptr, *LabelOff2 = nullptr, *LabelFS1 = nullptr, *LabelFS2 = nullptr;
  QLabel *LabelComplete = nullptr;
  QLineEdit *TextOff = nullptr, *TextFS = nullptr;
};

} // namespace vq
