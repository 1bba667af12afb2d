// Which control of the window design each member is. The windows and their
// controls keep their design names as objectName (tests and tools find them
// by it); the code calls them by what they do. One row per window and per
// control a panel or the About box keeps.
#pragma once

#include <array>

namespace vq {

struct DesignName {
  const char *Owner; // the class that keeps the member
  const char *Member;
  const char *Design; // the objectName
};

inline constexpr std::array<DesignName, 67> DesignNames = {{
    // The windows themselves.
    {"MainWindow", "this", "MainForm"},
    {"AboutBox", "this", "frmAbout"},
    {"StatusLine", "bar_", "StatusBar"},
    // RegisterPanel: "Read / Write Registers"
    {"RegisterPanel", "frame_", "Frame1"},
    {"RegisterPanel", "registerList_", "ComboReg"},
    {"RegisterPanel", "channelList_", "ComboAddr"},
    {"RegisterPanel", "readRegisterButton_", "Command1"},
    {"RegisterPanel", "registerValue_", "Label27"},
    {"RegisterPanel", "displayModeButton_", "Command2"},
    // WordDisplay: "Input Register Contents"
    {"WordDisplay", "frame_", "Frame17"},
    {"WordDisplay", "readWriteBit_", "LabelRW"},
    {"WordDisplay", "registerSelectBits_[n]", "LabelREG0"},
    {"WordDisplay", "dacAddressBits_[n]", "LabelA0"},
    {"WordDisplay", "dataBits_[n]", "LabelD0"},
    {"WordDisplay", "wordHex_", "LabelData"},
    // ValueEntry: the entry area of "Read / Write Registers"
    {"ValueEntry", "dataPrompt_", "Label1"},
    {"ValueEntry", "dataBox_", "TextData"},
    {"ValueEntry", "voltsPrompt_", "Label29"},
    {"ValueEntry", "voltsBox_", "TextVolts"},
    {"ValueEntry", "rangePrompt_", "Label5"},
    {"ValueEntry", "rangeList_", "ComboCoarse"},
    {"ValueEntry", "fineGainPrompt_", "Label7"},
    {"ValueEntry", "fineGainBox_", "TextFine"},
    {"ValueEntry", "offsetPrompt_", "Label9"},
    {"ValueEntry", "offsetBox_", "TextOffset"},
    // FunctionSwitches: "Function Register Configuration"
    {"FunctionSwitches", "frame_", "Frame6"},
    {"FunctionSwitches", "groundOffsetSwitch_", "Toggle1"},
    {"FunctionSwitches", "sdoSwitch_", "Toggle7"},
    {"FunctionSwitches", "d1DirectionSwitch_", "Toggle3"},
    {"FunctionSwitches", "d1LevelSwitch_", "Toggle5"},
    {"FunctionSwitches", "d0DirectionSwitch_", "Toggle4"},
    {"FunctionSwitches", "d0LevelSwitch_", "Toggle6"},
    {"FunctionSwitches", "readLinesButton_", "Command6"},
    {"FunctionSwitches", "clearAllButton_", "Command4"},
    {"FunctionSwitches", "loadAllButton_", "Command5"},
    // HardwareSwitches: "Hardware Configuration"
    {"HardwareSwitches", "frame_", "Frame12"},
    {"HardwareSwitches", "codingSwitch_", "Toggle2"},
    {"HardwareSwitches", "clrSwitch_", "Toggle8"},
    {"HardwareSwitches", "ldacSwitch_", "Toggle9"},
    {"HardwareSwitches", "pulseAfterWriteBox_", "Check1"},
    {"HardwareSwitches", "rstinSwitch_", "Toggle10"},
    {"HardwareSwitches", "driveD1Frame_", "Frame21"},
    {"HardwareSwitches", "driveD1Switch_", "Toggle12"},
    {"HardwareSwitches", "driveD0Frame_", "Frame20"},
    {"HardwareSwitches", "driveD0Switch_", "Toggle11"},
    // TemperaturePanel: "Measure VQ8231 Core Temperature"
    {"TemperaturePanel", "frame_", "Frame19"},
    {"TemperaturePanel", "measureButton_", "Command7"},
    {"TemperaturePanel", "pinVolts_", "Label23"},
    {"TemperaturePanel", "dieTemperature_", "Label25"},
    // CalibrationPanel: "Calibration"
    {"CalibrationPanel", "frame_", "Frame22"},
    {"CalibrationPanel", "startButton_", "Command8"},
    {"CalibrationPanel", "offsetInstruction_", "LabelOff1"},
    {"CalibrationPanel", "offsetPrompt_", "LabelOff2"},
    {"CalibrationPanel", "offsetReadingBox_", "TextOff"},
    {"CalibrationPanel", "offsetDoneButton_", "CommandOff"},
    {"CalibrationPanel", "zeroScaleInstruction_", "LabelFS1"},
    {"CalibrationPanel", "zeroScalePrompt_", "LabelFS2"},
    {"CalibrationPanel", "zeroScaleReadingBox_", "TextFS"},
    {"CalibrationPanel", "zeroScaleDoneButton_", "CommandFS"},
    {"CalibrationPanel", "completeLabel_", "LabelComplete"},
    // AboutBox
    {"AboutBox", "icon_", "picIcon"},
    {"AboutBox", "title_", "lblTitle"},
    {"AboutBox", "version_", "lblVersion"},
    {"AboutBox", "description_", "lblDescription"},
    {"AboutBox", "separator_", "Line1"},
    {"AboutBox", "okButton_", "cmdOK"},
    {"AboutBox", "systemInfoButton_", "cmdSysInfo"},
}};

} // namespace vq
