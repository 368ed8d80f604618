#pragma once

// Selectors of the configurable parameters. Their values index the parameter
// catalogue, so they never change.

namespace kt41::device {

enum TConturOpt : int {
    coContour_OTP = 0,
    coRegulate_by = 1,
    coT_water_NR = 2,
    coT_water_LW = 3,
    coBC_corr_ON = 4,
    coT_water_BC = 5,
    coBC_delta_UP = 6,
    coBC_delta_DN = 7,
    codT_lower = 8,
    coT_water_MN = 9,
    coRP_diff = 10,
    coT_action = 11,
    coRP_diff_MX = 12,
    coPK = 13,
    coDK = 14,
    coCycle = 15,
    coT_alarm_UP = 16,
    coT_alarm_DN = 17,
    coP_alarm_UP = 18,
    coP_alarm_DN = 19,
    coVLV_protect = 20,
    coVLV_limit_UP = 21,
    coVLV_limit_DN = 22,
    coFD_Mode = 23,
    coRST_feed = 24,
    coVLV_pause = 25,
    coPMP_timeout = 26,
    coUP_threshold_1 = 27,
    coDN_threshold_1 = 28,
    coUP_threshold_2 = 29,
    coDN_threshold_2 = 30,
};
inline constexpr int kConturOptCount = 31;

enum TDeviceOpt : int {
    doID_Device = 0,
    doMBS_speed = 1,
    doVLV_stroke1 = 2,
    doVLV_stroke2 = 3,
    doVLV_stroke3 = 4,
    doVLV_stroke4 = 5,
    doPMP1_time_1 = 6,
    doPMP2_time_1 = 7,
    doPMP1_time_2 = 8,
    doPMP2_time_2 = 9,
    doNO_M1 = 10,
    doNO_M2 = 11,
    doNO_M3 = 12,
    doNO_M4 = 13,
    doNO_M5 = 14,
    doNO_M6 = 15,
    doNO_M7 = 16,
    doNO_M8 = 17,
    doNO_MP1 = 18,
    doNO_MP2 = 19,
};
inline constexpr int kDeviceOptCount = 20;

enum TInputOpt : int {
    ioJoinContour = 0,
    ioFunc = 1,
    ioAlarm = 2,
    ioMaxValAnalog = 3,
    ioAnalogType = 4,
};
inline constexpr int kInputOptCount = 5;

enum TNasosOpt : int {
    noPMP_Mode = 0,
    noPMP_Main = 1,
    noPMP_SensProtect = 2,
    noPMP_SensWork = 3,
    noPMP_AVR = 4,
    noPMP_VarWork = 5,
    noDRY_count = 6,
    noPMP_count = 7,
    noRST_Mode = 8,
    noRST_iternal = 9,
};
inline constexpr int kNasosOptCount = 10;

} // namespace kt41::device
