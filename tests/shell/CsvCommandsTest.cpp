#include "shell/CsvCommands.h"

#include "data/formats/MasterFormats.h"
#include "data/formats/RaceDayFormats.h"
#include "link/LocalFeedLink.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "shell/MainWindowCommands.h"

#include "support/RaceKeys.h"
#include "support/ScriptedDesktop.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace zorbe;
using namespace zorbe::formats;

namespace {

// Records the busy cursor's changes and what had been written when the
// cursor went back.
class BusyDesktop : public test::ScriptedDesktop
{
public:
    std::vector<bool> busyChanges;
    std::vector<std::string> errorsWhileBusy;
    void setBusy(bool busy) override
    {
        busyChanges.push_back(busy);
        ScriptedDesktop::setBusy(busy);
    }
    void showError(const std::string &text) override
    {
        if (busyDepth != 0)
            errorsWhileBusy.push_back(text);
        ScriptedDesktop::showError(text);
    }
};

TRaceCardRec race(int no, const std::string &entries)
{
    TRaceCardRec r;
    r.setBlock(RaceCardFields::Key, test::raceKey(no));
    r.set(RaceCardFields::Entries, entries);
    return r;
}

class CsvCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        readStartupSettings(app.settingsFile, app.settings);
        mainwindow::formActivate(app);
    }
    void put(const WinPath &path, const std::string &bytes)
    {
        files::makeDirectories(path.parent());
        files::writeAll(path, bytes);
    }

    test::TempHome home;
    BusyDesktop desktop;
    AppState app{std::make_unique<LocalFeedLink>()};
    const WinPath rdt = WinPath(sj("d:\\zorbeLab\\JRA\\東京20040627.RDT"));
    const WinPath sdt = WinPath(sj("d:\\zorbeLab\\sei\\東京20040627.SDT"));
};

} // namespace

TEST_F(CsvCommands, EachExportAsksForItsFileWhereTheSettingsSay)
{
    EXPECT_FALSE(mainwindow::exportHorseCsv(app, desktop));
    EXPECT_FALSE(mainwindow::exportRaceCardCsv(app, desktop));
    EXPECT_FALSE(mainwindow::exportResultsCsv1(app, desktop));
    EXPECT_FALSE(mainwindow::exportResultsCsv2(app, desktop));
    ASSERT_EQ(desktop.dialogs.size(), 4u);
    EXPECT_EQ(desktop.dialogs[0].title, "競走馬ファイルからCSV形式のファイルを作ります");
    EXPECT_EQ(desktop.dialogs[0].filter, "出馬表ファイル(*.RDT)|*.RDT");
    EXPECT_EQ(desktop.dialogs[1].title, "出馬表ファイルからCSV形式のファイルを作ります");
    EXPECT_EQ(desktop.dialogs[1].filter, "出馬表ファイル(*.RDA)|*.RDT");
    for (int i : {0, 1})
        EXPECT_EQ(desktop.dialogs[i].initialFolder.text(), "d:\\zorbeLab\\JRA");
    for (int i : {2, 3}) {
        EXPECT_EQ(desktop.dialogs[i].title, "成績ファイルからCSV形式のファイルを作ります");
        EXPECT_EQ(desktop.dialogs[i].filter, "ゾルベ成績ファイル|*.SDT");
        EXPECT_EQ(desktop.dialogs[i].initialFolder.text(), "d:\\zorbeLab\\sei");
    }
    // Cancelled: nothing written, no busy cursor, nothing said.
    EXPECT_TRUE(desktop.busyChanges.empty());
    EXPECT_TRUE(desktop.errors.empty());
    EXPECT_TRUE(files::list(WinPath("d:\\zorbeLab\\JRA")).empty());
}

TEST_F(CsvCommands, AChosenFileIsWrittenBesideItUnderTheBusyCursor)
{
    std::string card = race(1, "00").bytes();
    put(rdt, card);
    desktop.dialogAnswers.push_back(rdt);
    const auto written = mainwindow::exportRaceCardCsv(app, desktop);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->text(), sj("d:\\zorbeLab\\JRA\\東京20040627R.CSV"));
    EXPECT_EQ(desktop.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(u8(files::readAll(*written)).substr(0, 9), "　１Ｒ");

    // The horse file of the same name is read too: an empty one is short of
    // no horse for a race without runners.
    put(WinPath(sj("d:\\zorbeLab\\JRA\\東京20040627.HDT")), "");
    desktop.dialogAnswers.push_back(rdt);
    ASSERT_TRUE(mainwindow::exportHorseCsv(app, desktop));
    EXPECT_TRUE(files::isFile(WinPath(sj("d:\\zorbeLab\\JRA\\東京20040627U.CSV"))));
    EXPECT_TRUE(desktop.errors.empty());
}

TEST_F(CsvCommands, AFailedExportIsReportedWithItsFileAndKeepsWhatItWrote)
{
    put(rdt, race(1, "00").bytes() + race(2, "x1").bytes());
    desktop.dialogAnswers.push_back(rdt);
    EXPECT_FALSE(mainwindow::exportRaceCardCsv(app, desktop));
    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_NE(desktop.errors[0].find("東京20040627.RDT の 2 件目のレコード"), std::string::npos) << desktop.errors[0];
    EXPECT_NE(desktop.errors[0].find("東京20040627R.CSV にはこのレコードの前までを書き出しました"), std::string::npos);
    // The report comes after the busy cursor is gone.
    EXPECT_TRUE(desktop.errorsWhileBusy.empty());
    EXPECT_EQ(desktop.busyDepth, 0);
    const std::string kept = files::readAll(WinPath(sj("d:\\zorbeLab\\JRA\\東京20040627R.CSV")));
    EXPECT_EQ(std::count(kept.begin(), kept.end(), '\n'), 2);

    // A results file that is not there: the error names it.
    desktop.dialogAnswers.push_back(sdt);
    EXPECT_FALSE(mainwindow::exportResultsCsv1(app, desktop));
    ASSERT_EQ(desktop.errors.size(), 2u);
    EXPECT_NE(desktop.errors[1].find("東京20040627.SDT"), std::string::npos) << desktop.errors[1];
    // The horse file missing: the same.
    desktop.dialogAnswers.push_back(rdt);
    EXPECT_FALSE(mainwindow::exportHorseCsv(app, desktop));
    ASSERT_EQ(desktop.errors.size(), 3u);
    EXPECT_NE(desktop.errors[2].find("東京20040627.HDT"), std::string::npos) << desktop.errors[2];
}

TEST_F(CsvCommands, TimeDataIsConvertedOnlyWhenTheDataFolderHasIt)
{
    EXPECT_FALSE(mainwindow::exportTimeCsv(app, desktop));
    EXPECT_TRUE(desktop.dialogs.empty());
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.errors.empty());
    EXPECT_FALSE(files::exists(WinPath("d:\\zorbelab\\dat\\CSVSTIME.CSV")));

    TCSTimeRec day;
    day.set(CSTimeFields::Key, "2004050308");
    put(WinPath("d:\\zorbelab\\dat\\cSTIME.DAT"), day.bytes());
    const auto written = mainwindow::exportTimeCsv(app, desktop);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->text(), "d:\\zorbelab\\dat\\CSVSTIME.CSV");
    const std::string csv = files::readAll(*written);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 12);
}
