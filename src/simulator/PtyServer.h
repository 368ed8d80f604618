#pragma once

#include <memory>
#include <string>

namespace kt41::sim {

class Controller;
class RtuServer;

// Modbus RTU on a new pseudo-terminal, served on a thread of its own until the
// object is destroyed. A client opens SlavePath() like a serial device (the
// driver's port name); destroying the server hangs the line up, as if the
// device had been unplugged.
//
//   sim::Controller controller;
//   sim::PtyServer pty(controller);
//   port.PortName = pty.SlavePath();
class PtyServer {
public:
    explicit PtyServer(Controller& controller);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    const std::string& SlavePath() const { return slavePath_; }

    // Holds the slave device with an exclusive lock, like another program
    // that has the port open, so that a client finds it busy. Returns false
    // when the lock cannot be taken (a client holds it).
    bool Hold(bool held);
    bool Held() const { return holdFd_ >= 0; }

private:
    int master_ = -1;
    int keepOpen_ = -1; // a slave descriptor of our own, so the line never hangs up
    int holdFd_ = -1;
    std::string slavePath_;
    std::unique_ptr<RtuServer> server_;
};

} // namespace kt41::sim
