// kt41-bench: how long the tool's big exchanges take against the simulator on
// an emulated serial line, compared with the time their frames need on the
// wire. One line per case:
//   <case> <baud> measured_s=<seconds> wire_s=<seconds> ratio=<measured/wire>
// The wire time counts 10 bits per character and 3.5 characters of silence
// after every frame, for exactly the frames the simulator saw. The archive
// export is measured on its own (it exchanges nothing):
//   export-8d records=192 measured_s=<seconds>
#include "device/TKT41.h"
#include "driver/ComPort.h"
#include "driver/LineTiming.h"
#include "driver/ModbusDriver.h"
#include "driver/OleDateTime.h"
#include "simulator/Controller.h"
#include "simulator/PtyServer.h"
#include "spreadsheet/ArchiveWorkbook.h"

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
    "read against the simulator on an emulated serial line at 9600 and at 19200\n"
    "baud, and prints one line per case:\n"
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
    ok = BenchExport() && ok;
    return ok ? 0 : 1;
}
