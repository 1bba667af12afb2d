// "Register Map": every register the converter holds, at a glance, as the
// register model knows it. "Read All" and a typed code go out as signals; the
// main window sends them to the board the way "Read Register" and the entries
// do, so the window needs no way to the board of its own.
#pragma once

#include "boardlog/register_model.h"
#include "windows/register_map_model.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableView;

namespace vq {

class RegisterMapWindow : public QWidget {
  Q_OBJECT
public:
  explicit RegisterMapWindow(RegisterModel &registers, QWidget *parent = nullptr);

  RegisterMapModel &Model() { return model_; }
  void ShowDecimal(bool decimal) { model_.ShowDecimal(decimal); }
  // While the board cannot be reached, "Read All" and typing codes are off;
  // the table stays to be read and copied.
  void LetCodesGoOut(bool allowed);
  // The selected rows as tab-separated text, one line each, top to bottom.
  QString SelectedRowsText() const;

signals:
  void readAllRequested();
  // A typed code the user confirmed: one write of that register.
  void codeEntered(WordAddress address, int code);

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
  void showEvent(QShowEvent *event) override;
  void hideEvent(QHideEvent *event) override;

private:
  void CopySelection();
  void ShowRefusal(const QString &reason);

  RegisterMapModel model_;
  QTableView *table_;
  QLabel *message_;
  QPushButton *readAll_;
};

} // namespace vq
