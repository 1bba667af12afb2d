// "Measure VQ8231 Core Temperature": the TEMP pin voltage and the die
// temperature derived from it.
#pragma once

#include "panels/panel_context.h"

#include <QObject>

class QGroupBox;
class QLabel;
class QPushButton;

namespace vq {

class TemperaturePanel : public QObject {
  Q_OBJECT
public:
  TemperaturePanel(QWidget *client, PanelContext context);

  // Shown in both result labels when the board's sample is not a reading.
  static constexpr const char *NoReading = "----";

  QGroupBox *Frame() const { return frame_; }

signals:
  // "Measure" switches the converter's serial output off first.
  void serialOutputDisabled();

private:
  void onMeasureClicked();

  PanelContext c_;
  QGroupBox *frame_;
  QPushButton *measureButton_;
  QLabel *pinVolts_;
  QLabel *dieTemperature_;
};

} // namespace vq
