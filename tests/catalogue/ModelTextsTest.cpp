#include "catalogue/ModelTexts.h"
#include "device/TKT41.h"
#include "support/FakeControllerDriver.h"

#include <gtest/gtest.h>

using namespace kt41::catalogue;
using namespace kt41::device;
using kt41::testing::FakeControllerDriver;

class ModelTexts : public ::testing::Test {
protected:
    FakeControllerDriver driver;
    TKT41 model{driver};
};

TEST_F(ModelTexts, ContourParameters) {
    model.Contour1.RP_diff = 29;
    model.Contour2.dBC_High = -3;
    model.Contour3.T_action = -50;
    model.Contour4.FeedMode = 2;
    model.Contour3.ConturCtrlMode = 0x82;
    EXPECT_EQ(GetContourParamText(model, 1, coRP_diff, ","), "0,29");
    EXPECT_EQ(GetContourParamText(model, 2, coBC_delta_UP, "."), "-0.3");
    EXPECT_EQ(GetContourParamText(model, 3, coT_action, "."), "-50");
    EXPECT_EQ(GetContourParamText(model, 4, coFD_Mode, "."), "1 канал с аналог. вх. (4-20мА)");
    EXPECT_EQ(GetContourParamText(model, 3, coContour_OTP, "."), "Аналоговый выход (4-20 мА) №2");
    EXPECT_EQ(GetContourParamText(model, 1, coT_water_NR, "."), "0");
    // The reduced record has no temperature fields; no such contour or member.
    EXPECT_EQ(GetContourParamText(model, 3, coT_water_NR, "."), "");
    EXPECT_EQ(GetContourParamText(model, 4, coVLV_protect, "."), "");
    EXPECT_EQ(GetContourParamText(model, 5, coPK, "."), "");
    EXPECT_EQ(GetContourParamText(model, 0, coPK, "."), "");
    EXPECT_EQ(GetContourParamText(model, 1, TConturOpt(31), "."), "");
}

TEST_F(ModelTexts, DeviceParametersAndIdentity) {
    model.ParamDevice.ID_Device = 239;
    model.ParamDevice.MBS_speed = 1;
    model.ParamDevice.NO_M1 = 300;
    model.ParamDevice.SerialNumber = 42;
    model.ParamDevice.Manufact_date = 0x160C;
    model.ParamDevice.Version = 0x0203;
    EXPECT_EQ(GetDeviceParamText(model, doID_Device, "."), "239");
    EXPECT_EQ(GetDeviceParamText(model, doMBS_speed, "."), "19200");
    EXPECT_EQ(GetDeviceParamText(model, doNO_M1, "."), "300");
    EXPECT_EQ(GetDeviceParamText(model, doNO_M2, "."), "Нормально откр.");
    EXPECT_EQ(GetDeviceParamText(model, TDeviceOpt(20), "."), "");
    EXPECT_EQ(GetSerialNumberText(model), "00042");
    EXPECT_EQ(GetManufactureDateText(model), "12.2022");
    EXPECT_EQ(GetVersionText(model), "3.2 ");
    model.ParamDevice.SerialNumber = 65535;
    model.ParamDevice.Manufact_date = 0x1509;
    EXPECT_EQ(GetSerialNumberText(model), "65535");
    EXPECT_EQ(GetManufactureDateText(model), "09.2021");
}

TEST_F(ModelTexts, Inputs) {
    model.SetInputParam(3, ioFunc, 2);
    model.SetInputParam(3, ioJoinContour, 3);
    EXPECT_EQ(GetInputText(model, 3, 0), "Контур 1 и 2");
    EXPECT_EQ(GetInputText(model, 3, 1), "Смесь (ОТП)");
    EXPECT_EQ(GetInputText(model, 3, 2), "Нет");
    model.SetInputParam(3, ioFunc, 0);
    EXPECT_EQ(GetInputText(model, 3, 2), "---");
    EXPECT_EQ(GetInputText(model, 3, 3), "");
    EXPECT_EQ(GetInputText(model, 7, 0), "");

    model.SetAnalogInputParam(2, ioFunc, 7);
    model.SetAnalogInputParam(4, ioMaxValAnalog, 2550);
    model.SetAnalogInputParam(4, ioFunc, 3);
    model.SetAnalogInputParam(4, ioJoinContour, 4);
    EXPECT_EQ(GetAnalogInputText(model, 2, 1, "."), "Контрольный (расход)");
    EXPECT_EQ(GetAnalogInputText(model, 2, 2, "."), "---");
    EXPECT_EQ(GetAnalogInputText(model, 2, 4, "."), "м3/ч");
    EXPECT_EQ(GetAnalogInputText(model, 4, 0, "."), "Контур 4");
    EXPECT_EQ(GetAnalogInputText(model, 4, 3, ","), "25,50");
    EXPECT_EQ(GetAnalogInputText(model, 4, 4, "."), "МПа");
    model.Input_P[0].InputType = 9;
    EXPECT_EQ(GetAnalogInputText(model, 1, 4, "."), "9");
    EXPECT_EQ(GetAnalogInputText(model, 1, 5, "."), "");
    EXPECT_EQ(GetAnalogInputText(model, 5, 0, "."), "");
}

TEST_F(ModelTexts, ThermometerTypeAndPumps) {
    EXPECT_EQ(GetThermometerTypeText(model), "Pt100 W = 1.3850");
    model.CalibrTemperatureAndPressure.Type_T = 1;
    EXPECT_EQ(GetThermometerTypeText(model), "Pt100 W = 1.3910");
    model.CalibrTemperatureAndPressure.Type_T = 2;
    EXPECT_EQ(GetThermometerTypeText(model), "2");

    TPumpGroup group;
    group.Pump_Main = 1;
    group.Pump_Reset = 7;
    group.Pump_PeriodReset = 1440;
    EXPECT_EQ(GetPumpParamText(group, noPMP_Main), "Насос 1");
    EXPECT_EQ(GetPumpParamText(group, noRST_Mode), "7");
    EXPECT_EQ(GetPumpParamText(group, noRST_iternal), "1440");
    EXPECT_EQ(GetPumpParamText(group, noPMP_Mode), "Выключен");
}
