#pragma once

#include "Arguments.h"
#include "driver/OleDateTime.h"

#include <functional>
#include <ostream>

namespace kt41::device {
class TKT41;
}

namespace kt41::cli {

// The exit status of an archive read stopped with Ctrl+C (128 + SIGINT).
inline constexpr int kExitInterrupted = 130;

// What `kt41ctl archive` needs besides the connected model.
struct ArchiveOutput {
    std::ostream& Out;
    std::ostream& Err;
    driver::CivilDateTime Now;       // the local time; an end date of today ends now
    bool ProgressLine = false;       // a progress line on Err (Err is a terminal)
    std::function<bool()> Interrupt; // true once the user asked to stop (Ctrl+C)
};

// Reads the hourly archive of a.From .. a.To over the connected model, whose
// input settings are read (they choose the unit of the 4-20 mA columns), newest
// hour first. Without a.File each record is one line on Out: the texts of the
// page's grid from the date on, tab-separated, with a point as the decimal
// separator and the notes on one line ("Авария: ...; Событие: ...;"). With
// a.File the records go to an RFC 4180 CSV file with a header line instead
// (CRLF line ends, notes quoted with their line breaks). The records read
// before a failed call, a port error or an interrupt are kept in both forms.
// Returns the exit status; a driver::SerialPortError passes to the caller
// after the records read so far are written.
int RunArchiveCommand(device::TKT41& model, const Arguments& a, const ArchiveOutput& io);

} // namespace kt41::cli
