#pragma once

#include "LinePacer.h"

#include <atomic>
#include <cstdint>
#include <span>
#include <thread>

namespace kt41::sim {

class Controller;

// Serves Modbus RTU requests on a descriptor (a pseudo-terminal master or a
// serial device) on a thread of its own, until destroyed. Requests for other
// units are ignored, bad frames are dropped, and the answer is damaged, delayed
// or paced as the controller's Reply says. The descriptor stays the caller's.
class RtuServer {
public:
    RtuServer(Controller& controller, int fd);
    ~RtuServer();
    RtuServer(const RtuServer&) = delete;
    RtuServer& operator=(const RtuServer&) = delete;

private:
    void Run();
    void Answer(std::span<const std::uint8_t> frame, LinePacer::Clock::time_point firstByte);
    void WriteAll(std::span<const std::uint8_t> bytes);
    bool WaitForStop(std::chrono::milliseconds timeout); // true when asked to stop

    Controller& controller_;
    int fd_;
    int wake_[2] = {-1, -1};
    LinePacer pacer_;
    std::thread thread_;
};

} // namespace kt41::sim
