#include "TForm_Pumps_Conf.h"

#include "catalogue/Catalogue.h"
#include "catalogue/ModelTexts.h"
#include "device/FieldRef.h"
#include "device/TKT41.h"
#include "gui/ColumnWidths.h"
#include "gui/GridEditing.h"
#include "gui/RegistryTree.h"
#include "gui/WindowPlacement.h"

#include <QVBoxLayout>

namespace kt41::dialogs {

namespace {

using device::TNasosOpt;
using gui::ToQString;

const QString kWindowName = "Form_Pumps_Conf";
const QString kSection = "Table_Pumps";
constexpr int kMinWidth = 380;
constexpr int kMinHeight = 260;
constexpr int kHeadingHeight = 24;
constexpr int kNameWidth = 86;
constexpr int kValueWidth = 85;
constexpr int kCellPadding = 16; // room beside a cell's text

} // namespace

TForm_Pumps_Conf::TForm_Pumps_Conf(device::TKT41& model, QWidget* parent)
    : WorkingCopyDialog(model, kWindowName, "Настройка насосной группы", parent) {
    setMinimumSize(kMinWidth, kMinHeight);

    AdvColumnGrid_Pumps = new gui::ParamGrid;
    AdvColumnGrid_Pumps->setObjectName("AdvColumnGrid_Pumps");
    AdvColumnGrid_Pumps->SetHeadings({"Параметр", "Значение"});
    AdvColumnGrid_Pumps->SetHeadingHeight(kHeadingHeight);
    AdvColumnGrid_Pumps->SetColumnReadOnly(0, true);
    AdvColumnGrid_Pumps->SetColumnAlignment(0, Qt::AlignLeft);
    AdvColumnGrid_Pumps->SetColumnAlignment(1, Qt::AlignHCenter);
    SetDesignedWidths();
    AdvColumnGrid_Pumps->SetActiveRowShow(true);
    AdvColumnGrid_Pumps->SetEditorProvider(
        [this](int row, int column) { return AdvColumnGrid_PumpsGetEditorType(row, column); });
    AdvColumnGrid_Pumps->SetEditCellDone(
        [this](const gui::CellEdit& edit) { AdvColumnGrid_PumpsEditCellDone(edit); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AdvColumnGrid_Pumps, 1);
    layout->addLayout(ButtonStrip());
}

// The designed widths are widened to the longest name and value text in the
// grid's font, so that a first start shows every row whole.
void TForm_Pumps_Conf::SetDesignedWidths() {
    gui::ParamGrid& grid = *AdvColumnGrid_Pumps;
    const QFontMetrics metrics(grid.font());
    int names = 0;
    int values = 0;
    for (int member = 0; member < device::kNasosOptCount; ++member) {
        const catalogue::TCatalogueEntry& entry = catalogue::PumpEntry(TNasosOpt(member));
        names = std::max(names, metrics.horizontalAdvance(ToQString(entry.Name)));
        for (std::string_view choice : entry.Choices) {
            values = std::max(values, metrics.horizontalAdvance(ToQString(choice)));
        }
    }
    grid.setColumnWidth(0, std::max(kNameWidth, names + kCellPadding));
    grid.setColumnWidth(1, std::max(kValueWidth, values + kCellPadding));
}

void TForm_Pumps_Conf::FormCreate() {
    const bool placed = gui::RestoreWindowPlacement(*this, kWindowName);
    gui::CopyDefaultColumnWidths(kSection);
    PrepareGrid();
    if (!placed) {
        ResizeToShow(*AdvColumnGrid_Pumps,
                     AdvColumnGrid_Pumps->ContentFitSize(device::kNasosOptCount));
    }
}

void TForm_Pumps_Conf::PrepareGrid() {
    AdvColumnGrid_Pumps->ResetRows();
    gui::LoadColumnWidths(AdvColumnGrid_Pumps, kSection);
}

void TForm_Pumps_Conf::FormShow() {
    PrepareGrid();
    gui::ParamGrid& grid = *AdvColumnGrid_Pumps;
    const int textHeight = QFontMetrics(grid.font()).height();
    for (int member = 0; member < device::kNasosOptCount; ++member) {
        const auto option = TNasosOpt(member);
        const int row = grid.InsertRowBeforeTrailing(
            {ToQString(catalogue::PumpEntry(option).Name),
             QString::fromStdString(catalogue::GetPumpParamText(PumpGroup, option))},
            textHeight);
        grid.RowOption[row] = member;
    }
    grid.RemoveTrailingEmptyRow();
    grid.setCurrentCell(1, 1);
}

int TForm_Pumps_Conf::RowMember(int row) const {
    const auto& map = AdvColumnGrid_Pumps->RowOption;
    return row >= 0 && row < int(map.size()) ? map[row] : -1;
}

gui::EditorSpec TForm_Pumps_Conf::AdvColumnGrid_PumpsGetEditorType(int row, int column) {
    const int member = RowMember(row);
    if (column != 1 || member < 0) {
        return {};
    }
    const auto option = TNasosOpt(member);
    const catalogue::TCatalogueEntry& entry = catalogue::PumpEntry(option);
    gui::EditorSpec offer = gui::EditorSpecFor(entry, gui::ToQStringList(entry.Choices));
    if (offer.Kind == catalogue::ekChoiceList) {
        const auto value = device::PumpFieldValue(PumpGroup, option);
        // A value beyond the list preselects nothing: the user picks an entry.
        offer.CurrentChoice =
            value && *value >= 0 && *value < offer.Choices.size() ? int(*value) : -1;
    }
    return offer;
}

void TForm_Pumps_Conf::AdvColumnGrid_PumpsEditCellDone(const gui::CellEdit& edit) {
    const int member = RowMember(edit.Row);
    const bool known = edit.Kind == catalogue::ekSpin || edit.Kind == catalogue::ekChoiceList;
    if (member >= 0 && edit.Column == 1 && known) {
        // The spinner's value within its limits, or the chosen entry's position.
        device::PumpField(PumpGroup, TNasosOpt(member)).Set(edit.IntValue);
    }
}

void TForm_Pumps_Conf::FormClose() {
    gui::SaveColumnWidths(AdvColumnGrid_Pumps, kSection);
    AdvColumnGrid_Pumps->RowOption.assign(AdvColumnGrid_Pumps->rowCount(), -1);
    gui::SaveWindowPlacement(*this, kWindowName);
}

void TForm_Pumps_Conf::LoadWorkingCopy(int contour) {
    Model.GetPumpGroup(contour, PumpGroup);
}

void TForm_Pumps_Conf::StoreWorkingCopy(int contour) {
    Model.SetPumpGroup(contour, PumpGroup);
}

} // namespace kt41::dialogs
