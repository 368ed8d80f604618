#include "device/TKT41.h"
#include "support/FakeControllerDriver.h"

#include <gtest/gtest.h>

using namespace kt41::device;
using kt41::testing::FakeControllerDriver;

class ModelRules : public ::testing::Test {
protected:
    FakeControllerDriver driver;
    TKT41 model{driver};
};

TEST_F(ModelRules, FreshModelIsAllZero) {
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(model.GetContourType(n), 0);
        EXPECT_EQ(model.GetManualMode(n), 0);
        EXPECT_EQ(model.GetAnalogInputType(n), 0);
    }
    EXPECT_EQ(model.GetAnalogOutput(1), 0);
    EXPECT_EQ(model.Contour1, TParamContur{});
    EXPECT_EQ(model.Contour4, TParamConturEx{});
    EXPECT_EQ(model.ParamDevice, TParamDevice{});
    EXPECT_EQ(model.PortRef, nullptr);
    EXPECT_EQ(model.Address, 0);
    // Out-of-range numbers give the documented neutral values.
    EXPECT_EQ(model.GetAnalogInputType(5), 1);
    EXPECT_EQ(model.GetAnalogInputAlarm(0), 2);
    EXPECT_EQ(model.GetAnalogOutput(3), 40);
}

TEST_F(ModelRules, ResetKeepsConnectionFacts) {
    kt41::driver::ComPort port;
    model.AttachPort(&port, nullptr);
    model.Address = 12;
    model.Contour1.Tnorm = 55;
    model.Reset();
    EXPECT_EQ(model.Contour1.Tnorm, 0);
    EXPECT_EQ(model.Address, 12);
    EXPECT_EQ(model.PortRef, &port);
    EXPECT_EQ(driver.Port, &port);
}

TEST_F(ModelRules, ContourTypeRules) {
    EXPECT_EQ(model.SetContourType(3, 4), 0);
    EXPECT_EQ(model.Contour3.ContourType, 0);
    model.SetContourType(4, 5);
    EXPECT_EQ(model.Contour4.ContourType, 0);
    model.SetContourType(4, 3);
    EXPECT_EQ(model.GetContourType(4), 3);

    struct Case {
        std::uint8_t feedBefore, type, feedAfter;
    };
    for (const Case c :
         {Case{4, 2, 2}, Case{3, 2, 1}, Case{1, 2, 1}, Case{4, 3, 4}, Case{4, 4, 4}}) {
        model.Contour1.FeedMode = c.feedBefore;
        EXPECT_EQ(model.SetContourType(1, c.type), c.feedAfter);
        EXPECT_EQ(model.Contour1.FeedMode, c.feedAfter);
        EXPECT_EQ(model.Contour1.ContourType, c.type);
    }
    model.Contour3.FeedMode = 4;
    EXPECT_EQ(model.SetContourType(3, 2), 2);

    EXPECT_EQ(model.SetContourType(5, 1), 0);
    model.Contour2.ContourType = 9;
    EXPECT_EQ(model.GetContourType(2), 0);
    EXPECT_EQ(model.GetContourType(0), 0);
}

TEST_F(ModelRules, ContourParamsAreCutToTheFieldWidth) {
    model.SetContourParam(1, coFD_Mode, 300);
    EXPECT_EQ(model.Contour1.FeedMode, 44);
    model.SetContourParam(1, coT_action, -5);
    EXPECT_EQ(model.Contour1.T_action, -5);
    model.SetContourParam(2, coCycle, 70000);
    EXPECT_EQ(model.Contour2.Cycle, 70000 & 0xFFFF);
    model.SetContourParam(4, coRP_diff, 29);
    EXPECT_EQ(model.Contour4.RP_diff, 29);
    EXPECT_EQ(model.GetContourParam(1, coT_action), -5);

    // Members the reduced record lacks, and other contours, change nothing.
    model.SetContourParam(3, coT_water_NR, 55);
    EXPECT_EQ(model.Contour3, TParamConturEx{});
    EXPECT_FALSE(model.GetContourParam(3, coT_water_NR).has_value());
    model.SetContourParam(0, coPK, 5);
    model.SetContourParam(5, coPK, 5);
    EXPECT_EQ(model.Contour1.PK, 0);
}

TEST_F(ModelRules, DeviceParamWidthsAndSelectors) {
    model.SetDeviceParam(doID_Device, 0x1234);
    EXPECT_EQ(model.ParamDevice.ID_Device, 0x34);
    model.SetDeviceParam(doPMP1_time_1, std::int16_t(65000 - 65536));
    EXPECT_EQ(model.ParamDevice.PMP1_time_1, 65000);
    model.SetDeviceParam(128 + doMBS_speed, 1); // the selector's low 7 bits count
    EXPECT_EQ(model.ParamDevice.MBS_speed, 1);
    const TParamDevice before = model.ParamDevice;
    model.SetDeviceParam(20, 7);
    EXPECT_EQ(model.ParamDevice, before);
}

TEST_F(ModelRules, ThermometerAlarmRule) {
    model.SetInputParam(3, ioFunc, 0);
    EXPECT_EQ(model.Input_T[2].Alarm, 2);
    model.SetInputParam(3, ioFunc, 2);
    EXPECT_EQ(model.Input_T[2].Alarm, 0);
    model.SetInputParam(3, ioAlarm, 1);
    model.SetInputParam(3, ioFunc, 4);
    EXPECT_EQ(model.Input_T[2].Alarm, 1);
    model.SetInputParam(7, ioFunc, 1); // ignored
    model.SetInputParam(1, ioJoinContour, 3);
    EXPECT_EQ(model.Input_T[0].Contour, 3);
}

TEST_F(ModelRules, AnalogDerivationRule) {
    struct Case {
        int func;
        std::uint8_t typeAfter, alarmAfter;
    };
    // Each case starts from InputType 1, Alarm 2.
    for (const Case c : {Case{0, 1, 2}, Case{1, 1, 0}, Case{5, 1, 0}, Case{6, 0, 2}, Case{7, 2, 2},
                         Case{8, 1, 2}}) {
        model.Input_P[1] = {0, 0, 2, 1, 0};
        model.SetAnalogInputParam(2, ioFunc, c.func);
        EXPECT_EQ(model.GetAnalogInputType(2), c.typeAfter) << c.func;
        EXPECT_EQ(model.GetAnalogInputAlarm(2), c.alarmAfter) << c.func;
        EXPECT_EQ(model.GetAnalogInputFunc(2), c.func);
    }
    // A kept alarm survives a change between pressure functions.
    model.SetAnalogInputParam(2, ioFunc, 6);
    model.SetAnalogInputParam(2, ioFunc, 3);
    EXPECT_EQ(model.GetAnalogInputType(2), 1);
    EXPECT_EQ(model.GetAnalogInputAlarm(2), 0);

    model.SetAnalogInputParam(4, ioMaxValAnalog, 70000);
    EXPECT_EQ(model.Input_P[3].MaxVal, 65535);
    model.SetAnalogInputParam(4, ioMaxValAnalog, -1);
    EXPECT_EQ(model.Input_P[3].MaxVal, 0);
    model.SetAnalogInputParam(4, ioMaxValAnalog, 2550);
    EXPECT_EQ(model.Input_P[3].MaxVal, 2550);
}

TEST_F(ModelRules, BlockAccessorsCopyWholeBlocksForValidContoursOnly) {
    std::array<std::int16_t, 8> tout{-30, -20, -10, 0, 5, 8, 10, 15}, tin{}, tback{};
    tin.fill(70);
    tback.fill(50);
    model.SetSchedule(2, tout, tin, tback, 8);
    model.SetSchedule(3, tin, tin, tin, 3); // ignored
    std::array<std::int16_t, 8> a{}, b{}, c{};
    std::uint16_t points = 99;
    EXPECT_TRUE(model.GetSchedule(2, a, b, c, points));
    EXPECT_EQ(a, tout);
    EXPECT_EQ(points, 8);
    EXPECT_FALSE(model.GetSchedule(3, a, b, c, points));
    EXPECT_EQ(points, 0);
    EXPECT_EQ(model.Contour1.Tout, (std::array<std::int16_t, 8>{}));

    TWeekCalendar cal;
    cal.Day[6] = {6, 9, 17, 22};
    model.SetPumpCalendar(1, cal);
    TWeekCalendar got;
    EXPECT_TRUE(model.GetPumpCalendar(1, got));
    EXPECT_EQ(got, cal);
    EXPECT_FALSE(model.GetTlowCalendar(4, got));

    model.SetWeekOnTlow(2, 1);
    EXPECT_EQ(model.GetWeekOnTlow(2), 1);
    EXPECT_EQ(model.GetWeekOnTlow(3), 0);

    TPumpGroup group;
    group.Pump_Reset = 7;
    model.SetPumpGroup(4, group);
    EXPECT_EQ(model.Contour4.PumpGroup.Pump_Reset, 7);
    TPumpGroup back;
    EXPECT_TRUE(model.GetPumpGroup(4, back));
    EXPECT_EQ(back, group);
    EXPECT_FALSE(model.GetPumpGroup(5, back));
}
