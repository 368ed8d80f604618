#pragma once

#include <QString>

#include <memory>

namespace kt41::device {
struct CalibrationReference;
}

namespace kt41::sim {
class Controller;
class PtyServer;
} // namespace kt41::sim

namespace kt41::app {

// The simulated controller of --demo: a KT-41 that answers every network
// address, served over Modbus RTU on a new pseudo-terminal on its own thread
// for as long as this object lives. Raises std::runtime_error when no
// pseudo-terminal can be made.
class DemoController {
public:
    explicit DemoController(unsigned baud);
    ~DemoController();
    DemoController(const DemoController&) = delete;
    DemoController& operator=(const DemoController&) = delete;

    // The port name under which the tool reaches it.
    QString PortName() const;

    // Plays the engineer's resistor box and current source: connects the
    // reference a confirmed calibration prompt asked for, so that the
    // simulated converter codes settle to its code.
    void PlayReference(const device::CalibrationReference& reference);

private:
    std::unique_ptr<sim::Controller> controller_;
    std::unique_ptr<sim::PtyServer> server_;
};

} // namespace kt41::app
