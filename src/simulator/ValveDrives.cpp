#include "ValveDrives.h"

#include <algorithm>

namespace kt41::sim {

void ValveDrives::Advance(Clock::time_point now,
                          const std::array<std::uint16_t, kContours>& strokeSeconds) {
    for (std::size_t n = 0; n < kContours; ++n) {
        Drive& d = drives_[n];
        if (d.Command == 1 || d.Command == 2) {
            const auto end = d.Until ? std::min(now, *d.Until) : now;
            const double seconds = std::chrono::duration<double>(end - updated_).count();
            const double stroke = std::max<std::uint16_t>(strokeSeconds[n], 1);
            const double step = 100.0 * std::max(0.0, seconds) / stroke;
            d.Position = std::clamp(d.Position + (d.Command == 1 ? step : -step), 0.0, 100.0);
        }
        if (d.Until && now >= *d.Until) {
            d.Stop();
        }
    }
    updated_ = now;
}

void ValveDrives::Command(std::span<const std::uint16_t> block, std::uint16_t manualModes,
                          Clock::time_point now) {
    // A nonzero word starts (or renews) that contour's drive; a zero word
    // leaves its contour alone, except that a block without any command (the
    // stop the tool sends) stops every drive. Only contours in manual mode
    // are driven by hand.
    const auto commands = block.subspan(1, kContours);
    const bool stopAll =
        std::all_of(commands.begin(), commands.end(), [](std::uint16_t w) { return w == 0; });
    for (std::size_t n = 0; n < kContours; ++n) {
        Drive& d = drives_[n];
        const std::uint16_t command = commands[n];
        const bool manual = ((manualModes >> n) & 1u) != 0;
        if (stopAll || !manual) {
            d.Stop();
            continue;
        }
        if (command == 0 || command > 2) {
            continue;
        }
        d.Command = command;
        if (block[0] > 0) {
            d.Until = now + std::chrono::milliseconds(block[0]) + kHoldSlack;
        } else {
            d.Until.reset();
        }
    }
}

void ValveDrives::ModesChanged(std::uint16_t previous, std::uint16_t now,
                               const std::array<double, kContours>& regulated) {
    for (std::size_t n = 0; n < kContours; ++n) {
        const bool was = (previous >> n) & 1u;
        const bool is = (now >> n) & 1u;
        if (is && !was) {
            drives_[n].Position = regulated[n];
        }
        if (!is) {
            drives_[n].Stop();
        }
    }
}

void ValveDrives::SetCommands(std::span<const std::uint16_t> commands) {
    for (std::size_t n = 0; n < kContours && n < commands.size(); ++n) {
        drives_[n].Command = commands[n];
        drives_[n].Until.reset();
    }
}

} // namespace kt41::sim
