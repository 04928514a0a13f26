#include "verify/qt/TForm14.h"

#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace zorbe {

TForm14::TForm14(const ProfileFile &settings, DesktopServices &desktop, Hooks hooks, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_desktop(desktop)
    , m_hooks(std::move(hooks))
    , m_settings(TPayoutSettings::read(settings))
{
    setObjectName(QStringLiteral("TForm14"));
    setWindowTitle(QStringLiteral("検証ファイル出力"));
    resize(700, 560);

    m_menuBar = new QMenuBar(this);
    m_menuBar->setNativeMenuBar(false);
    // The three commands stand on the menu bar itself.
    const auto item = [&](const char *name, const QString &caption, void (TForm14::*slot)()) {
        QAction *action = m_menuBar->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
    };
    item("Open1", QStringLiteral("開く  (&O)"), &TForm14::Open1Click);
    item("Save1", QStringLiteral("保存  (&S)"), &TForm14::Save1Click);
    item("Exit1", QStringLiteral("タイトルへ  (&x)"), &TForm14::Exit1Click);

    // The table is a file format: shown as it will be saved, not edited.
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setFont(windowsFont(QStringLiteral("ＭＳ ゴシック"), 13));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_menuBar);
    layout->addWidget(m_memo);
}

void TForm14::Open1Click()
{
    const auto chosen = m_desktop.openFileDialog({kPayoutOpenTitle, kPayoutOpenFilter, WinPath(m_settings.seiseki), {}});
    if (!chosen)
        return;
    std::vector<TPayoutNotice> notices;
    try {
        const TPayoutSource source = payoutSourceFile(m_settings, *chosen, m_unlha);
        if (!source.refused.empty()) {
            std::string text;
            for (const std::string &line : source.refused)
                text += cp932::toUtf8(line) + "\n";
            m_desktop.showMessage(text);
        }
        // A file the archive did not hold ends the command without a word.
        m_table.appendResultsFile(source.file, notices);
    } catch (const std::exception &e) {
        showTable();
        m_desktop.showError(e.what());
        return;
    }
    showTable();
    if (!notices.empty()) {
        std::string text;
        for (const TPayoutNotice &n : notices)
            text += n.text + "\n";
        m_desktop.showMessage(text);
    }
}

void TForm14::Save1Click()
{
    const auto name =
        m_desktop.saveFileDialog({{}, kPayoutSaveFilter, WinPath(kPayoutSaveFolder), m_table.defaultSaveName()});
    if (name) {
        try {
            savePayoutTable(m_table, *name);
        } catch (const files::FileError &e) {
            // Nothing was saved: the table stays for another try.
            m_desktop.showError(e.what());
            return;
        }
    }
    m_table.clear();
    showTable();
}

void TForm14::Exit1Click()
{
    if (m_hooks.showMain)
        m_hooks.showMain();
}

void TForm14::showTable()
{
    QStringList lines;
    for (const std::string &line : m_table.lines())
        lines << toQString(line);
    m_memo->setPlainText(lines.join(QLatin1Char('\n')));
}

void TForm14::closeEvent(QCloseEvent *event)
{
    event->ignore();
    Exit1Click();
}

} // namespace zorbe
