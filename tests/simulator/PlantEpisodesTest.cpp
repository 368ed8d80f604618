#include "simulator/PlantEpisodes.h"

#include <gtest/gtest.h>

#include <set>

using namespace kt41::sim;

namespace {

PlantReading At(double t) {
    PlantReading reading;
    AddLiveEpisodes(reading, t);
    return reading;
}

bool Set(const PlantReading& r, int word, int bit) {
    return (r.Events[std::size_t(word)] >> bit) & 1u;
}

} // namespace

TEST(PlantEpisodes, ARotationOfShortEpisodes) {
    const double minute = 60.0 * 1000; // minute 1000: 1000 % 4 == 0
    EXPECT_EQ(At(minute + 9).Events, (std::array<std::uint16_t, 4>{}));
    const PlantReading dry = At(minute + 10);
    EXPECT_TRUE(Set(dry, 0, 10));
    EXPECT_EQ(dry.Sensors, 1u);
    const PlantReading thermometer = At(minute + 60 + 25);
    EXPECT_TRUE(Set(thermometer, 1, 11));
    EXPECT_EQ(thermometer.Temperature[5], kFailedThermometer);
    const PlantReading pump = At(minute + 120 + 39);
    EXPECT_TRUE(Set(pump, 0, 14));
    EXPECT_TRUE(Set(pump, 3, 5));
    EXPECT_EQ(pump.Sensors, 2u);
    EXPECT_TRUE(Set(At(minute + 180 + 30), 1, 15));
    EXPECT_EQ(At(minute + 180 + 40).Events, (std::array<std::uint16_t, 4>{}));
}

TEST(PlantEpisodes, TheLogChangesWithinEveryMinute) {
    // Polled every five seconds from any moment, the events change within 60 s.
    for (double start = 0; start < 240; start += 1) {
        std::set<std::array<std::uint16_t, 4>> seen;
        for (double t = start; t <= start + 60; t += 5) {
            seen.insert(At(1.7e9 + t).Events);
        }
        EXPECT_GE(seen.size(), 2u) << start;
    }
}
