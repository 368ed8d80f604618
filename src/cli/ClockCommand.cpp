#include "ClockCommand.h"

#include "catalogue/ClockTexts.h"
#include "device/TKT41.h"

namespace kt41::cli {

bool WriteClockLines(device::TKT41& model, std::ostream& out) {
    double dateTime = 0.0;
    if (!model.ReadDateTime(dateTime)) {
        return false;
    }
    const catalogue::TClockLines lines = catalogue::ClockLines(true, dateTime);
    out << "Дата:\t" << lines.Date << "\nВремя:\t" << lines.Time << '\n';
    return true;
}

} // namespace kt41::cli
