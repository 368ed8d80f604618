#include "RtuServer.h"

#include "Controller.h"
#include "RtuFrame.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace kt41::sim {

namespace {

using Clock = LinePacer::Clock;
using namespace std::chrono_literals;

// After garbage (an unknown function code or a bad CRC) the input is dropped
// until the line has been quiet this long.
constexpr auto kResyncSilence = 20ms;
// An incomplete frame is dropped when nothing more arrives for this long.
constexpr auto kStalledFrame = 500ms;

std::uint8_t NextUnit(std::uint8_t unit) {
    return std::uint8_t(unit % 247 + 1);
}

} // namespace

RtuServer::RtuServer(Controller& controller, int fd)
    : controller_(controller), fd_(fd), pacer_(controller.Options().EmulatedBaud) {
    if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error("pipe2 failed");
    }
    thread_ = std::thread([this] { Run(); });
}

RtuServer::~RtuServer() {
    const char stop = 1;
    (void)!::write(wake_[1], &stop, 1);
    thread_.join();
    ::close(wake_[0]);
    ::close(wake_[1]);
}

bool RtuServer::WaitForStop(std::chrono::milliseconds timeout) {
    pollfd p{wake_[0], POLLIN, 0};
    return ::poll(&p, 1, int(timeout.count())) > 0;
}

void RtuServer::Run() {
    std::vector<std::uint8_t> buffer;
    Clock::time_point firstByte{}, lastByte{};
    bool discarding = false;
    for (;;) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        const bool waiting = !buffer.empty() || discarding;
        if (::poll(fds, 2, waiting ? 10 : 1000) < 0 && errno != EINTR) {
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        const auto now = Clock::now();
        if ((fds[0].revents & POLLIN) != 0) {
            std::uint8_t chunk[512];
            const ssize_t n = ::read(fd_, chunk, sizeof chunk);
            if (n > 0) {
                if (buffer.empty()) {
                    firstByte = now;
                }
                buffer.insert(buffer.end(), chunk, chunk + n);
                lastByte = now;
            }
        } else if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            // Nobody on the other end for now; do not spin.
            if (WaitForStop(20ms)) {
                return;
            }
            continue;
        }
        if (discarding) {
            if (now - lastByte >= kResyncSilence) {
                discarding = false;
                buffer.clear();
            }
            continue;
        }
        while (!buffer.empty()) {
            const auto length = rtu::RequestFrameLength(buffer);
            if (length.Status == rtu::Length::Unknown) {
                discarding = true;
                break;
            }
            if (length.Status == rtu::Length::NeedMore || buffer.size() < length.Bytes) {
                if (now - lastByte >= kStalledFrame) {
                    buffer.clear();
                }
                break;
            }
            const std::vector<std::uint8_t> frame(buffer.begin(),
                                                  buffer.begin() + long(length.Bytes));
            buffer.erase(buffer.begin(), buffer.begin() + long(length.Bytes));
            if (!driver::frames::RtuCrcOk(frame)) {
                discarding = true;
                break;
            }
            Answer(frame, firstByte);
            firstByte = Clock::now();
        }
    }
}

void RtuServer::Answer(std::span<const std::uint8_t> frame, Clock::time_point firstByte) {
    pacer_.RequestArrived(frame.size(), firstByte);
    const Reply reply = controller_.Handle(frame[0], frame.subspan(1, frame.size() - 3));
    if (!reply.Send) {
        return;
    }
    if (reply.Delay.count() > 0 && WaitForStop(reply.Delay)) {
        return;
    }
    const std::optional<FaultKind> fault = reply.FrameFault;
    const std::uint8_t unit = fault == FaultKind::WrongUnit ? NextUnit(reply.Unit) : reply.Unit;
    std::vector<std::uint8_t> answer = driver::frames::RtuFrame(unit, reply.Pdu);
    if (fault == FaultKind::BadCrc) {
        answer.back() ^= 0xFF;
    } else if (fault == FaultKind::Truncated) {
        answer.resize(std::max<std::size_t>(2, answer.size() / 2));
    }
    // RepeatPrevious and NextId change the transaction id of Modbus TCP, which
    // an RTU frame does not have: their answer goes out unchanged.
    if (fault == FaultKind::Drip) {
        for (std::size_t k = 0; k < answer.size(); ++k) {
            if (WaitForStop(reply.ByteGap)) {
                return;
            }
            WriteAll(std::span(answer).subspan(k, 1));
        }
        return;
    }
    if (fault == FaultKind::AnswerTwice) {
        // The copy follows without a pause, as one run of bytes on the line.
        const std::vector<std::uint8_t> once = answer;
        answer.insert(answer.end(), once.begin(), once.end());
    }
    pacer_.Send(answer, [this](std::span<const std::uint8_t> bytes) { WriteAll(bytes); });
}

void RtuServer::WriteAll(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n > 0) {
            bytes = bytes.subspan(std::size_t(n));
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, 100) <= 0) {
                return; // nobody reads: drop the answer
            }
        } else {
            return;
        }
    }
}

} // namespace kt41::sim
