// The backup of the controller's configuration before a configuration write.
#include "TForm_Main.h"
#include "config_file/ConfigBackup.h"
#include "gui/Prompt.h"

#include <QDir>

#include <ctime>

namespace kt41::app {

namespace {

const QString kAskWithoutBackup = "Не удалось сохранить копию настройки прибора.\n"
                                  "Записать настройку в прибор без резервной копии?";

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QString TForm_Main::BackupFolder() const {
    return QDir(Settings.ConfigFolder)
        .filePath(QString::fromUtf8(config_file::kBackupFolderName.data(),
                                    qsizetype(config_file::kBackupFolderName.size())));
}

bool TForm_Main::BackUpBeforeWrite() {
    if (!Settings.BackupBeforeWrite) {
        return true;
    }
    LogMessage("Резервная копия настройки прибора ...");
    config_file::TConfigBackup backup(Model());
    bool saved = false;
    if (backup.Read()) {
        std::string path;
        std::string why;
        saved = backup.SaveInFolder(BackupFolder().toStdString(), std::time(nullptr), &path, &why);
        if (saved) {
            LogMessage("Настройка прибора сохранена в файл " + FromUtf8(path));
        } else {
            LogMessage("Копия настройки прибора не сохранена в файл " + FromUtf8(path) + ". " +
                       "Причина: " + FromUtf8(why) + ".");
        }
    } else {
        LogMessage("Копия настройки прибора не прочитана.");
    }
    if (saved) {
        return true;
    }
    gui::MessageRequest request;
    request.Caption = "Резервная копия";
    request.Text = kAskWithoutBackup;
    request.Icon = gui::PromptIcon::Warning;
    request.Buttons = {gui::PromptButton::Yes, gui::PromptButton::No};
    request.Topmost = true;
    request.Owner = this;
    if (gui::CurrentPrompt().Message(request) == gui::PromptButton::Yes) {
        return true;
    }
    LogMessage("Запись настройки отменена.");
    return false;
}

} // namespace kt41::app
