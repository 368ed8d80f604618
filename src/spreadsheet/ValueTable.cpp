#include "ValueTable.h"

#include <charconv>
#include <cmath>

namespace kt41::spreadsheet {

namespace {

constexpr int kDateColumn = 1;
constexpr int kHourColumn = 2;
constexpr int kCenturyStart = 2000;

std::optional<unsigned> TwoDigits(std::string_view text) {
    if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9') {
        return std::nullopt;
    }
    return unsigned(text[0] - '0') * 10 + unsigned(text[1] - '0');
}

std::string WithLineFeeds(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            result += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            result += text[i];
        }
    }
    return result;
}

Cell TextCell(std::string text) {
    Cell cell;
    cell.Text = std::move(text);
    return cell;
}

Cell RecordCell(int column, const std::string& text, std::string_view decimalSeparator) {
    Cell cell;
    if (column == kDateColumn) {
        if (const auto day = ParseGridDate(text)) {
            cell.What = Cell::Kind::Date;
            cell.Day = *day;
            return cell;
        }
        return TextCell(text);
    }
    if (column == kHourColumn) {
        return TextCell(text + ":00");
    }
    if (const auto number = ParseGridNumber(text, decimalSeparator)) {
        cell.What = Cell::Kind::Number;
        cell.Number = *number;
        return cell;
    }
    return TextCell(text);
}

} // namespace

std::optional<std::chrono::year_month_day> ParseGridDate(std::string_view text) {
    if (text.size() != 8 || text[2] != '.' || text[5] != '.') {
        return std::nullopt;
    }
    const auto day = TwoDigits(text.substr(0, 2));
    const auto month = TwoDigits(text.substr(3, 2));
    const auto year = TwoDigits(text.substr(6, 2));
    if (!day || !month || !year) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year(kCenturyStart + int(*year)),
                                           std::chrono::month(*month), std::chrono::day(*day)};
    if (!date.ok()) {
        return std::nullopt;
    }
    return date;
}

std::optional<double> ParseGridNumber(std::string_view text, std::string_view decimalSeparator) {
    std::string plain;
    const std::size_t at =
        decimalSeparator.empty() ? std::string_view::npos : text.find(decimalSeparator);
    if (at == std::string_view::npos) {
        plain = text;
    } else {
        plain.append(text.substr(0, at))
            .append(".")
            .append(text.substr(at + decimalSeparator.size()));
    }
    if (plain.empty() || plain[0] == '+') {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] =
        std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

ValueTable BuildValueTable(const std::vector<std::string>& headers,
                           const std::vector<std::vector<std::string>>& rows,
                           std::string_view decimalSeparator) {
    ValueTable table(rows.size() + 1, std::vector<Cell>(kTableColumns, TextCell("---")));
    for (std::size_t c = 0; c < headers.size() && c < std::size_t(kTableColumns); ++c) {
        table[0][c] = TextCell(WithLineFeeds(headers[c]));
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size() && c < std::size_t(kTableColumns); ++c) {
            table[r + 1][c] = RecordCell(int(c), rows[r][c], decimalSeparator);
        }
    }
    return table;
}

} // namespace kt41::spreadsheet
