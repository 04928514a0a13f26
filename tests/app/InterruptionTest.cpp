// A download killed at any moment — while the request opens, while records
// are routed, between delivered files, in the middle of each conversion —
// and then run again gives exactly the files of a run that was never
// interrupted. The runs are real `zorbe download` processes, stopped with
// SIGKILL at exact places through ZORBE_STOP_AT.

#include "link/feedgen/FeedCalendar.h"
#include "link/feedgen/FeedGenerator.h"
#include "platform/WinPath.h"

#include "support/TempHome.h"
#include "support/TreeSnapshot.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

using namespace zorbe;
namespace fs = std::filesystem;

namespace {

struct Ended
{
    bool killed = false; // by SIGKILL
    int code = -1;       // the exit code otherwise
};

// Runs `zorbe download --now now` on a home, the feed of the test, and (when
// not empty) a stop point.
Ended runDownload(const fs::path &home, const fs::path &feed, const std::string &now, const std::string &stopAt)
{
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e) {
        const std::string v = *e;
        if (v.rfind("ZORBE_", 0) != 0)
            env.push_back(v);
    }
    env.push_back("ZORBE_HOME=" + home.string());
    env.push_back("ZORBE_FEED=" + feed.string());
    if (!stopAt.empty())
        env.push_back("ZORBE_STOP_AT=" + stopAt);
    std::vector<char *> envp;
    for (auto &v : env)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string exe = ZORBE_EXECUTABLE, sub = "download", opt = "--now", when = now;
    char *argv[] = {exe.data(), sub.data(), opt.data(), when.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    Ended ended;
    if (posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, envp.data()) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return ended;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    waitpid(pid, &status, 0);
    ended.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    ended.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ended;
}

class Interruption : public ::testing::Test
{
protected:
    void SetUp() override
    {
        feedgen::FeedOptions options;
        options.weeks = 2;
        options.venues = 1;
        ASSERT_GT(feedgen::generateFeed(options, WinPath::fromNative(work.path() / "feed"), WinPath()), 0);
        const int thursday = feedgen::dayNumber(options.start);
        auto endOf = [&](int day) { return feedgen::dateText(feedgen::dateOf(thursday + day)) + "235959"; };
        // Before: the race cards of the first week, converted.
        firstFriday = endOf(1);
        // The run that is killed: the first week's results, the second
        // week's masters, race cards and results, in one catch-up run.
        secondMonday = endOf(11);
        ASSERT_EQ(runDownload(before(), feed(), firstFriday, "").code, 0);
        const fs::path home = fresh("uninterrupted");
        ASSERT_EQ(runDownload(home, feed(), secondMonday, "").code, 0);
        expected = state(home);
        ASSERT_TRUE(expected.count("drives/d/zorbeLab/dat/STIME.DAT"));
    }

    fs::path feed() const { return work.path() / "feed"; }
    fs::path before() const { return work.path() / "before"; }

    // A copy of the home as it was before the run.
    fs::path fresh(const std::string &name) const
    {
        const fs::path home = work.path() / name;
        fs::remove_all(home);
        fs::copy(before(), home, fs::copy_options::recursive);
        return home;
    }

    // Every file of the program's drives, the data link's record of
    // downloaded files aside (a killed run may have counted one file it
    // fully read), and the settings file.
    static test::TreeSnapshot state(const fs::path &home)
    {
        test::TreeSnapshot s;
        for (auto &[name, bytes] : test::snapshotTree(home / "drives"))
            s["drives/" + name] = bytes;
        s["zorbelab.Ini"] = test::readNative(home / "zorbelab.Ini");
        return s;
    }

    // Kills the run at the n-th passing of point for growing n, reruns it
    // each time and compares; returns how many kills it made.
    int killEverywhere(const std::string &point, const std::vector<int> &counts)
    {
        int kills = 0;
        for (int n : counts) {
            const std::string stopAt = point + ":" + std::to_string(n);
            SCOPED_TRACE(stopAt);
            const fs::path home = fresh("killed");
            const Ended first = runDownload(home, feed(), secondMonday, stopAt);
            if (!first.killed) {
                // Past the last passing: the run went through untouched.
                EXPECT_EQ(first.code, 0);
                EXPECT_EQ(test::differences(expected, state(home)), "");
                break;
            }
            ++kills;
            EXPECT_EQ(runDownload(home, feed(), secondMonday, "").code, 0);
            EXPECT_EQ(test::differences(expected, state(home)), "");
        }
        return kills;
    }

    test::TempHome work;
    std::string firstFriday, secondMonday;
    test::TreeSnapshot expected;
};

TEST_F(Interruption, AKilledDownloadRunAgainGivesTheFilesOfAnUninterruptedOne)
{
    EXPECT_EQ(killEverywhere("open", {1, 2}), 1);
    // Records are routed by the thousand: a spread from the first to the last.
    EXPECT_GE(killEverywhere("record", {1, 50, 1000, 4000, 16000, 64000}), 4);
    EXPECT_GE(killEverywhere("file", {1, 3, 8, 21, 55}), 4);
    // Every meeting day of both conversions, and the atomic writes between
    // (race cards, horses, results, time corrections, masters, settings).
    EXPECT_GE(killEverywhere("day", {1, 2, 3, 4, 5, 6, 7}), 6);
    // Every one of the atomic writes, the first to the last.
    std::vector<int> everyWrite(80);
    std::iota(everyWrite.begin(), everyWrite.end(), 1);
    EXPECT_GE(killEverywhere("write", everyWrite), 12);
    EXPECT_EQ(killEverywhere("convert", {1, 2}), 1);
}

} // namespace
