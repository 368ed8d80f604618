#include "gui/ArchiveExport.h"
#include "support/GuiTest.h"
#include "support/OpenpyxlReader.h"

#include <QDir>
#include <QFile>
#include <QLocale>

namespace kt41::gui {
namespace {

using testing::ReadWithOpenpyxl;

// Exports three records as the grid shows them under a Russian locale (a
// comma before the decimals) and records what the window is told.
class ArchiveExportTest : public testing::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        Settings.ArchiveFolder = Home() + "/Архивы";
        Listing.Headers = {"№\r\nп/п",    "Дата  (Дн.Мс.Год)",
                           "Час",         "Т1, °C",
                           "Т2, °C",      "Т3, °C",
                           "Т4, °C",      "Т5, °C",
                           "Т6, °C",      "Тздн 1, °C",
                           "Тздн 2, °C",  "Поз., \r\n%",
                           "P, \r\nМПа",  "Поз., \r\n%",
                           "Поз., \r\n%", "Примечание"};
        for (int r = 1; r <= 3; ++r) {
            Listing.Rows.append({QString::number(r), "05.03.22",
                                 QString("%1").arg(8 - r, 2, 10, QChar('0')), "21,5", "20,0",
                                 "19,5", "55,0", "45,0", "-3,5", "60,0", "50,0", "57", "0,45", "0",
                                 "100", "Авария: обрыв;"});
        }
        Listing.SerialNumber = "00123";
        Listing.PositionInputs = {true, false, true, true};
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::c());
        GuiTest::TearDown();
    }

    QString Export(const QString& templateName = "Шаблон Orvald") {
        const ArchiveExportContext context{Settings,
                                           Documents(),
                                           Prompt,
                                           [this](int code, std::uint32_t lParam) {
                                               Progress.append({code, int(lParam)});
                                           },
                                           [this](const QString& text) { Log.append(text); },
                                           nullptr,
                                           Today};
        return ExportArchiveToWorkbook(Listing, TemplateFolder(), templateName, context);
    }
    QString TemplateFolder() const { return ProgramDir() + "/Шаблоны_Архива/"; }
    QString YearFolder() const {
        return Settings.ArchiveFolder + "/Год_" + QString::number(QDate::currentDate().year()) +
               "/";
    }

    RunTimeSettings Settings;
    ArchiveListing Listing;
    QDate Today;
    QList<QPair<int, int>> Progress;
    QStringList Log;
};

TEST_F(ArchiveExportTest, SavesTheWorkbookInTheYearFolderAndOpensIt) {
    const QString workbook = Export();

    EXPECT_EQ(workbook, YearFolder() + "Шаблон Orvald № 00123.xlsx");
    EXPECT_EQ(Progress, (QList<QPair<int, int>>{{17, 0}}));
    EXPECT_TRUE(Prompt.Messages().empty());
    ASSERT_EQ(Desktop.Opened.size(), 1);
    EXPECT_EQ(Desktop.Opened[0], QUrl::fromLocalFile(workbook));

    const testing::ReadWorkbook book = ReadWithOpenpyxl(workbook.toStdString());
    ASSERT_EQ(book.ExitCode, 0);
    EXPECT_EQ(book.At("K2").Value, "00123");
    EXPECT_EQ(book.At("C12").Type, "date");
    EXPECT_EQ(book.At("D12").Value, "07:00");
    EXPECT_EQ(book.At("E12").Value, "21.5"); // "21,5" read with the user's separator
    EXPECT_EQ(book.At("P14").Value, "100");
    EXPECT_EQ(book.At("Q12").Type, "") << "the notes column is not exported";
    EXPECT_EQ(book.At("C18").Value,
              QLocale().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString());
}

TEST_F(ArchiveExportTest, WithoutAnArchiveFolderTheWorkbookGoesBelowTheDocumentsFolder) {
    Settings.ArchiveFolder.clear();
    Today = QDate(2024, 3, 5);
    EXPECT_EQ(ArchiveYearFolder("", Documents(), 2024),
              Documents() + "/Конфигурация KT-41/Архивы/Год_2024/");
    EXPECT_EQ(Export(),
              Documents() + "/Конфигурация KT-41/Архивы/Год_2024/Шаблон Orvald № 00123.xlsx");
    EXPECT_TRUE(QFile::exists(Documents() +
                              "/Конфигурация KT-41/Архивы/Год_2024/Шаблон Orvald № 00123.xlsx"));
}

TEST_F(ArchiveExportTest, AnExistingWorkbookIsReplacedWithoutAQuestion) {
    QDir().mkpath(YearFolder());
    QFile old(YearFolder() + "Шаблон Orvald № 00123.xlsx");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the previous export");
    old.close();

    ASSERT_FALSE(Export().isEmpty());
    EXPECT_TRUE(Prompt.History.empty());
    EXPECT_EQ(ReadWithOpenpyxl((YearFolder() + "Шаблон Orvald № 00123.xlsx").toStdString())
                  .At("K2")
                  .Value,
              "00123");
}

TEST_F(ArchiveExportTest, AFailureShowsTheBoxLogsTheReasonAndKeepsTheOldWorkbook) {
    struct Case {
        const char* What;
        std::function<void()> Arrange;
    };
    const Case cases[] = {
        {"a year folder that cannot be made",
         [&] {
             Settings.ArchiveFolder = Home() + "/a-file";
             QFile file(Settings.ArchiveFolder);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         }},
        {"a template that is not a workbook",
         [&] {
             QFile bad(TemplateFolder() + "Шаблон Orvald.xltx");
             ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
             bad.write("not a workbook");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Settings.ArchiveFolder = Home() + "/Архивы";
        QDir().mkpath(YearFolder());
        QFile old(YearFolder() + "Шаблон Orvald № 00123.xlsx");
        ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
        old.write("the previous export");
        old.close();
        Prompt.Clear();
        Progress.clear();
        Log.clear();
        c.Arrange();

        EXPECT_TRUE(Export().isEmpty());
        EXPECT_EQ(Progress, (QList<QPair<int, int>>{{17, 1}}));
        ASSERT_EQ(Prompt.Messages().size(), 1u);
        EXPECT_EQ(Prompt.Messages()[0].Text, "Архив не передан !!!");
        EXPECT_EQ(Prompt.Messages()[0].Caption, "Ошибка передачи данных в MS Excel");
        EXPECT_EQ(Prompt.Messages()[0].Icon, PromptIcon::Warning);
        EXPECT_TRUE(Prompt.Messages()[0].Topmost);
        ASSERT_EQ(Log.size(), 1);
        EXPECT_TRUE(Log[0].startsWith("Причина: ")) << Log[0].toStdString();
        EXPECT_TRUE(Desktop.Opened.isEmpty());
        QFile kept(Home() + "/Архивы/Год_" + QString::number(QDate::currentDate().year()) +
                   "/Шаблон Orvald № 00123.xlsx");
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), "the previous export");
    }
}

TEST_F(ArchiveExportTest, AnEmptyTemplateNameOnlyShowsTheBox) {
    EXPECT_TRUE(Export("").isEmpty());
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    EXPECT_EQ(Prompt.Messages()[0].Text, "Не выбран шаблон архива ...  ");
    EXPECT_EQ(Prompt.Messages()[0].Caption, "Ошибка передачи данных в MS Excel");
    EXPECT_TRUE(Progress.isEmpty());
    EXPECT_FALSE(QDir(Settings.ArchiveFolder).exists());
}

} // namespace
} // namespace kt41::gui
