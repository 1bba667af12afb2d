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
  return QStringLiteral("a decimal number within the 32-bit range");
}

} // namespace

bool RegisterPanel::ReadBothTexts(int32_t (*rule)(const std::string &), QString (*kind)(const QString &), int32_t &data,
                                  int32_t &registerValue) {
  const struct {
    const char *what;
    QString text;
    int32_t &value;
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
  int32_t data = 0;
  int32_t registerValue = 0;
  if (!ReadBothTexts([](const std::string &text) { return HexValue(text); }, HexKind, data, registerValue))
    return;
  c_.Values.Display = DisplayMode::Dec;
  ShowDisplayMode();
  c_.Values.DataValue = data;
  valueEntry_.ShowDataText(QString::fromStdString(DecimalText(data)));
  registerValue_->setText(QString::fromStdString(DecimalText(registerValue)));
}

void RegisterPanel::SwitchToHexadecimal() {
  int32_t data = 0;
  int32_t registerValue = 0;
  if (!ReadBothTexts([](const std::string &text) { return RoundToInt32(LeadingNumber(text)); }, DecimalKind, data,
                     registerValue))
    return;
  c_.Values.Display = DisplayMode::Hex;
  ShowDisplayMode();
  valueEntry_.ShowDataText(QString::fromStdString(HexAtLeastFour(data)));
  registerValue_->setText(QString::fromStdString(HexAtLeastFour(registerValue)));
}

void RegisterPanel::onDisplayModeClicked() {
  if (c_.Values.Display == DisplayMode::Hex)
    SwitchToDecimal();
  else
    SwitchToHexadecimal();
}

} // namespace vq
