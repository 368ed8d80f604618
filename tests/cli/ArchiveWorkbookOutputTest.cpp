#include "cli/ArchiveWorkbookOutput.h"
#include "device/TKT41.h"
#include "support/FakeControllerDriver.h"
#include "support/OpenpyxlReader.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace kt41::cli {
namespace {

namespace fs = std::filesystem;

TEST(ArchiveWorkbookOutput, TheDeliveredTemplateIsFoundBesideTheProgram) {
    // kt41ctl in build/src/cli finds build/src/share/kt41-config, a link to data/.
    const fs::path found = DeliveredArchiveTemplate(fs::path(KT41CTL_PROGRAM));
    EXPECT_TRUE(fs::is_regular_file(found)) << found;
    EXPECT_EQ(found.filename(), fs::path(u8"Шаблон Orvald.xltx"));
}

TEST(ArchiveWorkbookOutput, TheWorkbookTakesTheSerialNumberAndInputTypesFromTheModel) {
    testing::FakeControllerDriver driver;
    device::TKT41 model(driver);
    model.ParamDevice.SerialNumber = 123;
    model.Input_P[0].InputType = 1; // pressure
    model.Input_P[1].InputType = 0; // position
    const fs::path workbook =
        fs::temp_directory_path() / ("kt41ctl-archive-" + std::to_string(getpid()) + ".xlsx");
    WriteArchiveWorkbookFile(workbook, DeliveredArchiveTemplate(fs::path(KT41CTL_PROGRAM)),
                             {"№\r\nп/п", "Дата  (Дн.Мс.Год)", "Час"},
                             {{"1", "05.03.22", "07", "21.5", "20.0", "19.5", "55.0", "45.0",
                               "-3.5", "60.0", "50.0", "0.45", "57", "0", "100"}},
                             model);
    const testing::ReadWorkbook book = testing::ReadWithOpenpyxl(workbook);
    fs::remove(workbook);
    ASSERT_EQ(book.ExitCode, 0);
    EXPECT_EQ(book.At("K2").Value, "00123");
    EXPECT_EQ(book.At("E12").Value, "21.5");
    EXPECT_EQ(book.At("M12").Format, "0.00");
    EXPECT_EQ(book.At("N12").Format, "0");
    EXPECT_EQ(book.At("K16").Value, "Подпись   __________________________");
}

} // namespace
} // namespace kt41::cli
