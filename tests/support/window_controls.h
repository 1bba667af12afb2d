// The main window's controls as the tests reach them: found by their design
// names (objectName), the way a tool outside the program finds them, and
// called here by what they are.
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

struct MainWindowControls {
  // Every control looked up under its design name in `window`; a missing one
  // fails the test program.
  explicit MainWindowControls(const QWidget *window);

  // "Read / Write Registers" and the bit display
  QGroupBox *RegisterFrame = nullptr;
  QGroupBox *WordFrame = nullptr;
  QLabel *ReadWriteBit = nullptr;
  QLabel *Bit22 = nullptr;                      // fixed "0"
  std::array<QLabel *, 3> RegisterSelectBits{}; // [n] shows REG n
  std::array<QLabel *, 3> DacAddressBits{};     // [n] shows A n
  std::array<QLabel *, 16> DataBitLabels{};     // [n] shows D n
  QLabel *WordHex = nullptr;
  ChoiceList *RegisterList = nullptr, *ChannelList = nullptr, *RangeList = nullptr;
  QLineEdit *DataBox = nullptr, *VoltsBox = nullptr, *FineGainBox = nullptr, *OffsetBox = nullptr;
  QPushButton *ReadRegisterButton = nullptr, *DisplayModeButton = nullptr;
  QLabel *DataPrompt = nullptr, *VoltsPrompt = nullptr, *RangePrompt = nullptr, *FineGainPrompt = nullptr,
         *OffsetPrompt = nullptr;
  QLabel *RegisterValue = nullptr;

  // "Function Register Configuration"
  QGroupBox *FunctionFrame = nullptr, *GroundOffsetFrame = nullptr, *SdoFrame = nullptr, *DigitalLinesFrame = nullptr;
  QGroupBox *D1Frame = nullptr, *D0Frame = nullptr;
  ToggleSwitch *GroundOffsetSwitch = nullptr, *SdoSwitch = nullptr;
  ToggleSwitch *D1DirectionSwitch = nullptr, *D1LevelSwitch = nullptr;
  ToggleSwitch *D0DirectionSwitch = nullptr, *D0LevelSwitch = nullptr;
  QPushButton *ClearAllButton = nullptr, *LoadAllButton = nullptr, *ReadLinesButton = nullptr;

  // "Hardware Configuration"
  QGroupBox *HardwareFrame = nullptr, *CodingFrame = nullptr, *ClrFrame = nullptr, *LdacFrame = nullptr,
            *RstinFrame = nullptr;
  QGroupBox *DriveD1Frame = nullptr, *DriveD0Frame = nullptr;
  ToggleSwitch *CodingSwitch = nullptr, *ClrSwitch = nullptr, *LdacSwitch = nullptr, *RstinSwitch = nullptr;
  ToggleSwitch *DriveD1Switch = nullptr, *DriveD0Switch = nullptr;
  QCheckBox *PulseAfterWriteBox = nullptr;

  // The twelve switches by their number in the window design (1 to 12;
  // [0] unused), for tests that take switches from a table.
  std::array<ToggleSwitch *, 13> Switches{};

  // "Measure VQ8231 Core Temperature"
  QGroupBox *TemperatureFrame = nullptr;
  QPushButton *MeasureButton = nullptr;
  QLabel *PinVoltsCaption = nullptr, *PinVolts = nullptr, *TemperatureCaption = nullptr, *DieTemperature = nullptr;

  // "Calibration"
  QGroupBox *CalibrationFrame = nullptr;
  QPushButton *CalibrationButton = nullptr, *OffsetDoneButton = nullptr, *ZeroScaleDoneButton = nullptr;
  QLabel *OffsetInstruction = nullptr, *OffsetReadingPrompt = nullptr, *ZeroScaleInstruction = nullptr,
         *ZeroScaleReadingPrompt = nullptr;
  QLabel *CompleteLabel = nullptr;
  QLineEdit *OffsetReadingBox = nullptr, *ZeroScaleReadingBox = nullptr;
};

} // namespace vq
