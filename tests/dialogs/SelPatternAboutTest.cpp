#include "DialogTest.h"
#include "app/Folders.h"
#include "app/TForm_Main.h"
#include "dialogs/TForm_About.h"
#include "dialogs/TForm_SelPattern.h"
#include "gui/ArchiveExport.h"
#include "support/OpenpyxlReader.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>

namespace kt41::dialogs {
namespace {

class SelPatternTest : public testing::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        folder = Home() + "/templates/";
        QDir().mkpath(folder);
    }
    void Touch(const QString& name) { QFile(folder + name).open(QIODevice::WriteOnly); }
    TForm_SelPattern& Dialog() { return *Main().Form_SelPattern; }
    QStringList Entries() {
        QStringList names;
        for (int i = 0; i < Dialog().ListBox1->count(); ++i) {
            names << Dialog().ListBox1->item(i)->text();
        }
        return names;
    }
    // Runs the choice with the keys given to the list inside its window.
    std::optional<QString> ChooseWith(std::function<void(QListWidget&)> keys) {
        std::optional<QString> chosen;
        RunModal(
            Dialog(), [&] { keys(*Dialog().ListBox1); },
            [&] {
                chosen = Dialog().ChooseTemplate(folder);
                return 0;
            });
        return chosen;
    }

    QString folder;
};

TEST_F(SelPatternTest, ListsTheXltxTemplatesSortedWithTheFirstSelected) {
    for (const char* name : {"b.xltx", "a.xltx", "x.xls", "Водоканал.xltx", "B2.xltx", "y.XLTX"}) {
        Touch(name);
    }
    QDir().mkpath(folder + "folder.xltx");
    EXPECT_EQ(Dialog().FillList(folder), 4);
    EXPECT_EQ(Entries(), (QStringList{"a", "b", "B2", "Водоканал"}));
    EXPECT_EQ(Dialog().SelectedTemplate(), "a");
}

TEST_F(SelPatternTest, TheArrowsRunOnFromTheEndToTheStartAndBack) {
    for (const char* name : {"a.xltx", "b.xltx", "c.xltx"}) {
        Touch(name);
    }
    struct Case {
        const char* What;
        std::vector<Qt::Key> Keys;
        std::optional<QString> Chosen;
    };
    const Case cases[] = {
        {"Enter takes the first", {Qt::Key_Return}, "a"},
        {"Up on the first goes to the last", {Qt::Key_Up, Qt::Key_Enter}, "c"},
        {"Down moves as usual", {Qt::Key_Down, Qt::Key_Return}, "b"},
        {"Down on the last goes to the first",
         {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return},
         "a"},
        {"Up and back down", {Qt::Key_Up, Qt::Key_Down, Qt::Key_Return}, "a"},
        {"Esc cancels", {Qt::Key_Down, Qt::Key_Escape}, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<QString> chosen = ChooseWith([&](QListWidget& list) {
            for (Qt::Key key : c.Keys) {
                QTest::keyClick(&list, key);
            }
        });
        EXPECT_EQ(chosen, c.Chosen) << c.What;
    }
}

TEST_F(SelPatternTest, ADoubleClickChoosesAndTheWindowShowsTheWholeList) {
    for (const char* name : {"a.xltx", "b.xltx", "c.xltx", "d.xltx", "e.xltx"}) {
        Touch(name);
    }
    const std::optional<QString> chosen = ChooseWith([&](QListWidget& list) {
        EXPECT_TRUE(Dialog().isVisible());
        const QRect last = list.visualItemRect(list.item(4));
        EXPECT_LE(last.bottom(), list.viewport()->height()) << "the last entry is cut off";
        EXPECT_FALSE(list.verticalScrollBar()->isVisible());
        const QPoint third = list.visualItemRect(list.item(2)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, third);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, third);
    });
    EXPECT_EQ(chosen, "c");
}

TEST_F(SelPatternTest, AnEmptyFolderShowsTheMessageAndNoWindow) {
    const QString missing = folder + "none/";
    bool shown = false;
    Prompt.WhileMessageShown = [&](const gui::MessageRequest&) { shown = Dialog().isVisible(); };
    EXPECT_EQ(Dialog().ChooseTemplate(missing), std::nullopt);
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    EXPECT_EQ(Prompt.Messages()[0].Text, "Нет ни одного шаблона архива в папке: \n" +
                                             QDir::toNativeSeparators(missing) + "      ");
    EXPECT_EQ(Prompt.Messages()[0].Caption, "Ошибка");
    EXPECT_EQ(Prompt.Messages()[0].Icon, gui::PromptIcon::Warning);
    EXPECT_FALSE(shown);
    EXPECT_TRUE(QDir(missing).exists()) << "the template folder is made";
}

// The export button's way through the main window: the template choice, the
// workbook named after the template and the serial number, the desktop.
TEST_F(SelPatternTest, TheMainWindowExportsWithTheChosenTemplate) {
    Model().ParamDevice.SerialNumber = 12345;
    gui::ArchiveListing listing;
    listing.Headers = {"№\r\nп/п", "Дата  (Дн.Мс.Год)", "Час"};
    listing.Rows = {{"1", "05.03.22", "07"}};
    RunModal(
        Dialog(), [&] { QTest::keyClick(Dialog().ListBox1, Qt::Key_Return); },
        [&] {
            Main().ExportArchive(listing);
            return 0;
        });
    const QString workbook = QDir::toNativeSeparators(Main().Settings.ArchiveFolder + "/Год_" +
                                                      QString::number(QDate::currentDate().year()) +
                                                      "/Архив KT-41 № 12345.xlsx");
    ASSERT_TRUE(QFile::exists(workbook));
    ASSERT_EQ(Desktop.Opened.size(), 1);
    EXPECT_EQ(Desktop.Opened[0], QUrl::fromLocalFile(workbook));
    const testing::ReadWorkbook book = testing::ReadWithOpenpyxl(workbook.toStdString());
    EXPECT_EQ(book.At("K2").Value, "12345");
    EXPECT_EQ(book.At("C12").Type, "date");
    EXPECT_EQ(book.At("K16").Value, "Подпись   __________________________");
}

class AboutTest : public testing::DialogTest {};

TEST_F(AboutTest, ShowsTheVersionLineOrNothingWithoutAVersion) {
    TForm_About with(&Main(), [] { return gui::ProgramVersion{1, 1, 4, 54}; });
    with.FormCreate();
    with.FormShow();
    EXPECT_EQ(with.StaticText_VerNumb->text(), "Version 1.1  Release 4 Build 54");
    EXPECT_EQ(std::vector<int>({with.Major(), with.Minor(), with.Release()}),
              std::vector<int>({1, 1, 4}));

    TForm_About without(&Main(), [] { return std::optional<gui::ProgramVersion>(); });
    without.FormCreate();
    without.FormShow();
    EXPECT_EQ(without.StaticText_VerNumb->text(), "");
    EXPECT_EQ(without.Major() + without.Minor() + without.Release(), 0);
    EXPECT_EQ(gui::CaptionVersionText(std::nullopt), "0.0");

    // The compiled-in version: the main window's caption carries its numbers.
    const auto compiled = gui::CompiledVersion();
    ASSERT_TRUE(compiled.has_value());
    EXPECT_TRUE(app::MainWindowCaption().endsWith(
        QString(" %1.%2").arg(compiled->Major).arg(compiled->Minor)))
        << app::MainWindowCaption().toStdString();
    EXPECT_EQ(Main().Form_About->StaticText_VerNumb->text(), gui::VersionLine(compiled));
}

TEST_F(AboutTest, TheReleaseDateIsTheProgramFilesLastWriteTime) {
    const QString file = Home() + "/program";
    QFile program(file);
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    ASSERT_TRUE(program.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(12, 0)),
                                    QFileDevice::FileModificationTime));
    program.close();
    EXPECT_EQ(TForm_About::ReleaseDateText(file), "05.03.2024");
    EXPECT_EQ(TForm_About::ReleaseDateText(Home() + "/missing"), "");
}

TEST_F(AboutTest, TheAboutActionShowsTheWindowWhoseLabelsOpenTheAddresses) {
    TForm_About& about = *Main().Form_About;
    Main().show();
    RunModal(
        about,
        [&] {
            EXPECT_TRUE(about.isVisible());
            EXPECT_EQ(about.windowTitle(), "О программе...");
            EXPECT_EQ(about.Label_URL->text(), gui::HomePageUrl());
            EXPECT_EQ(about.Label_URL->cursor().shape(), Qt::PointingHandCursor);
            QTest::mouseClick(about.Label_URL, Qt::LeftButton);
            QTest::mouseClick(about.Label_Mail, Qt::LeftButton);
            QTest::keyClick(&about, Qt::Key_Escape);
        },
        [&] {
            Main().About->trigger();
            return 0;
        });
    EXPECT_EQ(about.result(), TForm_About::kModalResultOk) << "Esc answers as OK";
    ASSERT_EQ(Desktop.Opened.size(), 2);
    EXPECT_EQ(Desktop.Opened[0], QUrl(gui::HomePageUrl()));
    EXPECT_EQ(Desktop.Opened[1], QUrl("mailto:" + gui::SupportMail()));
}

} // namespace
} // namespace kt41::dialogs
