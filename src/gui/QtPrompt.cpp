#include "QtPrompt.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

#include <map>

namespace kt41::gui {

namespace {

QMessageBox::Icon BoxIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Error:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonLook {
    QString Text;
    QMessageBox::ButtonRole Role;
};

ButtonLook LookOf(PromptButton button) {
    switch (button) {
    case PromptButton::Ok:
        return {"OK", QMessageBox::AcceptRole};
    case PromptButton::Cancel:
        return {"Отмена", QMessageBox::RejectRole};
    case PromptButton::Yes:
        return {"Да", QMessageBox::YesRole};
    case PromptButton::No:
        return {"Нет", QMessageBox::NoRole};
    }
    return {"OK", QMessageBox::AcceptRole};
}

QString StartFolder(const QString& folder) {
    return folder.isEmpty() ? QDir::currentPath() : folder;
}

std::optional<QString> RunFileDialog(const FileRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(request.Owner, request.Caption, StartFolder(request.Folder));
    dialog.setAcceptMode(mode);
    // Qt's own dialog speaks the program's language (a desktop's native one
    // speaks the desktop's); the prompt asks before replacing a file itself.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen && request.MustExist
                           ? QFileDialog::ExistingFile
                           : QFileDialog::AnyFile);
    const QStringList filters = QtNameFilters(request.Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(request.FilterIndex, filters.front()));
    }
    if (!request.DefaultSuffix.isEmpty()) {
        QString suffix = request.DefaultSuffix;
        suffix.remove(QRegularExpression("^\\*?\\."));
        dialog.setDefaultSuffix(suffix);
    }
    if (!request.FileName.isEmpty()) {
        dialog.selectFile(request.FileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().front());
}

} // namespace

PromptButton QtPrompt::Message(const MessageRequest& request) {
    QMessageBox box(BoxIcon(request.Icon), request.Caption, request.Text, QMessageBox::NoButton,
                    request.Owner);
    if (request.Topmost) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    const QList<PromptButton> buttons =
        request.Buttons.isEmpty() ? QList<PromptButton>{PromptButton::Ok} : request.Buttons;
    std::map<QAbstractButton*, PromptButton> answers;
    QAbstractButton* escape = nullptr;
    for (PromptButton button : buttons) {
        const ButtonLook look = LookOf(button);
        QPushButton* pushButton = box.addButton(look.Text, look.Role);
        answers[pushButton] = button;
        if (button == PromptButton::Cancel || button == PromptButton::No) {
            escape = pushButton;
        }
    }
    box.setEscapeButton(escape != nullptr ? escape : box.buttons().front());
    box.exec();
    const auto it = answers.find(box.clickedButton());
    if (it != answers.end()) {
        return it->second;
    }
    return buttons.contains(PromptButton::Cancel) ? PromptButton::Cancel : buttons.front();
}

std::optional<QString> QtPrompt::OpenFile(const FileRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtPrompt::AskSaveFileName(const FileRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<QString> QtPrompt::ChooseFolder(const FolderRequest& request) {
    const QString folder = QFileDialog::getExistingDirectory(
        request.Owner, request.Caption, request.StartFolder,
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(folder);
}

QStringList QtNameFilters(const QString& pipeFilter) {
    QStringList filters;
    const QStringList parts = pipeFilter.split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        const QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ');
        if (!name.trimmed().endsWith(')')) {
            name += " (" + patterns + ")";
        }
        filters << name;
    }
    return filters;
}

} // namespace kt41::gui
