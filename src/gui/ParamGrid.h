#pragma once

#include "catalogue/EditorKind.h"

#include <QStringList>
#include <QTableWidget>

#include <functional>
#include <vector>

namespace kt41::gui {

class ParamGridDelegate;

// What the page wants edited in a cell: the kind of editor and its limits or
// entries. Kind ekNone refuses the edit.
struct EditorSpec {
    catalogue::TEditorKind Kind = catalogue::ekNone;
    double Min = 0; // spin limits; for a decimal spin already divided by the scale
    double Max = 0;
    int Decimals = 1;       // decimal spin: digits after the separator
    QStringList Choices;    // choice list entries, in stored-value order
    int CurrentChoice = -1; // entry to preselect; -1 = the entry whose text is the cell's
};

// The outcome of one finished edit, handed to the page's EditCellDone.
struct CellEdit {
    int Row = 0;
    int Column = 0;
    catalogue::TEditorKind Kind = catalogue::ekNone;
    int IntValue = 0; // integer spin: the value within its limits; choice list: the entry index
    QString Text;     // decimal spin: the number as entered (point separator, within limits);
                      // decimal field: the text as typed
};

// The one parameter grid of the program, used by every page and dialog that
// edits parameters in a table.
//
// Row 0 is the heading row (bold, read-only); Qt's own headers are hidden.
// Grid rows are therefore numbered as the user sees them: the first parameter
// is row 1, and RowOption[row] is the catalogue member shown in that row
// (-1 for the heading and for rows without a member).
//
// Editing: when a cell is about to be edited the grid asks the page through
// the editor provider (the page's GetEditorType) which editor to open; when
// an edit is committed with a change, the grid writes the editor's text into
// the cell and calls the page's EditCellDone, which turns the value into the
// stored integer and may rewrite cells. An edit that is cancelled, or ends
// without the user changing the value, calls nothing, so a value outside the
// editor's limits is never altered just by opening the editor.
class ParamGrid : public QTableWidget {
    Q_OBJECT
public:
    using EditorProvider = std::function<EditorSpec(int row, int column)>;
    using EditDoneHandler = std::function<void(const CellEdit&)>;
    using ComboChangeHandler = std::function<void(int row, int column, int index)>;

    explicit ParamGrid(QWidget* parent = nullptr);
    ~ParamGrid() override;

    // --- layout -----------------------------------------------------------------
    // Sets the column count and the texts of the heading row; "\n" breaks a line.
    void SetHeadings(const QStringList& headings);
    void SetHeadingHeight(int pixels);
    int HeadingHeight() const { return rowHeight(0); }
    // Headings wrap at blanks to fit their column, using the heading row's height.
    void SetHeadingWordWrap(bool on);
    bool HeadingWordWrap() const { return headingWrap_; }
    void SetColumnAlignment(int column, Qt::Alignment alignment);
    void SetColumnReadOnly(int column, bool readOnly);
    // Columns that are part of the row heading (input names): bold and shaded.
    void SetFixedColumns(int count);
    // A row whose text in this column is wider than the column grows to show
    // the text on as many lines as it needs; other rows keep their height.
    // -1 (the default) switches it off.
    void SetWrappingColumn(int column);
    // Merges the heading cells of columns column .. column + count - 1 into one
    // heading over all of them, showing the text of the first.
    void MergeHeadingCells(int column, int count);

    // --- rows ------------------------------------------------------------------
    // Keeps the heading row and one empty row, cleared; RowOption follows.
    void ResetRows();
    // Inserts a row in front of the trailing empty row and returns its index.
    // With a measured text height H (> 0) and a default row height minus 4
    // below H, the row is made H + 5 pixels high (more with a wrapping column).
    int InsertRowBeforeTrailing(const QStringList& cells, int textHeight = 0);
    // Removes the trailing empty row when more than the heading and it remain.
    void RemoveTrailingEmptyRow();
    // Ensures rows 0..count-1 exist (used by grids with a fixed set of rows).
    void SetParamRowCount(int count);

    void SetCellText(int row, int column, const QString& text);
    QString CellText(int row, int column) const;

    // Grid row -> catalogue member, -1 where there is none.
    std::vector<int> RowOption;

    // --- editing ---------------------------------------------------------------
    void SetEditorProvider(EditorProvider provider) { provider_ = std::move(provider); }
    void SetEditCellDone(EditDoneHandler handler) { editDone_ = std::move(handler); }
    void SetComboChange(ComboChangeHandler handler) { comboChange_ = std::move(handler); }

    // --- highlighting ------------------------------------------------------------
    void SetActiveCellShow(bool on);
    void SetActiveRowShow(bool on);
    bool ActiveCellShow() const { return activeCell_; }
    bool ActiveRowShow() const { return activeRow_; }

    // Height of the cell's text in the cell's font, in pixels.
    int MeasureTextHeight(int row, int column) const;

    // The size at which the grid shows every column and every row without
    // scroll bars. rows >= 0 asks for the heading row and that many rows of the
    // default height instead of the rows there are now.
    QSize ContentFitSize(int rows = -1) const;

    // --- driving the editors from code (keyboard users and tests) -----------------
    // Starts editing the cell as a user would; returns the editor, or nullptr
    // when the page refused the edit.
    QWidget* OpenEditor(int row, int column);
    QWidget* ActiveEditor() const;
    void CommitEditor(); // as Enter or leaving the cell
    void CancelEditor(); // as Esc

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class ParamGridDelegate;
    EditorSpec RequestEditor(int row, int column) const;
    void FinishEdit(const CellEdit& edit, const QString& cellText);
    void ChoiceChanged(int row, int column, int index);
    void ApplyHighlight();
    void FitRowToWrappedText(int row);
    void FitRowsToWrappedText();
    QTableWidgetItem* EnsureItem(int row, int column);

    EditorProvider provider_;
    EditDoneHandler editDone_;
    ComboChangeHandler comboChange_;
    ParamGridDelegate* delegate_ = nullptr;
    std::vector<Qt::Alignment> alignment_;
    std::vector<bool> readOnly_;
    int fixedColumns_ = 0;
    int wrapColumn_ = -1;
    bool activeCell_ = true;
    bool activeRow_ = false;
    bool headingWrap_ = false;
};

} // namespace kt41::gui
