#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"
#include "support/TempHome.h"

#include <QFontDatabase>
#include <QGuiApplication>

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

} // namespace
} // namespace zorbe
