#pragma once

#include "gui/Prompt.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace kt41::testing {

// A prompt for tests: installed while it lives, it records every message box
// and file dialog the program asks for and answers them from scripted queues.
// Without a scripted answer a message box gets Cancel when it offers it and its
// first button otherwise, and a file or folder dialog is cancelled.
class ScriptedPrompt : public gui::Prompt {
public:
    enum class Kind { Message, OpenFile, SaveFile, ChooseFolder };
    struct Shown {
        Kind What;
        gui::MessageRequest Message; // Kind::Message
        gui::FileRequest File;       // Kind::OpenFile, Kind::SaveFile
        gui::FolderRequest Folder;   // Kind::ChooseFolder
    };

    ScriptedPrompt();
    ~ScriptedPrompt() override;
    ScriptedPrompt(const ScriptedPrompt&) = delete;
    ScriptedPrompt& operator=(const ScriptedPrompt&) = delete;

    std::vector<Shown> History;
    std::deque<gui::PromptButton> MessageAnswers;
    std::deque<std::optional<QString>> FileAnswers; // open and save dialogs
    std::deque<std::optional<QString>> FolderAnswers;
    // Runs while a message box is "open", e.g. to look at the windows meanwhile.
    std::function<void(const gui::MessageRequest&)> WhileMessageShown;

    // The message boxes shown so far, in order.
    std::vector<gui::MessageRequest> Messages() const;
    void Clear();

    gui::PromptButton Message(const gui::MessageRequest& request) override;
    std::optional<QString> OpenFile(const gui::FileRequest& request) override;
    std::optional<QString> ChooseFolder(const gui::FolderRequest& request) override;

protected:
    std::optional<QString> AskSaveFileName(const gui::FileRequest& request) override;

private:
    gui::Prompt* previous_ = nullptr;
};

} // namespace kt41::testing
