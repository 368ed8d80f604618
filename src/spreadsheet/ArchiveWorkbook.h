#pragma once

#include "ValueTable.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace kt41::spreadsheet {

// What an archive export puts into the template's first worksheet.
struct ArchiveSheet {
    ValueTable Table;                     // headers and records (BuildValueTable)
    std::string SerialNumber;             // five digits, into K2
    std::string DateText;                 // the export's date beside "Дата:"
    std::array<bool, 4> PositionInputs{}; // 4-20 mA input n+1 measures a position
};

// The sheet layout, with RC the table's row count (headers and records):
//  - K2: the serial number as text;
//  - B11:P(RC+10): the table, thin borders, centred; the headers wrap;
//  - number formats on rows 11..RC+10: C the format of the template's C12,
//    D that of D12, E..P "0.00", the columns of position inputs (M..P) that of
//    B11; dates are date values, numbers numbers;
//  - row RC+14: "Дата:" and DateText in B and C (centred), the signature
//    line in K.
// Returns the bytes of the filled workbook (.xlsx). Throws WorkbookError.
std::string FillArchiveTemplate(const std::string& templateBytes, const ArchiveSheet& sheet);

// Fills the template file and writes the workbook to `workbook`, replacing an
// existing file only with a complete new one (on failure the old file stays as
// it was). Throws WorkbookError with the reason.
void WriteArchiveWorkbook(const std::filesystem::path& templateFile,
                          const std::filesystem::path& workbook, const ArchiveSheet& sheet);

// The text of the signature line.
inline constexpr std::string_view kSignatureText = "Подпись   __________________________";

} // namespace kt41::spreadsheet
