// The controller's clock, live data and manual state.
#include "CivilTime.h"
#include "Controller.h"
#include "PlantEpisodes.h"

#include "driver/RegisterMap.h"

#include <algorithm>
#include <cmath>

namespace kt41::sim {

namespace regmap = driver::regmap;
using driver::CivilDateTime;
using Steady = std::chrono::steady_clock;

namespace {

constexpr auto kRestartEventTime = std::chrono::minutes(5);
constexpr auto kConfigChangedEventTime = std::chrono::minutes(10);
// A converter channel starts settling anew after this long without reads.
constexpr auto kAdcRestAfter = std::chrono::seconds(10);
constexpr double kAdcSettleSeconds = 1.0;

} // namespace

// --- clock -------------------------------------------------------------------------

double Controller::ClockSeconds() const {
    return SystemSeconds() + clockOffset_;
}

std::vector<std::uint16_t> Controller::ClockWords() const {
    const CivilDateTime t = CivilOf(ClockSeconds());
    return {std::uint16_t(t.Year), std::uint16_t(t.Month),  std::uint16_t(t.Day),
            std::uint16_t(t.Hour), std::uint16_t(t.Minute), std::uint16_t(t.Second)};
}

bool Controller::SetClockWords(std::span<const std::uint16_t> w) {
    const CivilDateTime t{w[0], w[1], w[2], w[3], w[4], w[5]};
    if (!ValidCivil(t)) {
        return false;
    }
    clockOffset_ = SecondsOf(t) - SystemSeconds();
    PlaceArchiveGaps();
    return true;
}

CivilDateTime Controller::Clock() const {
    std::lock_guard lock(mutex_);
    return CivilOf(ClockSeconds());
}

void Controller::SetClock(const CivilDateTime& t) {
    std::lock_guard lock(mutex_);
    clockOffset_ = SecondsOf(t) - SystemSeconds();
    PlaceArchiveGaps();
}

// --- live data -----------------------------------------------------------------------

void Controller::UpdateValves() {
    const auto& device = Stored(Block::DeviceParams, 0);
    valves_.Advance(Steady::now(), {device[1], device[2], device[3], device[4]}); // VLV_stroke
}

double Controller::ValvePosition(int contour) {
    std::lock_guard lock(mutex_);
    if (contour < 1 || contour > 4) {
        return 0.0;
    }
    UpdateValves();
    return valves_.Position(std::size_t(contour - 1));
}

ManualInputs Controller::ManualNow() const {
    const auto& m = Stored(Block::ManualState, 0);
    ManualInputs in;
    for (std::size_t n = 0; n < 4; ++n) {
        in.ManualMode[n] = (m[0] >> n) & 1u;
        in.PumpSwitch[n] = std::uint8_t(m[1 + n]);
        in.ValvePosition[n] = valves_.Position(n);
    }
    in.AnalogOut = {m[5], m[6]};
    return in;
}

void Controller::ApplyManualModes(std::uint16_t previous) {
    // A contour taken into manual mode starts from where regulation left its
    // valve.
    ManualInputs automatic = ManualNow();
    automatic.ManualMode = {};
    const PlantReading reading =
        ReadPlant(DecodeConfiguration(), automatic, ClockSeconds(), options_.Seed);
    valves_.ModesChanged(previous, Stored(Block::ManualState, 0)[0], reading.ValvePosition);
}

void Controller::ApplyValveCommand() {
    valves_.Command(Stored(Block::ValveCommand, 0), Stored(Block::ManualState, 0)[0],
                    Steady::now());
}

std::vector<std::uint16_t> Controller::CurrentDataWords() const {
    const Configuration cfg = DecodeConfiguration();
    const double clock = ClockSeconds();
    PlantReading r = ReadPlant(cfg, ManualNow(), clock, options_.Seed);
    AddLiveEpisodes(r, clock);
    std::vector<std::uint16_t> w(regmap::kCurrentData.Count, 0);
    for (std::size_t k = 0; k < 4; ++k) {
        w[k] = r.Events[k];
    }
    const auto now = Steady::now();
    if (now - started_ < kRestartEventTime) {
        w[2] |= 1u << 15; // controller restarted
    }
    if (configWritten_ && now - *configWritten_ < kConfigChangedEventTime) {
        w[3] |= 1u << 0; // configuration changed
    }
    for (std::size_t k = 0; k < 6; ++k) {
        w[4 + k] = std::uint16_t(r.Temperature[k]);
    }
    w[10] = std::uint16_t(r.SetPoint[0]);
    w[11] = std::uint16_t(r.SetPoint[1]);
    for (std::size_t k = 0; k < 4; ++k) {
        w[12 + k] = r.Analog[k];
    }
    w[16] = r.Sensors;
    const auto& device = Stored(Block::DeviceParams, 0);
    for (std::size_t k = 0; k < 4; ++k) {
        w[17 + k] = device[5 + k]; // pump run hours
    }
    return w;
}

std::vector<std::uint16_t> Controller::AdcWords(bool fromBus) const {
    const auto now = Steady::now();
    if (fromBus) {
        if (!lastAdcRead_ || now - *lastAdcRead_ > kAdcRestAfter) {
            adcSettleStart_ = now;
        }
        lastAdcRead_ = now;
    }
    const Configuration cfg = DecodeConfiguration();
    const auto targets =
        AdcTargets(cfg, ReadPlant(cfg, ManualNow(), ClockSeconds(), options_.Seed));
    const double settling = std::chrono::duration<double>(now - adcSettleStart_).count();
    const double left = 0.45 * std::exp(-settling / kAdcSettleSeconds);
    std::normal_distribution<double> noise(0.0, 3.0);
    std::vector<std::uint16_t> w(2);
    for (std::size_t k = 0; k < 2; ++k) {
        const double code = targets[k] * (1.0 - left) + noise(random_);
        w[k] = std::uint16_t(std::clamp(std::lround(code), 0L, 65535L));
    }
    const auto codes = references_.Codes({w[0], w[1]}, fromBus);
    return {codes[0], codes[1]};
}

} // namespace kt41::sim
