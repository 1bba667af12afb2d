// The register panel's Hex/Dec switch: both the data field and the register
// value change their notation together, or neither does.
#include "panels/register_panel.h"

#include "rules/number_rules.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace vq {

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
  return QStringLiteral("a decimal number from -2147483648 to 4294967295");
}

// A hexadecimal text is read unsigned, so the decimal texts the switch shows
// go up to 4294967295 and must read back.
uint32_t DecimalBits(const std::string &text) {
  return RoundTo32Bits(LeadingNumber(text));
}

uint32_t HexBits(const std::string &text) {
  return HexValue(text);
}

} // namespace

bool RegisterPanel::ReadBothTexts(uint32_t (*rule)(const std::string &), QString (*kind)(const QString &),
                                  uint32_t &data, uint32_t &registerValue) {
  const struct {
    const char *what;
    QString text;
    uint32_t &value;
  } texts[] = {{"data value", valueEntry_.DataText(), data}, {"register value", registerValue_->text(), registerValue}};
  for (const auto &field : texts) {
    try {
      field.value = rule(field.text.toStdString());
    } catch (const NumberError &) {
      QMessageBox box(QMessageBox::Warning, c_.MessageTitle,
                      QStringLiteral("The %1 %2 is not %3.")
                          .arg(QString::fromLatin1(field.what),
                               QString::fromStdString(QuotedExcerpt(field.text.toStdString())), kind(field.text)),
                      QMessageBox::Ok, c_.Window);
      box.exec();
      return false;
    }
  }
  return true;
}

// Both texts are converted before anything changes, so a text that is not a
// number leaves the mode, the caption, the texts and DataValue as they were.
void RegisterPanel::SwitchToDecimal() {
  uint32_t data = 0;
  uint32_t registerValue = 0;
  if (!ReadBothTexts(HexBits, HexKind, data, registerValue))
    return;
  c_.Values.Display = DisplayMode::Dec;
  ShowDisplayMode();
  emit displayModeChanged(DisplayMode::Dec);
  // The 32 bits as they are; the data entry limits them before any write.
  c_.Values.DataValue = static_cast<int32_t>(data);
  valueEntry_.ShowDataText(QString::number(data));
  registerValue_->setText(QString::number(registerValue));
}

void RegisterPanel::SwitchToHexadecimal() {
  uint32_t data = 0;
  uint32_t registerValue = 0;
  if (!ReadBothTexts(DecimalBits, DecimalKind, data, registerValue))
    return;
  c_.Values.Display = DisplayMode::Hex;
  ShowDisplayMode();
  emit displayModeChanged(DisplayMode::Hex);
  valueEntry_.ShowDataText(QString::fromStdString(HexAtLeastFour(static_cast<int32_t>(data))));
  registerValue_->setText(QString::fromStdString(HexAtLeastFour(static_cast<int32_t>(registerValue))));
}

void RegisterPanel::onDisplayModeClicked() {
  BoardAccess::Action action(c_.Board);
  if (c_.Values.Display == DisplayMode::Hex)
    SwitchToDecimal();
  else
    SwitchToHexadecimal();
}

} // namespace vq
