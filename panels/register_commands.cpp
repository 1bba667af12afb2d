// The register panel's buttons and check box: "Read Register", the Hex/Dec
// switch, "CLEAR", "LOAD", "READ" and "Pulse After Data Write".
#include "panels/register_panel.h"

#include "panels/function_word.h"
#include "rules/number_rules.h"
#include "panels/toggle_switch.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace vq {

void RegisterPanel::Command1_Click() {
  ProgramValues &v = c_.values;
  // The converter only answers on SDO while its output is enabled, so the
  // function word goes out with bit 0 clear before every read.
  v.Options.SdoDisable = 0;
  WriteFunctionWord(v, c_.board);
  c_.ui.Toggle[7]->SetValue(false);
  c_.board.ReadWriteBit = 1;
  v.DataValue = c_.board.ReadRegister(v.DacAddress, v.RegisterSelect);
  ShowInputWord();
  // The coarse gain view may have written the range back meanwhile; the
  // label still tells that this was a read.
  c_.ui.LabelRW->setText(QStringLiteral("1"));
}

namespace {

// What a hexadecimal text fails as: too long, or not hexadecimal at all.
QString HexKind(const QString &text) {
  for (QChar c : text)
    if (!(c.isDigit() && c.unicode() < 128) && !QStringLiteral("abcdefABCDEF").contains(c))
      return QStringLiteral("a hexadecimal number");
  return text.isEmpty() ? QStringLiteral("a hexadecimal number")
                        : QStringLiteral("a hexadecimal number of at most eight significant digits");
}

QString DecimalKind(const QString &) {
  return QStringLiteral("a decimal number within the 32-bit range");
}

} // namespace

bool RegisterPanel::ReadBothTexts(const std::function<int32_t(const std::string &)> &rule,
                                  const std::function<QString(const QString &)> &kind, int32_t &data, int32_t &label) {
  const struct {
    const char *what;
    QString text;
    int32_t &value;
  } texts[] = {{"data value", c_.ui.TextData->text(), data}, {"register value", c_.ui.Label27->text(), label}};
  for (const auto &entry : texts) {
    try {
      entry.value = rule(entry.text.toStdString());
    } catch (const NumberError &) {
      QMessageBox box(
          QMessageBox::Warning, QString::fromLatin1(ApplicationTitle),
          QStringLiteral("The %1 \"%2\" is not %3.").arg(QString::fromLatin1(entry.what), entry.text, kind(entry.text)),
          QMessageBox::Ok, c_.window);
      box.exec();
      return false;
    }
  }
  return true;
}

// Both texts are converted before anything changes, so a text that is not a
// number leaves the mode, the caption, the texts and DataValue as they were.
void RegisterPanel::SwitchToDecimal() {
  int32_t data = 0;
  int32_t label = 0;
  if (!ReadBothTexts([](const std::string &text) { return HexValue(text); }, HexKind, data, label))
    return;
  c_.ui.Command2->setText(QStringLiteral("Dec"));
  c_.values.DisplayMode = "Dec";
  c_.values.DataValue = data;
  c_.ui.TextData->setText(QString::fromStdString(DecimalText(data)));
  c_.ui.Label27->setText(QString::fromStdString(DecimalText(label)));
}

void RegisterPanel::SwitchToHexadecimal() {
  int32_t data = 0;
  int32_t label = 0;
  if (!ReadBothTexts([](const std::string &text) { return RoundToInt32(LeadingNumber(text)); }, DecimalKind, data,
                     label))
    return;
  c_.ui.Command2->setText(QStringLiteral("Hex"));
  c_.values.DisplayMode = "Hex";
  c_.ui.TextData->setText(QString::fromStdString(HexAtLeastFour(data)));
  c_.ui.Label27->setText(QString::fromStdString(HexAtLeastFour(label)));
}

void RegisterPanel::Command2_Click() {
  if (c_.ui.Command2->text() == QLatin1String("Hex"))
    SwitchToDecimal();
  else if (c_.ui.Command2->text() == QLatin1String("Dec"))
    SwitchToHexadecimal();
}

void RegisterPanel::Command4_Click() {
  c_.board.WriteRegister(4, 0, 0); // clear all channels
}

void RegisterPanel::Command5_Click() {
  c_.board.WriteRegister(5, 0, 0); // load all channels
}

void RegisterPanel::Command6_Click() {
  ProgramValues &v = c_.values;
  // SDO must be enabled for the read-back; the other options stay as read.
  // Only the six option bits are written back: bits 15..6 of the function
  // register are always written as 0, whatever a read-back carried there.
  v.FunctionRegisterShadow = c_.board.ReadRegister(1, 0) & 0x3E;
  c_.board.WriteRegister(1, 0, v.FunctionRegisterShadow);
  v.FunctionRegisterShadow = c_.board.ReadRegister(1, 0);
  // Sent with the next control-pin change.
  c_.board.ControlPins.DriveD1 = static_cast<int16_t>(v.FunctionRegisterShadow >> 3 & 1);
  c_.board.ControlPins.DriveD0 = static_cast<int16_t>(v.FunctionRegisterShadow >> 1 & 1);
  c_.ui.Toggle[7]->SetValue(false);
  c_.ui.Toggle[5]->SetValue(c_.board.ControlPins.DriveD1 != 0);
  c_.ui.Toggle[6]->SetValue(c_.board.ControlPins.DriveD0 != 0);
}

void RegisterPanel::Check1_Click() {
  ToggleSwitch *ldac = c_.ui.Toggle[9];
  if (c_.ui.Check1->isChecked()) {
    ldac->SetValue(true);
    ldac->SetOperable(false);
    c_.board.ControlPins.LdacPin = 1;
    c_.board.SetControlPins();
  } else {
    // LDAC stays where it is until the user flips the switch.
    ldac->SetOperable(true);
  }
}

} // namespace vq
