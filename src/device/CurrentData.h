#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kt41::device {

inline constexpr std::size_t kCurrentDataWords = 21;

// One current-data poll: 21 host-order words, read through the accessors
// below rather than by word number. A number outside its range gives 0.
struct TCurrentData : std::array<std::uint16_t, kCurrentDataWords> {
    // Words 0..3: bit b of word w is event (w, b) of the event table.
    std::span<const std::uint16_t, 4> EventWords() const {
        return std::span<const std::uint16_t, kCurrentDataWords>(*this).first<4>();
    }
    // Thermometer input 1..6: signed tenths of a degree, as the raw word.
    std::uint16_t Temperature(int input) const { return At(4, 6, input); }
    // The current temperature setpoint of contour 1 or 2, signed tenths of a degree.
    std::uint16_t Setpoint(int contour) const { return At(10, 2, contour); }
    // 4-20 mA input 1..4, in the unit of the input's InputType.
    std::uint16_t AnalogWord(int input) const { return At(12, 4, input); }
    // Bit 2(n-1) dry-running protection and bit 2(n-1)+1 pump operation
    // sensor of contour n (1..4), bit 8 feed upper level, bit 9 lower level.
    std::uint16_t SensorBits() const { return (*this)[16]; }
    // Running hours of pump 1..4: pumps 1 and 2 of contour 1, then of contour 2.
    std::uint16_t PumpHours(int pump) const { return At(17, 4, pump); }

private:
    std::uint16_t At(std::size_t first, int count, int number) const {
        return number >= 1 && number <= count ? (*this)[first + std::size_t(number - 1)] : 0;
    }
};

} // namespace kt41::device
