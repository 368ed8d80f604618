// kt41ctl diff, scan and write --backup on a simulated line with three
// controllers.
#include "cli/Kt41Ctl.h"
#include "config_file/ConfigFile.h"
#include "device/TKT41.h"
#include "driver/ModbusDriver.h"
#include "simulator/Controller.h"
#include "simulator/PtyServer.h"
#include "support/FakeControllerDriver.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

using namespace kt41;
namespace fs = std::filesystem;

namespace {

sim::ControllerOptions At(std::uint8_t unit, std::uint16_t serial) {
    sim::ControllerOptions options;
    options.Address = unit;
    options.SerialNumber = serial;
    options.ArchiveDays = 0;
    return options;
}

} // namespace

class LineCommands : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kt41_line_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        first.ShareLine(second);
        first.ShareLine(third);
        pty = std::make_unique<sim::PtyServer>(first);
        // Generous waits for a busy test machine: an answer that came late
        // would look like a missing controller.
        driver::LineTimeouts probe = driver::ProbeTimeouts();
        probe.Turnaround = std::chrono::milliseconds(300);
        driver.SetProbeTimeouts(probe);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string PathOf(const std::string& name) const { return (dir / name).string(); }

    int Run(std::vector<std::string> args) {
        out.str({});
        err.str({});
        cli::Kt41Ctl ctl(driver, out, err);
        ctl.DriverError = [this] { return driver.LastError(); };
        return ctl.Run(args);
    }

    fs::path dir;
    sim::Controller first{At(2, 1002)};
    sim::Controller second{At(5, 1005)};
    sim::Controller third{At(9, 1009)};
    std::unique_ptr<sim::PtyServer> pty;
    driver::ModbusDriver driver;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(LineCommands, ScanListsExactlyTheControllersOnTheLine) {
    ASSERT_EQ(Run({"scan", "--port", pty->SlavePath(), "--last", "10", "--baud", "9600,19200"}),
              cli::kExitOk)
        << err.str();
    EXPECT_EQ(out.str(), "2\t1002\t41\t3.2\n5\t1005\t41\t3.2\n9\t1009\t41\t3.2\n");
    EXPECT_NE(err.str().find("Найдено приборов: 3"), std::string::npos) << err.str();
    // One identity question per controller: found at 9600, not asked again at
    // 19200, and never repeated.
    for (sim::Controller* c : {&first, &second, &third}) {
        EXPECT_EQ(c->CallCount("Connect_Device_KT41"), 1);
    }
}

TEST_F(LineCommands, CtrlCStopsTheScanAndKeepsWhatWasFound) {
    second.SetCallObserver([](const sim::CallRecord&) { std::raise(SIGINT); });
    EXPECT_EQ(Run({"scan", "--port", pty->SlavePath(), "--last", "12", "--baud", "9600"}),
              cli::kExitFailure);
    EXPECT_EQ(out.str(), "2\t1002\t41\t3.2\n5\t1005\t41\t3.2\n");
    EXPECT_NE(err.str().find("Поиск прерван"), std::string::npos) << err.str();
    EXPECT_EQ(third.CallCount("Connect_Device_KT41"), 0);
    EXPECT_NE(std::signal(SIGINT, SIG_DFL), SIG_IGN); // the handler was put back
}

TEST_F(LineCommands, DiffShowsWhatAWriteWouldChange) {
    const std::string file = PathOf("R50_№ 01005.c50");
    ASSERT_EQ(Run({"read", "--port", pty->SlavePath(), "--address", "5", "-o", file}), cli::kExitOk)
        << err.str();
    const std::vector<std::string> device = {"--port", pty->SlavePath(), "--address", "5"};
    const auto diff = [&](const std::string& a, const std::string& b) {
        std::vector<std::string> args = {"diff", a, b};
        args.insert(args.end(), device.begin(), device.end());
        return Run(args);
    };
    EXPECT_EQ(diff(file, "device"), 0) << out.str() << err.str();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(diff(file, file), 0);

    kt41::testing::FakeControllerDriver none;
    device::TKT41 edited(none);
    ASSERT_TRUE(config_file::LoadFromFile(edited, file));
    edited.Contour1.Tnorm = 61;
    edited.CalibrTemperatureAndPressure.K_P1 += 3;
    const std::string changed = PathOf("changed.c50");
    ASSERT_TRUE(config_file::SaveToFile(edited, changed));
    const std::string tnormBefore = std::to_string(second.CurrentConfiguration().Contour1.Tnorm);
    EXPECT_EQ(diff(changed, "device"), 1);
    std::istringstream lines(out.str());
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line, "Контур 1\tНормальная темп-ра горячей воды, град\t61\t" + tnormBefore);
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line.rfind("Калибровка\tK_P1\t", 0), 0u) << line;
    EXPECT_FALSE(std::getline(lines, line));

    // Another controller's configuration: its identity is listed after the
    // settings and does not count.
    EXPECT_EQ(Run({"diff", file, "device", "--port", pty->SlavePath(), "--address", "9"}), 0)
        << out.str();
    EXPECT_NE(out.str().find("Серийный номер\t01005\t01009"), std::string::npos) << out.str();
}

TEST_F(LineCommands, DiffTroubleExitsWithTwo) {
    EXPECT_EQ(Run({"diff", PathOf("missing.c50"), PathOf("missing.c50")}), 2);
    EXPECT_NE(err.str().find("missing.c50"), std::string::npos);
    EXPECT_EQ(Run({"diff", PathOf("missing.c50"), "device"}), 2); // no --port
    // Nobody at address 7.
    const std::string file = PathOf("a.c50");
    ASSERT_EQ(Run({"read", "--port", pty->SlavePath(), "--address", "2", "-o", file}), 0);
    EXPECT_EQ(Run({"diff", file, "device", "--port", pty->SlavePath(), "--address", "7"}), 2);
    EXPECT_EQ(Run({"diff", file, "device", "--port", PathOf("no-such-port"), "--address", "2"}), 2);
}

TEST_F(LineCommands, WriteBackupKeepsTheReplacedConfiguration) {
    const std::string file = PathOf("new.c50");
    ASSERT_EQ(Run({"read", "--port", pty->SlavePath(), "--address", "5", "-o", file}), 0);
    const auto before = second.CurrentConfiguration();
    kt41::testing::FakeControllerDriver none;
    device::TKT41 edited(none);
    ASSERT_TRUE(config_file::LoadFromFile(edited, file));
    edited.Contour2.Cycle = std::uint16_t(before.Contour2.Cycle + 10);
    ASSERT_TRUE(config_file::SaveToFile(edited, file));

    const std::string backup = PathOf("backup.c50");
    ASSERT_EQ(
        Run({"write", "--port", pty->SlavePath(), "--address", "5", "--backup", backup, file}), 0)
        << err.str();
    device::TKT41 saved(none);
    ASSERT_TRUE(config_file::LoadFromFile(saved, backup));
    EXPECT_EQ(saved.Contour2.Cycle, before.Contour2.Cycle); // the old value
    EXPECT_EQ(second.CurrentConfiguration().Contour2.Cycle, before.Contour2.Cycle + 10);

    // A backup that cannot be saved: nothing is written.
    second.ClearCalls();
    EXPECT_EQ(Run({"write", "--port", pty->SlavePath(), "--address", "5", "--backup",
                   PathOf("no/such/folder/b.c50"), file}),
              1);
    EXPECT_NE(err.str().find("запись не выполнена"), std::string::npos) << err.str();
    EXPECT_EQ(second.CallCount("Write_ParamInput_Term_KT41"), 0);
}
