#include "panels/value_entry.h"

#include "rules/conversions.h"
#include "rules/number_rules.h"
#include "panels/register_panel.h"

#include <QLabel>
#include <QLineEdit>

#include <exception>

namespace vq {

namespace {

// Runs an entry's steps. A failure empties the box and gives it the focus,
// without a message; whatever the steps did before it stays done.
template <typename Steps> void Guarded(QLineEdit *box, Steps steps) {
  try {
    steps();
  } catch (const std::exception &) {
    box->clear();
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

void ValueEntry::ShowWriting() {
  c_.board.ReadWriteBit = 0;
  c_.ui.LabelRW->setText(QStringLiteral("0"));
}

void ValueEntry::TextData_KeyPress() {
  MainFormControls &ui = c_.ui;
  ProgramValues &v = c_.values;
  Guarded(ui.TextData, [&] {
    // The code is converted with the range of the channel it goes to.
    v.CoarseGainCode = c_.board.ReadRegister(v.DacAddress, 3);
    if (const auto range = RangeForCoarseCode(v.CoarseGainCode))
      v.OutputRange = *range;
    ShowWriting();
    if (v.DisplayMode == "Hex") {
      if (ui.TextData->text().isEmpty())
        ui.TextData->setText(QStringLiteral("0"));
      v.DataValue = HexValue(TextOf(ui.TextData));
    } else {
      v.DataValue = RoundToInt32(LeadingNumber(TextOf(ui.TextData)));
    }
    if (v.DataValue > MaxDataCode)
      v.DataValue = MaxDataCode;
    if (v.DataValue < 0)
      v.DataValue = 0;
    c_.board.WriteRegister(v.DacAddress, v.RegisterSelect, v.DataValue);
    ui.TextVolts->setText(Text(FormatVolts(CodeToVolts(v.DataValue, v.OutputRange))));
    panel_.ShowInputWord();
    ui.LabelRW->setText(QStringLiteral("0"));
  });
}

void ValueEntry::TextVolts_KeyPress() {
  MainFormControls &ui = c_.ui;
  ProgramValues &v = c_.values;
  Guarded(ui.TextVolts, [&] {
    // Voltages are always converted with DAC A's range, whichever channel is
    // chosen.
    const int32_t coarse = c_.board.ReadRegister(0, 3);
    if (coarse > 32767)
      throw NumberError("the coarse gain read back as " + std::to_string(coarse) +
                        ", which does not fit a 16-bit integer");
    if (const auto range = RangeForCoarseCode(coarse))
      v.OutputRange = *range;
    v.RegisterSelect = 2;
    float volts = ToSingle(LeadingNumber(TextOf(ui.TextVolts)));
    volts = LimitVolts(volts, v.OutputRange);
    ui.TextVolts->setText(Text(FormatVolts(RoundToDecimals(volts, 5))));
    v.DataValue = VoltsToCode(volts, v.OutputRange, c_.board.ControlPins.BinCoding == 1);
    ui.TextData->setText(DataValueText(v.DataValue, v.DisplayMode));
    c_.board.WriteRegister(v.DacAddress, 2, v.DataValue);
  });
}

void ValueEntry::TextFine_KeyPress() {
  MainFormControls &ui = c_.ui;
  ProgramValues &v = c_.values;
  Guarded(ui.TextFine, [&] {
    ShowWriting();
    if (ui.TextFine->text().isEmpty())
      ui.TextFine->setText(QStringLiteral("0"));
    const float gain = LimitFineGain(ToSingle(LeadingNumber(TextOf(ui.TextFine))));
    v.DataValue = FineGainCode(gain);
    c_.board.WriteRegister(v.DacAddress, 4, v.DataValue);
    panel_.ShowInputWord();
    ui.LabelRW->setText(QStringLiteral("0"));
  });
}

void ValueEntry::TextOffset_KeyPress() {
  MainFormControls &ui = c_.ui;
  ProgramValues &v = c_.values;
  Guarded(ui.TextOffset, [&] {
    ShowWriting();
    if (ui.TextOffset->text().isEmpty())
      ui.TextOffset->setText(QStringLiteral("0"));
    const float offset = LimitOffset(ToSingle(LeadingNumber(TextOf(ui.TextOffset))));
    v.DataValue = OffsetCode(offset);
    c_.board.WriteRegister(v.DacAddress, v.RegisterSelect, v.DataValue);
    panel_.ShowInputWord();
    ui.LabelRW->setText(QStringLiteral("0"));
  });
}

} // namespace vq
