// The board activity: the log holds exactly what the board received, and the
// window shows it, follows it, filters, pauses, clears, copies and saves it.
#include "boardlog/log_columns.h"
#include "panels/choice_list.h"
#include "tests/support/form_fixture.h"
#include "tests/support/panel_driver.h"
#include "windows/activity_window.h"
#include "windows/board_views.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
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
  // A few requests from a handler: a data write to DAC A.
  void WriteSomething(const QString &volts) { Enter(form.fixture.Find<QLineEdit>(QStringLiteral("TextVolts")), volts); }

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

  const std::size_t kept = a.views->Log().Size();
  QVERIFY(!a.window->SaveTo(directory.filePath(QStringLiteral("no such directory/activity.csv"))));
  QCOMPARE(a.form.fixture.answerer.Seen.size(), 1);
  QCOMPARE(a.form.fixture.answerer.Seen[0].icon, QMessageBox::Warning);
  QVERIFY(a.form.fixture.answerer.Seen[0].text.contains("could not be saved"));
  QCOMPARE(a.views->Log().Size(), kept);
  QCOMPARE(static_cast<std::size_t>(a.table->model()->rowCount()), kept);
}

QTEST_MAIN(BoardActivityTest)
#include "tst_board_activity.moc"
