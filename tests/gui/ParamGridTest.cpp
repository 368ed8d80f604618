#include "gui/ParamGrid.h"
#include "gui/ClampingSpinBox.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "support/GuiTest.h"

#include <gtest/gtest.h>

using namespace kt41::gui;
using namespace kt41::catalogue;

namespace {

// A grid with a heading row and three parameter rows: an integer spin
// (10..3600), a decimal spin (0.00..3.00) and a choice list with a repeated
// entry, plus a free decimal field in row 4.
class ParamGridFixture : public kt41::testing::GuiTest {
protected:
    // Widgets are created after the suite has made the application object.
    ParamGrid grid;
    std::vector<CellEdit> edits;
    std::vector<std::tuple<int, int, int>> comboChanges;

    void SetUp() override {
        GuiTest::SetUp();
        grid.SetHeadings({"Параметр", "Значение"});
        grid.SetColumnReadOnly(0, true);
        grid.SetColumnAlignment(1, Qt::AlignHCenter);
        grid.ResetRows();
        grid.InsertRowBeforeTrailing({"Период", "180"});
        grid.InsertRowBeforeTrailing({"Перепад", "0.29"});
        grid.InsertRowBeforeTrailing({"Функция", "РПД (давление)"});
        grid.InsertRowBeforeTrailing({"Значение", "1.00"});
        grid.RemoveTrailingEmptyRow();
        grid.SetEditorProvider([](int row, int) {
            EditorSpec offer;
            switch (row) {
            case 1:
                offer.Kind = ekSpin, offer.Min = 10, offer.Max = 3600;
                break;
            case 2:
                offer.Kind = ekDecimalSpin, offer.Min = 0, offer.Max = 3, offer.Decimals = 2;
                break;
            case 3:
                offer.Kind = ekChoiceList;
                offer.Choices = {"Нет", "РПД (давление)", "РПД (давление)"};
                offer.CurrentChoice = 2;
                break;
            case 4:
                offer.Kind = ekDecimalField;
                break;
            }
            return offer;
        });
        grid.SetEditCellDone([this](const CellEdit& e) { edits.push_back(e); });
        grid.SetComboChange([this](int r, int c, int i) { comboChanges.emplace_back(r, c, i); });
        grid.resize(400, 300);
        grid.show();
    }

    void TypeInto(QWidget* editor, const QString& text) {
        QLineEdit* line = qobject_cast<QLineEdit*>(editor);
        if (!line) {
            line = editor->findChild<QLineEdit*>();
        }
        ASSERT_NE(line, nullptr);
        line->selectAll();
        QTest::keyClicks(line, text);
    }
};

} // namespace

TEST_F(ParamGridFixture, RowsKeepTheHeadingAtRowZeroAndTheRowMapInStep) {
    EXPECT_EQ(grid.rowCount(), 5);
    EXPECT_EQ(grid.RowOption.size(), 5u);
    EXPECT_EQ(grid.CellText(0, 1), "Значение");
    EXPECT_TRUE(grid.item(0, 0)->font().bold());
    EXPECT_FALSE(grid.item(1, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(grid.item(1, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(grid.item(2, 1)->textAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    grid.ResetRows();
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.CellText(1, 0), "");
    grid.RemoveTrailingEmptyRow(); // heading plus one empty row stays
    EXPECT_EQ(grid.rowCount(), 2);
    const int row = grid.InsertRowBeforeTrailing({"a", "b"}, 40);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(grid.rowHeight(1), 45); // a tall text makes the row H + 5 high
    grid.InsertRowBeforeTrailing({"c", "d"}, 10);
    EXPECT_EQ(grid.rowHeight(2), 22);
}

TEST_F(ParamGridFixture, SpinTypedBeyondItsLimitStoresTheLimit) {
    QWidget* editor = grid.OpenEditor(1, 1);
    ASSERT_NE(qobject_cast<ClampingSpinBox*>(editor), nullptr);
    TypeInto(editor, "5000");
    grid.CommitEditor();
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].Kind, ekSpin);
    EXPECT_EQ(edits[0].IntValue, 3600);
    EXPECT_EQ(grid.CellText(1, 1), "3600");

    editor = grid.OpenEditor(1, 1);
    TypeInto(editor, "3");
    grid.CommitEditor();
    EXPECT_EQ(edits.back().IntValue, 10);
}

TEST_F(ParamGridFixture, DecimalSpinReportsTheTypedDigits) {
    QWidget* editor = grid.OpenEditor(2, 1);
    auto* spin = qobject_cast<ClampingDoubleSpinBox*>(editor);
    ASSERT_NE(spin, nullptr);
    EXPECT_DOUBLE_EQ(spin->singleStep(), 0.1);
    EXPECT_DOUBLE_EQ(spin->maximum(), 3.0);
    TypeInto(editor, "1.15");
    grid.CommitEditor();
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].Text, "1.15");

    editor = grid.OpenEditor(2, 1);
    TypeInto(editor, "7");
    grid.CommitEditor();
    EXPECT_EQ(edits.back().Text, "3.00");
}

TEST_F(ParamGridFixture, OpeningAndLeavingAnEditorWithoutAChangeReportsNothing) {
    // An out-of-range value from the controller is not clamped by merely
    // passing through the editor.
    grid.SetCellText(1, 1, "9999");
    grid.OpenEditor(1, 1);
    grid.CommitEditor();
    grid.OpenEditor(2, 1);
    grid.CancelEditor();
    EXPECT_TRUE(edits.empty());
    EXPECT_EQ(grid.CellText(1, 1), "9999");
}

TEST_F(ParamGridFixture, ChoiceListPresetsTheModelsEntryAndReportsThePick) {
    auto* combo = qobject_cast<QComboBox*>(grid.OpenEditor(3, 1));
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(combo->currentIndex(), 2); // not the first entry with the same text
    emit combo->activated(1);
    ASSERT_FALSE(edits.empty());
    EXPECT_EQ(edits.back().Kind, ekChoiceList);
    EXPECT_EQ(edits.back().IntValue, 1);
    ASSERT_FALSE(comboChanges.empty());
    EXPECT_EQ(comboChanges.back(), std::make_tuple(3, 1, 1));
    EXPECT_EQ(grid.ActiveEditor(), nullptr); // a pick ends the edit
}

TEST_F(ParamGridFixture, DecimalFieldHandsOverTheRawText) {
    QWidget* editor = grid.OpenEditor(4, 1);
    ASSERT_NE(qobject_cast<QLineEdit*>(editor), nullptr);
    TypeInto(editor, "abc");
    grid.CommitEditor();
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].Kind, ekDecimalField);
    EXPECT_EQ(edits[0].Text, "abc");
}

TEST_F(ParamGridFixture, RefusedAndReadOnlyCellsOpenNoEditor) {
    grid.SetEditorProvider([](int, int) { return EditorSpec{}; });
    EXPECT_EQ(grid.OpenEditor(1, 1), nullptr);
    EXPECT_EQ(grid.OpenEditor(1, 0), nullptr);
    EXPECT_EQ(grid.OpenEditor(0, 1), nullptr);
}

TEST_F(ParamGridFixture, HighlightSwitches) {
    grid.SetActiveCellShow(false);
    grid.SetActiveRowShow(false);
    EXPECT_EQ(grid.selectionMode(), QAbstractItemView::NoSelection);
    grid.SetActiveRowShow(true);
    EXPECT_EQ(grid.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid.selectionMode(), QAbstractItemView::SingleSelection);
}

TEST_F(ParamGridFixture, EnterOpensTheEditorOfTheCurrentCell) {
    grid.setFocus();
    grid.setCurrentCell(1, 1);
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_NE(grid.ActiveEditor(), nullptr);
}

TEST_F(ParamGridFixture, DoubleClickOpensTheEditorAndAPopupPickEndsTheEdit) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const QRect cell = grid.visualItemRect(grid.item(3, 1));
    // A real double click: press, release, then the double-click press.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    auto* combo = qobject_cast<QComboBox*>(grid.ActiveEditor());
    ASSERT_NE(combo, nullptr);
    QTest::qWait(20); // the list opens on its own
    ASSERT_TRUE(combo->view()->isVisible());
    QTest::keyClick(combo->view(), Qt::Key_Up);
    QTest::keyClick(combo->view(), Qt::Key_Up);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].IntValue, 0);
    EXPECT_EQ(grid.CellText(3, 1), "Нет");
}

TEST_F(ParamGridFixture, ContentFitSizeCountsTheStretchedLastColumnWithItsOwnWidth) {
    grid.setColumnWidth(0, 100);
    grid.setColumnWidth(1, 120);
    QApplication::processEvents();
    ASSERT_GT(grid.columnWidth(1), 120); // stretched to the 400-pixel grid
    const int frame = 2 * grid.frameWidth();
    EXPECT_EQ(grid.ContentFitSize().width(), 220 + frame);
    EXPECT_GT(grid.columnWidth(1), 120); // and still stretched
    grid.SetHeadingHeight(40);
    EXPECT_EQ(grid.ContentFitSize(3).height(), 40 + 3 * 22 + frame);
    EXPECT_EQ(grid.ContentFitSize().height(), 40 + 4 * 22 + frame);
}

TEST_F(ParamGridFixture, MergedHeadingsAndWrappedNamesSurviveRowRebuilds) {
    grid.MergeHeadingCells(0, 2);
    grid.SetWrappingColumn(0);
    grid.setColumnWidth(0, 90);
    grid.ResetRows();
    const int plain = grid.InsertRowBeforeTrailing({"Пауза", "1"});
    const int tall = grid.InsertRowBeforeTrailing({"Значение", "2"}, 40);
    const int wrapped =
        grid.InsertRowBeforeTrailing({"Значение темп-ры наруж. воздуха для активации", "0"});
    grid.RemoveTrailingEmptyRow();
    EXPECT_EQ(grid.columnSpan(0, 0), 2);
    EXPECT_EQ(grid.columnSpan(wrapped, 0), 1);
    EXPECT_EQ(grid.rowHeight(plain), 22);
    EXPECT_EQ(grid.rowHeight(tall), 45);
    const int line = grid.fontMetrics().height();
    EXPECT_GE(grid.rowHeight(wrapped), 22 + 2 * line); // three lines or more at 90 pixels
    // A wider column gives the text back its single line, and the row its height.
    grid.setColumnWidth(0, 1500);
    EXPECT_EQ(grid.rowHeight(wrapped), 22);
    EXPECT_EQ(grid.rowHeight(tall), 45);
}
