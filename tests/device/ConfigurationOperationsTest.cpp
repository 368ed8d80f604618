#include "device/ProgressCodes.h"
#include "device/ProgressTexts.h"
#include "device/TKT41.h"
#include "support/FakeControllerDriver.h"

#include <gtest/gtest.h>

using namespace kt41::device;
using kt41::driver::SerialPortError;
using kt41::testing::FakeControllerDriver;
using kt41::testing::RecordingSink;
using Codes = std::vector<std::pair<int, std::uint32_t>>;

namespace {

const std::vector<std::string> kReadSequence = {
    "Read_ParamInput_Term_KT41",  "Read_ParamInput_Analog_KT41", "Read_ConfConturs_KT41",
    "Read_ParamContur_KT41(1)",   "Read_ConfConturs_KT41",       "Read_ParamContur_KT41(2)",
    "Read_ConfConturs_KT41",      "Read_ParamConturEx_KT41(3)",  "Read_ConfConturs_KT41",
    "Read_ParamConturEx_KT41(4)", "Read_DeviceInfo_KT41",        "Read_ParamDevice_KT41",
    "Read_CalibrTermDav_KT41",
};

const std::vector<std::string> kWriteSequence = {
    "Write_ParamInput_Term_KT41", "Write_ParamInput_Analog_KT41", "Write_ParamContur_KT41(1)",
    "Read_ConfConturs_KT41",      "Write_ConfConturs_KT41",       "Write_ParamContur_KT41(2)",
    "Read_ConfConturs_KT41",      "Write_ConfConturs_KT41",       "Write_ParamConturEx_KT41(3)",
    "Read_ConfConturs_KT41",      "Write_ConfConturs_KT41",       "Write_ParamConturEx_KT41(4)",
    "Read_ConfConturs_KT41",      "Write_ConfConturs_KT41",       "Write_ParamDevice_KT41",
    "Write_CalibrTermDav_KT41",
};

// A configuration in which every field holds a value that tells it apart.
void FillDistinctive(TKT41& m) {
    auto fillFull = [](TParamContur& c, int base) {
        c.ContourType = std::uint8_t(base == 1 ? 4 : 5);
        c.ConturCtrlMode = std::uint8_t(base);
        c.dT_low = std::uint16_t(base + 2);
        c.RegulateMode = 1;
        for (int i = 0; i < 8; ++i) {
            c.Tout[i] = std::int16_t(-30 + 5 * i + base);
            c.Tin[i] = std::int16_t(90 - i);
            c.Tback[i] = std::int16_t(60 - i);
        }
        c.Qt_Points = 8;
        c.T_alarm_max = 120;
        c.T_alarm_min = -40;
        c.VLV_Max_Up = 95;
        c.VLV_Max_Down = 3;
        c.VLV_Condition = 2;
        c.BC_corr_ON = 1;
        c.dBC_High = -3;
        c.dBC_Low = 17;
        c.P_alarm_max = 250;
        c.P_alarm_min = 10;
        c.PK = 12;
        c.DK = 4;
        c.Cycle = std::uint16_t(100 + base);
        c.Week_ON_Tlow = 1;
        c.Week_ON_Pump = 1;
        for (int d = 0; d < 7; ++d) {
            c.Calendar_Tlow.Day[d] = {std::uint16_t(d), 8, 17, 24};
            c.Calendar_Pump.Day[d] = {6, std::uint16_t(9 + d), 18, 23};
        }
        c.PumpGroup = {1, 1, 0, 1, 1, 0, 15, 20, 2, 120};
        c.Tnorm = 55;
        c.Tlow = 40;
        c.Tbc = 45;
        c.Tmin = 35;
        c.FeedMode = 3;
        c.FeedReset = 2;
        c.VLV_pause = 30;
        c.PMP_timeout = 12;
        c.DavHigh_Feed1 = 150;
        c.DavLow_Feed1 = 120;
        c.DavHigh_Feed2 = 160;
        c.DavLow_Feed2 = 130;
        c.RP_diff = 29;
        c.T_action = -15;
        c.RP_diff_max = 45;
    };
    fillFull(m.Contour1, 1);
    fillFull(m.Contour2, 2);
    auto fillReduced = [](TParamConturEx& c, int base) {
        c.ContourType = std::uint8_t(base - 1);
        c.ConturCtrlMode = 1;
        c.PumpGroup = {1, 0, 1, 0, 0, 1, 5, 6, 1, 60};
        c.FeedMode = 2;
        c.FeedReset = 1;
        c.VLV_pause = std::uint16_t(base);
        c.PMP_timeout = 7;
        c.DavHigh_Feed1 = 201;
        c.DavLow_Feed1 = 101;
        c.DavHigh_Feed2 = 202;
        c.DavLow_Feed2 = 102;
        c.P_alarm_max = 300;
        c.P_alarm_min = 1;
        c.PK = 15;
        c.DK = 0;
        c.Cycle = 3600;
        c.RP_diff = 88;
        c.T_action = -50;
        c.RP_diff_max = 99;
    };
    fillReduced(m.Contour3, 3);
    fillReduced(m.Contour4, 4);
    for (int n = 0; n < 6; ++n) {
        m.Input_T[n] = {std::uint8_t(n % 4), std::uint8_t(n + 1), std::uint8_t(n % 2)};
    }
    m.Input_P[0] = {1, 1, 1, 1, 250};
    m.Input_P[1] = {2, 6, 2, 0, 10000};
    m.Input_P[2] = {3, 7, 2, 2, 4000};
    m.Input_P[3] = {4, 0, 2, 0, 100};
    m.ParamDevice.MBS_speed = 1;
    m.ParamDevice.VLV_stroke1 = 180;
    m.ParamDevice.VLV_stroke2 = 181;
    m.ParamDevice.VLV_stroke3 = 182;
    m.ParamDevice.VLV_stroke4 = 183;
    m.ParamDevice.PMP1_time_1 = 1000;
    m.ParamDevice.PMP2_time_1 = 2000;
    m.ParamDevice.PMP1_time_2 = 3000;
    m.ParamDevice.PMP2_time_2 = 65000;
    m.ParamDevice.NO_M1 = 1;
    m.ParamDevice.NO_M4 = 1;
    m.ParamDevice.NO_M8 = 1;
    m.ParamDevice.NO_MP2 = 1;
    m.CalibrTemperatureAndPressure = {31000, 32000, 1, 33000, 34000};
}

} // namespace

class ConfigurationOperations : public ::testing::Test {
protected:
    FakeControllerDriver driver;
    RecordingSink sink;
    TKT41 model{driver};

    void SetUp() override {
        model.AttachPort(nullptr, &sink);
        std::array<std::uint8_t, 2> version{};
        ASSERT_TRUE(model.ConnectDevice(5, version));
        driver.Calls.clear();
    }
};

TEST_F(ConfigurationOperations, ConnectStoresTheAnsweringAddressAndSendsNothing) {
    EXPECT_EQ(model.Address, 17);
    EXPECT_TRUE(sink.Codes.empty());
}

TEST_F(ConfigurationOperations, ReadMakesThirteenCallsAndTwoNotifications) {
    ASSERT_TRUE(model.ReadConfiguration());
    EXPECT_EQ(driver.Calls, kReadSequence);
    EXPECT_EQ(sink.Codes, (Codes{{34, 0}, {4, 0}}));
    EXPECT_EQ(model.ParamDevice.ID_Device, model.Address);
}

TEST_F(ConfigurationOperations, WriteMakesSixteenCallsAndTwoNotifications) {
    ASSERT_TRUE(model.WriteConfiguration());
    EXPECT_EQ(driver.Calls, kWriteSequence);
    EXPECT_EQ(sink.Codes, (Codes{{35, 0}, {5, 0}}));
}

TEST_F(ConfigurationOperations, WriteThenReadGivesTheSameConfiguration) {
    FillDistinctive(model);
    FakeControllerDriver::SetWord(driver.DeviceInfo, 0, 41);
    FakeControllerDriver::SetWord(driver.DeviceInfo, 1, 1234);
    FakeControllerDriver::SetWord(driver.DeviceInfo, 2, 0x0203);
    FakeControllerDriver::SetWord(driver.DeviceInfo, 3, 0x160C);
    ASSERT_TRUE(model.WriteConfiguration());

    TParamContur c1 = model.Contour1, c2 = model.Contour2;
    TParamConturEx c3 = model.Contour3, c4 = model.Contour4;
    auto inputsT = model.Input_T;
    auto inputsP = model.Input_P;
    TParamDevice device = model.ParamDevice;
    TCalibrTermDav calibration = model.CalibrTemperatureAndPressure;

    model.Reset();
    ASSERT_TRUE(model.ReadConfiguration());
    EXPECT_EQ(model.Contour1, c1);
    EXPECT_EQ(model.Contour2, c2);
    EXPECT_EQ(model.Contour3, c3);
    EXPECT_EQ(model.Contour4, c4);
    EXPECT_EQ(model.CalibrTemperatureAndPressure, calibration);
    // Thermometer alarms travel as one bit, so 2 ("not applicable") reads back as 0;
    // the fill above uses 0 and 1 only.
    EXPECT_EQ(model.Input_T, inputsT);
    // InputType does not travel: it is derived from the function after reading.
    for (auto& in : inputsP) {
        ApplyAnalogDerivationRule(in);
    }
    EXPECT_EQ(model.Input_P, inputsP);
    device.ID_Device = model.Address;
    device.Model = 41;
    device.SerialNumber = 1234;
    device.Version = 0x0203;
    device.Manufact_date = 0x160C;
    EXPECT_EQ(model.ParamDevice, device);
}

TEST_F(ConfigurationOperations, AFailedReadStopsAtTheFailingCall) {
    // What must hold after a failure at each call: the blocks read before it,
    // zeros after it.
    FakeControllerDriver::SetWord(driver.ContourTable, 0, 4);
    FakeControllerDriver::SetWord(driver.ContourTable, 2, 3);
    FakeControllerDriver::SetWord(driver.ContourTable, 7, 2);
    FakeControllerDriver::SetWord(driver.Contours[0], 74, 55);   // Tnorm of contour 1
    FakeControllerDriver::SetWord(driver.ContoursEx[1], 17, 99); // Cycle of contour 4
    FakeControllerDriver::SetWord(driver.InputsTerm, 0, 1);
    FakeControllerDriver::SetWord(driver.InputsAnalog, 8, 250);
    FakeControllerDriver::SetWord(driver.DeviceInfo, 1, 42);
    FakeControllerDriver::SetWord(driver.Calibration, 0, 777);

    for (int failAt = 1; failAt <= 13; ++failAt) {
        SCOPED_TRACE(failAt);
        driver.Calls.clear();
        sink.Codes.clear();
        driver.FailAtCall = failAt;
        model.Contour1.Tnorm = 11; // must be cleared by the reset at the start
        EXPECT_FALSE(model.ReadConfiguration());
        EXPECT_EQ(int(driver.Calls.size()), failAt);
        EXPECT_EQ(sink.Codes, (Codes{{34, 0}, {4, 1}}));
        EXPECT_EQ(model.Input_T[0].Contour, failAt > 1 ? 1 : 0);
        EXPECT_EQ(model.Input_P[0].MaxVal, failAt > 2 ? 250 : 0);
        EXPECT_EQ(model.Contour1.ContourType, failAt > 3 ? 4 : 0);
        EXPECT_EQ(model.Contour1.Tnorm, failAt > 4 ? 55 : 0);
        EXPECT_EQ(model.Contour3.ContourType, failAt > 7 ? 3 : 0);
        EXPECT_EQ(model.Contour4.ConturCtrlMode, failAt > 9 ? 2 : 0);
        EXPECT_EQ(model.Contour4.Cycle, failAt > 10 ? 99 : 0);
        EXPECT_EQ(model.ParamDevice.SerialNumber, failAt > 11 ? 42 : 0);
        EXPECT_EQ(model.CalibrTemperatureAndPressure.K_TERM_1, 0);
    }
}

TEST_F(ConfigurationOperations, AFailedWriteStopsAtTheFailingCall) {
    for (int failAt = 1; failAt <= 16; ++failAt) {
        SCOPED_TRACE(failAt);
        driver.Calls.clear();
        sink.Codes.clear();
        driver.FailAtCall = failAt;
        EXPECT_FALSE(model.WriteConfiguration());
        EXPECT_EQ(int(driver.Calls.size()), failAt);
        EXPECT_EQ(sink.Codes, (Codes{{35, 0}, {5, 1}}));
    }
}

// A write that stops at a call, by a false result or a port error, names the
// blocks that reached the controller before it; a block of which only the
// first calls got through is written in part.
TEST_F(ConfigurationOperations, AWriteCutShortNamesTheBlocksWritten) {
    const std::string tail = ". Прибор содержит смесь прежней и новой настройки.";
    const std::string c1 = "Записаны только: входы, контур 1";
    const std::string c3 = c1 + ", контур 2, контур 3";
    const std::vector<std::string> expected = {
        "", // the first call: nothing was written
        "Записаны только: входы (частично)" + tail,
        "Записаны только: входы" + tail,
        "Записаны только: входы, контур 1 (частично)" + tail,
        "Записаны только: входы, контур 1 (частично)" + tail,
        c1 + tail,
        c1 + ", контур 2 (частично)" + tail,
        c1 + ", контур 2 (частично)" + tail,
        c1 + ", контур 2" + tail,
        c1 + ", контур 2, контур 3 (частично)" + tail,
        c1 + ", контур 2, контур 3 (частично)" + tail,
        c3 + tail,
        c3 + ", контур 4 (частично)" + tail,
        c3 + ", контур 4 (частично)" + tail,
        c3 + ", контур 4" + tail,
        c3 + ", контур 4, параметры прибора" + tail,
    };
    ASSERT_EQ(expected.size(), kWriteSequence.size());
    for (const bool portError : {false, true}) {
        for (int at = 1; at <= int(expected.size()); ++at) {
            SCOPED_TRACE((portError ? "port error at call " : "failure at call ") +
                         std::to_string(at) + " " + kWriteSequence[at - 1]);
            driver.Calls.clear();
            driver.FailAtCall = portError ? 0 : at;
            driver.ThrowAtCall = portError ? at : 0;
            if (portError) {
                EXPECT_THROW(model.WriteConfiguration(), SerialPortError);
            } else {
                EXPECT_FALSE(model.WriteConfiguration());
            }
            EXPECT_EQ(PartialWriteText(model.LastConfigWrite()), expected[at - 1]);
        }
    }
    // A complete write has nothing to add, and forgets the one before.
    driver.FailAtCall = driver.ThrowAtCall = 0;
    ASSERT_TRUE(model.WriteConfiguration());
    EXPECT_TRUE(model.LastConfigWrite().Finished());
    EXPECT_EQ(PartialWriteText(model.LastConfigWrite()), "");
}

TEST_F(ConfigurationOperations, ContourWriteRewritesOnlyItsOwnTableWords) {
    // Contour 1 holds an impossible type 9, contour 3 a mode of 7.
    const std::array<std::uint16_t, 8> table{9, 1, 2, 3, 1, 0, 7, 2};
    for (int k = 0; k < 8; ++k) {
        FakeControllerDriver::SetWord(driver.ContourTable, k, table[k]);
    }
    model.Contour2.ContourType = 5;
    model.Contour2.ConturCtrlMode = 2;
    ASSERT_TRUE(model.WriteContour(2, model.Contour2));
    std::array<std::uint16_t, 8> written{};
    for (int k = 0; k < 8; ++k) {
        written[k] = FakeControllerDriver::WordAt(driver.ContourTable, k);
    }
    EXPECT_EQ(written, (std::array<std::uint16_t, 8>{0, 5, 2, 3, 1, 2, 0, 2}));

    model.Contour4.ContourType = 1;
    model.Contour4.ConturCtrlMode = 1;
    ASSERT_TRUE(model.WriteContourEx(4, model.Contour4));
    EXPECT_EQ(FakeControllerDriver::WordAt(driver.ContourTable, 3), 1);
    EXPECT_EQ(FakeControllerDriver::WordAt(driver.ContourTable, 7), 1);
    EXPECT_EQ(FakeControllerDriver::WordAt(driver.ContourTable, 1), 5);
}

TEST_F(ConfigurationOperations, AFailedTableUpdateFailsTheContourWrite) {
    driver.FailAtCall = 3; // Write_ParamContur, Read_ConfConturs, Write_ConfConturs
    EXPECT_FALSE(model.WriteContour(1, model.Contour1));
    driver.Calls.clear();
    driver.FailAtCall = 2;
    EXPECT_FALSE(model.WriteContourEx(3, model.Contour3));
    EXPECT_EQ(driver.Calls.size(), 2u);
}

TEST_F(ConfigurationOperations, SerialPortErrorLeavesWithoutTheEndCode) {
    driver.ThrowAtCall = 5;
    EXPECT_THROW(model.ReadConfiguration(), SerialPortError);
    EXPECT_EQ(sink.Codes, (Codes{{34, 0}}));
    sink.Codes.clear();
    driver.Calls.clear();
    driver.ThrowAtCall = 16;
    EXPECT_THROW(model.WriteConfiguration(), SerialPortError);
    EXPECT_EQ(sink.Codes, (Codes{{35, 0}}));
}

TEST(ConfigurationWithoutSink, BehavesTheSameAndSendsNothing) {
    FakeControllerDriver driver;
    TKT41 model(driver);
    model.AttachPort(nullptr, nullptr);
    FillDistinctive(model);
    EXPECT_TRUE(model.WriteConfiguration());
    EXPECT_TRUE(model.ReadConfiguration());
    EXPECT_EQ(driver.Calls.size(), 29u);
    EXPECT_EQ(model.Contour1.Tnorm, 55);
}
