// kt41ctl scan: the controllers that answer on a line.
#include "InterruptFlag.h"
#include "Kt41Ctl.h"

#include "device/BusScan.h"
#include "driver/ComPort.h"

namespace kt41::cli {

int Kt41Ctl::ScanLine(const Arguments& a) {
    driver::ComPort port;
    port.PortName = a.Port;
    device::TBusScan scan(driver_, port, a.First, a.Last, a.Bauds);
    // Ctrl+C stops the scan between two addresses, so that what was found is
    // still printed and the port closed.
    const InterruptFlag interrupt;
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
        if (interrupt.Raised()) {
            scan.Cancel();
        }
    }
    err_ << '\n'
         << (scan.Cancelled() ? "Поиск прерван. " : "")
         << "Найдено приборов: " << scan.Found().size() << '\n';
    return scan.Cancelled() ? kExitFailure : kExitOk;
}

} // namespace kt41::cli
