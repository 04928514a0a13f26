// The executable as a command-line program: help and version, exit codes a
// script can trust, usage errors that say what was wrong, nothing on
// standard error that is not the program's own (no display, no runtime
// folder), progress on a terminal and off it, and paths relative to the
// current folder. Most cases run the real `zorbe` in a scrubbed environment.

#include "app/cli/Cli.h"

#include "support/RunCli.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace zorbe;
namespace fs = std::filesystem;
using test::runCli;

namespace {

struct Process
{
    int code = -1;
    std::string out;
    std::string err;
};

// The environment of a user on a machine without a display or runtime
// folder: only PATH, HOME, LANG and ZORBE_HOME (and a sanitizer build's
// options).
std::vector<std::string> scrubbedEnvironment(const fs::path &home)
{
    std::vector<std::string> env{"PATH=/usr/bin:/bin", "HOME=" + home.string(), "LANG=C.UTF-8",
                                 "ZORBE_HOME=" + home.string()};
    // The sanitizers' settings of a sanitizer build are not the user's.
    for (const char *name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
        if (const char *value = std::getenv(name))
            env.push_back(std::string(name) + "=" + value);
    return env;
}

std::string readAllFrom(int fd)
{
    std::string text;
    char buf[4096];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;)
        text.append(buf, static_cast<std::size_t>(n));
    return text;
}

[[noreturn]] void execZorbe(const std::vector<std::string> &args, const std::vector<std::string> &env,
                            const fs::path &cwd)
{
    if (!cwd.empty() && ::chdir(cwd.c_str()) != 0)
        ::_exit(127);
    std::vector<char *> argv{const_cast<char *>(ZORBE_EXECUTABLE)};
    for (const auto &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char *> envp;
    for (const auto &e : env)
        envp.push_back(const_cast<char *>(e.c_str()));
    envp.push_back(nullptr);
    ::execve(ZORBE_EXECUTABLE, argv.data(), envp.data());
    ::_exit(127);
}

int waitFor(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs zorbe with its output on pipes.
Process runZorbe(const std::vector<std::string> &args, const std::vector<std::string> &env,
                 const fs::path &cwd = {})
{
    int out[2], err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::close(out[0]);
        ::close(err[0]);
        execZorbe(args, env, cwd);
    }
    ::close(out[1]);
    ::close(err[1]);
    Process p;
    // Standard error is small; read standard output first, then it.
    p.out = readAllFrom(out[0]);
    p.err = readAllFrom(err[0]);
    ::close(out[0]);
    ::close(err[0]);
    p.code = waitFor(pid);
    return p;
}

// Runs zorbe with standard output on a pseudo-terminal (standard error on a
// pipe).
Process runZorbeOnTerminal(const std::vector<std::string> &args, const std::vector<std::string> &env)
{
    int err[2];
    if (::pipe(err) != 0)
        return {};
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
        ::dup2(err[1], 2);
        ::close(err[0]);
        execZorbe(args, env, {});
    }
    ::close(err[1]);
    Process p;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master, buf, sizeof buf);
        if (n <= 0) // EIO once the child has closed the terminal
            break;
        p.out.append(buf, static_cast<std::size_t>(n));
    }
    p.err = readAllFrom(err[0]);
    ::close(err[0]);
    ::close(master);
    p.code = waitFor(pid);
    return p;
}

std::size_t count(const std::string &text, const std::string &what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

} // namespace

TEST(CommandLine, HelpListsEverySubcommandAndEachCommandHasItsOwn)
{
    test::TempHome home;
    const auto list = runCli({"--help"});
    EXPECT_EQ(list.code, 0);
    EXPECT_TRUE(list.err.empty());
    EXPECT_EQ(runCli({"help"}).out, list.out);
    EXPECT_EQ(runCli({"-h"}).out, list.out);
    for (const char *name : {"version", "settings", "path", "download", "figures", "render", "print", "demo", "picks",
                             "payout", "kaisyu", "csv", "results", "jockey", "trainer", "feed"}) {
        EXPECT_NE(list.out.find(std::string("\n  ") + name + " "), std::string::npos) << name;
        const auto own = runCli({name, "--help"});
        EXPECT_EQ(own.code, 0) << name;
        EXPECT_EQ(own.out.rfind(std::string("使い方: zorbe ") + name, 0), 0u) << own.out;
        EXPECT_EQ(runCli({"help", name}).out, own.out);
    }
    // --help wins wherever it stands, and does no work.
    EXPECT_EQ(runCli({"feed", "generate", "--out", (home.path() / "f").string(), "--help"}).code, 0);
    EXPECT_FALSE(fs::exists(home.path() / "f"));
    EXPECT_NE(runCli({"download", "--help"}).out.find("--verbose"), std::string::npos);
    EXPECT_EQ(runCli({"help", "frobnicate"}).code, 2);
}

TEST(CommandLine, VersionIsTheOneVersionString)
{
    const auto r = runCli({"--version"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "zorbe " ZORBE_PROJECT_VERSION "\n");
    EXPECT_EQ(cli::versionString(), ZORBE_PROJECT_VERSION);
    EXPECT_EQ(runCli({"--version", "x"}).code, 2);
}

TEST(CommandLine, EveryUsageErrorSaysWhatWasWrongThenTheUsage)
{
    test::TempHome home;
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"version", "x"},
        {"path"},
        {"path", "a", "b"},
        {"settings"},
        {"settings", "drop", "a"},
        {"settings", "get", "a"},
        {"download", "--now"},
        {"download", "--now", "2024"},
        {"download", "--fast"},
        {"figures"},
        {"figures", "a.RDT", "--race", "13"},
        {"figures", "a.RDT", "--wide"},
        {"render", "a.RDT"},
        {"print", "a.RDT"},
        {"demo", "--weeks", "0"},
        {"picks"},
        {"picks", "a.RDT", "b.RDT"},
        {"payout", "a.SDT"},
        {"payout", "--out", "x"},
        {"kaisyu", "p.TXT", "--venue", "1"},
        {"kaisyu", "--venue", "1", "--pick", "2"},
        {"kaisyu", "p.TXT", "--venue", "4", "--pick", "1"},
        {"csv"},
        {"csv", "horses"},
        {"csv", "cards", "a.RDT"},
        {"csv", "stime", "extra"},
        {"results", "a.SDT"},
        {"jockey", "--out", "x.png"},
        {"feed"},
        {"feed", "make"},
        {"feed", "generate"},
        {"feed", "generate", "--out", "x", "--weeks", "0"},
    };
    for (const auto &args : bad) {
        std::string label;
        for (const auto &a : args)
            label += a + " ";
        const auto r = runCli(args);
        EXPECT_EQ(r.code, 2) << label;
        EXPECT_TRUE(r.out.empty()) << label;
        // A line that names the problem, then the usage.
        const std::size_t problem = r.err.find("zorbe: ");
        const std::size_t usage = r.err.find("使い方: zorbe");
        EXPECT_EQ(problem, 0u) << label << r.err;
        EXPECT_NE(usage, std::string::npos) << label << r.err;
        EXPECT_GT(usage, problem) << label;
        EXPECT_EQ(r.err.find("引数が正しくありません"), std::string::npos) << label << r.err;
    }
}

TEST(CommandLine, FailedWorkExitsOneWithTheReason)
{
    test::TempHome home;
    home.writeFile("day/東京20240608.RDT", std::string(10, ' '));
    const auto noHorses = runCli({"figures", (home.path() / "day/東京20240608.RDT").string()});
    EXPECT_EQ(noHorses.code, 1);
    // The missing companion is the one named.
    EXPECT_NE(noHorses.err.find("東京20240608.HDT"), std::string::npos) << noHorses.err;
    std::vector<std::vector<std::string>> missing{{"figures", "nowhere.RDT"},
                                                  {"render", "nowhere.RDT", "--race", "1", "--out", "x.txt"},
                                                  {"picks", "nowhere.RDT"}};
#ifdef ZORBE_WITH_GUI
    // (Without the desktop program print fails first for want of pictures.)
    missing.push_back({"print", "nowhere.RDT", "--out", "x"});
#endif
    for (const auto &args : missing) {
        const auto r = runCli(args);
        EXPECT_EQ(r.code, 1) << args[0];
        EXPECT_NE(r.err.find("nowhere.RDT"), std::string::npos) << r.err;
    }
    // A download with an empty feed finds nothing new: success.
    fs::create_directories(home.path() / "feed");
    EXPECT_EQ(runCli({"download", "--now", "20240610235959"}).code, 0);
}

TEST(CommandLine, SettingsRefuseNamesTheFileCannotHold)
{
    test::TempHome home;
    for (const auto &[section, key] : std::vector<std::pair<std::string, std::string>>{
             {"", "k"}, {"s", ""}, {"a=b", "k"}, {"s", "k=v"}, {"[s", "k"}, {"s]", "k"}, {"s", "[k]"},
             {"s\nt", "k"}, {"s", "k\r"}}) {
        const auto r = runCli({"settings", "set", section, key, "v"});
        EXPECT_EQ(r.code, 2) << section << "/" << key;
        EXPECT_NE(r.err.find("名"), std::string::npos) << r.err;
    }
    EXPECT_EQ(runCli({"settings", "erase", "a]b"}).code, 2);
    // Nothing of them reached the file.
    const std::string file = test::readNative(home.path() / "zorbelab.Ini");
    EXPECT_EQ(file.find("=v"), std::string::npos);
    EXPECT_EQ(runCli({"settings", "set", "全角（セクション）", "キー・1", "v"}).code, 0);
}

TEST(CommandLine, FeedIntoAFolderOfDeliveredFilesNeedsForce)
{
    test::TempHome home;
    const std::string feed = (home.path() / "feed").string();
    ASSERT_EQ(runCli({"feed", "generate", "--out", feed, "--weeks", "1"}).code, 0);
    const auto files = [&] {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(feed))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    const auto first = files();
    home.writeFile("feed/readme.txt", "kept");
    const auto refused = runCli({"feed", "generate", "--out", feed, "--weeks", "1", "--start", "20240704"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos);
    EXPECT_EQ(files().size(), first.size() + 1);
    // --force replaces the delivered files, and only those.
    ASSERT_EQ(runCli({"feed", "generate", "--out", feed, "--weeks", "1", "--start", "20240704", "--force"}).code,
              0);
    const auto second = files();
    EXPECT_TRUE(std::find(second.begin(), second.end(), "readme.txt") != second.end());
    for (const auto &name : first)
        EXPECT_TRUE(std::find(second.begin(), second.end(), name) == second.end()) << name;
}

TEST(CommandLine, NoDisplayNoRuntimeFolderAndNothingButTheProgramsOwnOnStandardError)
{
    test::TempHome home;
    const auto env = scrubbedEnvironment(home.path());
    // The desktop program says what it needs instead of aborting in Qt.
    const auto desktop = runZorbe({}, env);
    EXPECT_EQ(desktop.code, 1);
#ifdef ZORBE_WITH_GUI
    EXPECT_NE(desktop.err.find("ディスプレイ"), std::string::npos) << desktop.err;
    EXPECT_NE(desktop.err.find("zorbe --help"), std::string::npos);
    EXPECT_NE(desktop.err.find("zorbe demo"), std::string::npos);
#endif
    EXPECT_EQ(desktop.err.find("qt."), std::string::npos);

    ASSERT_EQ(runZorbe({"feed", "generate", "--out", (home.path() / "feed").string(), "--weeks", "1"}, env).code, 0);
    const auto down = runZorbe({"download", "--now", "20240607235959"}, env);
    ASSERT_EQ(down.code, 0) << down.err;
    // Drawing needs Qt: pictures and PDF files without a word from it.
    const fs::path jra = home.path() / "drives/d/zorbeLab/JRA";
    std::string day;
    for (const auto &e : fs::directory_iterator(jra))
        if (e.path().extension() == ".RDT" && day.empty())
            day = e.path().filename().string();
    ASSERT_FALSE(day.empty());
#ifdef ZORBE_WITH_GUI
    const std::vector<std::string> outputs = {"p.png", "p.pdf", "p.txt"};
#else
    const std::vector<std::string> outputs = {"p.txt"};
#endif
    for (const std::string &out : outputs) {
        // Relative to the current folder, both the race card and the output.
        const auto r = runZorbe({"render", day, "--race", "1", "--out", out}, env, jra);
        EXPECT_EQ(r.code, 0) << r.err;
        for (const char *qt : {"QStandardPaths", "XDG_RUNTIME_DIR", "qt.", "QFont", "Qt"})
            EXPECT_EQ(r.err.find(qt), std::string::npos) << r.err;
        EXPECT_TRUE(fs::is_regular_file(jra / out)) << out;
    }
    const auto figures = runZorbe({"figures", day, "--race", "1"}, env, jra);
    EXPECT_EQ(figures.code, 0) << figures.err;
    EXPECT_NE(figures.out.find("NoHistoryCount\t1\t"), std::string::npos);

    // The timed start needs a display as the desktop program does, and on
    // one (here Qt's offscreen platform) reports the start and quits.
    const auto timedWithout = runZorbe({"--startup-time"}, env);
    EXPECT_EQ(timedWithout.code, 1);
#ifdef ZORBE_WITH_GUI
    auto offscreen = env;
    offscreen.push_back("QT_QPA_PLATFORM=offscreen");
    const auto timed = runZorbe({"--startup-time"}, offscreen);
    EXPECT_EQ(timed.code, 0) << timed.err;
    EXPECT_TRUE(timed.out.starts_with("メインウィンドウ表示まで ")) << timed.out;
    EXPECT_NE(timed.out.find(" 秒\n"), std::string::npos) << timed.out;
#endif
}

TEST(CommandLine, DownloadShowsOneProgressLineOnATerminalAndOneLinePerDayOffIt)
{
    test::TempHome home;
    const auto env = scrubbedEnvironment(home.path());
    ASSERT_EQ(runZorbe({"feed", "generate", "--out", (home.path() / "feed").string(), "--weeks", "1"}, env).code, 0);

    // Off a terminal, a run that brings race cards and results at once:
    // the status texts, and one line per converted day of both.
    const auto plain = runZorbe({"download", "--now", "20240610235959"}, env);
    ASSERT_EQ(plain.code, 0) << plain.err;
    EXPECT_EQ(plain.out.find('\r'), std::string::npos);
    EXPECT_EQ(plain.out.find("データ読込み中"), std::string::npos) << "no captions";
    EXPECT_NE(plain.out.find("JVOpen正常終了:0"), std::string::npos);
    EXPECT_NE(plain.out.find("出馬表データ変換: "), std::string::npos);
    EXPECT_NE(plain.out.find("成績データ変換: "), std::string::npos);
    const std::size_t converted = count(plain.out, "変換しました: ");
    EXPECT_GE(converted, 4u);
    EXPECT_EQ(converted % 2, 0u) << "race cards and results alike: " << plain.out;
    const std::size_t results = plain.out.find("成績データ変換: ");
    EXPECT_EQ(count(plain.out.substr(results), "変換しました: "), converted / 2) << plain.out;
    EXPECT_LT(count(plain.out, "\n"), 30u);

    // The same run again on a terminal: one line rewritten in place, then
    // the same status texts and days.
    test::TempHome second;
    const auto env2 = scrubbedEnvironment(second.path());
    ASSERT_EQ(runZorbe({"feed", "generate", "--out", (second.path() / "feed").string(), "--weeks", "1"}, env2).code,
              0);
    const auto tty = runZorbeOnTerminal({"download", "--now", "20240610235959"}, env2);
    ASSERT_EQ(tty.code, 0) << tty.err;
    EXPECT_EQ(tty.err, "");
    EXPECT_NE(tty.out.find("\r\033[K配信データの読込み: ファイル "), std::string::npos);
    EXPECT_NE(tty.out.find("レコード "), std::string::npos);
    EXPECT_NE(tty.out.find("\r\033[K出馬表データ変換: "), std::string::npos);
    EXPECT_EQ(count(tty.out, "変換しました: "), converted);
    EXPECT_EQ(tty.out.find("データ読込み中"), std::string::npos);

    // --verbose: every caption, one line each.
    test::TempHome third;
    const auto env3 = scrubbedEnvironment(third.path());
    ASSERT_EQ(runZorbe({"feed", "generate", "--out", (third.path() / "feed").string(), "--weeks", "1"}, env3).code,
              0);
    const auto verbose = runZorbe({"download", "--now", "20240610235959", "--verbose"}, env3);
    ASSERT_EQ(verbose.code, 0);
    EXPECT_GT(count(verbose.out, "データ読込み中..("), 100u);
    EXPECT_EQ(count(verbose.out, "変換しました: "), converted);
}

TEST(CommandLine, DemoWithAnotherNumberOfWeeksSaysSoAndStartsAgain)
{
    test::TempHome home;
    const auto first = runCli({"demo", "--weeks", "1"});
    ASSERT_EQ(first.code, 0) << first.err;
    EXPECT_NE(first.out.find("1週分"), std::string::npos) << first.out;
    const auto again = runCli({"demo", "--weeks", "1"});
    ASSERT_EQ(again.code, 0) << again.err;
    EXPECT_NE(again.out.find("作成済み"), std::string::npos) << again.out;
    const auto longer = runCli({"demo", "--weeks", "2"});
    ASSERT_EQ(longer.code, 0) << longer.err;
    EXPECT_NE(longer.out.find("1週分です。2週分で作り直します"), std::string::npos) << longer.out;
    EXPECT_NE(longer.out.find("2週分、"), std::string::npos) << longer.out;
    // The second week's race days were downloaded into the new home.
    EXPECT_NE(longer.out.find("2024/06/14"), std::string::npos) << longer.out;
}
