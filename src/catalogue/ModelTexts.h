#pragma once

#include "device/Options.h"
#include "device/Records.h"

#include <string>
#include <string_view>

namespace kt41::device {
class TKT41;
}

namespace kt41::catalogue {

// The display texts of the model's fields, by the catalogue's rules. The
// decimal separator is the caller's: the GUI passes the user's locale, the CLI
// a point.

// The member's field of that contour. Empty for a contour outside 1..4, a member
// outside the enumeration, and on contours 3 and 4 for the members their reduced
// record lacks.
std::string GetContourParamText(const device::TKT41& model, int contour, device::TConturOpt option,
                                std::string_view decimalSeparator);

// Empty for a member outside the enumeration.
std::string GetDeviceParamText(const device::TKT41& model, device::TDeviceOpt option,
                               std::string_view decimalSeparator);

// Thermometer input 1..6; column 0 assignment, 1 function, 2 alarm (with "---"),
// 3 empty. Empty for another input or column.
std::string GetInputText(const device::TKT41& model, int input, int column);

// 4-20 mA input 1..4; column 0 assignment, 1 function, 2 alarm (with "---"),
// 3 MaxVal / 100 with two decimals, 4 the unit of InputType (a value beyond the
// unit list as the number). Empty for another input or column.
std::string GetAnalogInputText(const device::TKT41& model, int input, int column,
                               std::string_view decimalSeparator);

// SerialNumber with five digits: 42 gives "00042".
std::string GetSerialNumberText(const device::TKT41& model);

// The thermometer type name of Type_T; a value beyond the list as the number.
std::string GetThermometerTypeText(const device::TKT41& model);

// The firmware version: low byte, a point, high byte and one blank ("3.2 ").
std::string GetVersionText(const device::TKT41& model);

// Manufact_date as month and year: low byte month, high byte plus 2000 as the
// year ("09.2021" for 0x1509).
std::string GetManufactureDateText(const device::TKT41& model);

// The device page shows this in place of the model code.
inline constexpr std::string_view kModelPlaceholderText = "------------------";

// The text of a pump-group row: the list entry at the value (the whole value, so
// Pump_Reset 7 shows "7") or the unsigned number.
std::string GetPumpParamText(const device::TPumpGroup& group, device::TNasosOpt option);

} // namespace kt41::catalogue
