// "Calibration": the two-stage offset and gain calibration of one channel
// against a voltmeter.
#pragma once

#include "panels/panel_context.h"
#include "rules/conversions.h"

#include <QObject>
#include <QString>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vq {

class CalibrationPanel : public QObject {
  Q_OBJECT
public:
  CalibrationPanel(QWidget *client, PanelContext context);

  // The wait while "Calibration complete" shows. By default it blocks for
  // just over two seconds without handling window events; tests put in a
  // quicker one.
  void SetCompletePause(std::function<void()> pause) { completePause_ = std::move(pause); }
  // The real pause: returns once more than two seconds have passed.
  static void WaitTwoSeconds();

  QGroupBox *Frame() const { return frame_; }
  // Back to no procedure under way, as at start: a calibration begun on a
  // board that was lost since says nothing about the board found again.
  void CloseStages();

private:
  void onStartClicked();
  void onOffsetDoneClicked();
  void onZeroScaleDoneClicked();

  // Each stage computes its correction on the range of the channel it
  // calibrates, whatever the last entry left in OutputRange.
  void TakeChannelRange();
  // One correction goes to one channel: with all channels addressed the
  // user is asked to choose one, and true is returned.
  bool RefuseAllChannels();
  void ShowOffsetStage(bool shown);
  void ShowZeroScaleStage(bool shown);
  void FailOffsetStage(const QString &problem);
  void FailZeroScaleStage();
  // A correction the register could not hold was written at its limit: the
  // user learns how far the channel stays off.
  void TellShortfall(const char *stage, const Correction &correction, const QString &where);
  void Warn(const QString &text);

  PanelContext c_;
  std::function<void()> completePause_;
  QGroupBox *frame_;
  QPushButton *startButton_;
  QLabel *offsetInstruction_;
  QLabel *offsetPrompt_;
  QLineEdit *offsetReadingBox_;
  QPushButton *offsetDoneButton_;
  QLabel *zeroScaleInstruction_;
  QLabel *zeroScalePrompt_;
  QLineEdit *zeroScaleReadingBox_;
  QPushButton *zeroScaleDoneButton_;
  QLabel *completeLabel_;
};

} // namespace vq
