// Drives the register panel of a loaded window as a user would, and reads
// back what it shows. Shared by the register panel's window tests.
#pragma once

#include "tests/support/form_fixture.h"

#include <QString>
#include <QStringList>

class QLineEdit;
class QPushButton;

namespace vq::test {

// A window on a recording board, loaded; the start-up requests are dropped.
struct LoadedPanel {
  LoadedPanel();
  RecordingForm form;
  MainFormControls &ui() { return form.fixture.ui(); }
  ProgramValues &values() { return form.fixture.values; }
  SerialAccess &board() { return form.fixture.form->Board(); }
  RecordingLink &link() { return form.link; }
  QStringList Taken() { return link().Take(); }
};

// A user's choice of the entry with this exact text; fails the test when the
// list has no such entry.
void Choose(ChoiceList *list, const QString &text);
// Replaces the box's text and presses Return in it.
void Enter(QLineEdit *box, const QString &text);
void Click(QPushButton *button);

// The sixteen D labels, D15 first ("0000101010111100").
QString DataBits(const MainFormControls &ui);
// The REG labels, then the A labels ("010" "001").
QString RegisterBits(const MainFormControls &ui);
QString AddressBits(const MainFormControls &ui);
// The range list's entry for a coarse gain code; empty for -1 (none).
QString CoarseEntryText(int code);
// The text of a view's own field: a box's text or the range list's choice.
QString FieldText(const MainFormControls &ui, const QString &field);
// Names of the entry area's controls that are not hidden, in layout order.
QString ShownEntryArea(const MainFormControls &ui);

} // namespace vq::test
