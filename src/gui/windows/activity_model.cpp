#include "windows/activity_model.h"

#include "boardlog/log_columns.h"

#include <algorithm>

namespace vq {

ActivityModel::ActivityModel(const RequestLog &log, QObject *parent) : QAbstractTableModel(parent), log_(log) {}

int ActivityModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ActivityModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : LogColumnCount;
}

const LogEntry *ActivityModel::EntryAt(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size())
    return nullptr;
  return log_.BySequence(rows_[static_cast<std::size_t>(row)]);
}

QVariant ActivityModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid() || index.column() >= LogColumnCount)
    return {};
  const auto column = static_cast<LogColumn>(index.column());
  if (role == Qt::TextAlignmentRole && column != LogColumn::Meaning && column != LogColumn::Request)
    return QVariant(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
    return {};
  if (role == Qt::ToolTipRole && column != LogColumn::Meaning)
    return {};
  const LogEntry *entry = EntryAt(index.row());
  if (entry == nullptr)
    return QStringLiteral("(no longer kept)");
  return QString::fromStdString(ColumnText(*entry, column));
}

QVariant ActivityModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole)
    return {};
  if (orientation == Qt::Horizontal && section >= 0 && section < LogColumnCount)
    return QString::fromUtf8(ColumnTitle(static_cast<LogColumn>(section)));
  if (orientation == Qt::Vertical)
    return section + 1;
  return {};
}

bool ActivityModel::Passes(const LogEntry &entry) const {
  return !filter_ || CategoryOf(entry.Call) == *filter_;
}

void ActivityModel::Sync() {
  // Rows whose entries the log dropped go first, paused or not: they cannot
  // be shown any more.
  const uint64_t first = log_.FirstSequence();
  std::size_t gone = 0;
  while (gone < rows_.size() && rows_[gone] < first)
    ++gone;
  if (gone == rows_.size() && gone > 0 && !paused_) {
    // Everything shown has gone: cheaper to start over than to remove it.
    synced_ = std::max(synced_, first);
    Rebuild();
    return;
  }
  if (gone > 0) {
    beginRemoveRows({}, 0, static_cast<int>(gone) - 1);
    rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(gone));
    endRemoveRows();
  }
  if (paused_)
    return;
  synced_ = std::max(synced_, first);
  const uint64_t next = log_.NextSequence();
  std::deque<uint64_t> added;
  for (uint64_t sequence = synced_; sequence < next; ++sequence)
    if (Passes(*log_.BySequence(sequence)))
      added.push_back(sequence);
  synced_ = next;
  if (added.empty())
    return;
  const int row = static_cast<int>(rows_.size());
  beginInsertRows({}, row, row + static_cast<int>(added.size()) - 1);
  rows_.insert(rows_.end(), added.begin(), added.end());
  endInsertRows();
}

void ActivityModel::Rebuild() {
  beginResetModel();
  rows_.clear();
  const uint64_t next = log_.NextSequence();
  for (uint64_t sequence = log_.FirstSequence(); sequence < next; ++sequence)
    if (Passes(*log_.BySequence(sequence)))
      rows_.push_back(sequence);
  synced_ = next;
  endResetModel();
}

void ActivityModel::SetFilter(std::optional<CallCategory> category) {
  filter_ = category;
  Rebuild();
}

void ActivityModel::SetPaused(bool paused) {
  paused_ = paused;
  if (!paused_)
    Sync();
}

} // namespace vq
