// "Board Activity": every call the program made into its board library, newest
// at the bottom, decoded. Follows the newest entry unless the user scrolled
// away; filter by kind, pause, clear, copy the selected rows, save as CSV.
#pragma once

#include "boardlog/request_log.h"
#include "windows/activity_model.h"
#include "windows/activity_table.h"

#include <QWidget>

#include <string>

class QCheckBox;
class QComboBox;
class QLabel;

namespace vq {

class ActivityWindow : public QWidget {
  Q_OBJECT
public:
  explicit ActivityWindow(RequestLog &log, QWidget *parent = nullptr);

  // New entries are in the log: if the window is open, the table shows them
  // once the event loop turns (CatchUp).
  void LogGrew();

  // The rows shown, as CSV.
  std::string CsvText() const;

  // Saves the rows shown as CSV to `path` (see windows/saving.h: a folder
  // that takes no new file asks first, a failure gets a message box; the
  // log is untouched either way). Returns whether the file was written.
  bool SaveTo(const QString &path);

  ActivityModel &Model() { return model_; }

protected:
  void showEvent(QShowEvent *event) override;

private:
  void CatchUp();
  void SaveAs();
  void CopySelection();
  void ClearLog();
  QString DroppedText(uint64_t dropped) const;
  void ShowDropped();

  RequestLog &log_;
  ActivityModel model_;
  ActivityTable *table_;
  QComboBox *filter_;
  QCheckBox *pause_;
  QLabel *dropped_;
  bool catchUpPending_ = false;
};

} // namespace vq
