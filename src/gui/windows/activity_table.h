// The table of the board activity. When its model's rows shift up (a full
// log making room for new calls), the selection moves with the calls it was
// on, a view scrolled away from the newest keeps showing the same calls, and
// only the rows that came into view are painted: the rest of the picture
// moves up with its rows. Painting every row anew after each action would
// cost several milliseconds.
#pragma once

#include "windows/activity_model.h"

#include <QTableView>

namespace vq {

class ActivityTable : public QTableView {
  Q_OBJECT
public:
  ActivityTable(ActivityModel &model, QWidget *parent);

  // Whether the newest row is in view.
  bool ShowsNewest() const;
  // Said before the rows change: whether the view follows the newest row
  // (else it stays on the calls it shows).
  void SetFollowing(bool following) { following_ = following; }

protected:
  void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles) override;

private:
  void RowsShifted(int rows);

  ActivityModel &model_;
  bool following_ = true;
  int shiftPending_ = 0; // rows the model said it shifted; its dataChanged follows
};

} // namespace vq
