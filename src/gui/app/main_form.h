// The main window: composes the panels, holds all wiring between them, the
// menus, the load handler and the lifecycle.
#pragma once

#include "board/board_link.h"
#include "board/board_session.h"
#include "board/serial_access.h"
#include "windows/about_form.h"
#include "panels/calibration_panel.h"
#include "panels/function_switches.h"
#include "panels/hardware_switches.h"
#include "panels/program_values.h"
#include "panels/register_panel.h"
#include "panels/register_words.h"
#include "panels/temperature_panel.h"

#include <QMainWindow>
#include <QPointer>

namespace vq {

// What differs between VQ8231(version2) and the earlier build VQ8231 above
// the board link.
struct ProgramVariant {
  ProgramVersion Version;
};

// Client area of the main window: 14670 x 8310 twips.
constexpr int ClientWidth = 14670 / 15;
constexpr int ClientHeight = 8310 / 15;

class MainForm : public QMainWindow {
  Q_OBJECT
public:
  MainForm(ProgramValues &values, BoardLink &link, BoardSession &session, ProgramVariant variant,
           QWidget *parent = nullptr);

  // The load handler. Returns false when the firmware download failed; the
  // message has been shown and the window must not appear.
  bool Form_Load();

  SerialAccess &Board() { return board_; }
  CalibrationPanel &Calibration() { return calibration_; }
  AboutForm *About() const { return about_; }

signals:
  // The user closed the window or chose "E&xit": the program ends at once.
  void ProgramEnd();

protected:
  void closeEvent(QCloseEvent *event) override;

private:
  void BuildMenus();
  void Wire();
  // The steps that make the window agree with the converter and the board
  // before the user sees it (initial_state.cpp).
  void ApplyInitialState();
  void ShowFunctionOptions(int32_t functionWord);
  void onExitChosen();
  void onAboutChosen();

  ProgramValues &values_;
  BoardLink &link_;
  BoardSession &session_;
  ProgramVariant variant_;
  SerialAccess board_;
  RegisterWords registers_;
  PanelContext context_;
  QWidget *client_;
  RegisterPanel registerPanel_;
  FunctionSwitches functionSwitches_;
  HardwareSwitches hardwareSwitches_;
  TemperaturePanel temperature_;
  CalibrationPanel calibration_;
  QPointer<AboutForm> about_;
};

} // namespace vq
