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

template <typename Control> Control *Find(const QWidget *window, const QString &name) {
  auto *control = window->findChild<Control *>(name);
  if (control == nullptr)
    qFatal("no control named %s", qPrintable(name));
  return control;
}

} // namespace

MainWindowControls::MainWindowControls(const QWidget *window) {
  const auto group = [window](const char *name) { return Find<QGroupBox>(window, QString::fromLatin1(name)); };
  const auto label = [window](const char *name) { return Find<QLabel>(window, QString::fromLatin1(name)); };
  const auto box = [window](const char *name) { return Find<QLineEdit>(window, QString::fromLatin1(name)); };
  const auto button = [window](const char *name) { return Find<QPushButton>(window, QString::fromLatin1(name)); };
  const auto list = [window](const char *name) { return Find<ChoiceList>(window, QString::fromLatin1(name)); };

  RegisterFrame = group("Frame1");
  WordFrame = group("Frame17");
  ReadWriteBit = label("LabelRW");
  Bit22 = label("LabelBit22");
  for (int n = 0; n < 3; ++n) {
    RegisterSelectBits[n] = Find<QLabel>(window, QStringLiteral("LabelREG%1").arg(n));
    DacAddressBits[n] = Find<QLabel>(window, QStringLiteral("LabelA%1").arg(n));
  }
  for (int n = 0; n < 16; ++n)
    DataBitLabels[n] = Find<QLabel>(window, QStringLiteral("LabelD%1").arg(n));
  WordHex = label("LabelData");
  RegisterList = list("ComboReg");
  ChannelList = list("ComboAddr");
  RangeList = list("ComboCoarse");
  DataBox = box("TextData");
  VoltsBox = box("TextVolts");
  FineGainBox = box("TextFine");
  OffsetBox = box("TextOffset");
  ReadRegisterButton = button("Command1");
  DisplayModeButton = button("Command2");
  DataPrompt = label("Label1");
  VoltsPrompt = label("Label29");
  RangePrompt = label("Label5");
  FineGainPrompt = label("Label7");
  OffsetPrompt = label("Label9");
  RegisterValue = label("Label27");

  FunctionFrame = group("Frame6");
  GroundOffsetFrame = group("Frame7");
  SdoFrame = group("Frame9");
  DigitalLinesFrame = group("Frame8");
  D1Frame = group("Frame11");
  D0Frame = group("Frame10");
  ClearAllButton = button("Command4");
  LoadAllButton = button("Command5");
  ReadLinesButton = button("Command6");

  HardwareFrame = group("Frame12");
  CodingFrame = group("Frame13");
  ClrFrame = group("Frame14");
  LdacFrame = group("Frame15");
  RstinFrame = group("Frame16");
  DriveD1Frame = group("Frame21");
  DriveD0Frame = group("Frame20");
  PulseAfterWriteBox = Find<QCheckBox>(window, QStringLiteral("Check1"));

  for (int n = 1; n <= 12; ++n)
    Switches[n] = Find<ToggleSwitch>(window, QStringLiteral("Toggle%1").arg(n));
  GroundOffsetSwitch = Switches[1];
  CodingSwitch = Switches[2];
  D1DirectionSwitch = Switches[3];
  D0DirectionSwitch = Switches[4];
  D1LevelSwitch = Switches[5];
  D0LevelSwitch = Switches[6];
  SdoSwitch = Switches[7];
  ClrSwitch = Switches[8];
  LdacSwitch = Switches[9];
  RstinSwitch = Switches[10];
  DriveD0Switch = Switches[11];
  DriveD1Switch = Switches[12];

  TemperatureFrame = group("Frame19");
  MeasureButton = button("Command7");
  PinVoltsCaption = label("Label19");
  PinVolts = label("Label23");
  TemperatureCaption = label("Label21");
  DieTemperature = label("Label25");

  CalibrationFrame = group("Frame22");
  CalibrationButton = button("Command8");
  OffsetDoneButton = button("CommandOff");
  ZeroScaleDoneButton = button("CommandFS");
  OffsetInstruction = label("LabelOff1");
  OffsetReadingPrompt = label("LabelOff2");
  ZeroScaleInstruction = label("LabelFS1");
  ZeroScaleReadingPrompt = label("LabelFS2");
  CompleteLabel = label("LabelComplete");
  OffsetReadingBox = box("TextOff");
  ZeroScaleReadingBox = box("TextFS");
}

} // namespace vq
