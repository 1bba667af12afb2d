#include "panels/calibration_panel.h"

#include "panels/control_placement.h"
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

QString TextOf(const std::string &text) {
  return QString::fromStdString(text);
}

} // namespace

CalibrationPanel::CalibrationPanel(QWidget *client, PanelContext context)
    : c_(context), completePause_(&WaitTwoSeconds), frame_(PlaceFrame(client, "Frame22", QStringLiteral("Calibration"),
                                                                      QRect(Px(5160), Px(6720), Px(9375), Px(1455)))) {
  startButton_ = PlaceButton(frame_, "Command8", QStringLiteral("Perform Offset && Gain Calibration on Selected DAC"),
                             QRect(10, 22, 340, 28));
  constexpr int stageY = 60;
  offsetInstruction_ =
      PlaceLabel(frame_, "LabelOff1", QStringLiteral("Load 0V to the DAC and measure the output voltage"),
                 QRect(10, stageY, 320, 20));
  offsetPrompt_ = PlaceLabel(frame_, "LabelOff2", QStringLiteral("Measured Voltage = "), QRect(336, stageY, 120, 20));
  offsetReadingBox_ = PlaceBox(frame_, "TextOff", QStringLiteral("0"), QRect(456, stageY - 2, 84, 24));
  offsetDoneButton_ = PlaceButton(frame_, "CommandOff", QStringLiteral("Done"), QRect(548, stageY - 4, 66, 28));
  zeroScaleInstruction_ =
      PlaceLabel(frame_, "LabelFS1", QStringLiteral("Load Zero Scale to the DAC and measure the output voltage"),
                 QRect(10, stageY, 320, 20));
  zeroScalePrompt_ = PlaceLabel(frame_, "LabelFS2", QStringLiteral("Measured Voltage = "), QRect(336, stageY, 120, 20));
  zeroScaleReadingBox_ = PlaceBox(frame_, "TextFS", QStringLiteral("-"), QRect(456, stageY - 2, 84, 24));
  zeroScaleDoneButton_ = PlaceButton(frame_, "CommandFS", QStringLiteral("Done"), QRect(548, stageY - 4, 66, 28));
  completeLabel_ =
      PlaceLabel(frame_, "LabelComplete", QStringLiteral("Calibration complete"), QRect(10, stageY, 320, 20));
  // The instructions wrap onto two lines rather than run under "Measured Voltage =".
  for (QLabel *instruction : {offsetInstruction_, zeroScaleInstruction_}) {
    instruction->setWordWrap(true);
    instruction->setGeometry(10, stageY - 10, 320, 40);
  }
  ShowOffsetStage(false);
  ShowZeroScaleStage(false);
  completeLabel_->hide();

  connect(startButton_, &QPushButton::clicked, this, &CalibrationPanel::onStartClicked);
  connect(offsetDoneButton_, &QPushButton::clicked, this, &CalibrationPanel::onOffsetDoneClicked);
  connect(zeroScaleDoneButton_, &QPushButton::clicked, this, &CalibrationPanel::onZeroScaleDoneClicked);
}

void CalibrationPanel::WaitTwoSeconds() {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  // Short sleeps rather than one long one: the pause must end only once more
  // than two seconds have really passed, whatever the sleep granularity.
  while (Clock::now() - start <= std::chrono::seconds(2))
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void CalibrationPanel::ShowOffsetStage(bool shown) {
  offsetInstruction_->setVisible(shown);
  offsetPrompt_->setVisible(shown);
  offsetReadingBox_->setVisible(shown);
  offsetDoneButton_->setVisible(shown);
}

void CalibrationPanel::ShowZeroScaleStage(bool shown) {
  zeroScaleInstruction_->setVisible(shown);
  zeroScalePrompt_->setVisible(shown);
  zeroScaleReadingBox_->setVisible(shown);
  zeroScaleDoneButton_->setVisible(shown);
}

void CalibrationPanel::onStartClicked() {
  ShowOffsetStage(true);
  startButton_->setEnabled(false);
}

void CalibrationPanel::TakeChannelRange() {
  const int32_t coarse = c_.Board.ReadRegister(RangeRegisterOf(c_.Values.Word.AddressedChannel()));
  if (const auto range = RangeForCoarseCode(coarse))
    c_.Values.OutputRange = *range;
}

void CalibrationPanel::onOffsetDoneClicked() {
  TakeChannelRange();
  const WordAddress offset(Register::Offset, c_.Values.Word.AddressedChannel());
  const int32_t present = c_.Board.ReadRegister(offset);
  int32_t code = 0;
  try {
    const float reading = ToSingle(LeadingNumber(offsetReadingBox_->text().toStdString()));
    code = OffsetCalibrationCode(present, reading, c_.Values.OutputRange);
  } catch (const NumberError &error) {
    // A reading no voltmeter gives, or a read-back the 8-bit register cannot
    // hold: writing a code computed from it would miscalibrate the channel.
    FailOffsetStage(TextOf(error.what()));
    return;
  }
  c_.Values.DataValue = code;
  c_.Board.WriteRegister(offset, c_.Values.DataValue);
  ShowOffsetStage(false);
  ShowZeroScaleStage(true);
}

void CalibrationPanel::FailOffsetStage(const QString &problem) {
  QMessageBox box(QMessageBox::Warning, c_.MessageTitle, QStringLiteral("The offset was not changed: %1.").arg(problem),
                  QMessageBox::Ok, c_.Window);
  box.exec();
  offsetReadingBox_->setFocus();
  offsetReadingBox_->selectAll();
}

void CalibrationPanel::onZeroScaleDoneClicked() {
  TakeChannelRange();
  const WordAddress fineGain(Register::FineGain, c_.Values.Word.AddressedChannel());
  try {
    const int32_t present = c_.Board.ReadRegister(fineGain);
    const double reading = LeadingNumber(zeroScaleReadingBox_->text().toStdString());
    c_.Values.DataValue = FineGainCalibrationCode(present, reading, c_.Values.OutputRange);
  } catch (const NumberError &) {
    FailZeroScaleStage();
    return;
  }
  c_.Board.WriteRegister(fineGain, c_.Values.DataValue);
  ShowZeroScaleStage(false);
  completeLabel_->show();

  // Draw the label, then hold it without handling the user's events.
  QCoreApplication::processEvents();
  if (completePause_)
    completePause_();

  completeLabel_->hide();
  startButton_->setEnabled(true);
}

void CalibrationPanel::FailZeroScaleStage() {
  QMessageBox box(QMessageBox::Warning, c_.MessageTitle, QStringLiteral("A negative number is expected"),
                  QMessageBox::Ok, c_.Window);
  box.exec();
  zeroScaleReadingBox_->setText(QString()); // and no undo history holding the text
  zeroScaleReadingBox_->setFocus();
}

} // namespace vq
