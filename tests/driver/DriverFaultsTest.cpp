// Every injected fault against a representative of each kind of transaction
// (a block read, a block write, the archive's function 23, the connect), over
// both transports. A lost or damaged answer is asked for once more: one fault
// is survived with the right data, two in a row give a plain false result, the
// caller's buffer untouched, and the next call works again. An exception reply
// is the controller's refusal and is not asked for again. Answers meant for
// another request are never taken, and no answer may take longer than the
// exchange's deadline, however steadily its bytes come.
#include "BlockTable.h"
#include "SimulatedLine.h"

#include "driver/OleDateTime.h"
#include "driver/SerialPortError.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <chrono>
#include <tuple>

namespace kt41::testing {
namespace {

using namespace std::chrono_literals;
using driver::CivilDateTime;
using sim::FaultKind;

// Short waits so that the faults run quickly; the late reply comes after the
// driver gave up but while it still lets the line settle (serial line), or
// while it asks again (TCP).
const driver::LineTimeouts kShortTimeouts{150ms, 20ms, 200ms, 50ms};
constexpr auto kLateBy = 250ms;
constexpr std::size_t kGuard = 16;
constexpr std::uint8_t kFill = 0xA5;
const CivilDateTime kArchiveHour{2024, 5, 6, 7, 0, 0};

sim::Fault FaultOf(FaultKind kind, const char* function, int count) {
    sim::Fault fault;
    fault.Kind = kind;
    fault.Function = function;
    fault.Count = count;
    fault.Delay = kLateBy;
    return fault;
}

// A caller's buffer with guard bytes around it, all kFill.
struct GuardedBuffer {
    explicit GuardedBuffer(std::size_t bytes)
        : Storage(bytes + 2 * kGuard, kFill), Buffer(Storage.data() + kGuard, bytes) {}
    bool Untouched() const {
        return std::count(Storage.begin(), Storage.end(), kFill) == long(Storage.size());
    }
    bool GuardsUntouched() const {
        return Storage[kGuard - 1] == kFill && Storage[kGuard + Buffer.size()] == kFill;
    }
    std::vector<std::uint8_t> Bytes() const { return {Buffer.begin(), Buffer.end()}; }

    std::vector<std::uint8_t> Storage;
    std::span<std::uint8_t> Buffer;
};

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

std::string CaseName(Transport transport, FaultKind kind) {
    std::string name = TransportName(transport) + "_" + std::string(sim::FaultKindName(kind));
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

// The faults of a single answer, each on the transports that have it; the
// answers that are sent twice or drip in have tests of their own below.
std::vector<std::tuple<Transport, FaultKind>> AnswerFaults() {
    std::vector<std::tuple<Transport, FaultKind>> cases;
    for (Transport transport : {Transport::Pty, Transport::Tcp}) {
        for (FaultKind kind : sim::AllFaultKinds()) {
            if (kind == FaultKind::Drip || kind == FaultKind::AnswerTwice ||
                (sim::TcpOnly(kind) && transport != Transport::Tcp)) {
                continue;
            }
            cases.emplace_back(transport, kind);
        }
    }
    return cases;
}

class DriverFaults : public ::testing::TestWithParam<std::tuple<Transport, FaultKind>> {};

TEST_P(DriverFaults, OneIsSurvivedTwoInARowAreReported) {
    const auto [transport, kind] = GetParam();
    const bool refusal = kind == FaultKind::Exception;
    SimulatedLine line(transport);
    line.Port.BaudRate = 115200;
    line.Driver.SetTimeouts(kShortTimeouts);
    line.Controller.SetClock(CivilDateTime{2024, 5, 8, 12, 0, 0});
    ASSERT_TRUE(line.Connect()) << line.Driver.LastError();

    for (const Operation& op : Operations()) {
        SCOPED_TRACE(op.Name);
        // One fault: the request is sent again and the call gets its answer;
        // an exception reply fails the call at once.
        line.Controller.ClearFaults();
        line.Controller.ClearCalls();
        line.Controller.AddFault(FaultOf(kind, op.Function, 1));
        GuardedBuffer once(op.Bytes);
        EXPECT_EQ(op.Call(line, once.Buffer), !refusal) << line.Driver.LastError();
        EXPECT_EQ(line.Controller.CallCount(op.Function), refusal ? 1 : 2);
        ASSERT_EQ(line.Controller.Calls().front().Fault, kind);
        if (refusal) {
            EXPECT_TRUE(once.Untouched());
        } else if (op.Expected) {
            EXPECT_EQ(once.Bytes(), op.Expected(line));
            EXPECT_TRUE(once.GuardsUntouched());
        }

        // Two in a row: a plain false result, nothing written.
        if (!refusal) {
            line.Controller.ClearFaults();
            line.Controller.ClearCalls();
            line.Controller.AddFault(FaultOf(kind, op.Function, 2));
            GuardedBuffer twice(op.Bytes);
            EXPECT_FALSE(op.Call(line, twice.Buffer));
            EXPECT_FALSE(line.Driver.LastError().empty());
            EXPECT_TRUE(twice.Untouched())
                << "the caller's buffer or the bytes around it were written";
            EXPECT_EQ(line.Controller.CallCount(op.Function), 2);
        }

        // And the line works again.
        line.Controller.ClearFaults();
        GuardedBuffer after(op.Bytes);
        ASSERT_TRUE(op.Call(line, after.Buffer)) << "no recovery: " << line.Driver.LastError();
        if (op.Expected) {
            EXPECT_EQ(after.Bytes(), op.Expected(line));
        }
        EXPECT_TRUE(after.GuardsUntouched());
    }
}

INSTANTIATE_TEST_SUITE_P(AllKinds, DriverFaults, ::testing::ValuesIn(AnswerFaults()),
                         [](const auto& info) {
                             return CaseName(std::get<0>(info.param), std::get<1>(info.param));
                         });

// The thermometer and the 4-20 mA settings are blocks of the same size read
// with the same function: only the transaction tells their answers apart.
class StaleAnswers : public ::testing::TestWithParam<std::tuple<Transport, FaultKind>> {
protected:
    StaleAnswers() : line(std::get<0>(GetParam())) {
        line.Driver.SetTimeouts(kShortTimeouts);
        for (std::uint16_t k = 0; k < 12; ++k) {
            term.push_back(std::uint16_t(0x7100 + k));
            analog.push_back(std::uint16_t(0xA400 + k));
        }
        line.Controller.SetWords(sim::Block::InputsTerm, term);
        line.Controller.SetWords(sim::Block::InputsAnalog, analog);
    }

    // Reads both blocks, the thermometers first; true when each came back as
    // the controller holds it, false when the 4-20 mA read failed. A read that
    // returns the wrong block fails the test.
    bool ReadBothBlocks() {
        std::array<std::uint8_t, 24> t{};
        EXPECT_TRUE(line.Driver.Read_ParamInput_Term_KT41(1, t)) << line.Driver.LastError();
        EXPECT_EQ(HostWords(t), term);
        GuardedBuffer a(24);
        if (!line.Driver.Read_ParamInput_Analog_KT41(1, Fixed<24>(a.Buffer))) {
            EXPECT_TRUE(a.Untouched());
            return false;
        }
        EXPECT_EQ(HostWords(a.Bytes()), analog);
        return true;
    }

    SimulatedLine line;
    std::vector<std::uint16_t> term, analog;
};

TEST_P(StaleAnswers, AreNeverTakenForTheAnswerToThisRequest) {
    const FaultKind kind = std::get<1>(GetParam());
    ASSERT_TRUE(line.Connect()) << line.Driver.LastError();
    if (kind == FaultKind::AnswerTwice) {
        // Every answer comes twice; each read still gets its own block.
        line.Controller.AddFault({kind, "", 0, 0});
        for (int round = 0; round < 3; ++round) {
            EXPECT_TRUE(ReadBothBlocks());
        }
        return;
    }
    // The answer meant for another request is dropped, and the retry gets the
    // right one; twice in a row, the read fails.
    line.Controller.AddFault({kind, "Read_ParamInput_Analog_KT41", 0, 1});
    EXPECT_TRUE(ReadBothBlocks());
    line.Controller.AddFault({kind, "Read_ParamInput_Analog_KT41", 0, 2});
    EXPECT_FALSE(ReadBothBlocks());
    line.Controller.ClearFaults();
    EXPECT_TRUE(ReadBothBlocks());
}

INSTANTIATE_TEST_SUITE_P(Kinds, StaleAnswers,
                         ::testing::Values(std::tuple{Transport::Tcp, FaultKind::RepeatPrevious},
                                           std::tuple{Transport::Tcp, FaultKind::NextId},
                                           std::tuple{Transport::Tcp, FaultKind::AnswerTwice},
                                           std::tuple{Transport::Pty, FaultKind::AnswerTwice}),
                         [](const auto& info) {
                             return CaseName(std::get<0>(info.param), std::get<1>(info.param));
                         });

class DriverDeadline : public ::testing::TestWithParam<Transport> {};

TEST_P(DriverDeadline, AnAnswerThatDripsInPastTheDeadlineIsRefused) {
    // A pause between two bytes far below the byte timeout: only the deadline
    // of the exchange can end such an answer. The contour table's answer has
    // 21 bytes on a serial line (deadline about 0.4 s at 115200 baud) and 25
    // over TCP (deadline 0.4 s).
    SimulatedLine line(GetParam());
    line.Port.BaudRate = 115200;
    line.Driver.SetTimeouts({100ms, 300ms, 400ms, 300ms});
    ASSERT_TRUE(line.Connect()) << line.Driver.LastError();
    const auto table = BigEndian(line.Controller.Words(sim::Block::ContourTable));

    sim::Fault slow;
    slow.Kind = FaultKind::Drip;
    slow.Function = "Read_ConfConturs_KT41";
    slow.Count = 0;
    slow.Gap = 2ms; // about 50 ms in all: in time
    line.Controller.AddFault(slow);
    GuardedBuffer fair(16);
    ASSERT_TRUE(line.Driver.Read_ConfConturs_KT41(1, Fixed<16>(fair.Buffer)))
        << line.Driver.LastError();
    EXPECT_EQ(fair.Bytes(), table);

    line.Controller.ClearFaults();
    slow.Gap = 40ms; // 0.8 s or more in all: past the deadline
    line.Controller.AddFault(slow);
    GuardedBuffer dripped(16);
    EXPECT_FALSE(line.Driver.Read_ConfConturs_KT41(1, Fixed<16>(dripped.Buffer)));
    EXPECT_TRUE(dripped.Untouched());
    if (GetParam() == Transport::Tcp) {
        EXPECT_EQ(line.Driver.LastError(), "answer not complete in time");
    }
}

INSTANTIATE_TEST_SUITE_P(BothTransports, DriverDeadline,
                         ::testing::Values(Transport::Pty, Transport::Tcp),
                         [](const auto& info) { return TransportName(info.param); });

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
        // A held serial line is busy; a held gateway refuses the connection.
        EXPECT_EQ(e.Fault(), GetParam() == Transport::Pty ? driver::PortFault::Busy
                                                          : driver::PortFault::Refused);
        EXPECT_EQ(e.Port(), line.Port.PortName);
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
    try {
        line.Driver.Read_ConfConturs_KT41(1, table);
        ADD_FAILURE() << "no error of the line";
    } catch (const driver::SerialPortError& e) {
        // The device hangs up, or the gateway drops the connection.
        EXPECT_EQ(e.Fault(), driver::PortFault::Lost) << e.what();
    }
    EXPECT_EQ(std::count(table.begin(), table.end(), kFill), long(table.size()));
    // It stays an error of the line until the port is closed.
    EXPECT_THROW(line.Driver.Read_ConfConturs_KT41(1, table), driver::SerialPortError);
    line.Port.Close();
    EXPECT_FALSE(line.Driver.Read_ConfConturs_KT41(1, table));
}

// What the user is told depends on why a line could not be opened or failed.
TEST(PortFaults, ErrnoValuesTellWhatTheUserCanDo) {
    using driver::PortFault;
    const struct {
        int Error;
        PortFault Opening, InUse;
    } cases[] = {
        {ENOENT, PortFault::NoDevice, PortFault::Lost},
        {ENXIO, PortFault::NoDevice, PortFault::Lost},
        {EACCES, PortFault::NoPermission, PortFault::Lost},
        {EBUSY, PortFault::Busy, PortFault::Lost},
        {ECONNREFUSED, PortFault::Refused, PortFault::Refused},
        {EHOSTUNREACH, PortFault::Unreachable, PortFault::Unreachable},
        {ETIMEDOUT, PortFault::Unreachable, PortFault::Unreachable},
        {EIO, PortFault::Other, PortFault::Lost},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Error);
        EXPECT_EQ(driver::PortFaultOfOpenError(c.Error), c.Opening);
        EXPECT_EQ(driver::PortFaultOfLineError(c.Error), c.InUse);
    }
}

INSTANTIATE_TEST_SUITE_P(BothTransports, DriverLineFailures,
                         ::testing::Values(Transport::Pty, Transport::Tcp),
                         [](const auto& info) { return TransportName(info.param); });

} // namespace
} // namespace kt41::testing
