#pragma once

#include "Arguments.h"
#include "driver/Kt41Driver.h"
#include "driver/OleDateTime.h"
#include "driver/SerialPortError.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace kt41::device {
class TKT41;
}

namespace kt41::cli {

// Exit statuses of kt41ctl.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // the controller, the line or a file failed
inline constexpr int kExitUsage = 2;   // the command line is not valid

// The text shown when the serial line cannot be used (held by another program,
// missing, no permission); it ends in four blanks.
inline constexpr std::string_view kPortBusyText =
    "Последовательный порт занят другим приложением ...    ";

// The kt41ctl front end: parses the command line, runs the command over the
// device model and the given driver, prints results on `out` and warnings and
// errors on `err`, and returns the exit status. No exception leaves Run.
class Kt41Ctl {
public:
    Kt41Ctl(driver::Kt41Driver& driver, std::ostream& out, std::ostream& err);

    // Optional: why the driver's last call failed, added to error messages.
    std::function<std::string()> DriverError;
    // The local time (the archive's "end date today means now"); the system
    // clock when empty.
    std::function<driver::CivilDateTime()> Now;
    // Standard error is a terminal: the archive read shows a progress line.
    bool ErrIsTerminal = false;

    int Run(const std::vector<std::string>& args);

private:
    int Execute(const Arguments& a);
    int ReadToFile(const Arguments& a);
    int WriteFromFile(const Arguments& a);
    int ShowFile(const Arguments& a);
    int PollCurrent(const Arguments& a);
    int ReadArchive(const Arguments& a); // Ctrl+C stops it between two records
    int ShowClock(const Arguments& a);
    int CompareConfigurations(const Arguments& a); // DiffCommand.cpp
    int ScanLine(const Arguments& a);              // ScanCommand.cpp
    // write --backup: the controller's configuration into the file before
    // the write; false after saying why (BackupCommand.cpp).
    bool SaveBackup(const device::TKT41& connected, const std::string& path);
    int Fail(const std::string& message, bool fromDriver);
    // "the controller at address N does not answer on port P", as Fail.
    int FailNoAnswer(const Arguments& a);
    // The port-busy text and the port's own message.
    int PortFailure(const driver::SerialPortError& e);
    // After a configuration write that stopped half-way: which blocks it wrote.
    void ReportPartialWrite(const device::TKT41& model);

    driver::Kt41Driver& driver_;
    std::ostream& out_;
    std::ostream& err_;
};

} // namespace kt41::cli
