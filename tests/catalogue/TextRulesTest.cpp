#include "catalogue/TextRules.h"
#include "catalogue/Catalogue.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

using namespace kt41::catalogue;
using namespace kt41::device;

TEST(DisplayText, ChoiceEntries) {
    struct Case {
        const TCatalogueEntry& entry;
        std::int32_t raw;
        std::string_view text;
    };
    for (const Case& c : {
             // Contour lists clear bit 7 before the look-up.
             Case{ContourEntry(coContour_OTP), 0x81, "Аналоговый выход (4-20 мА) №1"},
             Case{ContourEntry(coContour_OTP), 5, "5"},
             Case{ContourEntry(coContour_OTP), 0x85, "5"},
             Case{ContourEntry(coFD_Mode), 4, "2 канала с аналог. входом (4-20мА)"},
             // The speed and contact lists compare the whole value.
             Case{DeviceEntry(doMBS_speed), 1, "19200"},
             Case{DeviceEntry(doMBS_speed), 2, "2"},
             Case{DeviceEntry(doNO_M1), 300, "300"},
             Case{DeviceEntry(doNO_M1), 0x81, "129"},
             Case{DeviceEntry(doNO_MP2), 1, "Нормально закр."},
             // Pump rows show a value beyond their list as the number.
             Case{PumpEntry(noPMP_Main), 0, "Насос 2"},
             Case{PumpEntry(noRST_Mode), 7, "7"},
             Case{PumpEntry(noRST_Mode), 2, "Произвольный"},
             // Inputs: "---" is a display entry; the unit list takes the whole value.
             Case{InputEntry(TInputKind::Analog, ioAlarm), 2, "---"},
             Case{InputEntry(TInputKind::Thermometer, ioAlarm), 3, "3"},
             Case{InputEntry(TInputKind::Analog, ioAnalogType), 2, "м3/ч"},
             Case{InputEntry(TInputKind::Analog, ioAnalogType), 0x81, "129"},
         }) {
        EXPECT_EQ(DisplayText(c.entry, c.raw, "."), c.text) << c.entry.Name << " " << c.raw;
    }
}

TEST(DisplayText, NumbersBySignednessAndScale) {
    struct Case {
        const TCatalogueEntry& entry;
        std::int32_t raw;
        std::string_view separator;
        std::string_view text;
    };
    for (const Case& c : {
             Case{ContourEntry(coT_action), 0xFFCE, ".", "-50"},
             Case{ContourEntry(coT_action), -5, ".", "-5"},
             Case{ContourEntry(coCycle), 0xFFCE, ".", "65486"},
             Case{ContourEntry(coBC_delta_UP), -3, ".", "-0.3"},
             Case{ContourEntry(coBC_delta_UP), -3, ",", "-0,3"},
             Case{ContourEntry(coBC_delta_DN), 0xFFF6, ".", "-1.0"},
             Case{ContourEntry(coPK), 12, ".", "1.2"},
             Case{ContourEntry(coDK), 0, ".", "0.0"},
             Case{ContourEntry(coRP_diff), 29, ".", "0.29"},
             Case{ContourEntry(coRP_diff), 300, ",", "3,00"},
             Case{ContourEntry(coP_alarm_UP), 65535, ".", "655.35"},
             Case{InputEntry(TInputKind::Analog, ioMaxValAnalog), 2550, ".", "25.50"},
             Case{DeviceEntry(doPMP1_time_1), 65000, ".", "65000"},
         }) {
        EXPECT_EQ(DisplayText(c.entry, c.raw, c.separator), c.text) << c.entry.Name << " " << c.raw;
    }
    EXPECT_EQ(FormatScaled(-5, 100, "."), "-0.05");
    EXPECT_EQ(FormatScaled(7, 1, "."), "7");
}

TEST(StoredInteger, DecimalTextIsScaledExactly) {
    struct Case {
        std::string_view text;
        std::int32_t scale;
        std::optional<std::int32_t> value;
    };
    constexpr auto max = std::numeric_limits<std::int32_t>::max();
    constexpr auto min = std::numeric_limits<std::int32_t>::min();
    for (const Case& c : {
             // Values a binary float would turn into 28, 114 or 56.
             Case{"0.29", 100, 29},
             Case{"1.15", 100, 115},
             Case{"0.57", 100, 57},
             Case{"2.01", 100, 201},
             Case{"1.2", 10, 12},
             // More decimals than the scale holds are cut toward zero.
             Case{"0.537", 100, 53},
             Case{"-0.537", 100, -53},
             Case{"-0.39", 10, -3},
             Case{"0.09", 10, 0},
             // Either separator; blanks, signs, no leading or trailing digits.
             Case{"25,5", 100, 2550},
             Case{" 25.5 ", 100, 2550},
             Case{"+3", 100, 300},
             Case{".5", 10, 5},
             Case{"5.", 10, 50},
             Case{"007", 1, 7},
             Case{"1e2", 10, 1000},
             Case{"1.5E-1", 100, 15},
             Case{"12.5e-3", 100, 1},
             // Held at the 32-bit limits.
             Case{"99999999999", 100, max},
             Case{"-99999999999", 100, min},
             Case{"1e999999999", 1, max},
             Case{"1e-999999999", 100, 0},
             // Not numbers.
             Case{"", 100, std::nullopt},
             Case{"   ", 100, std::nullopt},
             Case{"abc", 100, std::nullopt},
             Case{"1.2.3", 100, std::nullopt},
             Case{"1,2,3", 100, std::nullopt},
             Case{"-", 100, std::nullopt},
             Case{".", 100, std::nullopt},
             Case{"1e", 100, std::nullopt},
             Case{"e5", 100, std::nullopt},
             Case{"12 5", 100, std::nullopt},
             Case{"0x10", 1, std::nullopt},
             Case{"--1", 1, std::nullopt},
             Case{"inf", 1, std::nullopt},
         }) {
        EXPECT_EQ(StoredIntegerFromText(c.text, c.scale), c.value)
            << "'" << c.text << "' at " << c.scale;
    }
}

// Every value a two-decimal spin can hold survives the round trip through its
// display text unchanged.
TEST(StoredInteger, RoundTripsEveryDisplayedValue) {
    for (std::int32_t raw = -300; raw <= 3000; ++raw) {
        ASSERT_EQ(StoredIntegerFromText(FormatScaled(raw, 100, ","), 100), raw);
        ASSERT_EQ(StoredIntegerFromText(FormatScaled(raw, 10, "."), 10), raw);
    }
}
