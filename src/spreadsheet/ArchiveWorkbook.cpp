#include "ArchiveWorkbook.h"
#include "Workbook.h"
#include "WorkbookError.h"

#include "config_file/ReplaceFile.h"
#include "config_file/Utf8Path.h"

#include <fstream>
#include <iterator>

namespace kt41::spreadsheet {

namespace {

constexpr int kSerialRow = 2;
constexpr int kSerialColumn = 11; // K
constexpr int kFirstRow = 11;
constexpr int kFirstColumn = 2;       // B
constexpr int kDateColumn = 3;        // C
constexpr int kHourColumn = 4;        // D
constexpr int kFirstInputColumn = 13; // M: 4-20 mA input 1
constexpr int kSignatureColumn = 11;  // K
constexpr int kSignatureRowOffset = 14;
// A workbook's format code always writes the decimal point as "."; the
// spreadsheet program shows it with the user's separator.
constexpr const char* kTwoDecimals = "0.00";

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw WorkbookError("шаблон " + config_file::Utf8FromPath(path) + " не открывается");
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

std::string FillArchiveTemplate(const std::string& templateBytes, const ArchiveSheet& data) {
    Workbook book(templateBytes);
    Worksheet& sheet = book.FirstSheet();
    CellStyles& styles = book.Styles();

    const std::string positionFormat = styles.FormatCode(sheet.Style(11, 2));
    const std::string dateFormat = styles.FormatCode(sheet.Style(12, 3));
    const std::string hourFormat = styles.FormatCode(sheet.Style(12, 4));

    sheet.SetText(kSerialRow, kSerialColumn, data.SerialNumber);

    const int rowCount = int(data.Table.size());
    for (int r = 0; r < rowCount; ++r) {
        const int row = kFirstRow + r;
        for (int c = 0; c < kTableColumns; ++c) {
            const int column = kFirstColumn + c;
            const Cell& cell = c < int(data.Table[r].size()) ? data.Table[r][c] : Cell{};
            switch (cell.What) {
            case Cell::Kind::Text:
                sheet.SetText(row, column, cell.Text);
                break;
            case Cell::Kind::Number:
                sheet.SetNumber(row, column, cell.Number);
                break;
            case Cell::Kind::Date:
                sheet.SetNumber(row, column, book.DateSerial(cell.Day));
                break;
            }
            CellStyles::Change change;
            change.ThinBorders = true;
            change.Centred = true;
            change.Wrapped = r == 0;
            if (column == kDateColumn) {
                change.FormatCode = dateFormat;
            } else if (column == kHourColumn) {
                change.FormatCode = hourFormat;
            } else if (column >= kFirstInputColumn &&
                       data.PositionInputs[std::size_t(column - kFirstInputColumn)]) {
                change.FormatCode = positionFormat;
            } else if (column > kHourColumn) {
                change.FormatCode = kTwoDecimals;
            }
            sheet.SetStyle(row, column, styles.Derive(sheet.Style(row, column), change));
        }
    }

    const int signatureRow = rowCount + kSignatureRowOffset;
    sheet.SetText(signatureRow, kSignatureColumn, std::string(kSignatureText));
    sheet.SetText(signatureRow, kFirstColumn, "Дата:");
    sheet.SetText(signatureRow, kDateColumn, data.DateText);
    CellStyles::Change centred;
    centred.Centred = true;
    for (int column : {kFirstColumn, kDateColumn}) {
        sheet.SetStyle(signatureRow, column,
                       styles.Derive(sheet.Style(signatureRow, column), centred));
    }
    return book.SaveAsWorkbook();
}

void WriteArchiveWorkbook(const std::filesystem::path& templateFile,
                          const std::filesystem::path& workbook, const ArchiveSheet& sheet) {
    const std::string bytes = FillArchiveTemplate(ReadFile(templateFile), sheet);
    std::string why;
    if (!config_file::ReplaceFile(workbook, bytes, &why)) {
        throw WorkbookError("книга " + config_file::Utf8FromPath(workbook) +
                            " не записана: " + why);
    }
}

} // namespace kt41::spreadsheet
