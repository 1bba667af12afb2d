// A main window on a board link, loaded as the program loads it, for tests
// that drive the real widgets.
#pragma once

#include "app/main_form.h"
#include "tests/support/message_answerer.h"
#include "tests/support/recording_link.h"
#include "tests/support/window_controls.h"

#include <QWidget>
#include <memory>

namespace vq::test {

class FormFixture {
public:
  // A window on `link`; the firmware is looked for in `programDirectory`.
  FormFixture(BoardLink &link, std::string programDirectory = VQ_BIN_DIR, bool earlierBuild = false);
  ~FormFixture();

  bool Load(); // runs the load handler and shows the window when it succeeds

  template <typename Widget> Widget *Find(const QString &name) const {
    auto *widget = form->findChild<Widget *>(name);
    if (widget == nullptr)
      qFatal("no control named %s", qPrintable(name));
    return widget;
  }

  ProgramValues values;
  BoardSession session;
  MessageAnswerer answerer;
  std::unique_ptr<MainForm> form;
  std::unique_ptr<MainFormControls> controls;
  MainFormControls &ui() { return *controls; }
};

// The usual case: a window on a recording board.
struct RecordingForm {
  explicit RecordingForm(bool earlierBuild = false) : link(earlierBuild), fixture(link, VQ_BIN_DIR, earlierBuild) {}
  RecordingLink link;
  FormFixture fixture;
};

} // namespace vq::test
