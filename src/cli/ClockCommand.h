#pragma once

#include <ostream>

namespace kt41::device {
class TKT41;
}

namespace kt41::cli {

// kt41ctl clock over a connected model: reads the controller's clock once and
// prints the date line and the time line of the clock window,
//   "Дата:\t1 января 2025 года, Среда"
//   "Время:\t14:05:09"
// False, with nothing printed, when the controller did not answer.
bool WriteClockLines(device::TKT41& model, std::ostream& out);

} // namespace kt41::cli
