// kt41-bench: how long the tool's big exchanges take against the simulator on
// an emulated serial line, compared with the time their frames need on the
// wire. One line per case:
//   <case> <baud> measured_s=<seconds> wire_s=<seconds> ratio=<measured/wire>
// The wire time counts 10 bits per character and 3.5 characters of silence
// after every frame, for exactly the frames the simulator saw.
// archive-page-8d is the archive page's own read loop (offscreen, the page
// shown, its grid filled and events run between records); it also reports
// max_gap_ms, the longest time the event loop went without processing events.
// Its plot tab is shown, so the plot draws while the read runs; with
// KT41_BENCH_GRID_ONLY=1 in the environment the grid is shown instead.
// The bus scan is held to its own bound instead:
//   scan-247 <baud> measured_s=<seconds> bound_s=<seconds> ratio=<measured/bound>
// where the bound is 247 x (one identity exchange on the wire + the probe's
// timeout), the most a scan of every address at one speed may take. The
// archive export is measured on its own (it exchanges nothing):
//   export-8d records=192 measured_s=<seconds>
#include "device/BusScan.h"
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
#include "spreadsheet/ArchiveWorkbook.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include <unistd.h>

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
    "read (by the model and by the archive page) against the simulator on an\n"
    "emulated serial line at 9600 and at 19200 baud, and a scan of all 247\n"
    "addresses at 9600 baud; prints one line per case:\n"
    "  <case> <baud> measured_s=<seconds> wire_s=<seconds> ratio=<measured/wire>\n"
    "wire_s is the time the frames of the case need on the wire (10 bits per\n"
    "character, 3.5 characters between frames). Then the archive export of the\n"
    "eight days into the delivered template, which exchanges nothing:\n"
    "  export-8d records=192 measured_s=<seconds>\n"
    "Exit status 0 when every case\n"
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
    void ExportArchive(const gui::ArchiveListing&) override {}

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
    if (qEnvironmentVariableIsEmpty("KT41_BENCH_GRID_ONLY")) {
        page.findChild<QTabWidget*>("TabControl_ArxView")->setCurrentIndex(1);
    }
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

// The workbook of an eight-day archive: 192 records as the archive grid shows
// them, filled into the delivered template and written to a temporary file
// (the desktop is not asked to open it).
bool BenchExport() {
    std::vector<std::string> headers = {"№\r\nп/п", "Дата  (Дн.Мс.Год)", "Час"};
    for (int t = 1; t <= 6; ++t) {
        headers.push_back("Т" + std::to_string(t) + ", °C");
    }
    headers.insert(headers.end(), {"Тздн 1, °C", "Тздн 2, °C", "P, \r\nМПа", "P, \r\nМПа",
                                   "Поз., \r\n%", "Поз., \r\n%"});
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < kArchiveHours; ++r) {
        char date[16];
        std::snprintf(date, sizeof date, "%02d.12.26", 11 - r / 24);
        char hour[8];
        std::snprintf(hour, sizeof hour, "%02d", 23 - r % 24);
        std::vector<std::string> row = {std::to_string(r + 1), date, hour};
        for (int c = 3; c <= 10; ++c) {
            row.push_back(std::to_string(40 + c) + "." + std::to_string(r % 10));
        }
        row.insert(row.end(), {"0.45", "0.52", "57", "100"});
        rows.push_back(std::move(row));
    }
    const std::filesystem::path workbook = std::filesystem::temp_directory_path() /
                                           ("kt41-bench-" + std::to_string(getpid()) + ".xlsx");
    const auto start = Clock::now();
    try {
        spreadsheet::ArchiveSheet sheet;
        sheet.Table = spreadsheet::BuildValueTable(headers, rows, ".");
        sheet.SerialNumber = "12345";
        sheet.DateText = "11.12.2026";
        sheet.PositionInputs = {false, false, true, true};
        spreadsheet::WriteArchiveWorkbook(std::filesystem::path(KT41_DELIVERED_TEMPLATE), workbook,
                                          sheet);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "export-8d: %s\n", error.what());
        return false;
    }
    const double measured = std::chrono::duration<double>(Clock::now() - start).count();
    std::filesystem::remove(workbook);
    std::printf("export-8d records=%d measured_s=%.3f\n", kArchiveHours, measured);
    std::fflush(stdout);
    return true;
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
    ok = BenchScan(9600) && ok;
    ok = BenchExport() && ok;
    return ok ? 0 : 1;
}
