#pragma once

#include "CatalogueEntry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kt41::catalogue {

// --- display texts --------------------------------------------------------------

// The display text of an entry's raw value. The value is first read as the
// entry's raw type (low 8 or 16 bits, signed for Int16); then
//  - a choice entry shows its DisplayChoices entry at the value (bit 7 cleared
//    first when ClearTopBit), or the value as a decimal integer beyond the list;
//  - an integer entry shows the decimal integer;
//  - a decimal entry shows value / Scale with 1 or 2 decimals and the given
//    decimal separator (the GUI passes the user's locale, the CLI a point).
std::string DisplayText(const TCatalogueEntry& entry, std::int32_t raw,
                        std::string_view decimalSeparator);

// The list entry at index, or the index as a decimal integer when it is not in
// the list.
std::string ChoiceText(ChoiceList list, std::int32_t index);

// raw / scale with as many decimals as scale has zeros (scale 1, 10 or 100),
// computed on integers so that no binary rounding shows: -3 at scale 10 gives
// "-0.3", 2550 at scale 100 gives "25.50".
std::string FormatScaled(std::int32_t raw, std::int32_t scale, std::string_view decimalSeparator);

// --- stored integer from an editor value ---------------------------------------------

// The error a grid shows when a decimal cell does not hold a number.
inline constexpr std::string_view kNotAFloatText = "Cell does not contain a float value";

// The stored integer of a decimal editor's text: the number multiplied by scale
// (1, 10 or 100) and cut toward zero, computed on the decimal digits themselves,
// so 0.29 gives 29 and 1.15 gives 115 at scale 100, 0.537 gives 53 and -0.537
// gives -53. Accepted: blanks around the number, a sign, digits with '.' or ','
// as the decimal separator, and an exponent ("1e2"). A result beyond the 32-bit
// range is held at its limit. Anything else, an empty text included, is not a
// number: std::nullopt (the grid then shows kNotAFloatText and keeps the value).
std::optional<std::int32_t> StoredIntegerFromText(std::string_view text, std::int32_t scale);

} // namespace kt41::catalogue
