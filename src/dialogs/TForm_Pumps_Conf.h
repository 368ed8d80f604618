#pragma once

#include "WorkingCopyDialog.h"
#include "device/Records.h"
#include "gui/ParamGrid.h"

#include <cstdint>

namespace kt41::dialogs {

// "Настройка насосной группы": the ten pump-group settings of any contour, one
// row per TNasosOpt member, with names, editors, limits and lists from the
// catalogue. Contours 3 and 4 keep their group in the reduced record.
class TForm_Pumps_Conf : public WorkingCopyDialog {
    Q_OBJECT
public:
    TForm_Pumps_Conf(device::TKT41& model, QWidget* parent);

    void FormCreate() override;
    void FormShow() override;
    void FormClose() override;
    gui::EditorSpec AdvColumnGrid_PumpsGetEditorType(int row, int column);
    void AdvColumnGrid_PumpsEditCellDone(const gui::CellEdit& edit);

    device::TPumpGroup PumpGroup; // the working copy

    gui::ParamGrid* AdvColumnGrid_Pumps = nullptr;

protected:
    void LoadWorkingCopy(int contour) override;
    void StoreWorkingCopy(int contour) override;

private:
    void SetDesignedWidths();
    void PrepareGrid();
    int RowMember(int row) const; // the TNasosOpt member of a grid row, -1 for none
};

} // namespace kt41::dialogs
