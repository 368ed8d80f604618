#pragma once

#include "device/TKT41.h"

#include <string>
#include <string_view>

// The element tree of the configuration file, written once and walked by both
// the writer and the reader, so that they agree on every key, its order and its
// default. A visitor provides:
//   Section(name, missingWarning, body)  an element under the root; body() walks
//                                        its children
//   Value(key, field, default)           one integer key
//   Array(key, itemKey, points, default) eight schedule points itemKey1..8
//   Calendar(key, calendar)              Day1..Day7, each Point1..Point4
// Model and record types may be const (writer) or not (reader).

namespace kt41::config_file::schema {

inline constexpr std::string_view kRootName = "Config_KT-41";
inline constexpr std::string_view kFormatVersion = "1.0";
inline constexpr int kCalendarPointDefault = 25;

template <class PumpGroup, class V>
void VisitPumpGroup(PumpGroup& p, V& v) {
    v.Value("Pump_ON", p.Pump_ON, 0);
    v.Value("Pump_Main", p.Pump_Main, 0);
    v.Value("Pump_SensProtect", p.Pump_SensProtect, 0);
    v.Value("Pump_SensWork", p.Pump_SensWork, 0);
    v.Value("Pump_AVR", p.Pump_AVR, 0);
    v.Value("Pump_VarWork", p.Pump_VarWork, 0);
    v.Value("Pump_DelayOn", p.Pump_DelayOn, 20);
    v.Value("Pump_TimeSensWork", p.Pump_TimeSensWork, 20);
    v.Value("Pump_Reset", p.Pump_Reset, 1);
    v.Value("Pump_PeriodReset", p.Pump_PeriodReset, 60);
}

// The keys both contour kinds end with.
template <class Contour, class V>
void VisitFeedAndPressure(Contour& c, V& v) {
    v.Value("FeedMode", c.FeedMode, 0);
    v.Value("FeedReset", c.FeedReset, 1);
    v.Value("VLV_pause", c.VLV_pause, 5);
    v.Value("PMP_timeout", c.PMP_timeout, 1);
    v.Value("DavHigh_Feed1", c.DavHigh_Feed1, 0);
    v.Value("DavLow_Feed1", c.DavLow_Feed1, 0);
    v.Value("DavHigh_Feed2", c.DavHigh_Feed2, 0);
    v.Value("DavLow_Feed2", c.DavLow_Feed2, 0);
    v.Value("P_alarm_max", c.P_alarm_max, 0);
    v.Value("P_alarm_min", c.P_alarm_min, 0);
    v.Value("PK", c.PK, 5);
    v.Value("DK", c.DK, 4);
    v.Value("Cycle", c.Cycle, 180);
    v.Value("RP_diff", c.RP_diff, 0);
    v.Value("T_action", c.T_action, 0);
    v.Value("RP_diff_max", c.RP_diff_max, 0);
}

// Contours 1 and 2.
template <class Contour, class V>
void VisitFullContour(Contour& c, V& v) {
    v.Value("ContourType", c.ContourType, 0);
    v.Value("ConturCtrlMode", c.ConturCtrlMode, 0);
    v.Value("dT_low", c.dT_low, 1);
    v.Value("RegulateMode", c.RegulateMode, 0);
    v.Array("Array_Tout", "Tout", c.Tout, -10);
    v.Array("Array_Tin", "Tin", c.Tin, 65);
    v.Array("Array_Tback", "Tback", c.Tback, 45);
    v.Value("Qt_Points", c.Qt_Points, 8);
    v.Value("T_alarm_max", c.T_alarm_max, 0);
    v.Value("T_alarm_min", c.T_alarm_min, 0);
    v.Value("VLV_Max_Up", c.VLV_Max_Up, 100);
    v.Value("VLV_Max_Down", c.VLV_Max_Down, 0);
    v.Value("VLV_Condition", c.VLV_Condition, 0);
    v.Value("BC_corr_ON", c.BC_corr_ON, 0);
    v.Value("dBC_High", c.dBC_High, 10);
    v.Value("dBC_Low", c.dBC_Low, 10);
    v.Value("Week_ON_Tlow", c.Week_ON_Tlow, 0);
    v.Calendar("Calendar_Tlow", c.Calendar_Tlow);
    v.Value("Week_ON_Pump", c.Week_ON_Pump, 0);
    v.Calendar("Calendar_Pump", c.Calendar_Pump);
    VisitPumpGroup(c.PumpGroup, v);
    v.Value("Tnorm", c.Tnorm, 50);
    v.Value("Tlow", c.Tlow, 40);
    v.Value("Tbc", c.Tbc, 99);
    v.Value("Tmin", c.Tmin, 99);
    VisitFeedAndPressure(c, v);
}

// Contours 3 and 4.
template <class Contour, class V>
void VisitReducedContour(Contour& c, V& v) {
    v.Value("ContourType", c.ContourType, 0);
    v.Value("ConturCtrlMode", c.ConturCtrlMode, 0);
    VisitPumpGroup(c.PumpGroup, v);
    VisitFeedAndPressure(c, v);
}

template <class Input, class V>
void VisitThermometerInput(Input& in, V& v) {
    v.Value("Contour", in.Contour, 0);
    v.Value("Func", in.Func, 0);
    v.Value("Alarm", in.Alarm, 0);
}

template <class Input, class V>
void VisitAnalogInput(Input& in, V& v) {
    v.Value("Contour", in.Contour, 0);
    v.Value("Func", in.Func, 5);
    v.Value("Alarm", in.Alarm, 0);
    v.Value("InputType", in.InputType, 0);
    v.Value("MaxVal", in.MaxVal, 100);
}

template <class Device, class V>
void VisitDevice(Device& d, V& v) {
    v.Value("ID_Device", d.ID_Device, 239);
    v.Value("Model", d.Model, 0);
    v.Value("SerialNumber", d.SerialNumber, 0);
    v.Value("Version", d.Version, 0);
    v.Value("Manufact_date", d.Manufact_date, 0);
    v.Value("MBS_speed", d.MBS_speed, 0);
    v.Value("VLV_stroke1", d.VLV_stroke1, 180);
    v.Value("VLV_stroke2", d.VLV_stroke2, 180);
    v.Value("VLV_stroke3", d.VLV_stroke3, 180);
    v.Value("VLV_stroke4", d.VLV_stroke4, 180);
    v.Value("PMP1_time_1", d.PMP1_time_1, 0);
    v.Value("PMP2_time_1", d.PMP2_time_1, 0);
    v.Value("PMP1_time_2", d.PMP1_time_2, 0);
    v.Value("PMP2_time_2", d.PMP2_time_2, 0);
    // Odd sensors (dry running, feed upper level) default to normally closed.
    v.Value("NO_M1", d.NO_M1, 1);
    v.Value("NO_M2", d.NO_M2, 0);
    v.Value("NO_M3", d.NO_M3, 1);
    v.Value("NO_M4", d.NO_M4, 0);
    v.Value("NO_M5", d.NO_M5, 1);
    v.Value("NO_M6", d.NO_M6, 0);
    v.Value("NO_M7", d.NO_M7, 1);
    v.Value("NO_M8", d.NO_M8, 0);
    v.Value("NO_MP1", d.NO_MP1, 1);
    v.Value("NO_MP2", d.NO_MP2, 0);
}

template <class Calibration, class V>
void VisitCalibration(Calibration& c, V& v) {
    v.Value("K_TERM_1", c.K_TERM_1, 0);
    v.Value("K_TERM_2", c.K_TERM_2, 0);
    v.Value("Type_T", c.Type_T, 0);
    v.Value("K_P1", c.K_P1, 0);
    v.Value("K_P2", c.K_P2, 0);
}

inline std::string MissingContourWarning(int contour) {
    return "Настройки для " + std::to_string(contour) + " Контура отсутствуют!";
}
inline constexpr std::string_view kMissingDeviceWarning = "Общие настройки регулятора отсутствуют!";
inline constexpr std::string_view kMissingCalibrationWarning =
    "Калибровки температуры и давления отсутствуют!";

// The whole document under the root, in the order written. An empty warning
// means a missing element is skipped silently.
template <class Model, class V>
void VisitConfiguration(Model& m, V& v) {
    v.Section("Contour1", MissingContourWarning(1), [&] { VisitFullContour(m.Contour1, v); });
    v.Section("Contour2", MissingContourWarning(2), [&] { VisitFullContour(m.Contour2, v); });
    v.Section("Contour3", MissingContourWarning(3), [&] { VisitReducedContour(m.Contour3, v); });
    v.Section("Contour4", MissingContourWarning(4), [&] { VisitReducedContour(m.Contour4, v); });
    for (std::size_t n = 0; n < m.Input_T.size(); ++n) {
        v.Section("Input_T" + std::to_string(n + 1), "",
                  [&] { VisitThermometerInput(m.Input_T[n], v); });
    }
    for (std::size_t n = 0; n < m.Input_P.size(); ++n) {
        v.Section("Input_P" + std::to_string(n + 1), "",
                  [&] { VisitAnalogInput(m.Input_P[n], v); });
    }
    v.Section("ParamDevice", std::string(kMissingDeviceWarning),
              [&] { VisitDevice(m.ParamDevice, v); });
    v.Section("CalibrTemperatureAndPressure", std::string(kMissingCalibrationWarning),
              [&] { VisitCalibration(m.CalibrTemperatureAndPressure, v); });
}

} // namespace kt41::config_file::schema
