#include "ModbusLink.h"

#include "ModbusFrames.h"
#include "PortName.h"
#include "SerialPortError.h"

#include <modbus/modbus.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace kt41::driver {

namespace {

using std::chrono::microseconds;

// Baud rates a serial line may be opened with; the waits grow with the
// character time, so very slow lines are refused.
constexpr std::uint32_t kLowestBaud = 1200;
constexpr std::uint32_t kHighestBaud = 921600;
constexpr std::uint8_t kExceptionFlag = 0x80;

// errno values that mean the line itself is gone or broken, as opposed to a
// controller that did not answer or answered badly.
bool IsLineFailure(int error) {
    switch (error) {
    case EIO:
    case ENXIO:
    case ENODEV:
    case EBADF:
    case EPIPE:
    case ECONNRESET:
    case ECONNREFUSED:
    case ECONNABORTED:
    case ENOTCONN:
    case ENETDOWN:
    case ENETUNREACH:
    case EHOSTUNREACH:
    case EHOSTDOWN:
    case ESHUTDOWN:
        return true;
    default:
        return false;
    }
}

bool Retryable(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

void SetTimeout(int (*setter)(modbus_t*, std::uint32_t, std::uint32_t), modbus_t* ctx,
                microseconds t) {
    const long long us = std::max<long long>(t.count(), 1000);
    setter(ctx, std::uint32_t(us / 1000000), std::uint32_t(us % 1000000));
}

// DTR and RTS as the port object says. A pseudo-terminal has no modem lines and
// refuses these calls; that is not an error of the line.
void ApplyModemLines(int fd, const ComPort& port) {
    int dtr = TIOCM_DTR;
    int rts = TIOCM_RTS;
    (void)::ioctl(fd, port.Dtr ? TIOCMBIS : TIOCMBIC, &dtr);
    (void)::ioctl(fd, port.Rts ? TIOCMBIS : TIOCMBIC, &rts);
}

// Waits for `events` on `fd` until `until`, to the microsecond: the waits
// between frames are a few character times. Returns what poll returns.
template <typename TimePoint>
int PollUntil(pollfd& p, TimePoint until) {
    const auto left = std::max(until - TimePoint::clock::now(), typename TimePoint::duration{0});
    const auto us = std::chrono::ceil<microseconds>(left).count();
    const timespec timeout{time_t(us / 1000000), long(us % 1000000) * 1000};
    return ::ppoll(&p, 1, &timeout, nullptr);
}

// The answer belongs to the request's function: the same code, or the code
// with the exception flag.
bool SameFunction(std::uint8_t answer, std::uint8_t request) {
    return answer == request || answer == (request | kExceptionFlag);
}

std::string WhyIncomplete(bool pastDeadline) {
    return pastDeadline ? "answer not complete in time" : "answer incomplete";
}

} // namespace

std::unique_ptr<ModbusLink> ModbusLink::Open(const ComPort& port, const LineTimeouts& timeouts) {
    const auto endpoint = ParseTcpPortName(port.PortName);
    std::unique_ptr<LineLock> lock;
    modbus_t* ctx = nullptr;
    if (endpoint) {
        ctx = modbus_new_tcp_pi(endpoint->Host.c_str(), endpoint->Port.c_str());
    } else {
        if (port.BaudRate < kLowestBaud || port.BaudRate > kHighestBaud) {
            throw SerialPortError("Cannot open port " + port.PortName + ": unsupported baud rate " +
                                      std::to_string(port.BaudRate),
                                  PortFault::Other, port.PortName);
        }
        lock = std::make_unique<LineLock>(port.PortName); // throws when busy or missing
        ctx = modbus_new_rtu(port.PortName.c_str(), int(port.BaudRate), 'N', 8, 1);
    }
    if (ctx == nullptr) {
        const int error = errno;
        throw SerialPortError("Cannot open port " + port.PortName + ": " + modbus_strerror(error),
                              PortFaultOfOpenError(error), port.PortName);
    }
    if (endpoint) {
        // libmodbus waits this long for the connection to be set up.
        SetTimeout(modbus_set_response_timeout, ctx, timeouts.TcpResponse);
    }
    if (modbus_connect(ctx) != 0) {
        const int error = errno;
        modbus_free(ctx);
        throw SerialPortError("Cannot open port " + port.PortName + ": " + modbus_strerror(error),
                              PortFaultOfOpenError(error), port.PortName);
    }
    if (!endpoint) {
        ApplyModemLines(modbus_get_socket(ctx), port);
    }
    std::unique_ptr<ModbusLink> link(new ModbusLink(ctx, std::move(lock), endpoint.has_value(),
                                                    port.BaudRate, port.PortName, timeouts));
    link->TakeDescriptor();
    return link;
}

ModbusLink::ModbusLink(modbus_t* context, std::unique_ptr<LineLock> lock, bool tcp,
                       std::uint32_t baud, std::string name, const LineTimeouts& timeouts)
    : context_(context), lock_(std::move(lock)), tcp_(tcp), baud_(baud), name_(std::move(name)),
      timeouts_(timeouts) {}

ModbusLink::~ModbusLink() {
    modbus_close(context_);
    modbus_free(context_);
    // lock_ goes after the line is closed
}

void ModbusLink::SetTimeouts(const LineTimeouts& timeouts) {
    std::lock_guard guard(mutex_);
    timeouts_ = timeouts;
}

// Every wait is a poll on the descriptor, so reads and writes must not block.
void ModbusLink::TakeDescriptor() {
    fd_ = modbus_get_socket(context_);
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK);
    }
}

void ModbusLink::Reconnect() {
    modbus_close(context_);
    SetTimeout(modbus_set_response_timeout, context_, timeouts_.TcpResponse);
    if (modbus_connect(context_) != 0) {
        const int error = errno;
        reconnect_ = true;
        throw SerialPortError("Lost connection to " + name_ + ": " + modbus_strerror(error),
                              PortFaultOfLineError(error), name_);
    }
    TakeDescriptor();
    reconnect_ = false;
}

void ModbusLink::Resynchronise() {
    modbus_close(context_);
    fd_ = -1;
    reconnect_ = true;
}

void ModbusLink::LineFailed(int error) {
    if (tcp_) {
        Resynchronise(); // the next exchange tries to reopen the connection
    }
    throw SerialPortError("Port " + name_ + " failed: " + modbus_strerror(error),
                          PortFaultOfLineError(error), name_);
}

bool ModbusLink::Send(std::span<const std::uint8_t> frame, Clock::time_point deadline,
                      std::string* why) {
    while (!frame.empty()) {
        const ssize_t n = tcp_ ? ::send(fd_, frame.data(), frame.size(), MSG_NOSIGNAL)
                               : ::write(fd_, frame.data(), frame.size());
        if (n > 0) {
            frame = frame.subspan(std::size_t(n));
            continue;
        }
        const int error = n < 0 ? errno : EIO;
        if (!Retryable(error)) {
            if (IsLineFailure(error)) {
                LineFailed(error);
            }
            *why = std::string("send failed: ") + std::strerror(error);
            return false;
        }
        pollfd p{fd_, POLLOUT, 0};
        if (PollUntil(p, deadline) == 0 && Clock::now() >= deadline) {
            *why = "request not sent in time";
            return false;
        }
    }
    return true;
}

std::size_t ModbusLink::Read(std::span<std::uint8_t> into, Clock::time_point until, int* error) {
    *error = 0;
    for (;;) {
        pollfd p{fd_, POLLIN, 0};
        const int ready = PollUntil(p, until);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            *error = errno;
            if (IsLineFailure(*error)) {
                LineFailed(*error);
            }
            return 0;
        }
        if (ready == 0) {
            if (Clock::now() >= until) {
                return 0;
            }
            continue;
        }
        const ssize_t n =
            tcp_ ? ::recv(fd_, into.data(), into.size(), 0) : ::read(fd_, into.data(), into.size());
        if (n > 0) {
            return std::size_t(n);
        }
        if (n == 0) {
            // The other end closed the connection, or the device hung up.
            if (tcp_ || (p.revents & (POLLHUP | POLLERR)) != 0) {
                LineFailed(tcp_ ? ECONNRESET : EIO);
            }
            continue;
        }
        if (!Retryable(errno)) {
            *error = errno;
            if (IsLineFailure(*error)) {
                LineFailed(*error);
            }
            return 0;
        }
    }
}

void ModbusLink::Recover(const ExchangeTimeouts& t) {
    std::this_thread::sleep_for(t.Recovery);
    ::tcflush(fd_, TCIFLUSH);
}

void ModbusLink::AwaitSilence(const ExchangeTimeouts& t) {
    const microseconds gap = WireTime(baud_, kFrameGapCharacters);
    const Clock::time_point giveUp = Clock::now() + t.Byte;
    std::array<std::uint8_t, frames::kMaxRtuFrame> discard{};
    for (;;) {
        const Clock::time_point quiet = std::min(lastReceived_ + gap, giveUp);
        if (Clock::now() >= quiet) {
            break;
        }
        int error = 0;
        if (Read(discard, quiet, &error) > 0) {
            lastReceived_ = Clock::now();
        } else if (error != 0) {
            break;
        }
    }
    ::tcflush(fd_, TCIFLUSH);
}

std::optional<ModbusLink::Answer> ModbusLink::Exchange(std::uint8_t unit,
                                                       std::span<const std::uint8_t> request,
                                                       std::size_t answerPdu, std::string* why) {
    if (request.empty() || request.size() > frames::kMaxPdu) {
        *why = "request too long";
        return std::nullopt;
    }
    std::lock_guard guard(mutex_);
    if (reconnect_) {
        Reconnect();
    }
    const ExchangeTimeouts timeouts =
        tcp_ ? TcpExchangeTimeouts(timeouts_)
             : RtuExchangeTimeouts(timeouts_, baud_, request.size(), answerPdu);
    const Clock::time_point deadline = Clock::now() + timeouts.Limit;
    const std::uint8_t function = request[0];
    if (tcp_) {
        const std::uint16_t transaction = ++transaction_;
        if (!Send(frames::TcpFrame(transaction, unit, request), deadline, why)) {
            Resynchronise(); // part of a request may have gone out
            return std::nullopt;
        }
        return ReceiveTcp(transaction, unit, function, timeouts, deadline, why);
    }
    // Whatever is still in the input belongs to no request of ours.
    AwaitSilence(timeouts);
    if (!Send(frames::RtuFrame(unit, request), deadline, why)) {
        return std::nullopt;
    }
    return ReceiveRtu(unit, function, timeouts, deadline, why);
}

std::optional<ModbusLink::Answer> ModbusLink::ReceiveRtu(std::uint8_t unit, std::uint8_t function,
                                                         const ExchangeTimeouts& t,
                                                         Clock::time_point deadline,
                                                         std::string* why) {
    std::vector<std::uint8_t> frame;
    Clock::time_point lastByte{};
    for (;;) {
        const frames::FrameLength length = frames::RtuAnswerLength(frame);
        if (length.Status == frames::Length::Unknown) {
            *why = "answer that cannot be framed";
            Recover(t); // its end is not known: let it pass
            return std::nullopt;
        }
        if (length.Status == frames::Length::Known && frame.size() >= length.Bytes) {
            frame.resize(length.Bytes); // anything after it is flushed before the next request
            break;
        }
        // The first byte may come until the deadline; inside the frame a pause
        // longer than the byte timeout ends it.
        const Clock::time_point until =
            frame.empty() ? deadline : std::min(deadline, lastByte + t.Byte);
        std::array<std::uint8_t, frames::kMaxRtuFrame> chunk{};
        int error = 0;
        const std::size_t n = Read(chunk, until, &error);
        if (n == 0) {
            if (error != 0) {
                *why = std::string("read failed: ") + std::strerror(error);
            } else {
                *why = frame.empty() ? "no answer" : WhyIncomplete(Clock::now() >= deadline);
            }
            Recover(t);
            return std::nullopt;
        }
        frame.insert(frame.end(), chunk.begin(), chunk.begin() + long(n));
        lastByte = lastReceived_ = Clock::now();
    }
    if (!frames::RtuCrcOk(frame)) {
        *why = "bad checksum";
        return std::nullopt;
    }
    if (frame[0] != unit) {
        *why = "answer from unit " + std::to_string(frame[0]);
        return std::nullopt;
    }
    if (!SameFunction(frame[1], function)) {
        *why = "answer to function " + std::to_string(frame[1]);
        return std::nullopt;
    }
    return Answer{std::vector<std::uint8_t>(frame.begin() + 1, frame.end() - 2)};
}

bool ModbusLink::ReadTcpBytes(std::vector<std::uint8_t>& frame, std::size_t from,
                              const ExchangeTimeouts& t, Clock::time_point deadline,
                              std::string* why) {
    Clock::time_point lastByte = Clock::now();
    for (std::size_t got = from; got < frame.size();) {
        const Clock::time_point until = got == 0 ? deadline : std::min(deadline, lastByte + t.Byte);
        int error = 0;
        const std::size_t n = Read(std::span(frame).subspan(got), until, &error);
        if (n == 0) {
            if (error != 0) {
                *why = std::string("read failed: ") + std::strerror(error);
            } else if (got == 0) {
                *why = "no answer";
                return false; // between two frames: the connection is still in step
            } else {
                *why = WhyIncomplete(Clock::now() >= deadline);
            }
            Resynchronise();
            return false;
        }
        got += n;
        lastByte = Clock::now();
    }
    return true;
}

std::optional<ModbusLink::Answer>
ModbusLink::ReceiveTcp(std::uint16_t transaction, std::uint8_t unit, std::uint8_t function,
                       const ExchangeTimeouts& t, Clock::time_point deadline, std::string* why) {
    for (int late = 0;; ++late) {
        std::vector<std::uint8_t> frame(frames::kMbapHeader);
        if (!ReadTcpBytes(frame, 0, t, deadline, why)) {
            if (late > 0) {
                *why += " (" + std::to_string(late) + " late answer" + (late > 1 ? "s" : "") +
                        " dropped)";
            }
            return std::nullopt;
        }
        const frames::MbapHeader header = frames::ReadMbap(frame);
        if (!header.Valid()) {
            *why = "bad TCP header";
            Resynchronise();
            return std::nullopt;
        }
        frame.resize(header.FrameBytes());
        if (!ReadTcpBytes(frame, frames::kMbapHeader, t, deadline, why)) {
            return std::nullopt;
        }
        if (header.Transaction != transaction) {
            continue; // the answer to an earlier request, come late
        }
        if (header.Unit != unit) {
            *why = "answer from unit " + std::to_string(header.Unit);
            return std::nullopt;
        }
        const std::uint8_t answered = frame[frames::kMbapHeader];
        if (!SameFunction(answered, function)) {
            *why = "answer to function " + std::to_string(answered);
            return std::nullopt;
        }
        return Answer{
            std::vector<std::uint8_t>(frame.begin() + long(frames::kMbapHeader), frame.end())};
    }
}

} // namespace kt41::driver
