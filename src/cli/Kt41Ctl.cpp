#include "Kt41Ctl.h"

#include "ArchiveCommand.h"
#include "ArchiveWorkbookOutput.h"
#include "ClockCommand.h"
#include "InterruptFlag.h"
#include "Listings.h"
#include "SerialNumberCheck.h"
#include "Session.h"
#include "Watch.h"
#include "catalogue/CurrentReadingTexts.h"
#include "config_file/ConfigFile.h"
#include "device/ProgressTexts.h"
#include "device/TKT41.h"
#include "driver/ComPort.h"
#include "driver/SerialPortError.h"

#include <array>
#include <chrono>
#include <ctime>
#include <exception>
#include <filesystem>

namespace kt41::cli {

namespace {

// The delivered archive template, found beside this program.
std::string DeliveredTemplate() {
    std::error_code ignored;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ignored);
    return DeliveredArchiveTemplate(self.empty() ? std::filesystem::path("kt41ctl") : self)
        .string();
}

driver::CivilDateTime LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string Quoted(const std::string& text) {
    return "«" + text + "»";
}

} // namespace

Kt41Ctl::Kt41Ctl(driver::Kt41Driver& driver, std::ostream& out, std::ostream& err)
    : driver_(driver), out_(out), err_(err) {}

int Kt41Ctl::Run(const std::vector<std::string>& args) {
    const ParseResult parsed = ParseArguments(args);
    if (!parsed.Parsed) {
        err_ << "kt41ctl: " << parsed.Error << "\nСправка: kt41ctl --help\n";
        return kExitUsage;
    }
    try {
        return Execute(*parsed.Parsed);
    } catch (const driver::SerialPortError& e) {
        return PortFailure(e);
    } catch (const std::exception& e) {
        err_ << "kt41ctl: " << e.what() << '\n';
        return kExitFailure;
    }
}

int Kt41Ctl::Execute(const Arguments& a) {
    switch (a.Command) {
    case TCommand::Help:
        out_ << kHelpText;
        return kExitOk;
    case TCommand::Read:
        return ReadToFile(a);
    case TCommand::Write:
        return WriteFromFile(a);
    case TCommand::Show:
        return ShowFile(a);
    case TCommand::Current:
        return PollCurrent(a);
    case TCommand::Archive:
        return ReadArchive(a);
    case TCommand::Clock:
        return ShowClock(a);
    case TCommand::Diff:
        return CompareConfigurations(a);
    case TCommand::Scan:
        return ScanLine(a);
    }
    return kExitUsage;
}

int Kt41Ctl::Fail(const std::string& message, bool fromDriver) {
    err_ << "kt41ctl: " << message;
    const std::string detail = fromDriver && DriverError ? DriverError() : std::string();
    if (!detail.empty()) {
        err_ << " (" << detail << ")";
    }
    err_ << '\n';
    return kExitFailure;
}

int Kt41Ctl::PortFailure(const driver::SerialPortError& e) {
    err_ << kPortBusyText << '\n' << e.what() << '\n';
    return kExitFailure;
}

void Kt41Ctl::ReportPartialWrite(const device::TKT41& model) {
    const std::string text = device::PartialWriteText(model.LastConfigWrite());
    if (!text.empty()) {
        err_ << text << '\n';
    }
}

int Kt41Ctl::ReadToFile(const Arguments& a) {
    Session session(driver_, a, err_);
    if (!session.Connect(a.Address)) {
        return Fail("контроллер с адресом " + std::to_string(a.Address) + " не отвечает на порту " +
                        Quoted(a.Port),
                    true);
    }
    if (!session.model.ReadConfiguration()) {
        return Fail("не удалось прочитать настройку контроллера", true);
    }
    std::string why;
    if (!config_file::SaveToFile(session.model, a.File, &why)) {
        return Fail("не удалось сохранить файл " + Quoted(a.File) + " (" + why + ")", false);
    }
    return kExitOk;
}

int Kt41Ctl::WriteFromFile(const Arguments& a) {
    Session session(driver_, a, err_);
    if (!config_file::LoadFromFile(session.model, a.File)) {
        return Fail("не удалось прочитать файл конфигурации " + Quoted(a.File), false);
    }
    if (!session.Connect(a.Address)) {
        return Fail("контроллер с адресом " + std::to_string(a.Address) + " не отвечает на порту " +
                        Quoted(a.Port),
                    true);
    }
    WarnOnSerialNumberMismatch(session.model, err_);
    if (!a.Backup.empty() && !SaveBackup(session.model, a.Backup)) {
        return kExitFailure; // nothing was written
    }
    // A write that stops half-way is followed by the line that names the
    // blocks it left in the controller.
    bool written = false;
    try {
        written = session.model.WriteConfiguration();
    } catch (const driver::SerialPortError& e) {
        const int status = PortFailure(e);
        ReportPartialWrite(session.model);
        return status;
    }
    if (!written) {
        const int status = Fail("не удалось записать настройку в контроллер", true);
        ReportPartialWrite(session.model);
        return status;
    }
    return kExitOk;
}

int Kt41Ctl::ShowFile(const Arguments& a) {
    StderrSink sink(err_, false);
    device::TKT41 model(driver_);
    model.NotifyWindow = &sink;
    if (!config_file::LoadFromFile(model, a.File)) {
        return Fail("не удалось прочитать файл конфигурации " + Quoted(a.File), false);
    }
    WriteShowListing(model, out_);
    return kExitOk;
}

int Kt41Ctl::PollCurrent(const Arguments& a) {
    Session session(driver_, a, err_);
    if (!session.Connect(a.Address)) {
        return Fail("контроллер с адресом " + std::to_string(a.Address) + " не отвечает на порту " +
                        Quoted(a.Port),
                    true);
    }
    // The input settings decide the unit of each 4-20 mA reading.
    if (!session.model.ReadInputs()) {
        return Fail("не удалось прочитать настройку входов", true);
    }
    device::TCurrentData data{};
    if (a.WatchSeconds == 0) {
        if (!session.model.ReadCurrentData(data)) {
            return Fail("не удалось прочитать текущие показания", true);
        }
        WriteCurrentListing(session.model, data, out_);
        return kExitOk;
    }
    // Each listing after the line with the PC's time of its poll; a poll
    // without an answer is reported and the next one tries again.
    RepeatUntilInterrupted(std::chrono::seconds(a.WatchSeconds), [&] {
        const std::string stamp = catalogue::EventLogStamp(catalogue::LocalTimeNow());
        if (session.model.ReadCurrentData(data)) {
            out_ << "Опрос\t" << stamp << '\n';
            WriteCurrentListing(session.model, data, out_);
        } else {
            Fail(stamp + ": не удалось прочитать текущие показания", true);
        }
        out_.flush();
    });
    return kExitOk;
}

int Kt41Ctl::ShowClock(const Arguments& a) {
    Session session(driver_, a, err_);
    if (!session.Connect(a.Address)) {
        return Fail("контроллер с адресом " + std::to_string(a.Address) + " не отвечает на порту " +
                        Quoted(a.Port),
                    true);
    }
    if (!WriteClockLines(session.model, out_)) {
        return Fail("не удалось прочитать часы контроллера", true);
    }
    return kExitOk;
}

} // namespace kt41::cli

namespace kt41::cli {

int Kt41Ctl::ReadArchive(const Arguments& a) {
    Session session(driver_, a, err_);
    if (!session.Connect(a.Address)) {
        return Fail("контроллер с адресом " + std::to_string(a.Address) + " не отвечает на порту " +
                        Quoted(a.Port),
                    true);
    }
    // The input settings decide the unit of each 4-20 mA column.
    if (!session.model.ReadInputs()) {
        return Fail("не удалось прочитать настройку входов", true);
    }
    // A workbook carries the controller's serial number.
    const bool workbook = IsWorkbookName(a.File);
    if (workbook && !session.model.ReadDeviceParams()) {
        return Fail("не удалось прочитать параметры прибора", true);
    }
    const InterruptFlag interrupt;
    ArchiveOutput io{out_,
                     err_,
                     Now ? Now() : LocalTimeNow(),
                     ErrIsTerminal,
                     [&interrupt] { return interrupt.Raised(); },
                     {}};
    if (workbook) {
        io.TemplateFile = !a.Template.empty() ? a.Template : DeliveredTemplate();
    }
    return RunArchiveCommand(session.model, a, io);
}

} // namespace kt41::cli
