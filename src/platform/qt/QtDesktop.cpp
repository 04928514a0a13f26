#include "platform/qt/QtDesktop.h"

#include "platform/qt/QtText.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QUrl>

#include <filesystem>

namespace zorbe {
namespace fs = std::filesystem;

namespace {

QString nativeString(const fs::path &p)
{
    return QString::fromStdString(p.string());
}

WinPath winPathFrom(const QString &nativeFile)
{
    return WinPath::fromNative(fs::path(nativeFile.toStdString()));
}

// "*.RDT" also as "*.rdt" (and the other way round).
QStringList withOtherCase(const QString &pattern)
{
    QStringList out{pattern};
    const QString lower = pattern.toLower(), upper = pattern.toUpper();
    if (lower != pattern)
        out << lower;
    else if (upper != pattern)
        out << upper;
    return out;
}

// True when the text names an address (http:, mailto:, file:) rather than a
// file: a scheme of two or more letters before the first ":".
bool isUrl(const QString &text)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 2)
        return false;
    for (qsizetype i = 0; i < colon; ++i) {
        const QChar c = text.at(i);
        if (!(c.isLetterOrNumber() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.')))
            return false;
    }
    return true;
}

} // namespace

QString toQtFilter(std::string_view programFilter)
{
    const QStringList parts = fromUtf8Text(programFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (QString p : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            p = p.trimmed();
            if (p.isEmpty())
                continue;
            if (p == QStringLiteral("*.*") || p == QStringLiteral("*"))
                patterns << QStringLiteral("*");
            else
                patterns << withOtherCase(p);
        }
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        patterns.removeDuplicates();
        filters << parts.at(i) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    // A description without a pattern, or no filter at all: every file.
    if (filters.isEmpty())
        filters << (parts.value(0).isEmpty() ? QStringLiteral("(*)") : parts.at(0) + QStringLiteral(" (*)"));
    return filters.join(QStringLiteral(";;"));
}

QString dialogFolder(const WinPath &initialFolder)
{
    if (initialFolder.empty())
        return {};
    fs::path p = toNative(initialFolder);
    std::error_code ec;
    while (!p.empty() && !fs::is_directory(p, ec)) {
        const fs::path parent = p.parent_path();
        if (parent == p)
            break;
        p = parent;
    }
    return nativeString(p);
}

QtDesktop::QtDesktop(QString title)
    : m_title(std::move(title))
{
}

QWidget *QtDesktop::dialogParent() const
{
    if (m_parent && m_parent->isVisible())
        return m_parent;
    return QApplication::activeWindow();
}

bool QtDesktop::openWithDefaultProgram(const std::string &fileOrUrl)
{
    const QString target = fromUtf8Text(fileOrUrl);
    if (target.isEmpty())
        return false;
    if (isUrl(target))
        return QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode));
    // A file that is not there is not handed on: the desktop would only
    // report an error of its own.
    if (!QFileInfo::exists(target))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(target));
}

bool QtDesktop::confirmTrash(const QString &nativeFile) const
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("ファイルの削除"),
                    QStringLiteral("「%1」をごみ箱に移動しますか？").arg(QFileInfo(nativeFile).fileName()),
                    QMessageBox::NoButton, dialogParent());
    QPushButton *yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

bool QtDesktop::moveToTrash(const WinPath &file)
{
    const QString native = nativeString(toNative(file));
    if (!QFileInfo::exists(native))
        return false;
    if (!confirmTrash(native))
        return false;
    if (QFile::moveToTrash(native))
        return true;
    // The desktop reports a delete it could not do (no trash on that file
    // system, no permission); the caller only learns that the file stayed.
    showError(QStringLiteral("「%1」をごみ箱に移動できませんでした。").arg(QFileInfo(native).fileName()).toStdString());
    return false;
}

std::optional<WinPath> QtDesktop::openFileDialog(const FileDialog &dialog)
{
    const QString chosen = QFileDialog::getOpenFileName(dialogParent(), fromUtf8Text(dialog.title),
                                                        dialogFolder(dialog.initialFolder),
                                                        toQtFilter(dialog.filter), nullptr,
                                                        QFileDialog::HideNameFilterDetails);
    if (chosen.isEmpty())
        return std::nullopt;
    return winPathFrom(chosen);
}

std::optional<WinPath> QtDesktop::saveFileDialog(const FileDialog &dialog)
{
    QString start = dialogFolder(dialog.initialFolder);
    if (!dialog.initialName.empty()) {
        const QString name = toQString(dialog.initialName);
        start = start.isEmpty() ? name : QDir(start).filePath(name);
    }
    const QString chosen
        = QFileDialog::getSaveFileName(dialogParent(), fromUtf8Text(dialog.title), start, toQtFilter(dialog.filter),
                                       nullptr, QFileDialog::HideNameFilterDetails);
    if (chosen.isEmpty())
        return std::nullopt;
    return winPathFrom(chosen);
}

void QtDesktop::showBox(int icon, const std::string &text) const
{
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), m_title, fromUtf8Text(text), QMessageBox::Ok,
                    dialogParent());
    // The splash window stays on top during start-up; a message shown then
    // must not end up hidden behind it.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void QtDesktop::showMessage(const std::string &text)
{
    showBox(QMessageBox::NoIcon, text);
}

void QtDesktop::showError(const std::string &text)
{
    showBox(QMessageBox::Critical, text);
}

void QtDesktop::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

} // namespace zorbe
