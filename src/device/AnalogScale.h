#pragma once

#include <cstdint>

namespace kt41::device {

// The value of a 4-20 mA word in the unit of the input's InputType: pressure
// (1, MPa) and flow (2, m3/h) words count hundredths, a position (0, %) word
// whole percent.
inline double AnalogValue(std::uint16_t word, int inputType) {
    return inputType == 1 || inputType == 2 ? double(word) / 100.0 : double(word);
}

} // namespace kt41::device
