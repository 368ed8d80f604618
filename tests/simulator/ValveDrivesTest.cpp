// The valve drives of the simulated controller, on a clock of the test's own.
#include "simulator/ValveDrives.h"

#include <gtest/gtest.h>

#include <vector>

namespace kt41::sim {
namespace {

using namespace std::chrono_literals;
using Clock = ValveDrives::Clock;
using Words = std::vector<std::uint16_t>;

// Contour 1 takes 100 s for its full travel, the others 10 s.
const std::array<std::uint16_t, 4> kStrokes{100, 10, 10, 10};
constexpr std::uint16_t kContour1Manual = 0b0001;

Words Drive(std::uint16_t holdMs, std::uint16_t c1, std::uint16_t c2 = 0) {
    return {holdMs, c1, c2, 0, 0, 0, 0, 0, 0, 0};
}

class ValveDrivesTest : public ::testing::Test {
protected:
    // The drives 'seconds' after the start.
    void At(double seconds) {
        drives.Advance(start + std::chrono::duration_cast<Clock::duration>(
                                   std::chrono::duration<double>(seconds)),
                       kStrokes);
    }
    void Send(double seconds, const Words& block, std::uint16_t modes = kContour1Manual) {
        At(seconds);
        drives.Command(block, modes,
                       start + std::chrono::duration_cast<Clock::duration>(
                                   std::chrono::duration<double>(seconds)));
    }

    Clock::time_point start = Clock::now();
    ValveDrives drives{start};
};

TEST_F(ValveDrivesTest, AValveMovesWhileCommandsKeepComingAndStopsWhenTheyStop) {
    drives.ModesChanged(0, kContour1Manual, {50.0, 0, 0, 0}); // regulation left it at 50 %
    EXPECT_DOUBLE_EQ(drives.Position(0), 50.0);
    for (int second = 0; second < 10; ++second) {
        Send(second, Drive(1000, 1)); // open, once a second
        EXPECT_EQ(drives.CommandOf(0), 1);
    }
    At(10.0);
    EXPECT_NEAR(drives.Position(0), 60.0, 1e-6); // 10 s of a 100 s stroke
    // No more commands: the last one holds for its second and a quarter.
    At(20.0);
    EXPECT_NEAR(drives.Position(0), 60.25, 1e-6);
    EXPECT_EQ(drives.CommandOf(0), 0);

    // Closing, then the stop the tool sends: the valve stands at once.
    Send(21.0, Drive(1000, 2));
    Send(21.5, Drive(1000, 0));
    EXPECT_EQ(drives.CommandOf(0), 0);
    At(30.0);
    EXPECT_NEAR(drives.Position(0), 59.75, 1e-6);
}

TEST_F(ValveDrivesTest, OnlyContoursInManualModeAreDrivenAndLeavingItStopsTheDrive) {
    Send(0.0, Drive(1000, 1, 1)); // contour 2 is automatic
    EXPECT_EQ(drives.CommandOf(0), 1);
    EXPECT_EQ(drives.CommandOf(1), 0);
    At(0.5);
    drives.ModesChanged(kContour1Manual, 0, {});
    EXPECT_EQ(drives.CommandOf(0), 0);
    const double left = drives.Position(0);
    At(1.0);
    EXPECT_DOUBLE_EQ(drives.Position(0), left);

    // A valve runs into its end stop and stays there.
    drives.ModesChanged(0, kContour1Manual, {99.9, 0, 0, 0});
    Send(1.0, Drive(1000, 1));
    At(2.0);
    EXPECT_DOUBLE_EQ(drives.Position(0), 100.0);
}

} // namespace
} // namespace kt41::sim
