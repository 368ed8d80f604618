#include "TKT41.h"

#include "FieldRef.h"

namespace kt41::device {

TKT41::TKT41(driver::Kt41Driver& driver) : driver_(driver) {
    Reset();
}

TKT41::~TKT41() {
    PortRef = nullptr;
}

void TKT41::Reset() {
    Contour1 = {};
    Contour2 = {};
    Contour3 = {};
    Contour4 = {};
    ParamDevice = {};
    Manual = {};
    CalibrTemperatureAndPressure = {};
    Input_T = {};
    Input_P = {};
}

void TKT41::AttachPort(driver::ComPort* port, driver::ProgressSink* window) {
    PortRef = port;
    NotifyWindow = window;
    driver_.SendComPortPtrToDLL(port, window);
}

void TKT41::Notify(int code, std::uint32_t lParam) const {
    if (NotifyWindow != nullptr) {
        NotifyWindow->Progress(code, lParam);
    }
}

TParamContur* TKT41::FullContour(int contour) {
    return contour == 1 ? &Contour1 : contour == 2 ? &Contour2 : nullptr;
}
const TParamContur* TKT41::FullContour(int contour) const {
    return const_cast<TKT41*>(this)->FullContour(contour);
}
TParamConturEx* TKT41::ReducedContour(int contour) {
    return contour == 3 ? &Contour3 : contour == 4 ? &Contour4 : nullptr;
}
const TParamConturEx* TKT41::ReducedContour(int contour) const {
    return const_cast<TKT41*>(this)->ReducedContour(contour);
}

// --- contour type and parameters ---------------------------------------------------

std::uint8_t TKT41::GetContourType(int contour) const {
    std::uint8_t type = 0;
    if (const auto* full = FullContour(contour)) {
        type = full->ContourType;
    } else if (const auto* reduced = ReducedContour(contour)) {
        type = reduced->ContourType;
    }
    return type > 5 ? 0 : type;
}

namespace {

template <class Contour>
std::uint8_t StoreContourType(Contour& c, std::uint8_t type) {
    if (type == 2 && (c.FeedMode == 3 || c.FeedMode == 4)) {
        c.FeedMode = std::uint8_t(c.FeedMode - 2);
    }
    c.ContourType = type;
    return c.FeedMode;
}

} // namespace

std::uint8_t TKT41::SetContourType(int contour, std::uint8_t type) {
    if (auto* full = FullContour(contour)) {
        return StoreContourType(*full, type);
    }
    if (auto* reduced = ReducedContour(contour)) {
        return StoreContourType(*reduced, type == 4 || type == 5 ? std::uint8_t(0) : type);
    }
    return 0;
}

void TKT41::SetContourParam(int contour, TConturOpt option, std::int32_t value) {
    if (auto* full = FullContour(contour)) {
        ContourField(*full, option).Set(value);
    } else if (auto* reduced = ReducedContour(contour)) {
        ContourField(*reduced, option).Set(value);
    }
}

std::optional<std::int32_t> TKT41::GetContourParam(int contour, TConturOpt option) const {
    if (const auto* full = FullContour(contour)) {
        return ContourFieldValue(*full, option);
    }
    if (const auto* reduced = ReducedContour(contour)) {
        return ContourFieldValue(*reduced, option);
    }
    return std::nullopt;
}

// --- device parameters -------------------------------------------------------------

void TKT41::SetDeviceParam(int selector, std::int16_t value) {
    const int member = selector & 0x7F;
    if (member >= kDeviceOptCount) {
        return;
    }
    DeviceField(ParamDevice, TDeviceOpt(member)).Set(std::uint16_t(value));
}

std::optional<std::int32_t> TKT41::GetDeviceParam(int selector) const {
    if (selector < 0 || selector >= kDeviceOptCount) {
        return std::nullopt;
    }
    return DeviceFieldValue(ParamDevice, TDeviceOpt(selector));
}

// --- inputs ------------------------------------------------------------------------

void ApplyThermometerAlarmRule(TInputTerm& input) {
    if (input.Func == 0) {
        input.Alarm = 2;
    } else if (input.Alarm == 2) {
        input.Alarm = 0;
    }
}

void ApplyAnalogDerivationRule(TInputAnalog& input) {
    if (input.Func == 0) {
        input.Alarm = 2;
    } else if (input.Func <= 5) {
        input.InputType = 1;
        if (input.Alarm == 2) {
            input.Alarm = 0;
        }
    } else if (input.Func == 6) {
        input.InputType = 0;
        input.Alarm = 2;
    } else if (input.Func == 7) {
        input.InputType = 2;
        input.Alarm = 2;
    }
}

void TKT41::SetInputParam(int input, int column, std::uint8_t value) {
    if (input < 1 || input > 6) {
        return;
    }
    TInputTerm& in = Input_T[input - 1];
    switch (column) {
    case ioJoinContour:
        in.Contour = value;
        break;
    case ioFunc:
        in.Func = value;
        ApplyThermometerAlarmRule(in);
        break;
    case ioAlarm:
        in.Alarm = value;
        break;
    default:
        break;
    }
}

void TKT41::SetAnalogInputParam(int input, int column, std::int32_t value) {
    if (input < 1 || input > 4) {
        return;
    }
    TInputAnalog& in = Input_P[input - 1];
    switch (column) {
    case ioJoinContour:
        in.Contour = std::uint8_t(value);
        break;
    case ioFunc:
        in.Func = std::uint8_t(value);
        ApplyAnalogDerivationRule(in);
        break;
    case ioAlarm:
        in.Alarm = std::uint8_t(value);
        break;
    case ioMaxValAnalog:
        in.MaxVal = value < 0 ? 0 : value > 65535 ? 65535 : std::uint16_t(value);
        break;
    default:
        break;
    }
}

std::uint8_t TKT41::GetInputFunc(int input) const {
    return input >= 1 && input <= 6 ? Input_T[input - 1].Func : 0;
}
std::uint8_t TKT41::GetAnalogInputFunc(int input) const {
    return input >= 1 && input <= 4 ? Input_P[input - 1].Func : 0;
}
std::uint8_t TKT41::GetAnalogInputAlarm(int input) const {
    return input >= 1 && input <= 4 ? Input_P[input - 1].Alarm : 2;
}
std::uint8_t TKT41::GetAnalogInputType(int input) const {
    return input >= 1 && input <= 4 ? Input_P[input - 1].InputType : 1;
}

// --- schedules, calendars, pump groups -----------------------------------------------

std::uint16_t TKT41::GetWeekOnTlow(int contour) const {
    const auto* c = FullContour(contour);
    return c ? c->Week_ON_Tlow : 0;
}
void TKT41::SetWeekOnTlow(int contour, std::uint8_t flag) {
    if (auto* c = FullContour(contour)) {
        c->Week_ON_Tlow = flag;
    }
}
std::uint16_t TKT41::GetWeekOnPump(int contour) const {
    const auto* c = FullContour(contour);
    return c ? c->Week_ON_Pump : 0;
}
void TKT41::SetWeekOnPump(int contour, std::uint8_t flag) {
    if (auto* c = FullContour(contour)) {
        c->Week_ON_Pump = flag;
    }
}

bool TKT41::GetSchedule(int contour, std::array<std::int16_t, 8>& tout,
                        std::array<std::int16_t, 8>& tin, std::array<std::int16_t, 8>& tback,
                        std::uint16_t& points) const {
    const auto* c = FullContour(contour);
    if (!c) {
        points = 0;
        return false;
    }
    tout = c->Tout;
    tin = c->Tin;
    tback = c->Tback;
    points = c->Qt_Points;
    return true;
}

void TKT41::SetSchedule(int contour, const std::array<std::int16_t, 8>& tout,
                        const std::array<std::int16_t, 8>& tin,
                        const std::array<std::int16_t, 8>& tback, std::uint16_t points) {
    if (auto* c = FullContour(contour)) {
        c->Tout = tout;
        c->Tin = tin;
        c->Tback = tback;
        c->Qt_Points = points;
    }
}

bool TKT41::GetTlowCalendar(int contour, TWeekCalendar& calendar) const {
    const auto* c = FullContour(contour);
    if (c) {
        calendar = c->Calendar_Tlow;
    }
    return c != nullptr;
}
void TKT41::SetTlowCalendar(int contour, const TWeekCalendar& calendar) {
    if (auto* c = FullContour(contour)) {
        c->Calendar_Tlow = calendar;
    }
}
bool TKT41::GetPumpCalendar(int contour, TWeekCalendar& calendar) const {
    const auto* c = FullContour(contour);
    if (c) {
        calendar = c->Calendar_Pump;
    }
    return c != nullptr;
}
void TKT41::SetPumpCalendar(int contour, const TWeekCalendar& calendar) {
    if (auto* c = FullContour(contour)) {
        c->Calendar_Pump = calendar;
    }
}

bool TKT41::GetPumpGroup(int contour, TPumpGroup& group) const {
    if (const auto* full = FullContour(contour)) {
        group = full->PumpGroup;
        return true;
    }
    if (const auto* reduced = ReducedContour(contour)) {
        group = reduced->PumpGroup;
        return true;
    }
    return false;
}

void TKT41::SetPumpGroup(int contour, const TPumpGroup& group) {
    if (auto* full = FullContour(contour)) {
        full->PumpGroup = group;
    } else if (auto* reduced = ReducedContour(contour)) {
        reduced->PumpGroup = group;
    }
}

// --- calibration and manual getters ----------------------------------------------------

void TKT41::SetTermCalibration(std::uint16_t k1, std::uint16_t k2) {
    CalibrTemperatureAndPressure.K_TERM_1 = k1;
    CalibrTemperatureAndPressure.K_TERM_2 = k2;
}

void TKT41::SetPressCalibration(std::uint16_t k1, std::uint16_t k2) {
    CalibrTemperatureAndPressure.K_P1 = k1;
    CalibrTemperatureAndPressure.K_P2 = k2;
}

std::uint8_t TKT41::GetManualMode(int contour) const {
    return contour >= 1 && contour <= 4 ? Manual.ManualMode[contour - 1] : 0;
}
std::uint8_t TKT41::GetValveCommand(int contour) const {
    return contour >= 1 && contour <= 4 ? Manual.ValveCommand[contour - 1] : 0;
}
std::uint8_t TKT41::GetPumpSwitch(int pump) const {
    return pump >= 1 && pump <= 4 ? Manual.PumpSwitch[pump - 1] : 0;
}
std::uint16_t TKT41::GetAnalogOutput(int output) const {
    return output >= 1 && output <= 2 ? Manual.AnalogOut[output - 1] : 40;
}

} // namespace kt41::device
