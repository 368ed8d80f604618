#pragma once

#include "driver/ComPort.h"
#include "driver/ModbusDriver.h"
#include "simulator/Controller.h"
#include "simulator/PtyServer.h"
#include "simulator/TcpServer.h"

#include <memory>
#include <ostream>
#include <string>

namespace kt41::testing {

enum class Transport { Pty, Tcp };

inline std::string TransportName(Transport t) {
    return t == Transport::Pty ? "Pty" : "Tcp";
}
inline std::ostream& operator<<(std::ostream& os, Transport t) {
    return os << TransportName(t);
}

// A simulated controller on a real line (a pseudo-terminal or TCP loopback),
// with a port object and a driver pointed at it. DTR and RTS are asserted so
// that every pty test also checks that their refusal on a pseudo-terminal is
// ignored.
struct SimulatedLine {
    explicit SimulatedLine(Transport transport, sim::ControllerOptions options = {})
        : Controller(std::move(options)) {
        if (transport == Transport::Pty) {
            Pty = std::make_unique<sim::PtyServer>(Controller);
            Port.PortName = Pty->SlavePath();
        } else {
            Tcp = std::make_unique<sim::TcpServer>(Controller);
            Port.PortName = Tcp->PortName();
        }
        Port.Dtr = true;
        Port.Rts = true;
        Driver.SendComPortPtrToDLL(&Port, nullptr);
    }

    bool Connect(std::uint8_t address = 1) {
        std::array<std::uint8_t, 2> version{};
        std::uint8_t answered = 0;
        return Driver.Connect_Device_KT41(address, version, answered);
    }

    sim::Controller Controller;
    std::unique_ptr<sim::PtyServer> Pty;
    std::unique_ptr<sim::TcpServer> Tcp;
    driver::ComPort Port;
    driver::ModbusDriver Driver;
};

} // namespace kt41::testing
