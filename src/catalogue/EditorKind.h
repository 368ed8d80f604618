#pragma once

#include <cstdint>

namespace kt41::catalogue {

// The editor a grid opens for a value cell. The values are the ones recorded in
// LastEditorKind while an edit is in progress (0 = no edit).
enum TEditorKind : std::uint8_t {
    ekNone = 0,         // the cell cannot be edited
    ekSpin = 1,         // whole-number field with up/down buttons, step 1, within limits
    ekDecimalSpin = 2,  // decimal field with up/down buttons, step 0.1, limits raw / scale
    ekChoiceList = 3,   // drop-down list of fixed entries; the value is the entry index
    ekDecimalField = 4, // free decimal-number field without limits
};

} // namespace kt41::catalogue
