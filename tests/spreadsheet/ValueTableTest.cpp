#include "spreadsheet/ValueTable.h"

#include <gtest/gtest.h>

namespace kt41::spreadsheet {
namespace {

using namespace std::chrono;

TEST(ValueTable, GridDatesAreDayMonthYearOfThisCentury) {
    struct Case {
        const char* Text;
        std::optional<year_month_day> Wanted;
    };
    const Case cases[] = {
        {"05.03.22", 2022y / March / 5},
        {"31.12.99", 2099y / December / 31},
        {"29.02.24", 2024y / February / 29},
        {"29.02.23", std::nullopt}, // no such day
        {"00.03.22", std::nullopt},
        {"05.13.22", std::nullopt},
        {"05.03.2022", std::nullopt}, // the grid never shows four digits
        {"5.3.22", std::nullopt},
        {"05/03/22", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseGridDate(c.Text), c.Wanted) << c.Text;
    }
}

TEST(ValueTable, NumbersUseTheGivenDecimalSeparator) {
    struct Case {
        const char* Text;
        const char* Separator;
        std::optional<double> Wanted;
    };
    const Case cases[] = {
        {"21,5", ",", 21.5},        {"21.5", ".", 21.5},         {"-3,25", ",", -3.25},
        {"57", ",", 57.0},          {"21,5", ".", std::nullopt}, {"", ",", std::nullopt},
        {"1e5", ".", std::nullopt}, {"+1", ".", std::nullopt},   {"1,5 ", ",", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseGridNumber(c.Text, c.Separator), c.Wanted) << c.Text << " " << c.Separator;
    }
}

TEST(ValueTable, GridTextsBecomeHeadersDatesHourTextsAndNumbers) {
    const ValueTable table =
        BuildValueTable({"№\r\nп/п", "Дата  (Дн.Мс.Год)", "Час", "Т1, °C", "P, \r\nМПа"},
                        {{"1", "05.03.22", "07", "21,5"}, {"2", "05.03.2022", "06", "обрыв"}}, ",");
    ASSERT_EQ(table.size(), 3u);
    ASSERT_EQ(table[0].size(), std::size_t(kTableColumns));
    EXPECT_EQ(table[0][0].Text, "№\nп/п");
    EXPECT_EQ(table[0][4].Text, "P, \nМПа");
    EXPECT_EQ(table[0][5].Text, "---"); // a header the grid did not give

    EXPECT_EQ(table[1][0].What, Cell::Kind::Number);
    EXPECT_EQ(table[1][0].Number, 1.0);
    EXPECT_EQ(table[1][1].What, Cell::Kind::Date);
    EXPECT_EQ(table[1][1].Day, 2022y / March / 5);
    EXPECT_EQ(table[1][2].What, Cell::Kind::Text);
    EXPECT_EQ(table[1][2].Text, "07:00");
    EXPECT_EQ(table[1][3].Number, 21.5);
    EXPECT_EQ(table[1][14].Text, "---");

    // Texts that are not what their column holds stay texts.
    EXPECT_EQ(table[2][1].What, Cell::Kind::Text);
    EXPECT_EQ(table[2][1].Text, "05.03.2022");
    EXPECT_EQ(table[2][3].What, Cell::Kind::Text);
    EXPECT_EQ(table[2][3].Text, "обрыв");
}

} // namespace
} // namespace kt41::spreadsheet
