#include "ParamGrid.h"

#include "ParamGridDelegate.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace kt41::gui {

namespace {

constexpr int kDefaultRowHeight = 22;
// The height a row was given before its text wrapped, kept on its first cell.
constexpr int kBaseHeightRole = Qt::UserRole + 1;
// Room the cell leaves beside its text.
constexpr int kTextMargin = 8;

} // namespace

ParamGrid::ParamGrid(QWidget* parent) : QTableWidget(parent) {
    delegate_ = new ParamGridDelegate(*this);
    setItemDelegate(delegate_);
    horizontalHeader()->setVisible(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);
    verticalHeader()->setMinimumSectionSize(16);
    horizontalHeader()->setStretchLastSection(true);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setTextElideMode(Qt::ElideRight);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    ApplyHighlight();
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column == wrapColumn_) {
            FitRowsToWrappedText();
        }
    });
}

ParamGrid::~ParamGrid() = default;

void ParamGrid::SetHeadings(const QStringList& headings) {
    setColumnCount(int(headings.size()));
    alignment_.resize(headings.size(), Qt::AlignLeft | Qt::AlignVCenter);
    readOnly_.resize(headings.size(), false);
    if (rowCount() < 1) {
        setRowCount(1);
        RowOption.resize(1, -1);
    }
    for (int c = 0; c < int(headings.size()); ++c) {
        SetCellText(0, c, headings[c]);
    }
}

void ParamGrid::SetHeadingHeight(int pixels) {
    setRowHeight(0, pixels);
}

void ParamGrid::SetHeadingWordWrap(bool on) {
    headingWrap_ = on;
    viewport()->update();
}

void ParamGrid::SetColumnAlignment(int column, Qt::Alignment alignment) {
    if (column >= int(alignment_.size())) {
        alignment_.resize(column + 1, Qt::AlignLeft | Qt::AlignVCenter);
    }
    alignment_[column] = alignment | Qt::AlignVCenter;
    for (int r = 1; r < rowCount(); ++r) {
        if (auto* it = item(r, column)) {
            it->setTextAlignment(alignment_[column]);
        }
    }
}

void ParamGrid::SetColumnReadOnly(int column, bool readOnly) {
    if (column >= int(readOnly_.size())) {
        readOnly_.resize(column + 1, false);
    }
    readOnly_[column] = readOnly;
    for (int r = 1; r < rowCount(); ++r) {
        if (auto* it = item(r, column)) {
            it->setFlags(readOnly ? it->flags() & ~Qt::ItemIsEditable
                                  : it->flags() | Qt::ItemIsEditable);
        }
    }
}

void ParamGrid::SetFixedColumns(int count) {
    fixedColumns_ = count;
    for (int c = 0; c < count; ++c) {
        SetColumnReadOnly(c, true);
    }
}

void ParamGrid::SetWrappingColumn(int column) {
    wrapColumn_ = column;
    setWordWrap(column >= 0);
    FitRowsToWrappedText();
}

void ParamGrid::FitRowsToWrappedText() {
    for (int r = 1; r < rowCount(); ++r) {
        FitRowToWrappedText(r);
    }
}

void ParamGrid::FitRowToWrappedText(int row) {
    QTableWidgetItem* first = item(row, 0);
    if (wrapColumn_ < 0 || row < 1 || first == nullptr) {
        return;
    }
    bool known = false;
    int base = first->data(kBaseHeightRole).toInt(&known);
    if (!known) {
        base = rowHeight(row);
        first->setData(kBaseHeightRole, base);
    }
    const QTableWidgetItem* cell = item(row, wrapColumn_);
    const QString text = cell ? cell->text() : QString();
    const QFontMetrics metrics(cell ? cell->font() : font());
    const int width = columnWidth(wrapColumn_) - kTextMargin;
    const int lineHeight = metrics.height();
    int needed = base;
    if (!text.isEmpty() && width > 0 && metrics.horizontalAdvance(text) > width) {
        const int textHeight =
            metrics.boundingRect(QRect(0, 0, width, 100 * lineHeight), Qt::TextWordWrap, text)
                .height();
        needed = std::max(base, textHeight + base - lineHeight);
    }
    if (rowHeight(row) != needed) {
        setRowHeight(row, needed);
    }
}

void ParamGrid::MergeHeadingCells(int column, int count) {
    if (rowCount() < 1) {
        setRowCount(1);
        RowOption.resize(1, -1);
    }
    setSpan(0, column, 1, count);
}

QTableWidgetItem* ParamGrid::EnsureItem(int row, int column) {
    if (auto* it = item(row, column)) {
        return it;
    }
    auto* it = new QTableWidgetItem;
    const bool heading = row == 0 || column < fixedColumns_;
    const bool readOnly = heading || (column < int(readOnly_.size()) && readOnly_[column]);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!readOnly) {
        flags |= Qt::ItemIsEditable;
    }
    it->setFlags(flags);
    if (heading) {
        QFont bold = font();
        bold.setBold(true);
        it->setFont(bold);
        it->setBackground(palette().button());
        it->setTextAlignment(Qt::AlignCenter);
    } else {
        it->setTextAlignment(column < int(alignment_.size())
                                 ? alignment_[column]
                                 : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    setItem(row, column, it);
    return it;
}

void ParamGrid::SetCellText(int row, int column, const QString& text) {
    QTableWidgetItem* it = EnsureItem(row, column);
    it->setText(text);
    // Long parameter names stay readable in a narrow window.
    if (row > 0 && column == 0 && !text.isEmpty()) {
        it->setToolTip(text);
    }
}

QString ParamGrid::CellText(int row, int column) const {
    const auto* it = item(row, column);
    return it ? it->text() : QString();
}

void ParamGrid::ResetRows() {
    if (state() == QAbstractItemView::EditingState) {
        CancelEditor();
    }
    setRowCount(2);
    for (int c = 0; c < columnCount(); ++c) {
        delete takeItem(1, c);
    }
    setRowHeight(1, verticalHeader()->defaultSectionSize());
    RowOption.assign(2, -1);
}

int ParamGrid::InsertRowBeforeTrailing(const QStringList& cells, int textHeight) {
    const int row = std::max(1, rowCount() - 1);
    insertRow(row);
    RowOption.insert(RowOption.begin() + std::min<std::size_t>(row, RowOption.size()), -1);
    if (textHeight > 0 && verticalHeader()->defaultSectionSize() - 4 < textHeight) {
        setRowHeight(row, textHeight + 5);
    }
    for (int c = 0; c < columnCount(); ++c) {
        SetCellText(row, c, c < cells.size() ? cells[c] : QString());
    }
    FitRowToWrappedText(row);
    return row;
}

void ParamGrid::RemoveTrailingEmptyRow() {
    if (rowCount() > 2) {
        removeRow(rowCount() - 1);
        RowOption.resize(rowCount(), -1);
    }
}

void ParamGrid::SetParamRowCount(int count) {
    setRowCount(count);
    RowOption.resize(count, -1);
    for (int r = 1; r < count; ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            EnsureItem(r, c);
        }
    }
}

void ParamGrid::SetActiveCellShow(bool on) {
    activeCell_ = on;
    ApplyHighlight();
}

void ParamGrid::SetActiveRowShow(bool on) {
    activeRow_ = on;
    ApplyHighlight();
}

void ParamGrid::ApplyHighlight() {
    setSelectionBehavior(activeRow_ ? QAbstractItemView::SelectRows
                                    : QAbstractItemView::SelectItems);
    setSelectionMode(activeCell_ || activeRow_ ? QAbstractItemView::SingleSelection
                                               : QAbstractItemView::NoSelection);
    if (!activeCell_ && !activeRow_) {
        clearSelection();
    }
}

int ParamGrid::MeasureTextHeight(int row, int column) const {
    const auto* it = item(row, column);
    const QFont f = it ? it->font() : font();
    const QString text = it ? it->text() : QString("Wg");
    return QFontMetrics(f).boundingRect(text.isEmpty() ? QString("Wg") : text).height();
}

QSize ParamGrid::ContentFitSize(int rows) const {
    // A stretched last column counts with its own width, not the stretch.
    QHeaderView* header = horizontalHeader();
    const bool stretched = header->stretchLastSection();
    header->setStretchLastSection(false);
    int width = 0;
    for (int column = 0; column < columnCount(); ++column) {
        width += columnWidth(column);
    }
    header->setStretchLastSection(stretched);
    int height = 0;
    if (rows >= 0) {
        height =
            (rowCount() > 0 ? rowHeight(0) : 0) + rows * verticalHeader()->defaultSectionSize();
    } else {
        for (int row = 0; row < rowCount(); ++row) {
            height += rowHeight(row);
        }
    }
    const int frame = 2 * frameWidth();
    return {width + frame, height + frame};
}

EditorSpec ParamGrid::RequestEditor(int row, int column) const {
    if (row <= 0 || column < fixedColumns_ || !provider_) {
        return {};
    }
    return provider_(row, column);
}

void ParamGrid::FinishEdit(const CellEdit& edit, const QString& cellText) {
    SetCellText(edit.Row, edit.Column, cellText);
    if (editDone_) {
        editDone_(edit);
    }
}

void ParamGrid::ChoiceChanged(int row, int column, int index) {
    if (comboChange_) {
        comboChange_(row, column, index);
    }
}

QWidget* ParamGrid::OpenEditor(int row, int column) {
    if (state() == QAbstractItemView::EditingState) {
        CommitEditor();
    }
    setCurrentCell(row, column);
    QTableWidgetItem* it = item(row, column);
    if (it == nullptr || !(it->flags() & Qt::ItemIsEditable) || !isEnabled()) {
        return nullptr;
    }
    edit(indexFromItem(it));
    return delegate_->ActiveEditor();
}

void ParamGrid::keyPressEvent(QKeyEvent* event) {
    // Enter starts editing the current cell, as F2 does.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() != QAbstractItemView::EditingState && currentIndex().isValid()) {
        edit(currentIndex());
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

QWidget* ParamGrid::ActiveEditor() const {
    return delegate_->ActiveEditor();
}

void ParamGrid::CommitEditor() {
    if (QWidget* editor = delegate_->ActiveEditor()) {
        emit delegate_->commitData(editor);
        if (QWidget* still = delegate_->ActiveEditor()) {
            emit delegate_->closeEditor(still, QAbstractItemDelegate::NoHint);
        }
    }
}

void ParamGrid::CancelEditor() {
    if (QWidget* editor = delegate_->ActiveEditor()) {
        emit delegate_->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    }
}

} // namespace kt41::gui
