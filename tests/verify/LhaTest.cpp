#include "verify/LhaTestArchive.h"
#include "verify/Unlha.h"

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace zorbe;
using namespace zorbe::lha;
namespace fs = std::filesystem;

namespace {

class Archives : public ::testing::Test
{
protected:
    // An archive below the home, and a destination folder beside it.
    WinPath archive(const std::vector<test::LhaMember> &members, const char *name = "arc.lzh")
    {
        home.writeFile(std::string("in/") + name, test::makeLhaArchive(members));
        return WinPath::fromNative(home.path() / "in" / name);
    }
    WinPath destination() const
    {
        fs::create_directories(home.path() / "dest" / "sei");
        return WinPath::fromNative(home.path() / "dest" / "sei");
    }
    // The payout window's extraction: everything, into the folder.
    int extract(const WinPath &arc, std::vector<std::string> *lines = nullptr, TCommand command = TCommand::cmdExtract)
    {
        TUnlha unlha;
        unlha.ARCFileName = arc.text();
        unlha.BaseDirName = destination().text();
        unlha.Command = command;
        unlha.OutputLines = lines;
        return unlha.Execute();
    }
    std::set<std::string> filesBelow(const fs::path &folder) const
    {
        std::set<std::string> names;
        for (const auto &e : fs::recursive_directory_iterator(folder))
            if (e.is_regular_file())
                names.insert(fs::relative(e.path(), folder).generic_string());
        return names;
    }

    test::TempHome home;
};

TEST_F(Archives, ExtractsStoredMembersOfEveryHeaderLevelByName)
{
    const std::string results(3048 * 2, '7');
    const WinPath arc = archive({{"JracSei1.dat", results, 0}, {"dir\\notes.txt", "level one", 1},
                                 {"deep/er/more.txt", "level two", 2}});
    std::vector<std::string> lines;
    ASSERT_EQ(extract(arc, &lines), kOk);
    // "E" takes every member by its name alone.
    EXPECT_EQ(filesBelow(home.path() / "dest"),
              (std::set<std::string>{"sei/JracSei1.dat", "sei/notes.txt", "sei/more.txt"}));
    EXPECT_EQ(test::readNative(home.path() / "dest" / "sei" / "JracSei1.dat"), results);
    EXPECT_EQ(test::readNative(home.path() / "dest" / "sei" / "more.txt"), "level two");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(u8(lines[0]), "展開: JracSei1.dat");

    // "X" keeps the stored folders.
    fs::remove_all(home.path() / "dest");
    ASSERT_EQ(extract(arc, nullptr, TCommand::cmdDirExtract), kOk);
    EXPECT_EQ(filesBelow(home.path() / "dest"),
              (std::set<std::string>{"sei/JracSei1.dat", "sei/dir/notes.txt", "sei/deep/er/more.txt"}));
}

TEST_F(Archives, MembersWhosePathsLeaveTheDestinationAreRefusedAndReported)
{
    const WinPath arc = archive({{"..\\..\\evil.txt", "x", 0},
                                 {"ok.txt", "fine", 0},
                                 {"C:\\autoexec.bat", "x", 0},
                                 {"sub\\..\\..\\up.txt", "x", 1},
                                 {"../lvl2.txt", "x", 2},
                                 {"/etc/abs.txt", "x", 0}});
    for (TCommand command : {TCommand::cmdExtract, TCommand::cmdDirExtract}) {
        fs::remove_all(home.path() / "dest");
        std::vector<std::string> lines;
        EXPECT_EQ(extract(arc, &lines, command), kErrorUnsafeMember);
        // Only the harmless member is written, and only inside the folder.
        EXPECT_EQ(filesBelow(home.path() / "dest"), (std::set<std::string>{"sei/ok.txt"}));
        EXPECT_EQ(filesBelow(home.path() / "in"), (std::set<std::string>{"arc.lzh"}));
        std::size_t refused = 0;
        for (const std::string &l : lines)
            refused += u8(l).find("展開先の外を指すため展開しません") != std::string::npos;
        EXPECT_EQ(refused, 5u);
    }
    EXPECT_FALSE(fs::exists(home.path() / "evil.txt"));
    EXPECT_FALSE(fs::exists(home.path() / "dest" / "lvl2.txt"));
}

TEST_F(Archives, DamagedOrForeignInputIsReportedAndWritesNothing)
{
    std::vector<std::string> lines;
    EXPECT_EQ(extract(archive({{"JracSei1.dat", "payouts", 0, true}}), &lines), kErrorDamagedMember);
    EXPECT_TRUE(filesBelow(home.path() / "dest").empty());
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(u8(lines[0]).find("壊れています"), std::string::npos);

    home.writeFile("in/plain.SDT", std::string(3048, '0'));
    EXPECT_EQ(extract(WinPath::fromNative(home.path() / "in" / "plain.SDT")), kErrorArchive);
    EXPECT_EQ(extract(WinPath::fromNative(home.path() / "in" / "missing.lzh")), kErrorArchive);
    // A truncated archive yields what it holds whole, never more.
    std::string cut = test::makeLhaArchive({{"a.txt", std::string(500, 'a'), 0}});
    home.writeFile("in/cut.lzh", cut.substr(0, cut.size() - 100));
    EXPECT_NE(extract(WinPath::fromNative(home.path() / "in" / "cut.lzh")), kOk);
    EXPECT_FALSE(fs::exists(home.path() / "dest" / "sei" / "a.txt"));
}

TEST_F(Archives, PatternsTestAndListTouchOnlyWhatTheyName)
{
    const WinPath arc = archive({{"JracSei1.dat", "one", 0}, {"other.txt", "two", 0}});
    TUnlha unlha;
    unlha.ARCFileName = arc.text();
    unlha.BaseDirName = destination().text();
    unlha.Command = TCommand::cmdExtract;
    unlha.ARCPattern = "jrac*.DAT";
    ASSERT_EQ(unlha.Execute(), kOk);
    EXPECT_EQ(filesBelow(home.path() / "dest"), (std::set<std::string>{"sei/JracSei1.dat"}));

    std::vector<std::string> lines;
    unlha.OutputLines = &lines;
    unlha.ARCPattern = "*.*";
    unlha.Command = TCommand::cmdTest;
    EXPECT_EQ(unlha.Execute(), kOk);
    unlha.Command = TCommand::cmdList;
    EXPECT_EQ(unlha.Execute(), kOk);
    EXPECT_EQ(lines.back(), "other.txt\t3\t3\t-lh0-");
    unlha.Command = TCommand::cmdAdd; // this archiver only reads
    EXPECT_EQ(unlha.Execute(), kErrorCommand);
    EXPECT_EQ(filesBelow(home.path() / "dest"), (std::set<std::string>{"sei/JracSei1.dat"}));

    EXPECT_TRUE(matchesPattern("noext", "*.*"));
    EXPECT_TRUE(matchesPattern("JracSei1.dat", "JRACSEI?.DAT"));
    EXPECT_FALSE(matchesPattern("JracSei1.dat", "*.SDT"));
    EXPECT_TRUE(matchesPattern("a.b.c", "*.c"));
}

TEST(ArchiverLibrary, AMissingLibraryGivesTheArchiverMessagesAndRunsNothing)
{
    TUnlhaBinding missing("liblhasa-not-installed.so.9");
    EXPECT_FALSE(missing.loaded());
    EXPECT_EQ(missing.ArchiverVersion(), 0xFFFF);
    TUnlha unlha(&missing);
    // Without an archive name nothing is asked of the library.
    EXPECT_EQ(unlha.Execute(), -1);
    unlha.ARCFileName = "c:\\a.lzh";
    try {
        unlha.Execute();
        FAIL() << "no error";
    } catch (const ArchiverError &e) {
        EXPECT_EQ(std::string(e.what()), "Unlha32 .dll がウィンドウズの\n\\SYSTEMフォルダにありません\nコピーして下さい。");
    }
    std::string out;
    EXPECT_THROW(missing.Unlha(nullptr, "L \"a\"", out, 100), ArchiverError);
    try {
        missing.UnlhaGetVersion();
    } catch (const ArchiverError &e) {
        EXPECT_EQ(std::string(e.what()), "Unlha32 Not Found function(GetVersion)");
    }
    try {
        missing.Unlha(nullptr, "E", out, 100);
    } catch (const ArchiverError &e) {
        EXPECT_EQ(std::string(e.what()), "Unlha32 Not Found function(Unlha)");
    }
    EXPECT_EQ(archiver().ArchiverVersion(), kArchiverVersion);
}

TEST(ArchiveCommandLine, SwitchesAndArgumentsAreBuiltInTheirOrder)
{
    TUnlhaBinding missing("liblhasa-not-installed.so.9");
    TUnlha unlha(&missing);
    EXPECT_EQ(unlha.BuildSwitches(), "");
    unlha.ARCFileName = "c:\\zorbelab\\sei\\0627.lzh";
    unlha.Command = TCommand::cmdExtract;
    unlha.BaseDirName = "c:\\zorbelab\\sei";
    const std::string expected = "E -+ \"c:\\zorbelab\\sei\\0627.lzh\" \"c:\\zorbelab\\sei\\\" \"*.*\"";
    EXPECT_EQ(unlha.CommandLine(), expected);
    unlha.BaseDirName = "c:\\zorbelab\\sei\\";
    EXPECT_EQ(unlha.CommandLine(), expected);

    unlha.Options.OpDlgYes.dyFileDelete = true;
    unlha.Options.OpDlgYes.dyReplaceFile = true;
    EXPECT_EQ(unlha.BuildSwitches(), " -jydo");
    unlha.SetDefaultOptions();
    unlha.Options.OpDskChk = false;
    unlha.Options.OpCompType = TOpCompType::ctLH7; // only for an archiver above version 69
    unlha.Options.OpWinSfx = TOpWinSfx::wsNoDialog32;
    unlha.DlgOptions.OpErrorDlg = false;
    unlha.DlgOptions.OpExtDlg = false;
    EXPECT_EQ(unlha.BuildSwitches(), " -f1 -gw2 -n1 -gm1");
    unlha.ArchiverVersionHeld = 70;
    EXPECT_EQ(unlha.BuildSwitches(), " -jm4 -f1 -gw2 -n1 -gm1");
    unlha.SetDefaultOptions();
    unlha.WorkDirName = "c:\\tmp";
    unlha.ExtraSwitches = "-a1";
    unlha.ARCPattern = "JracSei1.dat";
    EXPECT_EQ(unlha.CommandLine(), "E -+ \"-wc:\\tmp\\\"  -a1 \"c:\\zorbelab\\sei\\0627.lzh\" \"c:\\zorbelab\\sei\\\" "
                                   "\"JracSei1.dat\"");

    // Debug asks first; anything but OK runs nothing (the library here
    // would raise).
    unlha.Debug = true;
    EXPECT_THROW(unlha.Execute(), ArchiverError); // the cursor mode comes before the question
    TUnlha asked;
    asked.ARCFileName = "c:\\a.lzh";
    asked.Debug = true;
    std::string question;
    asked.AskOkCancel = [&](const std::string &line, const std::string &caption) {
        question = caption + ": " + line;
        return false;
    };
    EXPECT_EQ(asked.Execute(), -999);
    EXPECT_EQ(question, "Execute Wait: L -+ \"c:\\a.lzh\" \"*.*\"");
}

TEST(ArchiveOutput, TheBufferIsCutAtEveryNulOrLineFeed)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(splitOutputLines(std::string_view("a\nb\0c\n", 6)), (V{"a", "b", "c"}));
    EXPECT_EQ(splitOutputLines(std::string_view("a\n\0rest", 7)), (V{"a"}));
    EXPECT_EQ(splitOutputLines("last"), (V{"last"}));
    EXPECT_TRUE(splitOutputLines("").empty());
    EXPECT_TRUE(isSafeMemberPath(sj("ソフト\\表.dat"))); // trail bytes 0x5C are not separators
    EXPECT_FALSE(isSafeMemberPath(".."));
    EXPECT_FALSE(isSafeMemberPath("a/../../b"));
}

} // namespace
