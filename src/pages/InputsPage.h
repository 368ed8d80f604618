#pragma once

#include "MainWindowPage.h"
#include "PageHost.h"
#include "gui/ParamGrid.h"

#include <QWidget>

#include <array>

class QLabel;

namespace kt41::pages {

// The page "Входы" (tab 5): the thermometer type and the settings of the six
// resistance-thermometer inputs (AdvColumnGrid_Input_T, rows T1..T6) and the
// four 4-20 mA inputs (AdvColumnGrid_Input_P, rows P1..P4). Grid columns 1 to
// 4 carry the input settings of the column map RowOption; column 5 of the
// 4-20 mA grid is the unit of the 20 mA value, derived from the function.
class InputsPage : public QWidget, public MainWindowPage {
    Q_OBJECT
public:
    explicit InputsPage(PageHost& host, QWidget* parent = nullptr);

    // Input column map: the TInputOpt member of grid columns 1 to 4 (entry
    // column - 1), -1 until FormCreate fills it.
    std::array<int, 4> RowOption{-1, -1, -1, -1};

    // --- handlers --------------------------------------------------------------
    // The headings (line breaks, the merged 20 mA heading, heading heights) and
    // the input names.
    void PrepareInputHeaders();
    // ioJoinContour, ioFunc, ioAlarm, ioMaxValAnalog.
    void FillInputColumnMap();
    // The thermometer type and every input cell from the model.
    void FillInputGrids();
    // Shared by both grids; which cells take an edit is the catalogue's rule.
    gui::EditorSpec AdvColumnGrid_InputGetEditorType(const gui::ParamGrid& grid, int row,
                                                     int column);
    void AdvColumnGrid_Input_EditCellDone(gui::ParamGrid& grid, const gui::CellEdit& edit);

    // MainWindowPage: column widths, headings, column map, the default model's
    // values; the input grids from the model.
    void PrepareAtStart() override;
    void PrepareClose() override;
    void ShowModel() override;

    // --- controls ----------------------------------------------------------------
    QLabel* StaticText_ResistTermInfo = nullptr;
    gui::ParamGrid* AdvColumnGrid_Input_T = nullptr;
    gui::ParamGrid* AdvColumnGrid_Input_P = nullptr;

private:
    bool IsAnalog(const gui::ParamGrid& grid) const { return &grid == AdvColumnGrid_Input_P; }
    // The stored assignment, function or alarm (setting, a TInputOpt) of an
    // input; -1 for another setting or input.
    int RawSetting(bool analog, int input, int setting) const;
    void FillInputRow(bool analog, int input);

    PageHost& host_;
};

} // namespace kt41::pages
