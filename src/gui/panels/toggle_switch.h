// A two-state switch showing its state graphically with the caption of the
// present state. The user flips it with a click or the space bar while it is
// Operable; flipped() is raised only for such a flip. Setting Value from code
// updates the display only. A switch that is not Operable is drawn greyed
// and takes no Tab stop.
#pragma once

#include <QWidget>

namespace vq {

class ToggleSwitch : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool Value READ Value WRITE SetValue)
  Q_PROPERTY(bool Operable READ Operable WRITE SetOperable)
public:
  ToggleSwitch(const QString &offCaption, const QString &onCaption, QWidget *parent = nullptr);

  bool Value() const { return value_; }
  void SetValue(bool on);
  bool Operable() const { return operable_; }
  void SetOperable(bool operable);

  QString Caption() const { return value_ ? onCaption_ : offCaption_; }
  QString OffCaption() const { return offCaption_; }
  QString OnCaption() const { return onCaption_; }
  // What assistive technology calls the switch: the frame that names it and
  // its two captions, unless an accessible name was set.
  QString SpokenName() const;
  // Whether the user can flip it now: Operable and not disabled by its frame.
  bool Flippable() const { return operable_ && isEnabled(); }
  // A user's flip (click, space or an assistive tool's action).
  void FlipByUser();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

signals:
  void flipped();

protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void changeEvent(QEvent *event) override;

private:
  void UpdateTabStop();
  void TellAssistiveTools(bool checkedChanged, bool lockChanged);

  QString offCaption_;
  QString onCaption_;
  bool value_ = false;
  bool operable_ = true;
  bool pressed_ = false;
};

} // namespace vq
