#pragma once

#include "platform/Desktop.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zorbe::test {

// A desktop whose dialogs answer from a script and which records what the
// program asked of it.
class ScriptedDesktop : public DesktopServices
{
public:
    // Answers for the next file dialogs, in order; nothing = cancelled.
    std::deque<std::optional<WinPath>> dialogAnswers;
    bool openSucceeds = true;
    bool trashSucceeds = true;

    std::vector<std::string> events; // messages and opened targets, in order
    std::vector<std::string> opened;
    std::vector<WinPath> trashed;
    std::vector<FileDialog> dialogs;
    std::vector<std::string> messages;
    std::vector<std::string> errors;
    int busyDepth = 0;
    // Called with every message and error, while its box would be open.
    std::function<void(const std::string &)> onMessage;

    bool openWithDefaultProgram(const std::string &target) override
    {
        events.push_back("open " + target);
        opened.push_back(target);
        return openSucceeds;
    }
    bool moveToTrash(const WinPath &file) override
    {
        trashed.push_back(file);
        return trashSucceeds;
    }
    std::optional<WinPath> openFileDialog(const FileDialog &d) override { return answer(d); }
    std::optional<WinPath> saveFileDialog(const FileDialog &d) override { return answer(d); }
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
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }

private:
    std::optional<WinPath> answer(const FileDialog &d)
    {
        dialogs.push_back(d);
        if (dialogAnswers.empty())
            return std::nullopt;
        auto a = dialogAnswers.front();
        dialogAnswers.pop_front();
        return a;
    }
};

} // namespace zorbe::test
