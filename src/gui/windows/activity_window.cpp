#include "windows/activity_window.h"

#include "boardlog/log_columns.h"
#include "windows/screen_fit.h"
#include "windows/window_role.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <sstream>
#include <utility>

namespace vq {

ActivityWindow::ActivityWindow(RequestLog &log, QWidget *parent)
    : QWidget(parent, Qt::Window), log_(log), model_(log), table_(new QTableView(this)), filter_(new QComboBox(this)),
      pause_(new QCheckBox(QStringLiteral("&Pause"), this)), dropped_(new QLabel(this)) {
  setObjectName(QStringLiteral("BoardActivity"));
  setWindowTitle(QStringLiteral("Board Activity"));
  PresentOwnWindowsAsWindows();

  filter_->setObjectName(QStringLiteral("ActivityFilter"));
  filter_->addItem(QStringLiteral("All calls"));
  for (int c = 0; c < CallCategoryCount; ++c)
    filter_->addItem(QString::fromUtf8(CategoryName(static_cast<CallCategory>(c))), c);
  connect(filter_, &QComboBox::currentIndexChanged, this, [this](int item) {
    const QVariant category = filter_->itemData(item);
    model_.SetFilter(category.isValid() ? std::optional(static_cast<CallCategory>(category.toInt())) : std::nullopt);
    table_->scrollToBottom();
  });

  pause_->setObjectName(QStringLiteral("ActivityPause"));
  connect(pause_, &QCheckBox::toggled, this, [this](bool paused) { model_.SetPaused(paused); });

  auto *clear = new QPushButton(QStringLiteral("C&lear"), this);
  clear->setObjectName(QStringLiteral("ActivityClear"));
  connect(clear, &QPushButton::clicked, this, &ActivityWindow::ClearLog);
  auto *copy = new QPushButton(QStringLiteral("&Copy"), this);
  copy->setObjectName(QStringLiteral("ActivityCopy"));
  connect(copy, &QPushButton::clicked, this, &ActivityWindow::CopySelection);
  auto *save = new QPushButton(QStringLiteral("&Save As..."), this);
  save->setObjectName(QStringLiteral("ActivitySave"));
  connect(save, &QPushButton::clicked, this, &ActivityWindow::SaveAs);

  auto *copyKey = new QAction(this);
  copyKey->setShortcut(QKeySequence::Copy);
  copyKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(copyKey, &QAction::triggered, this, &ActivityWindow::CopySelection);
  addAction(copyKey);
  auto *closeKey = new QAction(this);
  closeKey->setShortcut(QKeySequence(Qt::Key_Escape));
  closeKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(closeKey, &QAction::triggered, this, &QWidget::close);
  addAction(closeKey);
  for (QPushButton *button : {clear, copy, save})
    button->setAutoDefault(true); // Return presses a focused button

  table_->setObjectName(QStringLiteral("ActivityTable"));
  table_->setModel(&model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setWordWrap(false);
  // Tab moves on to the next control rather than from cell to cell; the
  // arrow keys move in the table.
  table_->setTabKeyNavigation(false);
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->horizontalHeader()->setStretchLastSection(true);
  const int widths[LogColumnCount] = {80, 44, 150, 50, 60, 70, 30, 50, 70, 70, 50, 400};
  for (int c = 0; c < LogColumnCount; ++c)
    table_->setColumnWidth(c, widths[c]);

  const std::pair<QWidget *, const char *> tips[] = {
      {filter_, "Shows all calls or only the calls of one kind"},
      {pause_, "Stops adding new calls to the table; they are still kept and shown when unpaused"},
      {clear, "Forgets every call kept so far"},
      {copy, "Copies the selected calls as tab-separated text"},
      {save, "Saves the calls shown as a CSV file"},
      {table_, "Each call into the board library, decoded; the arrow keys move in it, Tab leaves it"}};
  for (const auto &[control, tip] : tips)
    control->setToolTip(QString::fromLatin1(tip));
  filter_->setAccessibleName(QStringLiteral("Show"));
  table_->setAccessibleName(QStringLiteral("Board calls"));
  dropped_->setObjectName(QStringLiteral("ActivityDropped"));
  auto *unseen = new QLabel(QStringLiteral("Shown: each call the program makes into the board library and what "
                                           "it returns. What the library does inside a call (the firmware bytes "
                                           "it sends to the board, for instance) is not seen here."),
                            this);
  unseen->setObjectName(QStringLiteral("ActivityUnseen"));
  unseen->setWordWrap(true);

  auto *controls = new QHBoxLayout;
  controls->addWidget(new QLabel(QStringLiteral("Show:"), this));
  controls->addWidget(filter_);
  controls->addWidget(pause_);
  controls->addStretch();
  controls->addWidget(clear);
  controls->addWidget(copy);
  controls->addWidget(save);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(table_);
  layout->addWidget(dropped_);
  layout->addWidget(unseen);
  ShowDropped();
  // Room for the decoded calls; at most what the screen has.
  resize(QSize(1000, 480).boundedTo(RoomForContent(*this)));
}

void ActivityWindow::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  // While closed the window left the log alone: catch up in one go.
  model_.Rebuild();
  ShowDropped();
  table_->scrollToBottom();
}

void ActivityWindow::LogGrew() {
  if (!isVisible())
    return;
  QScrollBar *bar = table_->verticalScrollBar();
  const bool following = bar->value() == bar->maximum();
  model_.Sync();
  ShowDropped();
  if (following && !model_.Paused())
    table_->scrollToBottom();
}

void ActivityWindow::ShowDropped() {
  const uint64_t dropped = log_.Dropped();
  dropped_->setText(
      dropped == 0
          ? QStringLiteral("Keeps the latest %1 calls.").arg(log_.Capacity())
          : QStringLiteral("Keeps the latest %1 calls: %2 older ones were dropped.").arg(log_.Capacity()).arg(dropped));
}

void ActivityWindow::ClearLog() {
  log_.Clear();
  model_.Rebuild();
  ShowDropped();
}

void ActivityWindow::CopySelection() const {
  QModelIndexList rows = table_->selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
  QStringList lines;
  for (const QModelIndex &row : rows) {
    const LogEntry *entry = model_.EntryAt(row.row());
    if (entry == nullptr)
      continue;
    QStringList fields;
    for (int c = 0; c < LogColumnCount; ++c)
      fields << QString::fromStdString(ColumnText(*entry, static_cast<LogColumn>(c)));
    lines << fields.join(QLatin1Char('\t'));
  }
  if (!lines.isEmpty())
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

QString ActivityWindow::SaveCsv(const QString &path) const {
  std::vector<const LogEntry *> entries;
  for (int row = 0; row < model_.rowCount(); ++row)
    if (const LogEntry *entry = model_.EntryAt(row))
      entries.push_back(entry);
  std::ostringstream text;
  WriteCsv(text, entries);
  const std::string bytes = text.str();
  // Written aside and moved in place at the end: a failed save leaves any
  // file already there as it was.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return file.errorString();
  if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
    return file.errorString();
  if (!file.commit())
    return file.errorString();
  return {};
}

void ActivityWindow::SaveAs() {
  const QString path =
      QFileDialog::getSaveFileName(this, QStringLiteral("Save Board Activity"), QStringLiteral("board-activity.csv"),
                                   QStringLiteral("CSV files (*.csv);;All files (*)"));
  if (!path.isEmpty())
    SaveTo(path);
}

bool ActivityWindow::SaveTo(const QString &path) {
  const QString problem = SaveCsv(path);
  if (problem.isEmpty())
    return true;
  QMessageBox::warning(this, windowTitle(),
                       QStringLiteral("The board activity could not be saved to \"%1\": %2\n\nNothing was lost: "
                                      "the activity is still here; choose another file.")
                           .arg(path, problem),
                       QMessageBox::Ok);
  return false;
}

} // namespace vq
