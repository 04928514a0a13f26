#include "shell/qt/DesktopApp.h"

#include "link/LocalFeedLink.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"
#include "shell/AppInfo.h"
#include "shell/AppState.h"
#include "shell/qt/Forms.h"
#include "shell/qt/Pictures.h"
#include "shell/qt/TForm1.h"

#include <QApplication>
#include <QFileDialog>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QStyleFactory>
#include <QTimer>

#include <cstdio>

namespace zorbe {

void loadJapaneseTranslations(QCoreApplication &app)
{
    // The program speaks Japanese whatever the locale, so Qt's own dialogs
    // (files, printers, folders) do too. Without the translation files the
    // dialogs stay in English.
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

void setupApplication(QApplication &app)
{
    // No display name: Qt would append it to every window title, and the
    // windows set their captions themselves.
    QApplication::setApplicationName(QStringLiteral("zorbe"));
    QApplication::setApplicationVersion(QString::fromLatin1(ZORBE_VERSION));
    loadJapaneseTranslations(app);
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        pictures::paintIcon(painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(pixmap);
    }
    QApplication::setWindowIcon(icon);
    app.setProperty("helpFile", fromUtf8Text(kHelpFileSetting));
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QFont font = windowsFont(QStringLiteral("ＭＳ Ｐゴシック"), 13);
    QApplication::setFont(font);
    QApplication::setQuitOnLastWindowClosed(false);
}

std::unique_ptr<IJVLink> makeDesktopDataLink()
{
    auto link = std::make_unique<LocalFeedLink>();
    link->setFolderChooser([](const std::filesystem::path &current) -> std::optional<std::filesystem::path> {
        const QString chosen
            = QFileDialog::getExistingDirectory(QApplication::activeWindow(), QStringLiteral("JV-Dataフォルダの選択"),
                                                QString::fromStdString(current.string()));
        if (chosen.isEmpty())
            return std::nullopt;
        return std::filesystem::path(chosen.toStdString());
    });
    return link;
}

namespace {

// Waits for the first paint of a window (of any widget in it: its own
// surface is mostly covered by its children), lets it finish, then prints
// the time since the start and ends the event loop.
class StartTimer : public QObject
{
public:
    StartTimer(QWidget &window, std::chrono::steady_clock::time_point startedAt)
        : m_window(window.window())
        , m_startedAt(startedAt)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Paint && !m_seen && widget && widget->window() == m_window) {
            m_seen = true;
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, [startedAt = m_startedAt] {
                const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - startedAt;
                std::printf("メインウィンドウ表示まで %.3f 秒\n", elapsed.count());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    QWidget *m_window;
    std::chrono::steady_clock::time_point m_startedAt;
    bool m_seen = false;
};

} // namespace

int runDesktopApp(int argc, char **argv, const DesktopStart &start)
{
    QApplication qtApp(argc, argv);
    setupApplication(qtApp);

    QtDesktop desktop(fromUtf8Text(kApplicationTitle));
    AppState app(makeDesktopDataLink());
    Forms forms(app, desktop);
    QObject::connect(&forms, &Forms::exitRequested, &qtApp, &QApplication::quit, Qt::QueuedConnection);
    forms.start();
    // The main window is painted from the event loop; the update asks for
    // a paint even if one already happened while the windows were made.
    std::unique_ptr<StartTimer> timer;
    if (start.reportStartTime) {
        timer = std::make_unique<StartTimer>(forms.form1(), start.startedAt);
        forms.form1().update();
    }
    if (start.newspaperDay)
        forms.openNewspaper(*start.newspaperDay);
    return QApplication::exec();
}

} // namespace zorbe
