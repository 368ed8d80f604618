#include "GridEditing.h"

#include "GeneralError.h"
#include "catalogue/TextRules.h"

#include <QLocale>

namespace kt41::gui {

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
    EditorSpec offer;
    offer.Kind = entry.Editor;
    switch (entry.Editor) {
    case ekSpin:
        offer.Min = entry.RawMin;
        offer.Max = entry.RawMax;
        break;
    case ekDecimalSpin:
        offer.Min = entry.EditorMinimum();
        offer.Max = entry.EditorMaximum();
        offer.Decimals = entry.Decimals();
        break;
    case ekChoiceList:
        offer.Choices = std::move(choices);
        break;
    case ekDecimalField:
    case ekNone:
        break;
    }
    return offer;
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
    ShowUnexpectedError(ToQString(kNotAFloatText));
}

} // namespace kt41::gui
