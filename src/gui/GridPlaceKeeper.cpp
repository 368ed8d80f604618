#include "GridPlaceKeeper.h"

#include <QScrollBar>
#include <QTableView>

#include <algorithm>

namespace kt41::gui {

GridPlaceKeeper::GridPlaceKeeper(QTableView& grid)
    : grid_(grid), autoScroll_(grid.hasAutoScroll()), vertical_(grid.verticalScrollBar()->value()),
      horizontal_(grid.horizontalScrollBar()->value()) {
    const QModelIndex current = grid.currentIndex();
    if (current.isValid()) {
        row_ = current.row();
        column_ = current.column();
        selected_ = grid.selectionModel() != nullptr && grid.selectionModel()->isSelected(current);
    }
    // A current cell that moves while the rows are rebuilt scrolls nothing,
    // now or at the next showing.
    grid.setAutoScroll(false);
}

GridPlaceKeeper::~GridPlaceKeeper() {
    if (QItemSelectionModel* selection = grid_.selectionModel()) {
        const QAbstractItemModel* model = grid_.model();
        QModelIndex current;
        if (row_ >= 0 && model->rowCount() > 0 && model->columnCount() > 0) {
            current = model->index(std::min(row_, model->rowCount() - 1),
                                   std::min(column_, model->columnCount() - 1));
        }
        // Selected as a click selects: the cell, or its whole row or column.
        QItemSelectionModel::SelectionFlags select = QItemSelectionModel::ClearAndSelect;
        if (grid_.selectionBehavior() == QAbstractItemView::SelectRows) {
            select |= QItemSelectionModel::Rows;
        } else if (grid_.selectionBehavior() == QAbstractItemView::SelectColumns) {
            select |= QItemSelectionModel::Columns;
        }
        selection->setCurrentIndex(current, selected_ ? select : QItemSelectionModel::Clear);
    }
    grid_.verticalScrollBar()->setValue(vertical_);
    grid_.horizontalScrollBar()->setValue(horizontal_);
    grid_.setAutoScroll(autoScroll_);
}

} // namespace kt41::gui
