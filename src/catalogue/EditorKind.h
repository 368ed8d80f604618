#pragma once

#include <cstdint>

namespace kt41::catalogue {

// The editor a grid opens for a value cell; a finished edit carries the kind of
// the editor that made it (gui::CellEdit::Kind).
enum TEditorKind : std::uint8_t {
    ekNone = 0,         // the cell cannot be edited
    ekSpin = 1,         // whole-number field with up/down buttons, step 1, within limits
    ekDecimalSpin = 2,  // decimal field with up/down buttons, step 0.1, limits raw / scale
    ekChoiceList = 3,   // drop-down list of fixed entries; the value is the entry index
    ekDecimalField = 4, // free decimal-number field without limits
};

} // namespace kt41::catalogue
