// The configuration file commands of the main window: open a configuration
// file into the model, save the model to one.
#include "TForm_Main.h"
#include "catalogue/ModelTexts.h"
#include "config_file/ConfigFile.h"
#include "dialogs/Prompt.h"

namespace kt41::app {

namespace {

const QString kExtension = "c50";
const QString kFileStem = "R50_№ ";
const QString kFilterName = kFileStem + "Config files (*." + kExtension + ")|*." + kExtension;
const QString kAllFiles = "|All files (*.*)|*.*";

} // namespace

QString TForm_Main::ProposedFileName() const {
    return kFileStem + QString::fromStdString(catalogue::GetSerialNumberText(*KT41)) + "." +
           kExtension;
}

dialogs::FileRequest TForm_Main::FileOpen1BeforeExecute() const {
    dialogs::FileRequest request;
    request.Caption = "Открыть файл настройки";
    request.Folder = Settings.ConfigFolder;
    request.FileName = ProposedFileName();
    request.Filter = kFilterName + kAllFiles;
    request.FilterIndex = 0;
    request.DefaultSuffix = "*." + kExtension;
    request.MustExist = true;
    request.OverwritePrompt = false;
    request.Owner = const_cast<TForm_Main*>(this);
    return request;
}

void TForm_Main::FileOpen1Execute() {
    if (const auto path = dialogs::CurrentPrompt().OpenFile(FileOpen1BeforeExecute())) {
        FileOpen1Accept(*path);
    } else {
        FileOpen1Cancel();
    }
}

void TForm_Main::FileOpen1Accept(const QString& path) {
    // A file that cannot be read leaves the model as it was, and the pages too.
    if (config_file::LoadFromFile(*KT41, path.toStdString())) {
        ShowModelOnPages();
        LogMessage("Файл настройки загружен");
    } else {
        LogMessage("Файл настройки не загружен ...");
    }
}

void TForm_Main::FileOpen1Cancel() {
    LogMessage("Файл настройки не загружен ...");
}

dialogs::FileRequest TForm_Main::FileSaveAs1BeforeExecute() const {
    dialogs::FileRequest request;
    request.Caption = "Сохранить настройки в файл";
    request.Folder = Settings.ConfigFolder; // empty: the process's current folder
    request.FileName = ProposedFileName();
    request.Filter = kFilterName;
    request.FilterIndex = 0;
    request.DefaultSuffix = "*." + kExtension;
    request.MustExist = false;
    request.OverwritePrompt = true;
    request.Owner = const_cast<TForm_Main*>(this);
    return request;
}

void TForm_Main::FileSaveAs1Execute() {
    if (const auto path = dialogs::CurrentPrompt().SaveFile(FileSaveAs1BeforeExecute())) {
        FileSaveAs1Accept(*path);
    } else {
        FileSaveAs1Cancel();
    }
}

void TForm_Main::FileSaveAs1Accept(const QString& path) {
    if (config_file::SaveToFile(*KT41, path.toStdString())) {
        LogMessage("Настройка сохранена в файл ...");
    } else {
        LogMessage("Настройка в файл не сохранена ...");
    }
}

void TForm_Main::FileSaveAs1Cancel() {
    LogMessage("Настройка в файл не сохранена ...");
}

} // namespace kt41::app
