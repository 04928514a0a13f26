#pragma once

#include "platform/Desktop.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zorbe::test {

// A desktop that records what the windows ask of it and answers dialogs
// from a script (an empty script answers "cancelled").
class ScriptedDesktop : public DesktopServices
{
public:
    bool openWithDefaultProgram(const std::string &target) override
    {
        events.push_back("open " + target);
        opened.push_back(target);
        return true;
    }
    bool moveToTrash(const WinPath &file) override
    {
        trashed.push_back(file);
        return true;
    }
    std::optional<WinPath> openFileDialog(const FileDialog &dialog) override
    {
        dialogs.push_back(dialog);
        if (openAnswers.empty())
            return std::nullopt;
        auto answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
    }
    std::optional<WinPath> saveFileDialog(const FileDialog &dialog) override
    {
        dialogs.push_back(dialog);
        return std::nullopt;
    }
    void showMessage(const std::string &text) override
    {
        events.push_back("message " + text);
        messages.push_back(text);
        if (onMessage)
            onMessage(text);
    }
    void showError(const std::string &text) override
    {
        errors.push_back(text);
        if (onMessage)
            onMessage(text);
    }
    void setBusy(bool) override {}

    std::vector<std::string> events; // messages and opened targets, in order
    std::vector<std::string> messages;
    std::vector<std::string> errors;
    std::vector<std::string> opened;
    std::vector<WinPath> trashed;
    std::vector<FileDialog> dialogs;
    std::deque<std::optional<WinPath>> openAnswers;
    std::function<void(const std::string &)> onMessage;
};

} // namespace zorbe::test
