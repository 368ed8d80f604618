#pragma once

#include "Prompt.h"

namespace kt41::gui {

// The real dialogs: QMessageBox and QFileDialog.
class QtPrompt : public Prompt {
public:
    PromptButton Message(const MessageRequest& request) override;
    std::optional<QString> OpenFile(const FileRequest& request) override;
    std::optional<QString> ChooseFolder(const FolderRequest& request) override;

protected:
    std::optional<QString> AskSaveFileName(const FileRequest& request) override;
};

// "Config files (*.c50)|*.c50|All files|*.*" as the name filters of a Qt file
// dialog: "Config files (*.c50)", "All files (*.*)".
QStringList QtNameFilters(const QString& pipeFilter);

} // namespace kt41::gui
