#include "CurrentReadings.h"

#include "ChoiceLists.h"
#include "TextRules.h"

namespace kt41::catalogue {

std::string AnalogHeader(int inputType, std::string_view lineBreak) {
    switch (inputType) {
    case 0:
        return "Поз., " + std::string(lineBreak) + std::string(kUnitList[0]);
    case 1:
        return "P, " + std::string(lineBreak) + std::string(kUnitList[1]);
    case 2:
        return "Расход, " + std::string(kUnitList[2]);
    default:
        return {};
    }
}

std::string TemperatureText(std::uint16_t word, std::string_view decimalSeparator) {
    return FormatScaled(std::int16_t(word), 10, decimalSeparator);
}

std::string AnalogValueText(std::uint16_t word, int inputType, std::string_view decimalSeparator) {
    if (inputType == 1 || inputType == 2) {
        return FormatScaled(word, 100, decimalSeparator);
    }
    return std::to_string(word);
}

std::string_view SensorStateText(std::uint16_t sensorWord, int sensor) {
    return kStateList[(sensorWord >> sensor) & 1u];
}

} // namespace kt41::catalogue
