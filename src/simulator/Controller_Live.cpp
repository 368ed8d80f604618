// The controller's clock, live data and manual state.
#include "CivilTime.h"
#include "Controller.h"

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
// A valve command holds for its stated time plus this, so that one repeated
// every stated time drives without a pause.
constexpr auto kValveCommandSlack = std::chrono::milliseconds(250);

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
    const auto now = Steady::now();
    const auto& device = Stored(Block::DeviceParams, 0);
    for (std::size_t n = 0; n < 4; ++n) {
        Valve& v = valves_[n];
        if (v.Command == 1 || v.Command == 2) {
            const auto end = v.Until ? std::min(now, *v.Until) : now;
            const double seconds = std::chrono::duration<double>(end - valvesUpdated_).count();
            const double stroke = std::max<std::uint16_t>(device[1 + n], 1); // VLV_stroke
            const double step = 100.0 * std::max(0.0, seconds) / stroke;
            v.Position = std::clamp(v.Position + (v.Command == 1 ? step : -step), 0.0, 100.0);
        }
        if (v.Until && now >= *v.Until) {
            v.Command = 0;
            v.Until.reset();
        }
    }
    valvesUpdated_ = now;
}

ManualInputs Controller::ManualNow() const {
    const auto& m = Stored(Block::ManualState, 0);
    ManualInputs in;
    for (std::size_t n = 0; n < 4; ++n) {
        in.ManualMode[n] = (m[0] >> n) & 1u;
        in.PumpSwitch[n] = std::uint8_t(m[1 + n]);
        in.ValvePosition[n] = valves_[n].Position;
    }
    in.AnalogOut = {m[5], m[6]};
    return in;
}

void Controller::ApplyManualModes(std::uint16_t previous) {
    const std::uint16_t now = Stored(Block::ManualState, 0)[0];
    // A contour taken into manual mode starts from where regulation left its
    // valve; one leaving it stops its drive.
    ManualInputs automatic = ManualNow();
    automatic.ManualMode = {};
    const PlantReading reading =
        ReadPlant(DecodeConfiguration(), automatic, ClockSeconds(), options_.Seed);
    for (std::size_t n = 0; n < 4; ++n) {
        const bool was = (previous >> n) & 1u;
        const bool is = (now >> n) & 1u;
        if (is && !was) {
            valves_[n].Position = reading.ValvePosition[n];
        }
        if (!is) {
            valves_[n].Command = 0;
            valves_[n].Until.reset();
        }
    }
}

void Controller::ApplyValveCommand() {
    // A nonzero word starts (or renews) that contour's drive for w0 ms; a zero
    // word leaves its contour alone, except that a block without any command
    // (the stop the tool sends) stops every drive. Only contours in manual
    // mode are driven by hand.
    const auto& block = Stored(Block::ValveCommand, 0);
    const std::uint16_t modes = Stored(Block::ManualState, 0)[0];
    const auto now = Steady::now();
    const bool stopAll =
        std::all_of(block.begin() + 1, block.begin() + 5, [](std::uint16_t w) { return w == 0; });
    for (std::size_t n = 0; n < 4; ++n) {
        Valve& v = valves_[n];
        const std::uint16_t command = block[1 + n];
        const bool manual = ((modes >> n) & 1u) != 0;
        if (stopAll || !manual || command > 2) {
            if (stopAll || !manual) {
                v.Command = 0;
                v.Until.reset();
            }
            continue;
        }
        if (command == 0) {
            continue;
        }
        v.Command = command;
        if (block[0] > 0) {
            v.Until = now + std::chrono::milliseconds(block[0]) + kValveCommandSlack;
        } else {
            v.Until.reset();
        }
    }
}

std::vector<std::uint16_t> Controller::CurrentDataWords() const {
    const Configuration cfg = DecodeConfiguration();
    const PlantReading r = ReadPlant(cfg, ManualNow(), ClockSeconds(), options_.Seed);
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
