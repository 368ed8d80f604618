#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kt41::spreadsheet {

// One cell of the table an archive export writes: a text, a number or a
// calendar date.
struct Cell {
    enum class Kind { Text, Number, Date };
    Kind What = Kind::Text;
    std::string Text;                // Kind::Text
    double Number = 0;               // Kind::Number
    std::chrono::year_month_day Day; // Kind::Date
};

// Rows of kTableColumns cells; row 0 holds the headers.
using ValueTable = std::vector<std::vector<Cell>>;

// The archive grid's columns that go into the workbook: all but the notes.
inline constexpr int kTableColumns = 15;

// The grid's date text "05.03.22" (day.month.two-digit year, the year within
// 2000-2099, as the controller counts it); nothing for any other text.
std::optional<std::chrono::year_month_day> ParseGridDate(std::string_view text);

// A number as the grid shows it, with `decimalSeparator` before the decimals;
// nothing when the text is not a number.
std::optional<double> ParseGridNumber(std::string_view text, std::string_view decimalSeparator);

// The value table of the archive grid: headers[c] and rows[r][c] are the
// texts of grid column c (columns from kTableColumns on are left out). Every
// cell starts as "---"; the headers get "\n" for each line break; in the
// records column 1 becomes a date, column 2 the text "HH:00", the others
// numbers. A text that is not what its column holds stays as it is.
ValueTable BuildValueTable(const std::vector<std::string>& headers,
                           const std::vector<std::vector<std::string>>& rows,
                           std::string_view decimalSeparator);

} // namespace kt41::spreadsheet
