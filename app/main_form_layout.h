// Creates the main window's frames and controls at their design positions.
#pragma once

#include "panels/main_form_controls.h"

class QWidget;

namespace vq {

constexpr int TwipsPerPixel = 15;
constexpr int Px(int twips) {
  return twips / TwipsPerPixel;
}

// Client area of the main window: 14670 x 8310 twips.
constexpr int ClientWidth = Px(14670);
constexpr int ClientHeight = Px(8310);

void BuildMainFormLayout(QWidget *client, MainFormControls &ui);

} // namespace vq
