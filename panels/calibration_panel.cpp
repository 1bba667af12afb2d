#include "panels/calibration_panel.h"

#include "rules/conversions.h"
#include "rules/number_rules.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <chrono>
#include <thread>

namespace vq {

namespace {

constexpr int16_t OffsetRegister = 5;
constexpr int16_t FineGainRegister = 4;

QString TextOf(const std::string &text) {
  return QString::fromStdString(text);
}

} // namespace

CalibrationPanel::CalibrationPanel(PanelContext context) : c_(context), completePause_(&WaitTwoSeconds) {}

void CalibrationPanel::WaitTwoSeconds() {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  // Short sleeps rather than one long one: the pause must end only once more
  // than two seconds have really passed, whatever the sleep granularity.
  while (Clock::now() - start <= std::chrono::seconds(2))
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void CalibrationPanel::ShowOffsetStage(bool shown) {
  c_.ui.LabelOff1->setVisible(shown);
  c_.ui.LabelOff2->setVisible(shown);
  c_.ui.TextOff->setVisible(shown);
  c_.ui.CommandOff->setVisible(shown);
}

void CalibrationPanel::ShowZeroScaleStage(bool shown) {
  c_.ui.LabelFS1->setVisible(shown);
  c_.ui.LabelFS2->setVisible(shown);
  c_.ui.TextFS->setVisible(shown);
  c_.ui.CommandFS->setVisible(shown);
}

void CalibrationPanel::Command8_Click() {
  ShowOffsetStage(true);
  c_.ui.Command8->setEnabled(false);
}

void CalibrationPanel::CommandOff_Click() {
  const int16_t dac = c_.values.DacAddress;
  const int32_t present = c_.board.ReadRegister(dac, OffsetRegister);
  int32_t code = 0;
  try {
    const float reading = ToSingle(LeadingNumber(c_.ui.TextOff->text().toStdString()));
    code = OffsetCalibrationCode(present, reading, c_.values.OutputRange);
  } catch (const NumberError &error) {
    // A reading no voltmeter gives, or a read-back the 8-bit register cannot
    // hold: writing a code computed from it would miscalibrate the channel.
    FailOffsetStage(TextOf(error.what()));
    return;
  }
  c_.values.DataValue = code;
  c_.board.WriteRegister(dac, OffsetRegister, c_.values.DataValue);
  ShowOffsetStage(false);
  ShowZeroScaleStage(true);
}

void CalibrationPanel::FailOffsetStage(const QString &problem) {
  QMessageBox box(QMessageBox::Warning, QString::fromLatin1(ApplicationTitle),
                  QStringLiteral("The offset was not changed: %1.").arg(problem), QMessageBox::Ok, c_.window);
  box.exec();
  c_.ui.TextOff->setFocus();
  c_.ui.TextOff->selectAll();
}

void CalibrationPanel::CommandFS_Click() {
  const int16_t dac = c_.values.DacAddress;
  try {
    const int32_t present = c_.board.ReadRegister(dac, FineGainRegister);
    const double reading = LeadingNumber(c_.ui.TextFS->text().toStdString());
    c_.values.DataValue = FineGainCalibrationCode(present, reading, c_.values.OutputRange);
  } catch (const NumberError &) {
    FailZeroScaleStage();
    return;
  }
  c_.board.WriteRegister(dac, FineGainRegister, c_.values.DataValue);
  ShowZeroScaleStage(false);
  c_.ui.LabelComplete->show();

  // Draw the label, then hold it without handling the user's events.
  QCoreApplication::processEvents();
  if (completePause_)
    completePause_();

  c_.ui.LabelComplete->hide();
  c_.ui.Command8->setEnabled(true);
}

void CalibrationPanel::FailZeroScaleStage() {
  QMessageBox box(QMessageBox::Warning, QString::fromLatin1(ApplicationTitle),
                  QStringLiteral("A negative number is expected"), QMessageBox::Ok, c_.window);
  box.exec();
  c_.ui.TextFS->clear();
  c_.ui.TextFS->setFocus();
}

} // namespace vq
