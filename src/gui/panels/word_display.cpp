#include "panels/word_display.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include <algorithm>

#include "board/word_names.h"
#include "panels/control_placement.h"
#include "panels/panel_context.h"
#include "rules/number_rules.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace vq {
namespace {

constexpr int GroupRow = 0, HeadingRow = 1, ValueRow = 2;

// QLabel::setText does its work even for the same text; most of the 24 bits
// stay as they were from one word to the next.
void Show(QLabel *label, const QString &text) {
  if (label->text() != text)
    label->setText(text);
}

// The headings take the palette's link colour: set apart from the values in
// light and dark palettes alike.
QLabel *Heading(QGridLayout &grid, const QString &text, int column, int span, int row, bool small) {
  auto *label = new QLabel(text, grid.parentWidget());
  if (small) {
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
  }
  label->setAlignment(Qt::AlignCenter);
  label->setForegroundRole(QPalette::Link);
  grid.addWidget(label, row, column, 1, span);
  return label;
}

QLabel *Value(QGridLayout &grid, const QString &designName, int column, int span = 1) {
  auto *label = PlaceLabel(grid.parentWidget(), designName.toLatin1().constData(), QStringLiteral("0"));
  label->setAlignment(Qt::AlignCenter);
  grid.addWidget(label, ValueRow, column, 1, span);
  return label;
}

QString Bit(int value, int n) {
  return (value >> n & 1) != 0 ? QStringLiteral("1") : QStringLiteral("0");
}

// The frame as one static text without children: its name is the word.
class InputWordAccessible : public QAccessibleWidget {
public:
  explicit InputWordAccessible(InputWordFrame *frame) : QAccessibleWidget(frame, QAccessible::StaticText) {}
  int childCount() const override { return 0; }
  QAccessibleInterface *child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface *) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name)
      return static_cast<InputWordFrame *>(widget())->SpokenWord();
    if (t == QAccessible::Description)
      return static_cast<InputWordFrame *>(widget())->title();
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface *InputWordAccessibility(const QString &className, QObject *object) {
  if (className == QLatin1String(InputWordFrame::staticMetaObject.className()))
    if (auto *frame = qobject_cast<InputWordFrame *>(object))
      return new InputWordAccessible(frame);
  return nullptr;
}

} // namespace

InputWordFrame::InputWordFrame(const QString &title, QWidget *parent) : QGroupBox(title, parent) {
  static const bool factoryInstalled = [] {
    QAccessible::installFactory(InputWordAccessibility);
    return true;
  }();
  (void)factoryInstalled;
}

void InputWordFrame::TellWordChanged() {
  if (!QAccessible::isActive())
    return;
  QAccessibleEvent event(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

// One row of group headings, one of bit headings, one of values; every bit
// column as wide as the widest bit heading.
WordDisplay::WordDisplay(QWidget *registerFrame)
    : frame_(Place<InputWordFrame>(registerFrame, "Frame17", QStringLiteral("Input Register Contents"))) {
  frame_->SetSpokenWord([this]() -> QString {
    // After a failed read the data bits show "-": there is no word to name.
    if (wordHex_->text() == QLatin1String(NoAnswer))
      return QStringLiteral("Input word: ") + QLatin1String(NoAnswer);
    const uint32_t word = ShownWord();
    return QStringLiteral("Input word 0x") + QString::number(word, 16).toUpper().rightJustified(6, QLatin1Char('0')) +
           QStringLiteral(": ") + QString::fromStdString(DescribeWord(word));
  });
  frame_->setToolTip(QStringLiteral("The last 24-bit word sent to or read from the converter, bit by bit"));
  auto *grid = new QGridLayout(frame_);
  grid->setVerticalSpacing(2);
  Heading(*grid, QStringLiteral("Register Select"), 2, 3, GroupRow, false);
  Heading(*grid, QStringLiteral("DAC Address"), 5, 3, GroupRow, false);
  Heading(*grid, QStringLiteral("Data"), 8, 16, GroupRow, false);
  const char *headings[] = {"R/W", "0", "REG 2", "REG 1", "REG 0", "A2", "A1", "A0"};
  int bitColumn = 0;
  for (int column = 0; column < 8; ++column)
    bitColumn = std::max(
        bitColumn,
        Heading(*grid, QString::fromLatin1(headings[column]), column, 1, HeadingRow, true)->sizeHint().width());
  for (int n = 15; n >= 0; --n)
    bitColumn = std::max(
        bitColumn, Heading(*grid, QStringLiteral("D%1").arg(n), 8 + 15 - n, 1, HeadingRow, true)->sizeHint().width());
  Heading(*grid, QStringLiteral("Hex Value"), 24, 3, HeadingRow, true);
  for (int column = 0; column < 24; ++column)
    grid->setColumnMinimumWidth(column, bitColumn);

  readWriteBit_ = Value(*grid, QStringLiteral("LabelRW"), 0);
  Value(*grid, QStringLiteral("LabelBit22"), 1); // always 0
  for (int n = 2; n >= 0; --n)
    registerSelectBits_[n] = Value(*grid, QStringLiteral("LabelREG%1").arg(n), 4 - n);
  for (int n = 2; n >= 0; --n)
    dacAddressBits_[n] = Value(*grid, QStringLiteral("LabelA%1").arg(n), 7 - n);
  for (int n = 15; n >= 0; --n)
    dataBits_[n] = Value(*grid, QStringLiteral("LabelD%1").arg(n), 8 + 15 - n);
  wordHex_ = Value(*grid, QStringLiteral("LabelData"), 24, 3);
  wordHex_->setText(QStringLiteral("000000"));
  grid->setColumnStretch(27, 1);
}

uint32_t WordDisplay::ShownWord() const {
  uint32_t word = 0;
  const auto take = [&word](const QLabel *bit, int n) {
    if (bit->text() == QLatin1String("1"))
      word |= 1u << n;
  };
  take(readWriteBit_, 23);
  for (int n = 0; n < 3; ++n) {
    take(registerSelectBits_[n], 19 + n);
    take(dacAddressBits_[n], 16 + n);
  }
  for (int n = 0; n < 16; ++n)
    take(dataBits_[n], n);
  return word;
}

void WordDisplay::ShowReadWriteBit(ReadWrite bit) {
  Show(readWriteBit_, QString::number(static_cast<int>(bit)));
  frame_->TellWordChanged();
}

void WordDisplay::ShowRegisterSelect(uint8_t selectBits) {
  for (int n = 0; n < 3; ++n)
    Show(registerSelectBits_[n], Bit(selectBits, n));
  frame_->TellWordChanged();
}

void WordDisplay::ShowDacAddress(uint8_t addressBits) {
  for (int n = 0; n < 3; ++n)
    Show(dacAddressBits_[n], Bit(addressBits, n));
  frame_->TellWordChanged();
}

void WordDisplay::ShowDataBits(int32_t data) {
  for (int n = 15; n >= 0; --n)
    Show(dataBits_[n], Bit(data, n));
  frame_->TellWordChanged();
}

void WordDisplay::ShowWord(ReadWrite bit, WordAddress address, int32_t data) {
  // 64-bit so a data field outside 16 bits cannot overflow the sum, then
  // shown as its 32-bit pattern.
  const int64_t word = int64_t{static_cast<int>(bit)} * (1 << 23) + int64_t{address.SelectBits()} * (1 << 19) +
                       int64_t{address.AddressBits()} * (1 << 16) + data;
  Show(wordHex_, QString::fromStdString(HexUpper(static_cast<int32_t>(static_cast<uint32_t>(word)))));
}

void WordDisplay::ShowNoAnswer() {
  for (QLabel *bit : dataBits_)
    Show(bit, QStringLiteral("-"));
  Show(wordHex_, QString::fromLatin1(NoAnswer));
}

} // namespace vq
