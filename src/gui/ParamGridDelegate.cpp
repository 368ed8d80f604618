#include "ParamGridDelegate.h"

#include "ClampingSpinBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>

namespace kt41::gui {

namespace {

using namespace kt41::catalogue;

constexpr const char* kKind = "kt41_kind";
constexpr const char* kDirty = "kt41_dirty";
constexpr const char* kCurrentChoice = "kt41_choice";

void MarkDirty(QWidget* editor) {
    editor->setProperty(kDirty, true);
}

double ParseNumber(QString text, bool& ok) {
    text.replace(',', '.');
    return text.trimmed().toDouble(&ok);
}

} // namespace

ParamGridDelegate::ParamGridDelegate(ParamGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

QWidget* ParamGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex& index) const {
    const EditorSpec offer = grid_.RequestEditor(index.row(), index.column());
    QWidget* editor = nullptr;
    switch (offer.Kind) {
    case ekSpin: {
        auto* spin = new ClampingSpinBox(parent);
        spin->setRange(int(offer.Min), int(offer.Max));
        connect(spin, &QSpinBox::valueChanged, spin, [spin] { MarkDirty(spin); });
        connect(spin->findChild<QLineEdit*>(), &QLineEdit::textEdited, spin,
                [spin] { MarkDirty(spin); });
        editor = spin;
        break;
    }
    case ekDecimalSpin: {
        auto* spin = new ClampingDoubleSpinBox(parent);
        spin->setDecimals(offer.Decimals);
        spin->setRange(offer.Min, offer.Max);
        spin->setSingleStep(0.1);
        connect(spin, &QDoubleSpinBox::valueChanged, spin, [spin] { MarkDirty(spin); });
        connect(spin->findChild<QLineEdit*>(), &QLineEdit::textEdited, spin,
                [spin] { MarkDirty(spin); });
        editor = spin;
        break;
    }
    case ekChoiceList: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(false);
        combo->addItems(offer.Choices);
        combo->setProperty(kCurrentChoice, offer.CurrentChoice);
        const int row = index.row();
        const int column = index.column();
        // A pick ends the edit at once, as in a drop-down cell.
        connect(combo, &QComboBox::activated, combo, [this, combo, row, column](int i) {
            combo->setCurrentIndex(i);
            MarkDirty(combo);
            grid_.ChoiceChanged(row, column, i);
            emit const_cast<ParamGridDelegate*>(this)->commitData(combo);
            emit const_cast<ParamGridDelegate*>(this)->closeEditor(combo);
        });
        // Open the list straight away: one click on the cell, one on the entry.
        QTimer::singleShot(0, combo, [combo] {
            if (combo->isVisible()) {
                combo->showPopup();
            }
        });
        editor = combo;
        break;
    }
    case ekDecimalField: {
        auto* line = new QLineEdit(parent);
        connect(line, &QLineEdit::textEdited, line, [line] { MarkDirty(line); });
        editor = line;
        break;
    }
    case ekNone:
        return nullptr;
    }
    editor->setProperty(kKind, int(offer.Kind));
    editor->setProperty(kDirty, false);
    editor->setAutoFillBackground(true);
    active_ = editor;
    return editor;
}

void ParamGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    const auto kind = TEditorKind(editor->property(kKind).toInt());
    bool ok = false;
    switch (kind) {
    case ekSpin: {
        auto* spin = static_cast<ClampingSpinBox*>(editor);
        const int v = text.trimmed().toInt(&ok);
        const QSignalBlocker block(spin);
        spin->setValue(ok ? v : spin->minimum());
        break;
    }
    case ekDecimalSpin: {
        auto* spin = static_cast<ClampingDoubleSpinBox*>(editor);
        const double v = ParseNumber(text, ok);
        const QSignalBlocker block(spin);
        spin->setValue(ok ? v : spin->minimum());
        break;
    }
    case ekChoiceList: {
        auto* combo = static_cast<QComboBox*>(editor);
        const int preset = combo->property(kCurrentChoice).toInt();
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(preset >= 0 && preset < combo->count() ? preset
                                                                      : combo->findText(text));
        break;
    }
    case ekDecimalField: {
        auto* line = static_cast<QLineEdit*>(editor);
        line->setText(text);
        line->selectAll();
        break;
    }
    case ekNone:
        break;
    }
    editor->setProperty(kDirty, false);
}

void ParamGridDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                     const QModelIndex& index) const {
    if (!editor->property(kDirty).toBool()) {
        return;
    }
    editor->setProperty(kDirty, false);
    CellEdit edit;
    edit.Row = index.row();
    edit.Column = index.column();
    edit.Kind = TEditorKind(editor->property(kKind).toInt());
    QString cellText;
    switch (edit.Kind) {
    case ekSpin: {
        edit.IntValue = static_cast<ClampingSpinBox*>(editor)->ClampedValue();
        cellText = QString::number(edit.IntValue);
        break;
    }
    case ekDecimalSpin: {
        auto* spin = static_cast<ClampingDoubleSpinBox*>(editor);
        edit.Text = spin->ClampedText();
        cellText = QLocale().toString(spin->ClampedValue(), 'f', spin->decimals());
        break;
    }
    case ekChoiceList: {
        auto* combo = static_cast<QComboBox*>(editor);
        if (combo->currentIndex() < 0) {
            return;
        }
        edit.IntValue = combo->currentIndex();
        cellText = combo->currentText();
        break;
    }
    case ekDecimalField: {
        edit.Text = static_cast<QLineEdit*>(editor)->text();
        cellText = edit.Text;
        break;
    }
    case ekNone:
        return;
    }
    grid_.FinishEdit(edit, cellText);
}

void ParamGridDelegate::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.row() == 0 && grid_.HeadingWordWrap()) {
        option->features |= QStyleOptionViewItem::WrapText;
    }
}

void ParamGridDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (active_ == editor) {
        active_ = nullptr;
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

} // namespace kt41::gui
