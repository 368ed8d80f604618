#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

namespace kt41::sim {

// The valve drives of the four contours in manual mode. A drive command (the
// valve drive block: w0 hold time in ms, w1..w4 the command of contours 1..4,
// 1 open, 2 close) starts or renews a contour's drive for the hold time, plus
// a quarter second so that a command repeated every hold time drives without
// a pause; the valve moves while its drive runs, at the contour's stroke time
// for the full travel, and stops when the commands stop coming, when a block
// without any command (a stop) arrives, or when the contour leaves manual
// mode. Positions are in % (0 closed, 100 open).
class ValveDrives {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kContours = 4;
    static constexpr auto kHoldSlack = std::chrono::milliseconds(250);

    explicit ValveDrives(Clock::time_point now) : updated_(now) {}

    // Moves every running valve up to now (strokeSeconds: full travel time
    // per contour; 0 counts as one second) and ends the drives whose hold
    // time has run out.
    void Advance(Clock::time_point now, const std::array<std::uint16_t, kContours>& strokeSeconds);
    // A drive command block received while manualModes (bit n-1 = contour n)
    // are in force.
    void Command(std::span<const std::uint16_t> block, std::uint16_t manualModes,
                 Clock::time_point now);
    // The manual modes changed: a contour taken into manual mode starts from
    // where regulation left its valve (regulated), one leaving it stops its
    // drive.
    void ModesChanged(std::uint16_t previous, std::uint16_t now,
                      const std::array<double, kContours>& regulated);
    // Puts commands in force without a hold time (a test's setting).
    void SetCommands(std::span<const std::uint16_t> commands);

    // The command in force (0 when the drive stands), contour index 0..3.
    std::uint16_t CommandOf(std::size_t n) const { return drives_[n].Command; }
    double Position(std::size_t n) const { return drives_[n].Position; }

private:
    struct Drive {
        std::uint16_t Command = 0;
        std::optional<Clock::time_point> Until;
        double Position = 0.0;
        void Stop() {
            Command = 0;
            Until.reset();
        }
    };

    std::array<Drive, kContours> drives_{};
    Clock::time_point updated_;
};

} // namespace kt41::sim
