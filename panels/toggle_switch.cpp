#include "panels/toggle_switch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vq {

ToggleSwitch::ToggleSwitch(const QString &offCaption, const QString &onCaption, QWidget *parent)
    : QWidget(parent), offCaption_(offCaption), onCaption_(onCaption) {
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(offCaption_ + " / " + onCaption_);
  setAccessibleDescription(Caption());
}

void ToggleSwitch::SetValue(bool on) {
  if (value_ == on)
    return;
  value_ = on;
  setAccessibleDescription(Caption());
  update();
}

void ToggleSwitch::SetOperable(bool operable) {
  operable_ = operable;
  update();
}

QSize ToggleSwitch::sizeHint() const {
  const QFontMetrics metrics(font());
  const int text = std::max(metrics.horizontalAdvance(offCaption_), metrics.horizontalAdvance(onCaption_));
  return {std::max(text + 8, 60), 22 + metrics.height()};
}

void ToggleSwitch::FlipByUser() {
  if (!operable_ || !isEnabled())
    return;
  SetValue(!value_);
  emit Change();
}

void ToggleSwitch::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    FlipByUser();
}

void ToggleSwitch::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
    FlipByUser();
  else
    QWidget::keyPressEvent(event);
}

void ToggleSwitch::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const bool live = operable_ && isEnabled();
  const QPalette &pal = palette();
  const int trackHeight = 16;
  const int trackWidth = 36;
  const QRectF track((width() - trackWidth) / 2.0, 2, trackWidth, trackHeight);
  QColor fill = value_ ? QColor(0x2e, 0x7d, 0x32) : QColor(0x9e, 0x9e, 0x9e);
  if (!live)
    fill = fill.lighter(160);
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  painter.drawRoundedRect(track, trackHeight / 2.0, trackHeight / 2.0);
  const qreal knob = trackHeight - 4;
  const qreal knobX = value_ ? track.right() - knob - 2 : track.left() + 2;
  painter.setBrush(live ? pal.color(QPalette::Base) : pal.color(QPalette::Window));
  painter.drawEllipse(QRectF(knobX, track.top() + 2, knob, knob));
  if (hasFocus()) {
    painter.setPen(QPen(pal.color(QPalette::Highlight), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(track.adjusted(-2, -2, 2, 2), trackHeight / 2.0 + 2, trackHeight / 2.0 + 2);
  }
  painter.setPen(live ? pal.color(QPalette::WindowText) : pal.color(QPalette::Disabled, QPalette::WindowText));
  painter.drawText(QRect(0, trackHeight + 4, width(), height() - trackHeight - 4), Qt::AlignHCenter | Qt::AlignTop,
                   Caption());
}

} // namespace vq
