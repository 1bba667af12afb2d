#include "panels/temperature_panel.h"

#include "rules/conversions.h"
#include "panels/function_word.h"
#include "rules/number_rules.h"
#include "panels/toggle_switch.h"

#include <QLabel>

namespace vq {

void TemperaturePanel::Command7_Click() {
  // The converter's serial data output is switched off before the board samples the TEMP pin.
  c_.values.Options.SdoDisable = 1;
  WriteFunctionWord(c_.values, c_.board);
  c_.ui.Toggle[7]->SetValue(true);

  // Three samples in a row; the earlier two are discarded and the last one is used.
  c_.board.ReadBoardSample();
  c_.board.ReadBoardSample();
  const int16_t sample = c_.board.ReadBoardSample();

  if (sample < 0) {
    // The board digitises 12 bits; a sample with the top bit set is no
    // reading of the TEMP pin, and negative volts would be shown as if real.
    c_.ui.Label23->setText(QString::fromLatin1(NoReading));
    c_.ui.Label25->setText(QString::fromLatin1(NoReading));
    return;
  }
  const float volts = TempPinVolts(sample);
  c_.ui.Label23->setText(QString::fromStdString(FormatTempVolts(volts)));
  c_.ui.Label25->setText(QString::fromStdString(FormatWhole(DieTemperature(volts))));
}

} // namespace vq
