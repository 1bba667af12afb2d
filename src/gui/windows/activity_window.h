// "Board Activity": every call the program made into its board library, newest
// at the bottom, decoded. Follows the newest entry unless the user scrolled
// away; filter by kind, pause, clear, copy the selected rows, save as CSV.
#pragma once

#include "boardlog/request_log.h"
#include "windows/activity_model.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QTableView;

namespace vq {

class ActivityWindow : public QWidget {
  Q_OBJECT
public:
  explicit ActivityWindow(RequestLog &log, QWidget *parent = nullptr);

  // New entries are in the log: show them if the window is open.
  void LogGrew();

  // Writes the rows shown, as CSV, to `path`. Returns an empty text on
  // success, else why it failed; the log is untouched either way.
  QString SaveCsv(const QString &path) const;

  // Saves to `path`; a file that cannot be written gets a message box.
  // Returns whether the file was written.
  bool SaveTo(const QString &path);

  ActivityModel &Model() { return model_; }

protected:
  void showEvent(QShowEvent *event) override;

private:
  void SaveAs();
  void CopySelection() const;
  void ClearLog();
  void ShowDropped();

  RequestLog &log_;
  ActivityModel model_;
  QTableView *table_;
  QComboBox *filter_;
  QCheckBox *pause_;
  QLabel *dropped_;
};

} // namespace vq
