// Pictures of the program's windows for the user manual, taken from the
// windows themselves on the offscreen platform:
//   zorbe_screens OUTDIR [RDTFILE]
// writes OUTDIR/main.png (the main window) and, with a race-day file,
// OUTDIR/newspaper.png (its newspaper as "レース選択" opens it). The home is
// $ZORBE_HOME, as for the program.

#include "link/LocalFeedLink.h"
#include "platform/WinPath.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtText.h"
#include "shell/AppInfo.h"
#include "shell/AppState.h"
#include "shell/qt/DesktopApp.h"
#include "shell/qt/Forms.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

// The one window the program shows now.
QWidget *shownWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isWindow() && !w->inherits("QSplashScreen"))
            return w;
    return nullptr;
}

bool save(const QString &file)
{
    QWidget *w = shownWindow();
    if (!w)
        return false;
    QTest::qWait(300);
    return w->grab().save(file);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "使い方: zorbe_screens OUTDIR [RDTFILE]\n");
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QApplication qtApp(argc, argv);
    zorbe::setupApplication(qtApp);
    zorbe::QtDesktop desktop(zorbe::fromUtf8Text(zorbe::kApplicationTitle));
    zorbe::AppState app(std::make_unique<zorbe::LocalFeedLink>());
    zorbe::Forms forms(app, desktop);
    forms.start();
    const QString out = QString::fromLocal8Bit(argv[1]);
    if (!save(out + QStringLiteral("/main.png"))) {
        std::fprintf(stderr, "zorbe_screens: メイン画面を保存できません\n");
        return 1;
    }
    if (argc == 3) {
        forms.openNewspaper(zorbe::WinPath::fromNative(argv[2]));
        if (!save(out + QStringLiteral("/newspaper.png"))) {
            std::fprintf(stderr, "zorbe_screens: 新聞の画面を保存できません\n");
            return 1;
        }
    }
    return 0;
}
