#include "windows/activity_model.h"

#include "boardlog/log_columns.h"

#include <algorithm>
#include <vector>

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
  // A paused view stands still: rows whose entries the log dropped meanwhile
  // say so, and go when the view resumes.
  if (paused_)
    return;
  const uint64_t first = log_.FirstSequence();
  const auto kept = std::lower_bound(rows_.begin(), rows_.end(), first);
  const std::size_t gone = static_cast<std::size_t>(kept - rows_.begin());
  if (gone == rows_.size() && gone > 0) {
    // Everything shown has gone: cheaper to start over than to remove it.
    Rebuild();
    return;
  }
  synced_ = std::max(synced_, first);
  const uint64_t next = log_.NextSequence();
  std::vector<uint64_t> added;
  for (uint64_t sequence = synced_; sequence < next; ++sequence)
    if (Passes(*log_.BySequence(sequence)))
      added.push_back(sequence);
  synced_ = next;

  // As many rows as go at the top come at the bottom (a full log, every
  // call): the rows shift in place and only their contents change. Removing
  // and inserting rows would make the table redo its layout of every row.
  const std::size_t shift = std::min(gone, added.size());
  if (gone > shift) {
    beginRemoveRows({}, 0, static_cast<int>(gone - shift) - 1);
    rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(gone - shift));
    endRemoveRows();
  }
  if (shift > 0) {
    rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(shift));
    rows_.insert(rows_.end(), added.begin(), added.begin() + static_cast<std::ptrdiff_t>(shift));
    emit rowsShifted(static_cast<int>(shift));
    emit dataChanged(index(0, 0), index(static_cast<int>(rows_.size()) - 1, LogColumnCount - 1));
  }
  if (added.size() > shift) {
    const int row = static_cast<int>(rows_.size());
    beginInsertRows({}, row, row + static_cast<int>(added.size() - shift) - 1);
    rows_.insert(rows_.end(), added.begin() + static_cast<std::ptrdiff_t>(shift), added.end());
    endInsertRows();
  }
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
