#include "panels/value_entry.h"

#include "panels/choice_list.h"
#include "panels/control_placement.h"
#include "rules/conversions.h"
#include "rules/number_rules.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <exception>

namespace vq {

namespace {

// Runs an entry's steps. A failure empties the box and gives it the focus,
// without a message box: the action's note says why. Whatever the steps did
// before it stays done.
template <typename Steps> void RunEntry(BoardAccess &board, QLineEdit *box, Steps steps) {
  try {
    steps();
  } catch (const std::exception &error) {
    board.Note(QStringLiteral("Not entered: %1.").arg(QString::fromStdString(error.what())));
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
  dataPrompt_ = PlaceLabel(frame, "Label1", QStringLiteral("Enter &Data Value"));
  dataBox_ = PlaceBox(frame, "TextData", QStringLiteral("0"));
  voltsPrompt_ = PlaceLabel(frame, "Label29", QStringLiteral("Enter V&oltage Value"));
  voltsBox_ = PlaceBox(frame, "TextVolts", QStringLiteral("0.0000"));
  rangePrompt_ = PlaceLabel(frame, "Label5", QStringLiteral("Select Output &Range"));
  rangeList_ = Place<ChoiceList>(frame, "ComboCoarse");
  fineGainPrompt_ = PlaceLabel(frame, "Label7", QStringLiteral("Enter Fine &Gain Value  (-32 to +31)"));
  fineGainBox_ = PlaceBox(frame, "TextFine", QStringLiteral("0"));
  offsetPrompt_ = PlaceLabel(frame, "Label9", QStringLiteral("Enter Offs&et Value  (-16 to +15.875)"));
  offsetBox_ = PlaceBox(frame, "TextOffset", QStringLiteral("0"));
  Describe(dataBox_, QStringLiteral("Enter Data Value"),
           QStringLiteral("The data code, 0 to 65535 (0 to FFFF in hexadecimal); Return writes it"));
  Describe(voltsBox_, QStringLiteral("Enter Voltage Value"),
           QStringLiteral("The output voltage in volts, within the channel's range; Return writes its code"));
  Describe(rangeList_, QStringLiteral("Select Output Range"),
           QStringLiteral("The channel's output range, in volts; choosing one writes it"));
  Describe(fineGainBox_, QStringLiteral("Enter Fine Gain Value"),
           QStringLiteral("Fine gain, -32 to 31, in steps of half an LSB at zero scale; Return writes it"));
  Describe(offsetBox_, QStringLiteral("Enter Offset Value"),
           QStringLiteral("Offset in LSB, -16 to 15.875 in steps of 0.125 LSB; Return writes it"));
  // Each prompt's mnemonic (Alt and its underlined letter) reaches its field.
  dataPrompt_->setBuddy(dataBox_);
  voltsPrompt_->setBuddy(voltsBox_);
  rangePrompt_->setBuddy(rangeList_);
  fineGainPrompt_->setBuddy(fineGainBox_);
  offsetPrompt_->setBuddy(offsetBox_);
  // The views take each other's place in one column.
  KeepRoomWhenHidden({dataPrompt_, dataBox_, voltsPrompt_, voltsBox_, rangePrompt_, rangeList_, fineGainPrompt_,
                      fineGainBox_, offsetPrompt_, offsetBox_});

  // Entry boxes act on Return (and Enter on the keypad).
  connect(dataBox_, &QLineEdit::returnPressed, this, &ValueEntry::onDataEntered);
  connect(voltsBox_, &QLineEdit::returnPressed, this, &ValueEntry::onVoltsEntered);
  connect(fineGainBox_, &QLineEdit::returnPressed, this, &ValueEntry::onFineGainEntered);
  connect(offsetBox_, &QLineEdit::returnPressed, this, &ValueEntry::onOffsetEntered);
  connect(rangeList_, &ChoiceList::choiceMade, this, &ValueEntry::onRangeChosen);
}

void ValueEntry::AddTo(QGridLayout &grid, int promptRow, int fieldRow, int entryColumn, int voltsColumn) {
  for (QLabel *prompt : {dataPrompt_, rangePrompt_, fineGainPrompt_, offsetPrompt_})
    grid.addWidget(prompt, promptRow, entryColumn);
  for (QWidget *field : std::initializer_list<QWidget *>{dataBox_, rangeList_, fineGainBox_, offsetBox_})
    grid.addWidget(field, fieldRow, entryColumn, Qt::AlignLeft);
  grid.addWidget(voltsPrompt_, promptRow, voltsColumn);
  grid.addWidget(voltsBox_, fieldRow, voltsColumn, Qt::AlignLeft);
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
    // The program-wide range still follows the last data-code entry...
    if (const auto range = RangeForCoarseCode(v.CoarseGainCode))
      v.OutputRange = *range;
    // ...but the volts shown are the read channel's, on its own range.
    voltsBox_->setText(Text(FormatVolts(ReadBackVolts(data, ReadChannelRange(), v.Lines.BinaryCoding))));
  } else if (view.Reg == Register::CoarseGain) {
    // Selecting another range runs the list's action, which writes the code
    // back to the current channel; the same selection does nothing.
    SelectRange(data);
  }
}

float ValueEntry::ReadChannelRange() const {
  const WordAddress coarseGain{Register::CoarseGain, c_.Values.Word.AddressedChannel()};
  if (const auto known = c_.Board.LastKnown(coarseGain))
    if (const auto range = RangeForCoarseCode(*known))
      return *range;
  c_.Board.Note(QStringLiteral("The channel's range is not known: the volts shown take the range last taken, %1%2 V.")
                    .arg(QChar(0x00B1))
                    .arg(static_cast<double>(c_.Values.OutputRange), 0, 'f', 3));
  return c_.Values.OutputRange;
}

QString ValueEntry::DataText() const {
  return dataBox_->text();
}

void ValueEntry::ShowDataText(const QString &text) {
  dataBox_->setText(text);
}

void ValueEntry::ShowGainAndOffsetPrompts() {
  offsetPrompt_->setText(QStringLiteral("Enter Offs&et Value (-16 to 15.875)"));
  fineGainPrompt_->setText(QStringLiteral("Enter Fine &Gain Value (-32 to 31)"));
}

void ValueEntry::TabAfterDataBox(QWidget *control) {
  QWidget::setTabOrder(dataBox_, control);
  QWidget::setTabOrder(control, voltsBox_);
}

void ValueEntry::onDataEntered() {
  BoardAccess::Action action(c_.Board);
  ProgramValues &v = c_.Values;
  RunEntry(c_.Board, dataBox_, [&] {
    // The code is converted with the range of the channel it goes to.
    if (const auto coarse = ReadCoarseGain(c_, {Register::CoarseGain, v.Word.AddressedChannel()})) {
      v.CoarseGainCode = *coarse;
      if (const auto range = RangeForCoarseCode(v.CoarseGainCode))
        v.OutputRange = *range;
    }
    c_.Board.MarkWriting();
    if (v.Display == DisplayMode::Hex) {
      if (dataBox_->text().isEmpty())
        dataBox_->setText(QStringLiteral("0"));
      // Unsigned: FFFFFFFF is too large like 10000, not -1.
      v.DataValue = static_cast<int32_t>(std::min<uint32_t>(HexValue(TextOf(dataBox_)), MaxDataCode));
    } else {
      v.DataValue = RoundToInt32(ReadTypedNumber(c_, dataBox_->text()));
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
  BoardAccess::Action action(c_.Board);
  ProgramValues &v = c_.Values;
  RunEntry(c_.Board, voltsBox_, [&] {
    // Converted with the range of the channel the voltage goes to.
    const WordAddress rangeRegister = RangeRegisterOf(v.Word.AddressedChannel());
    if (const auto coarse = ReadCoarseGain(c_, rangeRegister)) {
      // All ones is what every read returns while the converter's serial
      // output is off, as "Measure" leaves it.
      if (*coarse > 32767)
        throw NumberError(QStringLiteral("DAC %1's range read back as %2, as every read does while the converter's "
                                         "serial output (SDO) is off; the SDO switch or \"Read Register\" brings "
                                         "it back")
                              .arg(QChar('A' + static_cast<int>(rangeRegister.AddressedChannel())))
                              .arg(*coarse)
                              .toStdString());
      if (const auto range = RangeForCoarseCode(*coarse))
        v.OutputRange = *range;
    }
    v.Word = WordAddress(Register::Data, v.Word.AddressedChannel());
    float volts = ToSingle(ReadTypedNumber(c_, voltsBox_->text()));
    volts = LimitVolts(volts, v.OutputRange);
    voltsBox_->setText(Text(FormatVolts(RoundToDecimals(volts, 5))));
    v.DataValue = VoltsToCode(volts, v.OutputRange, c_.Values.Lines.BinaryCoding);
    dataBox_->setText(DataValueText(v.DataValue, v.Display));
    c_.Board.WriteRegister(v.Word, v.DataValue);
  });
}

void ValueEntry::onFineGainEntered() {
  BoardAccess::Action action(c_.Board);
  ProgramValues &v = c_.Values;
  RunEntry(c_.Board, fineGainBox_, [&] {
    c_.Board.MarkWriting();
    if (fineGainBox_->text().isEmpty())
      fineGainBox_->setText(QStringLiteral("0"));
    const float gain = LimitFineGain(ToSingle(ReadTypedNumber(c_, fineGainBox_->text())));
    v.DataValue = FineGainCode(gain);
    c_.Board.WriteRegister({Register::FineGain, v.Word.AddressedChannel()}, v.DataValue);
    emit wordEntered();
  });
}

void ValueEntry::onOffsetEntered() {
  BoardAccess::Action action(c_.Board);
  ProgramValues &v = c_.Values;
  RunEntry(c_.Board, offsetBox_, [&] {
    c_.Board.MarkWriting();
    if (offsetBox_->text().isEmpty())
      offsetBox_->setText(QStringLiteral("0"));
    const float offset = LimitOffset(ToSingle(ReadTypedNumber(c_, offsetBox_->text())));
    v.DataValue = OffsetCode(offset);
    c_.Board.WriteRegister(v.Word, v.DataValue);
    emit wordEntered();
  });
}

void ValueEntry::onRangeChosen() {
  BoardAccess::Action action(c_.Board);
  c_.Board.MarkWriting();
  const auto code = ChoiceIndex(RangeChoices, rangeList_->currentText());
  if (!code)
    return;
  c_.Board.WriteRegister({Register::CoarseGain, c_.Values.Word.AddressedChannel()}, *code);
  if (const auto range = RangeForCoarseCode(*code))
    c_.Values.OutputRange = *range;
}

} // namespace vq
