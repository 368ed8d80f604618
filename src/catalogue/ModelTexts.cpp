#include "ModelTexts.h"

#include "Catalogue.h"
#include "TextRules.h"
#include "device/FieldRef.h"
#include "device/TKT41.h"

#include <cstdio>
#include <type_traits>

namespace kt41::catalogue {

namespace {

// The text of an input column whose field exists in the record.
template <class Input>
std::string InputColumnText(TInputKind kind, const Input& input, int column,
                            std::string_view decimalSeparator) {
    std::int32_t value = 0;
    switch (column) {
    case device::ioJoinContour:
        value = input.Contour;
        break;
    case device::ioFunc:
        value = input.Func;
        break;
    case device::ioAlarm:
        value = input.Alarm;
        break;
    default:
        if constexpr (std::is_same_v<Input, device::TInputAnalog>) {
            if (column == device::ioMaxValAnalog) {
                value = input.MaxVal;
                break;
            }
            if (column == device::ioAnalogType) {
                value = input.InputType;
                break;
            }
        }
        return {};
    }
    return DisplayText(InputEntry(kind, device::TInputOpt(column)), value, decimalSeparator);
}

} // namespace

std::string GetContourParamText(const device::TKT41& model, int contour, device::TConturOpt option,
                                std::string_view decimalSeparator) {
    if (option < 0 || option >= device::kConturOptCount) {
        return {};
    }
    const auto value = model.GetContourParam(contour, option);
    return value ? DisplayText(ContourEntry(option), *value, decimalSeparator) : std::string();
}

std::string GetDeviceParamText(const device::TKT41& model, device::TDeviceOpt option,
                               std::string_view decimalSeparator) {
    const auto value = model.GetDeviceParam(option);
    return value ? DisplayText(DeviceEntry(option), *value, decimalSeparator) : std::string();
}

std::string GetInputText(const device::TKT41& model, int input, int column) {
    if (input < 1 || input > kThermometerInputCount) {
        return {};
    }
    return InputColumnText(TInputKind::Thermometer, model.Input_T[std::size_t(input - 1)], column,
                           ".");
}

std::string GetAnalogInputText(const device::TKT41& model, int input, int column,
                               std::string_view decimalSeparator) {
    if (input < 1 || input > kAnalogInputCount) {
        return {};
    }
    return InputColumnText(TInputKind::Analog, model.Input_P[std::size_t(input - 1)], column,
                           decimalSeparator);
}

std::string GetSerialNumberText(const device::TKT41& model) {
    char text[16];
    std::snprintf(text, sizeof text, "%05u", unsigned(model.ParamDevice.SerialNumber));
    return text;
}

std::string GetThermometerTypeText(const device::TKT41& model) {
    return ChoiceText(kThermometerTypeList, model.CalibrTemperatureAndPressure.Type_T);
}

std::string GetVersionText(const device::TKT41& model) {
    const unsigned version = model.ParamDevice.Version;
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u ", version & 0xFF, version >> 8);
    return text;
}

std::string GetManufactureDateText(const device::TKT41& model) {
    const unsigned date = model.ParamDevice.Manufact_date;
    char text[16];
    std::snprintf(text, sizeof text, "%02u.%04u", date & 0xFF, (date >> 8) + 2000);
    return text;
}

std::string GetPumpParamText(const device::TPumpGroup& group, device::TNasosOpt option) {
    const auto value = device::PumpFieldValue(group, option);
    return value ? DisplayText(PumpEntry(option), *value, ".") : std::string();
}

} // namespace kt41::catalogue
