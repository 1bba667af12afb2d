// The main window: its frames and menus, its load handler and lifecycle.
// The handlers themselves live in the panels; Wire() connects them.
#pragma once

#include "board/board_link.h"
#include "board/board_session.h"
#include "board/serial_access.h"
#include "forms/about_form.h"
#include "panels/calibration_panel.h"
#include "panels/initial_state.h"
#include "panels/main_form_controls.h"
#include "panels/program_values.h"
#include "panels/register_panel.h"
#include "panels/switch_panel.h"
#include "panels/temperature_panel.h"
#include "panels/value_entry.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QMenu;

namespace vq {

// What differs between VQ8231(version2) and the earlier build VQ8231 above
// the board link.
struct ProgramVariant {
  bool EarlierBuild = false;
  ProgramVersion Version;
};

class MainForm : public QMainWindow, private RegisterAccessView {
  Q_OBJECT
public:
  MainForm(ProgramValues &values, BoardLink &link, BoardSession &session, ProgramVariant variant,
           QWidget *parent = nullptr);

  // The load handler. Returns false when the firmware download failed; the
  // message has been shown and the window must not appear.
  bool Form_Load();

  MainFormControls &Controls() { return ui_; }
  SerialAccess &Board() { return board_; }
  CalibrationPanel &Calibration() { return calibration_; }
  AboutForm *About() const { return about_; }

signals:
  // The user closed the window or chose "E&xit": the program ends at once.
  void ProgramEnd();

protected:
  void closeEvent(QCloseEvent *event) override;

private:
  bool PulseAfterDataWrite() const override;
  void ShowReadWriteBit(int16_t bit) override;

  void BuildMenus();
  void Wire();
  void MnuExit_Click();
  void MnuAbout_Click();

  ProgramValues &values_;
  BoardLink &link_;
  BoardSession &session_;
  ProgramVariant variant_;
  MainFormControls ui_;
  SerialAccess board_;
  PanelContext context_;
  RegisterPanel registerPanel_;
  ValueEntry valueEntry_;
  SwitchPanel switches_;
  InitialState initialState_;
  TemperaturePanel temperature_;
  CalibrationPanel calibration_;
  QPointer<AboutForm> about_;
};

} // namespace vq
