// The device model over the Modbus driver and a simulated controller on a
// pseudo-terminal: what the tool really does on connect, read, write, manual
// control and archive.
#include "SimulatedLine.h"

#include "device/ProgressCodes.h"
#include "device/TKT41.h"
#include "driver/OleDateTime.h"
#include "driver/SerialPortError.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kt41::testing {
namespace {

using namespace std::chrono_literals;
using device::TKT41;
using driver::CivilDateTime;

struct RecordingSink : driver::ProgressSink {
    std::vector<std::pair<int, std::uint32_t>> Codes;
    void Progress(int code, std::uint32_t lParam) override { Codes.emplace_back(code, lParam); }
    void ShowMessage(const std::string&, const std::string&, driver::MessageIcon) override {}
};

class ModelEndToEnd : public ::testing::Test {
protected:
    ModelEndToEnd() {
        model.AttachPort(&line.Port, &sink);
        std::array<std::uint8_t, 2> version{};
        EXPECT_TRUE(model.ConnectDevice(1, version));
        sink.Codes.clear();
        line.Controller.ClearCalls();
    }

    // The records a model holds after reading this configuration.
    static void ExpectModelHolds(const TKT41& m, const sim::Configuration& cfg) {
        EXPECT_EQ(m.Contour1, cfg.Contour1);
        EXPECT_EQ(m.Contour2, cfg.Contour2);
        EXPECT_EQ(m.Contour3, cfg.Contour3);
        EXPECT_EQ(m.Contour4, cfg.Contour4);
        EXPECT_EQ(m.Input_T, cfg.InputsTerm);
        EXPECT_EQ(m.Input_P, cfg.InputsAnalog);
        EXPECT_EQ(m.ParamDevice, cfg.Device);
        EXPECT_EQ(m.CalibrTemperatureAndPressure, cfg.Calibration);
    }

    SimulatedLine line{Transport::Pty};
    RecordingSink sink;
    TKT41 model{line.Driver};
};

TEST_F(ModelEndToEnd, ReadConfigurationBringsTheDemoPlantIntoTheModel) {
    ASSERT_TRUE(model.ReadConfiguration());
    sim::Configuration expected = sim::DemoConfiguration();
    expected.Device.SerialNumber = line.Controller.Options().SerialNumber;
    expected.Device.ID_Device = 1;
    ExpectModelHolds(model, expected);
    EXPECT_EQ(sink.Codes, (std::vector<std::pair<int, std::uint32_t>>{{34, 0}, {4, 0}}));
    EXPECT_EQ(line.Controller.Calls().size(), 13u);
}

TEST_F(ModelEndToEnd, WriteConfigurationThenReadBackGivesTheSameRecords) {
    ASSERT_TRUE(model.ReadConfiguration());
    model.SetContourType(2, 1); // hot water becomes differential pressure
    model.SetContourParam(2, device::coRP_diff, 120);
    model.SetContourParam(1, device::coT_action, -15);
    model.SetContourType(4, 3);
    model.SetContourParam(4, device::coFD_Mode, 4);
    device::TWeekCalendar calendar;
    model.GetTlowCalendar(1, calendar);
    calendar.Day[6] = {7, 21, 24, 24};
    model.SetTlowCalendar(1, calendar);
    model.SetInputParam(6, 1, 4);
    model.SetAnalogInputParam(4, 3, 2500);
    model.SetDeviceParam(device::doVLV_stroke3, 240);
    model.SetPressCalibration(6100, 29900);
    ASSERT_TRUE(model.WriteConfiguration());
    EXPECT_EQ(line.Controller.Calls().size(), 13u + 16u);

    TKT41 fresh(line.Driver);
    fresh.AttachPort(&line.Port, nullptr);
    fresh.Address = 1;
    ASSERT_TRUE(fresh.ReadConfiguration());
    EXPECT_EQ(fresh.Contour1, model.Contour1);
    EXPECT_EQ(fresh.Contour2, model.Contour2);
    EXPECT_EQ(fresh.Contour3, model.Contour3);
    EXPECT_EQ(fresh.Contour4, model.Contour4);
    EXPECT_EQ(fresh.Input_T, model.Input_T);
    EXPECT_EQ(fresh.Input_P, model.Input_P);
    EXPECT_EQ(fresh.ParamDevice, model.ParamDevice);
    EXPECT_EQ(fresh.CalibrTemperatureAndPressure, model.CalibrTemperatureAndPressure);
    // The controller keeps it too.
    EXPECT_EQ(line.Controller.CurrentConfiguration().Contour2.RP_diff, 120);
}

TEST_F(ModelEndToEnd, AReadThatFailsHalfwayLeavesTheBlocksReadSoFar) {
    line.Driver.SetTimeouts({100ms, 20ms, 150ms, 50ms});
    line.Controller.AddFault({sim::FaultKind::NoAnswer, "Read_ParamConturEx_KT41", 0, 2});
    EXPECT_FALSE(model.ReadConfiguration());
    EXPECT_EQ(sink.Codes.back(), (std::pair<int, std::uint32_t>{4, 1}));
    EXPECT_EQ(model.Contour2.Tnorm, 60);      // read before the failure
    EXPECT_EQ(model.Contour3.ContourType, 2); // from the contour table
    EXPECT_EQ(model.Contour3.FeedMode, 0);    // its own block did not come
    EXPECT_EQ(model.ParamDevice.SerialNumber, 0);
}

TEST_F(ModelEndToEnd, ASecondConnectAttemptSucceedsAfterAMissedAnswer) {
    model.Address = 0;
    line.Port.Close();
    line.Driver.SetTimeouts({100ms, 20ms, 150ms, 50ms});
    // The request and the driver's retry go unanswered.
    line.Controller.AddFault({sim::FaultKind::NoAnswer, "Connect_Device_KT41", 0, 2});
    std::array<std::uint8_t, 2> version{};
    EXPECT_FALSE(model.ConnectDevice(1, version));
    EXPECT_TRUE(line.Port.Connected());
    EXPECT_TRUE(model.ConnectDevice(1, version));
    EXPECT_EQ(model.Address, 1);
    EXPECT_EQ(version, (std::array<std::uint8_t, 2>{3, 2}));
}

TEST_F(ModelEndToEnd, ManualControlReachesThePlant) {
    ASSERT_TRUE(model.ReadConfiguration());
    ASSERT_TRUE(model.ReadManualState());
    EXPECT_EQ(model.GetAnalogOutput(1), 40);
    ASSERT_TRUE(model.SetManualMode(1, 1));
    ASSERT_TRUE(model.SetPumpSwitch(2, 1));
    model.SetAnalogOutput(1, 120);
    ASSERT_TRUE(model.SetValveCommand(1, 1)); // open, contour 1 is in manual mode
    ASSERT_TRUE(model.SetValveCommand(3, 2)); // contour 3 is not: no effect

    TKT41 reader(line.Driver);
    reader.Address = 1;
    ASSERT_TRUE(reader.ReadManualState());
    EXPECT_EQ(reader.Manual.ManualMode, (std::array<std::uint8_t, 4>{1, 0, 0, 0}));
    EXPECT_EQ(reader.Manual.PumpSwitch, (std::array<std::uint8_t, 4>{0, 1, 0, 0}));
    EXPECT_EQ(reader.Manual.AnalogOut, (std::array<std::uint16_t, 2>{120, 40}));
    EXPECT_EQ(reader.Manual.ValveCommand, (std::array<std::uint8_t, 4>{1, 0, 0, 0}));

    device::TCurrentData data{};
    ASSERT_TRUE(model.ReadCurrentData(data));
    EXPECT_NE(data[3] & (1u << 1), 0u);  // "manual mode of contour 1"
    EXPECT_NE(data[3] & (1u << 15), 0u); // contour 4 switched off
    EXPECT_EQ(data[3] & (1u << 0), 0u);  // manual control changes no configuration
}

TEST_F(ModelEndToEnd, ArchiveAndClock) {
    line.Controller.SetClock(CivilDateTime{2023, 12, 6, 9, 30, 0});
    double now = 0;
    ASSERT_TRUE(model.ReadDateTime(now));
    EXPECT_EQ(driver::DecodeDateTime(now).Hour, 9);
    ASSERT_TRUE(model.ReadInputs()); // the analog scales come from the input types

    device::TArxRecord record;
    std::uint8_t found = 0;
    ASSERT_TRUE(model.ReadArchiveRecord(
        found, &record, driver::EncodeDateTime(CivilDateTime{2023, 12, 5, 14, 10, 0})));
    ASSERT_EQ(found, 1);
    EXPECT_EQ(record.Day, 5);
    EXPECT_EQ(record.Month, 12);
    EXPECT_EQ(record.Year, 23);
    EXPECT_EQ(record.Hour, 14);
    EXPECT_GT(record.Temp[1], record.Temp[2]); // heating supply above its return
    EXPECT_GT(record.Analog[0], 0.2f);         // feed pressure in MPa
    EXPECT_LT(record.Analog[0], 0.5f);
}

TEST_F(ModelEndToEnd, APortThatFailsReachesTheCallerExceptForThePolls) {
    line.Pty.reset();
    EXPECT_THROW(model.ReadConfiguration(), driver::SerialPortError);
    device::TCurrentData data{};
    EXPECT_FALSE(model.ReadCurrentData(data));
    std::uint16_t a = 0, b = 0;
    EXPECT_FALSE(model.ReadAdcCodes(a, b));
}

} // namespace
} // namespace kt41::testing
