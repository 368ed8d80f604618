#include "device/BlockCodec.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kt41::device;

TEST(WordConversion, BigEndianBothWays) {
    const std::array<std::uint8_t, 4> bytes{0x12, 0x34, 0xFF, 0xCE};
    std::array<std::uint16_t, 2> words{};
    WordsFromBytes(bytes, words);
    EXPECT_EQ(words[0], 0x1234);
    EXPECT_EQ(words[1], 0xFFCE);
    std::array<std::uint8_t, 4> back{};
    BytesFromWords(words, back);
    EXPECT_EQ(back, bytes);
}

TEST(ContourBlock, CalendarsTravelSundayFirst) {
    TParamContur c;
    for (int day = 0; day < 7; ++day) {
        for (int p = 0; p < 4; ++p) {
            c.Calendar_Tlow.Day[day][p] = std::uint16_t(10 * (day + 1) + p);
            c.Calendar_Pump.Day[day][p] = std::uint16_t(100 + 10 * (day + 1) + p);
        }
    }
    std::array<std::uint16_t, kContourWords> w{};
    EncodeContour(c, w);
    // Day 7 (Sunday) in w41-w44, day 1 in w45-w48, day 6 in w65-w68.
    EXPECT_EQ((std::array{w[41], w[42], w[43], w[44]}),
              (std::array<std::uint16_t, 4>{70, 71, 72, 73}));
    EXPECT_EQ(w[45], 10);
    EXPECT_EQ(w[48], 13);
    EXPECT_EQ(w[65], 60);
    EXPECT_EQ(w[68], 63);
    // Same order for the pump calendar at w79..w106.
    EXPECT_EQ(w[79], 170);
    EXPECT_EQ(w[83], 110);
    EXPECT_EQ(w[106], 163);

    TParamContur decoded;
    DecodeContour(w, decoded);
    EXPECT_EQ(decoded.Calendar_Tlow, c.Calendar_Tlow);
    EXPECT_EQ(decoded.Calendar_Pump, c.Calendar_Pump);
}

TEST(ContourBlock, SignedFieldsAndByteFieldsKeepTheirPatterns) {
    TParamContur c;
    c.Tout[0] = -25;
    c.Tin[7] = 95;
    c.Tback[3] = -1;
    c.T_action = -50;
    c.dBC_High = -3;
    c.T_alarm_min = -50;
    c.RegulateMode = 1;
    c.FeedMode = 4;
    std::array<std::uint16_t, kContourWords> w{};
    EncodeContour(c, w);
    EXPECT_EQ(w[2], 0xFFE7);
    EXPECT_EQ(w[17], 95);
    EXPECT_EQ(w[21], 0xFFFF);
    EXPECT_EQ(w[116], 0xFFCE);
    EXPECT_EQ(w[33], 0xFFFD);
    EXPECT_EQ(w[28], 0xFFCE);
    EXPECT_EQ(w[1], 1);
    EXPECT_EQ(w[107], 4);
    EXPECT_EQ(w[118], 0);
    EXPECT_EQ(w[119], 0);

    // A byte field takes only the low byte of its word on reading.
    w[1] = 0x0301;
    TParamContur decoded;
    DecodeContour(w, decoded);
    EXPECT_EQ(decoded.Tout[0], -25);
    EXPECT_EQ(decoded.T_action, -50);
    EXPECT_EQ(decoded.dBC_High, -3);
    EXPECT_EQ(decoded.RegulateMode, 1);
}

TEST(PumpBits, EachFlagHasItsOwnBit) {
    struct Case {
        TPumpGroup group;
        std::uint16_t word;
    };
    auto with = [](auto setter) {
        TPumpGroup g;
        setter(g);
        return g;
    };
    const Case cases[] = {
        {with([](TPumpGroup& g) { g.Pump_ON = 1; }), 0x01},
        {with([](TPumpGroup& g) { g.Pump_SensProtect = 1; }), 0x02},
        {with([](TPumpGroup& g) { g.Pump_SensWork = 1; }), 0x04},
        {with([](TPumpGroup& g) { g.Pump_AVR = 1; }), 0x08},
        {with([](TPumpGroup& g) { g.Pump_VarWork = 1; }), 0x10},
        {with([](TPumpGroup& g) { g.Pump_Main = 1; }), 0x20},
        // Only a flag equal to 1 sets its bit; stray values never reach other bits.
        {with([](TPumpGroup& g) { g.Pump_AVR = 2; }), 0x00},
        {with([](TPumpGroup& g) { g.Pump_ON = 2; }), 0x00},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodePumpBits(c.group), c.word);
    }
    TPumpGroup decoded;
    DecodePumpBits(0x2A, decoded); // SensProtect, AVR, Main
    EXPECT_EQ(decoded.Pump_ON, 0);
    EXPECT_EQ(decoded.Pump_SensProtect, 1);
    EXPECT_EQ(decoded.Pump_SensWork, 0);
    EXPECT_EQ(decoded.Pump_AVR, 1);
    EXPECT_EQ(decoded.Pump_VarWork, 0);
    EXPECT_EQ(decoded.Pump_Main, 1);
}

TEST(PumpBits, SitAtWord69InTheFullBlockAndWord0InTheReducedOne) {
    TParamContur full;
    full.PumpGroup.Pump_Main = 1;
    full.PumpGroup.Pump_Reset = 2;
    full.PumpGroup.Pump_PeriodReset = 1440;
    std::array<std::uint16_t, kContourWords> w{};
    EncodeContour(full, w);
    EXPECT_EQ(w[69], 32);
    EXPECT_EQ(w[72], 2);
    EXPECT_EQ(w[73], 1440);

    TParamConturEx reduced;
    reduced.PumpGroup.Pump_Main = 1;
    reduced.RP_diff_max = 300;
    reduced.T_action = -7;
    std::array<std::uint16_t, kContourExWords> r{};
    EncodeContourEx(reduced, r);
    EXPECT_EQ(r[0], 32);
    EXPECT_EQ(r[19], 0xFFF9);
    EXPECT_EQ(r[20], 300);
    TParamConturEx back;
    DecodeContourEx(r, back);
    EXPECT_EQ(back, reduced);
}

TEST(InputBlocks, AlarmTravelsAsBit4OnlyWhenItIsOne) {
    std::array<TInputTerm, 6> inputs{};
    inputs[0] = {1, 1, 2}; // alarm not applicable travels as a clear bit
    inputs[1] = {2, 3, 1};
    inputs[2] = {3, 6, 0};
    std::array<std::uint16_t, kInputWords> w{};
    EncodeInputsTerm(inputs, w);
    EXPECT_EQ(w[0], 1);
    EXPECT_EQ(w[1], 0x01);
    EXPECT_EQ(w[2], 2);
    EXPECT_EQ(w[3], 0x13);
    EXPECT_EQ(w[5], 0x06);

    std::array<TInputTerm, 6> back{};
    DecodeInputsTerm(w, back);
    EXPECT_EQ(back[0].Alarm, 0); // read back as "no"
    EXPECT_EQ(back[1].Alarm, 1);
    EXPECT_EQ(back[1].Func, 3);

    // On reading the alarm is the whole of bits 4-7.
    w[1] = 0x25;
    DecodeInputsTerm(w, back);
    EXPECT_EQ(back[0].Func, 5);
    EXPECT_EQ(back[0].Alarm, 2);
}

TEST(InputBlocks, AnalogBlockCarriesMaxValButNotInputType) {
    std::array<TInputAnalog, 4> inputs{};
    inputs[3] = {4, 3, 1, 2, 2550};
    std::array<std::uint16_t, kInputWords> w{};
    EncodeInputsAnalog(inputs, w);
    EXPECT_EQ(w[6], 4);
    EXPECT_EQ(w[7], 0x13);
    EXPECT_EQ(w[11], 2550);
    std::array<TInputAnalog, 4> back{};
    back[3].InputType = 0;
    DecodeInputsAnalog(w, back);
    EXPECT_EQ(back[3].MaxVal, 2550);
    EXPECT_EQ(back[3].InputType, 0);
}

TEST(DeviceBlocks, ReservedWordsAreZeroAndIdentityIsWords0To3) {
    TParamDevice d;
    d.MBS_speed = 1;
    d.VLV_stroke4 = 600;
    d.PMP2_time_2 = 65000;
    d.NO_M1 = 1;
    d.NO_MP2 = 1;
    std::array<std::uint16_t, kDeviceParamWords> w{};
    w.fill(0xAAAA);
    EncodeDeviceParams(d, w);
    EXPECT_EQ(w[0], 1);
    EXPECT_EQ(w[4], 600);
    EXPECT_EQ(w[8], 65000);
    for (int k = 9; k <= 12; ++k) {
        EXPECT_EQ(w[k], 0) << k;
    }
    EXPECT_EQ(w[13], 1);
    EXPECT_EQ(w[22], 1);

    std::array<std::uint16_t, kDeviceInfoWords> info{};
    info[0] = 41;
    info[1] = 1234;
    info[2] = 0x0203;
    info[3] = 0x1509;
    TParamDevice id;
    DecodeDeviceInfo(info, id);
    EXPECT_EQ(id.Model, 41);
    EXPECT_EQ(id.SerialNumber, 1234);
    EXPECT_EQ(id.Version, 0x0203);
    EXPECT_EQ(id.Manufact_date, 0x1509);
}

TEST(ManualBlocks, WriteBlocksAndStatusLayout) {
    TParamManual m;
    m.ManualMode = {1, 0, 1, 2};
    m.PumpSwitch = {1, 0, 0, 1};
    m.AnalogOut = {40, 200};
    m.ValveCommand = {1, 0, 2, 0};
    EXPECT_EQ(EncodeManualModes(m), 0x05);
    EXPECT_EQ(EncodePumpSwitches(m), (std::array<std::uint16_t, 4>{1, 0, 0, 1}));
    EXPECT_EQ(EncodeAnalogOutputs(m), (std::array<std::uint16_t, 2>{40, 200}));
    EXPECT_EQ(EncodeManualStatus(m, 3, 1000),
              (std::array<std::uint16_t, 10>{1000, 0, 0, 2, 0, 0, 0, 0, 0, 0}));

    const std::array<std::uint16_t, kManualStateWords> state{0x0A, 1,      0, 1, 1, 120,
                                                             55,   0xFFFF, 0, 1, 2, 0};
    TParamManual d;
    DecodeManualState(state, d);
    EXPECT_EQ(d.ManualMode, (std::array<std::uint8_t, 4>{0, 1, 0, 1}));
    EXPECT_EQ(d.PumpSwitch, (std::array<std::uint8_t, 4>{1, 0, 1, 1}));
    EXPECT_EQ(d.AnalogOut, (std::array<std::uint16_t, 2>{120, 55}));
    EXPECT_EQ(d.ValveCommand, (std::array<std::uint8_t, 4>{0, 1, 2, 0}));
}

TEST(ArchiveRecord, DateWordsTemperaturesAndScaledAnalogs) {
    std::array<std::uint16_t, kArchiveRecordWords> w{};
    w[0] = 0x0C17;
    w[1] = 0x0E05;
    w[2] = 215;                 // T1 21.5
    w[3] = std::uint16_t(-123); // T2 -12.3
    w[10] = 1234;
    w[11] = 1234;
    w[12] = 1234;
    w[13] = 1234;
    w[14] = 0x8001;
    w[17] = 7;
    TArxRecord r;
    DecodeArchiveRecord(w, {1, 0, 2, 3}, r);
    EXPECT_EQ(r.Day, 5);
    EXPECT_EQ(r.Month, 12);
    EXPECT_EQ(r.Year, 23);
    EXPECT_EQ(r.Hour, 14);
    EXPECT_FLOAT_EQ(r.Temp[0], 21.5f);
    EXPECT_FLOAT_EQ(r.Temp[1], -12.3f);
    EXPECT_FLOAT_EQ(r.Analog[0], 12.34f); // pressure: hundredths
    EXPECT_FLOAT_EQ(r.Analog[1], 1234.f); // position: whole percent
    EXPECT_FLOAT_EQ(r.Analog[2], 12.34f); // flow: hundredths
    EXPECT_EQ(r.Status[0], 0x8001);
    EXPECT_EQ(r.Status[3], 7);
}

TEST(ContourTable, SanitisingReplacesOutOfRangeWords) {
    ContourTable t{6, 5, 4, 3, 3, 2, 9, 1};
    SanitizeContourTable(t);
    EXPECT_EQ(t, (ContourTable{0, 5, 0, 3, 0, 2, 0, 1}));
}

// Each accessor reads its own word of the 21, and a number outside its range
// reads nothing rather than a neighbour's word.
TEST(CurrentData, AccessorsNameTheWordsOfTheBlock) {
    TCurrentData data{};
    for (std::size_t k = 0; k < data.size(); ++k) {
        data[k] = std::uint16_t(100 + k);
    }
    const struct {
        const char* Accessor;
        std::uint16_t (TCurrentData::*Read)(int) const;
        int Count;
        std::size_t FirstWord;
    } cases[] = {
        {"Temperature", &TCurrentData::Temperature, 6, 4},
        {"Setpoint", &TCurrentData::Setpoint, 2, 10},
        {"AnalogWord", &TCurrentData::AnalogWord, 4, 12},
        {"PumpHours", &TCurrentData::PumpHours, 4, 17},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Accessor);
        for (int n = 1; n <= c.Count; ++n) {
            EXPECT_EQ((data.*c.Read)(n), data[c.FirstWord + std::size_t(n - 1)]) << n;
        }
        EXPECT_EQ((data.*c.Read)(0), 0);
        EXPECT_EQ((data.*c.Read)(c.Count + 1), 0);
    }
    EXPECT_EQ(data.SensorBits(), 116);
    EXPECT_EQ(std::vector<std::uint16_t>(data.EventWords().begin(), data.EventWords().end()),
              (std::vector<std::uint16_t>{100, 101, 102, 103}));
}
