#pragma once

#include "CatalogueEntry.h"
#include "device/Options.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kt41::catalogue {

// Look-ups by enumeration member. A member outside its enumeration gives an
// entry without name, field or editor (Exists() is false).
const TCatalogueEntry& ContourEntry(device::TConturOpt option);
const TCatalogueEntry& DeviceEntry(device::TDeviceOpt option);
const TCatalogueEntry& PumpEntry(device::TNasosOpt option);

// The two input grids share their columns (TInputOpt) but not all choice lists.
enum class TInputKind : std::uint8_t {
    Thermometer, // inputs T1..T6: no 20 mA value and no unit
    Analog,      // 4-20 mA inputs P1..P4
};
const TCatalogueEntry& InputEntry(TInputKind kind, device::TInputOpt option);
inline constexpr int kThermometerInputCount = 6;
inline constexpr int kAnalogInputCount = 4;
// The input's row name: "T1".."T6" or "P1".."P4"; empty for another number.
std::string InputName(TInputKind kind, int input);

// --- contour types ------------------------------------------------------------
inline constexpr int kContourTypeCount = 6;
// Bit N set: TConturOpt row N is shown for this ContourType. 0 for a type
// outside 0..5.
std::uint32_t ContourTypeMask(int type);
// The rows of ContourTypeMask(type) in ascending order.
std::vector<device::TConturOpt> ShownContourRows(int type);
// How many types a contour's selector offers: all six on contours 1 and 2, the
// first four (no heating, no hot water) on contours 3 and 4; 0 otherwise.
int SelectableContourTypes(int contour);
// The type's selector entry: its name and one blank ("Отопление "); empty for a
// type outside 0..5.
std::string ContourTypeSelectorText(int type);

// --- choice editors of the contour grids -------------------------------------------
// Clears the list and adds the entries of the member's choice list (members
// 0, 1, 4, 20, 23 and 24); other members leave it empty.
void FillChoiceList(device::TConturOpt option, std::vector<std::string>& list);
// FillChoiceList, with the feed-mode list cut to its three one-channel entries
// when the contour's type is 2 (one feed channel).
void FillContourChoiceList(device::TConturOpt option, int contourType,
                           std::vector<std::string>& list);

} // namespace kt41::catalogue
