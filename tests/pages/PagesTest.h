#pragma once

#include "app/StartUp.h"
#include "app/TForm_Main.h"
#include "pages/ContourPage.h"
#include "pages/DevicePage.h"
#include "pages/InputsPage.h"
#include "pages/ParamGrid.h"
#include "support/GuiTest.h"

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
    pages::ContourPage& Contour(int n) {
        return *dynamic_cast<pages::ContourPage*>(
            Main().PageAt(app::TForm_Main::kPageContour1 + n - 1));
    }
    pages::DevicePage& Device() {
        return *dynamic_cast<pages::DevicePage*>(Main().PageAt(app::TForm_Main::kPageDevice));
    }
    pages::InputsPage& Inputs() {
        return *dynamic_cast<pages::InputsPage*>(Main().PageAt(app::TForm_Main::kPageInputs));
    }

    // The user picks an entry of a contour's type selector.
    void PickType(int contour, int type) {
        Main().PageControl1->setCurrentWidget(&Contour(contour));
        QComboBox* selector = Contour(contour).ComboBox_TipContur;
        selector->setCurrentIndex(type);
        emit selector->activated(type);
    }

    // Opens the cell's editor on the page that holds the grid.
    QWidget* OpenEditor(pages::ParamGrid& grid, int row, int column) {
        for (QWidget* w = &grid; w != nullptr; w = w->parentWidget()) {
            if (Main().PageControl1->indexOf(w) >= 0) {
                Main().PageControl1->setCurrentWidget(w);
            }
        }
        return grid.OpenEditor(row, column);
    }

    // Types text into the cell's editor and ends the edit as Enter does.
    void TypeInto(pages::ParamGrid& grid, int row, int column, const QString& text) {
        QWidget* editor = OpenEditor(grid, row, column);
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
    QComboBox* ListEditor(pages::ParamGrid& grid, int row, int column) {
        return qobject_cast<QComboBox*>(OpenEditor(grid, row, column));
    }

    // Picks entry index in the cell's list editor.
    void Pick(pages::ParamGrid& grid, int row, int column, int index) {
        QComboBox* combo = ListEditor(grid, row, column);
        ASSERT_NE(combo, nullptr) << "no list at " << row << "," << column;
        ASSERT_LT(index, combo->count());
        emit combo->activated(index);
    }

    // The grid row that shows the catalogue member; -1 when none does.
    static int RowOf(const pages::ParamGrid& grid, int member) {
        for (int row = 1; row < int(grid.RowOption.size()); ++row) {
            if (grid.RowOption[std::size_t(row)] == member) {
                return row;
            }
        }
        return -1;
    }

    // The members shown, top to bottom.
    static std::vector<int> Members(const pages::ParamGrid& grid) {
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
