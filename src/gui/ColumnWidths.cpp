#include "ColumnWidths.h"

#include "Settings.h"

#include <QTableWidget>

namespace kt41::gui {

namespace {

QString ColumnKey(const QString& section, int column) {
    return section + "/Col" + QString::number(column);
}

} // namespace

void LoadColumnWidths(QTableWidget* grid, const QString& section) {
    if (grid == nullptr) {
        return;
    }
    auto settings = OpenUserSettings();
    for (int column = 0; column < grid->columnCount(); ++column) {
        const QVariant value = settings->value(ColumnKey(section, column));
        bool ok = false;
        const int width = value.toInt(&ok);
        if (value.isValid() && ok && width >= 0) {
            grid->setColumnWidth(column, width);
        }
    }
}

void SaveColumnWidths(const QTableWidget* grid, const QString& section) {
    if (grid == nullptr) {
        return;
    }
    auto settings = OpenUserSettings();
    for (int column = 0; column < grid->columnCount(); ++column) {
        settings->setValue(ColumnKey(section, column), grid->columnWidth(column));
    }
}

} // namespace kt41::gui
