#include "windows/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vq {

// A chip with a staircase: a converter turning codes into a voltage.
QPixmap DrawProgramIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);
  painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 1.2));
  for (int pin = 0; pin < 4; ++pin) {
    painter.drawLine(QPointF(9 + pin * 5, 1), QPointF(9 + pin * 5, 5));
    painter.drawLine(QPointF(9 + pin * 5, 27), QPointF(9 + pin * 5, 31));
  }
  painter.setBrush(QColor(0x1f, 0x3a, 0x68));
  painter.drawRoundedRect(QRectF(4, 5, 24, 22), 2.5, 2.5);
  QPainterPath steps;
  steps.moveTo(8, 23);
  for (int i = 0; i < 4; ++i) {
    steps.lineTo(8 + i * 4, 23 - i * 4);
    steps.lineTo(12 + i * 4, 23 - i * 4);
  }
  painter.setPen(QPen(QColor(0xff, 0xc1, 0x07), 2.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(steps);
  return pixmap;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64})
    icon.addPixmap(DrawProgramIcon(size));
  return icon;
}

} // namespace vq
