// The simulated controller without a transport: requests as PDUs in, answers
// out.
#include "simulator/Controller.h"

#include "driver/RegisterMap.h"

#include <gtest/gtest.h>

#include <thread>

namespace kt41::sim {
namespace {

namespace regmap = driver::regmap;
using driver::CivilDateTime;
using namespace std::chrono_literals;

std::vector<std::uint8_t> Read(std::uint16_t first, std::uint16_t count) {
    return {0x03, std::uint8_t(first >> 8), std::uint8_t(first), std::uint8_t(count >> 8),
            std::uint8_t(count)};
}

std::vector<std::uint8_t> Write(std::uint16_t first, const std::vector<std::uint16_t>& words) {
    std::vector<std::uint8_t> pdu{0x10, std::uint8_t(first >> 8),   std::uint8_t(first),
                                  0,    std::uint8_t(words.size()), std::uint8_t(2 * words.size())};
    for (std::uint16_t w : words) {
        pdu.push_back(std::uint8_t(w >> 8));
        pdu.push_back(std::uint8_t(w));
    }
    return pdu;
}

std::vector<std::uint16_t> Registers(const Reply& reply) {
    std::vector<std::uint16_t> words;
    for (std::size_t k = 2; k + 1 < reply.Pdu.size(); k += 2) {
        words.push_back(std::uint16_t((reply.Pdu[k] << 8) | reply.Pdu[k + 1]));
    }
    return words;
}

std::int16_t Signed(std::uint16_t w) {
    return std::int16_t(w);
}

TEST(Controller, AnswersItsOwnAddressOrEveryAddressWhenToldTo) {
    Controller one;
    EXPECT_TRUE(one.Handle(1, Read(regmap::kIdentity.First, 4)).Send);
    EXPECT_FALSE(one.Handle(2, Read(regmap::kIdentity.First, 4)).Send);
    EXPECT_EQ(one.Calls().size(), 1u); // another unit's request is not ours

    ControllerOptions options;
    options.AnswerAnyAddress = true;
    options.SerialNumber = 4711;
    Controller any(options);
    const Reply reply = any.Handle(200, Read(regmap::kIdentity.First, 4));
    ASSERT_TRUE(reply.Send);
    EXPECT_EQ(reply.Unit, 200);
    EXPECT_EQ(Registers(reply), (std::vector<std::uint16_t>{41, 4711, 0x0203, 0x1703}));
    // A broadcast write is carried out but never answered.
    const Reply broadcast = any.Handle(0, Write(regmap::kGeneral.First, {7}));
    EXPECT_FALSE(broadcast.Send);
    EXPECT_EQ(any.Words(Block::General)[0], 7);
}

TEST(Controller, RefusesWhatItCannotDoWithTheRightException) {
    Controller c;
    struct Row {
        const char* What;
        std::vector<std::uint8_t> Pdu;
        std::uint8_t Exception;
    };
    const Row rows[] = {
        {"unknown function", {0x2B, 0x0E, 0x01, 0x00}, regmap::kIllegalFunction},
        {"read of unmapped registers", Read(0x0F00, 1), regmap::kIllegalDataAddress},
        {"read running off a block", Read(regmap::kCalibration.First, 6),
         regmap::kIllegalDataAddress},
        {"write to the identity", Write(regmap::kIdentity.First, {1}), regmap::kIllegalDataAddress},
        {"write to live data", Write(regmap::kCurrentData.First, {1}), regmap::kIllegalDataAddress},
        {"write to the valve words of the manual state", Write(regmap::kManualState.First + 8, {1}),
         regmap::kIllegalDataAddress},
        {"nothing to read", Read(0, 0), regmap::kIllegalDataValue},
        {"too much to read", Read(0, 126), regmap::kIllegalDataValue},
        {"an impossible date", Write(regmap::kClock.First, {2024, 2, 30, 0, 0, 0}),
         regmap::kIllegalDataValue},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.What);
        const Reply reply = c.Handle(1, r.Pdu);
        ASSERT_EQ(reply.Pdu.size(), 2u);
        EXPECT_EQ(reply.Pdu[0], r.Pdu[0] | 0x80);
        EXPECT_EQ(reply.Pdu[1], r.Exception);
    }
}

TEST(Controller, RequestsAreNamedAfterTheDriverFunctions) {
    EXPECT_EQ(Controller::FunctionOf(Read(regmap::kIdentity.First, 4)), "Connect_Device_KT41");
    EXPECT_EQ(Controller::FunctionOf(Read(regmap::kIdentity.First, 23)), "Read_DeviceInfo_KT41");
    EXPECT_EQ(Controller::FunctionOf(Read(regmap::ContourBlock(4).First, 21)),
              "Read_ParamConturEx_KT41");
    EXPECT_EQ(Controller::FunctionOf(Write(regmap::kPumpSwitches.First, {0, 0, 0, 0})),
              "Write_PumpsManualOn_KT41");
    EXPECT_EQ(Controller::FunctionOf(Read(10, 20)), "ReadRegisters");
    EXPECT_EQ(Controller::FunctionOf(Write(10, {1})), "WriteRegisters");
}

TEST(Controller, FaultRulesSkipThenCountTheirMatchingRequests) {
    Controller c;
    c.AddFault({FaultKind::NoAnswer, "Read_ConfConturs_KT41", 1, 2});
    c.AddFault({FaultKind::Exception, "", 5, 1, 6}); // the sixth request of any kind
    const auto table = Read(regmap::kContourTable.First, 8);
    std::vector<bool> answered;
    for (int i = 0; i < 4; ++i) {
        answered.push_back(c.Handle(1, table).Send);
    }
    EXPECT_EQ(answered, (std::vector<bool>{true, false, false, true}));
    EXPECT_EQ(c.CallCount("Read_ConfConturs_KT41"), 4);
    EXPECT_TRUE(c.Handle(1, Read(0, 1)).Send);
    const Reply sixth = c.Handle(1, Read(0, 1));
    EXPECT_EQ(sixth.Pdu, (std::vector<std::uint8_t>{0x83, 0x06}));
    EXPECT_EQ(c.Calls()[1].Fault, FaultKind::NoAnswer);
    EXPECT_EQ(c.Calls()[5].Fault, FaultKind::Exception);

    // A write that gets no answer or an exception never reached the memory;
    // one whose answer is damaged did.
    c.ClearFaults();
    c.AddFault({FaultKind::NoAnswer, "WriteRegisters", 0, 1});
    c.AddFault({FaultKind::BadCrc, "WriteRegisters", 1, 1});
    c.Handle(1, Write(3, {11}));
    EXPECT_EQ(c.Words(Block::General)[3], 0);
    const Reply damaged = c.Handle(1, Write(3, {12}));
    EXPECT_EQ(damaged.FrameFault, FaultKind::BadCrc);
    EXPECT_EQ(c.Words(Block::General)[3], 12);
}

TEST(Controller, FaultsOfTheFrameAreLeftToTheServerAndTheRequestIsCarriedOut) {
    for (FaultKind kind : AllFaultKinds()) {
        if (!FramedByServer(kind)) {
            continue;
        }
        SCOPED_TRACE(std::string(FaultKindName(kind)));
        Controller c;
        Fault fault{kind, "WriteRegisters"};
        fault.Gap = std::chrono::milliseconds(7);
        c.AddFault(fault);
        const Reply reply = c.Handle(1, Write(3, {21}));
        EXPECT_TRUE(reply.Send);
        EXPECT_EQ(reply.FrameFault, kind);
        EXPECT_EQ(reply.Pdu, (std::vector<std::uint8_t>{0x10, 0x00, 0x03, 0x00, 0x01}));
        EXPECT_EQ(reply.ByteGap.count(), kind == FaultKind::Drip ? 7 : 0);
        EXPECT_EQ(c.Words(Block::General)[3], 21);
    }
}

TEST(Controller, ArchiveCoversTheLastWeeksWithAFewGaps) {
    Controller c;
    c.SetClock(CivilDateTime{2024, 1, 31, 12, 30, 0});
    int found = 0;
    int missing = 0;
    // Walk back hour by hour through 30 days.
    for (int dayOfMonth = 31; dayOfMonth >= 2; --dayOfMonth) {
        for (int hour = 0; hour < 24; ++hour) {
            if (dayOfMonth == 31 && hour > 12) {
                continue;
            }
            const CivilDateTime t{2024, 1, dayOfMonth, hour, 0, 0};
            const auto record = c.ArchiveRecord(t);
            if (!record) {
                ++missing;
                continue;
            }
            ++found;
            EXPECT_EQ((*record)[0], (1 << 8) | 24);                // January, 24
            EXPECT_EQ((*record)[1], (hour << 8) | dayOfMonth);     // hour, day
            EXPECT_GT(Signed((*record)[3]), Signed((*record)[4])); // supply above return
        }
    }
    EXPECT_GT(missing, 0);
    EXPECT_LT(missing, 48);
    EXPECT_GT(found, 29 * 24 - 48);
    EXPECT_FALSE(c.ArchiveRecord(CivilDateTime{2024, 1, 31, 13, 0, 0})); // not yet
    EXPECT_FALSE(c.ArchiveRecord(CivilDateTime{2023, 11, 1, 0, 0, 0}));  // too old

    // The archive answers one function 23 transaction: hour in, record out.
    const std::vector<std::uint8_t> request{0x17, 0x0D, 0x10, 0x00, 0x13, 0x0D, 0x00, 0x00, 0x04,
                                            0x08, 0x07, 0xE8, 0x00, 0x01, 0x00, 0x1E, 0x00, 0x05};
    const Reply reply = c.Handle(1, request);
    ASSERT_EQ(reply.Pdu.size(), 2u + 38u);
    const auto words = Registers(reply);
    const auto expected = c.ArchiveRecord(CivilDateTime{2024, 1, 30, 5, 0, 0});
    EXPECT_EQ(words[0], expected ? 1 : 0);
    if (expected) {
        EXPECT_EQ(std::vector<std::uint16_t>(words.begin() + 1, words.end()),
                  std::vector<std::uint16_t>(expected->begin(), expected->end()));
    }
}

TEST(Controller, LiveDataFollowsThePlantAndItsEvents) {
    Controller c;
    c.SetClock(CivilDateTime{2024, 1, 17, 3, 0, 0}); // a Wednesday night
    auto data = c.Words(Block::CurrentData);
    const double outdoor = Signed(data[4]) / 10.0;
    EXPECT_GT(outdoor, -25.0);
    EXPECT_LT(outdoor, 15.0);
    EXPECT_GT(Signed(data[5]), Signed(data[6]));    // heating supply above return
    EXPECT_EQ(data[11], 500);                       // hot water lowered at night
    EXPECT_NEAR(Signed(data[7]) / 10.0, 44.0, 2.0); // and cooling: its pumps are off
    EXPECT_NE(data[2] & (1u << 12), 0u);            // set-back active in contour 1
    EXPECT_NE(data[2] & (1u << 13), 0u);            // and in contour 2
    EXPECT_NE(data[3] & (1u << 11), 0u);            // contour 2 pumps off by programme
    EXPECT_NE(data[3] & (1u << 15), 0u);            // contour 4 switched off
    EXPECT_NE(data[2] & (1u << 15), 0u);            // just restarted
    EXPECT_EQ(data[17], 8760);                      // pump run hours

    c.SetClock(CivilDateTime{2024, 1, 17, 12, 0, 0});
    data = c.Words(Block::CurrentData);
    EXPECT_NEAR(Signed(data[7]) / 10.0, 60.0, 2.0);
    EXPECT_EQ(data[2] & (3u << 12), 0u);
    EXPECT_EQ(data[3] & (1u << 0), 0u);
    c.Handle(1, Write(regmap::kCalibration.First, {18000, 29000, 0, 6000, 30000}));
    EXPECT_NE(c.Words(Block::CurrentData)[3] & (1u << 0), 0u); // configuration changed
}

TEST(Controller, ManualStateFollowsTheWrites) {
    Controller c;
    c.Handle(1, Write(regmap::kManualModes.First, {0b0101})); // contours 1 and 3
    c.Handle(1, Write(regmap::kPumpSwitches.First, {1, 0, 0, 1}));
    c.Handle(1, Write(regmap::kAnalogOutputs.First, {120, 200}));
    c.Handle(1, Write(regmap::kValveCommand.First, {1000, 1, 2, 2, 0, 0, 0, 0, 0, 0}));
    auto state = c.Words(Block::ManualState);
    EXPECT_EQ(state, (std::vector<std::uint16_t>{5, 1, 0, 0, 1, 120, 200, 0, 1, 0, 2, 0}));
    const auto data = c.Words(Block::CurrentData);
    EXPECT_EQ(data[3] & 0x1E, (1u << 1) | (1u << 3)); // manual mode events, contours 1 and 3
    // Contour 2 drives its valve by analog output 1: its position follows it.
    c.Handle(1, Write(regmap::kManualModes.First, {0b0111}));
    EXPECT_EQ(c.Words(Block::CurrentData)[14], 50); // (12.0 - 4) / 16 mA = 50 %

    // A command for one contour leaves the others driving; the stop (no
    // command at all) ends every drive; leaving manual mode ends its own.
    c.Handle(1, Write(regmap::kValveCommand.First, {1000, 0, 0, 1, 0, 0, 0, 0, 0, 0}));
    state = c.Words(Block::ManualState);
    EXPECT_EQ(std::vector<std::uint16_t>(state.begin() + 8, state.end()),
              (std::vector<std::uint16_t>{1, 0, 1, 0}));
    c.Handle(1, Write(regmap::kManualModes.First, {0b0011}));
    state = c.Words(Block::ManualState);
    EXPECT_EQ(state[10], 0);
    EXPECT_EQ(state[8], 1);
    c.Handle(1, Write(regmap::kValveCommand.First, std::vector<std::uint16_t>(10, 0)));
    state = c.Words(Block::ManualState);
    EXPECT_EQ(state[8], 0);
}

TEST(Controller, ConverterCodesSettleAfterARest) {
    Controller c;
    const auto adc = Read(regmap::kAdcCodes.First, 2);
    const auto first = Registers(c.Handle(1, adc));
    std::this_thread::sleep_for(300ms);
    const auto later = Registers(c.Handle(1, adc));
    EXPECT_LT(first[0], later[0]);
    EXPECT_LT(first[1], later[1]);
    // Where they settle: about 198 codes per ohm of the Pt100 at T1, and 6000
    // codes at 4 mA plus 1500 per mA on the feed pressure input.
    const auto data = c.Words(Block::CurrentData);
    const double target = 198.0 * 100.0 * (1.0 + 0.00385 * Signed(data[4]) / 10.0);
    EXPECT_GT(later[0], 0.6 * target);
    EXPECT_LT(later[0], 1.01 * target);
    EXPECT_GE(target, 17500.0); // a healthy channel for the calibration
}

TEST(Controller, BlocksCanBeReadAndSetAsWords) {
    Controller c;
    std::vector<std::uint16_t> contour(21, 0);
    contour[17] = 99; // Cycle
    c.SetWords(Block::Contour, contour, 4);
    EXPECT_EQ(c.Words(Block::Contour, 4), contour);
    EXPECT_EQ(c.CurrentConfiguration().Contour4.Cycle, 99);
    EXPECT_THROW(c.SetWords(Block::Contour, contour, 1), std::invalid_argument); // 120 words
    const std::vector<std::uint16_t> frozen(21, 3);
    c.SetWords(Block::CurrentData, frozen);
    EXPECT_EQ(c.Words(Block::CurrentData), frozen);
    c.ResumeLive(Block::CurrentData);
    EXPECT_NE(c.Words(Block::CurrentData), frozen);
    c.SetWords(Block::Clock, std::vector<std::uint16_t>{2030, 6, 1, 8, 0, 0});
    EXPECT_EQ(c.Clock().Year, 2030);
}

} // namespace
} // namespace kt41::sim
