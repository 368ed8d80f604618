// Every driver function against the simulator, over a pseudo-terminal and over
// Modbus TCP.
#include "BlockTable.h"
#include "SimulatedLine.h"

#include "driver/OleDateTime.h"
#include "driver/RegisterMap.h"
#include "driver/SerialPortError.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kt41::testing {
namespace {

using driver::CivilDateTime;
using sim::Block;

class DriverFunctions : public ::testing::TestWithParam<Transport> {
protected:
    SimulatedLine line{GetParam()};
};

TEST_P(DriverFunctions, ConnectOpensThePortAndReturnsVersionAndAddress) {
    std::array<std::uint8_t, 2> version{};
    std::uint8_t address = 0;
    ASSERT_TRUE(line.Driver.Connect_Device_KT41(1, version, address)) << line.Driver.LastError();
    EXPECT_TRUE(line.Port.Connected());
    EXPECT_EQ(version, (std::array<std::uint8_t, 2>{3, 2})); // version word 0x0203
    EXPECT_EQ(address, 1);
    // A second connect uses the open port.
    EXPECT_TRUE(line.Driver.Connect_Device_KT41(1, version, address));
    EXPECT_EQ(line.Controller.CallCount("Connect_Device_KT41"), 2);
}

TEST_P(DriverFunctions, ConnectToAnAbsentUnitFailsAndLeavesThePortOpen) {
    line.Driver.SetTimeouts({std::chrono::milliseconds(100), std::chrono::milliseconds(20),
                             std::chrono::milliseconds(150), std::chrono::milliseconds(50)});
    std::array<std::uint8_t, 2> version{9, 9};
    std::uint8_t address = 0;
    EXPECT_FALSE(line.Driver.Connect_Device_KT41(5, version, address));
    EXPECT_EQ(version, (std::array<std::uint8_t, 2>{9, 9}));
    EXPECT_EQ(address, 0);
    EXPECT_TRUE(line.Port.Connected()); // the caller closes it
    EXPECT_EQ(line.Controller.CallCount("Connect_Device_KT41"), 0);
}

TEST_P(DriverFunctions, AControllerAnsweringAnyAddressReportsTheAddressAskedFor) {
    sim::ControllerOptions options;
    options.AnswerAnyAddress = true;
    SimulatedLine any(GetParam(), options);
    std::array<std::uint8_t, 2> version{};
    std::uint8_t address = 0;
    ASSERT_TRUE(any.Driver.Connect_Device_KT41(77, version, address));
    EXPECT_EQ(address, 77);
    std::array<std::uint8_t, 16> table{};
    EXPECT_TRUE(any.Driver.Read_ConfConturs_KT41(77, table));
}

TEST_P(DriverFunctions, EveryReadReturnsTheControllersWords) {
    ASSERT_TRUE(line.Connect());
    // Freeze the live blocks so that both sides see the same words.
    std::vector<std::uint16_t> current(21);
    for (std::size_t k = 0; k < current.size(); ++k) {
        current[k] = std::uint16_t(0x1100 + k);
    }
    line.Controller.SetWords(Block::CurrentData, current);
    line.Controller.SetWords(Block::AdcCodes, std::vector<std::uint16_t>{18250, 6010});
    for (const BlockCase& c : BlockCases()) {
        if (!c.Read) {
            continue;
        }
        SCOPED_TRACE(c.Name);
        std::vector<std::uint8_t> buffer(c.Bytes, 0xEE);
        ASSERT_TRUE(c.Read(line.Driver, buffer)) << line.Driver.LastError();
        const auto words = line.Controller.Words(c.Block, c.Index);
        EXPECT_EQ(HostWords(buffer),
                  std::vector<std::uint16_t>(words.begin() + long(c.Offset),
                                             words.begin() + long(c.Offset + c.Bytes / 2)));
    }
}

TEST_P(DriverFunctions, EveryWriteReachesTheControllerAndReadsBack) {
    ASSERT_TRUE(line.Connect());
    int row = 0;
    for (const BlockCase& c : BlockCases()) {
        if (!c.Write) {
            continue;
        }
        SCOPED_TRACE(c.Name);
        ++row;
        std::vector<std::uint16_t> words(c.Bytes / 2);
        for (std::size_t k = 0; k < words.size(); ++k) {
            words[k] = std::uint16_t(row * 0x0100 + k + 1);
        }
        if (std::string(c.Name) == "ManualModes") {
            words = {0b1011}; // contours 1, 2 and 4
        } else if (std::string(c.Name) == "PumpSwitches") {
            words = {1, 0, 0, 1};
        } else if (std::string(c.Name) == "AnalogOutputs") {
            words = {125, 200};
        } else if (c.Block == Block::ValveCommand) {
            words = {1000, 1, 2, 0, 1, 0, 0, 0, 0, 0};
        }
        ASSERT_TRUE(c.Write(line.Driver, BigEndian(words))) << line.Driver.LastError();
        const auto stored = line.Controller.Words(c.Block, c.Index);
        EXPECT_EQ(std::vector<std::uint16_t>(stored.begin() + long(c.Offset),
                                             stored.begin() + long(c.Offset + words.size())),
                  words);
        if (c.Read) {
            std::vector<std::uint8_t> back(c.Bytes);
            ASSERT_TRUE(c.Read(line.Driver, back));
            EXPECT_EQ(HostWords(back), words);
        }
    }
    // The valve commands drive the contours in manual mode: 1, 2 and 4.
    const auto manual = line.Controller.Words(Block::ManualState);
    EXPECT_EQ(std::vector<std::uint16_t>(manual.begin() + 8, manual.end()),
              (std::vector<std::uint16_t>{1, 2, 0, 1}));
}

TEST_P(DriverFunctions, ClockIsReadAsADateTimeValue) {
    ASSERT_TRUE(line.Connect());
    line.Controller.SetClock(CivilDateTime{2024, 2, 29, 13, 45, 30});
    double value = 0;
    ASSERT_TRUE(line.Driver.Read_DateTime_KT41(1, value));
    const double expected = driver::EncodeDateTime(CivilDateTime{2024, 2, 29, 13, 45, 30});
    EXPECT_NEAR(value, expected, 2.0 / 86400.0); // the clock runs on
}

TEST_P(DriverFunctions, ArchiveRecordOfTheHourContainingTheRequestedTime) {
    ASSERT_TRUE(line.Connect());
    line.Controller.SetClock(CivilDateTime{2024, 3, 10, 12, 0, 0});
    std::array<std::uint8_t, 36> buffer{};
    std::uint8_t found = 0;

    // 23:59:59.999 belongs to hour 23 of its own day, not to the next day.
    const double lastMoment =
        driver::EncodeDateTime(CivilDateTime{2024, 3, 8, 23, 59, 59}) + 0.999 / 86400.0;
    ASSERT_TRUE(line.Driver.Read_ArxRecord_KT41(1, lastMoment, found, buffer));
    ASSERT_EQ(found, 1);
    const auto expected = line.Controller.ArchiveRecord(CivilDateTime{2024, 3, 8, 23, 0, 0});
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(HostWords(buffer), std::vector<std::uint16_t>(expected->begin(), expected->end()));
    EXPECT_EQ(buffer[0], 3);  // month
    EXPECT_EQ(buffer[1], 24); // two-digit year
    EXPECT_EQ(buffer[2], 23); // hour
    EXPECT_EQ(buffer[3], 8);  // day

    // A gap, and a time not yet reached: no record, but the exchange worked.
    line.Controller.SetArchiveRecord(CivilDateTime{2024, 3, 9, 4, 0, 0}, std::nullopt);
    for (const CivilDateTime& t :
         {CivilDateTime{2024, 3, 9, 4, 30, 0}, CivilDateTime{2024, 3, 11, 0, 0, 0}}) {
        buffer.fill(0xAB);
        found = 7;
        ASSERT_TRUE(line.Driver.Read_ArxRecord_KT41(1, driver::EncodeDateTime(t), found, buffer));
        EXPECT_EQ(found, 0);
        EXPECT_EQ(buffer[0], 0xAB);
    }
}

TEST_P(DriverFunctions, PlainRegisterAccessAtUnitOne) {
    ASSERT_TRUE(line.Connect());
    std::array<std::uint8_t, 60> buffer{};
    for (std::size_t k = 0; k < buffer.size(); ++k) {
        buffer[k] = std::uint8_t(k + 1);
    }
    ASSERT_TRUE(line.Driver.WriteRegisters(1, 10, 30, buffer));
    const auto general = line.Controller.Words(Block::General);
    EXPECT_EQ(general[10], 0x0102);
    EXPECT_EQ(general[39], 0x3B3C);
    std::array<std::uint8_t, 60> back{};
    ASSERT_TRUE(line.Driver.ReadRegisters(1, 3, 10, 30, back));
    EXPECT_EQ(back, buffer);
    // Any register of the map can be read, e.g. the identity's serial number.
    ASSERT_TRUE(line.Driver.ReadRegisters(1, 3, driver::regmap::kIdentity.First + 1, 1, back));
    EXPECT_EQ(back[0] << 8 | back[1], 12345);
}

TEST_P(DriverFunctions, RequestsTheProtocolCannotCarryAreRefusedWithoutTraffic) {
    ASSERT_TRUE(line.Connect());
    line.Controller.ClearCalls();
    std::array<std::uint8_t, 300> buffer{};
    EXPECT_FALSE(line.Driver.ReadRegisters(1, 4, 0, 1, buffer));   // only function 03
    EXPECT_FALSE(line.Driver.ReadRegisters(1, 3, 0, 126, buffer)); // more than 125
    EXPECT_FALSE(line.Driver.ReadRegisters(1, 3, 0, 0, buffer));   // nothing
    EXPECT_FALSE(line.Driver.WriteRegisters(1, 0, 124, buffer));   // more than 123
    EXPECT_FALSE(line.Driver.ReadRegisters(1, 3, 0, 20, std::span(buffer).first(39)));
    EXPECT_FALSE(line.Driver.WriteRegisters(1, 0, 20, std::span(buffer).first(39)));
    std::array<std::uint8_t, 240> contour{};
    EXPECT_FALSE(line.Driver.Read_ParamContur_KT41(1, 3, contour)); // contours 1, 2 only
    std::array<std::uint8_t, 42> reduced{};
    EXPECT_FALSE(line.Driver.Write_ParamConturEx_KT41(1, 2, reduced)); // contours 3, 4 only
    EXPECT_FALSE(line.Driver.Read_ParamConturEx_KT41(0, 3, reduced));  // broadcast address
    EXPECT_TRUE(line.Controller.Calls().empty());
}

TEST_P(DriverFunctions, EveryFunctionReturnsFalseWhileThePortIsClosed) {
    ASSERT_TRUE(line.Connect());
    line.Port.Close();
    line.Controller.ClearCalls();
    for (const BlockCase& c : BlockCases()) {
        SCOPED_TRACE(c.Name);
        std::vector<std::uint8_t> buffer(c.Bytes);
        if (c.Read) {
            EXPECT_FALSE(c.Read(line.Driver, buffer));
        }
        if (c.Write) {
            EXPECT_FALSE(c.Write(line.Driver, buffer));
        }
    }
    double t = 0;
    EXPECT_FALSE(line.Driver.Read_DateTime_KT41(1, t));
    std::uint8_t found = 0;
    std::array<std::uint8_t, 36> record{};
    EXPECT_FALSE(line.Driver.Read_ArxRecord_KT41(1, 45000.0, found, record));
    std::array<std::uint8_t, 2> regs{};
    EXPECT_FALSE(line.Driver.ReadRegisters(1, 3, 0, 1, regs));
    EXPECT_FALSE(line.Driver.WriteRegisters(1, 0, 1, regs));
    EXPECT_TRUE(line.Controller.Calls().empty());

    // Without a port object at all, even connect is a plain false.
    driver::ModbusDriver unattached;
    std::array<std::uint8_t, 2> version{};
    std::uint8_t address = 0;
    EXPECT_FALSE(unattached.Connect_Device_KT41(1, version, address));
}

TEST_P(DriverFunctions, ClosingThePortReleasesItForTheNextProgram) {
    ASSERT_TRUE(line.Connect());
    driver::ComPort other;
    other.PortName = line.Port.PortName;
    driver::ModbusDriver otherDriver;
    otherDriver.SendComPortPtrToDLL(&other, nullptr);
    std::array<std::uint8_t, 2> version{};
    std::uint8_t address = 0;
    if (GetParam() == Transport::Pty) {
        // A serial line has one user at a time.
        try {
            otherDriver.Connect_Device_KT41(1, version, address);
            ADD_FAILURE() << "second program got the line";
        } catch (const driver::SerialPortError& e) {
            EXPECT_NE(std::string(e.what()).find("busy"), std::string::npos) << e.what();
        }
        EXPECT_FALSE(other.Connected());
    }
    line.Port.Close();
    EXPECT_TRUE(otherDriver.Connect_Device_KT41(1, version, address));
}

INSTANTIATE_TEST_SUITE_P(BothTransports, DriverFunctions,
                         ::testing::Values(Transport::Pty, Transport::Tcp),
                         [](const auto& info) { return TransportName(info.param); });

TEST(DriverPorts, PortsThatCannotBeOpenedRaiseSerialPortError) {
    for (const char* name : {"/dev/kt41-no-such-device", "COM1", "tcp://127.0.0.1:1",
                             "tcp://localhost", "tcp://:502", "tcp://host:99999"}) {
        SCOPED_TRACE(name);
        driver::ComPort port;
        port.PortName = name;
        driver::ModbusDriver d;
        d.SendComPortPtrToDLL(&port, nullptr);
        std::array<std::uint8_t, 2> version{};
        std::uint8_t address = 0;
        EXPECT_THROW(d.Connect_Device_KT41(1, version, address), driver::SerialPortError);
        EXPECT_FALSE(port.Connected());
    }
}

} // namespace
} // namespace kt41::testing
