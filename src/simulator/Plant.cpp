#include "Plant.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace kt41::sim {

namespace {

using device::TParamContur;
using device::TParamConturEx;
using device::TWeekCalendar;

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kDay = 86400.0;

// Contour types.
constexpr std::uint8_t kOff = 0;
constexpr std::uint8_t kHeating = 4;
constexpr std::uint8_t kHotWater = 5;

double Wave(double t, double period, double phase = 0.0) {
    return std::sin(kTwoPi * t / period + phase);
}

// Which point of a weekly programme is in force: 0..3, or -1 when none has
// been passed yet this day or the day before. Points 0 and 2 start the first
// state (normal temperature, pumps on), 1 and 3 the second.
int CalendarPoint(const TWeekCalendar& calendar, double t) {
    const long long dayNumber = (long long)std::floor(t / kDay);
    const double hour = (t - double(dayNumber) * kDay) / 3600.0;
    const int weekday = int(((dayNumber + 3) % 7 + 7) % 7); // 1 January 1970 was a Thursday
    auto latest = [&](int day, double before) {
        int best = -1;
        double bestHour = -1.0;
        for (int k = 0; k < 4; ++k) {
            const double at = calendar.Day[std::size_t(day)][std::size_t(k)];
            if (at < 24 && at <= before && at >= bestHour) {
                best = k;
                bestHour = at;
            }
        }
        return best;
    };
    const int today = latest(weekday, hour);
    return today >= 0 ? today : latest((weekday + 6) % 7, 24.0);
}

bool SecondStateActive(std::uint16_t weekOn, const TWeekCalendar& calendar, double t) {
    return weekOn == 1 && CalendarPoint(calendar, t) % 2 == 1;
}

// Supply (or return) temperature of the schedule at outdoor temperature x.
double Schedule(const std::array<std::int16_t, 8>& xs, const std::array<std::int16_t, 8>& ys,
                std::uint16_t points, double x) {
    const std::size_t n = std::clamp<std::size_t>(points, 2, 8);
    std::array<std::pair<double, double>, 8> p{};
    for (std::size_t i = 0; i < n; ++i) {
        p[i] = {xs[i], ys[i]};
    }
    std::sort(p.begin(), p.begin() + long(n));
    if (x <= p[0].first) {
        return p[0].second;
    }
    for (std::size_t i = 1; i < n; ++i) {
        if (x <= p[i].first) {
            const double span = p[i].first - p[i - 1].first;
            const double f = span > 0 ? (x - p[i - 1].first) / span : 1.0;
            return p[i - 1].second + f * (p[i].second - p[i - 1].second);
        }
    }
    return p[n - 1].second;
}

struct ContourState {
    double Supply = 20.0; // heating supply or hot water
    double Return = 20.0;
    double SetPoint = 0.0;
    bool Lowered = false;
    bool Correction = false;
    bool PumpsOffByProgramme = false;
};

ContourState FullContour(const TParamContur& c, double outdoor, double t, std::uint32_t seed,
                         int n) {
    ContourState s;
    const double ambient = 19.0 + Wave(t, kDay, 1.0);
    s.Supply = s.Return = ambient;
    s.PumpsOffByProgramme = SecondStateActive(c.Week_ON_Pump, c.Calendar_Pump, t);
    s.Lowered = SecondStateActive(c.Week_ON_Tlow, c.Calendar_Tlow, t);
    const std::int64_t tick = (std::int64_t)std::floor(t);
    if (c.ContourType == kHeating) {
        const double lower = s.Lowered ? c.dT_low : 0.0;
        const double supplySet = Schedule(c.Tout, c.Tin, c.Qt_Points, outdoor) - lower;
        const double returnSet = Schedule(c.Tout, c.Tback, c.Qt_Points, outdoor) - 0.6 * lower;
        s.Supply = supplySet + 1.2 * Wave(t, 900.0, n) + 0.2 * Noise(seed, 10 + n, tick);
        s.Return = returnSet + 1.0 + 2.5 * Wave(t, 5400.0, n) + 0.2 * Noise(seed, 20 + n, tick);
        s.SetPoint = c.RegulateMode == 1 ? supplySet : returnSet;
        s.Correction = c.BC_corr_ON == 1 && s.Return > returnSet + c.dBC_High / 10.0;
    } else if (c.ContourType == kHotWater) {
        s.SetPoint = s.Lowered ? c.Tlow : c.Tnorm;
        const double sag = s.PumpsOffByProgramme ? 6.0 : 0.0;
        s.Supply = s.SetPoint - sag + 0.8 * Wave(t, 600.0, n) + 0.15 * Noise(seed, 10 + n, tick);
        s.Return = s.Supply - 9.0 + 0.3 * Noise(seed, 20 + n, tick);
    }
    return s;
}

std::int16_t Tenths(double value) {
    return std::int16_t(std::clamp(std::lround(value * 10.0), -32768L, 32767L));
}

std::uint16_t Unsigned(double value, std::uint16_t maxValue) {
    long v = std::max(0L, std::lround(value));
    if (maxValue > 0) {
        v = std::min<long>(v, maxValue);
    }
    return std::uint16_t(std::min(v, 65535L));
}

} // namespace

double Noise(std::uint32_t seed, std::uint32_t channel, std::int64_t tick) {
    // splitmix64 over the three inputs
    std::uint64_t z = (std::uint64_t(seed) << 40) ^ (std::uint64_t(channel) << 32) ^
                      std::uint64_t(tick) ^ 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return double(z >> 11) / double(1ull << 52) - 1.0;
}

PlantReading ReadPlant(const Configuration& cfg, const ManualInputs& manual, double t,
                       std::uint32_t seed) {
    PlantReading r;
    const std::int64_t tick = (std::int64_t)std::floor(t);
    const double dayNumber = std::floor(t / kDay);
    const double outdoor = -3.0 + 4.0 * Wave(t - 9 * 3600.0, kDay) + 3.0 * Wave(dayNumber, 7.3) +
                           0.2 * Noise(seed, 1, tick);

    const std::array<ContourState, 2> full{FullContour(cfg.Contour1, outdoor, t, seed, 1),
                                           FullContour(cfg.Contour2, outdoor, t, seed, 2)};
    const std::array<std::uint8_t, 4> type{cfg.Contour1.ContourType, cfg.Contour2.ContourType,
                                           cfg.Contour3.ContourType, cfg.Contour4.ContourType};

    // Valve positions: regulation swings them; by hand they follow the drive
    // (relay) or the analog output the contour is driven by.
    const std::array<std::uint8_t, 4> ctrl{cfg.Contour1.ConturCtrlMode, cfg.Contour2.ConturCtrlMode,
                                           cfg.Contour3.ConturCtrlMode,
                                           cfg.Contour4.ConturCtrlMode};
    for (std::size_t n = 0; n < 4; ++n) {
        double pos = 0.0;
        if (manual.ManualMode[n]) {
            if (ctrl[n] == 1 || ctrl[n] == 2) {
                pos = (manual.AnalogOut[ctrl[n] - 1] - 40) / 1.6;
            } else {
                pos = manual.ValvePosition[n];
            }
        } else if (type[n] != kOff) {
            pos = 45.0 + 25.0 * Wave(t, 1800.0, double(n));
            if (n < 2) {
                const auto& c = n == 0 ? cfg.Contour1 : cfg.Contour2;
                pos =
                    std::clamp(pos, double(c.VLV_Max_Down), double(std::max<int>(c.VLV_Max_Up, 1)));
            }
        }
        r.ValvePosition[n] = std::clamp(pos, 0.0, 100.0);
    }

    // Thermometers.
    auto contourFor = [&](std::uint8_t assigned, std::uint8_t wanted) -> std::size_t {
        if (assigned == 1 || assigned == 2) {
            return assigned - 1u;
        }
        return type[0] == wanted || type[1] != wanted ? 0 : 1;
    };
    for (std::size_t i = 0; i < 6; ++i) {
        const auto& in = cfg.InputsTerm[i];
        double value = 0.0;
        switch (in.Func) {
        case 1:
            value = outdoor;
            break;
        case 2:
            value = full[contourFor(in.Contour, kHeating)].Supply;
            break;
        case 3:
            value = full[contourFor(in.Contour, kHeating)].Return;
            break;
        case 4:
            value = full[contourFor(in.Contour, kHotWater)].Supply;
            break;
        case 5:
            value = full[contourFor(in.Contour, kHotWater)].Return;
            break;
        case 6:
            value = 21.5 + 0.6 * Wave(t, kDay) + 0.1 * Noise(seed, 30 + i, tick);
            break;
        default:
            break;
        }
        r.Temperature[i] = Tenths(value);
    }
    for (std::size_t n = 0; n < 2; ++n) {
        r.SetPoint[n] = Tenths(full[n].SetPoint);
    }

    // 4-20 mA inputs.
    auto reduced = [&](std::size_t n) -> const TParamConturEx& {
        return n == 2 ? cfg.Contour3 : cfg.Contour4;
    };
    auto feedBand = [&](std::size_t n, int channel) {
        std::uint16_t high = 45, low = 30;
        auto pick = [&](std::uint16_t h1, std::uint16_t l1, std::uint16_t h2, std::uint16_t l2) {
            high = channel == 1 ? h1 : h2;
            low = channel == 1 ? l1 : l2;
        };
        if (n < 2) {
            const auto& c = n == 0 ? cfg.Contour1 : cfg.Contour2;
            pick(c.DavHigh_Feed1, c.DavLow_Feed1, c.DavHigh_Feed2, c.DavLow_Feed2);
        } else {
            const auto& c = reduced(n);
            pick(c.DavHigh_Feed1, c.DavLow_Feed1, c.DavHigh_Feed2, c.DavLow_Feed2);
        }
        if (high <= low) {
            high = std::uint16_t(low + 15);
        }
        return std::pair<double, double>(low, high);
    };
    for (std::size_t k = 0; k < 4; ++k) {
        const auto& in = cfg.InputsAnalog[k];
        const std::size_t n = in.Contour >= 1 && in.Contour <= 4 ? in.Contour - 1u : 0u;
        const double noise = Noise(seed, 40 + k, tick);
        double value = 0.0;
        switch (in.Func) {
        case 1:
        case 2: {
            const double diff =
                n < 2 ? (n == 0 ? cfg.Contour1 : cfg.Contour2).RP_diff : reduced(n).RP_diff;
            value = (diff > 0 ? diff : 50.0) + 2.0 * Wave(t, 300.0) + noise;
            break;
        }
        case 3:
        case 4: {
            const auto [low, high] = feedBand(n, in.Func == 3 ? 1 : 2);
            const double phase = std::fmod(t, 2700.0) / 2700.0;
            value = phase < 0.9 ? high - (high - low) * phase / 0.9
                                : low + (high - low) * (phase - 0.9) / 0.1;
            value += 0.5 * noise;
            break;
        }
        case 5:
            value = 60.0 + 1.5 * Wave(t, 700.0) + noise;
            break;
        case 6:
            value = r.ValvePosition[n];
            break;
        case 7:
            value = 235.0 + 25.0 * Wave(t, 1300.0) + 3.0 * noise;
            break;
        default:
            break;
        }
        r.Analog[k] = Unsigned(value, in.MaxVal);
    }

    // Events.
    auto set = [&](int word, int bit) { r.Events[std::size_t(word)] |= std::uint16_t(1u << bit); };
    for (std::size_t n = 0; n < 2; ++n) {
        if (type[n] == kHeating && full[n].Correction) {
            set(2, 10 + int(n));
        }
        if ((type[n] == kHeating || type[n] == kHotWater) && full[n].Lowered) {
            set(2, 12 + int(n));
        }
        if (type[n] != kOff && full[n].PumpsOffByProgramme && !manual.ManualMode[n]) {
            set(3, 10 + int(n));
        }
    }
    for (int n = 0; n < 4; ++n) {
        if (manual.ManualMode[std::size_t(n)]) {
            set(3, 1 + n);
        }
        if (type[std::size_t(n)] == kOff) {
            set(3, 12 + n);
        }
    }
    // Every six hours the feed pumps of contour 3 briefly run dry.
    const double sixHours = std::fmod(t, 6 * 3600.0);
    if (type[2] == 2 || type[2] == 3) {
        if (sixHours >= 600.0 && sixHours < 780.0) {
            r.Sensors |= 1u << 4;
            set(0, 12);
        }
    }
    return r;
}

std::array<double, 2> AdcTargets(const Configuration& cfg, const PlantReading& reading) {
    // Pt100: R = 100 (1 + alpha T); the channel gives about 198 codes per ohm.
    const double alpha = cfg.Calibration.Type_T == 1 ? 0.00391 : 0.00385;
    const double resistance = 100.0 * (1.0 + alpha * reading.Temperature[0] / 10.0);
    const double temperatureCode = 198.0 * resistance;
    // 4-20 mA input 1: 6000 codes at 4 mA, 1500 codes per mA.
    const auto& in = cfg.InputsAnalog[0];
    double milliamps = 4.0;
    if (in.Func != 0 && in.MaxVal > 0) {
        milliamps = 4.0 + 16.0 * std::min(1.0, reading.Analog[0] / double(in.MaxVal));
    }
    const double pressureCode = 6000.0 + 1500.0 * (milliamps - 4.0);
    return {temperatureCode, pressureCode};
}

} // namespace kt41::sim
