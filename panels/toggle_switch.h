// A two-state switch showing its state graphically with the caption of the
// present state. The user flips it with a click or the space bar while it is
// Operable; Change() is raised only for such a flip. Setting Value from code
// updates the display only.
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
  QSize sizeHint() const override;

signals:
  void Change();

protected:
  void paintEvent(QPaintEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

private:
  void FlipByUser();

  QString offCaption_;
  QString onCaption_;
  bool value_ = false;
  bool operable_ = true;
};

} // namespace vq
