#pragma once

class QTableView;

namespace kt41::gui {

// Keeps a grid's place across a rebuild of its rows: the scroll position and
// the current cell (with its selection), each bounded to what the rebuilt grid
// has. Rebuilding moves Qt's current cell (removing rows hands it on,
// inserting rows in front of it pushes it down) and the view scrolls to where
// it lands, at once or when the grid is next shown. While the keeper lives the
// view does not scroll by itself; when it goes, the place is put back.
//
//   {
//       const GridPlaceKeeper keep(grid);
//       grid.ResetRows();
//       ... insert the rows again ...
//   }
class GridPlaceKeeper {
public:
    explicit GridPlaceKeeper(QTableView& grid);
    ~GridPlaceKeeper();
    GridPlaceKeeper(const GridPlaceKeeper&) = delete;
    GridPlaceKeeper& operator=(const GridPlaceKeeper&) = delete;

private:
    QTableView& grid_;
    bool autoScroll_;
    int row_ = -1;
    int column_ = -1;
    bool selected_ = false;
    int vertical_;
    int horizontal_;
};

} // namespace kt41::gui
