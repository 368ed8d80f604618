#include "ArchiveWorkbookOutput.h"

#include "catalogue/ModelTexts.h"
#include "config_file/Utf8Path.h"
#include "device/TKT41.h"
#include "spreadsheet/ArchiveWorkbook.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace kt41::cli {

namespace {

const std::string kTemplateFolder = "Шаблоны_Архива";
const std::string kTemplateName = "Шаблон Orvald.xltx";

std::string TodayText() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[40];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", local.tm_mday, local.tm_mon + 1,
                  local.tm_year + 1900);
    return text;
}

} // namespace

std::filesystem::path DeliveredArchiveTemplate(const std::filesystem::path& programFile) {
    namespace fs = std::filesystem;
    const fs::path relative =
        config_file::PathFromUtf8(kTemplateFolder) / config_file::PathFromUtf8(kTemplateName);
    std::error_code ignored;
    if (fs::is_regular_file(relative, ignored)) {
        return relative;
    }
    return programFile.parent_path() / ".." / "share" / "kt41-config" / relative;
}

void WriteArchiveWorkbookFile(const std::filesystem::path& workbook,
                              const std::filesystem::path& templateFile,
                              const std::vector<std::string>& headers,
                              const std::vector<std::vector<std::string>>& rows,
                              const device::TKT41& model) {
    spreadsheet::ArchiveSheet sheet;
    sheet.Table = spreadsheet::BuildValueTable(headers, rows, ".");
    sheet.SerialNumber = catalogue::GetSerialNumberText(model);
    sheet.DateText = TodayText();
    for (int input = 1; input <= 4; ++input) {
        sheet.PositionInputs[std::size_t(input - 1)] = model.GetAnalogInputType(input) == 0;
    }
    spreadsheet::WriteArchiveWorkbook(templateFile, workbook, sheet);
}

} // namespace kt41::cli
