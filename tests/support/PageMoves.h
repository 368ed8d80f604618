#pragma once

// The user's moves on the parameter pages of a running program: opening a
// cell's editor on the page that holds the grid, typing into it, picking a
// list entry, and finding the row of a catalogue member.
#include "app/TForm_Main.h"
#include "catalogue/ModelTexts.h"
#include "device/TKT41.h"
#include "gui/ParamGrid.h"
#include "pages/ContourPage.h"
#include "pages/DevicePage.h"
#include "pages/InputsPage.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace kt41::testing {

inline pages::ContourPage& ContourPageOf(app::TForm_Main& main, int contour) {
    return *dynamic_cast<pages::ContourPage*>(
        main.PageAt(app::TForm_Main::kPageContour1 + contour - 1));
}
inline pages::DevicePage& DevicePageOf(app::TForm_Main& main) {
    return *dynamic_cast<pages::DevicePage*>(main.PageAt(app::TForm_Main::kPageDevice));
}
inline pages::InputsPage& InputsPageOf(app::TForm_Main& main) {
    return *dynamic_cast<pages::InputsPage*>(main.PageAt(app::TForm_Main::kPageInputs));
}

// Shows the page that holds the grid and opens the cell's editor there.
inline QWidget* OpenCellEditor(app::TForm_Main& main, gui::ParamGrid& grid, int row, int column) {
    for (QWidget* w = &grid; w != nullptr; w = w->parentWidget()) {
        if (main.PageControl1->indexOf(w) >= 0) {
            main.PageControl1->setCurrentWidget(w);
        }
    }
    return grid.OpenEditor(row, column);
}

// Types text into the cell's editor and ends the edit as Enter does.
inline void TypeIntoCell(app::TForm_Main& main, gui::ParamGrid& grid, int row, int column,
                         const QString& text) {
    QWidget* editor = OpenCellEditor(main, grid, row, column);
    ASSERT_NE(editor, nullptr) << "no editor at " << row << "," << column;
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line == nullptr) {
        line = editor->findChild<QLineEdit*>();
    }
    ASSERT_NE(line, nullptr);
    line->selectAll();
    QTest::keyClicks(line, text);
    grid.CommitEditor();
}

// The cell's list editor, or null.
inline QComboBox* CellListEditor(app::TForm_Main& main, gui::ParamGrid& grid, int row, int column) {
    return qobject_cast<QComboBox*>(OpenCellEditor(main, grid, row, column));
}

// Picks entry index in the cell's list editor.
inline void PickInCell(app::TForm_Main& main, gui::ParamGrid& grid, int row, int column,
                       int index) {
    QComboBox* combo = CellListEditor(main, grid, row, column);
    ASSERT_NE(combo, nullptr) << "no list at " << row << "," << column;
    ASSERT_LT(index, combo->count());
    emit combo->activated(index);
}

// The grid row that shows the catalogue member; -1 when none does.
inline int RowOf(const gui::ParamGrid& grid, int member) {
    for (int row = 1; row < int(grid.RowOption.size()); ++row) {
        if (grid.RowOption[std::size_t(row)] == member) {
            return row;
        }
    }
    return -1;
}

// Checks that the contour, inputs and device pages show `expected` (a model
// filled independently of the window's: from the simulator, or from a file):
// each contour's type, every grid cell and the identity texts, as the
// catalogue's texts of expected's values.
inline void ExpectPagesShow(app::TForm_Main& main, const device::TKT41& expected) {
    const std::string point = QLocale().decimalPoint().toStdString();
    const auto text = [](const std::string& s) { return QString::fromStdString(s); };
    for (int contour = 1; contour <= 4; ++contour) {
        SCOPED_TRACE("contour " + std::to_string(contour));
        pages::ContourPage& page = ContourPageOf(main, contour);
        EXPECT_EQ(page.ComboBox_TipContur->currentIndex(), expected.GetContourType(contour));
        const gui::ParamGrid& grid = *page.AdvColumnGrid_Contour;
        int rows = 0;
        for (int row = 1; row < grid.rowCount(); ++row) {
            const int member = grid.RowOption[std::size_t(row)];
            if (member >= 0) {
                ++rows;
                EXPECT_EQ(grid.CellText(row, 1),
                          text(catalogue::GetContourParamText(expected, contour,
                                                              device::TConturOpt(member), point)))
                    << "member " << member;
            }
        }
        EXPECT_EQ(rows > 0, expected.GetContourType(contour) != 0);
    }
    pages::InputsPage& inputs = InputsPageOf(main);
    for (int input = 1; input <= 6; ++input) {
        for (int column = 1; column < inputs.AdvColumnGrid_Input_T->columnCount(); ++column) {
            EXPECT_EQ(inputs.AdvColumnGrid_Input_T->CellText(input, column),
                      text(catalogue::GetInputText(expected, input, column - 1)))
                << "T" << input << " column " << column;
        }
    }
    for (int input = 1; input <= 4; ++input) {
        for (int column = 1; column < inputs.AdvColumnGrid_Input_P->columnCount(); ++column) {
            EXPECT_EQ(inputs.AdvColumnGrid_Input_P->CellText(input, column),
                      text(catalogue::GetAnalogInputText(expected, input, column - 1, point)))
                << "P" << input << " column " << column;
        }
    }
    EXPECT_EQ(inputs.StaticText_ResistTermInfo->text(),
              text(catalogue::GetThermometerTypeText(expected)));
    pages::DevicePage& device = DevicePageOf(main);
    EXPECT_EQ(device.StaticText_NumInfo->text(), text(catalogue::GetSerialNumberText(expected)));
    EXPECT_EQ(device.StaticText_VerInfo->text(), text(catalogue::GetVersionText(expected)));
    const gui::ParamGrid& grid = *device.AdvColumnGrid_ConfDevice;
    int rows = 0;
    for (int row = 1; row < grid.rowCount(); ++row) {
        const int member = grid.RowOption[std::size_t(row)];
        if (member >= 0) {
            ++rows;
            EXPECT_EQ(grid.CellText(row, 1), text(catalogue::GetDeviceParamText(
                                                 expected, device::TDeviceOpt(member), point)))
                << "device member " << member;
        }
    }
    EXPECT_EQ(rows, device::kDeviceOptCount);
}

} // namespace kt41::testing
