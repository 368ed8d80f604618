#include "LinePacer.h"

#include <algorithm>
#include <thread>

namespace kt41::sim {

namespace {

constexpr double kBitsPerCharacter = 10.0;
constexpr double kFrameGap = 3.5; // characters
constexpr std::size_t kChunk = 8; // characters written at a time

} // namespace

LinePacer::LinePacer(std::uint32_t baud) : baud_(baud) {}

std::chrono::nanoseconds LinePacer::Characters(double count) const {
    return std::chrono::nanoseconds(std::int64_t(count * kBitsPerCharacter * 1e9 / baud_));
}

void LinePacer::RequestArrived(std::size_t bytes, Clock::time_point firstByte) {
    if (baud_ == 0) {
        return;
    }
    const auto start = std::max(firstByte, lineFree_);
    std::this_thread::sleep_until(start + Characters(double(bytes) + kFrameGap));
}

void LinePacer::Send(std::span<const std::uint8_t> frame,
                     const std::function<void(std::span<const std::uint8_t>)>& write) {
    if (baud_ == 0) {
        write(frame);
        return;
    }
    const auto start = Clock::now();
    for (std::size_t sent = 0; sent < frame.size();) {
        const std::size_t n = std::min(kChunk, frame.size() - sent);
        std::this_thread::sleep_until(start + Characters(double(sent + n)));
        write(frame.subspan(sent, n));
        sent += n;
    }
    lineFree_ = start + Characters(double(frame.size()) + kFrameGap);
}

void LinePacer::AnswerTime(std::size_t bytes) {
    if (baud_ == 0) {
        return;
    }
    const auto start = Clock::now();
    std::this_thread::sleep_until(start + Characters(double(bytes)));
    lineFree_ = start + Characters(double(bytes) + kFrameGap);
}

} // namespace kt41::sim
