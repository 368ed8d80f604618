// kt41-bench: how long the tool's big exchanges take against the simulator on
// an emulated serial line, compared with the time their frames need on the
// wire. One line per case:
//   <case> <baud> measured_s=<seconds> wire_s=<seconds> ratio=<measured/wire>
// The wire time counts 10 bits per character and 3.5 characters of silence
// after every frame, for exactly the frames the simulator saw.
// The bus scan is held to its own bound instead:
//   scan-247 <baud> measured_s=<seconds> bound_s=<seconds> ratio=<measured/bound>
// where the bound is 247 x (one identity exchange on the wire + the probe's
// timeout), the most a scan of every address at one speed may take.
#include "device/BusScan.h"
#include "device/TKT41.h"
#include "driver/ComPort.h"
#include "driver/LineTiming.h"
#include "driver/ModbusDriver.h"
#include "driver/OleDateTime.h"
#include "simulator/Controller.h"
#include "simulator/PtyServer.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace {

using namespace kt41;
using Clock = std::chrono::steady_clock;

constexpr int kArchiveHours = 8 * 24;

double WireSeconds(const std::vector<sim::CallRecord>& calls, std::uint32_t baud) {
    double characters = 0;
    for (const sim::CallRecord& c : calls) {
        characters +=
            double(c.RequestPdu + driver::kRtuFrameOverhead) + driver::kFrameGapCharacters;
        if (c.AnswerPdu > 0) {
            characters +=
                double(c.AnswerPdu + driver::kRtuFrameOverhead) + driver::kFrameGapCharacters;
        }
    }
    return characters * driver::kBitsPerCharacter / double(baud);
}

bool RunCase(const char* name, std::uint32_t baud, sim::Controller& controller,
             const std::function<bool()>& work) {
    controller.ClearCalls();
    const auto start = Clock::now();
    const bool ok = work();
    const double measured = std::chrono::duration<double>(Clock::now() - start).count();
    if (!ok) {
        std::fprintf(stderr, "%s %u: the exchange failed\n", name, unsigned(baud));
        return false;
    }
    const double wire = WireSeconds(controller.Calls(), baud);
    std::printf("%s %u measured_s=%.3f wire_s=%.3f ratio=%.3f\n", name, unsigned(baud), measured,
                wire, measured / wire);
    std::fflush(stdout);
    return true;
}

bool Bench(std::uint32_t baud) {
    sim::ControllerOptions options;
    options.EmulatedBaud = baud;
    sim::Controller controller(options);
    sim::PtyServer pty(controller);

    driver::ComPort port;
    port.PortName = pty.SlavePath();
    port.BaudRate = baud;
    driver::ModbusDriver driver;
    device::TKT41 model(driver);
    model.AttachPort(&port, nullptr);
    std::array<std::uint8_t, 2> version{};
    if (!model.ConnectDevice(1, version)) {
        std::fprintf(stderr, "no connection to the simulator at %u baud\n", unsigned(baud));
        return false;
    }

    bool ok = RunCase("config-read", baud, controller, [&] { return model.ReadConfiguration(); });
    ok =
        ok && RunCase("config-write", baud, controller, [&] { return model.WriteConfiguration(); });
    ok = ok && RunCase("archive-8d", baud, controller, [&] {
             double t = 0;
             if (!model.ReadDateTime(t)) {
                 return false;
             }
             controller.ClearCalls(); // the clock read is not part of the case
             for (int i = 0; i < kArchiveHours; ++i, t -= 1.0 / 24.0) {
                 device::TArxRecord record;
                 std::uint8_t found = 0;
                 if (!model.ReadArchiveRecord(found, &record, t)) {
                     return false;
                 }
             }
             return true;
         });
    return ok;
}

// A full scan of a line with three controllers at one speed.
bool BenchScan(std::uint32_t baud) {
    sim::ControllerOptions options;
    options.EmulatedBaud = baud;
    options.ArchiveDays = 0;
    sim::Controller first(options);
    options.Address = 120;
    sim::Controller second(options);
    options.Address = 247;
    sim::Controller third(options);
    first.ShareLine(second);
    first.ShareLine(third);
    sim::PtyServer pty(first);

    driver::ComPort port;
    port.PortName = pty.SlavePath();
    driver::ModbusDriver driver;
    device::TBusScan scan(driver, port, 1, 247, {baud});
    const auto start = Clock::now();
    while (scan.Step()) {
    }
    const double measured = std::chrono::duration<double>(Clock::now() - start).count();
    // The identity request: function, first register, count (5 bytes); its
    // answer: function, byte count, four registers (10 bytes).
    constexpr std::size_t kRequestPdu = 5;
    constexpr std::size_t kAnswerPdu = 10;
    const double exchange = double(kRequestPdu + kAnswerPdu + 2 * driver::kRtuFrameOverhead) +
                            2 * driver::kFrameGapCharacters;
    const double exchangeSeconds = exchange * driver::kBitsPerCharacter / double(baud);
    const double timeout =
        std::chrono::duration<double>(
            driver::RtuExchangeTimeouts(driver::ProbeTimeouts(), baud, kRequestPdu, kAnswerPdu)
                .Limit)
            .count();
    const double bound = 247 * (exchangeSeconds + timeout);
    if (scan.Found().size() != 3) {
        std::fprintf(stderr, "scan-247 %u: found %zu controllers instead of 3\n", unsigned(baud),
                     scan.Found().size());
        return false;
    }
    std::printf("scan-247 %u measured_s=%.3f bound_s=%.3f ratio=%.3f\n", unsigned(baud), measured,
                bound, measured / bound);
    std::fflush(stdout);
    return true;
}

} // namespace

int main() {
    bool ok = true;
    for (std::uint32_t baud : {9600u, 19200u}) {
        ok = Bench(baud) && ok;
    }
    ok = BenchScan(9600) && ok;
    return ok ? 0 : 1;
}
