#pragma once

#include "Arguments.h"
#include "device/ProgressTexts.h"
#include "device/TKT41.h"
#include "driver/ComPort.h"
#include "driver/Kt41Driver.h"

#include <array>
#include <ostream>

namespace kt41::cli {

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

} // namespace kt41::cli
