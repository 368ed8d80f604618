#pragma once

class QTableWidget;

namespace kt41::pages {

// The grids of the main window's pages whose column widths are kept, each with
// its section of the settings key. The four contour grids share one section,
// which only contour 1's grid saves.
struct PageGridLayout {
    const char* Grid; // the grid's object name
    const char* Section;
    bool SavedAtClose;
};

// Gives the user the machine-wide defaults of every section above that he
// does not have yet. Run once at start, before any page loads its widths.
void CopyDefaultPageGridWidths();

// The stored widths of a page grid, by the section of its object name; a grid
// without an entry is left alone. Saving writes only the sections saved at close.
void LoadPageGridWidths(QTableWidget& grid);
void SavePageGridWidths(const QTableWidget& grid);

} // namespace kt41::pages
