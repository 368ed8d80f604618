#pragma once

#include "ParamGrid.h"
#include "catalogue/CatalogueEntry.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kt41::gui {

// Pieces shared by every page that edits catalogue parameters in a ParamGrid.

// The user's decimal separator, as the catalogue's text accessors take it.
std::string DecimalSeparator();

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
QStringList ToQStringList(catalogue::ChoiceList list);
QStringList ToQStringList(const std::vector<std::string>& list);

// The editor of an entry: its kind, its limits (a decimal spin's divided by the
// scale, with the entry's decimals) and, for a choice list, the given entries.
EditorSpec EditorSpecFor(const catalogue::TCatalogueEntry& entry, QStringList choices = {});

// The stored integer of a finished edit, by the editor that made it: the spin's
// integer, the chosen entry's index, or a decimal text times scale cut toward
// zero on its digits (0.29 at scale 100 gives 29). Nothing when a decimal text
// is not a number.
std::optional<std::int32_t> StoredIntegerOfEdit(const CellEdit& edit, std::int32_t scale);

// "Cell does not contain a float value", through the general error display.
void ShowNotAFloatError();

} // namespace kt41::gui
