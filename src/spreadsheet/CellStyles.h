#pragma once

#include <map>
#include <optional>
#include <string>
#include <tuple>

#include <pugixml.hpp>

namespace kt41::spreadsheet {

// The cell formats of a workbook's styles part (xl/styles.xml). A cell's style
// is an index into cellXfs; Derive adds the formats the export needs as new
// entries built on a cell's own, so that its font and fill stay.
class CellStyles {
public:
    // Throws WorkbookError when the part is not a styles part.
    explicit CellStyles(const std::string& xml);

    // The number format code of a style ("0", "dd.mm.yy", "General", ...).
    std::string FormatCode(int style) const;

    struct Change {
        std::optional<std::string> FormatCode; // the number format to give
        bool ThinBorders = false;              // thin lines on all four sides
        bool Centred = false;                  // centred both ways
        bool Wrapped = false;                  // line feeds start new lines
    };
    // The style that is `base` with the change applied (the same index for
    // the same base and change).
    int Derive(int base, const Change& change);

    std::string Xml() const;

private:
    pugi::xml_node Xf(int style) const;
    int FormatId(const std::string& code);
    int ThinBorder();

    pugi::xml_document document_;
    pugi::xml_node cellXfs_;
    std::map<int, std::string> customFormats_;
    std::optional<int> thinBorder_;
    std::map<std::tuple<int, std::string, bool, bool, bool>, int> derived_;
};

} // namespace kt41::spreadsheet
