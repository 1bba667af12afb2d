// Makes the README's screenshots from the running program: the main window
// on the simulated board after a short session, the front panel and the
// Board Activity window, each grabbed offscreen into a PNG file.
// Usage: vq_screenshots <output directory>
#include "app/main_window.h"
#include "board/board_session.h"
#include "board/four_operation_link.h"
#include "panels/choice_list.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>

namespace {

template <typename Control> Control *Find(const QWidget *root, const char *name) {
  auto *control = root->findChild<Control *>(QString::fromLatin1(name));
  if (control == nullptr)
    qFatal("no control named %s", name);
  return control;
}

QWidget *TopLevel(const char *name) {
  for (QWidget *widget : QApplication::topLevelWidgets())
    if (widget->objectName() == QLatin1String(name) && widget->isVisible())
      return widget;
  qFatal("no window named %s is shown", name);
}

void Choose(vq::ChoiceList *list, const char *entry) {
  const int index = list->findText(QString::fromUtf8(entry));
  list->setCurrentIndex(index);
  emit list->activated(index);
}

void Enter(QLineEdit *box, const char *text) {
  box->setText(QString::fromUtf8(text));
  QTest::keyClick(box, Qt::Key_Return);
}

void Save(QWidget *window, const QDir &directory, const char *file) {
  QApplication::processEvents();
  const QString path = directory.filePath(QString::fromLatin1(file));
  if (!window->grab().save(path))
    qFatal("cannot write %s", qPrintable(path));
  std::printf("%s\n", qPrintable(path));
}

} // namespace

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: vq_screenshots <output directory>\n");
    return 2;
  }
  const QDir output(QString::fromLocal8Bit(argv[1]));
  vq::ProgramValues values;
  vq::BoardSession session;
  session.ProgramDirectory = VQ_BIN_DIR;
  vq::FourOperationLink link(vq::FourOperationLibraryPath(VQ_BIN_DIR));
  vq::MainWindow form(values, link, session, vq::ProgramVariant{{1, 0, 4}});
  if (!form.Start())
    return 1;
  form.show();
  QApplication::processEvents();

  // The walkthrough of the README: 1 V on DAC B, read back, then the coding.
  Choose(Find<vq::ChoiceList>(&form, "ComboAddr"), "DAC B");
  Enter(Find<QLineEdit>(&form, "TextVolts"), "1");
  QTest::mouseClick(Find<QPushButton>(&form, "Command1"), Qt::LeftButton);
  QTest::mouseClick(Find<QPushButton>(&form, "Command2"), Qt::LeftButton);

  Save(&form, output, "main-window.png");
  Save(TopLevel("FrontPanel"), output, "front-panel.png");
  Find<QAction>(&form, "MnuActivity")->trigger();
  QWidget *activity = TopLevel("BoardActivity");
  activity->resize(1100, 420);
  Save(activity, output, "board-activity.png");
  return 0;
}
