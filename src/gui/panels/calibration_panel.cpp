#include "panels/calibration_panel.h"

#include "panels/control_placement.h"
#include "panels/register_choices.h"
#include "rules/number_rules.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <array>
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
    : c_(context), completePause_(&WaitTwoSeconds),
      frame_(PlaceFrame(client, "Frame22", QStringLiteral("Ca&libration"))) {
  startButton_ = PlaceButton(frame_, "Command8", QStringLiteral("Perform Offset && Gain Calibration on Selected DAC"));
  offsetInstruction_ =
      PlaceLabel(frame_, "LabelOff1", QStringLiteral("Load 0V to the DAC and measure the output voltage"));
  offsetPrompt_ = PlaceLabel(frame_, "LabelOff2", QStringLiteral("&Measured Voltage = "));
  offsetReadingBox_ = PlaceBox(frame_, "TextOff", QStringLiteral("0"));
  offsetDoneButton_ = PlaceButton(frame_, "CommandOff", QStringLiteral("Done"));
  zeroScaleInstruction_ =
      PlaceLabel(frame_, "LabelFS1", QStringLiteral("Load Zero Scale to the DAC and measure the output voltage"));
  zeroScalePrompt_ = PlaceLabel(frame_, "LabelFS2", QStringLiteral("&Measured Voltage = "));
  zeroScaleReadingBox_ = PlaceBox(frame_, "TextFS", QStringLiteral("-"));
  zeroScaleDoneButton_ = PlaceButton(frame_, "CommandFS", QStringLiteral("Done"));
  completeLabel_ = PlaceLabel(frame_, "LabelComplete", QStringLiteral("Calibration complete"));
  // The instructions wrap onto two lines rather than run under "Measured Voltage =".
  for (QLabel *instruction : {offsetInstruction_, zeroScaleInstruction_})
    instruction->setWordWrap(true);
  for (QLineEdit *reading : {offsetReadingBox_, zeroScaleReadingBox_})
    reading->setMinimumWidth(reading->fontMetrics().horizontalAdvance(QStringLiteral("-10.24000")) +
                             2 * reading->fontMetrics().averageCharWidth());

  Describe(startButton_, QStringLiteral("Perform Offset & Gain Calibration on Selected DAC"),
           QStringLiteral("Calibrates the offset and the gain of the chosen channel against a voltmeter"));
  Describe(offsetReadingBox_, QStringLiteral("Measured Voltage at 0 V"),
           QStringLiteral("The voltmeter's reading of the output at 0 V, in volts; Return does what Done does"));
  Describe(offsetDoneButton_, QStringLiteral("Done with the offset"),
           QStringLiteral("Corrects the offset register from the reading at 0 V"));
  Describe(zeroScaleReadingBox_, QStringLiteral("Measured Voltage at zero scale"),
           QStringLiteral("The voltmeter's reading of the output at zero scale, in volts (negative); Return does "
                          "what Done does"));
  Describe(zeroScaleDoneButton_, QStringLiteral("Done with the gain"),
           QStringLiteral("Corrects the fine gain register from the reading at zero scale"));
  offsetPrompt_->setBuddy(offsetReadingBox_);
  zeroScalePrompt_->setBuddy(zeroScaleReadingBox_);
  // "Perform ..." over one row in which the stages and the closing message
  // take each other's place, each keeping its room while hidden.
  auto *grid = new QGridLayout(frame_);
  grid->addWidget(startButton_, 0, 0, 1, 4, Qt::AlignLeft);
  const std::array<std::array<QWidget *, 4>, 2> stages = {
      {{offsetInstruction_, offsetPrompt_, offsetReadingBox_, offsetDoneButton_},
       {zeroScaleInstruction_, zeroScalePrompt_, zeroScaleReadingBox_, zeroScaleDoneButton_}}};
  for (const auto &stage : stages)
    for (int column = 0; column < 4; ++column) {
      KeepRoomWhenHidden({stage[column]});
      grid->addWidget(stage[column], 1, column);
    }
  KeepRoomWhenHidden({completeLabel_});
  grid->addWidget(completeLabel_, 1, 0);
  grid->setColumnStretch(0, 1);
  // Two lines of an instruction at most, however narrow the frame.
  grid->setColumnMinimumWidth(0, zeroScaleInstruction_->fontMetrics().horizontalAdvance(zeroScaleInstruction_->text()) /
                                         2 +
                                     2 * zeroScaleInstruction_->fontMetrics().averageCharWidth());
  ShowOffsetStage(false);
  ShowZeroScaleStage(false);
  completeLabel_->hide();

  connect(startButton_, &QPushButton::clicked, this, &CalibrationPanel::onStartClicked);
  connect(offsetDoneButton_, &QPushButton::clicked, this, &CalibrationPanel::onOffsetDoneClicked);
  connect(zeroScaleDoneButton_, &QPushButton::clicked, this, &CalibrationPanel::onZeroScaleDoneClicked);
  // Return in a reading box does what "Done" beside it does.
  connect(offsetReadingBox_, &QLineEdit::returnPressed, this, &CalibrationPanel::onOffsetDoneClicked);
  connect(zeroScaleReadingBox_, &QLineEdit::returnPressed, this, &CalibrationPanel::onZeroScaleDoneClicked);
}

void CalibrationPanel::WaitTwoSeconds() {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  // Short sleeps rather than one long one: the pause must end only once more
  // than two seconds have really passed, whatever the sleep granularity.
  while (Clock::now() - start <= std::chrono::seconds(2))
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void CalibrationPanel::CloseStages() {
  ShowOffsetStage(false);
  ShowZeroScaleStage(false);
  completeLabel_->hide();
  startButton_->setEnabled(true);
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
  BoardAccess::Action action(c_.Board);
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
  if (const auto coarse = ReadCoarseGain(c_, RangeRegisterOf(c_.Values.Word.AddressedChannel())))
    if (const auto range = RangeForCoarseCode(*coarse))
      c_.Values.OutputRange = *range;
}

void CalibrationPanel::onOffsetDoneClicked() {
  if (RefuseAllChannels())
    return;
  BoardAccess::Action action(c_.Board);
  TakeChannelRange();
  const WordAddress offset(Register::Offset, c_.Values.Word.AddressedChannel());
  const Reading<int32_t> present = c_.Board.ReadRegister(offset);
  if (!present.Answered()) {
    // A correction of a content that was not read would miscalibrate the
    // channel: nothing is written and the stage stays open.
    c_.Board.Note(QStringLiteral("The offset was not changed."));
    return;
  }
  Correction correction;
  try {
    const float reading = ToSingle(ReadTypedNumber(c_, offsetReadingBox_->text()));
    correction = OffsetCalibration(present.Value, reading, c_.Values.OutputRange);
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
  BoardAccess::Action action(c_.Board);
  TakeChannelRange();
  const WordAddress fineGain(Register::FineGain, c_.Values.Word.AddressedChannel());
  Correction correction;
  try {
    const Reading<int32_t> present = c_.Board.ReadRegister(fineGain);
    if (!present.Answered()) {
      c_.Board.Note(QStringLiteral("The fine gain was not changed."));
      return;
    }
    const double reading = ReadTypedNumber(c_, zeroScaleReadingBox_->text());
    correction = FineGainCalibration(present.Value, reading, c_.Values.OutputRange);
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
