#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kt41::sim {

class Controller;
class RtuServer;

// Modbus RTU on a named serial device (one end of a null-modem cable, or of a
// socat pair), 8N1 at `baud`, served on a thread of its own until destroyed.
// The device is locked while served.
class SerialServer {
public:
    // Throws std::runtime_error when the device cannot be opened, locked or set
    // up.
    SerialServer(Controller& controller, const std::string& path, std::uint32_t baud = 9600);
    ~SerialServer();
    SerialServer(const SerialServer&) = delete;
    SerialServer& operator=(const SerialServer&) = delete;

    const std::string& Path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
    std::unique_ptr<RtuServer> server_;
};

} // namespace kt41::sim
