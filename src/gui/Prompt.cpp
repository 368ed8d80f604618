#include "Prompt.h"

#include "QtPrompt.h"

#include <QFileInfo>

namespace kt41::gui {

namespace {

Prompt*& Installed() {
    static Prompt* installed = nullptr;
    return installed;
}

} // namespace

std::optional<QString> Prompt::SaveFile(const FileRequest& request) {
    auto path = AskSaveFileName(request);
    if (!path || !request.OverwritePrompt || !QFileInfo::exists(*path)) {
        return path;
    }
    MessageRequest question;
    question.Caption = OverwriteCaption();
    question.Text = OverwriteText(*path);
    question.Icon = PromptIcon::Warning;
    question.Buttons = {PromptButton::Yes, PromptButton::No};
    question.Owner = request.Owner;
    if (Message(question) != PromptButton::Yes) {
        return std::nullopt;
    }
    return path;
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
