// Creating a control at its design position under its design name. Every
// panel builds its frame with these, so the window's geometry reads as one
// table per frame.
#pragma once

#include "panels/toggle_switch.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QString>

#include <utility>

namespace vq {

constexpr int TwipsPerPixel = 15;
constexpr int Px(int twips) {
  return twips / TwipsPerPixel;
}

template <typename Control, typename... Args>
Control *Place(QWidget *parent, const char *designName, QRect geometry, Args &&...args) {
  auto *control = new Control(std::forward<Args>(args)..., parent);
  control->setObjectName(QString::fromLatin1(designName));
  control->setGeometry(geometry);
  return control;
}

inline QGroupBox *PlaceFrame(QWidget *parent, const char *designName, const QString &caption, QRect geometry) {
  return Place<QGroupBox>(parent, designName, geometry, caption);
}

inline QLabel *PlaceLabel(QWidget *parent, const char *designName, const QString &text, QRect geometry) {
  return Place<QLabel>(parent, designName, geometry, text);
}

inline QPushButton *PlaceButton(QWidget *parent, const char *designName, const QString &caption, QRect geometry) {
  return Place<QPushButton>(parent, designName, geometry, caption);
}

inline QLineEdit *PlaceBox(QWidget *parent, const char *designName, const QString &text, QRect geometry) {
  return Place<QLineEdit>(parent, designName, geometry, text);
}

inline ToggleSwitch *PlaceSwitch(QWidget *parent, const char *designName, const QString &off, const QString &on,
                                 QRect geometry) {
  return Place<ToggleSwitch>(parent, designName, geometry, off, on);
}

// A sunken panel that shows a value.
inline void ShowAsReadout(QLabel *label) {
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
}

} // namespace vq
