#include "Workbook.h"
#include "WorkbookError.h"

#include <cstring>
#include <sstream>
#include <vector>

#include <pugixml.hpp>

namespace kt41::spreadsheet {

namespace {

const std::string kNotAWorkbook = "шаблон не является книгой Office Open XML";
constexpr const char* kContentTypesPart = "[Content_Types].xml";
constexpr const char* kTemplateType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml";
constexpr const char* kWorkbookType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
constexpr const char* kOfficeDocumentRelation = "/officeDocument";
constexpr const char* kStylesRelation = "/styles";
constexpr const char* kCalcChainRelation = "/calcChain";

pugi::xml_document Parse(const std::string& xml, const std::string& part) {
    pugi::xml_document document;
    if (!document.load_buffer(xml.data(), xml.size())) {
        throw WorkbookError("часть " + part + " шаблона повреждена");
    }
    return document;
}

std::string Serialized(const pugi::xml_document& document) {
    std::ostringstream out;
    document.save(out, "", pugi::format_raw);
    return out.str();
}

bool EndsWith(const char* text, const char* ending) {
    const std::size_t length = std::strlen(text);
    const std::size_t tail = std::strlen(ending);
    return length >= tail && std::strcmp(text + length - tail, ending) == 0;
}

std::string FolderOf(const std::string& part) {
    const std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// The relationships part of a part: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels".
std::string RelationshipsOf(const std::string& part) {
    return FolderOf(part) + "_rels/" + part.substr(FolderOf(part).size()) + ".rels";
}

// The part a relationship of `source` points to, as a name in the package.
std::string Resolve(const std::string& source, const std::string& target) {
    const std::string joined =
        !target.empty() && target[0] == '/' ? target.substr(1) : FolderOf(source) + target;
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const std::size_t slash = std::min(joined.find('/', start), joined.size());
        const std::string name = joined.substr(start, slash - start);
        if (name == "..") {
            if (!names.empty()) {
                names.pop_back();
            }
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        start = slash + 1;
    }
    std::string part;
    for (const std::string& name : names) {
        part += (part.empty() ? "" : "/") + name;
    }
    return part;
}

// The first relationship whose type ends in typeEnding, or the one with the id.
pugi::xml_node Relationship(const pugi::xml_document& relationships, const char* typeEnding,
                            const char* id = nullptr) {
    for (pugi::xml_node relation : relationships.child("Relationships").children("Relationship")) {
        if (id != nullptr ? std::strcmp(relation.attribute("Id").as_string(), id) == 0
                          : EndsWith(relation.attribute("Type").as_string(), typeEnding)) {
            return relation;
        }
    }
    return {};
}

// The r:id of a sheet entry, whatever prefix the relationships namespace has.
const char* RelationshipId(pugi::xml_node sheet) {
    for (pugi::xml_attribute attribute : sheet.attributes()) {
        if (EndsWith(attribute.name(), ":id")) {
            return attribute.value();
        }
    }
    return "";
}

} // namespace

Workbook::Workbook(const std::string& bytes) : package_(bytes) {
    if (!package_.Has(kContentTypesPart) || !package_.Has("_rels/.rels")) {
        throw WorkbookError(kNotAWorkbook);
    }
    const pugi::xml_document root = Parse(package_.Read("_rels/.rels"), "_rels/.rels");
    const pugi::xml_node office = Relationship(root, kOfficeDocumentRelation);
    workbookPart_ = Resolve("", office.attribute("Target").as_string());
    if (!office || !package_.Has(workbookPart_)) {
        throw WorkbookError(kNotAWorkbook);
    }
    const pugi::xml_document workbook = Parse(package_.Read(workbookPart_), workbookPart_);
    const pugi::xml_node book = workbook.child("workbook");
    const pugi::xml_node first = book.child("sheets").child("sheet");
    const std::string relationshipsPart = RelationshipsOf(workbookPart_);
    if (!book || !package_.Has(relationshipsPart)) {
        throw WorkbookError(kNotAWorkbook);
    }
    const std::string date1904 = book.child("workbookPr").attribute("date1904").as_string();
    dates1904_ = date1904 == "1" || date1904 == "true";

    if (!first) {
        throw WorkbookError("в шаблоне нет первого листа");
    }
    const pugi::xml_document relations = Parse(package_.Read(relationshipsPart), relationshipsPart);
    const pugi::xml_node sheetRelation = Relationship(relations, nullptr, RelationshipId(first));
    sheetPart_ = Resolve(workbookPart_, sheetRelation.attribute("Target").as_string());
    if (!sheetRelation || !package_.Has(sheetPart_)) {
        throw WorkbookError("в шаблоне нет первого листа");
    }
    sheet_ = std::make_unique<Worksheet>(package_.Read(sheetPart_));
    const pugi::xml_node stylesRelation = Relationship(relations, kStylesRelation);
    stylesPart_ = Resolve(workbookPart_, stylesRelation.attribute("Target").as_string());
    if (!stylesRelation || !package_.Has(stylesPart_)) {
        throw WorkbookError("в шаблоне нет части стилей");
    }
    styles_ = std::make_unique<CellStyles>(package_.Read(stylesPart_));
}

double Workbook::DateSerial(std::chrono::year_month_day day) const {
    using namespace std::chrono;
    const sys_days epoch =
        dates1904_ ? sys_days(1904y / January / 1) : sys_days(1899y / December / 30);
    return double((sys_days(day) - epoch).count());
}

std::string Workbook::SaveAsWorkbook() {
    // The content type names the package a template or a workbook; anything
    // else (a macro template, say) would not open under the .xlsx extension.
    pugi::xml_document types = Parse(package_.Read(kContentTypesPart), kContentTypesPart);
    bool known = false;
    for (pugi::xml_node override : types.child("Types").children("Override")) {
        if (override.attribute("PartName").as_string() != "/" + workbookPart_) {
            continue;
        }
        const std::string type = override.attribute("ContentType").as_string();
        if (type == kTemplateType) {
            override.attribute("ContentType").set_value(kWorkbookType);
        }
        known = type == kTemplateType || type == kWorkbookType;
    }
    if (!known) {
        throw WorkbookError("шаблон не является шаблоном книги без макросов (.xltx)");
    }

    // The calculation chain lists the formula cells; written cells may have
    // held one, and the spreadsheet program rebuilds the chain when it is missing.
    const std::string relationshipsPart = RelationshipsOf(workbookPart_);
    pugi::xml_document relations = Parse(package_.Read(relationshipsPart), relationshipsPart);
    if (const pugi::xml_node chain = Relationship(relations, kCalcChainRelation)) {
        const std::string chainPart = Resolve(workbookPart_, chain.attribute("Target").as_string());
        package_.Remove(chainPart);
        relations.child("Relationships").remove_child(chain);
        for (pugi::xml_node override : types.child("Types").children("Override")) {
            if (override.attribute("PartName").as_string() == "/" + chainPart) {
                types.child("Types").remove_child(override);
                break;
            }
        }
        package_.Write(relationshipsPart, Serialized(relations));
    }

    package_.Write(kContentTypesPart, Serialized(types));
    package_.Write(sheetPart_, sheet_->Xml());
    package_.Write(stylesPart_, styles_->Xml());
    return package_.Save();
}

} // namespace kt41::spreadsheet
