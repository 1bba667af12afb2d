// Drives the register panel of a started window as a user would, and reads
// back what it shows. Shared by the register panel's window tests.
#pragma once

#include "tests/support/form_fixture.h"

#include <QString>
#include <QStringList>

class QLineEdit;
class QPushButton;

namespace vq {
class ToggleSwitch;
}

namespace vq::test {

// A window on a recording board, started; the start-up requests are dropped.
struct LoadedPanel {
  explicit LoadedPanel(bool earlierBuild = false);
  RecordingForm form;
  MainWindow &Window() { return form.Window(); }
  MainWindowControls &Controls() { return form.Controls(); }
  ProgramValues &Values() { return form.fixture.values; }
  BoardAccess &Board() { return form.Window().Board(); }
  RecordingLink &Link() { return form.link; }
  QStringList Taken() { return test::Taken(form.link); }
};

// A user's choice of the entry with this exact text; fails the test when the
// list has no such entry.
void Choose(ChoiceList *list, const QString &text);
// Replaces the box's text and presses Return in it.
void Enter(QLineEdit *box, const QString &text);
void Click(QPushButton *button);
// A click on the switch's middle, as a user flips it.
void Flip(ToggleSwitch *toggle);

// The sixteen D labels, D15 first ("0000101010111100").
QString DataBits(const MainWindowControls &ui);
// The REG labels, then the A labels ("010" "001").
QString RegisterBits(const MainWindowControls &ui);
QString AddressBits(const MainWindowControls &ui);
// The range list's choice for a coarse gain code; empty for -1 (none).
QString RangeChoiceText(int code);
// The text of a view's own field, named by its design name: a box's text or
// the range list's choice.
QString FieldText(const MainWindowControls &ui, const QString &field);
// Design names of the entry area's controls that are not hidden, in layout
// order.
QString ShownEntryArea(const MainWindowControls &ui);

} // namespace vq::test
