#pragma once

#include "device/Records.h"

#include <ostream>

namespace kt41::device {
class TKT41;
}

namespace kt41::cli {

// The parameters as the pages show them, one line per shown parameter:
// "<page>\t<parameter>\t<value>", values with a point as the decimal separator.
//  - "Настройки": the four identity texts, then the twenty device rows;
//  - "Контур 1".."Контур 4": "Тип контура" first, then the rows of the type;
//  - "Входы": the thermometer type, then one line per input column, named
//    "<input> <column heading>"; the 20 mA value is followed by its unit.
void WriteShowListing(const device::TKT41& model, std::ostream& out);

// One current-data poll in the same three-column form: the readings under
// "Текущие показания" (the 4-20 mA inputs in the unit of the model's InputType),
// then the active events under "Фиксируемые ошибки и события" as kind and
// description.
void WriteCurrentListing(const device::TKT41& model, const device::TCurrentData& data,
                         std::ostream& out);

} // namespace kt41::cli
