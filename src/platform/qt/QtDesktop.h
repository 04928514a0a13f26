#pragma once

#include "platform/Desktop.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <string_view>

namespace zorbe {

// The desktop services of the windows: the default program for files and
// addresses, the freedesktop trash, Qt's file dialogs and message boxes, and
// the busy cursor. Dialogs and boxes are modal to the parent window when one
// is set, else to the window that is active.
class QtDesktop : public DesktopServices
{
public:
    explicit QtDesktop(QString title);

    // The title of message boxes (the application title).
    const QString &title() const { return m_title; }
    void setParentWindow(QWidget *parent) { m_parent = parent; }

    bool openWithDefaultProgram(const std::string &fileOrUrl) override;
    bool moveToTrash(const WinPath &file) override;
    std::optional<WinPath> openFileDialog(const FileDialog &dialog) override;
    std::optional<WinPath> saveFileDialog(const FileDialog &dialog) override;
    void showMessage(const std::string &text) override;
    void showError(const std::string &text) override;
    void setBusy(bool busy) override;

private:
    QWidget *dialogParent() const;
    // Asks before moving a file to the trash; true when the user agreed.
    bool confirmTrash(const QString &nativeFile) const;
    void showBox(int icon, const std::string &text) const;

    QString m_title;
    QPointer<QWidget> m_parent;
    bool m_busy = false;
};

// The program's filter form "description|pattern[|description|pattern...]"
// (patterns separated by ";") as a Qt filter "description (p1 p2);;...".
// "*.*" means every file, as on Windows; an extension pattern also matches
// the other letter case, because files copied from Windows keep whatever
// case they had.
QString toQtFilter(std::string_view programFilter);

// The folder a dialog opens in: the mapped initial folder, or its nearest
// existing parent when it does not exist (yet); empty for no folder.
QString dialogFolder(const WinPath &initialFolder);

} // namespace zorbe
