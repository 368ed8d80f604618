#include "GridLayouts.h"

#include "gui/ColumnWidths.h"
#include "gui/RegistryTree.h"

#include <QTableWidget>

#include <algorithm>
#include <iterator>

namespace kt41::pages {

namespace {

constexpr PageGridLayout kLayouts[] = {
    {"AdvColumnGrid_Contour1", "Table_Contur", true},
    {"AdvColumnGrid_Contour2", "Table_Contur", false},
    {"AdvColumnGrid_Contour3", "Table_Contur", false},
    {"AdvColumnGrid_Contour4", "Table_Contur", false},
    {"AdvColumnGrid_Arx", "Table_Arx", true},
    {"AdvColumnGrid_ConfDevice", "Table_Device", true},
    {"AdvColumnGrid_LogErr", "Table_LogErr", true},
    {"AdvColumnGrid_CurIndicat", "Table_CurIndikat", true},
    {"AdvColumnGrid_CurIndicat2", "Table_CurIndikat2", true},
    {"AdvColumnGrid_Input_T", "Table_Input1", true},
    {"AdvColumnGrid_Input_P", "Table_Input2", true},
};

const PageGridLayout* LayoutOf(const QTableWidget& grid) {
    const QByteArray name = grid.objectName().toUtf8();
    const auto found = std::find_if(std::begin(kLayouts), std::end(kLayouts),
                                    [&](const PageGridLayout& l) { return name == l.Grid; });
    return found != std::end(kLayouts) ? found : nullptr;
}

} // namespace

void CopyDefaultPageGridWidths() {
    for (const PageGridLayout& layout : kLayouts) {
        if (layout.SavedAtClose) {
            gui::CopyDefaultColumnWidths(layout.Section);
        }
    }
}

void LoadPageGridWidths(QTableWidget& grid) {
    if (const PageGridLayout* layout = LayoutOf(grid)) {
        gui::LoadColumnWidths(&grid, layout->Section);
    }
}

void SavePageGridWidths(const QTableWidget& grid) {
    if (const PageGridLayout* layout = LayoutOf(grid); layout && layout->SavedAtClose) {
        gui::SaveColumnWidths(&grid, layout->Section);
    }
}

} // namespace kt41::pages
