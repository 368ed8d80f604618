#pragma once

#include <QString>

class QTableWidget;

namespace kt41::gui {

// Column widths of a grid layout section: values "Col0", "Col1", ... (the first,
// fixed column included) under <settings key>\<section>, in pixels.

// Sets each column that has a stored width; the others keep their width.
void LoadColumnWidths(QTableWidget* grid, const QString& section);
// Writes the current width of every column.
void SaveColumnWidths(const QTableWidget* grid, const QString& section);

} // namespace kt41::gui
