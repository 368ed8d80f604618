#pragma once

#include "device/Records.h"

#include <array>

namespace kt41::sim {

// The settings a controller starts with, as the device model's records.
// Contour types and control modes are taken from the contour records (they
// form the shared contour table); the identity fields of Device are Model,
// Version and Manufact_date (the serial number is a controller option).
struct Configuration {
    device::TParamContur Contour1;
    device::TParamContur Contour2;
    device::TParamConturEx Contour3;
    device::TParamConturEx Contour4;
    std::array<device::TInputTerm, 6> InputsTerm{};
    std::array<device::TInputAnalog, 4> InputsAnalog{};
    device::TParamDevice Device;
    device::TCalibrTermDav Calibration;
};

// A plausible small plant, every value inside the limits the tool's editors
// allow: contour 1 heating by a weather-compensated schedule with a night
// set-back, contour 2 hot water through analog output 1, contour 3 one
// make-up feed channel on a 4-20 mA pressure input, contour 4 switched off;
// thermometers for outdoor, supply and return of contour 1, hot water and its
// return, and a control input; 4-20 mA inputs for the feed pressure, a control
// pressure, the hot-water valve position and a flow.
Configuration DemoConfiguration();

} // namespace kt41::sim
