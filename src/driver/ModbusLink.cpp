#include "ModbusLink.h"

#include "PortName.h"
#include "SerialPortError.h"

#include <modbus/modbus.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>
#include <thread>

namespace kt41::driver {

namespace {

using std::chrono::microseconds;

// Baud rates a serial line may be opened with; the waits grow with the
// character time, so very slow lines are refused.
constexpr std::uint32_t kLowestBaud = 1200;
constexpr std::uint32_t kHighestBaud = 921600;

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
                                  std::to_string(port.BaudRate));
        }
        lock = std::make_unique<LineLock>(port.PortName); // throws when busy or missing
        ctx = modbus_new_rtu(port.PortName.c_str(), int(port.BaudRate), 'N', 8, 1);
    }
    if (ctx == nullptr) {
        throw SerialPortError("Cannot open port " + port.PortName + ": " + modbus_strerror(errno));
    }
    modbus_set_error_recovery(ctx, MODBUS_ERROR_RECOVERY_NONE);
    if (endpoint) {
        SetTimeout(modbus_set_response_timeout, ctx, timeouts.TcpResponse);
    }
    if (modbus_connect(ctx) != 0) {
        const int error = errno;
        modbus_free(ctx);
        throw SerialPortError("Cannot open port " + port.PortName + ": " + modbus_strerror(error));
    }
    if (!endpoint) {
        ApplyModemLines(modbus_get_socket(ctx), port);
    }
    return std::unique_ptr<ModbusLink>(new ModbusLink(ctx, std::move(lock), endpoint.has_value(),
                                                      port.BaudRate, port.PortName, timeouts));
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

void ModbusLink::ApplyTimeouts(const ExchangeTimeouts& t) {
    SetTimeout(modbus_set_response_timeout, context_, t.Response);
    SetTimeout(modbus_set_byte_timeout, context_, t.Byte);
}

void ModbusLink::Reconnect() {
    modbus_close(context_);
    SetTimeout(modbus_set_response_timeout, context_, timeouts_.TcpResponse);
    if (modbus_connect(context_) != 0) {
        const int error = errno;
        reconnect_ = true;
        throw SerialPortError("Lost connection to " + name_ + ": " + modbus_strerror(error));
    }
    reconnect_ = false;
}

void ModbusLink::LineFailed(int error) {
    if (tcp_) {
        modbus_close(context_);
        reconnect_ = true; // the next exchange tries to reopen the connection
    }
    throw SerialPortError("Port " + name_ + " failed: " + modbus_strerror(error));
}

std::optional<ModbusLink::Answer> ModbusLink::Exchange(std::uint8_t unit,
                                                       std::span<const std::uint8_t> request,
                                                       std::size_t answerPdu, std::string* why) {
    if (request.empty() || request.size() > MODBUS_MAX_PDU_LENGTH) {
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
    ApplyTimeouts(timeouts);
    modbus_set_slave(context_, unit);

    // Whatever is still in the input belongs to no request of ours.
    modbus_flush(context_);

    std::array<std::uint8_t, MODBUS_MAX_PDU_LENGTH + 1> raw{};
    raw[0] = unit;
    std::memcpy(raw.data() + 1, request.data(), request.size());
    if (modbus_send_raw_request(context_, raw.data(), int(request.size() + 1)) < 0) {
        const int error = errno;
        if (IsLineFailure(error)) {
            LineFailed(error);
        }
        *why = std::string("send failed: ") + modbus_strerror(error);
        return std::nullopt;
    }

    std::array<std::uint8_t, MODBUS_TCP_MAX_ADU_LENGTH> frame{};
    const int length = modbus_receive_confirmation(context_, frame.data());
    if (length < 0) {
        const int error = errno;
        if (IsLineFailure(error)) {
            LineFailed(error);
        }
        if (error == ETIMEDOUT) {
            *why = "no answer";
            if (tcp_) {
                // A late answer must not be read as the answer to the next
                // request: drop this connection and reopen it on next use.
                modbus_close(context_);
                reconnect_ = true;
            } else {
                std::this_thread::sleep_for(timeouts.Recovery);
                modbus_flush(context_);
            }
        } else if (error == EMBBADCRC) {
            *why = "bad checksum";
        } else {
            *why = std::string("bad frame: ") + modbus_strerror(error);
        }
        return std::nullopt;
    }

    // libmodbus has checked the checksum and read as many bytes as the
    // function code and byte count announce; the rest is checked here.
    const int header = modbus_get_header_length(context_);
    const int trailer = tcp_ ? 0 : 2; // CRC
    if (length < header + 1 + trailer) {
        *why = "answer from another unit or too short";
        return std::nullopt;
    }
    if (frame[std::size_t(header - 1)] != unit) {
        *why = "answer from unit " + std::to_string(frame[std::size_t(header - 1)]);
        return std::nullopt;
    }
    if (tcp_) {
        const unsigned protocol = (frame[2] << 8) | frame[3];
        const unsigned following = (frame[4] << 8) | frame[5];
        if (protocol != 0 || following != unsigned(length - 6)) {
            *why = "bad TCP header";
            return std::nullopt;
        }
    }
    Answer answer;
    answer.Pdu.assign(frame.begin() + header, frame.begin() + (length - trailer));
    return answer;
}

} // namespace kt41::driver
