#include "ArchiveTexts.h"

#include "EventTable.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace kt41::catalogue {

namespace {

// value with `decimals` digits after the separator, independent of the C locale.
std::string Fixed(float value, int decimals, std::string_view separator) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text = error == std::errc() ? std::string(buffer, end) : std::string("0");
    if (const auto point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, separator);
    }
    return text;
}

std::string TwoDigits(unsigned value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02u", value);
    return buffer;
}

bool Hundredths(std::uint8_t type) {
    return type == 1 || type == 2;
}

} // namespace

std::string ArchiveHeading(int column, const AnalogTypes& types) {
    switch (column) {
    case 0:
        return "№\nп/п";
    case 1:
        return "Дата  (Дн.Мс.Год)";
    case 2:
        return "Час";
    case 9:
    case 10:
        return "Тздн " + std::to_string(column - 8) + ", °C";
    case kArchiveNotesColumn:
        return "Примечание";
    default:
        break;
    }
    if (column >= 3 && column <= 8) {
        return "Т" + std::to_string(column - 2) + ", °C";
    }
    if (column >= kArchiveFirstAnalogColumn && column < kArchiveNotesColumn) {
        switch (types[std::size_t(column - kArchiveFirstAnalogColumn)]) {
        case 1:
            return "P, \nМПа";
        case 2:
            return "Расход, м3/ч";
        default:
            return "Поз., \n%";
        }
    }
    return {};
}

std::string ArchiveNotesText(std::span<const std::uint16_t, 4> status, std::string_view lineBreak) {
    std::string text;
    for (const TEventText& event : ActiveEvents(status)) {
        if (!text.empty()) {
            text += lineBreak;
        }
        text.append(event.Kind).append(": ").append(event.Description).append(";");
    }
    return text;
}

std::array<std::string, kArchiveColumnCount - 1>
ArchiveRecordTexts(const device::TArxRecord& record, const AnalogTypes& types,
                   std::string_view decimalSeparator, std::string_view lineBreak) {
    std::array<std::string, kArchiveColumnCount - 1> texts;
    texts[0] = TwoDigits(record.Day) + "." + TwoDigits(record.Month) + "." + TwoDigits(record.Year);
    texts[1] = TwoDigits(record.Hour);
    for (std::size_t k = 0; k < record.Temp.size(); ++k) {
        texts[2 + k] = Fixed(record.Temp[k], 1, decimalSeparator);
    }
    for (std::size_t k = 0; k < record.Analog.size(); ++k) {
        const float value = record.Analog[k];
        texts[10 + k] = Hundredths(types[k]) ? Fixed(value, 2, decimalSeparator)
                                             : std::to_string((long long)std::trunc(value));
    }
    texts[14] = ArchiveNotesText(record.Status, lineBreak);
    return texts;
}

} // namespace kt41::catalogue
