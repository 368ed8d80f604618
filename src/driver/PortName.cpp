#include "PortName.h"

#include "SerialPortError.h"

#include <charconv>

namespace kt41::driver {

namespace {

constexpr std::string_view kTcpScheme = "tcp://";

} // namespace

std::optional<TcpEndpoint> ParseTcpPortName(const std::string& portName) {
    if (portName.rfind(kTcpScheme, 0) != 0) {
        return std::nullopt;
    }
    const std::string rest = portName.substr(kTcpScheme.size());
    const auto colon = rest.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == rest.size()) {
        throw SerialPortError("Invalid port name " + portName + ": expected tcp://host:port",
                              PortFault::BadName, portName);
    }
    std::string host = rest.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2); // [::1]:502
    }
    const std::string port = rest.substr(colon + 1);
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (ec != std::errc() || end != port.data() + port.size() || value == 0 || value > 65535) {
        throw SerialPortError("Invalid port name " + portName + ": bad TCP port number",
                              PortFault::BadName, portName);
    }
    return TcpEndpoint{host, port};
}

} // namespace kt41::driver
