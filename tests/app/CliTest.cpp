#include "app/cli/Cli.h"

#include "platform/Cp932.h"

#include "support/TempHome.h"

#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace zorbe;

namespace {

using test::runCli;

} // namespace

TEST(Cli, VersionPrintsTheTitleAndTheLinkVersion)
{
    test::TempHome home;
    const auto r = runCli({"version"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "ゾルベData Lab.版\n JV-Link Ver.1.2.1\n");
}

TEST(Cli, SettingsAreUtf8OnTheCommandLineAndCp932InTheFile)
{
    test::TempHome home;
    EXPECT_EQ(runCli({"settings", "set", "拡大縮小", "縦縦", "95"}).code, 0);
    EXPECT_EQ(runCli({"settings", "set", "Lzhdir", "lzhdat", "d:\\競馬\\JRA"}).code, 0);
    EXPECT_EQ(runCli({"settings", "get", "拡大縮小", "縦縦"}).out, "95\n");
    EXPECT_EQ(runCli({"settings", "get", "LZHDIR", "LZHDAT"}).out, "d:\\競馬\\JRA\n");
    EXPECT_EQ(runCli({"settings", "get", "Mitei", "Mitei", "5"}).out, "5\n");
    EXPECT_EQ(runCli({"settings", "get", "Mitei", "Mitei"}).out, "\n");
    const std::string file = test::readNative(home.path() / "zorbelab.Ini");
    EXPECT_NE(file.find(sj("[Lzhdir]\r\nlzhdat=d:\\競馬\\JRA\r\n")), std::string::npos);

    EXPECT_EQ(runCli({"settings", "erase", "lzhdir"}).code, 0);
    EXPECT_EQ(runCli({"settings", "get", "Lzhdir", "lzhdat", "none"}).out, "none\n");
}

TEST(Cli, PathPrintsTheNativePath)
{
    test::TempHome home;
    const auto r = runCli({"path", "C:\\ZORBELAB\\txt"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, (home.path() / "drives/c/ZORBELAB/txt").string() + "\n");
}

TEST(Cli, BadUseGivesTheUsageAndExitCode2)
{
    test::TempHome home;
    for (const auto &args : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"version", "extra"}, {"settings"}, {"settings", "get", "a"},
             {"settings", "set", "a", "b"}, {"settings", "erase"}, {"settings", "drop", "a"}, {"path"},
             {"settings", "set", "a", "b", "😀"}, {"settings", "set", "a", "b", "x\ny"}}) {
        const auto r = runCli(args);
        EXPECT_EQ(r.code, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.err.find("zorbe"), std::string::npos);
    }
    EXPECT_EQ(runCli({"--help"}).code, 0);
}
