#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"
#include "support/TempHome.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace zorbe {
namespace {

TEST(QtText, Cp932CrossesTheQtEdgeBothWays)
{
    const std::string stored = sj("①髙ｾﾝ～");
    const QString shown = toQString(stored);
    EXPECT_EQ(shown, QStringLiteral("①髙ｾﾝ～"));
    EXPECT_EQ(fromQString(shown), stored);
    // A character cp932 has no code for is stored as the full-width "？".
    EXPECT_EQ(fromQString(QStringLiteral("A😀")), sj("A？"));
}

TEST(QtDesktopFilter, ProgramFiltersBecomeQtFilters)
{
    // "*.*" means every file, as on Windows, and the description keeps its
    // own parentheses.
    EXPECT_EQ(toQtFilter("削除するダウンロードファイル(*.DAT/SLB/RLB)|*.*"),
              QStringLiteral("削除するダウンロードファイル(*.DAT/SLB/RLB) (*)"));
    // Several pairs, several patterns, both letter cases.
    EXPECT_EQ(toQtFilter("出馬表|*.RDT|成績;結果|*.SDT;*.sdt"),
              QStringLiteral("出馬表 (*.RDT *.rdt);;成績;結果 (*.SDT *.sdt)"));
    // Nothing given: every file.
    EXPECT_EQ(toQtFilter(""), QStringLiteral("(*)"));
    EXPECT_EQ(toQtFilter("テキスト"), QStringLiteral("テキスト (*)"));
}

TEST(QtDesktopFilter, DialogsOpenInTheNearestFolderThatExists)
{
    test::TempHome home;
    std::filesystem::create_directories(home.path() / "drives/d/zorbeLab/down");
    EXPECT_EQ(dialogFolder(WinPath(sj("D:\\ZORBELAB\\DOWN"))),
              QString::fromStdString((home.path() / "drives/d/zorbeLab/down").string()));
    EXPECT_EQ(dialogFolder(WinPath(sj("d:\\zorbeLab\\down\\まだない\\もっと"))),
              QString::fromStdString((home.path() / "drives/d/zorbeLab/down").string()));
    EXPECT_TRUE(dialogFolder(WinPath()).isEmpty());
}

TEST(QtDesktopServices, MissingFilesAreNeitherOpenedNorTrashed)
{
    test::TempHome home;
    QtDesktop desktop(QStringLiteral("title"));
    // No confirmation is asked for a file that is not there (the test would
    // hang on the modal box otherwise).
    EXPECT_FALSE(desktop.moveToTrash(WinPath(sj("d:\\zorbeLab\\down\\なし.DAT"))));
    EXPECT_FALSE(desktop.openWithDefaultProgram((home.path() / "DataLab.chm").string()));
    EXPECT_FALSE(desktop.openWithDefaultProgram(""));
}

// Answers the confirmation box that is about to open with the button of
// that caption.
void answerNextBox(const QString &caption)
{
    QTimer::singleShot(0, [caption] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton *b : box->buttons())
            if (b->text() == caption)
                b->click();
    });
}

TEST(QtDesktopServices, TrashAsksFirstAndMovesOnlyWhenTheUserAgrees)
{
    test::TempHome home;
    // The trash of this test lives in its home, not the user's.
    const char *previous = std::getenv("XDG_DATA_HOME");
    const std::string saved = previous ? previous : "";
    std::filesystem::create_directories(home.path() / "xdg");
    ::setenv("XDG_DATA_HOME", (home.path() / "xdg").c_str(), 1);

    const auto file = home.writeFile("drives/d/zorbeLab/down/RAQW20040624.DAT", "x");
    QtDesktop desktop(QStringLiteral("title"));
    answerNextBox(QStringLiteral("いいえ"));
    EXPECT_FALSE(desktop.moveToTrash(WinPath(sj("d:\\zorbeLab\\down\\RAQW20040624.DAT"))));
    EXPECT_TRUE(std::filesystem::exists(file));

    answerNextBox(QStringLiteral("はい"));
    EXPECT_TRUE(desktop.moveToTrash(WinPath(sj("D:\\ZORBELAB\\DOWN\\raqw20040624.dat"))));
    EXPECT_FALSE(std::filesystem::exists(file));

    if (previous)
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}

TEST(QtDesktopServices, BusyCursorIsSetOnceAndRestored)
{
    QtDesktop desktop(QStringLiteral("title"));
    desktop.setBusy(true);
    desktop.setBusy(true);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
    desktop.setBusy(false);
    desktop.setBusy(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(QtFonts, WindowsFacesMapToInstalledJapaneseFonts)
{
    const QStringList installed = QFontDatabase::families();
    if (!installed.contains(QStringLiteral("IPAGothic")) || !installed.contains(QStringLiteral("IPAPMincho")))
        GTEST_SKIP() << "IPA fonts are not installed";
    EXPECT_EQ(mapFontFamily(QStringLiteral("ＭＳ ゴシック")), QStringLiteral("IPAGothic"));
    EXPECT_EQ(mapFontFamily(QStringLiteral("ＭＳ Ｐ明朝")), QStringLiteral("IPAPMincho"));
    // The vertical faces map like the upright ones.
    EXPECT_EQ(mapFontFamily(QStringLiteral("@ＭＳ Ｐゴシック")), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(mapFontFamily(QStringLiteral("Arial")), QStringLiteral("Arial"));
    const QFont f = windowsFont(QStringLiteral("ＭＳ 明朝"), 12);
    EXPECT_EQ(f.family(), QStringLiteral("IPAMincho"));
    EXPECT_EQ(f.pixelSize(), 12);
}

TEST(Application, QtSpeaksJapaneseAndAddsNothingToTheTitles)
{
    // Qt appends a display name to every window title; the program sets
    // none, so the titles are the captions the windows set.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
    EXPECT_FALSE(QGuiApplication::windowIcon().isNull());
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFileInfo::exists(translations + QStringLiteral("/qtbase_ja.qm")))
        GTEST_SKIP() << "qt6-translations-l10n is not installed";
    // Whatever the locale of the machine running the tests.
    const QString lookIn = QCoreApplication::translate("QFileDialog", "Look in:");
    EXPECT_NE(lookIn, QStringLiteral("Look in:"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Files of type:"), QStringLiteral("Files of type:"));
}

} // namespace
} // namespace zorbe
