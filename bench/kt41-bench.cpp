// kt41-bench: how long the tool's big exchanges take against the simulator on
// an emulated serial line, compared with the time their frames need on the
// wire. One line per case:
//   <case> <baud> measured_s=<seconds> wire_s=<seconds> ratio=<measured/wire>
// The wire time counts 10 bits per character and 3.5 characters of silence
// after every frame, for exactly the frames the simulator saw.
// archive-page-8d is the archive page's own read loop (offscreen, the page
// shown, its grid filled and events run between records); it also reports
// max_gap_ms, the longest time the event loop went without processing events.
#include "device/ProgressCodes.h"
#include "device/TKT41.h"
#include "driver/ComPort.h"
#include "driver/LineTiming.h"
#include "driver/ModbusDriver.h"
#include "driver/OleDateTime.h"
#include "driver/SerialPortError.h"
#include "pages/ArchivePage.h"
#include "simulator/Controller.h"
#include "simulator/PtyServer.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QTabWidget>
#include <QDateEdit>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
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

constexpr const char* kUsage =
    "usage: kt41-bench [--help]\n"
    "\n"
    "Runs a configuration read, a configuration write and an eight-day archive\n"
    "read against the simulator on an emulated serial line at 9600 and at 19200\n"
    "baud, and prints one line per case:\n"
    "  <case> <baud> measured_s=<seconds> wire_s=<seconds> ratio=<measured/wire>\n"
    "wire_s is the time the frames of the case need on the wire (10 bits per\n"
    "character, 3.5 characters between frames). Exit status 0 when every case\n"
    "ran, 1 when one failed, 2 for an unknown argument.\n";

// --help (or -h) prints the usage and runs nothing; any other argument is an
// error. Returns the exit status, or nullopt to run the cases.
std::optional<int> HandleArguments(int argc, char** argv) {
    if (argc <= 1) {
        return std::nullopt;
    }
    const std::string arg = argv[1];
    if (argc == 2 && (arg == "--help" || arg == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fprintf(stderr, "kt41-bench: unknown argument '%s'\n%s", arg.c_str(), kUsage);
    return 2;
}

// What the archive page needs of the main window, and no more.
class BenchHost : public pages::PageHost {
public:
    explicit BenchHost(device::TKT41& model) : model_(model) {}
    device::TKT41& Model() override { return model_; }
    const gui::RunTimeSettings& CurrentSettings() const override { return settings_; }
    void PostProgress(int code, std::uint32_t lParam) override {
        if (code == device::progress::ReadArchiveDone) {
            ok = lParam == 0;
        }
    }
    void LogMessage(const QString&) override {}
    int MeasuredTextHeight() const override { return 0; }
    void ReportPortError(const driver::SerialPortError&) override { ok = false; }
    void OpenContourDialog(pages::ContourDialog, int) override {}

    bool ok = false;

private:
    device::TKT41& model_;
    gui::RunTimeSettings settings_;
};

// The archive page reads the eight days that end yesterday (192 reads).
bool BenchArchivePage(std::uint32_t baud) {
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
    if (!model.ConnectDevice(1, version) || !model.ReadInputs()) {
        std::fprintf(stderr, "no connection to the simulator at %u baud\n", unsigned(baud));
        return false;
    }

    BenchHost host(model);
    pages::ArchivePage page(host);
    page.resize(1000, 600);
    page.show();
    // The plot beside the grid is shown, so it draws while the read runs.
    page.findChild<QTabWidget*>("TabControl_ArxView")->setCurrentIndex(1);
    page.AdvDateTimePickerArx_End->setDate(QDate::currentDate().addDays(-1));
    QApplication::processEvents();

    // The longest stretch between two passes of the event loop during the read.
    Clock::time_point lastPass{};
    double maxGap = 0;
    const auto pass = QObject::connect(
        QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [&] {
            const auto now = Clock::now();
            if (lastPass != Clock::time_point{}) {
                maxGap = std::max(
                    maxGap, std::chrono::duration<double, std::milli>(now - lastPass).count());
            }
            lastPass = now;
        });
    const bool ok = RunCase("archive-page-8d", baud, controller, [&] {
        lastPass = Clock::now();
        page.AdvGlowButton_ReadArx->click();
        return host.ok && page.Records().size() > 0;
    });
    QObject::disconnect(pass);
    if (ok) {
        std::printf("archive-page-8d %u max_gap_ms=%.1f records=%zu\n", unsigned(baud), maxGap,
                    page.Records().size());
        std::fflush(stdout);
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (const auto status = HandleArguments(argc, argv)) {
        return *status;
    }

    bool ok = true;
    for (std::uint32_t baud : {9600u, 19200u}) {
        ok = Bench(baud) && ok;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    for (std::uint32_t baud : {9600u, 19200u}) {
        ok = BenchArchivePage(baud) && ok;
    }
    return ok ? 0 : 1;
}
