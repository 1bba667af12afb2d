// The main window: composes the panels, holds all wiring between them, the
// menus, the start of the board session and the lifecycle.
#pragma once

#include "board/board_link.h"
#include "board/board_session.h"
#include "board/serial_access.h"
#include "boardlog/register_model.h"
#include "panels/board_access.h"
#include "panels/calibration_panel.h"
#include "panels/function_switches.h"
#include "panels/hardware_switches.h"
#include "panels/program_values.h"
#include "panels/register_panel.h"
#include "panels/status_line.h"
#include "panels/temperature_panel.h"
#include "setup/board_setup.h"
#include "windows/about_box.h"
#include "windows/board_views.h"
#include "windows/register_map_window.h"

#include <QMainWindow>
#include <QPointer>

#include <optional>

namespace vq {

// The title of the program's message boxes and of its About box.
inline constexpr const char *ApplicationTitle = "VQ8231 Evaluation Software";

// What differs between VQ8231(version2) and the earlier build VQ8231 above
// the board link.
struct ProgramVariant {
  ProgramVersion Version;
};

class MainWindow : public QMainWindow {
  Q_OBJECT
public:
  MainWindow(ProgramValues &values, BoardLink &link, BoardSession &session, ProgramVariant variant,
             QWidget *parent = nullptr);
  ~MainWindow() override;

  // Starts the board session and brings the window into the state in which
  // the user first sees it. Returns false when the firmware download failed:
  // the message has been shown and the window must not appear.
  bool Start();

  BoardAccess &Board() { return board_; }
  StatusLine &Status() { return statusLine_; }
  CalibrationPanel &Calibration() { return calibration_; }
  AboutBox *About() const { return about_; }
  // What the converter holds, as far as the board calls tell.
  RegisterModel &Registers() { return registers_; }
  RegisterMapWindow &RegisterMap() { return *registerMap_; }
  // Whether a request said the board was lost and no reconnect has
  // succeeded since.
  bool Disconnected() const { return disconnected_; }

  // Setup files (setup_commands.cpp). Opening checks the whole file before
  // anything reaches the board, loads it and shows it on the controls;
  // returns the refusal it showed (empty when the setup was loaded). Saving
  // reads every register first, as "Read All" does; returns whether saved.
  QString OpenSetupFile(const QString &path);
  bool SaveSetupFile(const QString &path);

signals:
  // The user closed the window or chose "E&xit": the program ends at once.
  void endRequested();

protected:
  void closeEvent(QCloseEvent *event) override;

private:
  void BuildMenus();
  void LayOutFrames();
  void Wire();
  // The steps that make the window agree with the converter and the board
  // before the user sees it (initial_state.cpp).
  void ApplyInitialState();
  void ShowFunctionOptions(int32_t functionWord);
  void ShowActionOutcome(const std::optional<BoardCall> &failure, const QString &note);
  // Disconnected: every control that would talk to the board is disabled,
  // everything else stays readable, and the status bar offers Reconnect.
  void ShowDisconnected(bool disconnected);
  // The program-wide values back to their start values and the initial
  // state run again, as on a fresh start on the board found again.
  void StartAfresh();
  // After a reconnect: whether the user wants the settings known before the
  // loss back, and writing them as opening a setup does.
  bool AskToRestore();
  void RestoreSetup(const BoardSetup &setup);
  // Which board the program drives, once the library is loaded.
  QString BoardName() const;
  void onExitChosen();
  void onAboutChosen();
  void onRegisterMapChosen();
  void onReconnectChosen();
  void onOpenSetupChosen();
  void onSaveSetupChosen();
  // The controls and the program's values after a setup was loaded, as if
  // the user had set each by hand.
  void ShowLoadedSetup(const BoardSetup &setup);

  ProgramValues &values_;
  BoardLink &link_;
  BoardSession &session_;
  ProgramVariant variant_;
  // Hears every call from the first one on, so it is made before the rest.
  RegisterModel registers_;
  SerialAccess serial_;
  BoardAccess board_;
  PanelContext context_;
  QWidget *client_;
  RegisterPanel registerPanel_;
  FunctionSwitches functionSwitches_;
  HardwareSwitches hardwareSwitches_;
  TemperaturePanel temperature_;
  CalibrationPanel calibration_;
  StatusLine statusLine_;
  QPointer<AboutBox> about_;
  RegisterMapWindow *registerMap_;
  bool disconnected_ = false;
  // What the register model knew when a reconnect was first tried, kept
  // while the board stays lost: a failed session has made the model forget.
  std::optional<BoardSetup> knownBeforeLoss_;
  BoardViews *boardViews_;
};

} // namespace vq
