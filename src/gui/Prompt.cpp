#include "Prompt.h"

#include "QtPrompt.h"

#include <QDir>
#include <QFileInfo>

namespace kt41::gui {

namespace {

Prompt*& Installed() {
    static Prompt* installed = nullptr;
    return installed;
}

} // namespace

std::optional<QString> Prompt::SaveFile(const FileRequest& request) {
    FileRequest asked = request;
    for (;;) {
        auto path = AskSaveFileName(asked);
        if (!path || !request.OverwritePrompt || !QFileInfo::exists(*path)) {
            return path;
        }
        MessageRequest question;
        question.Caption = OverwriteCaption();
        question.Text = OverwriteText(*path);
        question.Icon = PromptIcon::Warning;
        question.Buttons = {PromptButton::Yes, PromptButton::No};
        question.Owner = request.Owner;
        if (Message(question) == PromptButton::Yes) {
            return path;
        }
        // "Нет": back to the dialog, where the name can be changed.
        const QFileInfo chosen(*path);
        asked.Folder = QDir::toNativeSeparators(chosen.absolutePath());
        asked.FileName = chosen.fileName();
    }
}

Prompt& CurrentPrompt() {
    if (Installed() != nullptr) {
        return *Installed();
    }
    static QtPrompt qtPrompt;
    return qtPrompt;
}

Prompt* InstallPrompt(Prompt* prompt) {
    Prompt* previous = Installed();
    Installed() = prompt;
    return previous;
}

namespace {

void ShowBox(QWidget* owner, const QString& text, const QString& caption, PromptIcon icon) {
    MessageRequest request;
    request.Caption = caption;
    request.Text = text;
    request.Icon = icon;
    request.Topmost = true;
    request.Owner = owner;
    CurrentPrompt().Message(request);
}

} // namespace

void ShowErrorBox(QWidget* owner, const QString& text, const QString& caption) {
    ShowBox(owner, text, caption, PromptIcon::Error);
}

void ShowWarningBox(QWidget* owner, const QString& text, const QString& caption) {
    ShowBox(owner, text, caption, PromptIcon::Warning);
}

QString OverwriteCaption() {
    return "Подтверждение сохранения";
}

QString OverwriteText(const QString& path) {
    return QString("Файл %1 уже существует.\nЗаменить его?").arg(QFileInfo(path).fileName());
}

} // namespace kt41::gui
