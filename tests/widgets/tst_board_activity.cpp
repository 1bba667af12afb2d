// The board activity: the log holds exactly what the board received, and the
// window shows it, follows it, filters, pauses, clears, copies and saves it.
#include "boardlog/log_columns.h"
#include "panels/choice_list.h"
#include "tests/support/delegating_file_system.h"
#include "tests/support/form_fixture.h"
#include "tests/support/panel_driver.h"
#include "windows/activity_window.h"
#include "windows/board_views.h"
#include "windows/saving.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace vq;
using namespace vq::test;

class BoardActivityTest : public QObject {
  Q_OBJECT
private slots:
  void logHoldsExactlyWhatTheBoardReceived();
  void windowFollowsFiltersPausesAndClears();
  void copiesTheSelectedRows();
  void savesCsvAndReportsAFileThatCannotBeWritten();
  void saveFailuresAreToldInABoxThatFitsTheScreen_data();
  void saveFailuresAreToldInABoxThatFitsTheScreen();
  void aFolderThatTakesNoNewFileAsksBeforeOverwritingInPlace();
  void theSaveDialogSaysWhenANameIsTooLong();
  void aFullLogShiftsItsRowsInPlace();
  void aPausedViewStandsStill();
};

namespace {

struct ActivityForm {
  ActivityForm() {
    views = form.fixture.Window().findChild<BoardViews *>(QStringLiteral("BoardViews"));
    if (views == nullptr || !form.fixture.Start())
      qFatal("window not loaded");
  }
  void Open() {
    form.fixture.Find<QAction>(QStringLiteral("MnuActivity"))->trigger();
    window = form.fixture.Window().findChild<ActivityWindow *>(QStringLiteral("BoardActivity"));
    table = window->findChild<QTableView *>(QStringLiteral("ActivityTable"));
  }
  // A few requests from a handler (a data write to DAC A: three calls), and
  // the event-loop turn after it, when the table catches up.
  void WriteSomething(const QString &volts) {
    Enter(form.fixture.Find<QLineEdit>(QStringLiteral("TextVolts")), volts);
    QCoreApplication::processEvents();
  }
  // Fills the log to its capacity with calls made before the window opened.
  void FillLog() {
    RequestLog &log = views->Log();
    BoardCall call;
    call.Request = 0xDE;
    while (log.Size() < log.Capacity())
      log.Record(call, 0);
  }
  ActivityModel &Model() const { return window->Model(); }
  uint64_t SequenceAt(int row) const { return Model().EntryAt(row)->Sequence; }
  QString MeaningAt(int row) const {
    return Model().index(row, static_cast<int>(LogColumn::Meaning)).data().toString();
  }
  QList<int> SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex &index : table->selectionModel()->selectedRows())
      rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
  }

  RecordingForm form;
  BoardViews *views = nullptr;
  ActivityWindow *window = nullptr;
  QTableView *table = nullptr;
};

} // namespace

void BoardActivityTest::logHoldsExactlyWhatTheBoardReceived() {
  ActivityForm a;
  a.form.link.Sample = 1845;
  a.form.link.SetRegister(Command::FunctionRegister, 0x21);
  Choose(a.form.fixture.Find<ChoiceList>(QStringLiteral("ComboAddr")), QStringLiteral("DAC B"));
  a.WriteSomething(QStringLiteral("1"));
  Click(a.form.fixture.Find<QPushButton>(QStringLiteral("Command7"))); // Measure
  Click(a.form.fixture.Find<QPushButton>(QStringLiteral("Command5"))); // LOAD
  Click(a.form.fixture.Find<QPushButton>(QStringLiteral("Command6"))); // READ

  const auto &sent = a.form.link.Requests;
  const RequestLog &log = a.views->Log();
  QCOMPARE(log.Size(), sent.size());
  QVERIFY(sent.size() > 20);
  int reads = 0;
  for (std::size_t i = 0; i < sent.size(); ++i) {
    const BoardCall &call = log.At(i).Call;
    QCOMPARE(call.Kind, BoardCallKind::Request);
    QCOMPARE(call.Request, sent[i].Code);
    QCOMPARE(call.Value, sent[i].Value);
    QCOMPARE(call.Index, sent[i].Index);
    QCOMPARE(call.Direction, sent[i].Direction);
    QCOMPARE(call.Length, sent[i].Length);
    if (call.Direction == 0)
      QCOMPARE(call.ByteCount, 0); // the zero byte travels with length 0
    if (call.Request == 0xDD && call.Direction == 1)
      ++reads;
    if (i > 0)
      QVERIFY(log.At(i).Micros >= log.At(i - 1).Micros);
  }
  QVERIFY(reads >= 2);
  // The sample as the board returned it, and its meaning.
  const auto sample = std::find_if(sent.begin(), sent.end(), [](const auto &r) { return r.Code == 0xDA; });
  QVERIFY(sample != sent.end());
  const LogEntry &sampleEntry = log.At(static_cast<std::size_t>(sample - sent.begin()));
  QVERIFY(QString::fromStdString(ColumnText(sampleEntry, LogColumn::Meaning)).startsWith("sample 1845: "));
}

void BoardActivityTest::windowFollowsFiltersPausesAndClears() {
  ActivityForm a;
  a.Open();
  QVERIFY(a.window->isVisible());
  QCOMPARE(a.window->windowTitle(), QStringLiteral("Board Activity"));
  QVERIFY(a.window->findChild<QLabel *>(QStringLiteral("ActivityUnseen"))->text().contains("not seen"));
  const int startRows = a.table->model()->rowCount();
  QCOMPARE(static_cast<std::size_t>(startRows), a.views->Log().Size());

  // Enough rows for a scroll bar; at the bottom it follows the newest.
  for (int i = 0; i < 40; ++i)
    a.WriteSomething(QString::number(i % 4));
  QScrollBar *bar = a.table->verticalScrollBar();
  QVERIFY(bar->maximum() > 0);
  QCOMPARE(bar->value(), bar->maximum());
  QCOMPARE(static_cast<std::size_t>(a.table->model()->rowCount()), a.views->Log().Size());
  // Scrolled away, it stays where the user put it.
  bar->setValue(0);
  a.WriteSomething(QStringLiteral("1"));
  QCOMPARE(bar->value(), 0);

  // Only read frames: every row says "read".
  auto *filter = a.window->findChild<QComboBox *>(QStringLiteral("ActivityFilter"));
  filter->setCurrentIndex(filter->findText(QStringLiteral("serial read frames")));
  const int readRows = a.table->model()->rowCount();
  QVERIFY(readRows > 0);
  for (int row = 0; row < readRows; ++row)
    QVERIFY(a.table->model()->index(row, static_cast<int>(LogColumn::Meaning)).data().toString().startsWith("read "));
  a.WriteSomething(QStringLiteral("2")); // each voltage entry reads the coarse gain twice
  QCOMPARE(a.table->model()->rowCount(), readRows + 2);
  filter->setCurrentIndex(0);

  // Paused: the log goes on, the table stands still until resumed.
  const int before = a.table->model()->rowCount();
  a.window->findChild<QCheckBox *>(QStringLiteral("ActivityPause"))->setChecked(true);
  a.WriteSomething(QStringLiteral("3"));
  QCOMPARE(a.table->model()->rowCount(), before);
  a.window->findChild<QCheckBox *>(QStringLiteral("ActivityPause"))->setChecked(false);
  QCOMPARE(static_cast<std::size_t>(a.table->model()->rowCount()), a.views->Log().Size());

  Click(a.window->findChild<QPushButton *>(QStringLiteral("ActivityClear")));
  QCOMPARE(a.table->model()->rowCount(), 0);
  a.WriteSomething(QStringLiteral("1"));
  QCOMPARE(static_cast<std::size_t>(a.table->model()->rowCount()), a.views->Log().Size());
}

void BoardActivityTest::copiesTheSelectedRows() {
  ActivityForm a;
  a.Open();
  a.table->selectRow(0);
  a.table->selectionModel()->select(a.table->model()->index(2, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
  Click(a.window->findChild<QPushButton *>(QStringLiteral("ActivityCopy")));
  const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), 2);
  const QStringList fields = lines[1].split('\t');
  QCOMPARE(fields.size(), LogColumnCount);
  QCOMPARE(fields[static_cast<int>(LogColumn::Meaning)],
           QString::fromStdString(ColumnText(a.views->Log().At(2), LogColumn::Meaning)));
}

void BoardActivityTest::savesCsvAndReportsAFileThatCannotBeWritten() {
  ActivityForm a;
  a.Open();
  QTemporaryDir directory;
  const QString path = directory.filePath(QStringLiteral("activity.csv"));
  QVERIFY(a.window->SaveTo(path));
  QFile file(path);
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  QCOMPARE(lines.first(), QByteArray("time_us,code,request,value,index,word,direction,length,bytes,reversed,status,"
                                     "meaning\r"));
  QCOMPARE(static_cast<std::size_t>(lines.size()), a.views->Log().Size() + 2); // header, rows, empty tail
  QCOMPARE(a.form.fixture.answerer.Seen.size(), 0);

  // Saved again over the file: replaced, with what the table shows now.
  a.WriteSomething(QStringLiteral("1"));
  QVERIFY(a.window->SaveTo(path));
  file.close();
  QVERIFY(file.open(QIODevice::ReadOnly));
  QCOMPARE(static_cast<std::size_t>(file.readAll().count('\n')), a.views->Log().Size() + 1);
  QCOMPARE(QDir(directory.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"activity.csv"});
}

void BoardActivityTest::saveFailuresAreToldInABoxThatFitsTheScreen_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("says");
  QTest::newRow("missing folder") << QStringLiteral("no such folder/activity.csv")
                                  << QStringLiteral(": the folder does not exist. No file was made.");
  QTest::newRow("a folder") << QStringLiteral(".") << QStringLiteral("it is not a regular file (a folder)");
  QTest::newRow("name of 300 bytes") << QString(300, 'n')
                                     << QStringLiteral("is 300 bytes long; the system takes names of at most 255");
  QString deep;
  while (deep.size() < 5000)
    deep += QString(100, 'd') + QLatin1Char('/');
  QTest::newRow("path of 5000 bytes") << deep + QStringLiteral("activity.csv")
                                      << QStringLiteral("; the system takes paths of at most 4095 bytes");
}

// Whatever the path, the box stays within a 1366x768 screen and the log is
// untouched.
void BoardActivityTest::saveFailuresAreToldInABoxThatFitsTheScreen() {
  QFETCH(QString, name);
  QFETCH(QString, says);
  ActivityForm a;
  a.Open();
  QTemporaryDir directory;
  const std::size_t kept = a.views->Log().Size();
  QVERIFY(!a.window->SaveTo(directory.filePath(name)));
  const auto &seen = a.form.fixture.answerer.Seen;
  QCOMPARE(seen.size(), 1);
  QCOMPARE(seen[0].icon, QMessageBox::Warning);
  QVERIFY2(seen[0].text.contains(says), qPrintable(seen[0].text));
  QVERIFY(seen[0].text.endsWith("Nothing was lost: the activity is still here; choose another file."));
  QVERIFY2(seen[0].size.width() <= 1366 && seen[0].size.height() <= 768,
           qPrintable(QStringLiteral("%1x%2").arg(seen[0].size.width()).arg(seen[0].size.height())));
  QVERIFY(seen[0].text.size() < 400);
  QCOMPARE(a.views->Log().Size(), kept);
  QCOMPARE(QDir(directory.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

namespace {

// A folder that refuses every new file, as one without write permission does
// to anyone but root.
class RefusingFolder : public DelegatingFileSystem {
public:
  SystemError CreateNew(const std::string &, FileHandle &) override { return EACCES; }
};

} // namespace

void BoardActivityTest::aFolderThatTakesNoNewFileAsksBeforeOverwritingInPlace() {
  ActivityForm a;
  a.Open();
  QTemporaryDir directory;
  const QString path = directory.filePath(QStringLiteral("activity.csv"));
  QFile old(path);
  QVERIFY(old.open(QIODevice::WriteOnly));
  old.write("the old file\n");
  old.close();
  RefusingFolder folder;
  auto &answerer = a.form.fixture.answerer;

  answerer.Answer = QMessageBox::No;
  QVERIFY(!SaveBytes(a.window, path, "new", QString(), folder));
  QCOMPARE(answerer.Seen.size(), 1);
  QCOMPARE(answerer.Seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
  QVERIFY2(answerer.Seen[0].text.contains("takes no new file") && answerer.Seen[0].text.contains("not atomic") &&
               answerer.Seen[0].text.endsWith("Overwrite it in place?"),
           qPrintable(answerer.Seen[0].text));
  QVERIFY(old.open(QIODevice::ReadOnly));
  QCOMPARE(old.readAll(), QByteArray("the old file\n"));
  old.close();

  answerer.Answer = QMessageBox::Yes;
  QVERIFY(SaveBytes(a.window, path, "new", QString(), folder));
  QCOMPARE(answerer.Seen.size(), 2);
  QVERIFY(old.open(QIODevice::ReadOnly));
  QCOMPARE(old.readAll(), QByteArray("new"));
}

// Qt's own dialog would stay open without a word on a name this long.
void BoardActivityTest::theSaveDialogSaysWhenANameIsTooLong() {
  ActivityForm a;
  QTemporaryDir directory;
  SaveFileDialog dialog(&a.form.fixture.Window(), QStringLiteral("Save Board Activity"), directory.path(), QString());
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.open();
  dialog.selectFile(directory.filePath(QString(256, 'n')));
  dialog.accept();
  QVERIFY(dialog.isVisible());
  const auto &seen = a.form.fixture.answerer.Seen;
  QCOMPARE(seen.size(), 1);
  QVERIFY2(
      seen[0].text.endsWith("is 256 bytes long; the system takes names of at most 255 bytes. Choose a shorter one."),
      qPrintable(seen[0].text));
  QVERIFY(seen[0].size.width() <= 1366 && seen[0].size.height() <= 768);

  const QString longest = directory.filePath(QString(255, 'n'));
  dialog.selectFile(longest);
  dialog.accept();
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(dialog.selectedFiles(), QStringList{longest});
  QCOMPARE(seen.size(), 1);
}

// With the log full, each call drops the oldest: the table keeps its 100,000
// rows and shifts them, and the selection stays on the calls it was on.
void BoardActivityTest::aFullLogShiftsItsRowsInPlace() {
  ActivityForm a;
  a.FillLog();
  a.Open();
  const int rows = a.table->model()->rowCount();
  QCOMPARE(static_cast<std::size_t>(rows), RequestLog::DefaultCapacity);
  a.table->selectionModel()->select(a.table->model()->index(10, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
  const uint64_t selected = a.SequenceAt(10);
  QSignalSpy removed(&a.Model(), &QAbstractItemModel::rowsRemoved);
  QSignalSpy inserted(&a.Model(), &QAbstractItemModel::rowsInserted);
  QSignalSpy reset(&a.Model(), &QAbstractItemModel::modelReset);

  a.WriteSomething(QStringLiteral("1"));
  const RequestLog &log = a.views->Log();
  QCOMPARE(a.table->model()->rowCount(), rows);
  QCOMPARE(removed.size() + inserted.size() + reset.size(), 0);
  QCOMPARE(a.SequenceAt(0), log.FirstSequence());
  QCOMPARE(a.SequenceAt(rows - 1), log.Newest().Sequence);
  QCOMPARE(a.MeaningAt(rows - 1), QString::fromStdString(ColumnText(log.Newest(), LogColumn::Meaning)));
  const int calls = static_cast<int>(log.Newest().Sequence - RequestLog::DefaultCapacity + 1);
  QCOMPARE(calls, 3);
  QCOMPARE(a.SelectedRows(), QList<int>{10 - calls});
  QCOMPARE(a.SequenceAt(a.SelectedRows()[0]), selected);
  QScrollBar *bar = a.table->verticalScrollBar();
  QCOMPARE(bar->value(), bar->maximum());

  // Scrolled away to read: the calls in view stay in view.
  bar->setValue(500);
  const uint64_t top = a.SequenceAt(a.table->rowAt(0));
  a.WriteSomething(QStringLiteral("2"));
  QCOMPARE(a.SequenceAt(a.table->rowAt(0)), top);
  QCOMPARE(a.SequenceAt(rows - 1), log.Newest().Sequence);
}

// Paused, the table changes nothing while the log goes on; the calls that
// left the log meanwhile say so, and resuming catches up.
void BoardActivityTest::aPausedViewStandsStill() {
  ActivityForm a;
  a.FillLog();
  a.Open();
  const int rows = a.table->model()->rowCount();
  a.window->findChild<QCheckBox *>(QStringLiteral("ActivityPause"))->setChecked(true);
  const uint64_t last = a.SequenceAt(rows - 1);
  QSignalSpy changed(&a.Model(), &QAbstractItemModel::dataChanged);
  QSignalSpy removed(&a.Model(), &QAbstractItemModel::rowsRemoved);
  QSignalSpy inserted(&a.Model(), &QAbstractItemModel::rowsInserted);

  a.WriteSomething(QStringLiteral("1"));
  a.WriteSomething(QStringLiteral("2"));
  QCOMPARE(changed.size() + removed.size() + inserted.size(), 0);
  QCOMPARE(a.table->model()->rowCount(), rows);
  QCOMPARE(a.SequenceAt(rows - 1), last);
  QCOMPARE(a.MeaningAt(5), QStringLiteral("(no longer kept)"));
  QCOMPARE(a.MeaningAt(6), QString::fromStdString(ColumnText(a.views->Log().At(0), LogColumn::Meaning)));
  QVERIFY(
      a.window->findChild<QLabel *>(QStringLiteral("ActivityDropped"))->text().endsWith(" 6 older ones were dropped."));

  a.window->findChild<QCheckBox *>(QStringLiteral("ActivityPause"))->setChecked(false);
  QCOMPARE(a.table->model()->rowCount(), rows);
  QCOMPARE(a.SequenceAt(0), a.views->Log().FirstSequence());
  QCOMPARE(a.SequenceAt(rows - 1), a.views->Log().Newest().Sequence);
}

QTEST_MAIN(BoardActivityTest)
#include "tst_board_activity.moc"
