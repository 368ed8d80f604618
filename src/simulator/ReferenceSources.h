#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <random>

namespace kt41::sim {

// The engineer's reference sources on the controller's inputs during a
// calibration: a resistor box on the thermometer inputs (converter channel 1)
// and a current source on the 4-20 mA inputs (channel 2). A channel with a
// source shows the code of that source instead of the plant's reading.
//
// The converter is linear between the nominal codes of the two reference
// points of each channel: 18250 at 92,16 Ом and 28950 at 146,07 Ом, 6000 at
// 4 mA and 30000 at 20 mA. A resistance of 88 Ом or less gives a code below
// 17500, the first-point limit of the temperature calibration: a faulty
// channel.
//
// After a source is set, each read over the line moves the code four fifths
// of the remaining way to the source's code (the converter's filter), so the
// code has settled to within a few codes after five reads; every read adds
// noise of a few codes. Thread-safe.
class ReferenceSources {
public:
    static constexpr double kResistanceLow = 92.16;
    static constexpr double kCodeAtResistanceLow = 18250.0;
    static constexpr double kResistanceHigh = 146.07;
    static constexpr double kCodeAtResistanceHigh = 28950.0;
    static constexpr double kCurrentLow = 4.0;
    static constexpr double kCodeAtCurrentLow = 6000.0;
    static constexpr double kCurrentHigh = 20.0;
    static constexpr double kCodeAtCurrentHigh = 30000.0;
    // Standard deviation of the noise of one read, in codes.
    static constexpr double kNoise = 2.0;

    explicit ReferenceSources(std::uint32_t seed = 41);

    // The nominal code of a resistance on channel 1, of a current on channel 2.
    static double CodeOfResistance(double ohms);
    static double CodeOfCurrent(double milliamperes);

    void SetResistance(double ohms);
    void SetCurrent(double milliamperes);
    // Takes both sources away: the channels show the plant again.
    void Clear();
    std::optional<double> Resistance() const;
    std::optional<double> Current() const;

    // The converter words of one read: `plant` holds the codes the plant gives
    // the two channels; a channel with a source gives the source's code
    // instead. fromBus marks a read over the line, which advances the settling.
    std::array<std::uint16_t, 2> Codes(std::array<std::uint16_t, 2> plant, bool fromBus);

private:
    struct Channel {
        std::optional<double> Source; // ohms or milliamperes
        double Target = 0.0;          // the source's nominal code
        std::optional<double> Shown;  // the filtered code, without noise
    };
    static void Set(Channel& channel, double source, double target);

    mutable std::mutex mutex_;
    std::array<Channel, 2> channels_{};
    std::mt19937 random_;
};

} // namespace kt41::sim
