// Makes the README's screenshots from the running program: the main window
// on the simulated board after a short session, the front panel and the
// Board Activity window, each grabbed offscreen into a PNG file. The program
// runs from a neutral directory, and a picture that would still show a path
// of this machine is refused.
// Usage: vq_screenshots <output directory>
#include "app/main_window.h"
#include "board/board_session.h"
#include "board/four_operation_link.h"
#include "panels/choice_list.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <cstdio>

namespace {

// The program runs from here, never from the build tree: the Board Activity
// window shows the firmware path it hands its board library, and no path of
// the machine that made the pictures belongs in them.
constexpr char NeutralDirectory[] = "/tmp/vq8231-demo";

// Puts the simulated board's library and firmware into the neutral directory.
// It must not exist yet, so no file of anybody else's is ever loaded.
void StageProgramDirectory() {
  const QString directory = QString::fromLatin1(NeutralDirectory);
  if (!QDir().mkdir(directory))
    qFatal("cannot create %s: it exists (remove what an earlier run left) or /tmp is not writable", NeutralDirectory);
  for (const char *file : {VQ_USB4_FILE_NAME, "VQ8231.hex"}) {
    const QString name = QString::fromLatin1(file);
    if (!QFile::copy(QStringLiteral(VQ_BIN_DIR "/") + name, directory + QLatin1Char('/') + name))
      qFatal("cannot copy %s from %s into %s", file, VQ_BIN_DIR, NeutralDirectory);
  }
}

// Every text a picture of `window` may show: captions, boxes, list entries,
// and the cells and headers of tables, whether scrolled into view or not.
QStringList ShownTexts(const QWidget *window) {
  QStringList texts{window->windowTitle()};
  for (const QLabel *label : window->findChildren<QLabel *>())
    texts << label->text();
  for (const QLineEdit *box : window->findChildren<QLineEdit *>())
    texts << box->text();
  for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
    texts << button->text();
  for (const QGroupBox *frame : window->findChildren<QGroupBox *>())
    texts << frame->title();
  for (const QAbstractSpinBox *spinBox : window->findChildren<QAbstractSpinBox *>())
    texts << spinBox->text();
  for (const QComboBox *list : window->findChildren<QComboBox *>())
    for (int i = 0; i < list->count(); ++i)
      texts << list->itemText(i);
  for (const QAbstractItemView *view : window->findChildren<QAbstractItemView *>()) {
    const QAbstractItemModel *model = view->model();
    for (int column = 0; column < model->columnCount(); ++column)
      texts << model->headerData(column, Qt::Horizontal).toString();
    for (int row = 0; row < model->rowCount(); ++row)
      for (int column = 0; column < model->columnCount(); ++column)
        texts << model->index(row, column).data().toString();
  }
  return texts;
}

// The places of this machine a picture must not name: the source and build
// trees, the home and working directories (each also as its real path), save
// those the neutral directory lies in.
QStringList MachinePaths() {
  QStringList paths;
  const QString neutral = QString::fromLatin1(NeutralDirectory);
  for (const QString &path :
       {QStringLiteral(VQ_SOURCE_DIR), QStringLiteral(VQ_BUILD_DIR), QDir::homePath(), QDir::currentPath()}) {
    for (const QString &form : {path, QFileInfo(path).canonicalFilePath()}) {
      const bool holdsNeutral = neutral == form || neutral.startsWith(form + QLatin1Char('/'));
      if (!form.isEmpty() && form != QLatin1String("/") && !holdsNeutral)
        paths << form;
    }
  }
  return paths;
}

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
  const QStringList texts = ShownTexts(window);
  for (const QString &path : MachinePaths())
    for (const QString &text : texts)
      if (text.contains(path))
        qFatal("%s would show \"%s\", a path of this machine", file, qPrintable(text));
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
  StageProgramDirectory();
  const auto unstage = qScopeGuard([] { QDir(QString::fromLatin1(NeutralDirectory)).removeRecursively(); });
  vq::ProgramValues values;
  vq::BoardSession session;
  session.ProgramDirectory = NeutralDirectory;
  vq::FourOperationLink link(vq::FourOperationLibraryPath(NeutralDirectory));
  vq::MainWindow form(values, link, session, vq::ProgramVariant{vq::CurrentBuildVersion});
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
