#include "Configuration.h"

namespace kt41::sim {

namespace {

using device::TParamContur;
using device::TParamConturEx;
using device::TPumpGroup;
using device::TWeekCalendar;

// Every day the same four points.
TWeekCalendar EveryDay(std::uint16_t p1, std::uint16_t p2, std::uint16_t p3, std::uint16_t p4) {
    TWeekCalendar calendar;
    for (auto& day : calendar.Day) {
        day = {p1, p2, p3, p4};
    }
    return calendar;
}

TPumpGroup PumpPair(std::uint8_t main) {
    TPumpGroup pumps;
    pumps.Pump_ON = 1;
    pumps.Pump_Main = main;
    pumps.Pump_SensProtect = 1;
    pumps.Pump_SensWork = 1;
    pumps.Pump_AVR = 1;
    pumps.Pump_VarWork = 1;
    pumps.Pump_DelayOn = 5;
    pumps.Pump_TimeSensWork = 10;
    pumps.Pump_Reset = 1;
    pumps.Pump_PeriodReset = 120;
    return pumps;
}

// The feed-channel and differential-pressure settings both contour kinds end
// with: 0.30..0.45 MPa on both feed channels.
template <class Contour>
void SetFeedAndPressure(Contour& c) {
    c.VLV_pause = 5;
    c.PMP_timeout = 10;
    c.DavHigh_Feed1 = 45;
    c.DavLow_Feed1 = 30;
    c.DavHigh_Feed2 = 45;
    c.DavLow_Feed2 = 30;
    c.RP_diff = 50;
    c.T_action = 0;
    c.RP_diff_max = 80;
}

// Values a full contour carries whatever its type.
TParamContur FullContourBase() {
    TParamContur c;
    c.dT_low = 5;
    c.RegulateMode = 0;
    // Point 1 is the coldest day, point 8 the mildest, as the schedule editor's
    // limits expect.
    c.Tout = {-25, -20, -15, -10, -5, 0, 5, 10};
    c.Tin = {95, 88, 80, 72, 64, 56, 48, 40};
    c.Tback = {60, 56, 52, 48, 44, 40, 36, 32};
    c.Qt_Points = 8;
    c.T_alarm_max = 105;
    c.T_alarm_min = 5;
    c.VLV_Max_Up = 100;
    c.VLV_Max_Down = 2;
    c.VLV_Condition = 1;
    c.BC_corr_ON = 0;
    c.dBC_High = 30;
    c.dBC_Low = 20;
    c.P_alarm_max = 90;
    c.P_alarm_min = 20;
    c.PK = 8;
    c.DK = 2;
    c.Cycle = 30;
    c.Calendar_Tlow = EveryDay(24, 24, 24, 24);
    c.Calendar_Pump = EveryDay(24, 24, 24, 24);
    c.Tnorm = 60;
    c.Tlow = 50;
    c.Tbc = 40;
    c.Tmin = 45;
    SetFeedAndPressure(c);
    return c;
}

TParamConturEx ReducedContourBase() {
    TParamConturEx c;
    SetFeedAndPressure(c);
    c.P_alarm_max = 80;
    c.P_alarm_min = 15;
    c.PK = 5;
    c.DK = 0;
    c.Cycle = 20;
    TPumpGroup pumps = PumpPair(1);
    pumps.Pump_ON = 0;
    c.PumpGroup = pumps;
    return c;
}

} // namespace

Configuration DemoConfiguration() {
    Configuration cfg;

    // Contour 1: heating, relay valve drive, regulated by the return
    // temperature with return correction, set back by 5 degC from 22 to 6 h.
    TParamContur& heating = cfg.Contour1;
    heating = FullContourBase();
    heating.ContourType = 4;
    heating.ConturCtrlMode = 0;
    heating.BC_corr_ON = 1;
    heating.Week_ON_Tlow = 1;
    heating.Calendar_Tlow = EveryDay(6, 22, 24, 24);
    heating.Calendar_Tlow.Day[5] = {8, 23, 24, 24}; // weekend: later mornings
    heating.Calendar_Tlow.Day[6] = {8, 23, 24, 24};
    heating.PumpGroup = PumpPair(1);

    // Contour 2: hot water at 60 degC, 50 degC at night, valve on analog
    // output 1; pumps off by the weekly programme from 1 to 5 h.
    TParamContur& hotWater = cfg.Contour2;
    hotWater = FullContourBase();
    hotWater.ContourType = 5;
    hotWater.ConturCtrlMode = 1;
    hotWater.RegulateMode = 1;
    hotWater.T_alarm_max = 75;
    hotWater.T_alarm_min = 40;
    hotWater.VLV_Condition = 2;
    hotWater.PK = 6;
    hotWater.DK = 1;
    hotWater.Cycle = 15;
    hotWater.Week_ON_Tlow = 1;
    hotWater.Calendar_Tlow = EveryDay(5, 23, 24, 24);
    hotWater.Week_ON_Pump = 1;
    // Pumps on from midnight, off at 1 h, on again at 5 h for the rest of the day.
    hotWater.Calendar_Pump = EveryDay(0, 1, 5, 24);
    hotWater.PumpGroup = PumpPair(0);

    // Contour 3: one make-up feed channel on 4-20 mA input 1, 0.30..0.45 MPa.
    TParamConturEx& feed = cfg.Contour3;
    feed = ReducedContourBase();
    feed.ContourType = 2;
    feed.ConturCtrlMode = 0;
    feed.FeedMode = 2;
    feed.FeedReset = 1;
    feed.VLV_pause = 10;
    feed.PMP_timeout = 15;
    feed.PumpGroup = PumpPair(1);
    feed.PumpGroup.Pump_VarWork = 0;

    // Contour 4: switched off.
    cfg.Contour4 = ReducedContourBase();

    // Thermometers: T1 outdoor (both contours), T2 supply and T3 return of
    // contour 1, T4 hot water and T5 its return, T6 a control input.
    cfg.InputsTerm[0] = {3, 1, 0};
    cfg.InputsTerm[1] = {1, 2, 1};
    cfg.InputsTerm[2] = {1, 3, 0};
    cfg.InputsTerm[3] = {2, 4, 1};
    cfg.InputsTerm[4] = {2, 5, 0};
    cfg.InputsTerm[5] = {0, 6, 0};

    // 4-20 mA inputs (Contour, Func, Alarm, InputType, MaxVal): feed 1
    // pressure of contour 3 (1.60 MPa at 20 mA), control pressure of contour 1
    // (1.00 MPa), valve position of contour 2 (100 %), flow of contour 1
    // (10.00 m3/h).
    cfg.InputsAnalog[0] = {3, 3, 1, 1, 160};
    cfg.InputsAnalog[1] = {1, 5, 0, 1, 100};
    cfg.InputsAnalog[2] = {2, 6, 2, 0, 10000};
    cfg.InputsAnalog[3] = {1, 7, 2, 2, 1000};

    device::TParamDevice& d = cfg.Device;
    d.ID_Device = 1;
    d.Model = 41;
    d.Version = 0x0203;       // 3.2
    d.Manufact_date = 0x1703; // March 2023
    d.MBS_speed = 0;
    d.VLV_stroke1 = 120;
    d.VLV_stroke2 = 60;
    d.VLV_stroke3 = 30;
    d.VLV_stroke4 = 30;
    d.PMP1_time_1 = 8760;
    d.PMP2_time_1 = 8544;
    d.PMP1_time_2 = 4311;
    d.PMP2_time_2 = 4398;
    d.NO_M1 = 0;
    d.NO_M2 = 1;
    d.NO_M3 = 0;
    d.NO_M4 = 1;
    d.NO_M5 = 0;
    d.NO_M6 = 1;
    d.NO_M7 = 0;
    d.NO_M8 = 0;
    d.NO_MP1 = 0;
    d.NO_MP2 = 1;

    // Codes of a channel in good order: about 18250 at -20 degC, 28950 at
    // 120 degC; 6000 at 4 mA and 30000 at 20 mA.
    cfg.Calibration = {18250, 28950, 0, 6000, 30000};
    return cfg;
}

} // namespace kt41::sim
