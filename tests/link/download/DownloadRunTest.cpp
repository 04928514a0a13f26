#include "link/download/DownloadRun.h"

#include "link/LocalFeedLink.h"
#include "link/feedgen/FeedGenerator.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"

#include "support/TempHome.h"
#include "support/TreeSnapshot.h"

#include <gtest/gtest.h>

using namespace zorbe;

namespace {

// A JV-Data record: id and data kind, creation date, race key
// (date, venue, meeting, day, race), padded to the kind's length.
std::string rec(const std::string &idKind, const std::string &date, const std::string &venue,
                const std::string &race = "01", std::size_t length = 0)
{
    std::string r = idKind + "20040624" + date + venue + "0308" + race;
    if (length == 0)
        length = idKind[0] == 'R' ? 1272 : 555;
    r.resize(length - 2, ' ');
    return r + "\r\n";
}

std::string person(const std::string &id, std::size_t length)
{
    std::string r = id + "1";
    r.resize(length - 2, '0');
    return r + "\r\n";
}

class RecordingView : public DownloadView
{
public:
    void setCaption(const std::string &t) override { captions.push_back(t); }
    void setStatus(const std::string &t) override { statuses.push_back(t); }
    void setProgress(int p, int m) override { progress = {p, m}; }
    void setCancelEnabled(bool e) override { cancelEnabled = e; }
    void setStartEnabled(bool e) override { startEnabled = e; }
    void setBusy(bool b) override { busy = b; }
    void processEvents() override
    {
        if (onEvents)
            onEvents();
    }
    void setTimerActive(bool a) override
    {
        timer = a;
        timerStarts += a;
    }

    std::vector<std::string> captions, statuses;
    std::pair<int, int> progress;
    bool cancelEnabled = true, startEnabled = true, busy = false, timer = false;
    int timerStarts = 0;
    std::function<void()> onEvents;
};

// Records the hand-offs, with what the raw race file of each day held when
// its conversion took it.
class Handoffs : public ConversionHandOff
{
public:
    bool convertEntries(const std::vector<DownloadedDay> &d) override
    {
        calls.push_back("entries:" + names(d));
        return succeed;
    }
    bool convertResults(const std::vector<DownloadedDay> &d) override
    {
        calls.push_back("results:" + names(d));
        return succeed;
    }
    std::string names(const std::vector<DownloadedDay> &days)
    {
        std::string s;
        for (const auto &d : days) {
            s += u8(d.fileName) + ";";
            seen.push_back(files::readIfExists(WinPath("d:\\zorbeLab\\down") / d.fileName).value_or(""));
        }
        return s;
    }
    std::vector<std::string> calls;
    std::vector<std::string> seen;
    bool succeed = true;
};

class DownloadRunTest : public ::testing::Test
{
protected:
    DownloadRunTest()
    {
        auto feed = std::make_unique<LocalFeedLink>();
        feedLink = feed.get();
        feedLink->setNow("20040705000000");
        link = std::make_unique<TJVLink>(std::move(feed));
        link->JVInit(std::string(kSoftwareId));
        run = std::make_unique<TDownloadRun>(*link, view, &handoffs);
    }

    void deliver(const std::string &name, const std::string &content) { home.writeFile("feed/" + name, content); }

    // Runs "開始" and the timer until the run closes.
    void runToTheEnd()
    {
        run->formShow(" JV-Link Ver.1.2.1");
        run->start();
        for (int guard = 0; view.timer && guard < 10000; ++guard)
            run->timerTick();
    }

    std::string down(const std::string &nameUtf8) const
    {
        return files::readIfExists(WinPath("d:\\zorbeLab\\down") / sj(nameUtf8)).value_or("<missing>");
    }
    static std::string lastFileTime()
    {
        return ProfileFile(ProfileFile::defaultPath()).readString("LastFileTime", "LastFileTime", "none");
    }

    test::TempHome home;
    Handoffs handoffs;
    RecordingView view;
    LocalFeedLink *feedLink = nullptr;
    std::unique_ptr<TJVLink> link;
    std::unique_ptr<TDownloadRun> run;
};

} // namespace

TEST_F(DownloadRunTest, FromTimeFieldShapeAndTheShownVersion)
{
    run->formShow(" JV-Link Ver.1.2.1");
    EXPECT_EQ(u8(run->Edit2), "2004年06月17日00時00分00秒");
    EXPECT_EQ(run->fromTime(), "20040617000000");
    EXPECT_EQ(view.captions.back(), " JV-Link Ver.1.2.1");
    run->Edit2 = TDownloadRun::fromTimeText("20040627153045");
    EXPECT_EQ(run->fromTime(), "20040627153045");
    run->Edit2 = "garbage";
    EXPECT_EQ(run->fromTime(), "garbe"); // the link refuses it
}

TEST_F(DownloadRunTest, RoutesEveryRecordIntoItsRawFile)
{
    const std::string ra1 = rec("RA2", "20040627", "05", "01"), ra2 = rec("RA2", "20040627", "05", "02");
    const std::string raH = rec("RA2", "20040627", "09", "01");
    const std::string se1 = rec("SE2", "20040627", "05", "01"), seH = rec("SE2", "20040627", "09", "01");
    deliver("RACE2004062720040625120000.txt", ra1 + ra2 + raH + rec("RA1", "20040703", "05"));
    deliver("SEVM2004062720040625120001.txt", se1 + seH + rec("SE9", "20040627", "05"));
    deliver("RAQW2004062420040624180000.txt", rec("RA7", "20040620", "05"));
    deliver("KSMT2004062420040624180000.txt", person("KS", 4173) + person("KS", 4173));
    deliver("CHMT2004062420040624180000.txt", person("CH", 3862));
    deliver("H1XX2004062420040624180000.txt", rec("RA2", "20040627", "06"));
    deliver("UMPW2004062420040624180000.txt", "UM1" + std::string(1572, ' ') + "\r\n");

    runToTheEnd();
    EXPECT_EQ(down("東京20040627.RLB"), ra1 + ra2);
    EXPECT_EQ(down("阪神20040627.RLB"), raH);
    EXPECT_EQ(down("東京20040627.SLB"), se1);
    EXPECT_EQ(down("阪神20040627.SLB"), seH);
    EXPECT_EQ(down("RAQW20040624.DAT"), rec("RA7", "20040620", "05"));
    EXPECT_EQ(down("Jra#Kisi.dat").size(), 2u * 4173);
    EXPECT_EQ(down("Jra#Chok.dat").size(), 3862u);
    EXPECT_EQ(down("UMPW20040624.DAT").size(), 1577u);
    EXPECT_EQ(down("東京120040627.RLB"), "<missing>"); // no temporary file is left
    EXPECT_EQ(down("H1XX20040624.DAT"), "<missing>");  // skipped

    EXPECT_EQ(run->LastRaceFileNames().size(), 2u);
    EXPECT_EQ(run->RunnerFileCount(), 2);
    EXPECT_EQ(run->DownloadKind(), "1");
    EXPECT_TRUE(run->readToTheEnd());
    EXPECT_EQ(ProfileFile(ProfileFile::defaultPath()).readString("LastFileTime", "LastFileTime", ""),
              "20040625120001");
    EXPECT_EQ(view.statuses.front(), "JVOpen正常終了:0\r\n");
    EXPECT_EQ(view.statuses.back(), "正常終了:");
    EXPECT_EQ(view.captions.back(), "データ読込み完了(7/7)");
    EXPECT_FALSE(view.busy);
    EXPECT_EQ(run->outcome(), TDownloadRun::Outcome::Completed);
    EXPECT_EQ(handoffs.calls, std::vector<std::string>{"entries:東京20040627.RLB;阪神20040627.RLB;"});
}

TEST_F(DownloadRunTest, NothingToDownloadReadsAtOnceWithoutTheTimer)
{
    deliver("RACE2004062720040625120000.txt", rec("RA7", "20040627", "05"));
    runToTheEnd();
    EXPECT_EQ(view.timerStarts, 1); // the first run downloads
    const int starts = view.timerStarts;
    ProfileFile(ProfileFile::defaultPath()).writeString("LastFileTime", "LastFileTime", "20040601000000");
    runToTheEnd();
    EXPECT_EQ(view.timerStarts, starts);
    EXPECT_EQ(view.progress, (std::pair<int, int>{1, 1}));
    EXPECT_EQ(run->DownloadKind(), "7");
}

TEST_F(DownloadRunTest, AFinishedFileOfAnEarlierRunIsReplacedNotAppendedTo)
{
    deliver("RACE2004062720040625120000.txt", rec("RA7", "20040627", "05", "01"));
    runToTheEnd();
    deliver("RACE2004062720040628120000.txt", rec("RA7", "20040627", "05", "02"));
    runToTheEnd();
    EXPECT_EQ(down("東京20040627.RLB"), rec("RA7", "20040627", "05", "02"));
}

TEST_F(DownloadRunTest, CardsAndResultsInOneRunAreEachConvertedByTheirKind)
{
    deliver("RACE2004062720040625120000.txt", rec("RA2", "20040703", "05"));
    deliver("RESU2004062720040628120000.txt", rec("RA7", "20040627", "05") + rec("RA7", "20040627", "09"));
    runToTheEnd();
    EXPECT_EQ(handoffs.calls, (std::vector<std::string>{"entries:東京20040703.RLB;",
                                                        "results:東京20040627.RLB;阪神20040627.RLB;"}));
}

TEST_F(DownloadRunTest, ARunWithoutRaceFilesTakesTheResultsPath)
{
    deliver("KSMT2004062420040624180000.txt", person("KS", 4173));
    runToTheEnd();
    EXPECT_EQ(run->DownloadKind(), "");
    EXPECT_EQ(handoffs.calls, std::vector<std::string>{"results:"});
}

TEST_F(DownloadRunTest, NineVenueDaysOfALongWeekendAreAllFinished)
{
    std::string all;
    for (const char *date : {"20040710", "20040711", "20040712"})
        for (const char *venue : {"01", "05", "08"})
            all += rec("RA7", date, venue);
    deliver("RESU2004071220040713120000.txt", all);
    feedLink->setNow("20040720000000");
    runToTheEnd();
    EXPECT_EQ(run->LastRaceFileNames().size(), 9u);
}

TEST_F(DownloadRunTest, UnknownVenueGoesToTheDeliveredFilesDat)
{
    deliver("RACE2004062720040625120000.txt", rec("RA2", "20040627", "05") + rec("RA2", "20040627", "11"));
    runToTheEnd();
    EXPECT_EQ(down("東京20040627.RLB"), rec("RA2", "20040627", "05"));
    EXPECT_EQ(down("RACE20040627.DAT"), rec("RA2", "20040627", "11"));
}

TEST_F(DownloadRunTest, ARawFileThatCannotBeWrittenEndsTheRunWithWhy)
{
    // A folder where the delivered file's own raw file goes.
    files::makeDirectories(WinPath("d:\\zorbeLab\\down\\RACE20040627.DAT"));
    files::writeAll(WinPath("d:\\zorbeLab\\down\\RACE20040627.DAT\\inside"), "");
    deliver("RACE2004062720040625120000.txt", rec("RA2", "20040627", "05") + rec("RA2", "20040627", "11"));
    runToTheEnd();
    EXPECT_EQ(run->state(), TDownloadRun::State::Closed);
    EXPECT_EQ(run->outcome(), TDownloadRun::Outcome::ReadFailed);
    EXPECT_EQ(run->errorText().rfind("読込みエラー: ファイルを作成できません: d:\\zorbeLab\\down\\RACE20040627.DAT", 0), 0u)
        << run->errorText();
    EXPECT_TRUE(view.startEnabled);
    EXPECT_TRUE(handoffs.calls.empty());
    EXPECT_EQ(lastFileTime(), "none");
}

TEST_F(DownloadRunTest, ARaceDateThatIsNotDigitsNamesNoVenueFile)
{
    // A damaged date would name a file in a folder that is not there.
    deliver("SEVM2004062720040628080000.txt", rec("SE7", "2004\\627", "05") + rec("SE7", "20040627", "05"));
    runToTheEnd();
    EXPECT_EQ(run->state(), TDownloadRun::State::Closed);
    EXPECT_EQ(down("SEVM20040627.DAT"), rec("SE7", "2004\\627", "05"));
    EXPECT_EQ(down("東京20040627.SLB"), rec("SE7", "20040627", "05"));
}

TEST_F(DownloadRunTest, DamagedRecordsAreReportedWithFileAndLine)
{
    std::string bad = rec("SE7", "20040627", "05");
    bad.erase(10, 1);
    deliver("SEVM2004062720040628080000.txt", rec("SE7", "20040627", "05") + bad);
    runToTheEnd();
    ASSERT_EQ(run->damagedReports().size(), 1u);
    EXPECT_EQ(run->damagedReports()[0], "SEVM2004062720040628080000.txt 2行目: 長さ 554 バイト（正しくは 555 バイト）");
    EXPECT_NE(view.statuses.back().find("不正なレコード1件"), std::string::npos);
    EXPECT_EQ(view.statuses.back().find("正常終了:"), 0u);
    EXPECT_EQ(down("東京20040627.SLB").size(), 555u);
}

TEST_F(DownloadRunTest, AFailedOpenStaysShownWithWhatItsCodeMeans)
{
    runToTheEnd(); // the feed folder is missing entirely
    EXPECT_EQ(view.statuses.front(), "JVOpenエラー:-211\r\n");
    EXPECT_EQ(view.statuses.back(), "JVOpenエラー:-211 正常終了:");
    EXPECT_EQ(view.captions.back(), "JVOpenエラー:-211（配信フォルダを読めません）");
    EXPECT_EQ(run->outcome(), TDownloadRun::Outcome::OpenFailed);
    EXPECT_FALSE(run->openSucceeded());
    EXPECT_EQ(lastFileTime(), "none");
    EXPECT_TRUE(handoffs.calls.empty());

    // Nothing published since the from-time is a normal end, said in words.
    deliver("RACE2004062720040625120000.txt", rec("RA2", "20040627", "05"));
    ProfileFile(ProfileFile::defaultPath()).writeString("LastFileTime", "LastFileTime", "20040626000000");
    runToTheEnd();
    EXPECT_EQ(run->outcome(), TDownloadRun::Outcome::NothingNew);
    EXPECT_EQ(view.statuses.back(), "JVOpenエラー:-1 正常終了:");
    EXPECT_EQ(view.captions.back(), "JVOpenエラー:-1（前回の取得以降に新しいデータはありません）");

    run->formShow("");
    run->Edit2 = sj("2004年13月01日00時00分00秒");
    run->start();
    EXPECT_EQ(run->errorText(), "JVOpenエラー:-112（最終データ取得日が正しい日時ではありません）");
    EXPECT_TRUE(view.startEnabled);
    EXPECT_TRUE(view.cancelEnabled);
}

TEST_F(DownloadRunTest, StartIsOffAndCancelOnWhileTheRunIsOpen)
{
    deliver("RACE2004062720040625120000.txt", rec("RA2", "20040627", "05") + rec("RA2", "20040627", "05", "02"));
    std::vector<std::pair<bool, bool>> during;
    int reads = 0;
    view.onEvents = [&] {
        during.push_back({view.startEnabled, view.cancelEnabled});
        if (++reads == 1)
            run->start(); // a second press in the middle of the run
    };
    run->formShow("");
    run->start();
    ASSERT_TRUE(view.timer);
    EXPECT_FALSE(view.startEnabled);
    EXPECT_TRUE(view.cancelEnabled);
    while (view.timer)
        run->timerTick();
    ASSERT_FALSE(during.empty());
    for (const auto &[start, cancel] : during) {
        EXPECT_FALSE(start);
        EXPECT_TRUE(cancel);
    }
    EXPECT_TRUE(view.startEnabled);
    EXPECT_EQ(run->outcome(), TDownloadRun::Outcome::Completed);
    EXPECT_EQ(down("東京20040627.RLB"), rec("RA2", "20040627", "05") + rec("RA2", "20040627", "05", "02"));
    EXPECT_EQ(handoffs.calls.size(), 1u);
}

TEST_F(DownloadRunTest, CancelWhileDownloadingClosesTheRequestSoTheNextRunCanOpen)
{
    deliver("RACE2004062720040625120000.txt", rec("RA2", "20040627", "05"));
    deliver("RACE2004062720040625120001.txt", rec("RA2", "20040627", "06"));
    run->formShow("");
    run->start();
    ASSERT_TRUE(view.timer);
    run->cancel();
    EXPECT_FALSE(view.timer);
    EXPECT_EQ(run->state(), TDownloadRun::State::Closed);
    EXPECT_EQ(view.statuses[view.statuses.size() - 2], "キャンセルしました");
    EXPECT_EQ(view.statuses.back(), "キャンセルしました 正常終了:");
    EXPECT_EQ(down("東京20040627.RLB"), "<missing>");
    EXPECT_EQ(lastFileTime(), "none");

    runToTheEnd();
    EXPECT_EQ(view.statuses.back(), "正常終了:");
    EXPECT_EQ(run->outcome(), TDownloadRun::Outcome::Completed);
    EXPECT_EQ(down("東京20040627.RLB"), rec("RA2", "20040627", "05"));
}

TEST_F(DownloadRunTest, ACancelledReadIsNotConvertedAndComesWholeWithTheNextRun)
{
    const std::string day = rec("RA2", "20040627", "05") + rec("RA2", "20040627", "05", "02");
    deliver("RACE2004062720040625120000.txt", day);
    deliver("KSMT2004062420040625120001.txt", person("KS", 4173));
    int events = 0;
    view.onEvents = [&] {
        if (++events == 2)
            run->cancel();
    };
    runToTheEnd();
    EXPECT_TRUE(run->cancelled());
    EXPECT_FALSE(run->readToTheEnd());
    EXPECT_EQ(run->outcome(), TDownloadRun::Outcome::Cancelled);
    EXPECT_EQ(view.statuses.back(), "キャンセルしました 正常終了:");
    EXPECT_TRUE(handoffs.calls.empty());
    EXPECT_EQ(lastFileTime(), "none");
    EXPECT_EQ(down("東京120040627.RLB"), rec("RA2", "20040627", "05"));

    // The next run starts from a clean work space: the half-filled file is
    // not appended to, so no record comes twice.
    view.onEvents = nullptr;
    runToTheEnd();
    EXPECT_EQ(down("東京20040627.RLB"), day);
    EXPECT_EQ(down("東京120040627.RLB"), "<missing>");
    EXPECT_EQ(down("Jra#Kisi.dat").size(), 4173u);
    EXPECT_EQ(lastFileTime(), "20040625120001");
}

TEST_F(DownloadRunTest, TheTimeStampMovesOnlyWhenTheConversionsSucceeded)
{
    deliver("RACE2004062720040625120000.txt", rec("RA2", "20040627", "05"));
    handoffs.succeed = false;
    runToTheEnd();
    EXPECT_EQ(run->outcome(), TDownloadRun::Outcome::ConversionFailed);
    EXPECT_EQ(lastFileTime(), "none");
    EXPECT_EQ(view.statuses.back(), "正常終了: データ変換エラー:");

    // The same run again fetches the same files and converts them.
    handoffs.succeed = true;
    runToTheEnd();
    EXPECT_EQ(handoffs.calls, (std::vector<std::string>{"entries:東京20040627.RLB;", "entries:東京20040627.RLB;"}));
    EXPECT_EQ(lastFileTime(), "20040625120000");
}

TEST_F(DownloadRunTest, LeftOversOfAKilledRunAreRemovedBeforeTheFirstRecord)
{
    const std::string stale = rec("RA2", "20040627", "05", "09");
    home.writeFile("drives/d/zorbeLab/down/東京120040627.RLB", stale);
    home.writeFile("drives/d/zorbeLab/down/東京720040620.SLB", stale);
    home.writeFile("drives/d/zorbeLab/down/東京20040620.RLB.wait", stale);
    home.writeFile("drives/d/zorbeLab/down/東京20040613.SLB.used", stale);
    home.writeFile("drives/d/zorbeLab/down/Jra#Chok.dat", person("CH", 3862));
    home.writeFile("drives/d/zorbeLab/down/RAQW20040617.DAT", stale); // a finished raw file stays
    deliver("RACE2004062720040625120000.txt", rec("RA2", "20040627", "05"));
    run->formShow("");
    home.writeFile("drives/d/zorbeLab/down/Jra#Chok.dat", person("CH", 3862)); // after the window opened
    run->start();
    while (view.timer)
        run->timerTick();
    EXPECT_EQ(down("東京20040627.RLB"), rec("RA2", "20040627", "05"));
    EXPECT_EQ(down("東京720040620.SLB"), "<missing>");
    EXPECT_EQ(down("東京20040620.RLB.wait"), "<missing>");
    EXPECT_EQ(down("東京20040613.SLB.used"), "<missing>");
    EXPECT_EQ(down("Jra#Chok.dat"), "<missing>");
    EXPECT_EQ(down("RAQW20040617.DAT"), stale);
}

TEST_F(DownloadRunTest, AFileDeliveredAgainReplacesItsRawFile)
{
    const std::string past = rec("RA7", "20040620", "05");
    deliver("RAQW2004062420040625110000.txt", past);
    deliver("HRSW2004062720040628180000.txt", "HR" + std::string(715, '0') + "\r\n");
    runToTheEnd();
    ASSERT_EQ(down("RAQW20040624.DAT"), past);
    // The range fetched again: the raw files keep one copy of each record.
    run->formShow("");
    run->Edit2 = TDownloadRun::fromTimeText("20040601000000");
    run->start();
    while (view.timer)
        run->timerTick();
    EXPECT_EQ(down("RAQW20040624.DAT"), past);
    EXPECT_EQ(down("HRSW20040627.DAT").size(), 719u);
    // A correction published later replaces the earlier delivery.
    const std::string corrected = rec("RA7", "20040620", "05", "02");
    deliver("RAQW2004062420040629090000.txt", corrected);
    runToTheEnd();
    EXPECT_EQ(down("RAQW20040624.DAT"), corrected);
}

TEST_F(DownloadRunTest, ResultsOfADayWhoseCardsCameInTheSameRunWaitForTheCardsToBeConverted)
{
    // Weeks away: the Friday's race card and the Monday's results of the
    // same day in one run. Both finish as 東京20040627.RLB.
    const std::string card = rec("RA2", "20040627", "05"), result = rec("RA7", "20040627", "05");
    deliver("RACE2004062720040625120000.txt", card);
    deliver("RESU2004062720040628120000.txt", result);
    runToTheEnd();
    EXPECT_EQ(handoffs.calls,
              (std::vector<std::string>{"entries:東京20040627.RLB;", "results:東京20040627.RLB;"}));
    EXPECT_EQ(handoffs.seen, (std::vector<std::string>{card, result}));
    EXPECT_EQ(down("東京20040627.RLB"), result);
    EXPECT_EQ(down("東京20040627.RLB.wait"), "<missing>");
    // The converted cards were set aside for the results and are gone at the end.
    EXPECT_EQ(down("東京20040627.RLB.used"), "<missing>");
}

namespace {

// Keeps what the download folder holds each time the run hands days off.
class SnapshotHandOff : public ConversionHandOff
{
public:
    explicit SnapshotHandOff(std::filesystem::path folder)
        : m_folder(std::move(folder))
    {
    }
    bool convertEntries(const std::vector<DownloadedDay> &) override { return take(); }
    bool convertResults(const std::vector<DownloadedDay> &) override { return take(); }
    std::vector<test::TreeSnapshot> taken;

private:
    bool take()
    {
        taken.push_back(test::snapshotTree(m_folder));
        return true;
    }
    std::filesystem::path m_folder;
};

// Three generated weeks in one run, with the download folder named in
// another case than the folder on disk, so that every look-up goes through
// the case-insensitive matching.
std::vector<test::TreeSnapshot> routedFeed(const std::filesystem::path &feed, std::size_t writeBufferLimit)
{
    test::TempHome home;
    std::filesystem::create_directories(home.path() / "drives/d/ZORBELAB/DOWN");
    ProfileFile(ProfileFile::defaultPath()).writeString("downdir", "down", "d:\\zorbeLab\\down");
    ::setenv("ZORBE_FEED", feed.c_str(), 1);
    auto local = std::make_unique<LocalFeedLink>();
    local->setNow("20991231235959");
    TJVLink link(std::move(local));
    link.JVInit(std::string(kSoftwareId));
    RecordingView view;
    SnapshotHandOff handOff(home.path() / "drives/d/ZORBELAB/DOWN");
    TDownloadRun run(link, view, &handOff);
    run.setWriteBufferLimit(writeBufferLimit);
    run.formShow(" JV-Link Ver.1.2.1");
    run.start();
    for (int guard = 0; view.timer && guard < 100000; ++guard)
        run.timerTick();
    ::unsetenv("ZORBE_FEED");
    EXPECT_TRUE(run.readToTheEnd());
    return handOff.taken;
}

} // namespace

TEST(DownloadRouting, WritingADeliveredFileAtOnceGivesTheRawFilesOfOneRecordAtATime)
{
    test::TempHome feedHome;
    feedgen::FeedOptions options;
    options.weeks = 3;
    ASSERT_GT(feedgen::generateFeed(options, WinPath::fromNative(feedHome.path() / "feed"), WinPath()), 0);

    const auto eachRecord = routedFeed(feedHome.path() / "feed", 0);
    ASSERT_FALSE(eachRecord.empty());
    ASSERT_GT(eachRecord.front().size(), 10u);
    // The default holds a whole delivered file; a small limit writes in the
    // middle of one, appending to what it wrote before.
    for (const std::size_t limit : {std::size_t(16) << 20, std::size_t(4096)}) {
        const auto buffered = routedFeed(feedHome.path() / "feed", limit);
        ASSERT_EQ(buffered.size(), eachRecord.size()) << limit;
        for (std::size_t i = 0; i < buffered.size(); ++i)
            EXPECT_EQ(test::differences(eachRecord[i], buffered[i]), "") << "hand-off " << i << ", limit " << limit;
    }
}
