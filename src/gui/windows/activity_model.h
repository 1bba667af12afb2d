// The board activity as a table: one row per logged call that passes the
// filter, the columns of boardlog/log_columns.h. The model keeps only the
// sequence numbers of its rows; the entries stay in the log. It follows the
// log when told to (Sync), so a closed window costs the log nothing. Once the
// log is full, each new call makes room by dropping the oldest: the rows then
// shift up in place (rowsShifted) rather than being removed and inserted.
#pragma once

#include "boardlog/call_decoder.h"
#include "boardlog/request_log.h"

#include <QAbstractTableModel>

#include <deque>
#include <optional>

namespace vq {

class ActivityModel : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit ActivityModel(const RequestLog &log, QObject *parent = nullptr);

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // Unless paused, drops the rows whose entries left the log and appends the
  // entries recorded since the last Sync. Paused, it changes nothing: rows
  // whose entries left the log meanwhile show "(no longer kept)".
  void Sync();
  // Rebuilds the rows from the whole log.
  void Rebuild();

  void SetFilter(std::optional<CallCategory> category); // none: every call
  void SetPaused(bool paused);
  bool Paused() const { return paused_; }

  // The entry of a row; null when it has left the log meanwhile.
  const LogEntry *EntryAt(int row) const;

signals:
  // Every row now shows the entry `rows` rows below the one it showed (the
  // top `rows` entries left, as many new ones came at the bottom). The
  // dataChanged of every row follows at once.
  void rowsShifted(int rows);

private:
  bool Passes(const LogEntry &entry) const;

  const RequestLog &log_;
  std::deque<uint64_t> rows_; // sequence numbers, oldest first
  uint64_t synced_ = 0;       // next sequence number not yet looked at
  std::optional<CallCategory> filter_;
  bool paused_ = false;
};

} // namespace vq
