// The configuration file commands of the main window: open a configuration
// file into the model, save the model to one.
#include "TForm_Main.h"
#include "catalogue/ModelTexts.h"
#include "config_file/ConfigFile.h"
#include "gui/Prompt.h"

namespace kt41::app {

namespace {

const QString kExtension = "c50";
const QString kFileStem = "R50_№ ";
const QString kFilterName = kFileStem + "Config files (*." + kExtension + ")|*." + kExtension;
const QString kAllFiles = "|All files (*.*)|*.*";

// The dialog of both file commands on the configuration folder, proposing the
// file named after the controller; they differ in what they ask for.
struct FileDialogKind {
    const char* Caption;
    QString Filter;
    bool MustExist;
    bool OverwritePrompt;
};

gui::FileRequest ConfigFileRequest(const FileDialogKind& kind, const QString& folder,
                                   const QString& fileName, QWidget* owner) {
    gui::FileRequest request;
    request.Caption = kind.Caption;
    request.Folder = folder; // empty: the process's current folder
    request.FileName = fileName;
    request.Filter = kind.Filter;
    request.FilterIndex = 0;
    request.DefaultSuffix = "*." + kExtension;
    request.MustExist = kind.MustExist;
    request.OverwritePrompt = kind.OverwritePrompt;
    request.Owner = owner;
    return request;
}

} // namespace

QString TForm_Main::ProposedFileName() const {
    return kFileStem + QString::fromStdString(catalogue::GetSerialNumberText(*KT41)) + "." +
           kExtension;
}

gui::FileRequest TForm_Main::FileOpen1BeforeExecute() const {
    return ConfigFileRequest({"Открыть файл настройки", kFilterName + kAllFiles, true, false},
                             Settings.ConfigFolder, ProposedFileName(),
                             const_cast<TForm_Main*>(this));
}

void TForm_Main::FileOpen1Execute() {
    if (const auto path = gui::CurrentPrompt().OpenFile(FileOpen1BeforeExecute())) {
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

gui::FileRequest TForm_Main::FileSaveAs1BeforeExecute() const {
    return ConfigFileRequest({"Сохранить настройки в файл", kFilterName, false, true},
                             Settings.ConfigFolder, ProposedFileName(),
                             const_cast<TForm_Main*>(this));
}

void TForm_Main::FileSaveAs1Execute() {
    if (const auto path = gui::CurrentPrompt().SaveFile(FileSaveAs1BeforeExecute())) {
        FileSaveAs1Accept(*path);
    } else {
        FileSaveAs1Cancel();
    }
}

void TForm_Main::FileSaveAs1Accept(const QString& path) {
    std::string why;
    if (config_file::SaveToFile(*KT41, path.toStdString(), &why)) {
        LogMessage("Настройка сохранена в файл ...");
    } else {
        LogMessage("Настройка в файл не сохранена ...");
        // The previous file is untouched; say why the new one is not there.
        LogMessage("Причина: " + QString::fromStdString(why) + ".");
    }
}

void TForm_Main::FileSaveAs1Cancel() {
    LogMessage("Настройка в файл не сохранена ...");
}

} // namespace kt41::app
