#include "Calibration.h"

#include <cmath>
#include <numeric>

namespace kt41::device {

namespace {

constexpr const char* kPressAnyKey = "нажмите любую клавишу";

// The prompt's resistance lines, by thermometer type and point.
constexpr const char* kResistanceLine[2][2] = {
    {"R1 = 92,16 Ом", "R1 = 146,07 Ом"},
    {"R1 = 92,04 Ом", "R1 = 146,79 Ом"},
};
constexpr double kResistance[2][2] = {{92.16, 146.07}, {92.04, 146.79}};

int TypeIndex(int thermometerType) {
    return thermometerType == 1 ? 1 : 0;
}

int PointIndex(int point) {
    return point == 2 ? 1 : 0;
}

} // namespace

double MeanCode(std::span<const double> codes) {
    if (codes.empty()) {
        return 0.0;
    }
    return std::accumulate(codes.begin(), codes.end(), 0.0) / double(codes.size());
}

std::uint16_t CalibrationValue(double mean) {
    if (!(mean > 0.0)) {
        return 0;
    }
    if (mean >= 65535.0) {
        return 65535;
    }
    const double whole = std::floor(mean);
    const double fraction = mean - whole;
    double rounded = whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        rounded = whole + 1.0;
    }
    return std::uint16_t(rounded);
}

bool FirstTermPointUsable(double mean) {
    return mean >= kFirstTermPointMinimum;
}

CalibrationReference TermReference(int thermometerType, int point) {
    return {CalibrationReference::Resistance, PointIndex(point) + 1,
            kResistance[TypeIndex(thermometerType)][PointIndex(point)]};
}

CalibrationReference PressReference(int point) {
    return {CalibrationReference::Current, PointIndex(point) + 1, point == 2 ? 20.0 : 4.0};
}

const std::vector<std::string>& ThermometerChoiceTexts() {
    static const std::vector<std::string> texts{"        Pt100 W100=1.38",
                                                "        Pt100 W100=1.39        "};
    return texts;
}

std::vector<std::string> TermPromptLines(int thermometerType, int point) {
    // The first three T letters are Cyrillic, the last three Latin.
    const bool first = PointIndex(point) == 0;
    return {"Установите значение сопротивления ",
            kResistanceLine[TypeIndex(thermometerType)][PointIndex(point)],
            "",
            "соответствующее температурам",
            first ? "Т1, Т2, Т3, T4, T5, T6 = -20,00 °C" : "Т1, Т2, Т3, T4, T5, T6 = 120,00 °C",
            "и",
            kPressAnyKey};
}

std::vector<std::string> PressPromptLines(int point) {
    return {PointIndex(point) == 0 ? "Установите ток 4 мА, соответствующий 0 %"
                                   : "Установите ток 20 мА, соответствующий 100 %",
            "и", kPressAnyKey};
}

} // namespace kt41::device
