#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kt41::device {
class TKT41;
}

namespace kt41::cli {

// The delivered template "Шаблоны_Архива/Шаблон Orvald.xltx": in the current
// directory when it holds one, else in the installed data folder
// <program folder>/../share/kt41-config (which the build tree links to data/).
std::filesystem::path DeliveredArchiveTemplate(const std::filesystem::path& programFile);

// kt41ctl archive -o FILE.xlsx: the workbook of the records read, filled into
// templateFile the way the GUI's export fills it. headers and rows are the
// archive grid's texts (a point before the decimals); the serial number and
// the input types come from the model, the date is today's (dd.mm.yyyy).
// Throws spreadsheet::WorkbookError with the reason.
void WriteArchiveWorkbookFile(const std::filesystem::path& workbook,
                              const std::filesystem::path& templateFile,
                              const std::vector<std::string>& headers,
                              const std::vector<std::vector<std::string>>& rows,
                              const device::TKT41& model);

} // namespace kt41::cli
