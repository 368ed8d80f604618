#include "Kt41Ctl.h"

#include "ArchiveCommand.h"
#include "Listings.h"
#include "SerialNumberCheck.h"
#include "config_file/ConfigFile.h"
#include "device/ProgressTexts.h"
#include "device/TKT41.h"
#include "driver/ComPort.h"
#include "driver/SerialPortError.h"

#include <array>
#include <csignal>
#include <ctime>
#include <exception>

namespace kt41::cli {

namespace {

// The model's message boxes become lines on standard error; with --verbose the
// progress codes become the log lines the main window would write.
class StderrSink : public driver::ProgressSink {
public:
    StderrSink(std::ostream& err, bool verbose) : err_(err), verbose_(verbose) {}

    void Progress(int code, std::uint32_t lParam) override {
        if (!verbose_) {
            return;
        }
        const device::ProgressReaction r = device::DescribeProgress(code, lParam);
        if (r.Logs) {
            err_ << (r.WithResult ? device::ResultText(r.Text, r.Failed) : r.Text) << '\n';
        }
    }

    void ShowMessage(const std::string& caption, const std::string& text,
                     driver::MessageIcon) override {
        err_ << caption << ": " << text << '\n';
    }

private:
    std::ostream& err_;
    bool verbose_;
};

// The line and the model of one device command. The port closes when the
// session ends.
struct Session {
    Session(driver::Kt41Driver& driver, const Arguments& a, std::ostream& err)
        : sink(err, a.Verbose), model(driver) {
        port.PortName = a.Port;
        port.BaudRate = a.Baud;
        model.AttachPort(&port, &sink);
    }
    ~Session() { port.Close(); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Two tries, as the program makes them.
    bool Connect(int address) {
        std::array<std::uint8_t, 2> version{};
        const auto unit = std::uint8_t(address);
        return model.ConnectDevice(unit, version) || model.ConnectDevice(unit, version);
    }

    driver::ComPort port;
    StderrSink sink;
    device::TKT41 model;
};

// Ctrl+C while it lives sets the flag instead of ending the program.
class InterruptFlag {
public:
    InterruptFlag() {
        raised_ = 0;
        struct sigaction action {};
        action.sa_handler = [](int) { raised_ = 1; };
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGINT, &action, &previous_);
    }
    ~InterruptFlag() { sigaction(SIGINT, &previous_, nullptr); }
    InterruptFlag(const InterruptFlag&) = delete;
    InterruptFlag& operator=(const InterruptFlag&) = delete;

    bool Raised() const { return raised_ != 0; }

private:
    static inline volatile std::sig_atomic_t raised_ = 0;
    struct sigaction previous_ {};
};

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
    if (!session.model.ReadCurrentData(data)) {
        return Fail("не удалось прочитать текущие показания", true);
    }
    WriteCurrentListing(session.model, data, out_);
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
    const InterruptFlag interrupt;
    const ArchiveOutput io{out_, err_, Now ? Now() : LocalTimeNow(), ErrIsTerminal,
                           [&interrupt] { return interrupt.Raised(); }};
    return RunArchiveCommand(session.model, a, io);
}

} // namespace kt41::cli
