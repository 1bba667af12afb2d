// A main window on a board link, started as the program starts it, for tests
// that drive the real widgets.
#pragma once

#include "app/main_window.h"
#include "tests/support/message_answerer.h"
#include "tests/support/recording_link.h"
#include "tests/support/window_controls.h"

#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>

namespace vq::test {

class FormFixture {
public:
  // A window on `link`; the firmware is looked for in `programDirectory`.
  FormFixture(BoardLink &link, std::string programDirectory = VQ_BIN_DIR, bool earlierBuild = false);
  ~FormFixture();

  bool Start(); // starts the board session and shows the window when it succeeds

  MainWindow &Window() { return *window_; }
  MainWindowControls &Controls() { return *controls_; }

  template <typename Widget> Widget *Find(const QString &name) const {
    auto *widget = window_->findChild<Widget *>(name);
    if (widget == nullptr)
      qFatal("no control named %s", qPrintable(name));
    return widget;
  }

  ProgramValues values;
  BoardSession session;
  MessageAnswerer answerer;

private:
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<MainWindowControls> controls_;
};

// The usual case: a window on a recording board.
struct RecordingForm {
  explicit RecordingForm(bool earlierBuild = false) : link(earlierBuild), fixture(link, VQ_BIN_DIR, earlierBuild) {}
  RecordingLink link;
  FormFixture fixture;
  MainWindow &Window() { return fixture.Window(); }
  MainWindowControls &Controls() { return fixture.Controls(); }
};

// The two programs, for tests of what both do alike.
struct Program {
  const char *Name;
  bool EarlierBuild;
};
inline constexpr Program BothPrograms[] = {{"VQ8231(version2)", false}, {"VQ8231", true}};

// The requests the link recorded since the last look, described, and
// forgotten.
QStringList Taken(RecordingLink &link);
// The two identical transfers of one register read, described.
QStringList Read(WordAddress address);

} // namespace vq::test
