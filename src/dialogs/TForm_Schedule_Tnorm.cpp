#include "TForm_Schedule_Tnorm.h"

#include "device/TKT41.h"
#include "gui/ColumnWidths.h"
#include "gui/RegistryTree.h"
#include "gui/WindowPlacement.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kt41::dialogs {

namespace {

const QString kWindowName = "Form_Schedule_Tnorm";
const QString kSection = "Table_Schedule_Tnorm";
constexpr int kMinWidth = 300;
constexpr int kMinHeight = 348;
constexpr int kHeadingHeight = 42;
constexpr int kPoints = 8;
constexpr int kColumnWidths[] = {60, 78, 78, 78};

using Bounds = TForm_Schedule_Tnorm::Bounds;

// Rows: point 1, points 2 to 7, point 8. Columns: outdoor, supply, return.
constexpr Bounds kFirstPoint[3] = {{-50, -10}, {30, 120}, {20, 120}};
constexpr Bounds kMiddlePoint[3] = {{-50, 10}, {30, 120}, {20, 120}};
constexpr Bounds kLastPoint[3] = {{0, 15}, {30, 120}, {20, 120}};

} // namespace

TForm_Schedule_Tnorm::TForm_Schedule_Tnorm(device::TKT41& model, QWidget* parent)
    : WorkingCopyDialog(model, kWindowName, "Температурный график", parent) {
    setMinimumSize(kMinWidth, kMinHeight);

    ComboBox_Points = new QComboBox;
    ComboBox_Points->setObjectName("ComboBox_Points");
    ComboBox_Points->addItems({"2", "3", "4", "5", "6", "7", "8"});
    ComboBox_Points->setEnabled(false); // set by the program only
    connect(ComboBox_Points, &QComboBox::activated, this,
            &TForm_Schedule_Tnorm::ComboBox_PointsChange);

    AdvColumnGrid_Schedule = new gui::ParamGrid;
    AdvColumnGrid_Schedule->setObjectName("AdvColumnGrid_Schedule");
    AdvColumnGrid_Schedule->SetHeadings({"№ точки", "t_нар., °C", "t_под., °C", "t_обр., °C"});
    AdvColumnGrid_Schedule->SetHeadingHeight(kHeadingHeight);
    AdvColumnGrid_Schedule->SetHeadingWordWrap(true);
    AdvColumnGrid_Schedule->SetColumnReadOnly(0, true);
    for (int column = 0; column < 4; ++column) {
        AdvColumnGrid_Schedule->SetColumnAlignment(column, Qt::AlignHCenter);
        AdvColumnGrid_Schedule->setColumnWidth(column, kColumnWidths[column]);
    }
    AdvColumnGrid_Schedule->SetEditorProvider(
        [this](int row, int column) { return AdvColumnGrid_ScheduleGetEditorType(row, column); });
    AdvColumnGrid_Schedule->SetEditCellDone(
        [this](const gui::CellEdit& edit) { AdvColumnGrid_ScheduleEditCellDone(edit); });

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Количество точек"));
    top->addWidget(ComboBox_Points);
    top->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(AdvColumnGrid_Schedule, 1);
    layout->addLayout(ButtonStrip());
}

Bounds TForm_Schedule_Tnorm::CellBounds(int point, int column) {
    if (column < 1 || column > 3 || point < 1 || point > kPoints) {
        return {0, 0};
    }
    const Bounds* row = point == 1 ? kFirstPoint : point == kPoints ? kLastPoint : kMiddlePoint;
    return row[column - 1];
}

void TForm_Schedule_Tnorm::FormCreate() {
    const bool placed = gui::RestoreWindowPlacement(*this, kWindowName);
    gui::CopyDefaultColumnWidths(kSection);
    RebuildGrid(); // the selector's first item: two points
    if (!placed) {
        // Room for the eight points of every showing in their column widths.
        ResizeToShow(*AdvColumnGrid_Schedule, AdvColumnGrid_Schedule->ContentFitSize(kPoints));
    }
}

void TForm_Schedule_Tnorm::RebuildGrid() {
    gui::ParamGrid& grid = *AdvColumnGrid_Schedule;
    grid.ResetRows();
    gui::LoadColumnWidths(&grid, kSection);
    bool ok = false;
    int points = ComboBox_Points->currentText().toInt(&ok);
    if (!ok) {
        points = 2;
    }
    const int textHeight = QFontMetrics(grid.font()).height();
    for (int point = 1; point <= points; ++point) {
        grid.InsertRowBeforeTrailing({QString::number(point)}, textHeight);
    }
    grid.RemoveTrailingEmptyRow();
}

void TForm_Schedule_Tnorm::ComboBox_PointsChange() {
    RebuildGrid();
    Qt_Points = std::uint16_t(ComboBox_Points->currentIndex() + 2);
    const int shown = std::min<int>(Qt_Points, kPoints);
    for (int point = 1; point <= shown; ++point) {
        for (int column = 1; column <= 3; ++column) {
            AdvColumnGrid_Schedule->SetCellText(point, column,
                                                QString::number((*Column(column))[point - 1]));
        }
    }
}

void TForm_Schedule_Tnorm::FormShow() {
    // The dialog always edits all eight points, whatever count the model held.
    Qt_Points = kPoints;
    ComboBox_Points->setCurrentIndex(Qt_Points - 2);
    ComboBox_PointsChange();
    AdvColumnGrid_Schedule->setCurrentCell(1, 1);
}

gui::EditorSpec TForm_Schedule_Tnorm::AdvColumnGrid_ScheduleGetEditorType(int row, int column) {
    gui::EditorSpec offer;
    if (row < 1 || row >= AdvColumnGrid_Schedule->rowCount() || column < 1 || column > 3) {
        return offer;
    }
    const Bounds bounds = CellBounds(row, column);
    offer.Kind = catalogue::ekSpin;
    offer.Min = bounds.Lower;
    offer.Max = bounds.Upper;
    return offer;
}

void TForm_Schedule_Tnorm::AdvColumnGrid_ScheduleEditCellDone(const gui::CellEdit& edit) {
    if (edit.Kind == catalogue::ekSpin && edit.Row >= 1 && edit.Row <= kPoints) {
        if (auto* values = Column(edit.Column)) {
            (*values)[edit.Row - 1] = std::int16_t(edit.IntValue);
        }
    }
}

void TForm_Schedule_Tnorm::FormClose() {
    gui::SaveColumnWidths(AdvColumnGrid_Schedule, kSection);
    gui::SaveWindowPlacement(*this, kWindowName);
}

void TForm_Schedule_Tnorm::LoadWorkingCopy(int contour) {
    Model.GetSchedule(contour, Tout, Tin, Tback, Qt_Points);
}

void TForm_Schedule_Tnorm::StoreWorkingCopy(int contour) {
    Model.SetSchedule(contour, Tout, Tin, Tback, Qt_Points);
}

std::array<std::int16_t, 8>* TForm_Schedule_Tnorm::Column(int column) {
    switch (column) {
    case 1:
        return &Tout;
    case 2:
        return &Tin;
    case 3:
        return &Tback;
    default:
        return nullptr;
    }
}

} // namespace kt41::dialogs
