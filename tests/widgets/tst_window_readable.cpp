// The window as a user reads it: in every register view, both calibration
// stages, the complete pause and after a measurement, no shown control sticks
// out of its frame or into a frame's title row, none lies on another, no
// caption is cut off, and the lines and columns of controls line up.
#include "panels/choice_list.h"
#include "panels/toggle_switch.h"
#include "tests/support/form_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QtTest>

using namespace vq;
using namespace vq::test;

namespace {

// What keeps a user from reading the window: a shown control outside its
// frame or in the row of the frame's title, two shown controls on top of each
// other, a caption that its control cuts off, a line of controls out of line.
QStringList Unreadable(const QWidget &form) {
  QStringList problems;
  QList<const QWidget *> containers{form.findChild<QWidget *>("Frame1")->parentWidget()};
  for (const QGroupBox *frame : form.findChildren<QGroupBox *>())
    containers << frame;
  const auto caption = [](QString text) { return text.replace("&&", "\x01").remove('&').replace('\x01', '&'); };
  const auto width = [](const QFontMetrics &metrics, const QString &text) {
    return text.isEmpty() ? 0 : metrics.boundingRect(text).width();
  };
  // Where a control shows something: a label only where its text is.
  const auto inked = [&](const QWidget *control) {
    const auto *label = qobject_cast<const QLabel *>(control);
    if (label == nullptr || label->wordWrap() || label->frameShape() != QFrame::NoFrame)
      return control->geometry();
    const QSize text(width(label->fontMetrics(), label->text().trimmed()), label->fontMetrics().height());
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(), text, label->contentsRect())
        .translated(label->pos());
  };
  for (const QWidget *container : containers) {
    if (!container->isVisibleTo(&form))
      continue;
    QRect title;
    if (const auto *frame = qobject_cast<const QGroupBox *>(container); frame != nullptr && !frame->title().isEmpty()) {
      QStyleOptionGroupBox option;
      option.initFrom(frame);
      option.text = frame->title();
      option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
      title = frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
    }
    QList<const QWidget *> shown;
    for (const QObject *child : container->children()) {
      const auto *control = qobject_cast<const QWidget *>(child);
      if (control != nullptr && !control->objectName().isEmpty() && control->isVisibleTo(&form))
        shown << control;
    }
    for (const QWidget *control : shown) {
      const QString name = control->objectName();
      const QRect area = control->contentsRect();
      const QFontMetrics metrics = control->fontMetrics();
      if (!container->rect().contains(control->geometry()))
        problems << name + " sticks out of " + container->objectName();
      if (title.isValid() && inked(control).top() <= title.bottom())
        problems << name + " reaches into the title row of " + container->objectName();
      QString text;
      if (const auto *label = qobject_cast<const QLabel *>(control)) {
        if (label->wordWrap() && label->heightForWidth(area.width()) > area.height())
          problems << name + " is cut off below";
        if (!label->wordWrap())
          text = label->text().trimmed();
      } else if (const auto *button = qobject_cast<const QAbstractButton *>(control)) {
        text = caption(button->text());
      } else if (const auto *frame = qobject_cast<const QGroupBox *>(control)) {
        text = frame->title();
      } else if (const auto *box = qobject_cast<const QLineEdit *>(control)) {
        text = box->text();
      } else if (const auto *list = qobject_cast<const QComboBox *>(control)) {
        for (int n = 0; n < list->count(); ++n)
          if (width(metrics, list->itemText(n)) > area.width())
            problems << name + " cuts off " + list->itemText(n);
      }
      if (width(metrics, text) > area.width())
        problems << name + " cuts off " + text;
      if (metrics.height() > area.height())
        problems << name + " is lower than a line of text";
      for (const QWidget *other : shown.mid(shown.indexOf(control) + 1))
        if (inked(other).intersects(inked(control)))
          problems << name + " lies on " + other->objectName();
    }
  }
  // Controls that line up: those read as one line share its centre line,
  // left to right; a column shares its left edge; the controls of the stages
  // that take each other's place take the same place, and so do switches of
  // one kind in their frames.
  enum Edges { Left = 1, Right = 2, Middle = 4, InOrder = 8, Width = 16 };
  const struct {
    int edges;
    QStringList names;
  } lines[] = {
      {Middle | InOrder, {"Label1", "Label29"}},
      {Middle | InOrder, {"ComboReg", "ComboAddr", "Command1", "Label27", "TextData", "Command2", "TextVolts"}},
      {Left, {"Label1", "TextData"}},
      {Left, {"Label29", "TextVolts"}},
      {Left | Middle, {"Label1", "Label5", "Label7", "Label9"}},
      {Left | Middle, {"TextData", "ComboCoarse", "TextFine", "TextOffset"}},
      {Middle | InOrder, {"Label19", "Label23"}},
      {Middle | InOrder, {"Label21", "Label25"}},
      {Left, {"Label19", "Label21"}},
      {Left | Right, {"Label23", "Label25"}},
      {Left, {"Command7", "Command8", "LabelOff1"}},
      {Middle | InOrder, {"LabelOff1", "LabelOff2", "TextOff", "CommandOff"}},
      {Middle | InOrder, {"LabelFS1", "LabelFS2", "TextFS", "CommandFS"}},
      {Left | Right | Middle, {"LabelOff1", "LabelFS1", "LabelComplete"}},
      {Left | Right | Middle, {"LabelOff2", "LabelFS2"}},
      {Left | Right | Middle, {"TextOff", "TextFS"}},
      {Left | Right | Middle, {"CommandOff", "CommandFS"}},
      {Middle | InOrder | Width, {"Frame7", "Frame9"}},
      {Middle | InOrder, {"Frame7", "Frame9", "Frame8"}},
      {Left | Right | Middle, {"Toggle1", "Toggle7"}},
      {Middle | InOrder | Width, {"Frame11", "Frame10"}},
      {Middle | InOrder | Width, {"Toggle3", "Toggle5"}},
      {Middle | InOrder | Width, {"Toggle4", "Toggle6"}},
      {Left | Right | Middle, {"Toggle3", "Toggle4"}},
      {Left | Right | Middle, {"Toggle5", "Toggle6"}},
      {Middle | InOrder | Width, {"Command4", "Command5"}},
      {Middle | InOrder, {"Frame13", "Frame14", "Frame15", "Frame16", "Frame21", "Frame20"}},
      {Left | Right | Middle, {"Toggle2", "Toggle8", "Toggle10", "Toggle12", "Toggle11"}},
  };
  for (const auto &line : lines) {
    const QRect first = form.findChild<QWidget *>(line.names[0])->geometry();
    QRect before = first;
    for (const QString &name : line.names.mid(1)) {
      const QRect at = form.findChild<QWidget *>(name)->geometry();
      if ((line.edges & Left && at.left() != first.left()) || (line.edges & Right && at.right() != first.right()) ||
          (line.edges & Middle && 2 * at.y() + at.height() != 2 * first.y() + first.height()) ||
          (line.edges & InOrder && at.left() <= before.right()) || (line.edges & Width && at.width() != first.width()))
        problems << name + " is out of line with " + line.names.join(' ');
      before = at;
    }
  }
  // Values the program shows stand apart from captions, all in one kind of box.
  const auto *model = form.findChild<QLabel *>("Label27");
  for (const char *readout : {"Label27", "Label23", "Label25"}) {
    const auto *label = form.findChild<QLabel *>(readout);
    if (label->frameShape() == QFrame::NoFrame || label->frameStyle() != model->frameStyle())
      problems << QString(readout) + " does not look like the other values";
  }
  return problems;
}

} // namespace

class WindowReadableTest : public QObject {
  Q_OBJECT
private slots:
  void everyShownControlIsReadable_data();
  void everyShownControlIsReadable();
};

void WindowReadableTest::everyShownControlIsReadable_data() {
  QTest::addColumn<QString>("view");
  for (const char *view :
       {"Function Register", "Data Register", "Coarse Gain Register", "Fine Gain Register", "Offset Register",
        "offset stage", "zero scale stage", "calibration complete", "after a measurement"})
    QTest::newRow(view) << view;
}

void WindowReadableTest::everyShownControlIsReadable() {
  QFETCH(QString, view);
  RecordingForm f;
  QVERIFY(f.fixture.Start());
  MainWindowControls &ui = f.fixture.Controls();
  QStringList problems;
  int pauses = 0;
  f.fixture.Window().Calibration().SetCompletePause([&] {
    ++pauses;
    problems = Unreadable(f.fixture.Window());
  });
  if (view.endsWith("Register")) {
    const int index = ui.RegisterList->findText(view);
    ui.RegisterList->setCurrentIndex(index);
    emit ui.RegisterList->activated(index);
  } else if (view == "after a measurement") {
    f.link.Sample = 0; // the longest temperature: "-271"
    QTest::mouseClick(ui.MeasureButton, Qt::LeftButton);
  } else {
    QTest::mouseClick(ui.CalibrationButton, Qt::LeftButton);
    if (view != "offset stage")
      QTest::mouseClick(ui.OffsetDoneButton, Qt::LeftButton);
    if (view == "calibration complete") {
      ui.ZeroScaleReadingBox->setText("-4.095");
      QTest::mouseClick(ui.ZeroScaleDoneButton, Qt::LeftButton);
      QCOMPARE(pauses, 1);
    }
  }
  if (view != "calibration complete")
    problems = Unreadable(f.fixture.Window());
  QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
}

QTEST_MAIN(WindowReadableTest)
#include "tst_window_readable.moc"
