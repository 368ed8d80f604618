#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kt41::device {
class TKT41;
}

namespace kt41::config_file {

// One field whose value differs between two configurations.
struct TDifference {
    // The page that shows the field: "Настройки", "Контур 1".."Контур 4",
    // "Входы", or "Калибровка" for the calibration codes.
    std::string Page;
    // The catalogue's name of the parameter (an input's name is prefixed with
    // the input, "T3: Функция"); the configuration file's key where the
    // catalogue has no entry ("Array_Tout/Tout3", "Calendar_Pump/Day1/Point2").
    std::string Parameter;
    // The display texts of the two values by the catalogue's rules; the raw
    // values as decimal integers where the catalogue has no entry.
    std::string TextA;
    std::string TextB;
    // The field's place in the configuration file ("Contour1/Tnorm") and the
    // two raw values.
    std::string Key;
    std::int32_t RawA = 0;
    std::int32_t RawB = 0;
};

// The differences between two configurations, in the configuration file's
// order (contours, inputs, device parameters, calibration).
struct TComparison {
    // Every field a configuration write sends, including the rows the contour
    // type hides on the pages and the calibration codes.
    std::vector<TDifference> Settings;
    // The controller's identity (network address, model, serial number,
    // firmware version, date of manufacture): read from the controller, never
    // written to it, so listed apart.
    std::vector<TDifference> Identity;

    // No setting differs: a write of A over B would change nothing.
    bool SameSettings() const { return Settings.empty(); }
};

// Compares a with b field by field. The decimal separator is the caller's:
// the GUI passes the user's locale, the command line a point. The 4-20 mA
// inputs' InputType is left out: it follows from the function and does not
// travel to the controller.
TComparison CompareConfigurations(const device::TKT41& a, const device::TKT41& b,
                                  std::string_view decimalSeparator);

} // namespace kt41::config_file
