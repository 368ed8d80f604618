#pragma once

#include "Catalogue.h"
#include "device/Options.h"

namespace kt41::device {
class TKT41;
}

namespace kt41::catalogue {

// Whether the input page lets the user change a setting of an input, by what
// the model holds now (input 1..6 for thermometers, 1..4 for 4-20 mA inputs):
//  - the alarm setting only where the function has an alarm role: not for
//    "Нет", nor for a 4-20 mA position or flow measurement;
//  - while one 4-20 mA input is the alarm input, every setting of the other
//    4-20 mA inputs is locked.
// False for an input or setting the page does not edit.
bool IsInputSettingEditable(const device::TKT41& model, TInputKind kind, int input,
                            device::TInputOpt setting);

} // namespace kt41::catalogue
