#include "Watch.h"

#include "InterruptFlag.h"

#include <algorithm>
#include <thread>

namespace kt41::cli {

namespace {

// How often the wait looks at the flag.
constexpr std::chrono::milliseconds kWaitStep{50};

} // namespace

int RepeatUntilInterrupted(std::chrono::milliseconds period, const std::function<void()>& poll) {
    const InterruptFlag interrupt;
    int polls = 0;
    while (!interrupt.Raised()) {
        poll();
        ++polls;
        const auto due = std::chrono::steady_clock::now() + period;
        while (!interrupt.Raised()) {
            const auto left = due - std::chrono::steady_clock::now();
            if (left <= left.zero()) {
                break;
            }
            std::this_thread::sleep_for(
                std::min<std::chrono::steady_clock::duration>(left, kWaitStep));
        }
    }
    return polls;
}

} // namespace kt41::cli
