#pragma once

#include <map>
#include <string>

#include <pugixml.hpp>

namespace kt41::spreadsheet {

// One worksheet part (xl/worksheets/sheetN.xml): cells addressed by row and
// column (both from 1), created in their place when missing. Everything else
// of the sheet (columns, merged cells, print settings, pictures) is kept.
class Worksheet {
public:
    // Throws WorkbookError when the part is not a worksheet.
    explicit Worksheet(const std::string& xml);

    // The style index of a cell; 0 when the cell has none or does not exist.
    int Style(int row, int column) const;
    void SetStyle(int row, int column, int style);

    // The cell's value becomes a text, a number or nothing; a formula it held
    // is dropped.
    void SetText(int row, int column, const std::string& text);
    void SetNumber(int row, int column, double value);

    std::string Xml();

    // "K2" for row 2, column 11.
    static std::string Reference(int row, int column);

private:
    pugi::xml_node Row(int row);
    pugi::xml_node Cell(int row, int column);
    pugi::xml_node FindCell(int row, int column) const;
    pugi::xml_node ClearedValue(int row, int column);
    void UpdateDimension();

    pugi::xml_document document_;
    pugi::xml_node sheetData_;
    std::map<int, pugi::xml_node> rows_;
    int lastRow_ = 0;
    int lastColumn_ = 0;
    int firstRow_ = 0;
    int firstColumn_ = 0;
};

} // namespace kt41::spreadsheet
