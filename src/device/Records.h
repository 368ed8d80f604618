#pragma once

#include "CurrentData.h"

#include <array>
#include <cstdint>

// The records of the device model. Field names are the controller's own and are
// also the keys of the configuration file. Arrays are 0-based here; the public
// operations of TKT41 take the 1-based numbers (contour 1..4, input 1..6, point
// 1..8, day 1..7) the user sees.

namespace kt41::device {

// One weekly programme: days Monday (index 0) to Sunday (index 6), four points
// each. A point is the hour 0..23 at which it takes effect; 24 or more means
// the point is not used.
struct TWeekCalendar {
    std::array<std::array<std::uint16_t, 4>, 7> Day{};

    bool operator==(const TWeekCalendar&) const = default;
};

struct TPumpGroup {
    std::uint8_t Pump_ON = 0;
    std::uint8_t Pump_Main = 0;
    std::uint8_t Pump_SensProtect = 0;
    std::uint8_t Pump_SensWork = 0;
    std::uint8_t Pump_AVR = 0;
    std::uint8_t Pump_VarWork = 0;
    std::uint16_t Pump_DelayOn = 0;
    std::uint16_t Pump_TimeSensWork = 0;
    std::uint8_t Pump_Reset = 0;
    std::uint16_t Pump_PeriodReset = 0;

    bool operator==(const TPumpGroup&) const = default;
};

// Contours 1 and 2.
struct TParamContur {
    std::uint8_t ContourType =
        0; // 0 off, 1 diff. pressure, 2 one feed, 3 two feeds, 4 heating, 5 hot water
    std::uint8_t ConturCtrlMode = 0; // 0 relay, 1 analog output 1, 2 analog output 2
    std::uint16_t dT_low = 0;
    std::uint8_t RegulateMode = 0;
    std::array<std::int16_t, 8> Tout{};
    std::array<std::int16_t, 8> Tin{};
    std::array<std::int16_t, 8> Tback{};
    std::uint16_t Qt_Points = 0;
    std::int16_t T_alarm_max = 0;
    std::int16_t T_alarm_min = 0;
    std::uint16_t VLV_Max_Up = 0;
    std::uint16_t VLV_Max_Down = 0;
    std::uint8_t VLV_Condition = 0;
    std::uint8_t BC_corr_ON = 0;
    std::int16_t dBC_High = 0;
    std::int16_t dBC_Low = 0;
    std::uint16_t P_alarm_max = 0;
    std::uint16_t P_alarm_min = 0;
    std::uint16_t PK = 0;
    std::uint16_t DK = 0;
    std::uint16_t Cycle = 0;
    std::uint16_t Week_ON_Tlow = 0;
    TWeekCalendar Calendar_Tlow;
    std::uint16_t Week_ON_Pump = 0;
    TWeekCalendar Calendar_Pump;
    TPumpGroup PumpGroup;
    std::uint16_t Tnorm = 0;
    std::uint16_t Tlow = 0;
    std::uint16_t Tbc = 0;
    std::uint16_t Tmin = 0;
    std::uint8_t FeedMode = 0;
    std::uint8_t FeedReset = 0;
    std::uint16_t VLV_pause = 0;
    std::uint16_t PMP_timeout = 0;
    std::uint16_t DavHigh_Feed1 = 0;
    std::uint16_t DavLow_Feed1 = 0;
    std::uint16_t DavHigh_Feed2 = 0;
    std::uint16_t DavLow_Feed2 = 0;
    std::uint16_t RP_diff = 0;
    std::int16_t T_action = 0;
    std::uint16_t RP_diff_max = 0;

    bool operator==(const TParamContur&) const = default;
};

// Contours 3 and 4: no temperature regulation, schedules or weekly programmes.
struct TParamConturEx {
    std::uint8_t ContourType = 0; // only 0..3 are valid here
    std::uint8_t ConturCtrlMode = 0;
    TPumpGroup PumpGroup;
    std::uint8_t FeedMode = 0;
    std::uint8_t FeedReset = 0;
    std::uint16_t VLV_pause = 0;
    std::uint16_t PMP_timeout = 0;
    std::uint16_t DavHigh_Feed1 = 0;
    std::uint16_t DavLow_Feed1 = 0;
    std::uint16_t DavHigh_Feed2 = 0;
    std::uint16_t DavLow_Feed2 = 0;
    std::uint16_t P_alarm_max = 0;
    std::uint16_t P_alarm_min = 0;
    std::uint16_t PK = 0;
    std::uint16_t DK = 0;
    std::uint16_t Cycle = 0;
    std::uint16_t RP_diff = 0;
    std::int16_t T_action = 0;
    std::uint16_t RP_diff_max = 0;

    bool operator==(const TParamConturEx&) const = default;
};

struct TParamDevice {
    std::uint8_t ID_Device = 0;
    std::uint16_t Model = 0;
    std::uint16_t SerialNumber = 0;
    std::uint16_t Version = 0;       // low byte "." high byte
    std::uint16_t Manufact_date = 0; // low byte month, high byte year - 2000
    std::uint16_t MBS_speed = 0;     // 0 = 9600, 1 = 19200 bit/s
    std::uint16_t VLV_stroke1 = 0;
    std::uint16_t VLV_stroke2 = 0;
    std::uint16_t VLV_stroke3 = 0;
    std::uint16_t VLV_stroke4 = 0;
    std::uint16_t PMP1_time_1 = 0;
    std::uint16_t PMP2_time_1 = 0;
    std::uint16_t PMP1_time_2 = 0;
    std::uint16_t PMP2_time_2 = 0;
    std::uint16_t NO_M1 = 0;
    std::uint16_t NO_M2 = 0;
    std::uint16_t NO_M3 = 0;
    std::uint16_t NO_M4 = 0;
    std::uint16_t NO_M5 = 0;
    std::uint16_t NO_M6 = 0;
    std::uint16_t NO_M7 = 0;
    std::uint16_t NO_M8 = 0;
    std::uint16_t NO_MP1 = 0;
    std::uint16_t NO_MP2 = 0;

    bool operator==(const TParamDevice&) const = default;
};

struct TCalibrTermDav {
    std::uint16_t K_TERM_1 = 0;
    std::uint16_t K_TERM_2 = 0;
    std::uint8_t Type_T = 0; // 0 = Pt100 W 1.3850, 1 = Pt100 W 1.3910
    std::uint16_t K_P1 = 0;
    std::uint16_t K_P2 = 0;

    bool operator==(const TCalibrTermDav&) const = default;
};

struct TInputTerm {
    std::uint8_t Contour = 0; // 0 none, 1, 2, 3 = contours 1 and 2
    std::uint8_t Func = 0;    // 0 none ... 6 control
    std::uint8_t Alarm = 0;   // 0 no, 1 yes, 2 not applicable

    bool operator==(const TInputTerm&) const = default;
};

struct TInputAnalog {
    std::uint8_t Contour = 0;   // 0 none, 1..4
    std::uint8_t Func = 0;      // 0 none ... 7 control (flow)
    std::uint8_t Alarm = 0;     // 0 no, 1 yes, 2 not applicable
    std::uint8_t InputType = 0; // 0 position %, 1 pressure MPa, 2 flow m3/h
    std::uint16_t MaxVal = 0;   // value at 20 mA, hundredths of the InputType unit

    bool operator==(const TInputAnalog&) const = default;
};

struct TParamManual {
    std::array<std::uint8_t, 4> ManualMode{};   // contour n in manual mode (0/1)
    std::array<std::uint8_t, 4> ValveCommand{}; // 0 stop, 1 opening, 2 closing
    std::array<std::uint8_t, 4> PumpSwitch{};   // pumps 1, 2 of contour 1, then of contour 2
    std::array<std::uint16_t, 2> AnalogOut{};   // 0.1 mA, 40..200

    bool operator==(const TParamManual&) const = default;
};

// One decoded archive record.
struct TArxRecord {
    std::uint16_t Day = 0;
    std::uint16_t Month = 0;
    std::uint16_t Year = 0; // two digits
    std::uint16_t Hour = 0;
    std::array<float, 8> Temp{};   // T1..T6, set temperatures of contours 1 and 2, degC
    std::array<float, 4> Analog{}; // 4-20 mA inputs 1..4, scaled by their InputType
    std::array<std::uint16_t, 4> Status{};

    bool operator==(const TArxRecord&) const = default;
};

} // namespace kt41::device
