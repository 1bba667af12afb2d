#include "panels/calibration_panel.h"

#include "panels/control_placement.h"
#include "panels/register_choices.h"
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

// "+94.06 mV": signed, to a hundredth of a millivolt.
QString SignedMillivolts(double volts) {
  const QString text = QString::number(volts * 1000.0, 'f', 2);
  return (volts > 0 ? QStringLiteral("+") : QString()) + text + QStringLiteral(" mV");
}

QString ChannelName(Channel channel) {
  return QString::fromUtf8(ChannelChoices[CodeOf(channel)]);
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

void CalibrationPanel::Warn(const QString &text) {
  QMessageBox box(QMessageBox::Warning, c_.MessageTitle, text, QMessageBox::Ok, c_.Window);
  box.exec();
}

bool CalibrationPanel::RefuseAllChannels() {
  // A reading taken on one output says nothing about the other three.
  if (c_.Values.Word.AddressedChannel() != Channel::All)
    return false;
  Warn(QStringLiteral("Calibration works on one DAC at a time: choose DAC A, B, C or D."));
  return true;
}

void CalibrationPanel::onStartClicked() {
  if (RefuseAllChannels())
    return;
  ShowOffsetStage(true);
  startButton_->setEnabled(false);
}

void CalibrationPanel::TellShortfall(const char *stage, const Correction &correction, const QString &where) {
  if (correction.Shortfall == 0.0)
    return;
  Warn(QStringLiteral("The %1 was written at its limit: %2 could not be fully corrected, and its output %3 stays off "
                      "by about %4.")
           .arg(QString::fromLatin1(stage), ChannelName(c_.Values.Word.AddressedChannel()), where,
                SignedMillivolts(correction.Shortfall)));
}

void CalibrationPanel::TakeChannelRange() {
  const int32_t coarse = c_.Board.ReadRegister(RangeRegisterOf(c_.Values.Word.AddressedChannel()));
  if (const auto range = RangeForCoarseCode(coarse))
    c_.Values.OutputRange = *range;
}

void CalibrationPanel::onOffsetDoneClicked() {
  if (RefuseAllChannels())
    return;
  TakeChannelRange();
  const WordAddress offset(Register::Offset, c_.Values.Word.AddressedChannel());
  const int32_t present = c_.Board.ReadRegister(offset);
  Correction correction;
  try {
    const float reading = ToSingle(LeadingNumber(offsetReadingBox_->text().toStdString()));
    correction = OffsetCalibration(present, reading, c_.Values.OutputRange);
  } catch (const NumberError &error) {
    // A reading no voltmeter gives, or a read-back the 8-bit register cannot
    // hold: writing a code computed from it would miscalibrate the channel.
    FailOffsetStage(TextOf(error.what()));
    return;
  }
  c_.Values.DataValue = correction.Code;
  c_.Board.WriteRegister(offset, c_.Values.DataValue);
  TellShortfall("offset", correction, QStringLiteral("at 0 V"));
  ShowOffsetStage(false);
  ShowZeroScaleStage(true);
}

void CalibrationPanel::FailOffsetStage(const QString &problem) {
  Warn(QStringLiteral("The offset was not changed: %1.").arg(problem));
  offsetReadingBox_->setFocus();
  offsetReadingBox_->selectAll();
}

void CalibrationPanel::onZeroScaleDoneClicked() {
  if (RefuseAllChannels())
    return;
  TakeChannelRange();
  const WordAddress fineGain(Register::FineGain, c_.Values.Word.AddressedChannel());
  Correction correction;
  try {
    const int32_t present = c_.Board.ReadRegister(fineGain);
    const double reading = LeadingNumber(zeroScaleReadingBox_->text().toStdString());
    correction = FineGainCalibration(present, reading, c_.Values.OutputRange);
  } catch (const NumberError &) {
    FailZeroScaleStage();
    return;
  }
  c_.Values.DataValue = correction.Code;
  c_.Board.WriteRegister(fineGain, c_.Values.DataValue);
  TellShortfall("fine gain", correction, QStringLiteral("at zero scale"));
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
  // What a reading on this channel's range should look like, so that -1 V or
  // -6.2 V is not left at "negative" alone.
  const float range = c_.Values.OutputRange;
  Warn(QStringLiteral("A negative number is expected\nExpected a reading near %1 V; the fine gain reaches about "
                      "\u00B1%2 mV.")
           .arg(TextOf(ShortestDecimal(-range)), QString::number(FineGainReach(range) * 1000.0, 'g', 3)));
  zeroScaleReadingBox_->setText(QString()); // and no undo history holding the text
  zeroScaleReadingBox_->setFocus();
}

} // namespace vq
