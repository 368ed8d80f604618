#include "CodeMonitor.h"

#include <algorithm>

namespace kt41::device {

void CodeMonitor::Start(int channel, std::size_t count) {
    state_ = Stabilising;
    channel_ = channel == Pressure ? Pressure : Temperature;
    countdown_ = kSettleTicks;
    taken_ = 0;
    latest_.reset();
    samples_.assign(std::max<std::size_t>(count, 1), 0.0);
}

CodeMonitor::State CodeMonitor::Tick(std::optional<std::array<std::uint16_t, 2>> codes) {
    if (state_ != Stabilising && state_ != Measuring) {
        return state_;
    }
    if (!codes) {
        state_ = Closed;
        return state_;
    }
    if (state_ == Stabilising) {
        if (--countdown_ == 0) {
            countdown_ = int(samples_.size());
            state_ = Measuring;
        }
        return state_;
    }
    const std::uint16_t x = (*codes)[channel_ == Pressure ? 1 : 0];
    latest_ = x;
    samples_[std::size_t(countdown_ - 1)] = x;
    ++taken_;
    if (--countdown_ == 0) {
        state_ = Finished;
    }
    return state_;
}

void CodeMonitor::Cancel() {
    if (state_ != Finished) {
        state_ = Closed;
    }
}

} // namespace kt41::device
