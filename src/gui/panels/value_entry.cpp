#include "panels/value_entry.h"

#include "panels/choice_list.h"
#include "panels/control_placement.h"
#include "rules/conversions.h"
#include "rules/number_rules.h"

#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <exception>

namespace vq {

namespace {

// Runs an entry's steps. A failure empties the box and gives it the focus,
// without a message; whatever the steps did before it stays done.
template <typename Steps> void RunEntry(QLineEdit *box, Steps steps) {
  try {
    steps();
  } catch (const std::exception &) {
    // setText, unlike clear(), also drops the undo history, which would
    // otherwise keep every failed text.
    box->setText(QString());
    box->setFocus();
  }
}

std::string TextOf(const QLineEdit *box) {
  return box->text().toStdString();
}

QString Text(const std::string &text) {
  return QString::fromStdString(text);
}

} // namespace

QString DataValueText(int32_t value, DisplayMode mode) {
  return Text(mode == DisplayMode::Hex ? HexUpper(value) : DecimalText(value));
}

ValueEntry::ValueEntry(QWidget *registerFrame, PanelContext context) : c_(context) {
  QWidget *frame = registerFrame;
  constexpr int promptY = 108, fieldY = 126, fieldH = 24;
  dataPrompt_ = PlaceLabel(frame, "Label1", QStringLiteral("Enter Data Value"), QRect(480, promptY, 130, 18));
  dataBox_ = PlaceBox(frame, "TextData", QStringLiteral("0"), QRect(480, fieldY, 110, fieldH));
  voltsPrompt_ = PlaceLabel(frame, "Label29", QStringLiteral("Enter Voltage Value"), QRect(664, promptY, 150, 18));
  voltsBox_ = PlaceBox(frame, "TextVolts", QStringLiteral("0.0000"), QRect(664, fieldY, 120, fieldH));
  rangePrompt_ = PlaceLabel(frame, "Label5", QStringLiteral("Select Output Range"), QRect(480, promptY, 200, 18));
  rangeList_ = Place<ChoiceList>(frame, "ComboCoarse", QRect(480, fieldY, 220, fieldH));
  fineGainPrompt_ =
      PlaceLabel(frame, "Label7", QStringLiteral("Enter Fine Gain Value  (-32 to +31)"), QRect(480, promptY, 260, 18));
  fineGainBox_ = PlaceBox(frame, "TextFine", QStringLiteral("0"), QRect(480, fieldY, 110, fieldH));
  offsetPrompt_ =
      PlaceLabel(frame, "Label9", QStringLiteral("Enter Offset Value  (-16 to +15.875)"), QRect(480, promptY, 260, 18));
  offsetBox_ = PlaceBox(frame, "TextOffset", QStringLiteral("0"), QRect(480, fieldY, 110, fieldH));

  // Entry boxes act on Return (and Enter on the keypad).
  connect(dataBox_, &QLineEdit::returnPressed, this, &ValueEntry::onDataEntered);
  connect(voltsBox_, &QLineEdit::returnPressed, this, &ValueEntry::onVoltsEntered);
  connect(fineGainBox_, &QLineEdit::returnPressed, this, &ValueEntry::onFineGainEntered);
  connect(offsetBox_, &QLineEdit::returnPressed, this, &ValueEntry::onOffsetEntered);
  connect(rangeList_, &ChoiceList::choiceMade, this, &ValueEntry::onRangeChosen);
}

void ValueEntry::ShowView(const RegisterChoice &view) {
  const std::optional<Register> reg = view.Reg;
  const bool data = reg == Register::Data;
  dataBox_->setVisible(data);
  dataPrompt_->setVisible(data);
  voltsBox_->setVisible(data);
  voltsPrompt_->setVisible(data);
  rangeList_->setVisible(reg == Register::CoarseGain);
  rangePrompt_->setVisible(reg == Register::CoarseGain);
  fineGainBox_->setVisible(reg == Register::FineGain);
  fineGainPrompt_->setVisible(reg == Register::FineGain);
  offsetBox_->setVisible(reg == Register::Offset);
  offsetPrompt_->setVisible(reg == Register::Offset);
}

void ValueEntry::ShowVoltageOnly() {
  for (QWidget *control : std::initializer_list<QWidget *>{dataBox_, dataPrompt_, rangeList_, rangePrompt_,
                                                           fineGainBox_, fineGainPrompt_, offsetBox_, offsetPrompt_})
    control->hide();
}

void ValueEntry::FillRangeList() {
  rangeList_->Fill(ChoiceTexts(RangeChoices));
}

void ValueEntry::SelectRange(int32_t coarseCode) {
  if (coarseCode >= 0 && coarseCode < static_cast<int32_t>(RangeChoices.size()))
    rangeList_->SelectText(QString::fromUtf8(RangeChoices[coarseCode]));
  else if (coarseCode == NoRangeCode)
    ShowNoRange(); // rather than a range the channel does not have
}

void ValueEntry::ShowNoRange() {
  rangeList_->setCurrentIndex(-1);
}

void ValueEntry::ShowRegisterContent(const RegisterChoice &view, int32_t data) {
  ProgramValues &v = c_.Values;
  if (view.Reg == Register::FineGain) {
    fineGainBox_->setText(Text(DecimalText(FineGainValue(data))));
  } else if (view.Reg == Register::Offset) {
    offsetBox_->setText(Text(ShortestDecimal(OffsetValue(data))));
  } else if (view.Reg == Register::Data) {
    dataBox_->setText(DataValueText(data, v.Display));
    // The range recorded at the last data-code entry, not the read channel's.
    if (const auto range = RangeForCoarseCode(v.CoarseGainCode))
      v.OutputRange = *range;
    voltsBox_->setText(Text(FormatVolts(CodeToVolts(data, v.OutputRange))));
  } else if (view.Reg == Register::CoarseGain) {
    // Selecting another range runs the list's action, which writes the code
    // back to the current channel; the same selection does nothing.
    SelectRange(data);
  }
}

QString ValueEntry::DataText() const {
  return dataBox_->text();
}

void ValueEntry::ShowDataText(const QString &text) {
  dataBox_->setText(text);
}

void ValueEntry::ShowGainAndOffsetPrompts() {
  offsetPrompt_->setText(QStringLiteral("Enter Offset Value (-16 to 15.875)"));
  fineGainPrompt_->setText(QStringLiteral("Enter Fine Gain Value (-32 to 31)"));
}

void ValueEntry::TabAfterDataBox(QWidget *control) {
  QWidget::setTabOrder(dataBox_, control);
  QWidget::setTabOrder(control, voltsBox_);
}

void ValueEntry::onDataEntered() {
  ProgramValues &v = c_.Values;
  RunEntry(dataBox_, [&] {
    // The code is converted with the range of the channel it goes to.
    v.CoarseGainCode = c_.Board.ReadRegister({Register::CoarseGain, v.Word.AddressedChannel()});
    if (const auto range = RangeForCoarseCode(v.CoarseGainCode))
      v.OutputRange = *range;
    c_.Board.MarkWriting();
    if (v.Display == DisplayMode::Hex) {
      if (dataBox_->text().isEmpty())
        dataBox_->setText(QStringLiteral("0"));
      // Unsigned: FFFFFFFF is too large like 10000, not -1.
      v.DataValue = static_cast<int32_t>(std::min<uint32_t>(HexValue(TextOf(dataBox_)), MaxDataCode));
    } else {
      v.DataValue = RoundToInt32(LeadingNumber(TextOf(dataBox_)));
    }
    if (v.DataValue > MaxDataCode)
      v.DataValue = MaxDataCode;
    if (v.DataValue < 0)
      v.DataValue = 0;
    c_.Board.WriteRegister(v.Word, v.DataValue);
    voltsBox_->setText(Text(FormatVolts(CodeToVolts(v.DataValue, v.OutputRange))));
    emit wordEntered();
  });
}

void ValueEntry::onVoltsEntered() {
  ProgramValues &v = c_.Values;
  RunEntry(voltsBox_, [&] {
    // Converted with the range of the channel the voltage goes to.
    const int32_t coarse = c_.Board.ReadRegister(RangeRegisterOf(v.Word.AddressedChannel()));
    if (coarse > 32767)
      throw NumberError("the coarse gain read back as " + std::to_string(coarse) +
                        ", which does not fit a 16-bit integer");
    if (const auto range = RangeForCoarseCode(coarse))
      v.OutputRange = *range;
    v.Word = WordAddress(Register::Data, v.Word.AddressedChannel());
    float volts = ToSingle(LeadingNumber(TextOf(voltsBox_)));
    volts = LimitVolts(volts, v.OutputRange);
    voltsBox_->setText(Text(FormatVolts(RoundToDecimals(volts, 5))));
    v.DataValue = VoltsToCode(volts, v.OutputRange, c_.Values.Lines.BinaryCoding);
    dataBox_->setText(DataValueText(v.DataValue, v.Display));
    c_.Board.WriteRegister(v.Word, v.DataValue);
  });
}

void ValueEntry::onFineGainEntered() {
  ProgramValues &v = c_.Values;
  RunEntry(fineGainBox_, [&] {
    c_.Board.MarkWriting();
    if (fineGainBox_->text().isEmpty())
      fineGainBox_->setText(QStringLiteral("0"));
    const float gain = LimitFineGain(ToSingle(LeadingNumber(TextOf(fineGainBox_))));
    v.DataValue = FineGainCode(gain);
    c_.Board.WriteRegister({Register::FineGain, v.Word.AddressedChannel()}, v.DataValue);
    emit wordEntered();
  });
}

void ValueEntry::onOffsetEntered() {
  ProgramValues &v = c_.Values;
  RunEntry(offsetBox_, [&] {
    c_.Board.MarkWriting();
    if (offsetBox_->text().isEmpty())
      offsetBox_->setText(QStringLiteral("0"));
    const float offset = LimitOffset(ToSingle(LeadingNumber(TextOf(offsetBox_))));
    v.DataValue = OffsetCode(offset);
    c_.Board.WriteRegister(v.Word, v.DataValue);
    emit wordEntered();
  });
}

void ValueEntry::onRangeChosen() {
  c_.Board.MarkWriting();
  const auto code = ChoiceIndex(RangeChoices, rangeList_->currentText());
  if (!code)
    return;
  c_.Board.WriteRegister({Register::CoarseGain, c_.Values.Word.AddressedChannel()}, *code);
  if (const auto range = RangeForCoarseCode(*code))
    c_.Values.OutputRange = *range;
}

} // namespace vq
