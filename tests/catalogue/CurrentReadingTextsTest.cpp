#include "catalogue/CurrentReadingTexts.h"
#include "catalogue/ClockTexts.h"
#include "device/TKT41.h"
#include "driver/OleDateTime.h"
#include "support/FakeControllerDriver.h"

#include <gtest/gtest.h>

#include <array>

using namespace kt41::catalogue;
using namespace kt41::device;
using kt41::driver::CivilDateTime;
using kt41::driver::EncodeDateTime;
using kt41::testing::FakeControllerDriver;

class CurrentReadingTextsTest : public ::testing::Test {
protected:
    // 4-20 mA inputs 1..4 as position, pressure, flow, and a type no setting
    // produces.
    void SetUp() override {
        const std::array<std::uint8_t, 4> types{0, 1, 2, 7};
        for (std::size_t n = 0; n < 4; ++n) {
            model.Input_P[n].InputType = types[n];
        }
    }
    FakeControllerDriver driver;
    TKT41 model{driver};
};

TEST_F(CurrentReadingTextsTest, CellsOfOnePoll) {
    TCurrentData data{};
    data[4] = std::uint16_t(-253); // T1
    data[9] = 0xFF9C;              // T6
    data[11] = 215;                // setpoint 2
    data[12] = data[13] = data[14] = data[15] = 250;
    data[16] = 0x0201;
    data[17] = 8760;
    data[20] = 65535;
    const TCurrentReadingTexts texts(model, data, ",");

    const struct {
        int Column;
        const char* Value;
        const char* Header;
    } readings[] = {
        {0, "-25,3", "Т1, °C"}, {5, "-10,0", "Т6, °C"}, {7, "21,5", "Тзад 2, °C"},
        {8, "250", "Поз., |%"}, {9, "2,50", "P, |МПа"}, {10, "2,50", "Расход, м3/ч"},
        {11, "250", ""}, // an unknown type: the value whole, the header kept
    };
    for (const auto& r : readings) {
        EXPECT_EQ(texts.ReadingValue(r.Column), r.Value) << r.Column;
        EXPECT_EQ(texts.ReadingHeader(r.Column, "|"), r.Header) << r.Column;
    }

    // Sensor bits 0 and 9 set, the others clear; then the pump hours.
    for (int column = 0; column < 10; ++column) {
        EXPECT_EQ(texts.SensorOrHoursValue(column), column == 0 || column == 9 ? "Авария" : "Норма")
            << column;
    }
    EXPECT_EQ(texts.SensorOrHoursValue(10), "8760");
    EXPECT_EQ(texts.SensorOrHoursValue(13), "65535");
}

TEST(EventLogRowsTest, OrderAndOneStamp) {
    const std::string stamp = EventLogStamp({2025, 12, 8, 9, 5, 7});
    EXPECT_EQ(stamp, "08.12.2025 9:05:07");
    EXPECT_EQ(EventLogStamp({2026, 1, 31, 23, 59, 0}), "31.01.2026 23:59:00");

    const std::array<std::uint16_t, 4> words{0x8001, 0, 0, 0x8000};
    const auto rows = EventLogRows(words, stamp);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Kind, "Авария");
    EXPECT_EQ(rows[0].Description, "Насос в первом канале подпитки остановлен по таймауту");
    EXPECT_EQ(rows[1].Description, "Остановка 2-го насоса насосной группы в 1-м контуре");
    EXPECT_EQ(rows[2].Kind, "Событие");
    EXPECT_EQ(rows[2].Description, "4-й контур отключен пользователем");
    for (const auto& row : rows) {
        EXPECT_EQ(row.Stamp, stamp);
    }

    const auto none = EventLogRows(std::array<std::uint16_t, 4>{}, stamp);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].Stamp, stamp);
    EXPECT_EQ(none[0].Kind, "Сообщение");
    EXPECT_EQ(none[0].Description, "Ошибки отсутствуют");
}

TEST(ClockTextsTest, LinesOfARead) {
    const struct {
        CivilDateTime Clock;
        const char* Time;
        const char* Date;
    } cases[] = {
        {{2025, 1, 1, 14, 5, 9}, "14:05:09", "1 января 2025 года, Среда"},
        {{2024, 3, 5, 0, 0, 0}, "00:00:00", "5 марта 2024 года, Вторник"},
        {{2023, 12, 31, 23, 59, 59}, "23:59:59", "31 декабря 2023 года, Воскресенье"},
        {{2026, 8, 15, 7, 30, 0}, "07:30:00", "15 августа 2026 года, Суббота"},
    };
    for (const auto& c : cases) {
        const TClockLines lines = ClockLines(true, EncodeDateTime(c.Clock));
        EXPECT_EQ(lines.Time, c.Time);
        EXPECT_EQ(lines.Date, c.Date);
    }
    // No answer: not the zero date-time (30 December 1899) the read left.
    const TClockLines none = ClockLines(false, 0.0);
    EXPECT_EQ(none.Time, "--:--:--");
    EXPECT_EQ(none.Date, "Нет ответа от прибора");
}
