#include "app/Folders.h"
#include "app/StartUp.h"
#include "gui/ColumnWidths.h"
#include "gui/RegistryTree.h"
#include "gui/Settings.h"
#include "gui/WindowPlacement.h"
#include "support/GuiTest.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QSplitter>
#include <QTableWidget>

namespace kt41::app {
namespace {

using namespace kt41::gui;
using testing::GuiTest;

class PersistenceTest : public GuiTest {};

QByteArray PlacementBytes(const QRect& normal, std::int32_t showCmd = 1) {
    WindowPlacement p;
    p.ShowCmd = showCmd;
    p.Left = normal.left();
    p.Top = normal.top();
    p.Right = normal.left() + normal.width();
    p.Bottom = normal.top() + normal.height();
    return p.ToBytes();
}

TEST_F(PersistenceTest, PlacementIsElevenLittleEndianIntegers) {
    const QByteArray bytes = PlacementBytes(QRect(10, 20, 300, 200), 3);
    ASSERT_EQ(bytes.size(), 44);
    const QByteArray expected = QByteArray::fromHex("2c000000"
                                                    "00000000"
                                                    "03000000"
                                                    "ffffffff"
                                                    "ffffffff"
                                                    "ffffffff"
                                                    "ffffffff"
                                                    "0a000000"
                                                    "14000000"
                                                    "36010000"
                                                    "dc000000");
    EXPECT_EQ(bytes.toHex(), expected.toHex());
    const auto back = WindowPlacement::FromBytes(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->NormalRect(), QRect(10, 20, 300, 200));
    EXPECT_EQ(back->ShowCmd, 3);
}

TEST_F(PersistenceTest, MainWindowTakesOnlyAFortyFourBytePlacementAndCentresOtherwise) {
    const QRect stored(40, 30, 700, 560);
    const QByteArray good = PlacementBytes(stored);
    QByteArray badLength = good;
    badLength.replace(0, 1, "\x2b");
    const struct {
        const char* Case;
        QVariant Value;
        bool Applied;
    } cases[] = {
        {"44 bytes", good, true},
        {"43 bytes", good.left(43), false},
        {"45 bytes", good + QByteArray(1, '\0'), false},
        {"length field not 44", badLength, false},
        {"empty rectangle", PlacementBytes(QRect(40, 30, 0, 0)), false},
        {"missing", QVariant(), false},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.Case);
        if (row.Value.isValid()) {
            UserSettings()->setValue("Form_Main/Form_Options", row.Value);
        } else {
            UserSettings()->remove("Form_Main/Form_Options");
        }
        auto program = StartProgram();
        TForm_Main& main = program->Main();
        if (row.Applied) {
            EXPECT_EQ(main.geometry(), stored);
        } else {
            const QPoint screenCentre = QApplication::primaryScreen()->availableGeometry().center();
            EXPECT_LE((main.frameGeometry().center() - screenCentre).manhattanLength(), 2);
        }
    }
}

TEST_F(PersistenceTest, MainWindowLayoutSurvivesARestart) {
    UserSettings()->setValue("Form_Main/Panel_Bottom_Height", 150);
    {
        auto program = StartProgram();
        TForm_Main& main = program->Main();
        main.show();
        EXPECT_EQ(main.Panel_Bottom->height(), 150);
        main.setGeometry(QRect(30, 40, 720, 560));
        main.Splitter1->setSizes({300, 120});
        main.close();
    }
    auto settings = UserSettings();
    EXPECT_EQ(settings->value("Form_Main/Panel_Bottom_Height").toInt(), 120);
    const auto placement =
        WindowPlacement::FromBytes(settings->value("Form_Main/Form_Options").toByteArray());
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(placement->ShowCmd, 0);
    EXPECT_EQ(placement->NormalRect(), QRect(30, 40, 720, 560));

    auto program = StartProgram();
    program->Main().show();
    EXPECT_EQ(program->Main().geometry(), QRect(30, 40, 720, 560));
    EXPECT_EQ(program->Main().Panel_Bottom->height(), 120);
}

TEST_F(PersistenceTest, AWindowSavedOffEveryScreenComesBackOntoOne) {
    UserSettings()->setValue("Form_Main/Form_Options", PlacementBytes(QRect(5000, 4000, 700, 560)));
    auto program = StartProgram();
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(program->Main().geometry().center()));
    EXPECT_EQ(program->Main().geometry().size(), QSize(700, 560).boundedTo(screen.size()));
}

TEST_F(PersistenceTest, ColumnWidthsLoadWhatIsStoredAndSaveEveryColumn) {
    QTableWidget grid(2, 4);
    for (int column = 0; column < 4; ++column) {
        grid.setColumnWidth(column, 50);
    }
    auto settings = UserSettings();
    settings->setValue("Table_Device/Col0", 120);
    settings->setValue("Table_Device/Col2", 40);
    settings->setValue("Table_Device/Col3", "junk");
    settings->setValue("Table_Device/Col9", 70);
    settings.reset();

    LoadColumnWidths(&grid, "Table_Device");
    EXPECT_EQ(grid.columnWidth(0), 120);
    EXPECT_EQ(grid.columnWidth(1), 50);
    EXPECT_EQ(grid.columnWidth(2), 40);
    EXPECT_EQ(grid.columnWidth(3), 50);

    grid.setColumnWidth(1, 66);
    SaveColumnWidths(&grid, "Table_Arx");
    settings = UserSettings();
    settings->beginGroup("Table_Arx");
    EXPECT_EQ(settings->childKeys(), (QStringList{"Col0", "Col1", "Col2", "Col3"}));
    EXPECT_EQ(settings->value("Col1").toInt(), 66);
    EXPECT_EQ(settings->value("Col0").toInt(), 120);
}

TEST_F(PersistenceTest, DefaultColumnWidthsAreCopiedOnlyToAUserWithoutTheSection) {
    auto machine = MachineSettings();
    machine->setValue("Install Data/Table_Pumps/Col0", 50);
    machine->setValue("Install Data/Table_Pumps/Col1", 60);
    machine->setValue("Install Data/Table_Pumps/Extra/Deep", "kept");
    machine->setValue("Install Data/Table_Calendar/Col0", 33);
    machine->sync();
    UserSettings()->setValue("Table_Calendar/Col0", 99);

    CopyDefaultColumnWidths("Table_Pumps");
    CopyDefaultColumnWidths("Table_Calendar");
    CopyDefaultColumnWidths("Table_Schedule_Tnorm"); // no defaults: nothing happens

    auto user = UserSettings();
    EXPECT_EQ(user->value("Table_Pumps/Col0").toInt(), 50);
    EXPECT_EQ(user->value("Table_Pumps/Col1").toInt(), 60);
    EXPECT_EQ(user->value("Table_Pumps/Extra/Deep").toString(), "kept");
    EXPECT_EQ(user->value("Table_Calendar/Col0").toInt(), 99);
    EXPECT_FALSE(GroupExists(*user, "Table_Schedule_Tnorm"));
}

TEST_F(PersistenceTest, MainWindowInstallsTheDefaultsOfItsSections) {
    auto machine = MachineSettings();
    machine->setValue("Install Data/Table_Arx/Col0", 77);
    machine->setValue("Install Data/Table_Contur/Col1", 240);
    machine->sync();
    auto program = StartProgram();
    auto user = UserSettings();
    EXPECT_EQ(user->value("Table_Arx/Col0").toInt(), 77);
    EXPECT_EQ(user->value("Table_Contur/Col1").toInt(), 240);
}

TEST_F(PersistenceTest, TreeCopyRaisesTheRegistryErrorTexts) {
    auto machine = MachineSettings();
    auto user = UserSettings();
    try {
        CopyRegistryTree(*machine, "\\Install Data\\Nowhere", *user, "\\Nowhere");
        FAIL() << "no error";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to create key Install Data/Nowhere");
    }

    // A settings file that cannot be written: the destination key cannot be made.
    machine->setValue("Install Data/Table_LogErr/Col0", 10);
    machine->sync();
    const QString userFile = user->fileName();
    user.reset();
    QFile::remove(userFile);
    QDir().mkpath(userFile);
    user = UserSettings();
    try {
        CopyRegistryTree(*machine, "Install Data/Table_LogErr", *user, "Table_LogErr");
        ADD_FAILURE() << "no error";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to create key Table_LogErr");
    }
    user.reset();
    QDir(userFile).removeRecursively();
}

TEST_F(PersistenceTest, FoldersAreMadeLevelByLevelAndTheDocumentsFolderIsCreated) {
    EXPECT_FALSE(QDir(Documents()).exists());
    EXPECT_EQ(GetSpecialFolder(kFolderPersonal), QDir::toNativeSeparators(Documents()));
    EXPECT_TRUE(QDir(Documents()).exists());
    EXPECT_EQ(GetSpecialFolder(kFolderDocuments), GetSpecialFolder(kFolderPersonal));
    EXPECT_FALSE(GetSpecialFolder(kFolderAppData).isEmpty());

    EXPECT_FALSE(EnsureFolder(""));
    const QString deep = Home() + "/a/b/c";
    EXPECT_TRUE(EnsureFolder(deep));
    EXPECT_TRUE(QDir(deep).exists());
    EXPECT_TRUE(EnsureFolder(deep));
    QFile file(Home() + "/plain");
    ASSERT_TRUE(file.open(QFile::WriteOnly));
    file.close();
    EXPECT_FALSE(EnsureFolder(Home() + "/plain/sub"));

    EXPECT_EQ(TemplateFolder(),
              QDir::toNativeSeparators(Documents() + "/Orvald/Конфигурация KT-41/Шаблоны_Архива/"));
    EXPECT_EQ(ProgramFolder(), QDir::toNativeSeparators(ProgramDir()));
}

} // namespace
} // namespace kt41::app
