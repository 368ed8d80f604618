// kt41ctl scan: the controllers that answer on a line.
#include "Kt41Ctl.h"

#include "device/BusScan.h"
#include "driver/ComPort.h"

#include <atomic>
#include <csignal>

namespace kt41::cli {

namespace {

std::atomic<bool> stopRequested{false};

extern "C" void RequestStop(int) {
    stopRequested = true;
}

// Ctrl+C stops the scan between two addresses instead of ending the program,
// so that what was found is still printed and the port closed.
class InterruptGuard {
public:
    InterruptGuard() {
        stopRequested = false;
        previous_ = std::signal(SIGINT, RequestStop);
    }
    ~InterruptGuard() { std::signal(SIGINT, previous_); }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    void (*previous_)(int) = SIG_DFL;
};

} // namespace

int Kt41Ctl::ScanLine(const Arguments& a) {
    driver::ComPort port;
    port.PortName = a.Port;
    device::TBusScan scan(driver_, port, a.First, a.Last, a.Bauds);
    const InterruptGuard interrupt;
    std::size_t printed = 0;
    const auto printFound = [&] {
        for (; printed < scan.Found().size(); ++printed) {
            const device::TScanFinding& f = scan.Found()[printed];
            out_ << int(f.Address) << '\t' << f.SerialNumber << '\t' << f.Model << '\t'
                 << device::ScanVersionText(f) << '\n'
                 << std::flush;
        }
    };
    int lastPercent = -1;
    // A SerialPortError (no such port, busy) leaves through Run's handler.
    for (;;) {
        const int address = scan.CurrentAddress();
        const std::uint32_t baud = scan.CurrentBaud();
        const bool more = scan.Step();
        printFound();
        const int percent = scan.Total() > 0 ? scan.Done() * 100 / scan.Total() : 100;
        if (percent != lastPercent && !scan.Cancelled()) {
            err_ << "\rПоиск: " << baud << " бит/с, адрес " << address << ", " << percent << " %"
                 << std::flush;
            lastPercent = percent;
        }
        if (!more) {
            break;
        }
        if (stopRequested) {
            scan.Cancel();
        }
    }
    err_ << '\n'
         << (scan.Cancelled() ? "Поиск прерван. " : "")
         << "Найдено приборов: " << scan.Found().size() << '\n';
    return scan.Cancelled() ? kExitFailure : kExitOk;
}

} // namespace kt41::cli
