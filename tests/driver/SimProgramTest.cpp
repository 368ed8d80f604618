// The kt41-sim program as a newcomer runs it, with the driver as its client.
#include "driver/ComPort.h"
#include "driver/ModbusDriver.h"

#include <gtest/gtest.h>

#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kt41::testing {
namespace {

// Starts kt41-sim with `args` and reads the port name it prints first.
class SimProgram {
public:
    explicit SimProgram(std::vector<std::string> args) {
        int out[2];
        if (::pipe(out) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        args.insert(args.begin(), KT41_SIM_PROGRAM);
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, KT41_SIM_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        for (char c = 0; PortName.empty() || PortName.back() != '\n';) {
            pollfd p{out[0], POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0 || ::read(out[0], &c, 1) != 1) {
                break;
            }
            PortName += c;
        }
        if (!PortName.empty() && PortName.back() == '\n') {
            PortName.pop_back();
        }
        ::close(out[0]);
    }

    // Asks the program to end and returns its exit status.
    int Stop() {
        if (pid_ <= 0) {
            return -1;
        }
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ~SimProgram() { Stop(); }

    std::string PortName;

private:
    pid_t pid_ = -1;
};

class SimProgramTest : public ::testing::TestWithParam<const char*> {};

TEST_P(SimProgramTest, ServesTheDriverWithTheFaultsGivenOnItsCommandLine) {
    // The first connect gets no answer, neither to its request nor to the
    // driver's retry.
    std::vector<std::string> args{"--fault", "no-answer,function=Connect_Device_KT41,count=2",
                                  "--any-address"};
    if (std::string(GetParam()) == "pty") {
        args.push_back("--pty");
    } else {
        args.insert(args.end(), {"--tcp", "0"});
    }
    SimProgram program(args);
    ASSERT_FALSE(program.PortName.empty());

    driver::ComPort port;
    port.PortName = program.PortName;
    driver::ModbusDriver driver;
    driver.SetTimeouts({std::chrono::milliseconds(100), std::chrono::milliseconds(20),
                        std::chrono::milliseconds(150), std::chrono::milliseconds(50)});
    driver.SendComPortPtrToDLL(&port, nullptr);
    std::array<std::uint8_t, 2> version{};
    std::uint8_t address = 0;
    EXPECT_FALSE(driver.Connect_Device_KT41(9, version, address)); // the injected fault
    ASSERT_TRUE(driver.Connect_Device_KT41(9, version, address)) << driver.LastError();
    EXPECT_EQ(address, 9);
    std::array<std::uint8_t, 16> table{};
    ASSERT_TRUE(driver.Read_ConfConturs_KT41(9, table));
    EXPECT_EQ(table, (std::array<std::uint8_t, 16>{0, 4, 0, 5, 0, 2, 0, 0, 0, 0, 0, 1}));
    port.Close();
    EXPECT_EQ(program.Stop(), 0);
}

INSTANTIATE_TEST_SUITE_P(Transports, SimProgramTest, ::testing::Values("pty", "tcp"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
} // namespace kt41::testing
