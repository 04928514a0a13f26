// However the data arrives — week by week, all at once after weeks away, or
// fetched a second time — the converted files and the figures of every race
// are the same.

#include "link/feedgen/FeedCalendar.h"
#include "link/feedgen/FeedGenerator.h"
#include "platform/WinPath.h"

#include "support/RunCli.h"
#include "support/TempHome.h"
#include "support/TreeSnapshot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace zorbe;
namespace fs = std::filesystem;

namespace {

constexpr int kWeeks = 4;
constexpr const char *kFirstFetch = "20240601000000";

class Arrival : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_feed = new test::TempHome();
        feedgen::FeedOptions options;
        options.weeks = kWeeks;
        ASSERT_GT(feedgen::generateFeed(options, WinPath::fromNative(s_feed->path() / "feed"), WinPath()), 0);
        s_start = options.start;
    }
    static void TearDownTestSuite()
    {
        delete s_feed;
        s_feed = nullptr;
    }

    void SetUp() override { ::setenv("ZORBE_FEED", (s_feed->path() / "feed").c_str(), 1); }
    void TearDown() override { ::unsetenv("ZORBE_FEED"); }

    // The clock at the end of a day of week w: offset 0 the Thursday, 1 the
    // Friday, 4 the Monday.
    static std::string endOf(int week, int offset)
    {
        return feedgen::dateText(feedgen::dateOf(feedgen::dayNumber(s_start) + 7 * week + offset)) + "235959";
    }

    static void download(std::vector<std::string> args)
    {
        args.insert(args.begin(), "download");
        const test::CliResult r = test::runCli(args);
        ASSERT_EQ(r.code, 0) << r.out << r.err;
    }

    static void weekByWeek()
    {
        for (int w = 0; w < kWeeks; ++w)
            for (int offset : {0, 1, 4})
                download({"--now", endOf(w, offset)});
    }

    // What a home holds: every file below drives/ and the figures of every
    // race day's race card.
    static test::TreeSnapshot result(const test::TempHome &home)
    {
        // The figures take the jockeys' and trainers' rates from the masters
        // the conversions keep.
        test::runCli({"settings", "set", "kisyufile", "kisyu", "d:\\zorbelab\\dat\\KISYU.DAT"});
        test::runCli({"settings", "set", "tekifile", "cyoukyou", "d:\\zorbelab\\dat\\CHOKYOSI.DAT"});
        test::TreeSnapshot files = test::snapshotTree(home.path() / "drives");
        EXPECT_FALSE(files.empty());
        for (const auto &[name, bytes] : test::snapshotTree(home.path() / "drives/d/zorbeLab/JRA")) {
            if (name.size() < 4 || name.substr(name.size() - 4) != ".RDT")
                continue;
            const test::CliResult r = test::runCli({"figures", (home.path() / "drives/d/zorbeLab/JRA" / name).string()});
            EXPECT_EQ(r.code, 0) << name << r.err;
            files["figures of " + name] = r.out;
        }
        return files;
    }

    static test::TempHome *s_feed;
    static int s_start;
};

test::TempHome *Arrival::s_feed = nullptr;
int Arrival::s_start = 0;

TEST_F(Arrival, WeekByWeekAllAtOnceAndFetchedAgainGiveTheSameFilesAndFigures)
{
    test::TreeSnapshot weekly, catchUp, again;
    {
        test::TempHome home;
        weekByWeek();
        weekly = result(home);
    }
    ASSERT_TRUE(weekly.count("d/zorbeLab/dat/KISYU.DAT"));
    ASSERT_TRUE(weekly.count("d/zorbeLab/dat/STIME.DAT"));
    {
        // The first download after four weeks away: one run.
        test::TempHome home;
        download({"--now", endOf(kWeeks - 1, 4)});
        catchUp = result(home);
    }
    EXPECT_EQ(test::differences(weekly, catchUp), "");
    {
        // Week by week, then everything fetched again from the start.
        test::TempHome home;
        weekByWeek();
        download({"--from", kFirstFetch, "--now", endOf(kWeeks - 1, 4)});
        again = result(home);
    }
    EXPECT_EQ(test::differences(weekly, again), "");
}

} // namespace

namespace {

TEST(DownloadCommand, ExitCodesSayHowTheRunEnded)
{
    test::TempHome home;
    // The feed folder cannot be read: the work failed, said in words.
    ::setenv("ZORBE_FEED", (home.path() / "no-feed").c_str(), 1);
    test::CliResult r = test::runCli({"download", "--now", "20240607235959"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("JVOpenエラー:-211（配信フォルダを読めません）"), std::string::npos) << r.err;

    // Nothing new since the last download is a normal end.
    feedgen::FeedOptions options;
    options.weeks = 1;
    options.venues = 1;
    ASSERT_GT(feedgen::generateFeed(options, WinPath::fromNative(home.path() / "feed"), WinPath()), 0);
    ::setenv("ZORBE_FEED", (home.path() / "feed").c_str(), 1);
    ASSERT_EQ(test::runCli({"download", "--now", "20240606235959"}).code, 0);
    r = test::runCli({"download", "--now", "20240606235959"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("JVOpenエラー:-1 正常終了:"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("前回の取得以降に新しいデータはありません"), std::string::npos) << r.out;

    // Arguments the command cannot take.
    EXPECT_EQ(test::runCli({"download", "--from", "2024"}).code, 2);
    EXPECT_EQ(test::runCli({"download", "--later"}).code, 2);
    ::unsetenv("ZORBE_FEED");
}

} // namespace
