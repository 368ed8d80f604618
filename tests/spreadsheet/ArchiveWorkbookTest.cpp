#include "spreadsheet/ArchiveWorkbook.h"
#include "spreadsheet/WorkbookError.h"
#include "spreadsheet/ZipPackage.h"
#include "support/OpenpyxlReader.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <fstream>
#include <functional>
#include <iterator>

namespace kt41::spreadsheet {
namespace {

namespace fs = std::filesystem;
using testing::ReadWithOpenpyxl;

const fs::path kTemplate = fs::path(KT41_SOURCE_DATA_DIR) / "Шаблоны_Архива" / "Шаблон Orvald.xltx";

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Three records as the archive grid shows them, newest first; input 1
// measures a position, input 2 a pressure.
ArchiveSheet ThreeRecords() {
    const std::vector<std::string> headers = {"№\r\nп/п",   "Дата  (Дн.Мс.Год)",
                                              "Час",        "Т1, °C",
                                              "Т2, °C",     "Т3, °C",
                                              "Т4, °C",     "Т5, °C",
                                              "Т6, °C",     "Тздн 1, °C",
                                              "Тздн 2, °C", "Поз., \r\n%",
                                              "P, \r\nМПа", "Поз., \r\n%",
                                              "Поз., \r\n%"};
    std::vector<std::vector<std::string>> rows;
    for (int r = 1; r <= 3; ++r) {
        rows.push_back({std::to_string(r), "05.03.22", "0" + std::to_string(8 - r), "21,5", "20,0",
                        "19,5", "55,0", "45,0", "-3,5", "60,0", "50,0", "57", "0,45", "0", "100"});
    }
    ArchiveSheet sheet;
    sheet.Table = BuildValueTable(headers, rows, ",");
    sheet.SerialNumber = "00123";
    sheet.DateText = "11.12.2026";
    sheet.PositionInputs = {true, false, true, true};
    return sheet;
}

class ArchiveWorkbookTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("kt41-workbook-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // The delivered template with one change made to its package.
    fs::path ChangedTemplate(const std::function<void(ZipPackage&)>& change) {
        ZipPackage package(ReadBytes(kTemplate));
        change(package);
        const fs::path path = folder_ / "changed.xltx";
        WriteBytes(path, package.Save());
        return path;
    }

    fs::path folder_;
};

TEST_F(ArchiveWorkbookTest, ThreeRecordsFillTheTableTheSignatureRowAndTheSerialNumber) {
    const fs::path target = folder_ / "Архив KT-41 № 00123.xlsx";
    WriteArchiveWorkbook(kTemplate, target, ThreeRecords());

    const testing::ReadWorkbook book = ReadWithOpenpyxl(target);
    ASSERT_EQ(book.ExitCode, 0) << "openpyxl had to mend the workbook";
    EXPECT_FALSE(book.Template);
    EXPECT_EQ(book.At("K2").Type, "text");
    EXPECT_EQ(book.At("K2").Value, "00123");

    // The table covers B11:P14 with thin borders, centred.
    EXPECT_EQ(book.At("B11").Value, "№\nп/п");
    EXPECT_EQ(book.At("N11").Value, "P, \nМПа");
    EXPECT_TRUE(book.At("N11").Wrapped);
    for (const char* corner : {"B11", "P11", "B14", "P14"}) {
        EXPECT_EQ(book.At(corner).LeftBorder, "thin") << corner;
        EXPECT_EQ(book.At(corner).Horizontal, "center") << corner;
    }
    EXPECT_EQ(book.At("B14").Value, "3");
    EXPECT_EQ(book.At("B14").Type, "number");
    for (const char* outside : {"A11", "Q12", "B15", "P17", "K16"}) {
        EXPECT_EQ(book.At(outside).Type, "") << outside;
    }

    // Dates are dates in the template's date format, hours texts.
    EXPECT_EQ(book.At("C12").Type, "date");
    EXPECT_EQ(book.At("C12").Value, "2022-03-05T00:00:00");
    EXPECT_EQ(book.At("C12").Format, "dd.mm.yy");
    EXPECT_EQ(book.At("D12").Type, "text");
    EXPECT_EQ(book.At("D12").Value, "07:00");
    EXPECT_EQ(book.At("D14").Value, "05:00");
    EXPECT_EQ(book.At("D12").Format, "hh:mm");

    // Temperatures and the pressure input with two decimals; the position
    // inputs with the template's B11 format.
    EXPECT_EQ(book.At("E12").Type, "number");
    EXPECT_EQ(book.At("E12").Value, "21.5");
    EXPECT_EQ(book.At("E12").Format, "0.00");
    EXPECT_EQ(book.At("J12").Value, "-3.5");
    EXPECT_EQ(book.At("N12").Value, "0.45");
    EXPECT_EQ(book.At("N12").Format, "0.00");
    for (const char* position : {"M12", "O13", "P14"}) {
        EXPECT_EQ(book.At(position).Format, "0") << position;
    }
    EXPECT_EQ(book.At("M12").Value, "57");

    // Row RC + 14 = 18.
    EXPECT_EQ(book.At("B18").Value, "Дата:");
    EXPECT_EQ(book.At("C18").Value, "11.12.2026");
    EXPECT_EQ(book.At("C18").Horizontal, "center");
    EXPECT_EQ(book.At("K18").Value, "Подпись   __________________________");

    // The template's own cells stay.
    EXPECT_EQ(book.At("B2").Value, "Архив регулятора KT-41");
    EXPECT_EQ(book.At("J2").Value, "Заводской №:");
    EXPECT_EQ(book.At("B4").Value, "Организация:");
}

TEST_F(ArchiveWorkbookTest, RowsOfTheTemplateBelowAndAboveTheTableKeepTheirPlaceAndOrder) {
    // A note below the table area and a row without its position attribute.
    const fs::path changed = ChangedTemplate([](ZipPackage& package) {
        std::string sheet = package.Read("xl/worksheets/sheet1.xml");
        const std::string note = "<row r=\"40\"><c r=\"B40\" t=\"inlineStr\"><is><t>Примечание "
                                 "шаблона</t></is></c></row><row><c t=\"inlineStr\"><is><t>ниже</t>"
                                 "</is></c></row>";
        sheet.replace(sheet.find("</sheetData>"), 0, note);
        package.Write("xl/worksheets/sheet1.xml", sheet);
    });
    const fs::path target = folder_ / "book.xlsx";
    WriteArchiveWorkbook(changed, target, ThreeRecords());

    const testing::ReadWorkbook book = ReadWithOpenpyxl(target);
    ASSERT_EQ(book.ExitCode, 0);
    EXPECT_EQ(book.At("B40").Value, "Примечание шаблона");
    EXPECT_EQ(book.At("A41").Value, "ниже");
    EXPECT_EQ(book.At("K18").Value, "Подпись   __________________________");

    // Spreadsheet programs want rows and cells in ascending order.
    ZipPackage written(ReadBytes(target));
    pugi::xml_document sheet;
    const std::string xml = written.Read("xl/worksheets/sheet1.xml");
    ASSERT_TRUE(sheet.load_buffer(xml.data(), xml.size()));
    int previousRow = 0;
    for (pugi::xml_node row : sheet.child("worksheet").child("sheetData").children("row")) {
        EXPECT_GT(row.attribute("r").as_int(), previousRow);
        previousRow = row.attribute("r").as_int();
        std::string previousCell;
        for (pugi::xml_node cell : row.children("c")) {
            const std::string reference = cell.attribute("r").as_string();
            EXPECT_TRUE(previousCell.empty() || previousCell.size() < reference.size() ||
                        (previousCell.size() == reference.size() && previousCell < reference))
                << previousCell << " before " << reference;
            previousCell = reference;
        }
    }
    EXPECT_EQ(previousRow, 41);
}

TEST_F(ArchiveWorkbookTest, AnExistingWorkbookIsReplaced) {
    const fs::path target = folder_ / "book.xlsx";
    WriteBytes(target, "the previous export");
    WriteArchiveWorkbook(kTemplate, target, ThreeRecords());
    EXPECT_EQ(ReadWithOpenpyxl(target).At("K2").Value, "00123");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1)
        << "no temporary file is left beside the workbook";
}

TEST_F(ArchiveWorkbookTest, TemplatesThatAreNoWorkbookTemplateFailAndLeaveTheOldWorkbook) {
    struct Case {
        const char* What;
        std::function<fs::path()> MakeTemplate;
    };
    const Case cases[] = {
        {"not a zip archive",
         [&] {
             WriteBytes(folder_ / "text.xltx", "just some text");
             return folder_ / "text.xltx";
         }},
        {"missing", [&] { return folder_ / "missing.xltx"; }},
        {"no first sheet part",
         [&] {
             return ChangedTemplate([](ZipPackage& p) { p.Remove("xl/worksheets/sheet1.xml"); });
         }},
        {"no sheets listed",
         [&] {
             return ChangedTemplate([](ZipPackage& p) {
                 std::string book = p.Read("xl/workbook.xml");
                 const std::size_t from = book.find("<sheet ");
                 book.erase(from, book.find("/>", from) + 2 - from);
                 p.Write("xl/workbook.xml", book);
             });
         }},
        {"sheet not XML",
         [&] {
             return ChangedTemplate(
                 [](ZipPackage& p) { p.Write("xl/worksheets/sheet1.xml", "<worksheet><sheet"); });
         }},
        {"a macro template",
         [&] {
             return ChangedTemplate([](ZipPackage& p) {
                 std::string types = p.Read("[Content_Types].xml");
                 const std::string from =
                     "application/"
                     "vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml";
                 types.replace(types.find(from), from.size(),
                               "application/vnd.ms-excel.template.macroEnabled.main+xml");
                 p.Write("[Content_Types].xml", types);
             });
         }},
    };
    const fs::path target = folder_ / "book.xlsx";
    for (const Case& c : cases) {
        WriteBytes(target, "the previous export");
        EXPECT_THROW(WriteArchiveWorkbook(c.MakeTemplate(), target, ThreeRecords()), WorkbookError)
            << c.What;
        EXPECT_EQ(ReadBytes(target), "the previous export") << c.What;
    }
}

TEST_F(ArchiveWorkbookTest, AFolderThatCannotBeWrittenFailsWithTheReason) {
    WriteBytes(folder_ / "file", "");
    try {
        WriteArchiveWorkbook(kTemplate, folder_ / "file" / "book.xlsx", ThreeRecords());
        FAIL() << "no error";
    } catch (const WorkbookError& error) {
        EXPECT_NE(std::string(error.what()).find("не записана"), std::string::npos) << error.what();
    }
}

} // namespace
} // namespace kt41::spreadsheet
