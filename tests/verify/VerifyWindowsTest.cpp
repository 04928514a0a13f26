#include "verify/LhaTestArchive.h"
#include "verify/VerifyTestDay.h"
#include "verify/qt/TForm14.h"
#include "verify/qt/TForm24.h"

#include "link/LocalFeedLink.h"
#include "paper/PrintTarget.h"
#include "paper/qt/TForm3.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "platform/qt/QtText.h"
#include "shell/AppState.h"
#include "support/ScriptedDesktop.h"
#include "support/TempHome.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace zorbe;
using test::ResultRecord;

namespace {

QString cellText(QTableWidget *grid, int col, int row)
{
    const QTableWidgetItem *item = grid->item(row, col);
    return item ? item->text() : QString();
}

class VerifyWindows : public ::testing::Test
{
protected:
    VerifyWindows() : settings(ProfileFile::defaultPath()) {}

    WinPath resultsFile(const char *name, const std::vector<ResultRecord> &records)
    {
        std::string bytes;
        for (const ResultRecord &r : records)
            bytes += r.bytes();
        home.writeFile(std::string("sei/") + name, bytes);
        return WinPath::fromNative(home.path() / "sei" / name);
    }
    static std::vector<ResultRecord> day(const char *venue, int races)
    {
        std::vector<ResultRecord> records;
        for (int race = 1; race <= races; ++race)
            records.push_back(ResultRecord("20240608", venue, race).plain(3, 8, 1, "25", 450, 800, 1230));
        return records;
    }

    test::TempHome home;
    test::ScriptedDesktop desktop;
    ProfileFile settings;
    std::vector<std::string> calls;
};

TEST_F(VerifyWindows, PayoutWindowGathersOpenedFilesUntilSaved)
{
    TForm14 form(settings, desktop, {[this] { calls.push_back("main"); }});
    EXPECT_EQ(form.windowTitle(), QStringLiteral("検証ファイル出力"));
    ASSERT_NE(form.findChild<QAction *>(QStringLiteral("Open1")), nullptr);
    EXPECT_EQ(form.findChild<QAction *>(QStringLiteral("Save1"))->text(), QStringLiteral("保存  (&S)"));

    desktop.dialogAnswers = {resultsFile("a.SDT", day("01", 2)), resultsFile("b.SDT", day("07", 1))};
    form.Open1Click();
    ASSERT_EQ(desktop.dialogs.size(), 1u);
    EXPECT_EQ(desktop.dialogs[0].title, "成績データ");
    EXPECT_EQ(desktop.dialogs[0].initialFolder.text(), "c:\\zorbelab\\sei");
    form.Open1Click();
    EXPECT_EQ(form.table().lines().size(), 5u + 2u + 3u + 5u + 1u + 3u);
    EXPECT_TRUE(form.memo()->toPlainText().contains(QStringLiteral("２４年２回中京")));

    // Cancelling the open changes nothing; a save adds ".TXT" and empties.
    form.Open1Click();
    files::makeDirectories(WinPath("out"));
    desktop.dialogAnswers = {WinPath("out\\day.TXT")};
    form.Save1Click();
    EXPECT_EQ(desktop.dialogs.back().initialName, sj("中京240608"));
    EXPECT_EQ(desktop.dialogs.back().initialFolder.text(), "c:\\zorbelab\\kensyo");
    EXPECT_EQ(test::readNative(home.path() / "out" / "day.TXT.TXT").size() > 0, true);
    EXPECT_TRUE(form.table().empty());
    EXPECT_TRUE(form.memo()->toPlainText().isEmpty());

    // A save that cannot be written keeps the table.
    desktop.dialogAnswers = {resultsFile("a.SDT", day("01", 1)), WinPath("missing\\folder\\x")};
    form.Open1Click();
    form.Save1Click();
    EXPECT_EQ(desktop.errors.size(), 1u);
    EXPECT_FALSE(form.table().empty());

    form.Exit1Click();
    EXPECT_EQ(calls, std::vector<std::string>{"main"});
}

TEST_F(VerifyWindows, PayoutWindowUnpacksArchivesAndSaysWhatItRefused)
{
    settings.writeString("kyousou", "kousin", "0");
    TForm14 form(settings, desktop, {});
    files::makeDirectories(WinPath("c:\\zorbelab\\sei"));
    std::string results;
    for (const ResultRecord &r : day("05", 1))
        results += r.bytes();
    home.writeFile("in/a.lzh", test::makeLhaArchive({{"JracSei1.dat", results, 2}, {"../../x.txt", "x", 2}}));
    desktop.dialogAnswers = {WinPath::fromNative(home.path() / "in" / "a.lzh")};
    form.Open1Click();
    EXPECT_EQ(form.table().lines().size(), 9u);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(desktop.messages[0].find("展開先の外を指すため展開しません: ..\\..\\x.txt"), std::string::npos);

    // Not an archive: no results file, no table, no message.
    home.writeFile("in/b.lzh", "not an archive");
    desktop.dialogAnswers = {WinPath::fromNative(home.path() / "in" / "b.lzh")};
    form.Open1Click();
    EXPECT_EQ(form.table().lines().size(), 9u);
    EXPECT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.errors.empty());
}

TEST_F(VerifyWindows, ReturnRateWindowCalculatesSavesAndWritesThePage)
{
    settings.writeString("copyfile", "copy", "C:\\ZORBELAB\\txt");
    files::makeDirectories(WinPath("C:\\ZORBELAB\\txt"));
    TForm24 form(settings, desktop, {[this] { calls.push_back("main"); }});
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("回収率計算（コース・クラス別）"));
    EXPECT_TRUE(form.radio(1)->isChecked());
    EXPECT_EQ(cellText(form.grid(3), 0, 0), QStringLiteral("コース"));
    EXPECT_EQ(cellText(form.grid(6), 0, 5), QStringLiteral("ｵｰﾌﾟﾝ"));

    // Without a payout file.
    form.radio(4)->click();
    EXPECT_EQ(desktop.messages, std::vector<std::string>{"成績ファイルを選択して下さい。"});

    TPayoutTable table;
    std::string bytes;
    for (const ResultRecord &r : day("01", 2))
        bytes += r.bytes();
    table.appendResults(bytes, "a");
    const WinPath payout = savePayoutTable(table, WinPath("C:\\ZORBELAB\\txt\\kensyo"));
    const std::string rule(75, '-');
    files::writeAll(WinPath(sj("C:\\ZORBELAB\\txt\\札幌20240608本紙.txt")),
                    rule + "\r\n\r\n" + rule + "\r\n" +
                        " 1R   3  3- 8  1- 3  3- 5                    |  D   5M\x81\x40 1600m  [15:25]\r\n");
    desktop.dialogAnswers = {payout};
    form.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
    EXPECT_EQ(desktop.dialogs.back().title, "W.A.R.S払戻ファイル選択");
    EXPECT_EQ(form.radio(1)->text(), QStringLiteral("札幌２回　５日目"));
    EXPECT_EQ(form.label86()->text(), QStringLiteral("2024年06月08日(土)"));

    form.radio(4)->click();
    EXPECT_EQ(desktop.messages.size(), 1u) << desktop.messages.back();
    EXPECT_EQ(cellText(form.grid(1), 0, 1), QStringLiteral(" 1R"));
    EXPECT_EQ(cellText(form.grid(2), 7, 1), QStringLiteral("〇"));
    EXPECT_EQ(cellText(form.grid(3), 1, 1), QStringLiteral("1230"));
    EXPECT_EQ(cellText(form.grid(3), 3, 1), QStringLiteral("410.0%"));
    EXPECT_EQ(form.label85()->text(), QStringLiteral("２回札幌　５日目"));

    form.findChild<QPushButton *>(QStringLiteral("BitBtn4"))->click();
    EXPECT_TRUE(files::isFile(WinPath(sj("C:\\ZORBELAB\\txt\\札幌２回本紙.ken"))));
    form.findChild<QPushButton *>(QStringLiteral("BitBtn4"))->click();
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_NE(desktop.messages[1].find("保存済み"), std::string::npos);
    form.findChild<QPushButton *>(QStringLiteral("BitBtn7"))->click();
    EXPECT_TRUE(files::isFile(WinPath(sj("C:\\ZORBELAB\\txt\\札幌２回本紙集計.htm"))));

    // A venue button asks for the pick type again.
    form.radio(1)->click();
    EXPECT_FALSE(form.radio(4)->isChecked());
    form.findChild<QPushButton *>(QStringLiteral("BitBtn4"))->click();
    EXPECT_NE(desktop.messages.back().find("計算してから"), std::string::npos);

    // A missing pick file is an error; the grids keep what was filled.
    form.radio(5)->click();
    EXPECT_EQ(desktop.errors.size(), 1u);
    EXPECT_EQ(cellText(form.grid(1), 0, 1), QStringLiteral(" 1R"));

    form.findChild<QPushButton *>(QStringLiteral("BitBtn3"))->click();
    EXPECT_EQ(calls, std::vector<std::string>{"main"});
}

TEST_F(VerifyWindows, TextOutputOfTheRaceSelectionWindowWritesThePickFiles)
{
    AppState app(std::make_unique<LocalFeedLink>());
    test::PickDay made;
    made.addRace({1, 2, 3, 4, 5, 6, 7, 8});
    made.addRace({4, 3, 2, 1});
    // The hand-made day into the program's race card and masters.
    *app.raceCard = *made.card;
    app.masters = made.masters;
    app.settings.sinba = "1";
    app.settings.kako = "1";
    app.settingsFile.writeString("copyfile", "copy", "C:\\ZORBE\\txt");
    RecordingPrinter printer;
    TForm3 form(app, *app.newspaper, &printer, desktop, {});
    form.FormActivate();
    auto *button = form.findChild<QPushButton *>(QStringLiteral("BitBtn6"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("W.A.R.S形式出力"));

    // No output folder: the error is shown, the button and cursor come back.
    button->click();
    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_NE(desktop.errors[0].find("東京20040627本紙.TXT"), std::string::npos);
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(desktop.busyDepth, 0);

    files::makeDirectories(WinPath("C:\\ZORBE\\txt"));
    button->click();
    EXPECT_EQ(desktop.errors.size(), 1u);
    for (const char *word : {"本紙", "虎の穴", "タイム"}) {
        const std::string bytes = files::readAll(WinPath(sj(std::string("C:\\ZORBE\\txt\\東京20040627") + word + ".TXT")));
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 5) << word;
    }
    EXPECT_EQ(app.raceCard->CurrentRace, 1);
}

} // namespace
