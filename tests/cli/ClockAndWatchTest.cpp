#include "CliFixture.h"

#include "cli/Arguments.h"
#include "cli/Watch.h"
#include "driver/OleDateTime.h"

#include <chrono>
#include <csignal>
#include <thread>

using namespace kt41::cli;
using kt41::testing::FakeControllerDriver;

namespace {

std::vector<std::string> Line(const char* command) {
    return {command, "--port", "/dev/ttyUSB7", "--address", "17"};
}

extern "C" void MarkerHandler(int) {}

} // namespace

class ClockAndWatch : public kt41::testing::CliTest {};

TEST_F(ClockAndWatch, ClockPrintsTheWindowsLines) {
    driver.DateTime = kt41::driver::EncodeDateTime({2025, 1, 1, 14, 5, 9});
    ASSERT_EQ(Run(Line("clock")), kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Дата:\t1 января 2025 года, Среда\nВремя:\t14:05:09\n");

    driver.Calls.clear();
    driver.FailAtCall = 2; // the clock read after the connect
    EXPECT_EQ(Run(Line("clock")), kExitFailure);
    EXPECT_TRUE(out.str().empty());
    EXPECT_NE(err.str().find("не удалось прочитать часы контроллера"), std::string::npos);
    EXPECT_EQ(driver.Calls.back(), "Read_DateTime_KT41");
}

TEST_F(ClockAndWatch, WatchPeriodOnTheCommandLine) {
    auto args = Line("current");
    args.insert(args.end(), {"--watch", "30"});
    const auto parsed = ParseArguments(args);
    ASSERT_TRUE(parsed.Parsed) << parsed.Error;
    EXPECT_EQ(parsed.Parsed->WatchSeconds, 30);
    EXPECT_EQ(ParseArguments(Line("current")).Parsed->WatchSeconds, 0);

    for (const std::vector<std::string>& tail : {std::vector<std::string>{"--watch", "0"},
                                                 {"--watch", "86401"},
                                                 {"--watch", "5s"},
                                                 {"--watch"}}) {
        auto bad = Line("current");
        bad.insert(bad.end(), tail.begin(), tail.end());
        EXPECT_EQ(Run(bad), kExitUsage) << tail.size();
        EXPECT_NE(err.str().find("--watch"), std::string::npos) << err.str();
    }
    auto clock = Line("clock");
    clock.insert(clock.end(), {"--watch", "5"});
    EXPECT_EQ(Run(clock), kExitUsage);
    EXPECT_TRUE(driver.Calls.empty());
}

TEST(RepeatUntilInterrupted, InterruptEndsItBetweenPollsAndDuringTheWait) {
    // An interrupt during a poll: that poll ends, no wait follows.
    int polls = 0;
    EXPECT_EQ(RepeatUntilInterrupted(std::chrono::hours(1),
                                     [&] {
                                         ++polls;
                                         std::raise(SIGINT);
                                     }),
              1);
    EXPECT_EQ(polls, 1);

    // An interrupt during the hour's wait ends the wait; the handler that was
    // there before comes back.
    const auto previous = std::signal(SIGINT, MarkerHandler);
    std::thread interrupter;
    EXPECT_EQ(RepeatUntilInterrupted(std::chrono::hours(1),
                                     [&] {
                                         interrupter = std::thread([] {
                                             std::this_thread::sleep_for(
                                                 std::chrono::milliseconds(100));
                                             std::raise(SIGINT);
                                         });
                                     }),
              1);
    interrupter.join();
    EXPECT_EQ(std::signal(SIGINT, previous), &MarkerHandler);
}

namespace {

// The user presses Ctrl+C while the third poll waits for its answer, which
// then does not come.
class InterruptedDriver : public FakeControllerDriver {
public:
    bool Get_Current_Data_KT41(std::uint8_t unit, std::span<std::uint8_t, 42> b) override {
        if (++polls == 3) {
            std::raise(SIGINT);
            return false;
        }
        return FakeControllerDriver::Get_Current_Data_KT41(unit, b);
    }
    int polls = 0;
};

} // namespace

TEST(WatchCommand, RepeatsTheListingUntilCtrlC) {
    InterruptedDriver driver;
    FakeControllerDriver::SetWord(driver.CurrentData, 3, 0x8000);
    std::ostringstream out, err;
    Kt41Ctl ctl(driver, out, err);
    auto args = Line("current");
    args.insert(args.end(), {"--watch", "1"});
    EXPECT_EQ(ctl.Run(args), kExitOk);
    EXPECT_EQ(driver.polls, 3);

    // Two listings, each after the line with the time of its poll; the failed
    // third poll is reported on standard error.
    const std::string text = out.str();
    std::size_t stamps = 0;
    for (std::size_t at = text.find("Опрос\t"); at != std::string::npos;
         at = text.find("Опрос\t", at + 1)) {
        ++stamps;
    }
    EXPECT_EQ(stamps, 2u);
    EXPECT_EQ(text.rfind("Опрос\t", 0), 0u);
    EXPECT_NE(text.find("Событие\t4-й контур отключен пользователем"), std::string::npos);
    EXPECT_NE(err.str().find("не удалось прочитать текущие показания"), std::string::npos);
}
