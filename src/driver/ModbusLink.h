#pragma once

#include "ComPort.h"
#include "LineLock.h"
#include "LineTiming.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct _modbus; // libmodbus context

namespace kt41::driver {

// The open line of a port: a libmodbus context (RTU on a serial device, or
// Modbus TCP) and, on a serial device, the exclusive lock on it. libmodbus
// opens, configures and closes the line; the frames themselves are sent and
// received here, on the line's descriptor, so that every exchange has a
// deadline and every TCP request its own transaction id. ModbusDriver
// attaches one to the ComPort when it opens the port; ComPort::Close()
// destroys it, which closes the line and releases the lock.
class ModbusLink : public PortLink {
public:
    // Opens the line the port names: "tcp://host:port" or a serial device path,
    // 8N1 at the port's baud rate with DTR and RTS as the port says. Throws
    // SerialPortError when the line cannot be opened or another program holds
    // it.
    static std::unique_ptr<ModbusLink> Open(const ComPort& port, const LineTimeouts& timeouts);
    ~ModbusLink() override;
    ModbusLink(const ModbusLink&) = delete;
    ModbusLink& operator=(const ModbusLink&) = delete;

    void SetTimeouts(const LineTimeouts& timeouts);

    struct Answer {
        std::vector<std::uint8_t> Pdu; // function code and data, as received
    };

    // One attempt at a transaction: sends `request` (a PDU, function code and
    // data) to `unit` and waits for its answer; answerPdu is the length of a
    // correct answer's PDU, which sets the waits (LineTiming.h). Returns the
    // answer's PDU when a whole frame came back before the deadline, from
    // `unit`, for the request's function or as its exception reply, with a
    // good checksum (RTU) or the request's transaction id (TCP). nullopt
    // otherwise, with the reason in *why. Over TCP a whole frame with another
    // transaction id is a late answer to an earlier request: it is dropped
    // and the wait for this one goes on. Throws SerialPortError when the line
    // itself fails (device gone, connection lost and not to be reopened).
    std::optional<Answer> Exchange(std::uint8_t unit, std::span<const std::uint8_t> request,
                                   std::size_t answerPdu, std::string* why);

private:
    using Clock = std::chrono::steady_clock;

    ModbusLink(_modbus* context, std::unique_ptr<LineLock> lock, bool tcp, std::uint32_t baud,
               std::string name, const LineTimeouts& timeouts);
    void TakeDescriptor();
    void Reconnect();
    // TCP: the stream has lost its framing. The connection is closed now and
    // reopened by the next exchange.
    void Resynchronise();
    [[noreturn]] void LineFailed(int error);

    bool Send(std::span<const std::uint8_t> frame, Clock::time_point deadline, std::string* why);
    // Reads what the line holds into `into`, waiting for it until `until`.
    // Returns the number of bytes read; 0 when nothing came in time, or when
    // reading failed without the line failing (then *error is the errno).
    std::size_t Read(std::span<std::uint8_t> into, Clock::time_point until, int* error);
    std::optional<Answer> ReceiveRtu(std::uint8_t unit, std::uint8_t function,
                                     const ExchangeTimeouts& t, Clock::time_point deadline,
                                     std::string* why);
    std::optional<Answer> ReceiveTcp(std::uint16_t transaction, std::uint8_t unit,
                                     std::uint8_t function, const ExchangeTimeouts& t,
                                     Clock::time_point deadline, std::string* why);
    // Reads frame[from..] completely; false with the reason in *why when the
    // bytes did not all come in time.
    bool ReadTcpBytes(std::vector<std::uint8_t>& frame, std::size_t from, const ExchangeTimeouts& t,
                      Clock::time_point deadline, std::string* why);
    // Serial line, after an attempt without a whole answer: lets stray bytes
    // arrive for the recovery time, then drops the input.
    void Recover(const ExchangeTimeouts& t);
    // Serial line, before a request: frames are separated by 3.5 characters of
    // silence, so the request waits until the line has been quiet that long
    // since the last byte received (at most one byte timeout), and what came
    // meanwhile is dropped with the rest of the input.
    void AwaitSilence(const ExchangeTimeouts& t);

    _modbus* context_;
    int fd_ = -1;
    std::unique_ptr<LineLock> lock_;
    bool tcp_;
    std::uint32_t baud_;
    std::string name_;
    LineTimeouts timeouts_;
    bool reconnect_ = false;        // TCP: the connection was dropped and is reopened on next use
    std::uint16_t transaction_ = 0; // TCP: the id of the latest request
    Clock::time_point lastReceived_{}; // serial line: when the latest bytes came
    std::mutex mutex_;                 // one exchange at a time
};

} // namespace kt41::driver
