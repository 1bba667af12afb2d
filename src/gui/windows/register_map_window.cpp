#include "windows/register_map_window.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace vq {

RegisterMapWindow::RegisterMapWindow(RegisterModel &registers, QWidget *parent)
    : QWidget(parent, Qt::Window), model_(registers), table_(new QTableView(this)), message_(new QLabel(this)),
      readAll_(new QPushButton(QStringLiteral("&Read All"), this)) {
  setObjectName(QStringLiteral("RegisterMapWindow"));
  setWindowTitle(QStringLiteral("Register Map"));

  table_->setObjectName(QStringLiteral("RegisterTable"));
  table_->setModel(&model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setWordWrap(false);
  // Tab moves on to "Read All", as in Board Activity; the arrow keys move in the table.
  table_->setTabKeyNavigation(false);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setAccessibleName(QStringLiteral("Registers"));
  table_->setToolTip(QStringLiteral("What the converter holds, as far as the program's calls tell; type a new "
                                    "code in the Code column to write it; Tab leaves the table"));
  connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
    // Keyboard users land on the code, the one cell they can change.
    if (current.isValid() && current.column() != RegisterMapModel::CodeColumn)
      table_->setCurrentIndex(model_.index(current.row(), RegisterMapModel::CodeColumn));
  });

  message_->setObjectName(QStringLiteral("RegisterMapMessage"));
  message_->setWordWrap(true);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  readAll_->setObjectName(QStringLiteral("RegisterMapReadAll"));
  readAll_->setToolTip(QStringLiteral("Reads every register back from the converter (SDO is enabled first)"));
  LetCodesGoOut(true);
  connect(readAll_, &QPushButton::clicked, this, [this] {
    message_->clear();
    emit readAllRequested();
  });

  // The table's own Ctrl+C copies the current cell alone: take the key first.
  table_->installEventFilter(this);

  connect(&model_, &RegisterMapModel::codeEntered, this, [this](WordAddress address, int code) {
    message_->clear();
    emit codeEntered(address, code);
  });
  connect(&model_, &RegisterMapModel::codeRefused, this, &RegisterMapWindow::ShowRefusal);

  auto *hint =
      new QLabel(QStringLiteral("Type a code into the Code column and press Return to write that register."), this);
  hint->setWordWrap(true);
  auto *controls = new QHBoxLayout;
  controls->addWidget(hint, 1);
  controls->addWidget(readAll_);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(table_, 1);
  layout->addWidget(message_);

  table_->resizeColumnsToContents();
  table_->setColumnWidth(RegisterMapModel::ValueColumn, fontMetrics().horizontalAdvance(QLatin1Char('0')) * 36);
  const int rowsHeight = table_->verticalHeader()->length() + table_->horizontalHeader()->height();
  resize(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 100, rowsHeight + 120);
  setTabOrder(table_, readAll_);
}

void RegisterMapWindow::LetCodesGoOut(bool allowed) {
  readAll_->setEnabled(allowed);
  table_->setEditTriggers(allowed ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                        QAbstractItemView::AnyKeyPressed
                                  : QAbstractItemView::NoEditTriggers);
}

QString RegisterMapWindow::SelectedRowsText() const {
  QList<int> rows;
  for (const QModelIndex &index : table_->selectionModel()->selectedRows())
    rows << index.row();
  std::sort(rows.begin(), rows.end());
  QStringList lines;
  for (int row : rows)
    lines << model_.RowText(row);
  return lines.isEmpty() ? QString() : lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void RegisterMapWindow::CopySelection() {
  const QString text = SelectedRowsText();
  if (!text.isEmpty())
    QApplication::clipboard()->setText(text);
}

bool RegisterMapWindow::eventFilter(QObject *watched, QEvent *event) {
  if (watched == table_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) {
    CopySelection();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void RegisterMapWindow::ShowRefusal(const QString &reason) {
  message_->setText(reason);
  // Screen readers hear the refusal as they would a message box.
  QAccessibleEvent event(message_, QAccessible::Alert);
  QAccessible::updateAccessibility(&event);
}

void RegisterMapWindow::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  model_.SetFollowing(true);
}

void RegisterMapWindow::hideEvent(QHideEvent *event) {
  model_.SetFollowing(false);
  QWidget::hideEvent(event);
}

} // namespace vq
