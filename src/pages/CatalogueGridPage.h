#pragma once

#include "PageHost.h"
#include "catalogue/CatalogueEntry.h"
#include "gui/ParamGrid.h"

#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

namespace kt41::pages {

// A page whose grid shows one catalogue member per row, "Параметр" and
// "Значение": the device page and the four contour pages. The rows are built
// from the catalogue and the model, the editors come from the catalogue, and
// the end of an edit goes through the one shared handler below.
class CatalogueGridPage : public QWidget {
    Q_OBJECT
public:
    gui::ParamGrid* Grid() const { return grid_; }

    // The edit-end handler of the device grid and of the four contour grids:
    // the editor's value becomes the stored integer of the row's member and
    // goes into the model; a decimal cell is then rewritten from the model, so
    // it shows exactly what was stored.
    void AdvColumnGrid_ConfDeviceEditCellDone(const gui::CellEdit& edit);

protected:
    // Creates the grid, named gridName, with its two columns.
    CatalogueGridPage(PageHost& host, const QString& gridName, QWidget* parent);

    // Rebuilds the grid with one row per member in the given order: column 0
    // the catalogue name, column 1 the model's text. Rows are sized by the text
    // height the device page measured. The grid keeps its scroll position and
    // current cell.
    void FillRows(const std::vector<int>& members);

    // The editor of column 1 of a row that has a member (its catalogue entry,
    // the page's choices); no editor elsewhere.
    gui::EditorSpec EditorOfCell(int row, int column);

    virtual const catalogue::TCatalogueEntry& Entry(int member) const = 0;
    virtual QStringList Choices(int member) const = 0;
    virtual std::string ValueText(int member) const = 0;
    virtual void StoreValue(int member, std::int32_t value) = 0;

    PageHost& host_;

private:
    gui::ParamGrid* grid_;
};

} // namespace kt41::pages
