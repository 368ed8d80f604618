#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace kt41::sim {

// Emulates the time frames take on a serial line at a given baud rate: 10 bits
// per character and 3.5 characters of silence after each frame. A request
// counts as received only when its last character would have arrived (and the
// line is not still busy with the previous answer), and the answer goes out
// paced character by character, in small chunks. Baud 0 turns it off.
class LinePacer {
public:
    using Clock = std::chrono::steady_clock;

    explicit LinePacer(std::uint32_t baud);

    // A request of `bytes` bytes whose first byte arrived at `firstByte` is
    // complete in the input; waits until it would be complete on the line.
    void RequestArrived(std::size_t bytes, Clock::time_point firstByte);
    // Sends an answer frame through `write`, paced at the line speed.
    void Send(std::span<const std::uint8_t> frame,
              const std::function<void(std::span<const std::uint8_t>)>& write);
    // Waits as long as an answer of `bytes` bytes takes on the line (for a
    // gateway that forwards the answer once it is complete).
    void AnswerTime(std::size_t bytes);

private:
    std::chrono::nanoseconds Characters(double count) const;

    std::uint32_t baud_;
    Clock::time_point lineFree_{};
};

} // namespace kt41::sim
