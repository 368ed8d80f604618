#include "ScriptedPrompt.h"

namespace kt41::testing {

namespace {

std::optional<QString> Next(std::deque<std::optional<QString>>& answers) {
    if (answers.empty() || !answers.front().has_value()) {
        if (!answers.empty()) {
            answers.pop_front();
        }
        return std::nullopt;
    }
    const QString answer = *answers.front();
    answers.pop_front();
    return answer;
}

} // namespace

ScriptedPrompt::ScriptedPrompt() : previous_(gui::InstallPrompt(this)) {}

ScriptedPrompt::~ScriptedPrompt() {
    gui::InstallPrompt(previous_);
}

std::vector<gui::MessageRequest> ScriptedPrompt::Messages() const {
    std::vector<gui::MessageRequest> messages;
    for (const Shown& shown : History) {
        if (shown.What == Kind::Message) {
            messages.push_back(shown.Message);
        }
    }
    return messages;
}

void ScriptedPrompt::Clear() {
    History.clear();
    MessageAnswers.clear();
    FileAnswers.clear();
    FolderAnswers.clear();
}

gui::PromptButton ScriptedPrompt::Message(const gui::MessageRequest& request) {
    History.push_back({Kind::Message, request, {}, {}});
    if (WhileMessageShown) {
        WhileMessageShown(request);
    }
    if (!MessageAnswers.empty()) {
        const gui::PromptButton answer = MessageAnswers.front();
        MessageAnswers.pop_front();
        return answer;
    }
    if (request.Buttons.contains(gui::PromptButton::Cancel)) {
        return gui::PromptButton::Cancel;
    }
    return request.Buttons.isEmpty() ? gui::PromptButton::Ok : request.Buttons.front();
}

std::optional<QString> ScriptedPrompt::OpenFile(const gui::FileRequest& request) {
    History.push_back({Kind::OpenFile, {}, request, {}});
    return Next(FileAnswers);
}

std::optional<QString> ScriptedPrompt::AskSaveFileName(const gui::FileRequest& request) {
    History.push_back({Kind::SaveFile, {}, request, {}});
    return Next(FileAnswers);
}

std::optional<QString> ScriptedPrompt::ChooseFolder(const gui::FolderRequest& request) {
    History.push_back({Kind::ChooseFolder, {}, {}, request});
    return Next(FolderAnswers);
}

} // namespace kt41::testing
