// ShowInputWord: the bit display of the input word, its value labels and the
// entry field of the current register view, all from the program-wide state.
#include "panels/register_panel.h"

#include "panels/choice_list.h"
#include "rules/conversions.h"
#include "rules/number_rules.h"
#include "panels/register_entries.h"

#include <QLabel>
#include <QLineEdit>

namespace vq {

QString DataValueText(int32_t value, const std::string &displayMode) {
  return QString::fromStdString(displayMode == "Hex" ? HexUpper(value) : DecimalText(value));
}

void RegisterPanel::ShowInputWord() {
  MainFormControls &ui = c_.ui;
  ProgramValues &v = c_.values;
  const int32_t data = v.DataValue;

  ui.LabelRW->setText(QString::number(c_.board.ReadWriteBit));
  for (int n = 15; n >= 0; --n)
    ui.LabelD[n]->setText((data >> n & 1) != 0 ? QStringLiteral("1") : QStringLiteral("0"));
  ui.Label27->setText(QString::fromStdString(v.DisplayMode == "Hex" ? HexAtLeastFour(data) : DecimalText(data)));

  // The whole word; 64-bit so a data field outside 16 bits cannot overflow
  // the sum, then shown as its 32-bit pattern.
  const int64_t word = int64_t{c_.board.ReadWriteBit} * (1 << 23) + int64_t{v.RegisterSelect} * (1 << 19) +
                       int64_t{v.DacAddress} * (1 << 16) + data;
  ui.LabelData->setText(QString::fromStdString(HexUpper(static_cast<int32_t>(static_cast<uint32_t>(word)))));

  const QString view = ui.ComboReg->currentText();
  if (view == QLatin1String("Fine Gain Register")) {
    ui.TextFine->setText(QString::fromStdString(DecimalText(FineGainValue(data))));
  } else if (view == QLatin1String("Offset Register")) {
    ui.TextOffset->setText(QString::fromStdString(ShortestDecimal(OffsetValue(data))));
  } else if (view == QLatin1String("Data Register")) {
    ui.TextData->setText(DataValueText(data, v.DisplayMode));
    // The range recorded at the last data-code entry, not the read channel's.
    if (const auto range = RangeForCoarseCode(v.CoarseGainCode))
      v.OutputRange = *range;
    ui.TextVolts->setText(QString::fromStdString(FormatVolts(CodeToVolts(data, v.OutputRange))));
  } else if (view == QLatin1String("Coarse Gain Register")) {
    // Selecting another range runs the list's action, which writes the code
    // back to the current channel; the same selection does nothing.
    if (data >= 0 && data < static_cast<int32_t>(CoarseEntries.size()))
      ui.ComboCoarse->SelectText(QString::fromUtf8(CoarseEntries[data]));
  }
}

} // namespace vq
