#include "InputRules.h"

#include "device/TKT41.h"

namespace kt41::catalogue {

namespace {

// Functions of a 4-20 mA input that measure without an alarm role.
constexpr int kAnalogPosition = 6;
constexpr int kAnalogFlow = 7;

bool HasAlarmRole(TInputKind kind, int func) {
    if (func == 0) {
        return false;
    }
    return kind != TInputKind::Analog || (func != kAnalogPosition && func != kAnalogFlow);
}

} // namespace

bool IsInputSettingEditable(const device::TKT41& model, TInputKind kind, int input,
                            device::TInputOpt setting) {
    const bool analog = kind == TInputKind::Analog;
    const int inputs = analog ? kAnalogInputCount : kThermometerInputCount;
    if (input < 1 || input > inputs || !InputEntry(kind, setting).Exists()) {
        return false;
    }
    if (setting == device::ioAlarm) {
        const int func = analog ? model.GetAnalogInputFunc(input) : model.GetInputFunc(input);
        if (!HasAlarmRole(kind, func)) {
            return false;
        }
    }
    if (analog) {
        for (int other = 1; other <= kAnalogInputCount; ++other) {
            if (model.GetAnalogInputAlarm(other) == 1) {
                return other == input;
            }
        }
    }
    return true;
}

} // namespace kt41::catalogue
