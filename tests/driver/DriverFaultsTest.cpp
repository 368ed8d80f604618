// Every injected fault against a representative of each kind of transaction
// (a block read, a block write, the archive's function 23, the connect), over
// both transports: a plain false result within the timeouts, the caller's
// buffer untouched, and the next call working again.
#include "BlockTable.h"
#include "SimulatedLine.h"

#include "driver/OleDateTime.h"
#include "driver/SerialPortError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <tuple>

namespace kt41::testing {
namespace {

using namespace std::chrono_literals;
using driver::CivilDateTime;
using sim::FaultKind;
using Clock = std::chrono::steady_clock;

// Short waits so that the faults run quickly; the late reply comes after the
// driver gave up but while it still lets the line settle.
const driver::LineTimeouts kShortTimeouts{150ms, 20ms, 150ms, 50ms};
constexpr auto kLateBy = 230ms;
// Well above the longest failed exchange these timeouts allow (about a third
// of a second): reaching it means something waited for good.
constexpr auto kHang = 1500ms;
constexpr std::size_t kGuard = 16;
constexpr std::uint8_t kFill = 0xA5;
const CivilDateTime kArchiveHour{2024, 5, 6, 7, 0, 0};

struct Operation {
    const char* Name;
    const char* Function;
    std::size_t Bytes;
    std::function<bool(SimulatedLine&, std::span<std::uint8_t>)> Call;
    std::function<std::vector<std::uint8_t>(SimulatedLine&)> Expected; // null for writes
};

std::vector<Operation> Operations() {
    return {
        {"block read", "Read_ParamContur_KT41", 240,
         [](SimulatedLine& l, std::span<std::uint8_t> b) {
             return l.Driver.Read_ParamContur_KT41(1, 1, Fixed<240>(b));
         },
         [](SimulatedLine& l) { return BigEndian(l.Controller.Words(sim::Block::Contour, 1)); }},
        {"block write", "Write_ParamDevice_KT41", 46,
         [](SimulatedLine& l, std::span<std::uint8_t>) {
             std::array<std::uint8_t, 46> params{};
             params[1] = 1;
             return l.Driver.Write_ParamDevice_KT41(1, params);
         },
         nullptr},
        {"archive", "Read_ArxRecord_KT41", 36,
         [](SimulatedLine& l, std::span<std::uint8_t> b) {
             std::uint8_t found = 0;
             const bool ok = l.Driver.Read_ArxRecord_KT41(1, driver::EncodeDateTime(kArchiveHour),
                                                          found, Fixed<36>(b));
             return ok && found == 1;
         },
         [](SimulatedLine& l) {
             const auto w = l.Controller.ArchiveRecord(kArchiveHour);
             return BigEndian(std::vector<std::uint16_t>(w->begin(), w->end()));
         }},
        {"connect", "Connect_Device_KT41", 2,
         [](SimulatedLine& l, std::span<std::uint8_t> b) {
             std::uint8_t address = 0;
             return l.Driver.Connect_Device_KT41(1, Fixed<2>(b), address);
         },
         [](SimulatedLine&) {
             return std::vector<std::uint8_t>{3, 2};
         }},
    };
}

class DriverFaults : public ::testing::TestWithParam<std::tuple<Transport, FaultKind>> {};

TEST_P(DriverFaults, FailCleanlyAndRecover) {
    const auto [transport, kind] = GetParam();
    SimulatedLine line(transport);
    line.Port.BaudRate = 115200;
    line.Driver.SetTimeouts(kShortTimeouts);
    line.Controller.SetClock(CivilDateTime{2024, 5, 8, 12, 0, 0});
    ASSERT_TRUE(line.Connect()) << line.Driver.LastError();

    for (const Operation& op : Operations()) {
        SCOPED_TRACE(op.Name);
        sim::Fault fault;
        fault.Kind = kind;
        fault.Function = op.Function;
        fault.Delay = kLateBy;
        line.Controller.AddFault(fault);

        std::vector<std::uint8_t> storage(op.Bytes + 2 * kGuard, kFill);
        const std::span<std::uint8_t> buffer(storage.data() + kGuard, op.Bytes);
        const auto start = Clock::now();
        EXPECT_FALSE(op.Call(line, buffer));
        EXPECT_LT(Clock::now() - start, kHang);
        EXPECT_FALSE(line.Driver.LastError().empty());
        EXPECT_EQ(std::count(storage.begin(), storage.end(), kFill), long(storage.size()))
            << "the caller's buffer or the bytes around it were written";
        ASSERT_EQ(line.Controller.Calls().back().Fault, kind);

        line.Controller.ClearFaults();
        ASSERT_TRUE(op.Call(line, buffer)) << "no recovery: " << line.Driver.LastError();
        if (op.Expected) {
            EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.end()), op.Expected(line));
        }
        EXPECT_EQ(storage[kGuard - 1], kFill);
        EXPECT_EQ(storage[kGuard + op.Bytes], kFill);
    }
}

INSTANTIATE_TEST_SUITE_P(AllKinds, DriverFaults,
                         ::testing::Combine(::testing::Values(Transport::Pty, Transport::Tcp),
                                            ::testing::ValuesIn(sim::AllFaultKinds())),
                         [](const auto& info) {
                             std::string name =
                                 TransportName(std::get<0>(info.param)) + "_" +
                                 std::string(sim::FaultKindName(std::get<1>(info.param)));
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

class DriverLineFailures : public ::testing::TestWithParam<Transport> {};

TEST_P(DriverLineFailures, AHeldPortIsASerialPortError) {
    SimulatedLine line(GetParam());
    if (GetParam() == Transport::Pty) {
        ASSERT_TRUE(line.Pty->Hold(true));
    } else {
        line.Tcp->Hold(true);
    }
    try {
        line.Connect();
        ADD_FAILURE() << "connected to a held port";
    } catch (const driver::SerialPortError& e) {
        if (GetParam() == Transport::Pty) {
            EXPECT_NE(std::string(e.what()).find("busy"), std::string::npos) << e.what();
        }
    }
    EXPECT_FALSE(line.Port.Connected());
    if (GetParam() == Transport::Pty) {
        line.Pty->Hold(false);
    } else {
        line.Tcp->Hold(false);
    }
    EXPECT_TRUE(line.Connect());
}

TEST_P(DriverLineFailures, ALineThatVanishesInUseIsASerialPortError) {
    SimulatedLine line(GetParam());
    line.Driver.SetTimeouts(kShortTimeouts);
    ASSERT_TRUE(line.Connect());
    line.Pty.reset(); // the device is unplugged / the gateway goes away
    line.Tcp.reset();
    std::array<std::uint8_t, 16> table{};
    table.fill(kFill);
    const auto start = Clock::now();
    EXPECT_THROW(line.Driver.Read_ConfConturs_KT41(1, table), driver::SerialPortError);
    EXPECT_LT(Clock::now() - start, kHang);
    EXPECT_EQ(std::count(table.begin(), table.end(), kFill), long(table.size()));
    // It stays an error of the line until the port is closed.
    EXPECT_THROW(line.Driver.Read_ConfConturs_KT41(1, table), driver::SerialPortError);
    line.Port.Close();
    EXPECT_FALSE(line.Driver.Read_ConfConturs_KT41(1, table));
}

INSTANTIATE_TEST_SUITE_P(BothTransports, DriverLineFailures,
                         ::testing::Values(Transport::Pty, Transport::Tcp),
                         [](const auto& info) { return TransportName(info.param); });

} // namespace
} // namespace kt41::testing
