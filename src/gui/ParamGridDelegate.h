#pragma once

#include "ParamGrid.h"

#include <QPointer>
#include <QStyledItemDelegate>

namespace kt41::gui {

// Creates the editor the page asked for and reports the finished edit back to
// the grid. Internal to ParamGrid.
class ParamGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ParamGridDelegate(ParamGrid& grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

    QWidget* ActiveEditor() const { return active_; }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    ParamGrid& grid_;
    mutable QPointer<QWidget> active_;
};

} // namespace kt41::gui
