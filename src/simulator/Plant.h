#pragma once

#include "Configuration.h"

#include <array>
#include <cstdint>

namespace kt41::sim {

// What the controller is doing by hand (manual state) as far as the plant
// sees it.
struct ManualInputs {
    std::array<bool, 4> ManualMode{};
    std::array<std::uint8_t, 4> PumpSwitch{}; // pumps 1, 2 of contour 1, then of contour 2
    std::array<std::uint16_t, 2> AnalogOut{40, 40};
    std::array<double, 4> ValvePosition{}; // %, used for contours in manual mode
};

// One picture of the plant: the measured values and the events that follow
// from the configuration and the time of day.
struct PlantReading {
    std::array<std::int16_t, 6> Temperature{}; // T1..T6, 0.1 degC
    std::array<std::int16_t, 2> SetPoint{};    // contours 1 and 2, 0.1 degC
    std::array<std::uint16_t, 4> Analog{};     // 4-20 mA inputs 1..4 in their units
    std::uint16_t Sensors = 0;                 // sensor alarm bits (current-data word 16)
    std::array<std::uint16_t, 4> Events{};     // event words 0..3
    std::array<double, 4> ValvePosition{};     // %, contours 1..4
};

// A heating substation in software: outdoor temperature with a daily swing,
// heating supply and return by the configured schedule, hot water at its
// normal or lowered temperature, feed pressure falling slowly and refilled,
// valves moving, and the events that go with them (weekly set-back, return
// correction, pumps off by programme, contours switched off, manual mode, a
// short dry-running episode of the feed pumps every six hours).
//
// `t` is the controller's clock in seconds since 1 January 1970 (local wall
// time). Noise is a fixed function of time and seed, so the same moment always
// reads the same; the archive uses that to give stable records.
PlantReading ReadPlant(const Configuration& cfg, const ManualInputs& manual, double t,
                       std::uint32_t seed);

// The code a converter channel settles at: channel 1 measures the resistance
// of thermometer input 1, channel 2 the current of 4-20 mA input 1.
std::array<double, 2> AdcTargets(const Configuration& cfg, const PlantReading& reading);

// A number in [-1, 1] that depends only on its arguments.
double Noise(std::uint32_t seed, std::uint32_t channel, std::int64_t tick);

} // namespace kt41::sim
