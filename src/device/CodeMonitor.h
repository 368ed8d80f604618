#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kt41::device {

// The phases of the converter-code monitor, which watches one channel of the
// controller's two raw converter codes for one calibration reference point:
// five ticks to let the reading settle (their reads are not kept), then one
// sample per tick until the configured number is reached. The window that
// shows it reads the codes once a tick and hands the outcome to Tick.
class CodeMonitor {
public:
    // The state values the calibration procedures know.
    enum State : int {
        Closed = 0,      // cancelled, or a read failed
        Finished = 1,    // every sample taken
        Measuring = 2,   // one sample per tick
        Stabilising = 3, // the settle countdown
    };
    // Channel 1 is the temperature channel (the first converter code), 2 the
    // pressure channel (the second).
    enum Channel : int { Temperature = 1, Pressure = 2 };
    static constexpr int kSettleTicks = 5;

    // Starts stabilising for a channel: countdown 5, and the samples sized to
    // count (at least 1) and cleared.
    void Start(int channel, std::size_t count);

    // One tick: the two codes of a successful read, or nothing for a failed
    // read, which closes the monitor. Returns the state after the tick; a tick
    // in the Finished or Closed state changes nothing.
    State Tick(std::optional<std::array<std::uint16_t, 2>> codes);
    // "Отмена" or the window closed: the monitor closes unless it finished.
    void Cancel();

    State CurrentState() const { return state_; }
    int ChannelNumber() const { return channel_; }
    // Ticks left in the current phase: the settle countdown, then the samples
    // still to take.
    int Countdown() const { return countdown_; }
    // Samples taken so far in the measuring phase.
    std::size_t Taken() const { return taken_; }
    // The sample of the latest measuring tick.
    std::optional<std::uint16_t> LatestSample() const { return latest_; }
    // The measured codes; filled from the last element down to the first, so
    // the array is complete only when the monitor has finished.
    const std::vector<double>& Samples() const { return samples_; }

private:
    State state_ = Closed;
    int channel_ = Temperature;
    int countdown_ = 0;
    std::size_t taken_ = 0;
    std::optional<std::uint16_t> latest_;
    std::vector<double> samples_;
};

} // namespace kt41::device
