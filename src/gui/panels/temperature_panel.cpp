#include "panels/temperature_panel.h"

#include "panels/control_placement.h"
#include "rules/conversions.h"
#include "rules/number_rules.h"

namespace vq {

TemperaturePanel::TemperaturePanel(QWidget *client, PanelContext context)
    : c_(context), frame_(PlaceFrame(client, "Frame19", QStringLiteral("Measure VQ8231 Core Temperature"),
                                     QRect(Px(120), Px(6720), Px(4815), Px(1455)))) {
  measureButton_ = PlaceButton(frame_, "Command7", QStringLiteral("Measure"), QRect(10, 34, 80, 30));
  PlaceLabel(frame_, "Label19", QStringLiteral("Voltage at TEMP pin"), QRect(100, 24, 140, 20));
  pinVolts_ = PlaceLabel(frame_, "Label23", QString(), QRect(244, 24, 66, 20));
  PlaceLabel(frame_, "Label21", QStringLiteral("Temperature (°C)"), QRect(100, 56, 140, 20));
  dieTemperature_ = PlaceLabel(frame_, "Label25", QString(), QRect(244, 56, 66, 20));
  ShowAsReadout(pinVolts_);
  ShowAsReadout(dieTemperature_);
  connect(measureButton_, &QPushButton::clicked, this, &TemperaturePanel::onMeasureClicked);
}

void TemperaturePanel::onMeasureClicked() {
  // The converter's serial data output is switched off before the board samples the TEMP pin.
  c_.Values.Options.SdoDisabled = true;
  WriteFunctionWord(c_);
  emit serialOutputDisabled();

  // Three samples in a row; the earlier two are discarded and the last one is used.
  c_.Board.ReadBoardSample();
  c_.Board.ReadBoardSample();
  const int16_t sample = c_.Board.ReadBoardSample();

  if (sample < 0) {
    // The board digitises 12 bits; a sample with the top bit set is no
    // reading of the TEMP pin, and negative volts would be shown as if real.
    pinVolts_->setText(QString::fromLatin1(NoReading));
    dieTemperature_->setText(QString::fromLatin1(NoReading));
    return;
  }
  const float volts = TempPinVolts(sample);
  pinVolts_->setText(QString::fromStdString(FormatTempVolts(volts)));
  dieTemperature_->setText(QString::fromStdString(FormatWhole(DieTemperature(volts))));
}

} // namespace vq
