#include "ManualControl.h"

#include "TKT41.h"

namespace kt41::device {

ManualControl::ManualControl(TKT41& model) : model_(model) {}

bool ManualControl::ReadState() {
    const bool ok = model_.ReadManualState();
    ClearDriveRequests();
    return ok;
}

void ManualControl::ClearDriveRequests() {
    valvePending_ = {};
    valveRequest_ = {};
}

bool ManualControl::ChangeManualMode(int contour, bool on) {
    if (!ValidContour(contour)) {
        return false;
    }
    model_.SetManualMode(contour, on ? 1 : 0);
    const bool inForce = ManualMode(contour);
    if (!inForce) {
        RequestDrive(contour, valve::Stop);
    }
    return inForce;
}

bool ManualControl::ManualMode(int contour) const {
    return model_.GetManualMode(contour) != 0;
}

int ManualControl::ContourOfPump(int pump) {
    if (pump < 1 || pump > kPumps) {
        return 0;
    }
    return (pump + 1) / 2;
}

std::uint8_t ManualControl::DriveCommand(bool closeDown, bool openDown) {
    if (closeDown) {
        return valve::Close;
    }
    return openDown ? valve::Open : valve::Stop;
}

void ManualControl::RequestDrive(int contour, std::uint8_t command) {
    if (!ValidContour(contour)) {
        return;
    }
    valveRequest_[std::size_t(contour - 1)] = command;
    valvePending_[std::size_t(contour - 1)] = true;
}

std::uint8_t ManualControl::ValveRequest(int contour) const {
    return ValidContour(contour) ? valveRequest_[std::size_t(contour - 1)] : valve::Stop;
}

bool ManualControl::ValvePending(int contour) const {
    return ValidContour(contour) && valvePending_[std::size_t(contour - 1)];
}

bool ManualControl::ChangePumpSwitch(int pump, bool on) {
    model_.SetPumpSwitch(pump, on ? 1 : 0);
    return PumpSwitch(pump);
}

bool ManualControl::PumpSwitch(int pump) const {
    return model_.GetPumpSwitch(pump) != 0;
}

void ManualControl::Tick(int output1, int output2) {
    if (analogOutDirty_) {
        analogOutDirty_ = false;
        model_.SetAnalogOutput(1, std::int16_t(output1));
        model_.SetAnalogOutput(2, std::int16_t(output2));
    }
    for (int contour = 1; contour <= kContours; ++contour) {
        const auto k = std::size_t(contour - 1);
        if (!valvePending_[k]) {
            continue;
        }
        model_.SetValveCommand(contour, valveRequest_[k]);
        // A failed stop is not sent again: the model holds the stop anyway.
        if (model_.GetValveCommand(contour) == valve::Stop) {
            valvePending_[k] = false;
        }
    }
}

std::string ManualModeLeftText(const TKT41& model) {
    std::string numbers;
    int count = 0;
    for (int contour = 1; contour <= ManualControl::kContours; ++contour) {
        if (model.GetManualMode(contour) != 0) {
            numbers += (count == 0 ? "" : ", ") + std::to_string(contour);
            ++count;
        }
    }
    if (count == 0) {
        return {};
    }
    return count == 1 ? "Контур " + numbers + " остается в ручном режиме."
                      : "Контуры " + numbers + " остаются в ручном режиме.";
}

} // namespace kt41::device
