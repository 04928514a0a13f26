#include "shell/MainWindowCommands.h"

#include "link/LocalFeedLink.h"
#include "model/RaceCard.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

#include "support/ScriptedDesktop.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace zorbe;
namespace fs = std::filesystem;

namespace {

class MainWindowTest : public ::testing::Test
{
protected:
    test::TempHome home;
    test::ScriptedDesktop desktop;
    AppState app{std::make_unique<LocalFeedLink>()};
};

// A link whose initialisation fails.
class DeadLink : public LocalFeedLink
{
public:
    int JVInit(const std::string &) override { return -301; }
};

} // namespace

TEST_F(MainWindowTest, FirstStartShowsBothMissingMessagesAndCreatesTheFolders)
{
    mainwindow::formCreate(app, desktop);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0], kTrainerFileMissingMessage);
    EXPECT_EQ(desktop.messages[1], kJockeyFileMissingMessage);
    EXPECT_NE(desktop.messages[1].find("騎手ファイル(kisyu.DAT)が\\DATフォルダに\nありません"), std::string::npos);
    EXPECT_TRUE(app.masters.JockeyTable.empty());
    // "d:\zorbelab" and "d:\zorbeLab" are one folder.
    EXPECT_TRUE(fs::is_directory(home.path() / "drives/d/zorbeLab/down"));
    for (const char *dir : {"d:\\zorbelab\\dat", "d:\\zorbeLab\\down", "d:\\zorbeLab\\JRA", "d:\\zorbeLab\\sei",
                            "d:\\zorbeLab\\odds", "C:\\ZORBELAB\\txt", "C:\\zorbelab\\DAT"})
        EXPECT_TRUE(files::isDirectory(WinPath(dir))) << dir;
    EXPECT_TRUE(fs::exists(home.path() / "zorbelab.Ini"));
    // The start-up masters are those the conversions keep in the data folder.
    EXPECT_EQ(app.settings.kisyu, "d:\\zorbelab\\dat\\KISYU.DAT");
    EXPECT_EQ(app.settings.cyoukyou, "d:\\zorbelab\\dat\\CHOKYOSI.DAT");
}

TEST_F(MainWindowTest, MastersAreReadFromTheConfiguredFiles)
{
    ProfileFile ini(ProfileFile::defaultPath());
    ini.writeString("kisyufile", "kisyu", "e:\\m\\K.DAT");
    ini.writeString("tekifile", "cyoukyou", "e:\\m\\C.DAT");
    files::makeDirectories(WinPath("e:\\m"));
    std::string name = sj("調教　師");
    name.resize(32, ' ');
    files::writeAll(WinPath("e:\\m\\C.DAT"), "00111" + name + "002002001001" + "2\r\n");
    files::writeAll(WinPath("e:\\m\\k.dat"), ""); // found whatever its case
    mainwindow::formCreate(app, desktop);
    EXPECT_TRUE(desktop.messages.empty());
    ASSERT_EQ(app.masters.TrainerTable.size(), 1u);
    EXPECT_EQ(app.masters.TrainerTable[0].Region, "2");
    EXPECT_DOUBLE_EQ(app.masters.TrainerTable[0].TopTwoRate, 4.0 / 6.0);
    EXPECT_TRUE(app.masters.JockeyTable.empty());
}

TEST_F(MainWindowTest, ActivationReadsTheSettingsWithTheMainWindowsDefaults)
{
    mainwindow::formActivate(app);
    EXPECT_EQ(app.settings.kako, "0");
    EXPECT_EQ(app.settings.yosou, "1");
    EXPECT_EQ(app.settings.sinbun, "0");
    EXPECT_EQ(app.settings.zoom, "110");
    EXPECT_EQ(app.settings.lastFileTime, "20040617000000");
    EXPECT_EQ(app.settings.down, "d:\\zorbeLab\\down");

    // A value saved by another window is seen on the next activation, with
    // the section spelt as that window writes it.
    ProfileFile other(ProfileFile::defaultPath());
    other.writeString("Sinbun", "sinbun", "2");
    other.writeString("OZZ", "ozz", "0");
    mainwindow::formActivate(app);
    EXPECT_EQ(app.settings.sinbun, "2");
    EXPECT_EQ(app.settings.ozz, "0");
}

TEST_F(MainWindowTest, LabelTablesAreRebuiltOnActivation)
{
    mainwindow::formActivate(app);
    const auto &l = app.labels;
    EXPECT_EQ(l.CircledNumberText[0], "  ");
    EXPECT_EQ(l.CircledNumberText[1], sj("①"));
    EXPECT_EQ(l.CircledNumberText[18], sj("⑱"));
    EXPECT_EQ(l.HorseNumberText[1], " 1");
    EXPECT_EQ(l.HorseNumberText[9], " 9");
    EXPECT_EQ(l.HorseNumberText[10], "10");
    EXPECT_EQ(l.RaceNumberText[1], sj("　１Ｒ"));
    EXPECT_EQ(l.RaceNumberText[9], sj("　９Ｒ"));
    EXPECT_EQ(l.RaceNumberText[12], sj("１２Ｒ"));
    for (int r = 1; r <= 12; ++r)
        EXPECT_EQ(l.RaceNumberText[r].size(), 6u);

    app.labels.CircledNumberText[1] = "?";
    mainwindow::formActivate(app);
    EXPECT_EQ(app.labels.CircledNumberText[1], sj("①"));
}

TEST_F(MainWindowTest, VersionTextAfterTheLinkIsInitialised)
{
    EXPECT_EQ(mainwindow::formShow(app), " JV-Link Ver.1.2.1");
    EXPECT_EQ(app.JVLinkVersion, "121");
    AppState dead(std::make_unique<DeadLink>());
    EXPECT_EQ(mainwindow::formShow(dead), "");
}

TEST_F(MainWindowTest, HelpDeleteAndMail)
{
    ProfileFile(ProfileFile::defaultPath()).writeString("zorbedir", "zorbe", "C:\\Zorbe");
    mainwindow::formActivate(app);
    mainwindow::openHelp(app, desktop);
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0], (home.path() / "drives/c/Zorbe/DataLab.chm").string());

    // Cancelled dialog: nothing is deleted.
    mainwindow::deleteDownloadFile(app, desktop);
    EXPECT_TRUE(desktop.trashed.empty());
    ASSERT_EQ(desktop.dialogs.size(), 1u);
    EXPECT_EQ(desktop.dialogs[0].title, "削除対象ダウンロードファイルの選択");
    EXPECT_EQ(desktop.dialogs[0].filter, "削除するダウンロードファイル(*.DAT/SLB/RLB)|*.*");
    EXPECT_EQ(desktop.dialogs[0].initialFolder.text(), "d:\\zorbeLab\\down");
    desktop.dialogAnswers.push_back(WinPath("d:\\zorbeLab\\down\\RAVM2004.DAT"));
    mainwindow::deleteDownloadFile(app, desktop);
    ASSERT_EQ(desktop.trashed.size(), 1u);
    EXPECT_EQ(desktop.trashed[0].text(), "d:\\zorbeLab\\down\\RAVM2004.DAT");

    mainwindow::openSupportMail(desktop);
    EXPECT_EQ(desktop.messages.back().find("Out look Express を宛先、件名を入力して起動します\n"), 0u);
    EXPECT_EQ(desktop.opened.back(), std::string("mailto:") + mainwindow::kSupportMail
                                         + "?subject=ゾルベData Lab.版について質問です&cc=&bcc=&");
}

TEST_F(MainWindowTest, SetupDialogResultGoesToTheStatusPanel)
{
    EXPECT_EQ(mainwindow::setupDataLink(app), "セットアップエラーJRA-VANへご連絡ください:"); // no chooser
    auto *link = static_cast<LocalFeedLink *>(&app.JVLink1.component());
    link->setFolderChooser([](const fs::path &) { return std::optional<fs::path>("/feed"); });
    EXPECT_EQ(mainwindow::setupDataLink(app), "セットアップ正常終了:");
}

TEST_F(MainWindowTest, RaceSelectionLoadsTheChosenDayOrShowsWhyNot)
{
    mainwindow::formActivate(app);
    EXPECT_FALSE(mainwindow::chooseAndLoadRaceDay(app, desktop)); // cancelled
    ASSERT_EQ(desktop.dialogs.size(), 1u);
    EXPECT_EQ(desktop.dialogs[0].title, "表示する新聞のデータファイル(JRA版)の選択");
    EXPECT_EQ(desktop.dialogs[0].filter, "JRA版出馬表ファイル(*.RDT)|*.RDT");
    EXPECT_EQ(desktop.dialogs[0].initialFolder.text(), "d:\\zorbeLab\\JRA");

    desktop.dialogAnswers.push_back(WinPath("d:\\zorbeLab\\JRA\\none.RDT"));
    EXPECT_FALSE(mainwindow::chooseAndLoadRaceDay(app, desktop));
    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_NE(desktop.errors[0].find("none.RDT"), std::string::npos);

    // An empty day has no race to show: refused, naming the file.
    files::makeDirectories(WinPath("d:\\zorbeLab\\JRA"));
    files::writeAll(WinPath("d:\\zorbeLab\\JRA\\empty.RDT"), "");
    files::writeAll(WinPath("d:\\zorbeLab\\JRA\\empty.HDT"), "");
    desktop.dialogAnswers.push_back(WinPath("d:\\zorbeLab\\JRA\\empty.RDT"));
    EXPECT_FALSE(mainwindow::chooseAndLoadRaceDay(app, desktop));
    ASSERT_EQ(desktop.errors.size(), 2u);
    EXPECT_NE(desktop.errors[1].find("empty.RDT」にはレースがありません"), std::string::npos) << desktop.errors[1];
    EXPECT_EQ(app.raceCard->RaceCount, 0);
}

TEST_F(MainWindowTest, ResultsAreChosenInTheResultsFolder)
{
    mainwindow::formActivate(app);
    EXPECT_FALSE(mainwindow::chooseAndLoadResults(app, desktop));
    EXPECT_EQ(desktop.dialogs[0].title, "競走成績を表示するファイルの選択");
    EXPECT_EQ(desktop.dialogs[0].filter, "ゾルベ成績ファイル(*.SDT)|*.SDT");
    EXPECT_EQ(desktop.dialogs[0].initialFolder.text(), "d:\\zorbeLab\\sei");
    files::makeDirectories(WinPath("d:\\zorbeLab\\sei"));
    const std::string line = std::string(3046, ' ') + "\r\n";
    files::writeAll(WinPath("d:\\zorbeLab\\sei\\x.SDT"), line + line);
    desktop.dialogAnswers.push_back(WinPath("d:\\zorbeLab\\sei\\x.SDT"));
    EXPECT_TRUE(mainwindow::chooseAndLoadResults(app, desktop));
    EXPECT_EQ(app.results->ResultCount, 2);

    // A file of another kind is refused with its name; the tables stay.
    files::writeAll(WinPath("d:\\zorbeLab\\sei\\y.SDT"), std::string(3048, 'x'));
    desktop.dialogAnswers.push_back(WinPath("d:\\zorbeLab\\sei\\y.SDT"));
    EXPECT_FALSE(mainwindow::chooseAndLoadResults(app, desktop));
    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_NE(desktop.errors[0].find("y.SDT」の 1 件目"), std::string::npos) << desktop.errors[0];
    EXPECT_EQ(app.results->ResultCount, 2);
}
