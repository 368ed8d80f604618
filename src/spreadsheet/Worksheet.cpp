#include "Worksheet.h"
#include "WorkbookError.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace kt41::spreadsheet {

namespace {

// The column of a reference "K2" (11); 0 when it has no letters.
int ColumnOf(const char* reference) {
    int column = 0;
    for (; *reference >= 'A' && *reference <= 'Z'; ++reference) {
        column = column * 26 + (*reference - 'A' + 1);
    }
    return column;
}

bool NeedsPreservedSpace(const std::string& text) {
    return !text.empty() && (text.front() == ' ' || text.back() == ' ' ||
                             text.find_first_of("\n\t") != std::string::npos);
}

} // namespace

Worksheet::Worksheet(const std::string& xml) {
    if (!document_.load_buffer(xml.data(), xml.size())) {
        throw WorkbookError("первый лист шаблона повреждён");
    }
    sheetData_ = document_.child("worksheet").child("sheetData");
    if (!sheetData_) {
        throw WorkbookError("первый лист шаблона повреждён");
    }
    // Rows and cells may leave out their position; they then follow the one
    // before. Every row and cell gets it written, so that new ones can be put
    // in their place.
    int previousRow = 0;
    for (pugi::xml_node row : sheetData_.children("row")) {
        const int r = row.attribute("r") ? row.attribute("r").as_int() : previousRow + 1;
        if (!row.attribute("r")) {
            row.append_attribute("r").set_value(r);
        }
        rows_[r] = row;
        previousRow = r;
        int previousColumn = 0;
        for (pugi::xml_node cell : row.children("c")) {
            int c = ColumnOf(cell.attribute("r").as_string());
            if (c == 0) {
                c = previousColumn + 1;
                if (cell.attribute("r")) {
                    cell.remove_attribute("r");
                }
                cell.prepend_attribute("r").set_value(Reference(r, c).c_str());
            }
            previousColumn = c;
            firstRow_ = firstRow_ == 0 ? r : std::min(firstRow_, r);
            lastRow_ = std::max(lastRow_, r);
            firstColumn_ = firstColumn_ == 0 ? c : std::min(firstColumn_, c);
            lastColumn_ = std::max(lastColumn_, c);
        }
    }
}

std::string Worksheet::Reference(int row, int column) {
    std::string letters;
    for (int c = column; c > 0; c = (c - 1) / 26) {
        letters.insert(letters.begin(), char('A' + (c - 1) % 26));
    }
    return letters + std::to_string(row);
}

pugi::xml_node Worksheet::Row(int row) {
    if (const auto found = rows_.find(row); found != rows_.end()) {
        return found->second;
    }
    const auto next = rows_.upper_bound(row);
    pugi::xml_node node = next == rows_.end() ? sheetData_.append_child("row")
                                              : sheetData_.insert_child_before("row", next->second);
    node.append_attribute("r").set_value(row);
    rows_[row] = node;
    return node;
}

pugi::xml_node Worksheet::FindCell(int row, int column) const {
    const auto found = rows_.find(row);
    if (found == rows_.end()) {
        return {};
    }
    for (pugi::xml_node cell : found->second.children("c")) {
        if (ColumnOf(cell.attribute("r").as_string()) == column) {
            return cell;
        }
    }
    return {};
}

pugi::xml_node Worksheet::Cell(int row, int column) {
    pugi::xml_node rowNode = Row(row);
    pugi::xml_node cell;
    for (pugi::xml_node existing : rowNode.children("c")) {
        const int c = ColumnOf(existing.attribute("r").as_string());
        if (c == column) {
            return existing;
        }
        if (c > column) {
            cell = rowNode.insert_child_before("c", existing);
            break;
        }
    }
    if (!cell) {
        cell = rowNode.append_child("c");
    }
    cell.append_attribute("r").set_value(Reference(row, column).c_str());
    // The row's column span is a reading hint that a new cell may outgrow.
    rowNode.remove_attribute("spans");
    firstRow_ = firstRow_ == 0 ? row : std::min(firstRow_, row);
    lastRow_ = std::max(lastRow_, row);
    firstColumn_ = firstColumn_ == 0 ? column : std::min(firstColumn_, column);
    lastColumn_ = std::max(lastColumn_, column);
    return cell;
}

int Worksheet::Style(int row, int column) const {
    return FindCell(row, column).attribute("s").as_int(0);
}

void Worksheet::SetStyle(int row, int column, int style) {
    pugi::xml_node cell = Cell(row, column);
    pugi::xml_attribute s = cell.attribute("s");
    if (!s) {
        s = cell.insert_attribute_after("s", cell.attribute("r"));
    }
    s.set_value(style);
}

pugi::xml_node Worksheet::ClearedValue(int row, int column) {
    pugi::xml_node cell = Cell(row, column);
    cell.remove_attribute("t");
    while (cell.first_child()) {
        cell.remove_child(cell.first_child());
    }
    return cell;
}

void Worksheet::SetText(int row, int column, const std::string& text) {
    pugi::xml_node cell = ClearedValue(row, column);
    if (text.empty()) {
        return;
    }
    cell.append_attribute("t").set_value("inlineStr");
    pugi::xml_node t = cell.append_child("is").append_child("t");
    if (NeedsPreservedSpace(text)) {
        t.append_attribute("xml:space").set_value("preserve");
    }
    t.text().set(text.c_str());
}

void Worksheet::SetNumber(int row, int column, double value) {
    pugi::xml_node cell = ClearedValue(row, column);
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    cell.append_child("v").text().set(std::string(digits, result.ptr).c_str());
}

void Worksheet::UpdateDimension() {
    pugi::xml_node dimension = document_.child("worksheet").child("dimension");
    if (!dimension || lastRow_ == 0) {
        return;
    }
    const std::string first = Reference(firstRow_, firstColumn_);
    const std::string last = Reference(lastRow_, lastColumn_);
    dimension.attribute("ref")
        ? dimension.attribute("ref").set_value((first + ":" + last).c_str())
        : dimension.append_attribute("ref").set_value((first + ":" + last).c_str());
}

std::string Worksheet::Xml() {
    UpdateDimension();
    std::ostringstream out;
    document_.save(out, "", pugi::format_raw);
    return out.str();
}

} // namespace kt41::spreadsheet
