#pragma once

#include <QList>
#include <QString>

#include <optional>

class QWidget;

namespace kt41::gui {

enum class PromptIcon { None, Information, Warning, Error, Question };

// The buttons of a message box. The values are the modal results the windows
// of the program use (1 OK, 2 cancel, 6 yes, 7 no).
enum class PromptButton { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct MessageRequest {
    QString Caption;
    QString Text;
    PromptIcon Icon = PromptIcon::None;
    QList<PromptButton> Buttons{PromptButton::Ok};
    bool Topmost = false;     // keep the box above every other window
    QWidget* Owner = nullptr; // the box is centred on it
};

struct FileRequest {
    QString Caption;
    QString Folder;   // initial folder; empty: the process's current folder
    QString FileName; // proposed file name (without folder)
    // Filter in pairs "description|patterns|description|patterns", patterns
    // separated by ';' (for example "Config files (*.c50)|*.c50|All files|*.*").
    QString Filter;
    int FilterIndex = 0;         // 0-based entry of Filter selected at first
    QString DefaultSuffix;       // appended to a typed name without one, e.g. "c50"
    bool MustExist = true;       // open: only an existing file can be chosen
    bool OverwritePrompt = true; // save: ask before replacing an existing file
    QWidget* Owner = nullptr;
};

struct FolderRequest {
    QString Caption;
    QString StartFolder;
    QWidget* Owner = nullptr;
};

// Every message box and file dialog of the program goes through the one
// installed Prompt, so that tests can answer them. The Qt implementation shows
// the real dialogs; tests install a scripted one.
class Prompt {
public:
    virtual ~Prompt() = default;

    // Shows a message box and returns the button pressed; closing the box
    // without a button gives Cancel when offered, else the only/first button.
    virtual PromptButton Message(const MessageRequest& request) = 0;

    // The chosen path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> OpenFile(const FileRequest& request) = 0;

    // Asks for a path to save to. With OverwritePrompt set and an existing file
    // chosen, asks whether to replace it; "No" shows the dialog again on the
    // chosen folder and name, so that another name can be given. Nothing when
    // the dialog is cancelled.
    std::optional<QString> SaveFile(const FileRequest& request);

    virtual std::optional<QString> ChooseFolder(const FolderRequest& request) = 0;

protected:
    // The bare save dialog, without the overwrite question.
    virtual std::optional<QString> AskSaveFileName(const FileRequest& request) = 0;
};

// The prompt in use: the Qt one unless another was installed.
Prompt& CurrentPrompt();

// Installs prompt (not owned; nullptr returns to the Qt prompt) and returns the
// one installed before.
Prompt* InstallPrompt(Prompt* prompt);

// Shorthands for the boxes the program shows most: one OK button, topmost.
void ShowErrorBox(QWidget* owner, const QString& text, const QString& caption = "Ошибка");
void ShowWarningBox(QWidget* owner, const QString& text, const QString& caption = "Ошибка");

// Texts of the question asked before an existing file is replaced.
QString OverwriteCaption();
QString OverwriteText(const QString& path);

} // namespace kt41::gui
