// The configuration file commands of the main window: the dialogs they ask
// for, what they do with the model, and what they log.
#include "app/StartUp.h"
#include "app/TForm_Main.h"
#include "config_file/ConfigFile.h"
#include "support/FakeControllerDriver.h"
#include "support/GuiTest.h"
#include "support/PageMoves.h"
#include "support/SimulatedProgram.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kt41::app {
namespace {

using testing::GuiTest;
using testing::LogTexts;
using testing::ScriptedPrompt;
using testing::SimulatedProgram;

class FileCommandsTest : public GuiTest {
protected:
    QString ConfigFolder() const { return Documents() + "/Orvald/Конфигурация KT-41/CNF"; }
    static QString LastLog(TForm_Main& main) {
        return LogTexts(main).value(LogTexts(main).size() - 1);
    }
    static gui::FileRequest LastFileDialog(const ScriptedPrompt& prompt) {
        for (auto it = prompt.History.rbegin(); it != prompt.History.rend(); ++it) {
            if (it->What != ScriptedPrompt::Kind::Message) {
                return it->File;
            }
        }
        ADD_FAILURE() << "no file dialog was shown";
        return {};
    }
    // The file's configuration, read into a model of its own.
    struct FileImage {
        explicit FileImage(const QString& path) {
            EXPECT_TRUE(config_file::LoadFromFile(Model, path.toStdString()));
        }
        testing::FakeControllerDriver Unused;
        device::TKT41 Model{Unused};
    };
    static QByteArray Contents(const QString& path) {
        QFile file(path);
        return file.open(QFile::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(FileCommandsTest, DialogsStartInTheConfigurationFolderWithTheSerialNumberAsName) {
    SimulatedProgram::Options options;
    options.Controller.SerialNumber = 1234;
    SimulatedProgram program(options);
    TForm_Main& main = program.Main();
    const QString folder = QDir::toNativeSeparators(ConfigFolder());
    ASSERT_EQ(main.Settings.ConfigFolder, folder);

    // Before any read the serial number is 0.
    main.FileOpen1->trigger();
    gui::FileRequest open = LastFileDialog(Prompt);
    EXPECT_EQ(Prompt.History.back().What, ScriptedPrompt::Kind::OpenFile);
    EXPECT_EQ(open.FileName, "R50_№ 00000.c50");
    EXPECT_EQ(open.Folder, folder);
    EXPECT_EQ(open.Filter, "R50_№ Config files (*.c50)|*.c50|All files (*.*)|*.*");
    EXPECT_EQ(open.FilterIndex, 0);
    EXPECT_TRUE(open.MustExist);

    program.AnswerAddressDialog("1");
    main.Connect_Device->trigger();
    main.Read_Config->trigger();
    ASSERT_EQ(main.Model().ParamDevice.SerialNumber, 1234);

    main.FileOpen1->trigger();
    EXPECT_EQ(LastFileDialog(Prompt).FileName, "R50_№ 01234.c50");
    EXPECT_EQ(LastFileDialog(Prompt).Folder, folder);
    main.FileSaveAs1->trigger();
    const gui::FileRequest save = LastFileDialog(Prompt);
    EXPECT_EQ(Prompt.History.back().What, ScriptedPrompt::Kind::SaveFile);
    EXPECT_EQ(save.FileName, "R50_№ 01234.c50");
    EXPECT_EQ(save.Folder, folder);
    EXPECT_EQ(save.Filter, "R50_№ Config files (*.c50)|*.c50");
    EXPECT_EQ(save.DefaultSuffix, "*.c50");
    EXPECT_TRUE(save.OverwritePrompt);
}

TEST_F(FileCommandsTest, SaveChangeAndOpenAgain) {
    SimulatedProgram program;
    TForm_Main& main = program.Main();
    program.AnswerAddressDialog("1");
    main.Connect_Device->trigger();
    main.Read_Config->trigger();
    const device::TParamContur read = main.Model().Contour1;
    const QString path = ConfigFolder() + "/" + main.ProposedFileName();

    Prompt.FileAnswers = {path};
    main.FileSaveAs1->trigger();
    EXPECT_EQ(LastLog(main), "Настройка сохранена в файл ...");
    ASSERT_TRUE(QFileInfo::exists(path));
    const QByteArray saved = Contents(path);

    gui::ParamGrid& grid = *testing::ContourPageOf(main, 1).AdvColumnGrid_Contour;
    const int pk = testing::RowOf(grid, device::coPK);
    ASSERT_GT(pk, 0);
    testing::TypeIntoCell(main, grid, pk, 1, read.PK == 17 ? "1.6" : "1.7");
    ASSERT_NE(main.Model().Contour1, read);
    // Saving onto the file asks first; "Нет" keeps the file as it was.
    Prompt.FileAnswers = {path};
    Prompt.MessageAnswers = {gui::PromptButton::No};
    main.FileSaveAs1->trigger();
    EXPECT_EQ(Prompt.Messages().back().Caption, gui::OverwriteCaption());
    EXPECT_EQ(LastLog(main), "Настройка в файл не сохранена ...");
    EXPECT_EQ(Contents(path), saved);

    Prompt.FileAnswers = {path};
    main.FileOpen1->trigger();
    EXPECT_EQ(LastLog(main), "Файл настройки загружен");
    EXPECT_EQ(main.Model().Contour1, read);
    testing::ExpectPagesShow(main, FileImage(path).Model);
    EXPECT_EQ(program.Controller.CallCount("Write_ParamContur_KT41"), 0)
        << "opening a file writes nothing to the controller";
}

TEST_F(FileCommandsTest, AFileOpenedBeforeAnyConnectionFillsThePages) {
    auto started = StartProgram();
    TForm_Main& main = started->Main();
    main.show();
    const QString rescue = ConfigFolder() + "/R50_№ Rescue.c50";
    ASSERT_TRUE(QFileInfo::exists(rescue));
    ASSERT_TRUE(main.FileOpen1->isEnabled());
    Prompt.FileAnswers = {rescue};
    main.FileOpen1->trigger();
    EXPECT_EQ(LastLog(main), "Файл настройки загружен");
    const FileImage file(rescue);
    EXPECT_NE(file.Model.Contour1, device::TParamContur{});
    EXPECT_EQ(main.Model().Contour1, file.Model.Contour1);
    testing::ExpectPagesShow(main, file.Model);
}

TEST_F(FileCommandsTest, EveryOtherOutcomeIsLoggedAndLeavesTheModelAlone) {
    auto started = StartProgram();
    TForm_Main& main = started->Main();
    main.Model().Contour2.Tnorm = 61;
    const device::TParamContur before = main.Model().Contour2;
    const QString notXml = Home() + "/broken.c50";
    {
        QFile file(notXml);
        ASSERT_TRUE(file.open(QFile::WriteOnly));
        file.write("<Config_KT-41><Contour1>");
    }
    const struct {
        const char* Case;
        QAction* Command;
        std::optional<QString> Answer;
        QString Logged;
    } cases[] = {
        {"open cancelled", main.FileOpen1, std::nullopt, "Файл настройки не загружен ..."},
        {"open of a broken file", main.FileOpen1, notXml, "Файл настройки не загружен ..."},
        {"open of a missing file", main.FileOpen1, Home() + "/none.c50",
         "Файл настройки не загружен ..."},
        {"save cancelled", main.FileSaveAs1, std::nullopt, "Настройка в файл не сохранена ..."},
        // A failed save says why, on the line after.
        {"save into a missing folder", main.FileSaveAs1, Home() + "/no/such/folder/x.c50",
         "Причина: нет такой папки."},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.Case);
        Prompt.Clear();
        Prompt.FileAnswers = {row.Answer};
        row.Command->trigger();
        EXPECT_EQ(LastLog(main), row.Logged);
        EXPECT_EQ(main.Model().Contour2, before);
        EXPECT_TRUE(Prompt.Messages().empty());
    }
}

} // namespace
} // namespace kt41::app
