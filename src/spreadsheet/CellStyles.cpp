#include "CellStyles.h"
#include "WorkbookError.h"

#include <sstream>
#include <string_view>

namespace kt41::spreadsheet {

namespace {

// Number formats every spreadsheet program knows by id without a numFmt entry.
constexpr std::pair<int, std::string_view> kBuiltInFormats[] = {
    {0, "General"},
    {1, "0"},
    {2, "0.00"},
    {3, "#,##0"},
    {4, "#,##0.00"},
    {9, "0%"},
    {10, "0.00%"},
    {11, "0.00E+00"},
    {12, "# ?/?"},
    {13, "# ?\?/??"},
    {14, "mm-dd-yy"},
    {15, "d-mmm-yy"},
    {16, "d-mmm"},
    {17, "mmm-yy"},
    {18, "h:mm AM/PM"},
    {19, "h:mm:ss AM/PM"},
    {20, "h:mm"},
    {21, "h:mm:ss"},
    {22, "m/d/yy h:mm"},
    {37, "#,##0 ;(#,##0)"},
    {38, "#,##0 ;[Red](#,##0)"},
    {39, "#,##0.00;(#,##0.00)"},
    {40, "#,##0.00;[Red](#,##0.00)"},
    {45, "mm:ss"},
    {46, "[h]:mm:ss"},
    {47, "mmss.0"},
    {48, "##0.0E+0"},
    {49, "@"},
};
constexpr int kFirstCustomFormat = 164;

void SetAttribute(pugi::xml_node node, const char* name, const char* value) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        attribute = node.append_attribute(name);
    }
    attribute.set_value(value);
}

void SetAttribute(pugi::xml_node node, const char* name, int value) {
    SetAttribute(node, name, std::to_string(value).c_str());
}

int ChildCount(pugi::xml_node list) {
    return int(std::distance(list.begin(), list.end()));
}

void SetCount(pugi::xml_node list) {
    SetAttribute(list, "count", ChildCount(list));
}

} // namespace

CellStyles::CellStyles(const std::string& xml) {
    if (!document_.load_buffer(xml.data(), xml.size())) {
        throw WorkbookError("часть стилей шаблона повреждена");
    }
    const pugi::xml_node sheet = document_.child("styleSheet");
    cellXfs_ = sheet.child("cellXfs");
    if (!sheet || !cellXfs_) {
        throw WorkbookError("часть стилей шаблона повреждена");
    }
    for (pugi::xml_node format : sheet.child("numFmts").children("numFmt")) {
        customFormats_[format.attribute("numFmtId").as_int()] =
            format.attribute("formatCode").as_string();
    }
}

pugi::xml_node CellStyles::Xf(int style) const {
    int index = 0;
    for (pugi::xml_node xf : cellXfs_.children("xf")) {
        if (index++ == style) {
            return xf;
        }
    }
    return {};
}

std::string CellStyles::FormatCode(int style) const {
    const int id = Xf(style).attribute("numFmtId").as_int(0);
    if (const auto custom = customFormats_.find(id); custom != customFormats_.end()) {
        return custom->second;
    }
    for (const auto& [builtIn, code] : kBuiltInFormats) {
        if (builtIn == id) {
            return std::string(code);
        }
    }
    return "General";
}

int CellStyles::FormatId(const std::string& code) {
    for (const auto& [id, builtIn] : kBuiltInFormats) {
        if (builtIn == code) {
            return id;
        }
    }
    int next = kFirstCustomFormat;
    for (const auto& [id, custom] : customFormats_) {
        if (custom == code) {
            return id;
        }
        next = std::max(next, id + 1);
    }
    // numFmts comes first in a styles part.
    pugi::xml_node sheet = document_.child("styleSheet");
    pugi::xml_node formats = sheet.child("numFmts");
    if (!formats) {
        formats = sheet.prepend_child("numFmts");
    }
    pugi::xml_node format = formats.append_child("numFmt");
    format.append_attribute("numFmtId").set_value(next);
    format.append_attribute("formatCode").set_value(code.c_str());
    SetCount(formats);
    customFormats_[next] = code;
    return next;
}

int CellStyles::ThinBorder() {
    if (thinBorder_) {
        return *thinBorder_;
    }
    pugi::xml_node sheet = document_.child("styleSheet");
    pugi::xml_node borders = sheet.child("borders");
    if (!borders) {
        // borders follows numFmts, fonts and fills.
        borders = sheet.insert_child_before(
            "borders", sheet.child("cellStyleXfs") ? sheet.child("cellStyleXfs") : cellXfs_);
        borders.append_child("border"); // the default entry 0: no lines
    }
    pugi::xml_node border = borders.append_child("border");
    for (const char* side : {"left", "right", "top", "bottom"}) {
        pugi::xml_node line = border.append_child(side);
        line.append_attribute("style").set_value("thin");
        line.append_child("color").append_attribute("indexed").set_value(64);
    }
    border.append_child("diagonal");
    SetCount(borders);
    thinBorder_ = ChildCount(borders) - 1;
    return *thinBorder_;
}

int CellStyles::Derive(int base, const Change& change) {
    const auto key = std::make_tuple(base, change.FormatCode.value_or(std::string(1, '\0')),
                                     change.ThinBorders, change.Centred, change.Wrapped);
    if (const auto found = derived_.find(key); found != derived_.end()) {
        return found->second;
    }
    const pugi::xml_node original = Xf(base);
    pugi::xml_node xf = original ? cellXfs_.append_copy(original) : cellXfs_.append_child("xf");
    if (!original) {
        for (const char* id : {"numFmtId", "fontId", "fillId", "borderId", "xfId"}) {
            xf.append_attribute(id).set_value(0);
        }
    }
    if (change.FormatCode) {
        SetAttribute(xf, "numFmtId", FormatId(*change.FormatCode));
        SetAttribute(xf, "applyNumberFormat", 1);
    }
    if (change.ThinBorders) {
        SetAttribute(xf, "borderId", ThinBorder());
        SetAttribute(xf, "applyBorder", 1);
    }
    if (change.Centred || change.Wrapped) {
        pugi::xml_node alignment = xf.child("alignment");
        if (!alignment) {
            alignment = xf.prepend_child("alignment"); // alignment leads an xf's children
        }
        if (change.Centred) {
            SetAttribute(alignment, "horizontal", "center");
            SetAttribute(alignment, "vertical", "center");
        }
        if (change.Wrapped) {
            SetAttribute(alignment, "wrapText", 1);
        }
        SetAttribute(xf, "applyAlignment", 1);
    }
    SetCount(cellXfs_);
    const int index = ChildCount(cellXfs_) - 1;
    derived_[key] = index;
    return index;
}

std::string CellStyles::Xml() const {
    std::ostringstream out;
    document_.save(out, "", pugi::format_raw);
    return out.str();
}

} // namespace kt41::spreadsheet
