#include "DemoController.h"

#include "device/Calibration.h"
#include "simulator/Controller.h"
#include "simulator/PtyServer.h"

namespace kt41::app {

DemoController::DemoController(unsigned baud) {
    sim::ControllerOptions options;
    options.AnswerAnyAddress = true;
    options.EmulatedBaud = baud; // answers take as long as on a real line
    controller_ = std::make_unique<sim::Controller>(options);
    server_ = std::make_unique<sim::PtyServer>(*controller_);
}

DemoController::~DemoController() {
    server_.reset(); // stop serving before the controller goes
}

QString DemoController::PortName() const {
    return QString::fromStdString(server_->SlavePath());
}

void DemoController::PlayReference(const device::CalibrationReference& reference) {
    if (reference.Source == device::CalibrationReference::Resistance) {
        controller_->References().SetResistance(reference.Value);
    } else {
        controller_->References().SetCurrent(reference.Value);
    }
}

} // namespace kt41::app
