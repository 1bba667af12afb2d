// What an action makes the windows paint again: the main window's scroll bars
// stay as they are unless the frames' size changes, and the Board Activity
// table draws the calls that come in aligned, inside narrow columns and
// selected as the style would.
#include "tests/support/form_fixture.h"
#include "tests/support/panel_driver.h"

#include <QAction>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

using namespace vq;
using namespace vq::test;

class RepaintsTest : public QObject {
  Q_OBJECT
private slots:
  void anActionLeavesTheScrollBarsAlone();
  void activityCellsAreDrawnAsTheColumnsSay();
};

namespace {

class PaintCounter : public QObject {
public:
  int Paints = 0;
  bool eventFilter(QObject *, QEvent *event) override {
    if (event->type() == QEvent::Paint)
      ++Paints;
    return false;
  }
};

bool IsInk(QRgb pixel, const QColor &text) {
  return std::abs(qGray(pixel) - qGray(text.rgb())) < 96;
}

// Columns of a cell's picture that hold ink of the text colour: the first and
// the last, or -1 when there is none.
std::pair<int, int> InkColumns(const QImage &picture, QRect cell, const QColor &text) {
  cell &= picture.rect();
  int first = -1, last = -1;
  for (int x = cell.left(); x <= cell.right(); ++x)
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      if (IsInk(picture.pixel(x, y), text)) {
        first = first < 0 ? x : first;
        last = x;
        break;
      }
  return {first, last};
}

} // namespace

void RepaintsTest::anActionLeavesTheScrollBarsAlone() {
  RecordingForm form;
  QVERIFY(form.fixture.Start());
  MainWindow &window = form.fixture.Window();
  auto *area = window.findChild<QScrollArea *>(QStringLiteral("ClientScroll"));
  QVERIFY(area != nullptr);
  // Smaller than the frames: both bars are shown.
  window.resize(window.width() / 2, window.height() / 2);
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QCoreApplication::processEvents();
  QVERIFY(area->verticalScrollBar()->isVisible() && area->horizontalScrollBar()->isVisible());
  QLineEdit *volts = form.fixture.Find<QLineEdit>(QStringLiteral("TextVolts"));
  Enter(volts, QStringLiteral("-1")); // the area takes note of its frames' size
  QCoreApplication::processEvents();
  PaintCounter bars;
  area->verticalScrollBar()->installEventFilter(&bars);
  area->horizontalScrollBar()->installEventFilter(&bars);

  // Every bit of the word and the status line change; the frames' size not.
  for (const char *typed : {"1.25", "-2.5", "0"}) {
    Enter(volts, QString::fromLatin1(typed));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
  }
  QCOMPARE(bars.Paints, 0);

  // Frames that grow still get their scroll range.
  const int range = area->verticalScrollBar()->maximum();
  area->widget()->setMinimumHeight(area->widget()->height() + 300);
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  QCOMPARE(area->verticalScrollBar()->maximum(), range + 300);
}

void RepaintsTest::activityCellsAreDrawnAsTheColumnsSay() {
  RecordingForm form;
  QVERIFY(form.fixture.Start());
  form.fixture.Find<QAction>(QStringLiteral("MnuActivity"))->trigger();
  auto *table = form.fixture.Window().findChild<QTableView *>(QStringLiteral("ActivityTable"));
  QVERIFY(table != nullptr);
  QVERIFY(QTest::qWaitForWindowExposed(table->window()));
  Enter(form.fixture.Find<QLineEdit>(QStringLiteral("TextVolts")), QStringLiteral("1.25"));
  QCoreApplication::processEvents();
  const int row = table->model()->rowCount() - 1;
  table->scrollToBottom();
  const QColor text = table->palette().color(QPalette::Active, QPalette::Text);
  const auto cell = [&](int column) { return table->visualRect(table->model()->index(row, column)); };
  constexpr int time = 0, request = 2, meaning = 11; // right-aligned numbers; left-aligned words

  QImage picture = table->viewport()->grab().toImage();
  const auto [timeFirst, timeLast] = InkColumns(picture, cell(time), text);
  const int meaningFirst = InkColumns(picture, cell(meaning), text).first;
  QVERIFY2(timeFirst > cell(time).left() + 8 && timeLast >= cell(time).right() - 8, "numbers to the right");
  QVERIFY2(meaningFirst >= cell(meaning).left() && meaningFirst <= cell(meaning).left() + 8, "words to the left");

  // A narrow column keeps its text inside the cell, from its left edge.
  table->horizontalHeader()->resizeSection(request, 30);
  QCoreApplication::processEvents();
  picture = table->viewport()->grab().toImage();
  const auto [narrowFirst, narrowLast] = InkColumns(picture, cell(request).adjusted(0, 0, 12, 0), text);
  QVERIFY(narrowFirst >= cell(request).left() && narrowFirst <= cell(request).left() + 8);
  QVERIFY(narrowLast <= cell(request).right());

  // Selected: text of the selection's colour.
  table->selectRow(row);
  QCoreApplication::processEvents();
  picture = table->viewport()->grab().toImage();
  const QColor selectedText = table->palette().color(QPalette::Active, QPalette::HighlightedText);
  QVERIFY(InkColumns(picture, cell(time), selectedText).first >= 0);
}

QTEST_MAIN(RepaintsTest)
#include "tst_repaints.moc"
