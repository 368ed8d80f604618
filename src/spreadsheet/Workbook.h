#pragma once

#include "CellStyles.h"
#include "Worksheet.h"
#include "ZipPackage.h"

#include <chrono>
#include <memory>
#include <string>

namespace kt41::spreadsheet {

// A workbook or workbook template package opened for filling its first
// worksheet. SaveAsWorkbook gives the package of a normal workbook (.xlsx):
// the changed sheet and styles, the template's content type switched to the
// workbook's, every other part as it was.
class Workbook {
public:
    // Throws WorkbookError when bytes are not a workbook or template package
    // with a first worksheet.
    explicit Workbook(const std::string& bytes);

    Worksheet& FirstSheet() { return *sheet_; }
    CellStyles& Styles() { return *styles_; }

    // The day's serial number in the workbook's date system.
    double DateSerial(std::chrono::year_month_day day) const;

    std::string SaveAsWorkbook();

private:
    ZipPackage package_;
    std::string workbookPart_;
    std::string sheetPart_;
    std::string stylesPart_;
    bool dates1904_ = false;
    std::unique_ptr<Worksheet> sheet_;
    std::unique_ptr<CellStyles> styles_;
};

} // namespace kt41::spreadsheet
