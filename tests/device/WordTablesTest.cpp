// Holds the word tables of docs/protocol.md to the codecs. Each table below is
// a block's table on the page, row for row: the word a field travels in, and
// how (whole word, signed word, low byte, one bit, a nibble). The probe sets
// one field at a time to a distinctive value, encodes, and checks that exactly
// that word changed, in exactly those bits, to the expected pattern; then it
// decodes that pattern alone and checks that exactly that field took the
// value. Every word of a block must be named by a row or listed as unused, and
// unused words travel as 0. A change of a codec or of the page that is not
// made in both places fails here.
#include "device/BlockCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

namespace kt41::device {
namespace {

enum class Kind {
    Word,      // the whole word, unsigned
    Signed,    // the whole word, two's complement
    LowByte,   // low byte; written with a zero high byte, the high byte ignored on reading
    PackedLow, // low byte of a word shared with another field
    PackedHigh,
    Flag,  // one bit, given by Row::Bit
    Func,  // bits 0-3
    Alarm, // bit 4 on writing (set for 1 only), bits 4-7 on reading
};

template <class R>
struct Row {
    std::string Name;
    int Word;
    Kind How;
    int Bit = 0;
    std::function<void(R&, int)> Set; // null for a block that is only read
    std::function<int(const R&)> Get;
};

#define FIELD(R, member, word, how)                                                                \
    Row<R> {                                                                                       \
#member, word, how, 0,                                                                    \
            [](R& r, int v) { r member = static_cast<std::remove_cvref_t<decltype(r member)>>(v); }, \
            [](const R& r) { return int(r member); }        \
    }
#define FLAG(R, member, word, bit)                                                                 \
    Row<R> {                                                                                       \
#member, word, Kind::Flag, bit,                                                           \
            [](R& r, int v) { r member = static_cast<std::remove_cvref_t<decltype(r member)>>(v); }, \
            [](const R& r) { return int(r member); }        \
    }

int Probe(Kind how) {
    switch (how) {
    case Kind::Word:
        return 0xBEEF;
    case Kind::Signed:
        return -12345;
    case Kind::LowByte:
    case Kind::PackedLow:
    case Kind::PackedHigh:
        return 0xA5;
    case Kind::Flag:
    case Kind::Alarm:
        return 1;
    case Kind::Func:
        return 0x0B;
    }
    return 0;
}

// The bits of its word a field owns, and the word pattern of `value`.
std::uint16_t Mask(const auto& row) {
    switch (row.How) {
    case Kind::Word:
    case Kind::Signed:
        return 0xFFFF;
    case Kind::LowByte:
    case Kind::PackedLow:
        return 0x00FF;
    case Kind::PackedHigh:
        return 0xFF00;
    case Kind::Flag:
        return std::uint16_t(1u << row.Bit);
    case Kind::Func:
        return 0x000F;
    case Kind::Alarm:
        return 0x00F0;
    }
    return 0;
}

std::uint16_t Pattern(const auto& row, int value) {
    switch (row.How) {
    case Kind::Word:
    case Kind::Signed:
    case Kind::LowByte:
    case Kind::PackedLow:
    case Kind::Func:
        return std::uint16_t(value);
    case Kind::PackedHigh:
        return std::uint16_t(value << 8);
    case Kind::Flag:
        return value == 1 ? std::uint16_t(1u << row.Bit) : 0;
    case Kind::Alarm:
        return std::uint16_t(value << 4);
    }
    return 0;
}

template <class R>
struct BlockTable {
    const char* Name;
    std::size_t Words;
    std::vector<Row<R>> Rows;
    std::set<int> Unused;
    std::function<void(const R&, std::span<std::uint16_t>)> Encode; // null: read only
    std::function<void(std::span<const std::uint16_t>, R&)> Decode; // null: write only
};

template <class R>
void CheckTable(const BlockTable<R>& table) {
    SCOPED_TRACE(table.Name);
    std::set<int> named;
    for (const Row<R>& row : table.Rows) {
        named.insert(row.Word);
    }
    for (int w = 0; w < int(table.Words); ++w) {
        EXPECT_NE(named.count(w) != 0, table.Unused.count(w) != 0)
            << "word " << w << " must be named by exactly one of the rows and the unused list";
    }

    const R zero{};
    std::vector<std::uint16_t> base(table.Words, 0x5A5A);
    if (table.Encode) {
        table.Encode(zero, base);
        EXPECT_EQ(base, std::vector<std::uint16_t>(table.Words, 0))
            << "a zero record encodes as zeros";
    }
    for (const Row<R>& row : table.Rows) {
        SCOPED_TRACE(row.Name);
        const int value = Probe(row.How);
        const std::uint16_t pattern = Pattern(row, value);
        if (table.Encode) {
            R record{};
            row.Set(record, value);
            std::vector<std::uint16_t> words(table.Words, 0x5A5A);
            table.Encode(record, words);
            for (int w = 0; w < int(table.Words); ++w) {
                if (w == row.Word) {
                    EXPECT_EQ(words[w] & Mask(row), pattern) << "in word " << w;
                    if (Mask(row) == 0x00FF && row.How == Kind::LowByte) {
                        EXPECT_EQ(words[w] >> 8, 0) << "high byte of word " << w;
                    }
                    EXPECT_EQ(words[w] & ~Mask(row), base[w] & ~Mask(row))
                        << "bits outside the field changed in word " << w;
                } else {
                    EXPECT_EQ(words[w], base[w]) << "word " << w << " changed";
                }
            }
        }
        if (table.Decode) {
            std::vector<std::uint16_t> words(table.Words, 0);
            // A byte field ignores its high byte on reading.
            words[row.Word] = row.How == Kind::LowByte ? std::uint16_t(pattern | 0x5A00) : pattern;
            R record{};
            table.Decode(words, record);
            for (const Row<R>& other : table.Rows) {
                EXPECT_EQ(other.Get(record), &other == &row ? value : 0)
                    << other.Name << " after decoding word " << row.Word;
            }
        }
    }

    if (table.Encode) {
        // Every field at once: unused words stay 0, and decoding gives it back.
        R all{};
        for (const Row<R>& row : table.Rows) {
            row.Set(all, Probe(row.How));
        }
        std::vector<std::uint16_t> words(table.Words, 0x5A5A);
        table.Encode(all, words);
        for (int w : table.Unused) {
            EXPECT_EQ(words[w], 0) << "unused word " << w;
        }
        if (table.Decode) {
            R back{};
            table.Decode(words, back);
            for (const Row<R>& row : table.Rows) {
                EXPECT_EQ(row.Get(back), Probe(row.How)) << row.Name << " after a round trip";
            }
        }
    }
}

template <std::size_t N>
auto Fixed(std::span<std::uint16_t> w) {
    return std::span<std::uint16_t, N>(w.data(), N);
}
template <std::size_t N>
auto Fixed(std::span<const std::uint16_t> w) {
    return std::span<const std::uint16_t, N>(w.data(), N);
}

// Calendars travel Sunday first: day 7 in the first four words, then days 1..6.
template <class R>
void AddCalendar(std::vector<Row<R>>& rows, const char* name, int first,
                 TWeekCalendar R::*calendar) {
    for (int day = 0; day < 7; ++day) {
        const int slot = day == 6 ? 0 : day + 1;
        for (int p = 0; p < 4; ++p) {
            rows.push_back({std::string(name) + " day " + std::to_string(day + 1) + " point " +
                                std::to_string(p + 1),
                            first + 4 * slot + p, Kind::Word, 0,
                            [=](R& r, int v) { (r.*calendar).Day[day][p] = std::uint16_t(v); },
                            [=](const R& r) { return int((r.*calendar).Day[day][p]); }});
        }
    }
}

template <class R>
void AddPumpGroup(std::vector<Row<R>>& rows, int first) {
    rows.insert(rows.end(), {
                                FLAG(R, .PumpGroup.Pump_ON, first, 0),
                                FLAG(R, .PumpGroup.Pump_SensProtect, first, 1),
                                FLAG(R, .PumpGroup.Pump_SensWork, first, 2),
                                FLAG(R, .PumpGroup.Pump_AVR, first, 3),
                                FLAG(R, .PumpGroup.Pump_VarWork, first, 4),
                                FLAG(R, .PumpGroup.Pump_Main, first, 5),
                                FIELD(R, .PumpGroup.Pump_DelayOn, first + 1, Kind::Word),
                                FIELD(R, .PumpGroup.Pump_TimeSensWork, first + 2, Kind::Word),
                                FIELD(R, .PumpGroup.Pump_Reset, first + 3, Kind::LowByte),
                                FIELD(R, .PumpGroup.Pump_PeriodReset, first + 4, Kind::Word),
                            });
}

TEST(WordTables, FullContourBlock) {
    using R = TParamContur;
    std::vector<Row<R>> rows{
        FIELD(R, .dT_low, 0, Kind::Word),
        FIELD(R, .RegulateMode, 1, Kind::LowByte),
    };
    for (int i = 0; i < 8; ++i) {
        rows.push_back({"Tout " + std::to_string(i + 1), 2 + i, Kind::Signed, 0,
                        [=](R& r, int v) { r.Tout[i] = std::int16_t(v); },
                        [=](const R& r) { return int(r.Tout[i]); }});
        rows.push_back({"Tin " + std::to_string(i + 1), 10 + i, Kind::Signed, 0,
                        [=](R& r, int v) { r.Tin[i] = std::int16_t(v); },
                        [=](const R& r) { return int(r.Tin[i]); }});
        rows.push_back({"Tback " + std::to_string(i + 1), 18 + i, Kind::Signed, 0,
                        [=](R& r, int v) { r.Tback[i] = std::int16_t(v); },
                        [=](const R& r) { return int(r.Tback[i]); }});
    }
    rows.insert(rows.end(), {
                                FIELD(R, .Qt_Points, 26, Kind::Word),
                                FIELD(R, .T_alarm_max, 27, Kind::Signed),
                                FIELD(R, .T_alarm_min, 28, Kind::Signed),
                                FIELD(R, .VLV_Max_Up, 29, Kind::Word),
                                FIELD(R, .VLV_Max_Down, 30, Kind::Word),
                                FIELD(R, .VLV_Condition, 31, Kind::LowByte),
                                FIELD(R, .BC_corr_ON, 32, Kind::LowByte),
                                FIELD(R, .dBC_High, 33, Kind::Signed),
                                FIELD(R, .dBC_Low, 34, Kind::Signed),
                                FIELD(R, .P_alarm_max, 35, Kind::Word),
                                FIELD(R, .P_alarm_min, 36, Kind::Word),
                                FIELD(R, .PK, 37, Kind::Word),
                                FIELD(R, .DK, 38, Kind::Word),
                                FIELD(R, .Cycle, 39, Kind::Word),
                                FIELD(R, .Week_ON_Tlow, 40, Kind::Word),
                            });
    AddCalendar(rows, "Calendar_Tlow", 41, &R::Calendar_Tlow);
    AddPumpGroup(rows, 69);
    rows.insert(rows.end(), {
                                FIELD(R, .Tnorm, 74, Kind::Word),
                                FIELD(R, .Tlow, 75, Kind::Word),
                                FIELD(R, .Tbc, 76, Kind::Word),
                                FIELD(R, .Tmin, 77, Kind::Word),
                                FIELD(R, .Week_ON_Pump, 78, Kind::Word),
                            });
    AddCalendar(rows, "Calendar_Pump", 79, &R::Calendar_Pump);
    rows.insert(rows.end(), {
                                FIELD(R, .FeedMode, 107, Kind::LowByte),
                                FIELD(R, .FeedReset, 108, Kind::LowByte),
                                FIELD(R, .VLV_pause, 109, Kind::Word),
                                FIELD(R, .PMP_timeout, 110, Kind::Word),
                                FIELD(R, .DavHigh_Feed1, 111, Kind::Word),
                                FIELD(R, .DavLow_Feed1, 112, Kind::Word),
                                FIELD(R, .DavHigh_Feed2, 113, Kind::Word),
                                FIELD(R, .DavLow_Feed2, 114, Kind::Word),
                                FIELD(R, .RP_diff, 115, Kind::Word),
                                FIELD(R, .T_action, 116, Kind::Signed),
                                FIELD(R, .RP_diff_max, 117, Kind::Word),
                            });
    CheckTable<R>(
        {"full contour block",
         kContourWords,
         rows,
         {118, 119},
         [](const R& r, std::span<std::uint16_t> w) { EncodeContour(r, Fixed<kContourWords>(w)); },
         [](std::span<const std::uint16_t> w, R& r) {
             DecodeContour(Fixed<kContourWords>(w), r);
         }});
}

TEST(WordTables, ReducedContourBlock) {
    using R = TParamConturEx;
    std::vector<Row<R>> rows;
    AddPumpGroup(rows, 0);
    rows.insert(rows.end(), {
                                FIELD(R, .FeedMode, 5, Kind::LowByte),
                                FIELD(R, .FeedReset, 6, Kind::LowByte),
                                FIELD(R, .VLV_pause, 7, Kind::Word),
                                FIELD(R, .PMP_timeout, 8, Kind::Word),
                                FIELD(R, .DavHigh_Feed1, 9, Kind::Word),
                                FIELD(R, .DavLow_Feed1, 10, Kind::Word),
                                FIELD(R, .DavHigh_Feed2, 11, Kind::Word),
                                FIELD(R, .DavLow_Feed2, 12, Kind::Word),
                                FIELD(R, .P_alarm_max, 13, Kind::Word),
                                FIELD(R, .P_alarm_min, 14, Kind::Word),
                                FIELD(R, .PK, 15, Kind::Word),
                                FIELD(R, .DK, 16, Kind::Word),
                                FIELD(R, .Cycle, 17, Kind::Word),
                                FIELD(R, .RP_diff, 18, Kind::Word),
                                FIELD(R, .T_action, 19, Kind::Signed),
                                FIELD(R, .RP_diff_max, 20, Kind::Word),
                            });
    CheckTable<R>({"reduced contour block",
                   kContourExWords,
                   rows,
                   {},
                   [](const R& r, std::span<std::uint16_t> w) {
                       EncodeContourEx(r, Fixed<kContourExWords>(w));
                   },
                   [](std::span<const std::uint16_t> w, R& r) {
                       DecodeContourEx(Fixed<kContourExWords>(w), r);
                   }});
}

TEST(WordTables, InputBlocks) {
    using T = std::array<TInputTerm, 6>;
    std::vector<Row<T>> term;
    for (int n = 0; n < 6; ++n) {
        const std::string name = "T" + std::to_string(n + 1);
        term.push_back({name + " Contour", 2 * n, Kind::LowByte, 0,
                        [=](T& r, int v) { r[n].Contour = std::uint8_t(v); },
                        [=](const T& r) { return int(r[n].Contour); }});
        term.push_back({name + " Func", 2 * n + 1, Kind::Func, 0,
                        [=](T& r, int v) { r[n].Func = std::uint8_t(v); },
                        [=](const T& r) { return int(r[n].Func); }});
        term.push_back({name + " Alarm", 2 * n + 1, Kind::Alarm, 0,
                        [=](T& r, int v) { r[n].Alarm = std::uint8_t(v); },
                        [=](const T& r) { return int(r[n].Alarm); }});
    }
    CheckTable<T>(
        {"thermometer inputs",
         kInputWords,
         term,
         {},
         [](const T& r, std::span<std::uint16_t> w) { EncodeInputsTerm(r, Fixed<kInputWords>(w)); },
         [](std::span<const std::uint16_t> w, T& r) {
             DecodeInputsTerm(Fixed<kInputWords>(w), r);
         }});

    using A = std::array<TInputAnalog, 4>;
    std::vector<Row<A>> analog;
    for (int n = 0; n < 4; ++n) {
        const std::string name = "P" + std::to_string(n + 1);
        analog.push_back({name + " Contour", 2 * n, Kind::LowByte, 0,
                          [=](A& r, int v) { r[n].Contour = std::uint8_t(v); },
                          [=](const A& r) { return int(r[n].Contour); }});
        analog.push_back({name + " Func", 2 * n + 1, Kind::Func, 0,
                          [=](A& r, int v) { r[n].Func = std::uint8_t(v); },
                          [=](const A& r) { return int(r[n].Func); }});
        analog.push_back({name + " Alarm", 2 * n + 1, Kind::Alarm, 0,
                          [=](A& r, int v) { r[n].Alarm = std::uint8_t(v); },
                          [=](const A& r) { return int(r[n].Alarm); }});
        analog.push_back({name + " MaxVal", 8 + n, Kind::Word, 0,
                          [=](A& r, int v) { r[n].MaxVal = std::uint16_t(v); },
                          [=](const A& r) { return int(r[n].MaxVal); }});
    }
    CheckTable<A>({"4-20 mA inputs",
                   kInputWords,
                   analog,
                   {},
                   [](const A& r, std::span<std::uint16_t> w) {
                       EncodeInputsAnalog(r, Fixed<kInputWords>(w));
                   },
                   [](std::span<const std::uint16_t> w, A& r) {
                       DecodeInputsAnalog(Fixed<kInputWords>(w), r);
                   }});
}

TEST(WordTables, IdentityDeviceParametersAndCalibration) {
    using D = TParamDevice;
    const std::vector<Row<D>> identity{
        FIELD(D, .Model, 0, Kind::Word),
        FIELD(D, .SerialNumber, 1, Kind::Word),
        FIELD(D, .Version, 2, Kind::Word),
        FIELD(D, .Manufact_date, 3, Kind::Word),
    };
    std::set<int> unusedIdentity;
    for (int w = 4; w < int(kDeviceInfoWords); ++w) {
        unusedIdentity.insert(w);
    }
    CheckTable<D>({"identity", kDeviceInfoWords, identity, unusedIdentity, nullptr,
                   [](std::span<const std::uint16_t> w, D& r) {
                       DecodeDeviceInfo(Fixed<kDeviceInfoWords>(w), r);
                   }});

    const std::vector<Row<D>> device{
        FIELD(D, .MBS_speed, 0, Kind::Word),   FIELD(D, .VLV_stroke1, 1, Kind::Word),
        FIELD(D, .VLV_stroke2, 2, Kind::Word), FIELD(D, .VLV_stroke3, 3, Kind::Word),
        FIELD(D, .VLV_stroke4, 4, Kind::Word), FIELD(D, .PMP1_time_1, 5, Kind::Word),
        FIELD(D, .PMP2_time_1, 6, Kind::Word), FIELD(D, .PMP1_time_2, 7, Kind::Word),
        FIELD(D, .PMP2_time_2, 8, Kind::Word), FIELD(D, .NO_M1, 13, Kind::Word),
        FIELD(D, .NO_M2, 14, Kind::Word),      FIELD(D, .NO_M3, 15, Kind::Word),
        FIELD(D, .NO_M4, 16, Kind::Word),      FIELD(D, .NO_M5, 17, Kind::Word),
        FIELD(D, .NO_M6, 18, Kind::Word),      FIELD(D, .NO_M7, 19, Kind::Word),
        FIELD(D, .NO_M8, 20, Kind::Word),      FIELD(D, .NO_MP1, 21, Kind::Word),
        FIELD(D, .NO_MP2, 22, Kind::Word),
    };
    CheckTable<D>({"device parameters",
                   kDeviceParamWords,
                   device,
                   {9, 10, 11, 12},
                   [](const D& r, std::span<std::uint16_t> w) {
                       EncodeDeviceParams(r, Fixed<kDeviceParamWords>(w));
                   },
                   [](std::span<const std::uint16_t> w, D& r) {
                       DecodeDeviceParams(Fixed<kDeviceParamWords>(w), r);
                   }});

    using C = TCalibrTermDav;
    const std::vector<Row<C>> calibration{
        FIELD(C, .K_TERM_1, 0, Kind::Word),  FIELD(C, .K_TERM_2, 1, Kind::Word),
        FIELD(C, .Type_T, 2, Kind::LowByte), FIELD(C, .K_P1, 3, Kind::Word),
        FIELD(C, .K_P2, 4, Kind::Word),
    };
    CheckTable<C>({"calibration",
                   kCalibrationWords,
                   calibration,
                   {},
                   [](const C& r, std::span<std::uint16_t> w) {
                       EncodeCalibration(r, Fixed<kCalibrationWords>(w));
                   },
                   [](std::span<const std::uint16_t> w, C& r) {
                       DecodeCalibration(Fixed<kCalibrationWords>(w), r);
                   }});
}

TEST(WordTables, ManualStateAndItsWriteBlocks) {
    using M = TParamManual;
    std::vector<Row<M>> modes;
    std::vector<Row<M>> pumps;
    std::vector<Row<M>> valves;
    for (int n = 0; n < 4; ++n) {
        modes.push_back({"ManualMode " + std::to_string(n + 1), 0, Kind::Flag, n,
                         [=](M& r, int v) { r.ManualMode[n] = std::uint8_t(v); },
                         [=](const M& r) { return int(r.ManualMode[n]); }});
        pumps.push_back({"PumpSwitch " + std::to_string(n + 1), 1 + n, Kind::LowByte, 0,
                         [=](M& r, int v) { r.PumpSwitch[n] = std::uint8_t(v); },
                         [=](const M& r) { return int(r.PumpSwitch[n]); }});
        valves.push_back({"ValveCommand " + std::to_string(n + 1), 8 + n, Kind::LowByte, 0,
                          [=](M& r, int v) { r.ValveCommand[n] = std::uint8_t(v); },
                          [=](const M& r) { return int(r.ValveCommand[n]); }});
    }
    std::vector<Row<M>> outputs{FIELD(M, .AnalogOut[0], 5, Kind::Word),
                                FIELD(M, .AnalogOut[1], 6, Kind::Word)};

    std::vector<Row<M>> state = modes;
    state.insert(state.end(), pumps.begin(), pumps.end());
    state.insert(state.end(), outputs.begin(), outputs.end());
    state.insert(state.end(), valves.begin(), valves.end());
    CheckTable<M>({"manual state",
                   kManualStateWords,
                   state,
                   {7},
                   nullptr,
                   [](std::span<const std::uint16_t> w, M& r) {
                       DecodeManualState(Fixed<kManualStateWords>(w), r);
                   }});

    // The three write blocks are the state's words 0, 1-4 and 5-6.
    auto shifted = [](std::vector<Row<M>> rows, int by) {
        for (Row<M>& row : rows) {
            row.Word -= by;
        }
        return rows;
    };
    CheckTable<M>({"manual modes write",
                   1,
                   modes,
                   {},
                   [](const M& r, std::span<std::uint16_t> w) { w[0] = EncodeManualModes(r); },
                   nullptr});
    CheckTable<M>({"pump switches write",
                   4,
                   shifted(pumps, 1),
                   {},
                   [](const M& r, std::span<std::uint16_t> w) {
                       const auto words = EncodePumpSwitches(r);
                       std::copy(words.begin(), words.end(), w.begin());
                   },
                   nullptr});
    CheckTable<M>({"analog outputs write",
                   2,
                   shifted(outputs, 5),
                   {},
                   [](const M& r, std::span<std::uint16_t> w) {
                       const auto words = EncodeAnalogOutputs(r);
                       std::copy(words.begin(), words.end(), w.begin());
                   },
                   nullptr});

    // Valve drive command: w0 the hold time, word n the command of contour n,
    // every other word 0.
    M manual;
    manual.ValveCommand = {1, 2, 1, 2};
    for (int contour = 1; contour <= 4; ++contour) {
        SCOPED_TRACE(contour);
        const auto w = EncodeManualStatus(manual, contour, 1000);
        for (int k = 0; k < int(kManualStatusWords); ++k) {
            const int expected = k == 0         ? 1000
                                 : k == contour ? manual.ValveCommand[contour - 1]
                                                : 0;
            EXPECT_EQ(w[k], expected) << "word " << k;
        }
    }
}

TEST(WordTables, ArchiveRecordAndCurrentData) {
    // Analog scales by InputType: 0 whole units, 1 and 2 hundredths.
    const std::array<std::uint8_t, 4> types{0, 1, 2, 0};
    using A = TArxRecord;
    std::vector<Row<A>> archive{
        {"Month", 0, Kind::PackedHigh, 0, nullptr, [](const A& r) { return int(r.Month); }},
        {"Year", 0, Kind::PackedLow, 0, nullptr, [](const A& r) { return int(r.Year); }},
        {"Hour", 1, Kind::PackedHigh, 0, nullptr, [](const A& r) { return int(r.Hour); }},
        {"Day", 1, Kind::PackedLow, 0, nullptr, [](const A& r) { return int(r.Day); }},
    };
    for (int i = 0; i < 8; ++i) {
        archive.push_back({"Temp " + std::to_string(i + 1), 2 + i, Kind::Signed, 0, nullptr,
                           [=](const A& r) { return int(std::lround(r.Temp[i] * 10)); }});
    }
    for (int i = 0; i < 4; ++i) {
        const float scale = types[i] == 0 ? 1.0f : 100.0f;
        archive.push_back({"Analog " + std::to_string(i + 1), 10 + i, Kind::Word, 0, nullptr,
                           [=](const A& r) { return int(std::lround(r.Analog[i] * scale)); }});
        archive.push_back({"Status " + std::to_string(i + 1), 14 + i, Kind::Word, 0, nullptr,
                           [=](const A& r) { return int(r.Status[i]); }});
    }
    CheckTable<A>({"archive record",
                   kArchiveRecordWords,
                   archive,
                   {},
                   nullptr,
                   [&](std::span<const std::uint16_t> w, A& r) {
                       DecodeArchiveRecord(Fixed<kArchiveRecordWords>(w), types, r);
                   }});

    using C = TCurrentData;
    std::vector<Row<C>> current;
    auto add = [&](std::string name, int word, Kind how, std::function<int(const C&)> get) {
        current.push_back({std::move(name), word, how, 0, nullptr, std::move(get)});
    };
    for (int k = 0; k < 4; ++k) {
        add("event word " + std::to_string(k), k, Kind::Word,
            [=](const C& c) { return int(c.EventWords()[k]); });
    }
    for (int n = 1; n <= 6; ++n) {
        add("T" + std::to_string(n), 3 + n, Kind::Signed,
            [=](const C& c) { return int(std::int16_t(c.Temperature(n))); });
    }
    for (int n = 1; n <= 2; ++n) {
        add("setpoint " + std::to_string(n), 9 + n, Kind::Signed,
            [=](const C& c) { return int(std::int16_t(c.Setpoint(n))); });
    }
    for (int n = 1; n <= 4; ++n) {
        add("P" + std::to_string(n), 11 + n, Kind::Word,
            [=](const C& c) { return int(c.AnalogWord(n)); });
    }
    add("sensor bits", 16, Kind::Word, [](const C& c) { return int(c.SensorBits()); });
    for (int n = 1; n <= 4; ++n) {
        add("pump hours " + std::to_string(n), 16 + n, Kind::Word,
            [=](const C& c) { return int(c.PumpHours(n)); });
    }
    CheckTable<C>(
        {"current data",
         kCurrentDataWords,
         current,
         {},
         nullptr,
         [](std::span<const std::uint16_t> w, C& c) { std::copy(w.begin(), w.end(), c.begin()); }});
}

} // namespace
} // namespace kt41::device
