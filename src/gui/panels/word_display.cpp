#include "panels/word_display.h"

#include <QGroupBox>
#include <QLabel>

#include "panels/control_placement.h"
#include "panels/panel_context.h"
#include "rules/number_rules.h"

namespace vq {
namespace {

constexpr int Left = 8, Column = 34, GroupRow = 16, HeadingRow = 32, ValueRow = 54, RowHeight = 18;

// QLabel::setText does its work even for the same text; most of the 24 bits
// stay as they were from one word to the next.
void Show(QLabel *label, const QString &text) {
  if (label->text() != text)
    label->setText(text);
}

QLabel *Heading(QWidget *frame, const QString &text, int column, int span, int row, bool small) {
  auto *label = new QLabel(text, frame);
  if (small) {
    QFont font = frame->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
  }
  label->setGeometry(Left + column * Column, row, span * Column, RowHeight);
  label->setAlignment(Qt::AlignCenter);
  label->setStyleSheet(QStringLiteral("color: #0000c0;"));
  return label;
}

QLabel *Value(QWidget *frame, const QString &designName, int column, int span = 1) {
  auto *label = PlaceLabel(frame, designName.toLatin1().constData(), QStringLiteral("0"),
                           QRect(Left + column * Column, ValueRow, span * Column, RowHeight));
  label->setAlignment(Qt::AlignCenter);
  return label;
}

QString Bit(int value, int n) {
  return (value >> n & 1) != 0 ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

// One row of blue headings over one row of value labels.
WordDisplay::WordDisplay(QWidget *registerFrame)
    : frame_(PlaceFrame(registerFrame, "Frame17", QStringLiteral("Input Register Contents"),
                        QRect(Px(120), Px(360), Px(14175), Px(1215)))) {
  Heading(frame_, QStringLiteral("Register Select"), 2, 3, GroupRow, false);
  Heading(frame_, QStringLiteral("DAC Address"), 5, 3, GroupRow, false);
  Heading(frame_, QStringLiteral("Data"), 8, 16, GroupRow, false);
  const char *headings[] = {"R/W", "0", "REG 2", "REG 1", "REG 0", "A2", "A1", "A0"};
  for (int column = 0; column < 8; ++column)
    Heading(frame_, QString::fromLatin1(headings[column]), column, 1, HeadingRow, true);
  for (int n = 15; n >= 0; --n)
    Heading(frame_, QStringLiteral("D%1").arg(n), 8 + 15 - n, 1, HeadingRow, true);
  Heading(frame_, QStringLiteral("Hex Value"), 24, 3, HeadingRow, true);

  readWriteBit_ = Value(frame_, QStringLiteral("LabelRW"), 0);
  Value(frame_, QStringLiteral("LabelBit22"), 1); // always 0
  for (int n = 2; n >= 0; --n)
    registerSelectBits_[n] = Value(frame_, QStringLiteral("LabelREG%1").arg(n), 4 - n);
  for (int n = 2; n >= 0; --n)
    dacAddressBits_[n] = Value(frame_, QStringLiteral("LabelA%1").arg(n), 7 - n);
  for (int n = 15; n >= 0; --n)
    dataBits_[n] = Value(frame_, QStringLiteral("LabelD%1").arg(n), 8 + 15 - n);
  wordHex_ = Value(frame_, QStringLiteral("LabelData"), 24, 3);
  wordHex_->setText(QStringLiteral("000000"));
}

void WordDisplay::ShowReadWriteBit(ReadWrite bit) {
  Show(readWriteBit_, QString::number(static_cast<int>(bit)));
}

void WordDisplay::ShowRegisterSelect(uint8_t selectBits) {
  for (int n = 0; n < 3; ++n)
    Show(registerSelectBits_[n], Bit(selectBits, n));
}

void WordDisplay::ShowDacAddress(uint8_t addressBits) {
  for (int n = 0; n < 3; ++n)
    Show(dacAddressBits_[n], Bit(addressBits, n));
}

void WordDisplay::ShowDataBits(int32_t data) {
  for (int n = 15; n >= 0; --n)
    Show(dataBits_[n], Bit(data, n));
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
