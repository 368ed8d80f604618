#include "catalogue/CurrentReadings.h"

#include <gtest/gtest.h>

using namespace kt41::catalogue;

TEST(CurrentReadings, ValueTexts) {
    EXPECT_EQ(TemperatureText(0xFF9C, "."), "-10.0");
    EXPECT_EQ(TemperatureText(std::uint16_t(-253), ","), "-25,3");
    EXPECT_EQ(TemperatureText(215, "."), "21.5");
    EXPECT_EQ(AnalogValueText(250, 0, "."), "250");
    EXPECT_EQ(AnalogValueText(250, 1, "."), "2.50");
    EXPECT_EQ(AnalogValueText(45, 2, ","), "0,45");
    EXPECT_EQ(AnalogValueText(65535, 7, "."), "65535");
    EXPECT_EQ(SensorStateText(0x0201, 0), "Авария");
    EXPECT_EQ(SensorStateText(0x0201, 1), "Норма");
    EXPECT_EQ(SensorStateText(0x0201, 9), "Авария");
}

TEST(CurrentReadings, AnalogHeaders) {
    EXPECT_EQ(AnalogHeader(0), "Поз., \r\n%");
    EXPECT_EQ(AnalogHeader(1), "P, \r\nМПа");
    EXPECT_EQ(AnalogHeader(2), "Расход, м3/ч"); // no line break
    EXPECT_EQ(AnalogHeader(1, ""), "P, МПа");
    EXPECT_EQ(AnalogHeader(3), "");
    EXPECT_EQ(kTemperatureHeaders[0], "Т1, °C");
    EXPECT_EQ(kSensorAndHoursHeaders[13], "tнар 2н-2к, час");
}
