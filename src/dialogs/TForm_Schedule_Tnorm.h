#pragma once

#include "WorkingCopyDialog.h"
#include "gui/ParamGrid.h"

#include <array>
#include <cstdint>

class QComboBox;

namespace kt41::dialogs {

// "Температурный график": the schedule of contour 1 or 2, eight points of
// outdoor, supply and return temperature. Every opening shows and edits all
// eight points; OK stores the 24 temperatures with the point count 8.
class TForm_Schedule_Tnorm : public WorkingCopyDialog {
    Q_OBJECT
public:
    TForm_Schedule_Tnorm(device::TKT41& model, QWidget* parent);

    void FormCreate() override;
    void FormShow() override;
    void FormClose() override;
    void ComboBox_PointsChange();
    gui::EditorSpec AdvColumnGrid_ScheduleGetEditorType(int row, int column);
    void AdvColumnGrid_ScheduleEditCellDone(const gui::CellEdit& edit);

    // The working copy.
    std::array<std::int16_t, 8> Tout{};
    std::array<std::int16_t, 8> Tin{};
    std::array<std::int16_t, 8> Tback{};
    std::uint16_t Qt_Points = 0;

    // Inclusive bounds of a temperature cell: point 1..8, column 1..3.
    struct Bounds {
        int Lower;
        int Upper;
    };
    static Bounds CellBounds(int point, int column);

    QComboBox* ComboBox_Points = nullptr;
    gui::ParamGrid* AdvColumnGrid_Schedule = nullptr;

protected:
    void LoadWorkingCopy(int contour) override;
    void StoreWorkingCopy(int contour) override;

private:
    void RebuildGrid();
    std::array<std::int16_t, 8>* Column(int column);
};

} // namespace kt41::dialogs
