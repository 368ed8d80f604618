#include "device/TKT41.h"
#include "support/FakeControllerDriver.h"

#include <gtest/gtest.h>

using namespace kt41::device;
using kt41::testing::FakeControllerDriver;
using kt41::testing::RecordingSink;
using Codes = std::vector<std::pair<int, std::uint32_t>>;

class ManualOperations : public ::testing::Test {
protected:
    FakeControllerDriver driver;
    RecordingSink sink;
    TKT41 model{driver};

    void SetUp() override { model.AttachPort(nullptr, &sink); }
    std::uint16_t StateWord(int k) const {
        return FakeControllerDriver::WordAt(driver.ManualState, k);
    }
};

TEST_F(ManualOperations, ReadDecodesTheStateBlock) {
    FakeControllerDriver::SetWord(driver.ManualState, 0, 0x09);
    FakeControllerDriver::SetWord(driver.ManualState, 2, 1);
    FakeControllerDriver::SetWord(driver.ManualState, 5, 120);
    FakeControllerDriver::SetWord(driver.ManualState, 6, 200);
    FakeControllerDriver::SetWord(driver.ManualState, 10, 2);
    ASSERT_TRUE(model.ReadManualState());
    EXPECT_EQ(model.GetManualMode(1), 1);
    EXPECT_EQ(model.GetManualMode(4), 1);
    EXPECT_EQ(model.GetPumpSwitch(2), 1);
    EXPECT_EQ(model.GetAnalogOutput(1), 120);
    EXPECT_EQ(model.GetAnalogOutput(2), 200);
    EXPECT_EQ(model.GetValveCommand(3), 2);
    EXPECT_EQ(sink.Codes, (Codes{{42, 0}, {12, 0}, {31, 0}}));
}

TEST_F(ManualOperations, AFailedReadLeavesThePresets) {
    model.Manual.ManualMode = {1, 1, 1, 1};
    model.Manual.AnalogOut = {100, 100};
    driver.FailAtCall = 1;
    EXPECT_FALSE(model.ReadManualState());
    EXPECT_EQ(model.GetAnalogOutput(1), 40);
    EXPECT_EQ(model.GetAnalogOutput(2), 40);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(model.GetManualMode(n), 0);
        EXPECT_EQ(model.GetValveCommand(n), 0);
        EXPECT_EQ(model.GetPumpSwitch(n), 0);
    }
    EXPECT_EQ(sink.Codes, (Codes{{42, 0}, {12, 1}, {31, 0}}));
}

TEST_F(ManualOperations, ManualModeIsWrittenThroughOnlyWhenItChanges) {
    EXPECT_TRUE(model.SetManualMode(2, 1));
    EXPECT_EQ(StateWord(0), 0x02);
    EXPECT_EQ(sink.Codes, (Codes{{43, 0}, {13, 0}, {31, 0}}));

    sink.Codes.clear();
    driver.Calls.clear();
    EXPECT_FALSE(model.SetManualMode(2, 1)); // already in manual mode
    EXPECT_TRUE(driver.Calls.empty());
    EXPECT_TRUE(sink.Codes.empty());

    EXPECT_FALSE(model.SetManualMode(5, 1));
    EXPECT_TRUE(driver.Calls.empty());
}

TEST_F(ManualOperations, RefusedSwitchesAreUndone) {
    driver.FailAtCall = 1;
    EXPECT_FALSE(model.SetPumpSwitch(3, 1));
    EXPECT_EQ(model.GetPumpSwitch(3), 0);
    EXPECT_EQ(sink.Codes, (Codes{{46, 0}, {16, 1}, {31, 0}}));

    driver.FailAtCall = 2;
    EXPECT_FALSE(model.SetManualMode(1, 1));
    EXPECT_EQ(model.GetManualMode(1), 0);

    EXPECT_TRUE(model.SetPumpSwitch(4, 1));
    EXPECT_EQ(StateWord(4), 1);
}

TEST_F(ManualOperations, ValveCommandSendsOnlyTheAddressedContour) {
    model.Manual.ValveCommand = {1, 1, 2, 1};
    EXPECT_TRUE(model.WriteValveCommand(3, 1000));
    std::array<std::uint16_t, 10> words{};
    for (int k = 0; k < 10; ++k) {
        words[k] = FakeControllerDriver::WordAt(driver.LastManualStatus, k);
    }
    EXPECT_EQ(words, (std::array<std::uint16_t, 10>{1000, 0, 0, 2, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(sink.Codes, (Codes{{44, 3u << 16}, {14, 3u << 16}})); // no idle code

    sink.Codes.clear();
    driver.FailAtCall = 2;
    EXPECT_FALSE(model.WriteValveCommand(1, 1000));
    EXPECT_EQ(sink.Codes, (Codes{{44, 1u << 16}, {14, (1u << 16) | 1}}));

    sink.Codes.clear();
    driver.Calls.clear();
    EXPECT_FALSE(model.WriteValveCommand(5, 1000));
    EXPECT_TRUE(driver.Calls.empty());
    EXPECT_TRUE(sink.Codes.empty());
}

TEST_F(ManualOperations, ValveAndAnalogSettersKeepTheirValueWhenRefused) {
    driver.FailAtCall = 1;
    EXPECT_FALSE(model.SetValveCommand(2, 1));
    EXPECT_EQ(model.GetValveCommand(2), 1);
    EXPECT_EQ(FakeControllerDriver::WordAt(driver.LastManualStatus, 0), 0); // nothing stored

    EXPECT_TRUE(model.SetValveCommand(2, 2));
    EXPECT_EQ(FakeControllerDriver::WordAt(driver.LastManualStatus, 0), 1000);
    EXPECT_EQ(FakeControllerDriver::WordAt(driver.LastManualStatus, 2), 2);

    driver.Calls.clear();
    driver.FailAtCall = 1;
    model.SetAnalogOutput(1, 120);
    EXPECT_EQ(model.GetAnalogOutput(1), 120);
    EXPECT_EQ(driver.Calls.size(), 1u);
    model.SetAnalogOutput(1, 120); // unchanged: nothing sent
    EXPECT_EQ(driver.Calls.size(), 1u);
    model.SetAnalogOutput(2, 200);
    EXPECT_EQ(StateWord(5), 120);
    EXPECT_EQ(StateWord(6), 200);
}

TEST_F(ManualOperations, CurrentDataAndAdcReadsTurnPortErrorsIntoFailures) {
    FakeControllerDriver::SetWord(driver.CurrentData, 4, std::uint16_t(-52));
    FakeControllerDriver::SetWord(driver.CurrentData, 20, 777);
    TCurrentData data{};
    ASSERT_TRUE(model.ReadCurrentData(data));
    EXPECT_EQ(std::int16_t(data[4]), -52);
    EXPECT_EQ(data[20], 777);

    driver.Calls.clear();
    driver.ThrowAtCall = 1;
    EXPECT_FALSE(model.ReadCurrentData(data));
    driver.Calls.clear();
    FakeControllerDriver::SetWord(driver.AdcCodes, 1, 4321);
    std::uint16_t a = 0, b = 0;
    EXPECT_FALSE(model.ReadAdcCodes(a, b));
    driver.ThrowAtCall = 0;
    EXPECT_TRUE(model.ReadAdcCodes(a, b));
    EXPECT_EQ(b, 4321);
    EXPECT_EQ(sink.Codes, (Codes{{10, 0}, {10, 1}, {18, 1}, {18, 0}}));
}

TEST_F(ManualOperations, ArchiveScaleFollowsTheInputTypeAtReadingTime) {
    std::array<std::uint8_t, 36> block{};
    FakeControllerDriver::SetWord(block, 0, 0x0C17);
    FakeControllerDriver::SetWord(block, 1, 0x0E05);
    FakeControllerDriver::SetWord(block, 10, 1234);
    driver.Archive[45000.5] = block;

    TArxRecord record;
    std::uint8_t found = 9;
    model.Input_P[0].InputType = 1;
    ASSERT_TRUE(model.ReadArchiveRecord(found, &record, 45000.5));
    EXPECT_EQ(found, 1);
    EXPECT_FLOAT_EQ(record.Analog[0], 12.34f);
    EXPECT_EQ(record.Day, 5);
    model.Input_P[0].InputType = 0;
    ASSERT_TRUE(model.ReadArchiveRecord(found, &record, 45000.5));
    EXPECT_FLOAT_EQ(record.Analog[0], 1234.f);

    // No record for that hour: true, found 0, record unchanged.
    const TArxRecord before = record;
    ASSERT_TRUE(model.ReadArchiveRecord(found, &record, 1.0));
    EXPECT_EQ(found, 0);
    EXPECT_EQ(record, before);

    driver.Calls.clear();
    found = 3;
    EXPECT_FALSE(model.ReadArchiveRecord(found, nullptr, 45000.5));
    EXPECT_EQ(found, 0);
    EXPECT_TRUE(driver.Calls.empty());
    EXPECT_TRUE(sink.Codes.empty());
}
