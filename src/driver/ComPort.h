#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kt41::driver {

// An open line, attached to the port object by the driver that opened it.
// Destroying it closes the line and releases its lock.
class PortLink {
public:
    virtual ~PortLink() = default;
};

// The one serial port object of the program. The main window owns it and sets
// its name, speed and line modes; the driver opens it inside
// Connect_Device_KT41 by attaching a PortLink, and the main window closes it to
// end the connection. A name of the form "tcp://host:port" stands for a Modbus
// TCP gateway instead of a serial device.
class ComPort {
public:
    std::string PortName = "COM1";
    std::uint32_t BaudRate = 9600; // 8 data bits, no parity, 1 stop bit, no flow control
    bool Dtr = false;              // DTR asserted while the port is open
    bool Rts = false;              // RTS asserted while the port is open

    bool Connected() const { return link_ != nullptr; }
    void Close() { link_.reset(); }

    void Attach(std::unique_ptr<PortLink> link) { link_ = std::move(link); }
    PortLink* Link() const { return link_.get(); }

private:
    std::unique_ptr<PortLink> link_;
};

} // namespace kt41::driver
