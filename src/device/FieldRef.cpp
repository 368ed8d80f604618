#include "FieldRef.h"

#include <type_traits>

namespace kt41::device {

std::int32_t FieldRef::Get() const {
    return std::visit(
        [](auto p) -> std::int32_t {
            if constexpr (std::is_same_v<decltype(p), std::monostate>) {
                return 0;
            } else {
                return std::int32_t(*p);
            }
        },
        field_);
}

void FieldRef::Set(std::int32_t value) const {
    if (auto* p = std::get_if<std::uint8_t*>(&field_)) {
        **p = std::uint8_t(value & 0xFF);
    } else if (auto* p16 = std::get_if<std::uint16_t*>(&field_)) {
        **p16 = std::uint16_t(value & 0xFFFF);
    } else if (auto* s16 = std::get_if<std::int16_t*>(&field_)) {
        **s16 = std::int16_t(std::uint16_t(value & 0xFFFF));
    }
}

namespace {

// The fields both contour records have, by the same selector.
template <class Contour>
FieldRef SharedContourField(Contour& c, TConturOpt option) {
    switch (option) {
    case coContour_OTP:
        return FieldRef(c.ConturCtrlMode);
    case coRP_diff:
        return FieldRef(c.RP_diff);
    case coT_action:
        return FieldRef(c.T_action);
    case coRP_diff_MX:
        return FieldRef(c.RP_diff_max);
    case coPK:
        return FieldRef(c.PK);
    case coDK:
        return FieldRef(c.DK);
    case coCycle:
        return FieldRef(c.Cycle);
    case coP_alarm_UP:
        return FieldRef(c.P_alarm_max);
    case coP_alarm_DN:
        return FieldRef(c.P_alarm_min);
    case coFD_Mode:
        return FieldRef(c.FeedMode);
    case coRST_feed:
        return FieldRef(c.FeedReset);
    case coVLV_pause:
        return FieldRef(c.VLV_pause);
    case coPMP_timeout:
        return FieldRef(c.PMP_timeout);
    case coUP_threshold_1:
        return FieldRef(c.DavHigh_Feed1);
    case coDN_threshold_1:
        return FieldRef(c.DavLow_Feed1);
    case coUP_threshold_2:
        return FieldRef(c.DavHigh_Feed2);
    case coDN_threshold_2:
        return FieldRef(c.DavLow_Feed2);
    default:
        return {};
    }
}

} // namespace

FieldRef ContourField(TParamContur& c, TConturOpt option) {
    switch (option) {
    case coRegulate_by:
        return FieldRef(c.RegulateMode);
    case coT_water_NR:
        return FieldRef(c.Tnorm);
    case coT_water_LW:
        return FieldRef(c.Tlow);
    case coBC_corr_ON:
        return FieldRef(c.BC_corr_ON);
    case coT_water_BC:
        return FieldRef(c.Tbc);
    case coBC_delta_UP:
        return FieldRef(c.dBC_High);
    case coBC_delta_DN:
        return FieldRef(c.dBC_Low);
    case codT_lower:
        return FieldRef(c.dT_low);
    case coT_water_MN:
        return FieldRef(c.Tmin);
    case coT_alarm_UP:
        return FieldRef(c.T_alarm_max);
    case coT_alarm_DN:
        return FieldRef(c.T_alarm_min);
    case coVLV_protect:
        return FieldRef(c.VLV_Condition);
    case coVLV_limit_UP:
        return FieldRef(c.VLV_Max_Up);
    case coVLV_limit_DN:
        return FieldRef(c.VLV_Max_Down);
    default:
        return SharedContourField(c, option);
    }
}

FieldRef ContourField(TParamConturEx& c, TConturOpt option) {
    return SharedContourField(c, option);
}

FieldRef DeviceField(TParamDevice& d, TDeviceOpt option) {
    switch (option) {
    case doID_Device:
        return FieldRef(d.ID_Device);
    case doMBS_speed:
        return FieldRef(d.MBS_speed);
    case doVLV_stroke1:
        return FieldRef(d.VLV_stroke1);
    case doVLV_stroke2:
        return FieldRef(d.VLV_stroke2);
    case doVLV_stroke3:
        return FieldRef(d.VLV_stroke3);
    case doVLV_stroke4:
        return FieldRef(d.VLV_stroke4);
    case doPMP1_time_1:
        return FieldRef(d.PMP1_time_1);
    case doPMP2_time_1:
        return FieldRef(d.PMP2_time_1);
    case doPMP1_time_2:
        return FieldRef(d.PMP1_time_2);
    case doPMP2_time_2:
        return FieldRef(d.PMP2_time_2);
    case doNO_M1:
        return FieldRef(d.NO_M1);
    case doNO_M2:
        return FieldRef(d.NO_M2);
    case doNO_M3:
        return FieldRef(d.NO_M3);
    case doNO_M4:
        return FieldRef(d.NO_M4);
    case doNO_M5:
        return FieldRef(d.NO_M5);
    case doNO_M6:
        return FieldRef(d.NO_M6);
    case doNO_M7:
        return FieldRef(d.NO_M7);
    case doNO_M8:
        return FieldRef(d.NO_M8);
    case doNO_MP1:
        return FieldRef(d.NO_MP1);
    case doNO_MP2:
        return FieldRef(d.NO_MP2);
    }
    return {};
}

FieldRef PumpField(TPumpGroup& g, TNasosOpt option) {
    switch (option) {
    case noPMP_Mode:
        return FieldRef(g.Pump_ON);
    case noPMP_Main:
        return FieldRef(g.Pump_Main);
    case noPMP_SensProtect:
        return FieldRef(g.Pump_SensProtect);
    case noPMP_SensWork:
        return FieldRef(g.Pump_SensWork);
    case noPMP_AVR:
        return FieldRef(g.Pump_AVR);
    case noPMP_VarWork:
        return FieldRef(g.Pump_VarWork);
    case noDRY_count:
        return FieldRef(g.Pump_DelayOn);
    case noPMP_count:
        return FieldRef(g.Pump_TimeSensWork);
    case noRST_Mode:
        return FieldRef(g.Pump_Reset);
    case noRST_iternal:
        return FieldRef(g.Pump_PeriodReset);
    }
    return {};
}

namespace {

template <class Record, class Option>
std::optional<std::int32_t> ValueOf(const Record& record, Option option,
                                    FieldRef (*lookup)(Record&, Option)) {
    // The lookup only forms a reference; nothing is written through it here.
    const FieldRef ref = lookup(const_cast<Record&>(record), option);
    if (!ref.Valid()) {
        return std::nullopt;
    }
    return ref.Get();
}

} // namespace

std::optional<std::int32_t> ContourFieldValue(const TParamContur& c, TConturOpt option) {
    return ValueOf<TParamContur, TConturOpt>(c, option, &ContourField);
}
std::optional<std::int32_t> ContourFieldValue(const TParamConturEx& c, TConturOpt option) {
    return ValueOf<TParamConturEx, TConturOpt>(c, option, &ContourField);
}
std::optional<std::int32_t> DeviceFieldValue(const TParamDevice& d, TDeviceOpt option) {
    return ValueOf<TParamDevice, TDeviceOpt>(d, option, &DeviceField);
}
std::optional<std::int32_t> PumpFieldValue(const TPumpGroup& g, TNasosOpt option) {
    return ValueOf<TPumpGroup, TNasosOpt>(g, option, &PumpField);
}

} // namespace kt41::device
