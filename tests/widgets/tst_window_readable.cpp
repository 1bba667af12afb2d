// The window as a user reads it: in every register view, both calibration
// stages, the complete pause and after a measurement, no shown control sticks
// out of its frame or into a frame's title row, none lies on another, no
// caption is cut off, and the lines and columns of controls line up; every
// text stands out from its background by at least 4.5:1; and the window and
// the simulated board's windows fit the screen. All of it at the usual font,
// at 11 and 13 pt, and in a dark palette.
//
// The screen and the font are pinned, so the figures are the same on every
// machine: main() gives the offscreen platform one 1366x768 screen through a
// configuration file (QT_QPA_PLATFORM=offscreen:configfile=...), and the
// rows set "DejaVu Sans" (Debian's fonts-dejavu-core, installed by
// scripts/install-deps.sh) in the Fusion style. ctest runs the program a
// second time with QT_SCALE_FACTOR=1.5: the same screen seen as 910x512.
#include "panels/choice_list.h"
#include "panels/toggle_switch.h"
#include "tests/support/form_fixture.h"
#include "tests/support/simulated_program.h"
#include "windows/activity_window.h"
#include "windows/board_views.h"
#include "windows/front_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

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
    const QSize text(width(label->fontMetrics(), caption(label->text().trimmed())), label->fontMetrics().height());
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
          text = caption(label->text().trimmed());
      } else if (const auto *button = qobject_cast<const QAbstractButton *>(control)) {
        text = caption(button->text());
      } else if (const auto *frame = qobject_cast<const QGroupBox *>(control)) {
        text = caption(frame->title());
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

// The contrast ratio of two colours as the accessibility guidelines define
// it: (L1 + 0.05) / (L2 + 0.05) of their relative luminances.
double Luminance(const QColor &colour) {
  const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

double Contrast(const QColor &a, const QColor &b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every text of a window shown, in its colours: under 4.5:1 it is listed.
// Controls the user cannot use now (disabled, a locked switch) are exempt, as
// the guidelines exempt inactive controls.
QStringList FaintTexts(const QWidget &window) {
  QStringList problems;
  for (const QWidget *control : window.findChildren<QWidget *>()) {
    if (!control->isVisibleTo(&window) || !control->isEnabled())
      continue;
    const QPalette &pal = control->palette();
    QPalette::ColorRole text = control->foregroundRole(), ground = QPalette::Window;
    QString what;
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
      what = label->text();
    } else if (const auto *toggle = qobject_cast<const ToggleSwitch *>(control)) {
      if (!toggle->Flippable())
        continue;
      what = toggle->Caption();
    } else if (const auto *button = qobject_cast<const QPushButton *>(control)) {
      what = button->text(), text = QPalette::ButtonText, ground = QPalette::Button;
    } else if (const auto *box = qobject_cast<const QLineEdit *>(control)) {
      what = box->text(), text = QPalette::Text, ground = QPalette::Base;
    } else if (const auto *list = qobject_cast<const QComboBox *>(control)) {
      what = list->currentText(), text = QPalette::ButtonText, ground = QPalette::Button;
    } else if (const auto *frame = qobject_cast<const QGroupBox *>(control)) {
      what = frame->title();
    } else if (const auto *tick = qobject_cast<const QCheckBox *>(control)) {
      what = tick->text();
    }
    if (what.trimmed().isEmpty())
      continue;
    const double ratio = Contrast(pal.color(QPalette::Active, text), pal.color(QPalette::Active, ground));
    if (ratio < 4.5)
      problems
          << QStringLiteral("%1 \"%2\" has a contrast of %3:1").arg(control->objectName(), what).arg(ratio, 0, 'f', 2);
  }
  return problems;
}

// A window that sticks out of the screen's available area.
QStringList OffTheScreen(const QWidget &window) {
  const QRect available = window.screen()->availableGeometry();
  if (available.contains(window.frameGeometry()))
    return {};
  return {QStringLiteral("%1 at %2,%3 %4x%5 is not inside the screen's %6x%7")
              .arg(window.objectName())
              .arg(window.frameGeometry().x())
              .arg(window.frameGeometry().y())
              .arg(window.frameGeometry().width())
              .arg(window.frameGeometry().height())
              .arg(available.width())
              .arg(available.height())};
}

// A caption of a window's labels that its label cuts off.
QStringList CutOffLabels(const QWidget &window) {
  QStringList problems;
  for (const QLabel *label : window.findChildren<QLabel *>())
    if (label->isVisibleTo(&window) && !label->wordWrap() && !label->text().isEmpty() &&
        label->fontMetrics().boundingRect(QString(label->text()).remove('&')).width() > label->contentsRect().width())
      problems << label->objectName() + " cuts off " + label->text();
  return problems;
}

// What the rows set: the font size, and the palette.
struct Look {
  int PointSize;
  bool Dark;
};

QPalette DarkPalette() {
  QPalette dark;
  const QColor text(0xe8, 0xe8, 0xe8), faint(0x9a, 0x9a, 0x9a);
  const std::pair<QPalette::ColorRole, QColor> roles[] = {{QPalette::Window, QColor(0x2b, 0x2b, 0x2b)},
                                                          {QPalette::WindowText, text},
                                                          {QPalette::Base, QColor(0x1e, 0x1e, 0x1e)},
                                                          {QPalette::AlternateBase, QColor(0x33, 0x33, 0x33)},
                                                          {QPalette::Text, text},
                                                          {QPalette::Button, QColor(0x3a, 0x3a, 0x3a)},
                                                          {QPalette::ButtonText, text},
                                                          {QPalette::BrightText, Qt::white},
                                                          {QPalette::Light, QColor(0x55, 0x55, 0x55)},
                                                          {QPalette::Midlight, QColor(0x48, 0x48, 0x48)},
                                                          {QPalette::Mid, QColor(0x40, 0x40, 0x40)},
                                                          {QPalette::Dark, QColor(0x20, 0x20, 0x20)},
                                                          {QPalette::Shadow, Qt::black},
                                                          {QPalette::Highlight, QColor(0x35, 0x84, 0xe4)},
                                                          {QPalette::HighlightedText, Qt::white},
                                                          {QPalette::Link, QColor(0x8a, 0xb4, 0xf8)},
                                                          {QPalette::ToolTipBase, QColor(0x3a, 0x3a, 0x3a)},
                                                          {QPalette::ToolTipText, text},
                                                          {QPalette::PlaceholderText, faint}};
  for (const auto &[role, colour] : roles)
    dark.setColor(role, colour);
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    dark.setColor(QPalette::Disabled, role, faint);
  return dark;
}

void Apply(const Look &look) {
  QApplication::setPalette(look.Dark ? DarkPalette() : QApplication::style()->standardPalette());
  QFont font(QStringLiteral("DejaVu Sans"), look.PointSize);
  QApplication::setFont(font);
}

} // namespace

const Look Looks[] = {{9, false}, {11, false}, {13, false}, {9, true}};

QString LookName(const Look &look) {
  return QStringLiteral("%1 pt%2").arg(look.PointSize).arg(look.Dark ? QStringLiteral(", dark") : QString());
}

class WindowReadableTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void everyShownControlIsReadable_data();
  void everyShownControlIsReadable();
  void boardWindowsFitTheScreenAndAreReadable_data();
  void boardWindowsFitTheScreenAndAreReadable();

private:
  void AddLooks();
};

void WindowReadableTest::init() {
  // The font the rows use must be the one they asked for, or the figures
  // would depend on the machine.
  QCOMPARE(QFontInfo(QFont(QStringLiteral("DejaVu Sans"), 9)).family(), QStringLiteral("DejaVu Sans"));
}

void WindowReadableTest::AddLooks() {
  QTest::addColumn<int>("pointSize");
  QTest::addColumn<bool>("dark");
}

void WindowReadableTest::everyShownControlIsReadable_data() {
  AddLooks();
  QTest::addColumn<QString>("view");
  for (const Look &look : Looks)
    for (const char *view :
         {"Function Register", "Data Register", "Coarse Gain Register", "Fine Gain Register", "Offset Register",
          "offset stage", "zero scale stage", "calibration complete", "after a measurement"})
      QTest::addRow("%s, %s", view, qPrintable(LookName(look))) << look.PointSize << look.Dark << QString(view);
}

void WindowReadableTest::everyShownControlIsReadable() {
  QFETCH(int, pointSize);
  QFETCH(bool, dark);
  QFETCH(QString, view);
  Apply({pointSize, dark});
  RecordingForm f;
  QVERIFY(f.fixture.Start());
  MainWindowControls &ui = f.fixture.Controls();
  QStringList problems;
  int pauses = 0;
  const auto check = [&] {
    problems = Unreadable(f.fixture.Window()) + FaintTexts(f.fixture.Window()) + OffTheScreen(f.fixture.Window());
  };
  f.fixture.Window().Calibration().SetCompletePause([&] {
    ++pauses;
    check();
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
    check();
  QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
}

void WindowReadableTest::boardWindowsFitTheScreenAndAreReadable_data() {
  AddLooks();
  for (const Look &look : Looks)
    QTest::addRow("%s", qPrintable(LookName(look))) << look.PointSize << look.Dark;
}

// The simulated board's front panel and Board Activity, opened as the user
// opens them, with the main window.
void WindowReadableTest::boardWindowsFitTheScreenAndAreReadable() {
  QFETCH(int, pointSize);
  QFETCH(bool, dark);
  Apply({pointSize, dark});
  SimulatedProgram program(false);
  QVERIFY(program.fixture.Start());
  MainWindow &form = program.fixture.Window();
  program.fixture.Find<QAction>("MnuActivity")->trigger();
  auto *panel = form.findChild<FrontPanel *>();
  auto *activity = form.findChild<ActivityWindow *>();
  QVERIFY(panel != nullptr && panel->isVisible());
  QVERIFY(activity != nullptr && activity->isVisible());
  QStringList problems;
  for (const QWidget *window : std::initializer_list<const QWidget *>{&form, panel, activity})
    problems << OffTheScreen(*window) << FaintTexts(*window) << CutOffLabels(*window);
  QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
}

int main(int argc, char **argv) {
  QTemporaryDir directory;
  QFile screens(directory.filePath(QStringLiteral("screens.json")));
  if (!directory.isValid() || !screens.open(QIODevice::WriteOnly))
    qFatal("cannot write the offscreen screen's configuration");
  screens.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768,)"
                R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  screens.close();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication app(argc, argv);
  QTEST_SET_MAIN_SOURCE_PATH
  WindowReadableTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_window_readable.moc"
