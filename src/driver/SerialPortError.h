#pragma once

#include <stdexcept>
#include <string>

namespace kt41::driver {

// Why the line failed, as far as the user can do something about it.
enum class PortFault {
    NoDevice,     // no such device (an adapter not plugged in, a wrong name)
    NoPermission, // the user may not open the device (not in the dialout group)
    Busy,         // another program holds the line
    Refused,      // a gateway refused the connection
    Unreachable,  // a gateway's host or network cannot be reached
    Lost,         // the line failed while in use (unplugged, connection dropped)
    BadName,      // a port name that names no line ("tcp://host" without a port)
    Other,
};

// The fault an errno value of opening a line stands for.
PortFault PortFaultOfOpenError(int error);
// The fault an errno value of a line in use stands for: a gateway that cannot
// be reached again is unreachable or refusing, anything else a lost line.
PortFault PortFaultOfLineError(int error);

// Raised when the serial line itself fails: the port cannot be opened (missing,
// busy, no permission) or an I/O error occurs on an open port. A controller that
// does not answer, a bad checksum or an exception reply is not an error of the
// port; those are plain false results of the driver functions. what() is the
// technical account in English (for logs and the command line); Fault() and
// Port() let the window tell the user what happened.
class SerialPortError : public std::runtime_error {
public:
    SerialPortError(const std::string& what, PortFault fault = PortFault::Other,
                    std::string port = {})
        : std::runtime_error(what), fault_(fault), port_(std::move(port)) {}

    PortFault Fault() const { return fault_; }
    const std::string& Port() const { return port_; }

private:
    PortFault fault_;
    std::string port_;
};

} // namespace kt41::driver
