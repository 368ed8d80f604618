#pragma once

#include <optional>
#include <string>

namespace kt41::driver {

// A Modbus TCP gateway named by a port name of the form "tcp://host:port".
struct TcpEndpoint {
    std::string Host;
    std::string Port; // decimal, 1..65535
};

// The endpoint of a "tcp://" port name, nullopt for any other name (a serial
// device path). Throws SerialPortError for a "tcp://" name without a valid
// host and port.
std::optional<TcpEndpoint> ParseTcpPortName(const std::string& portName);

} // namespace kt41::driver
