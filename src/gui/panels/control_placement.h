// Creating a control under its design name, and the few layout rules the
// panels share. The panels arrange their controls with Qt layouts in the
// window design's order and rows, so every caption gets the room its text
// needs at the user's font and scale.
#pragma once

#include "panels/toggle_switch.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace vq {

template <typename Control, typename... Args> Control *Place(QWidget *parent, const char *designName, Args &&...args) {
  auto *control = new Control(std::forward<Args>(args)..., parent);
  control->setObjectName(QString::fromLatin1(designName));
  return control;
}

inline QGroupBox *PlaceFrame(QWidget *parent, const char *designName, const QString &caption) {
  return Place<QGroupBox>(parent, designName, caption);
}

inline QLabel *PlaceLabel(QWidget *parent, const char *designName, const QString &text) {
  return Place<QLabel>(parent, designName, text);
}

// Return and Enter press a focused button, as Space does.
inline QPushButton *PlaceButton(QWidget *parent, const char *designName, const QString &caption) {
  auto *button = Place<QPushButton>(parent, designName, caption);
  button->setAutoDefault(true);
  return button;
}

inline QLineEdit *PlaceBox(QWidget *parent, const char *designName, const QString &text) {
  return Place<QLineEdit>(parent, designName, text);
}

inline ToggleSwitch *PlaceSwitch(QWidget *parent, const char *designName, const QString &off, const QString &on) {
  return Place<ToggleSwitch>(parent, designName, off, on);
}

// A frame holding one switch, which fills it.
inline QGroupBox *SwitchFrame(QWidget *parent, const char *designName, const QString &caption, ToggleSwitch *&toggle,
                              const char *switchName, const QString &off, const QString &on) {
  QGroupBox *frame = PlaceFrame(parent, designName, caption);
  toggle = PlaceSwitch(frame, switchName, off, on);
  (new QVBoxLayout(frame))->addWidget(toggle);
  return frame;
}

// What assistive technology calls a control (unique in its window) and what
// its tooltip says it does.
inline void Describe(QWidget *control, const QString &name, const QString &tip) {
  control->setAccessibleName(name);
  control->setToolTip(tip);
}

// Controls that take each other's place keep their room while hidden, so the
// others do not move when the view changes.
inline void KeepRoomWhenHidden(std::initializer_list<QWidget *> controls) {
  for (QWidget *control : controls) {
    QSizePolicy policy = control->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    control->setSizePolicy(policy);
  }
}

// Controls of one kind side by side are as wide as the widest of them.
inline void SameWidth(std::initializer_list<QWidget *> controls) {
  int widest = 0;
  for (QWidget *control : controls)
    widest = std::max({widest, control->sizeHint().width(), control->minimumSizeHint().width()});
  for (QWidget *control : controls)
    control->setMinimumWidth(widest);
}

// A sunken panel that shows a value, as wide as the widest value it shows so
// that the row does not move when the value changes.
inline void ShowAsReadout(QLabel *label, const QString &widestValue) {
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
  const QMargins margins = label->contentsMargins();
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widestValue) + margins.left() + margins.right() +
                         2 * label->frameWidth() + 2 * label->fontMetrics().averageCharWidth());
}

} // namespace vq
