#include "Watch.h"

#include <algorithm>
#include <csignal>
#include <thread>

namespace kt41::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
    interrupted = 1;
}

// SIGINT sets the flag while this object lives.
class InterruptCatcher {
public:
    InterruptCatcher() {
        interrupted = 0;
        previous_ = std::signal(SIGINT, OnInterrupt);
    }
    ~InterruptCatcher() { std::signal(SIGINT, previous_ == SIG_ERR ? SIG_DFL : previous_); }
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

private:
    void (*previous_)(int) = SIG_DFL;
};

// How often the wait looks at the flag.
constexpr std::chrono::milliseconds kWaitStep{50};

} // namespace

int RepeatUntilInterrupted(std::chrono::milliseconds period, const std::function<void()>& poll) {
    const InterruptCatcher catcher;
    int polls = 0;
    while (interrupted == 0) {
        poll();
        ++polls;
        const auto due = std::chrono::steady_clock::now() + period;
        while (interrupted == 0) {
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
