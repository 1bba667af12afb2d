#include "windows/activity_table.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace vq {

namespace {

// One line of plain text per cell, as the style would paint it, but shaped
// once: the style's own item painting lays each text out three times (its
// size, its elision, the drawing), which made painting the rows that come in
// with an action cost more than the action itself.
class PlainTextDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget *widget = item.widget;
    QStyle *style = widget != nullptr ? widget->style() : QApplication::style();
    const QString text = item.text;
    item.text.clear(); // the background, the selection and the focus frame only
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    const QRect room =
        style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget).adjusted(TextMargin, 0, -TextMargin, 0);
    const QString shown = item.fontMetrics.horizontalAdvance(text) <= room.width()
                              ? text
                              : item.fontMetrics.elidedText(text, Qt::ElideRight, room.width());
    const bool selected = item.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group =
        item.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    painter->save();
    painter->setPen(item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(room, static_cast<int>(item.displayAlignment) | Qt::TextSingleLine, shown);
    painter->restore();
  }

private:
  static constexpr int TextMargin = 3; // as the style keeps text from the cell's edge
};

} // namespace

ActivityTable::ActivityTable(ActivityModel &model, QWidget *parent) : QTableView(parent), model_(model) {
  setModel(&model_);
  setItemDelegate(new PlainTextDelegate(this));
  // Rows of one height, scrolled by whole rows: a shift of n rows is a move
  // of n row heights.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  connect(&model_, &ActivityModel::rowsShifted, this, &ActivityTable::RowsShifted);
}

bool ActivityTable::ShowsNewest() const {
  return verticalScrollBar()->value() == verticalScrollBar()->maximum();
}

void ActivityTable::RowsShifted(int rows) {
  QItemSelectionModel *selection = selectionModel();
  if (selection->hasSelection()) {
    QItemSelection moved;
    for (const QItemSelectionRange &range : selection->selection())
      if (range.bottom() >= rows)
        moved.select(model_.index(std::max(range.top() - rows, 0), range.left()),
                     model_.index(range.bottom() - rows, range.right()));
    selection->select(moved, QItemSelectionModel::ClearAndSelect);
  }
  const QModelIndex current = selection->currentIndex();
  if (current.isValid())
    selection->setCurrentIndex(current.row() >= rows ? model_.index(current.row() - rows, current.column())
                                                     : QModelIndex(),
                               QItemSelectionModel::NoUpdate);
  shiftPending_ = rows;
}

void ActivityTable::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles) {
  const int rows = std::exchange(shiftPending_, 0);
  if (rows == 0 || model_.rowCount() == 0) {
    QTableView::dataChanged(topLeft, bottomRight, roles);
    return;
  }
  // Every row now holds what the row `rows` below it held: move the picture
  // up, so that only the rows that came in are painted.
  viewport()->scroll(0, -rows * rowHeight(0));
  // Scrolled away from the newest, the view goes up with the calls it showed.
  if (!following_)
    verticalScrollBar()->setValue(std::max(verticalScrollBar()->value() - rows, 0));
}

} // namespace vq
