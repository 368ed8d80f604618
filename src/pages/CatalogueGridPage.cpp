#include "CatalogueGridPage.h"

#include "gui/GridEditing.h"
#include "gui/GridPlaceKeeper.h"

namespace kt41::pages {

using namespace kt41::catalogue;
using namespace kt41::gui;

namespace {

const QStringList kHeadings{"Параметр", "Значение"};

} // namespace

CatalogueGridPage::CatalogueGridPage(PageHost& host, const QString& gridName, QWidget* parent)
    : QWidget(parent), host_(host), grid_(new ParamGrid(this)) {
    grid_->setObjectName(gridName);
    grid_->SetHeadings(kHeadings);
    grid_->SetColumnReadOnly(0, true);
    grid_->SetColumnAlignment(0, Qt::AlignLeft);
    grid_->SetColumnAlignment(1, Qt::AlignHCenter);
    // A name longer than its column takes a second line instead of being cut.
    grid_->SetWrappingColumn(0);
    grid_->ResetRows();
    grid_->SetEditCellDone(
        [this](const CellEdit& edit) { AdvColumnGrid_ConfDeviceEditCellDone(edit); });
}

void CatalogueGridPage::FillRows(const std::vector<int>& members) {
    const int textHeight = host_.MeasuredTextHeight();
    // A refill from the model (a read, an opened file) leaves the user where
    // he was in the grid.
    const GridPlaceKeeper keep(*grid_);
    grid_->ResetRows();
    for (const int member : members) {
        const int row = grid_->InsertRowBeforeTrailing(
            {ToQString(Entry(member).Name), ToQString(ValueText(member))}, textHeight);
        grid_->RowOption[std::size_t(row)] = member;
    }
    grid_->RemoveTrailingEmptyRow();
}

EditorSpec CatalogueGridPage::EditorOfCell(int row, int column) {
    if (column != 1 || row < 1 || row >= int(grid_->RowOption.size())) {
        return {};
    }
    const int member = grid_->RowOption[std::size_t(row)];
    if (member < 0) {
        return {};
    }
    const TCatalogueEntry& entry = Entry(member);
    return EditorSpecFor(entry, entry.Editor == ekChoiceList ? Choices(member) : QStringList{});
}

void CatalogueGridPage::AdvColumnGrid_ConfDeviceEditCellDone(const CellEdit& edit) {
    const int member =
        edit.Row < int(grid_->RowOption.size()) ? grid_->RowOption[std::size_t(edit.Row)] : -1;
    if (member >= 0) {
        const TCatalogueEntry& entry = Entry(member);
        if (const auto value = StoredIntegerOfEdit(edit, entry.Scale)) {
            StoreValue(member, *value);
        }
        // The cell shows what the model now holds: a decimal in its format, a
        // spin's integer, a choice's entry.
        grid_->SetCellText(edit.Row, 1, ToQString(ValueText(member)));
    }
}

} // namespace kt41::pages
