// The manual page's rules (device::ManualControl) and the register panel over
// the Modbus driver and a simulated controller: what each tick puts on the
// wire, counted at the controller.
#include "device/ManualControl.h"
#include "device/RegisterPanel.h"
#include "device/TKT41.h"
#include "driver/RegisterMap.h"
#include "driver/SimulatedLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kt41::testing {
namespace {

using device::ManualControl;
namespace valve = device::valve;
using Words = std::vector<std::uint16_t>;

constexpr const char* kValveWrite = "Write_ConturManualStatus_KT41";
constexpr const char* kOutputWrite = "Write_AnalogOutPut_KT41";

class ManualControlTest : public ::testing::Test {
protected:
    ManualControlTest() {
        model.AttachPort(&line.Port, nullptr);
        std::array<std::uint8_t, 2> version{};
        EXPECT_TRUE(model.ConnectDevice(1, version));
        line.Controller.ClearCalls();
    }

    // The valve drive block of a command for one contour.
    static Words DriveBlock(int contour, std::uint16_t command) {
        Words w(10, 0);
        w[0] = 1000;
        w[std::size_t(contour)] = command;
        return w;
    }

    // One tick; what it wrote of the valve drive blocks and output blocks.
    struct TickWrites {
        int Valve = 0;
        int Outputs = 0;
    };
    TickWrites Tick(int output1 = 40, int output2 = 40) {
        line.Controller.ClearCalls();
        control.Tick(output1, output2);
        return {line.Controller.CallCount(kValveWrite), line.Controller.CallCount(kOutputWrite)};
    }
    Words LastDriveBlock() const { return line.Controller.Words(sim::Block::ValveCommand); }

    SimulatedLine line{Transport::Pty};
    device::TKT41 model{line.Driver};
    ManualControl control{model};
};

TEST_F(ManualControlTest, AnOpenOrCloseRepeatsEveryTickAndAStopGoesOnce) {
    ASSERT_TRUE(control.ChangeManualMode(1, true));
    EXPECT_FALSE(control.ValvePending(1));
    EXPECT_EQ(Tick().Valve, 0); // nothing chosen yet

    struct Step {
        std::uint8_t Request; // chosen before the ticks
        int Ticks;
        int WritesPerTick;
        Words Block; // the last drive block on the wire
    };
    const Step steps[] = {
        {valve::Open, 3, 1, DriveBlock(1, 1)},
        {valve::Close, 2, 1, DriveBlock(1, 2)},
        {valve::Stop, 1, 1, DriveBlock(1, 0)},
    };
    for (const Step& step : steps) {
        control.RequestDrive(1, step.Request);
        for (int tick = 0; tick < step.Ticks; ++tick) {
            EXPECT_EQ(Tick().Valve, step.WritesPerTick) << int(step.Request) << " tick " << tick;
            EXPECT_EQ(LastDriveBlock(), step.Block);
        }
    }
    EXPECT_EQ(Tick().Valve, 0); // after the stop, nothing
    EXPECT_FALSE(control.ValvePending(1));
}

TEST_F(ManualControlTest, LeavingManualModeRequestsOneStop) {
    ASSERT_TRUE(control.ChangeManualMode(3, true));
    control.RequestDrive(3, valve::Open);
    EXPECT_EQ(Tick().Valve, 1);
    EXPECT_FALSE(control.ChangeManualMode(3, false));
    EXPECT_EQ(line.Controller.Words(sim::Block::ManualState)[0], 0u);
    EXPECT_EQ(control.ValveRequest(3), valve::Stop);
    EXPECT_EQ(Tick().Valve, 1);
    EXPECT_EQ(LastDriveBlock(), DriveBlock(3, 0));
    EXPECT_EQ(Tick().Valve, 0);

    // A refused switch into manual mode leaves the contour automatic, with a
    // stop request.
    line.Controller.AddFault({sim::FaultKind::Exception, "Write_ConturManualMode_KT41", 0, 1});
    EXPECT_FALSE(control.ChangeManualMode(2, true));
    EXPECT_FALSE(control.ManualMode(2));
    EXPECT_TRUE(control.ValvePending(2));
}

TEST_F(ManualControlTest, AFailedOpenIsSentAgainButAFailedStopIsNot) {
    ASSERT_TRUE(control.ChangeManualMode(1, true));
    line.Controller.AddFault({sim::FaultKind::Exception, kValveWrite, 0, 1});
    control.RequestDrive(1, valve::Open);
    EXPECT_EQ(Tick().Valve, 1); // refused
    EXPECT_EQ(Tick().Valve, 1); // sent again
    EXPECT_EQ(LastDriveBlock(), DriveBlock(1, 1));

    line.Controller.AddFault({sim::FaultKind::Exception, kValveWrite, 0, 1});
    control.RequestDrive(1, valve::Stop);
    EXPECT_EQ(Tick().Valve, 1); // refused, and done with
    EXPECT_EQ(Tick().Valve, 0);
}

TEST_F(ManualControlTest, SliderMovesWithinATickAreOneWrite) {
    ASSERT_TRUE(model.ReadManualState()); // outputs 40 and 40
    for (int k = 0; k < 5; ++k) {
        control.AnalogOutMoved();
    }
    EXPECT_EQ(Tick(125, 40).Outputs, 1);
    EXPECT_EQ(line.Controller.Words(sim::Block::ManualState)[5], 125u);
    EXPECT_EQ(line.Controller.Words(sim::Block::ManualState)[6], 40u);
    EXPECT_EQ(Tick(125, 40).Outputs, 0); // not moved since

    // Moved back to what the model holds: nothing to write.
    control.AnalogOutMoved();
    EXPECT_EQ(Tick(125, 40).Outputs, 0);
    EXPECT_FALSE(control.AnalogOutDirty());
}

TEST_F(ManualControlTest, ARefusedPumpSwitchStaysOff) {
    line.Controller.AddFault({sim::FaultKind::Exception, "Write_PumpsManualOn_KT41", 0, 1});
    EXPECT_FALSE(control.ChangePumpSwitch(3, true));
    EXPECT_EQ(line.Controller.Words(sim::Block::ManualState)[3], 0u);
    EXPECT_TRUE(control.ChangePumpSwitch(3, true));
    EXPECT_EQ(line.Controller.Words(sim::Block::ManualState)[3], 1u);
}

TEST(ManualControlRules, PumpsBelongToContoursOneAndTwo) {
    EXPECT_EQ(ManualControl::ContourOfPump(1), 1);
    EXPECT_EQ(ManualControl::ContourOfPump(2), 1);
    EXPECT_EQ(ManualControl::ContourOfPump(3), 2);
    EXPECT_EQ(ManualControl::ContourOfPump(4), 2);
    EXPECT_EQ(ManualControl::ContourOfPump(5), 0);
    EXPECT_EQ(ManualControl::DriveCommand(false, false), valve::Stop);
    EXPECT_EQ(ManualControl::DriveCommand(false, true), valve::Open);
    EXPECT_EQ(ManualControl::DriveCommand(true, false), valve::Close);
}

TEST(ManualControlRules, TheLineAboutContoursLeftInManualMode) {
    struct Case {
        std::array<std::uint8_t, 4> Modes;
        std::string Text;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, ""},
        {{0, 1, 0, 0}, "Контур 2 остается в ручном режиме."},
        {{1, 0, 1, 1}, "Контуры 1, 3, 4 остаются в ручном режиме."},
    };
    SimulatedLine unused{Transport::Pty};
    device::TKT41 model{unused.Driver};
    for (const Case& c : cases) {
        model.Manual.ManualMode = c.Modes;
        EXPECT_EQ(device::ManualModeLeftText(model), c.Text);
    }
}

// --- the register panel ---------------------------------------------------------------

TEST_F(ManualControlTest, TheRegisterPanelLogsWhatItReadAndWrote) {
    device::RegisterPanel panel{line.Driver};

    Words general(256, 0);
    general[10] = 0x0AFF;
    general[11] = 0x1234;
    line.Controller.SetWords(sim::Block::General, general);
    auto read = panel.Read(10, 2);
    EXPECT_TRUE(read.Ok);
    EXPECT_EQ(read.Lines,
              (std::vector<std::string>{"С 10 адреса прочитано 2 регистров.", " 0A FF 12 34"}));

    // A count of 1 writes the value 1.
    auto write = panel.Write(40, 1);
    EXPECT_TRUE(write.Ok);
    EXPECT_EQ(write.Lines,
              (std::vector<std::string>{" 00 01", "1 регистров с адреса 40 записано."}));
    EXPECT_EQ(line.Controller.Words(sim::Block::General)[40], 1u);

    // Registers the controller does not have: refused by it.
    line.Controller.ClearCalls();
    read = panel.Read(0x0150, 1);
    EXPECT_FALSE(read.Ok);
    EXPECT_EQ(read.Lines,
              (std::vector<std::string>{"С 336 адреса 1 регистров НЕ прочитано.", " 00 01"}));
    write = panel.Write(0x0150, 2);
    EXPECT_EQ(write.Lines.back(), "2 регистров с адреса 336 НЕ записано!");
    EXPECT_EQ(line.Controller.Calls().size(), 2u);
}

TEST_F(ManualControlTest, ACountBeyondTheBufferIsRefusedWithoutAnExchange) {
    device::RegisterPanel panel{line.Driver};
    struct Case {
        int Count;
        std::string Shown;  // as an unsigned 16-bit number
        std::size_t Dumped; // bytes in the dump line
    };
    const Case cases[] = {
        {0, "0", 0},
        {31, "31", device::RegisterPanel::kBufferBytes},
        {-1, "65535", device::RegisterPanel::kBufferBytes},
        {70000, "4464", device::RegisterPanel::kBufferBytes},
    };
    for (const Case& c : cases) {
        line.Controller.ClearCalls();
        const auto read = panel.Read(10, c.Count);
        EXPECT_FALSE(read.Ok) << c.Count;
        EXPECT_EQ(read.Lines[0], "С 10 адреса " + c.Shown + " регистров НЕ прочитано.");
        EXPECT_EQ(read.Lines[1].size(), 3 * c.Dumped) << c.Count;
        const auto write = panel.Write(10, c.Count);
        EXPECT_FALSE(write.Ok) << c.Count;
        EXPECT_EQ(write.Lines[0].size(), 3 * c.Dumped) << c.Count;
        EXPECT_EQ(write.Lines[1], c.Shown + " регистров с адреса 10 НЕ записано!");
        EXPECT_TRUE(line.Controller.Calls().empty()) << c.Count;
    }
    // The largest count that fits is read whole.
    EXPECT_TRUE(panel.Read(0, device::RegisterPanel::kMaxCount).Ok);
}

} // namespace
} // namespace kt41::testing
