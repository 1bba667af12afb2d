// "Read / Write Registers": the register and channel lists, "Read Register",
// the register value, the Hex/Dec switch, the entry area and the bit display
// of the input word.
#pragma once

#include "panels/panel_context.h"
#include "panels/value_entry.h"
#include "panels/word_display.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <string>

class QGroupBox;
class QLabel;
class QPushButton;

namespace vq {

class ChoiceList;

class RegisterPanel : public QObject {
  Q_OBJECT
public:
  RegisterPanel(QWidget *client, PanelContext context);

  void FillLists();
  // A selection from code by text, as the start-up makes it.
  void ChooseRegister(const QString &text);
  void ShowChannelList();
  void ShowDisplayMode();
  void ShowGainAndOffsetPrompts() { valueEntry_.ShowGainAndOffsetPrompts(); }
  void ShowVoltageEntryOnly();
  void ShowReadWriteBit(ReadWrite bit) { display_.ShowReadWriteBit(bit); }
  // Display refresh of the word, its value labels and the current entry field.
  void ShowInputWord();
  // Shows `code` as the chosen register's content, as a read of it would.
  void ShowRegisterContent(int32_t code);
  QGroupBox *Frame() const { return frame_; }
  // After a read that failed: the value label and the word say so.
  void ShowNoAnswer();
  // Reads every readable register as "Read Register" reads one, leaving the
  // register chosen, the word shown and the boxes as they are.
  void ReadAllRegisters();

signals:
  // "Read Register" enables the converter's serial output before reading.
  void serialOutputEnabled();
  // "Hex" / "Dec" switched the display of codes.
  void displayModeChanged(DisplayMode mode);

private:
  void onRegisterChosen();
  void onChannelChosen();
  void onReadRegisterClicked();
  void onDisplayModeClicked();

  void ApplyView(const RegisterChoice &view);
  void EnableSerialOutput();
  // The coarse gain view on "ALL DACs": nothing is read there.
  bool AddressesAllCoarseGains() const;
  // Shows the chosen register of the chosen channel, as every choice in the
  // register and channel lists ends.
  void ReadChosenRegister();
  void SwitchToDecimal();
  void SwitchToHexadecimal();
  // Reads the data field and the register value with `rule`. When either is
  // not a number, tells the user which one and what it should be, and
  // returns false.
  bool ReadBothTexts(uint32_t (*rule)(const std::string &), QString (*kind)(const QString &), uint32_t &data,
                     uint32_t &registerValue);

  PanelContext c_;
  QGroupBox *frame_;
  WordDisplay display_;
  ChoiceList *registerList_;
  ChoiceList *channelList_;
  QPushButton *readRegisterButton_;
  QLabel *registerValue_;
  QPushButton *displayModeButton_;
  ValueEntry valueEntry_;
};

} // namespace vq
