#pragma once

#include "app/StartUp.h"
#include "app/TForm_Main.h"
#include "gui/ParamGrid.h"
#include "pages/ContourPage.h"
#include "pages/DevicePage.h"
#include "pages/InputsPage.h"
#include "support/GuiTest.h"
#include "support/PageMoves.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QTabWidget>
#include <QTest>

#include <memory>
#include <vector>

namespace kt41::testing {

// The running program with its parameter pages, and the user's moves on them:
// picking a contour type, typing into a cell's editor, picking a list entry.
class PagesTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        program_ = StartProgram();
        Main().show();
    }
    void TearDown() override {
        program_.reset();
        GuiTest::TearDown();
    }

    app::TForm_Main& Main() { return program_->Main(); }
    device::TKT41& Model() { return Main().Model(); }
    pages::ContourPage& Contour(int n) { return ContourPageOf(Main(), n); }
    pages::DevicePage& Device() { return DevicePageOf(Main()); }
    pages::InputsPage& Inputs() { return InputsPageOf(Main()); }

    // The user picks an entry of a contour's type selector.
    void PickType(int contour, int type) {
        Main().PageControl1->setCurrentWidget(&Contour(contour));
        QComboBox* selector = Contour(contour).ComboBox_TipContur;
        selector->setCurrentIndex(type);
        emit selector->activated(type);
    }

    QWidget* OpenEditor(gui::ParamGrid& grid, int row, int column) {
        return OpenCellEditor(Main(), grid, row, column);
    }
    void TypeInto(gui::ParamGrid& grid, int row, int column, const QString& text) {
        TypeIntoCell(Main(), grid, row, column, text);
    }
    QComboBox* ListEditor(gui::ParamGrid& grid, int row, int column) {
        return CellListEditor(Main(), grid, row, column);
    }
    void Pick(gui::ParamGrid& grid, int row, int column, int index) {
        PickInCell(Main(), grid, row, column, index);
    }
    static int RowOf(const gui::ParamGrid& grid, int member) {
        return testing::RowOf(grid, member);
    }

    // The members shown, top to bottom.
    static std::vector<int> Members(const gui::ParamGrid& grid) {
        std::vector<int> members;
        for (int row = 1; row < grid.rowCount(); ++row) {
            if (grid.RowOption[std::size_t(row)] >= 0) {
                members.push_back(grid.RowOption[std::size_t(row)]);
            }
        }
        return members;
    }

    // A number as the pages show it, with the user's decimal separator.
    static QString Shown(QString number) { return number.replace('.', QLocale().decimalPoint()); }

private:
    std::unique_ptr<app::ProgramWindows> program_;
};

} // namespace kt41::testing
