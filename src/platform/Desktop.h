#pragma once

#include "platform/WinPath.h"

#include <optional>
#include <string>
#include <string_view>

namespace zorbe {

// What the program asks of the desktop: the default program for a file or
// address, the trash, file dialogs, message boxes and the busy cursor.
// The windows use the Qt implementation; the subcommands use a console one;
// tests script one of their own. Texts are UTF-8; "\n" breaks a line.
class DesktopServices
{
public:
    virtual ~DesktopServices() = default;

    // Opens a file or a URL (http:, mailto:) with its default program.
    // Returns false when that was not possible; callers report nothing.
    virtual bool openWithDefaultProgram(const std::string &fileOrUrl) = 0;

    // Moves a file to the trash (undoable delete). The desktop may ask the
    // user to confirm. Returns false when the file stays where it was.
    virtual bool moveToTrash(const WinPath &file) = 0;

    // Filter in the program's form: "description|pattern[|description|pattern]".
    struct FileDialog
    {
        std::string title;
        std::string filter;
        WinPath initialFolder;
        std::string initialName; // save dialogs
    };
    virtual std::optional<WinPath> openFileDialog(const FileDialog &dialog) = 0;
    virtual std::optional<WinPath> saveFileDialog(const FileDialog &dialog) = 0;

    // A message box with an OK button. Returns when the user has closed it.
    virtual void showMessage(const std::string &text) = 0;

    // An error report for a failed command (the standard error report).
    virtual void showError(const std::string &text) { showMessage(text); }

    // The busy cursor (arrow with hourglass) on or off.
    virtual void setBusy(bool busy) = 0;
};

// The busy cursor for as long as the object lives (a print, a long load).
class ScopedBusyCursor
{
public:
    explicit ScopedBusyCursor(DesktopServices &desktop) : m_desktop(desktop) { m_desktop.setBusy(true); }
    ~ScopedBusyCursor() { m_desktop.setBusy(false); }
    ScopedBusyCursor(const ScopedBusyCursor &) = delete;
    ScopedBusyCursor &operator=(const ScopedBusyCursor &) = delete;

private:
    DesktopServices &m_desktop;
};

// Subcommands: messages go to standard error, dialogs answer "cancelled",
// nothing is opened.
class ConsoleDesktop : public DesktopServices
{
public:
    bool openWithDefaultProgram(const std::string &) override { return false; }
    bool moveToTrash(const WinPath &) override { return false; }
    std::optional<WinPath> openFileDialog(const FileDialog &) override { return std::nullopt; }
    std::optional<WinPath> saveFileDialog(const FileDialog &) override { return std::nullopt; }
    void showMessage(const std::string &text) override;
    void setBusy(bool) override {}
};

} // namespace zorbe
