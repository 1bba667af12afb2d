#include "panels/temperature_panel.h"

#include "panels/control_placement.h"
#include "rules/conversions.h"
#include "rules/number_rules.h"

namespace vq {

TemperaturePanel::TemperaturePanel(QWidget *client, PanelContext context)
    : c_(context), frame_(PlaceFrame(client, "Frame19", QStringLiteral("Measure VQ8231 Core &Temperature"))) {
  measureButton_ = PlaceButton(frame_, "Command7", QStringLiteral("Measure"));
  QLabel *pinCaption = PlaceLabel(frame_, "Label19", QStringLiteral("Voltage at TEMP pin"));
  pinVolts_ = PlaceLabel(frame_, "Label23", QString());
  QLabel *temperatureCaption = PlaceLabel(frame_, "Label21", QStringLiteral("Temperature (°C)"));
  dieTemperature_ = PlaceLabel(frame_, "Label25", QString());
  // The widest readings: the pin's volts and the lowest temperature.
  for (QLabel *readout : {pinVolts_, dieTemperature_})
    ShowAsReadout(readout, QStringLiteral("-2.500"));

  Describe(measureButton_, QStringLiteral("Measure"),
           QStringLiteral("Samples the TEMP pin and shows its voltage and the die temperature"));
  Describe(pinVolts_, QStringLiteral("Voltage at TEMP pin"), QStringLiteral("The TEMP pin's voltage, in volts"));
  Describe(dieTemperature_, QStringLiteral("Die temperature"),
           QStringLiteral("The converter's die temperature, in degrees Celsius"));
  // "Measure" beside two rows of caption and reading.
  auto *grid = new QGridLayout(frame_);
  grid->addWidget(measureButton_, 0, 0, 2, 1, Qt::AlignVCenter);
  grid->addWidget(pinCaption, 0, 1);
  grid->addWidget(pinVolts_, 0, 2);
  grid->addWidget(temperatureCaption, 1, 1);
  grid->addWidget(dieTemperature_, 1, 2);
  grid->setColumnStretch(3, 1);
  connect(measureButton_, &QPushButton::clicked, this, &TemperaturePanel::onMeasureClicked);
}

void TemperaturePanel::onMeasureClicked() {
  BoardAccess::Action action(c_.Board);
  // The converter's serial data output is switched off before the board samples the TEMP pin.
  c_.Values.Options.SdoDisabled = true;
  WriteFunctionWord(c_);
  emit serialOutputDisabled();

  // Three samples in a row; the earlier two are discarded and the last one is used.
  c_.Board.ReadBoardSample();
  c_.Board.ReadBoardSample();
  const Reading<int16_t> read = c_.Board.ReadBoardSample();
  if (!read.Answered()) {
    // The buffer holds another request's bytes, not a sample.
    pinVolts_->setText(QString::fromLatin1(NoAnswer));
    dieTemperature_->setText(QString::fromLatin1(NoAnswer));
    return;
  }
  const int16_t sample = read.Value;
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
