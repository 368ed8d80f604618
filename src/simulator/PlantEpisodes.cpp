#include "PlantEpisodes.h"

#include <cmath>

namespace kt41::sim {

namespace {

constexpr double kEpisodeStart = 10.0; // seconds into the minute
constexpr double kEpisodeEnd = 40.0;
constexpr int kEpisodes = 4;

} // namespace

void AddLiveEpisodes(PlantReading& reading, double t) {
    const double minute = std::floor(t / 60.0);
    const double second = t - 60.0 * minute;
    if (second < kEpisodeStart || second >= kEpisodeEnd) {
        return;
    }
    auto set = [&](int word, int bit) {
        reading.Events[std::size_t(word)] |= std::uint16_t(1u << bit);
    };
    switch (int(std::fmod(minute, kEpisodes) + kEpisodes) % kEpisodes) {
    case 0:
        set(0, 10);
        reading.Sensors |= 1u << 0;
        break;
    case 1:
        set(1, 11);
        reading.Temperature[5] = kFailedThermometer;
        break;
    case 2:
        set(0, 14);
        set(3, 5);
        reading.Sensors |= 1u << 1;
        break;
    default:
        set(1, 15);
        break;
    }
}

} // namespace kt41::sim
