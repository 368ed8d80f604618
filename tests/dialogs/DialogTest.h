#pragma once

#include "app/StartUp.h"
#include "gui/ParamGrid.h"
#include "support/GuiTest.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace kt41::testing {

// The program's windows started in start-up order; the dialogs are driven
// through their real grids while they run modally.
class DialogTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        program = StartProgram();
    }
    void TearDown() override {
        program.reset();
        GuiTest::TearDown();
    }

    app::TForm_Main& Main() { return program->Main(); }
    device::TKT41& Model() { return Main().Model(); }

    // Runs open() (which shows dialog modally) with script acting inside the
    // dialog's event loop. A dialog the script leaves open is cancelled, so a
    // failed assertion in the script never hangs the test.
    template <class Open>
    static int RunModal(QDialog& dialog, std::function<void()> script, Open open) {
        QTimer::singleShot(0, &dialog, [&dialog, script] {
            script();
            if (dialog.isVisible()) {
                dialog.reject();
            }
        });
        return open();
    }

public:
    // Types text into the cell's integer spinner and ends the edit.
    static void TypeInto(gui::ParamGrid& grid, int row, int column, const QString& text) {
        QWidget* editor = grid.OpenEditor(row, column);
        ASSERT_NE(editor, nullptr) << "no editor at " << row << "," << column;
        auto* line = editor->findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr);
        line->selectAll();
        QTest::keyClicks(line, text);
        grid.CommitEditor();
    }

    // Picks entry index from the cell's drop-down list.
    static void Pick(gui::ParamGrid& grid, int row, int column, int index) {
        auto* combo = qobject_cast<QComboBox*>(grid.OpenEditor(row, column));
        ASSERT_NE(combo, nullptr) << "no list at " << row << "," << column;
        ASSERT_LT(index, combo->count());
        emit combo->activated(index);
    }

protected:
    // The configuration file round trip: saves the model and loads the file
    // into a fresh model of the same kind.
    std::unique_ptr<device::TKT41> SavedAndReloaded();

    std::unique_ptr<app::ProgramWindows> program;

private:
    std::vector<std::unique_ptr<driver::Kt41Driver>> reloadDrivers_;
};

} // namespace kt41::testing
