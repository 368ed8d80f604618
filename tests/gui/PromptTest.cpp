#include "gui/Prompt.h"
#include "gui/QtPrompt.h"
#include "support/GuiTest.h"

#include <QDir>
#include <QFile>

namespace kt41::gui {
namespace {

using testing::GuiTest;

class PromptTest : public GuiTest {
protected:
    QString ExistingFile() {
        const QString path = Home() + "/R50_№ 00042.c50";
        QFile file(path);
        EXPECT_TRUE(file.open(QFile::WriteOnly));
        return path;
    }
};

TEST_F(PromptTest, SavingOverAnExistingFileAsksFirst) {
    const QString existing = ExistingFile();
    const QString fresh = Home() + "/new.c50";
    FileRequest request;
    request.Caption = "Сохранить";

    Prompt.FileAnswers = {existing};
    Prompt.MessageAnswers = {PromptButton::No};
    EXPECT_FALSE(CurrentPrompt().SaveFile(request).has_value());
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    EXPECT_EQ(Prompt.Messages()[0].Caption, OverwriteCaption());
    EXPECT_EQ(Prompt.Messages()[0].Text, OverwriteText(existing));
    EXPECT_TRUE(Prompt.Messages()[0].Text.contains("R50_№ 00042.c50"));
    EXPECT_EQ(Prompt.Messages()[0].Buttons,
              (QList<PromptButton>{PromptButton::Yes, PromptButton::No}));

    Prompt.Clear();
    Prompt.FileAnswers = {existing};
    Prompt.MessageAnswers = {PromptButton::Yes};
    EXPECT_EQ(CurrentPrompt().SaveFile(request), existing);

    // "Нет" goes back to the dialog, on the name just chosen, for another name.
    Prompt.Clear();
    Prompt.FileAnswers = {existing, fresh};
    Prompt.MessageAnswers = {PromptButton::No};
    EXPECT_EQ(CurrentPrompt().SaveFile(request), fresh);
    ASSERT_EQ(Prompt.History.size(), 3u);
    EXPECT_EQ(Prompt.History[2].What, testing::ScriptedPrompt::Kind::SaveFile);
    EXPECT_EQ(Prompt.History[2].File.FileName, "R50_№ 00042.c50");
    EXPECT_EQ(Prompt.History[2].File.Folder, QDir::toNativeSeparators(Home()));

    Prompt.Clear();
    Prompt.FileAnswers = {fresh};
    EXPECT_EQ(CurrentPrompt().SaveFile(request), fresh);
    EXPECT_TRUE(Prompt.Messages().empty());

    Prompt.Clear();
    request.OverwritePrompt = false;
    Prompt.FileAnswers = {existing};
    EXPECT_EQ(CurrentPrompt().SaveFile(request), existing);
    EXPECT_TRUE(Prompt.Messages().empty());

    Prompt.Clear();
    EXPECT_FALSE(CurrentPrompt().SaveFile(request).has_value()) << "cancelled";
}

TEST_F(PromptTest, ErrorAndWarningBoxesAreTopmostWithOneButton) {
    ShowErrorBox(nullptr, "Нет свободных последовательных портов...");
    ShowWarningBox(nullptr, "Не задан сетевой адрес прибора");
    const auto messages = Prompt.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].Caption, "Ошибка");
    EXPECT_EQ(messages[0].Icon, PromptIcon::Error);
    EXPECT_EQ(messages[1].Icon, PromptIcon::Warning);
    for (const auto& message : messages) {
        EXPECT_TRUE(message.Topmost);
        EXPECT_EQ(message.Buttons, QList<PromptButton>{PromptButton::Ok});
    }
}

TEST_F(PromptTest, PipeFiltersBecomeQtNameFilters) {
    EXPECT_EQ(QtNameFilters("R50_№ Config files (*.c50)|*.c50|All files (*.*)|*.*"),
              (QStringList{"R50_№ Config files (*.c50)", "All files (*.*)"}));
    EXPECT_EQ(QtNameFilters("Журналы|*.txt;*.log"), QStringList{"Журналы (*.txt *.log)"});
    EXPECT_TRUE(QtNameFilters("").isEmpty());
}

TEST_F(PromptTest, InstallingReturnsThePreviousPrompt) {
    EXPECT_EQ(&CurrentPrompt(), &Prompt);
    {
        testing::ScriptedPrompt inner;
        EXPECT_EQ(&CurrentPrompt(), &inner);
    }
    EXPECT_EQ(&CurrentPrompt(), &Prompt);
}

} // namespace
} // namespace kt41::gui
