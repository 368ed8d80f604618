#include "GridEditing.h"

#include "app/GeneralError.h"
#include "catalogue/TextRules.h"

#include <QLocale>

namespace kt41::pages {

using namespace kt41::catalogue;

std::string DecimalSeparator() {
    return QString(QLocale().decimalPoint()).toStdString();
}

QStringList ToQStringList(ChoiceList list) {
    QStringList texts;
    for (const std::string_view entry : list) {
        texts << ToQString(entry);
    }
    return texts;
}

QStringList ToQStringList(const std::vector<std::string>& list) {
    QStringList texts;
    for (const std::string& entry : list) {
        texts << ToQString(entry);
    }
    return texts;
}

EditorSpec EditorSpecFor(const TCatalogueEntry& entry, QStringList choices) {
    EditorSpec spec;
    spec.Kind = entry.Editor;
    switch (entry.Editor) {
    case ekSpin:
        spec.Min = entry.RawMin;
        spec.Max = entry.RawMax;
        break;
    case ekDecimalSpin:
        spec.Min = entry.EditorMinimum();
        spec.Max = entry.EditorMaximum();
        spec.Decimals = entry.Decimals();
        break;
    case ekChoiceList:
        spec.Choices = std::move(choices);
        break;
    case ekDecimalField:
    case ekNone:
        break;
    }
    return spec;
}

std::optional<std::int32_t> StoredIntegerOfEdit(const CellEdit& edit, std::int32_t scale) {
    switch (edit.Kind) {
    case ekSpin:
    case ekChoiceList:
        return edit.IntValue;
    case ekDecimalSpin:
    case ekDecimalField:
        return StoredIntegerFromText(edit.Text.toStdString(), scale);
    case ekNone:
        break;
    }
    return std::nullopt;
}

void ShowNotAFloatError() {
    app::ShowUnexpectedError(ToQString(kNotAFloatText));
}

} // namespace kt41::pages
