#pragma once

// The arithmetic and the texts of the two calibration procedures: the
// temperature channel against two reference resistors, the pressure channel
// against a current source at 4 mA and 20 mA. What the controller receives
// are the two mean converter codes of each channel, made integers; it derives
// its own scale from them.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kt41::device {

// The first temperature point (-20 °C) must give a mean code of at least this;
// below it the channel is faulty and the calibration stops.
inline constexpr double kFirstTermPointMinimum = 17500.0;

// The arithmetic mean of the measured codes (sum / count); 0 for none.
double MeanCode(std::span<const double> codes);
// The value sent for a mean: the nearest integer, ties to even (18250.5 gives
// 18250, 18251.5 gives 18252), kept within a 16-bit word.
std::uint16_t CalibrationValue(double mean);
// True when the mean code of the first temperature point allows going on.
bool FirstTermPointUsable(double mean);

// What the engineer connects for one reference point: a resistance in ohms on
// the thermometer inputs, or a current in milliamperes on the 4-20 mA inputs.
struct CalibrationReference {
    enum Kind { Resistance, Current };
    Kind Source = Resistance;
    int Point = 1; // 1 or 2
    double Value = 0.0;
    bool operator==(const CalibrationReference&) const = default;
};

// The reference resistor of temperature point 1 (-20 °C) or 2 (120 °C) for a
// thermometer type (0: W100 = 1.385, 1: W100 = 1.391; another value counts as 0).
CalibrationReference TermReference(int thermometerType, int point);
// The reference current of pressure point 1 (4 mA, 0 %) or 2 (20 mA, 100 %).
CalibrationReference PressReference(int point);

// The entries of the thermometer-type choice, in Type_T order.
const std::vector<std::string>& ThermometerChoiceTexts();

// The lines of the prompt for a temperature point of a thermometer type, and
// for a pressure point; an empty line stands for an extra line break.
std::vector<std::string> TermPromptLines(int thermometerType, int point);
std::vector<std::string> PressPromptLines(int point);

} // namespace kt41::device
