#include "ReferenceSources.h"

#include <algorithm>
#include <cmath>

namespace kt41::sim {

namespace {

// The part of the way to the source's code that one read leaves.
constexpr double kLeftPerRead = 0.2;

double Linear(double x, double x1, double y1, double x2, double y2) {
    return y1 + (x - x1) * (y2 - y1) / (x2 - x1);
}

} // namespace

ReferenceSources::ReferenceSources(std::uint32_t seed) : random_(seed) {}

double ReferenceSources::CodeOfResistance(double ohms) {
    return Linear(ohms, kResistanceLow, kCodeAtResistanceLow, kResistanceHigh,
                  kCodeAtResistanceHigh);
}

double ReferenceSources::CodeOfCurrent(double milliamperes) {
    return Linear(milliamperes, kCurrentLow, kCodeAtCurrentLow, kCurrentHigh, kCodeAtCurrentHigh);
}

void ReferenceSources::Set(Channel& channel, double source, double target) {
    // The filtered code stays where it is and settles from there.
    channel.Source = source;
    channel.Target = target;
}

void ReferenceSources::SetResistance(double ohms) {
    std::lock_guard lock(mutex_);
    Set(channels_[0], ohms, CodeOfResistance(ohms));
}

void ReferenceSources::SetCurrent(double milliamperes) {
    std::lock_guard lock(mutex_);
    Set(channels_[1], milliamperes, CodeOfCurrent(milliamperes));
}

void ReferenceSources::Clear() {
    std::lock_guard lock(mutex_);
    channels_ = {};
}

std::optional<double> ReferenceSources::Resistance() const {
    std::lock_guard lock(mutex_);
    return channels_[0].Source;
}

std::optional<double> ReferenceSources::Current() const {
    std::lock_guard lock(mutex_);
    return channels_[1].Source;
}

std::array<std::uint16_t, 2> ReferenceSources::Codes(std::array<std::uint16_t, 2> plant,
                                                     bool fromBus) {
    std::lock_guard lock(mutex_);
    std::normal_distribution<double> noise(0.0, kNoise);
    for (std::size_t k = 0; k < 2; ++k) {
        Channel& channel = channels_[k];
        if (!channel.Source) {
            channel.Shown.reset();
            continue;
        }
        double shown = channel.Shown.value_or(double(plant[k]));
        if (fromBus) {
            shown = channel.Target + (shown - channel.Target) * kLeftPerRead;
            channel.Shown = shown;
        }
        const double code = shown + noise(random_);
        plant[k] = std::uint16_t(std::clamp(std::lround(code), 0L, 65535L));
    }
    return plant;
}

} // namespace kt41::sim
