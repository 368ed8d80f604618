#pragma once

#include "ComPort.h"
#include "LineLock.h"
#include "LineTiming.h"

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
// Modbus TCP) and, on a serial device, the exclusive lock on it. ModbusDriver
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

    // One request and its answer. `request` is a PDU (function code and data);
    // answerPdu is the length of a correct answer's PDU, used for the
    // timeouts. Returns the answer's PDU when a complete frame with a good
    // checksum came back from `unit` in time; nullopt otherwise, with the
    // reason in *why. Throws SerialPortError when the line itself fails (device
    // gone, connection lost and not to be reopened).
    std::optional<Answer> Exchange(std::uint8_t unit, std::span<const std::uint8_t> request,
                                   std::size_t answerPdu, std::string* why);

private:
    ModbusLink(_modbus* context, std::unique_ptr<LineLock> lock, bool tcp, std::uint32_t baud,
               std::string name, const LineTimeouts& timeouts);
    void ApplyTimeouts(const ExchangeTimeouts& t);
    void Reconnect();
    [[noreturn]] void LineFailed(int error);

    _modbus* context_;
    std::unique_ptr<LineLock> lock_;
    bool tcp_;
    std::uint32_t baud_;
    std::string name_;
    LineTimeouts timeouts_;
    bool reconnect_ = false; // TCP: the connection was dropped and is reopened on next use
    std::mutex mutex_;       // one exchange at a time
};

} // namespace kt41::driver
