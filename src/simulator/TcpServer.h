#pragma once

#include "LinePacer.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kt41::sim {

class Controller;

// Modbus TCP on 127.0.0.1, served on a thread of its own until destroyed.
// Several clients may be connected at once; requests are answered in turn (so
// while one answer is delayed or drips in, the other clients wait).
//
//   sim::Controller controller;
//   sim::TcpServer tcp(controller);          // port 0: a free port
//   port.PortName = tcp.PortName();          // "tcp://127.0.0.1:<port>"
class TcpServer {
public:
    // Throws std::runtime_error when the port cannot be bound.
    explicit TcpServer(Controller& controller, std::uint16_t port = 0);
    ~TcpServer();
    TcpServer(const TcpServer&) = delete;
    TcpServer& operator=(const TcpServer&) = delete;

    std::uint16_t Port() const { return port_; }
    std::string PortName() const;

    // While held, new connections are refused (the port is "busy") and the
    // connected clients are dropped.
    void Hold(bool held);

private:
    struct Client {
        int Fd;
        std::vector<std::uint8_t> Buffer;
        std::vector<std::uint8_t> LastAnswer; // the latest frame sent to it
    };

    void Run();
    void Listen();
    void DropClients();
    // false when the client is to be dropped
    bool Serve(Client& client);
    // Sends `frame` a byte at a time, each after a pause of `gap`. false when a
    // command came in between (the rest of the frame is dropped).
    bool Drip(int fd, const std::vector<std::uint8_t>& frame, std::chrono::milliseconds gap);
    bool WaitForCommand(std::chrono::milliseconds timeout); // true when one is waiting
    void Command(char command); // to the server thread, waits until applied

    Controller& controller_;
    std::uint16_t port_;
    int listen_ = -1;
    int wake_[2] = {-1, -1};
    std::vector<Client> clients_;
    LinePacer pacer_;
    std::mutex mutex_;
    std::condition_variable applied_;
    int commandsSent_ = 0;
    int commandsApplied_ = 0;
    std::thread thread_;
};

} // namespace kt41::sim
