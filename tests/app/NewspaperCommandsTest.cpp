#include "app/cli/NewspaperDay.h"

#include "data/formats/RaceDayFormats.h"
#include "link/feedgen/FeedGenerator.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"

#include "support/RunCli.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

using namespace zorbe;
using test::runCli;
namespace fs = std::filesystem;

namespace {

std::set<std::string> filesIn(const fs::path &folder)
{
    std::set<std::string> names;
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(folder, ec))
        names.insert(entry.path().filename().string());
    return names;
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The largest x of the text calls of a recording.
int widestText(const std::string &recording)
{
    int widest = 0;
    for (const std::string &line : linesOf(recording))
        if (line.rfind("text\t", 0) == 0 || line.rfind("vtext\t", 0) == 0)
            widest = std::max(widest, std::stoi(line.substr(line.find('\t') + 1)));
    return widest;
}

// One generated week downloaded on Thursday and Friday, shared by the
// tests: the race cards of its race days.
class NewspaperCommands : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        home = new test::TempHome;
        feedgen::FeedOptions options;
        options.weeks = 1;
        feedgen::generateFeed(options, WinPath::fromNative(home->path() / "feed"), WinPath());
        for (const char *now : {"20240606235959", "20240607235959"})
            ASSERT_EQ(runCli({"download", "--now", now}).code, 0);
        const fs::path folder = toNative(WinPath("d:\\zorbeLab\\JRA"));
        for (const std::string &name : filesIn(folder))
            if (name.size() > 4 && name.substr(name.size() - 4) == ".RDT" && day.empty())
                day = (folder / name).string();
        // A day of eight races: the first eight race cards of that day.
        const std::string cards = test::readNative(day);
        short8 = (home->path() / "short" / "day8.RDT").string();
        home->writeFile("short/day8.RDT", cards.substr(0, 8 * formats::TRaceCardRec::kLength));
        home->writeFile("short/day8.HDT", test::readNative(fs::path(day).replace_extension(".HDT")));
    }
    static void TearDownTestSuite()
    {
        delete home;
        home = nullptr;
    }

    // The job title of race r of the shared day: venue code, yymmdd, race.
    static std::string titleOf(int race)
    {
        const std::string name = fs::path(day).filename().string();
        static const std::pair<const char *, const char *> venues[] = {
            {"札幌", "01"}, {"函館", "02"}, {"福島", "03"}, {"新潟", "04"}, {"東京", "05"},
            {"中山", "06"}, {"中京", "07"}, {"京都", "08"}, {"阪神", "09"}, {"小倉", "10"}};
        std::string code;
        for (const auto &[venue, number] : venues)
            if (name.rfind(venue, 0) == 0)
                code = number;
        const std::string date = name.substr(name.size() - 12, 8);
        return code + date.substr(2) + (race < 10 ? "0" : "") + std::to_string(race);
    }

    fs::path outFile(const std::string &name) const { return home->path() / "out" / name; }

    static test::TempHome *home;
    static std::string day;
    static std::string short8;
};

test::TempHome *NewspaperCommands::home = nullptr;
std::string NewspaperCommands::day;
std::string NewspaperCommands::short8;

TEST_F(NewspaperCommands, RenderToTextListsTheDrawingCallsOfTheScreenPage)
{
    fs::create_directories(outFile("").parent_path());
    // The vertical page (the first start chose the horizontal one).
    const std::string style = runCli({"settings", "get", "sinbun", "Sinbun"}).out;
    ASSERT_EQ(runCli({"settings", "set", "sinbun", "Sinbun", "0"}).code, 0);
    const auto r = runCli({"render", day, "--race", "1", "--out", outFile("r1.txt").string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string text = test::readNative(outFile("r1.txt"));
    const std::vector<std::string> lines = linesOf(text);
    ASSERT_FALSE(lines.empty());
    // The page is whitened first, over the vertical page's extent.
    EXPECT_EQ(lines.front().substr(0, lines.front().find("\t#")), "rect\t0\t0\t1600\t1315\t\t\t");
    std::size_t texts = 0, rules = 0;
    for (const std::string &line : lines) {
        texts += line.rfind("text\t", 0) == 0 || line.rfind("vtext\t", 0) == 0;
        rules += line.rfind("line\t", 0) == 0;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 10) << line;
    }
    EXPECT_GT(texts, 0u);
    EXPECT_GT(rules, 0u);

    // The zoom scales the device units; the default is 110.
    ASSERT_EQ(runCli({"render", day, "--race", "1", "--out", outFile("z110.txt").string(), "--zoom", "110"}).code, 0);
    EXPECT_EQ(test::readNative(outFile("z110.txt")), text);
    ASSERT_EQ(runCli({"render", day, "--race", "1", "--out", outFile("z65.txt").string(), "--zoom", "65"}).code, 0);
    const int wide = widestText(text), narrow = widestText(test::readNative(outFile("z65.txt")));
    EXPECT_LT(narrow, wide);
    EXPECT_GT(narrow, wide / 2);

    // Another race draws another page.
    ASSERT_EQ(runCli({"render", day, "--race", "2", "--out", outFile("r2.txt").string()}).code, 0);
    EXPECT_NE(test::readNative(outFile("r2.txt")), text);
    runCli({"settings", "set", "sinbun", "Sinbun", style.substr(0, style.size() - 1)});
}

TEST_F(NewspaperCommands, BadArgumentsGiveTheUsageAndNoFile)
{
    fs::create_directories(outFile("").parent_path());
    const std::string out = outFile("bad.txt").string();
    for (const auto &args : std::vector<std::vector<std::string>>{
             {"render"},
             {"render", day, "--out", out},
             {"render", day, "--race", "1"},
             {"render", day, "--race", "0", "--out", out},
             {"render", day, "--race", "13", "--out", out},
             {"render", day, "--race", "x", "--out", out},
             {"render", day, "--race", "1", "--out", out, "--zoom", "60"},
             {"render", day, "--race", "1", "--out", out, "--zoom", "115"},
             {"render", day, "--race", "1", "--out", out, "--zoom"},
             {"render", day, "--race", "1", "--out", outFile("bad.bmp").string()},
             {"render", day, "--race", "1", "--out", out, "--colour", "1"},
             {"print", day},
             {"print", "--out", out},
             {"print", day, "--out", out, "--races", "1-"},
             {"print", day, "--out", out, "--races", "0"},
             {"print", day, "--out", out, "--races", "extra"},
             {"demo", "--weeks", "0"},
             {"demo", "--fast"},
         }) {
        const auto r = runCli(args);
        EXPECT_EQ(r.code, 2) << args.size();
        EXPECT_NE(r.err.find("使い方: zorbe " + args[0]), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(out));

    // Input that is well formed but not there: exit status 1 and why.
    auto r = runCli({"render", (home->path() / "none.RDT").string(), "--race", "1", "--out", out});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("出馬表ファイルがありません"), std::string::npos);
    r = runCli({"render", short8, "--race", "9", "--out", out});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("9レースはこのファイルにありません"), std::string::npos);
    EXPECT_FALSE(fs::exists(out));
    r = runCli({"render", short8, "--race", "8", "--out", out});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(runCli({"print", short8, "--races", "8-9", "--out", outFile("none").string()}).code, 1);
    EXPECT_FALSE(fs::exists(outFile("none")));
}

TEST(RaceList, ListsAndRangesOfTheRacesOfTheDay)
{
    auto races = [](const std::string &text, int count) -> std::string {
        const auto checked = cli::parseRaceList(text, count);
        if (!checked)
            return "invalid";
        std::string out;
        for (int r = 0; r < 12; ++r)
            out += (*checked)[static_cast<std::size_t>(r)] ? '1' : '.';
        return out;
    };
    EXPECT_EQ(races("1,3-5", 12), "1.111.......");
    EXPECT_EQ(races("12", 12), "...........1");
    EXPECT_EQ(races("5-5,1-2,2", 12), "11..1.......");
    EXPECT_EQ(races("1-12", 12), "111111111111");
    for (const char *bad : {"", ",", "1,", ",1", "3-1", "1-", "-2", "0", "13", "1,,2", "a", "1 2", "+1", "1-3-5"})
        EXPECT_EQ(races(bad, 12), "invalid") << bad;
    EXPECT_EQ(races("9", 8), "invalid");
    EXPECT_EQ(races("1-9", 8), "invalid");
}

// The page style of the shared home for one test; the vertical page again
// afterwards.
class StyleSetting
{
public:
    explicit StyleSetting(const char *sinbun) { runCli({"settings", "set", "sinbun", "Sinbun", sinbun}); }
    ~StyleSetting() { runCli({"settings", "set", "sinbun", "Sinbun", "0"}); }
};

TEST_F(NewspaperCommands, RenderDrawsTheStyleOfTheSettings)
{
    fs::create_directories(outFile("").parent_path());
    {
        const StyleSetting horizontal("1");
        const auto r = runCli({"render", day, "--race", "1", "--out", outFile("h1.txt").string()});
        ASSERT_EQ(r.code, 0) << r.err;
        const std::string text = test::readNative(outFile("h1.txt"));
        EXPECT_NE(text.find("\t五　走　前\n"), std::string::npos);
    }
    const StyleSetting programme("2");
    // A programme page starts from an odd race.
    const auto even = runCli({"render", day, "--race", "2", "--out", outFile("p2.txt").string()});
    EXPECT_EQ(even.code, 2);
    EXPECT_NE(even.err.find("奇数"), std::string::npos) << even.err;
    EXPECT_FALSE(fs::exists(outFile("p2.txt")));
    const auto odd = runCli({"render", day, "--race", "3", "--out", outFile("p3.txt").string()});
    ASSERT_EQ(odd.code, 0) << odd.err;
    const std::string text = test::readNative(outFile("p3.txt"));
    EXPECT_NE(text.find("\t３\n"), std::string::npos);
    EXPECT_NE(text.find("\t４\n"), std::string::npos);
    EXPECT_EQ(text.find("\t五　走　前\n"), std::string::npos);
}

#ifdef ZORBE_WITH_GUI

// Width and height from a PNG's header.
std::pair<int, int> pngSize(const std::string &png)
{
    auto be32 = [&](std::size_t at) {
        int v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v = v * 256 + static_cast<unsigned char>(png[at + i]);
        return v;
    };
    return {be32(16), be32(20)};
}

TEST_F(NewspaperCommands, RenderDrawsPngAtTheZoomAndPdfAsThePrintButton)
{
    fs::create_directories(outFile("").parent_path());
    ASSERT_EQ(runCli({"render", day, "--race", "3", "--out", outFile("r3.png").string()}).code, 0);
    ASSERT_EQ(runCli({"render", day, "--race", "3", "--out", outFile("r3s.PNG").string(), "--zoom", "65"}).code, 0);
    const std::string big = test::readNative(outFile("r3.png")), small = test::readNative(outFile("r3s.PNG"));
    ASSERT_EQ(big.substr(1, 3), "PNG");
    // At 110 % the box holds at least the A4 sheet at that zoom.
    const auto [w, h] = pngSize(big);
    EXPECT_GE(w, 1235);
    EXPECT_GE(h, 873);
    EXPECT_LT(pngSize(small).first, w);
    EXPECT_LT(pngSize(small).second, h);

    const auto r = runCli({"render", day, "--race", "3", "--out", outFile("r3.pdf").string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(test::readNative(outFile("r3.pdf")).substr(0, 5), "%PDF-");
    // Nothing but the pages is left in the folder.
    for (const std::string &name : filesIn(outFile("").parent_path()))
        EXPECT_NE(name.front(), '.') << name;
}

TEST_F(NewspaperCommands, PrintWritesOnePdfPerCheckedRaceNamedByTheJobTitle)
{
    const fs::path folder = outFile("print");
    const auto r = runCli({"print", day, "--races", "1,3-4", "--out", folder.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::set<std::string> expected{titleOf(1) + ".pdf", titleOf(3) + ".pdf", titleOf(4) + ".pdf"};
    EXPECT_EQ(filesIn(folder), expected);
    for (const std::string &name : expected) {
        EXPECT_EQ(test::readNative(folder / name).substr(0, 5), "%PDF-");
        EXPECT_NE(r.out.find((folder / name).string()), std::string::npos) << r.out;
    }

    // Without --races: every race of the day; a second print replaces.
    const fs::path all = outFile("print8");
    ASSERT_EQ(runCli({"print", short8, "--out", all.string()}).code, 0);
    ASSERT_EQ(runCli({"print", short8, "--out", all.string()}).code, 0);
    EXPECT_EQ(filesIn(all).size(), 8u);
}

TEST_F(NewspaperCommands, ProgrammePrintIsTheOddRacesOnUprightSheets)
{
    const StyleSetting programme("2");
    const fs::path folder = outFile("programme");
    const auto r = runCli({"print", short8, "--out", folder.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::set<std::string> files = filesIn(folder);
    ASSERT_EQ(files.size(), 4u);
    for (const std::string &name : files) {
        EXPECT_EQ((name[name.size() - 5] - '0') % 2, 1) << name;   // 01, 03, 05, 07
        EXPECT_NE(test::readNative(folder / name).find("/MediaBox [0 0 595"), std::string::npos) << name;
    }
}

#else

TEST_F(NewspaperCommands, WithoutTheDesktopOnlyTheTextRenderingIsThere)
{
    for (const auto &args : std::vector<std::vector<std::string>>{
             {"render", day, "--race", "1", "--out", outFile("x.png").string()},
             {"render", day, "--race", "1", "--out", outFile("x.pdf").string()},
             {"print", day, "--out", outFile("print").string()}}) {
        const auto r = runCli(args);
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find("デスクトップ版"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(outFile("print")));
}

#endif

// The variables of the environment a test changes, put back afterwards.
class SavedVariable
{
public:
    explicit SavedVariable(const char *name) : m_name(name)
    {
        if (const char *v = std::getenv(name))
            m_value = v;
        ::unsetenv(name);
    }
    ~SavedVariable()
    {
        if (m_value)
            ::setenv(m_name.c_str(), m_value->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }

private:
    std::string m_name;
    std::optional<std::string> m_value;
};

TEST(Demo, WithoutADisplayItPrintsTheLatestDayAndASecondRunReusesEverything)
{
    test::TempHome home;
    SavedVariable display("DISPLAY"), wayland("WAYLAND_DISPLAY"), feed("ZORBE_FEED");
    ::setenv("ZORBE_FEED", (home.path() / "elsewhere").c_str(), 1);

    const auto first = runCli({"demo", "--weeks", "1"});
    ASSERT_EQ(first.code, 0) << first.err;
    const fs::path demo = home.path() / "demo";
    // The user's own home is untouched, the environment is as it was.
    EXPECT_FALSE(fs::exists(home.path() / "zorbelab.Ini"));
    EXPECT_FALSE(fs::exists(home.path() / "elsewhere"));
    EXPECT_EQ(std::string(std::getenv("ZORBE_HOME")), home.path().string());
    EXPECT_EQ(std::string(std::getenv("ZORBE_FEED")), (home.path() / "elsewhere").string());

    // Thursday, Friday, Monday: race cards, results, masters, time corrections.
    const fs::path drives = demo / "drives" / "d" / "zorbeLab";
    EXPECT_NE(first.out.find("2024/06/10（月）"), std::string::npos) << first.out;
    std::size_t cards = 0, results = 0;
    std::string lastDate;
    for (const std::string &name : filesIn(drives / "JRA"))
        if (name.substr(name.size() - 4) == ".RDT") {
            ++cards;
            lastDate = std::max(lastDate, name.substr(name.size() - 12, 8));
        }
    for (const std::string &name : filesIn(drives / "sei"))
        results += name.substr(name.size() - 4) == ".SDT";
    // The day it opened: one of the latest date (of two venues, either).
    const std::string shownLine = "最新の開催日: " + (drives / "JRA").string() + "/";
    const std::size_t at = first.out.find(shownLine);
    ASSERT_NE(at, std::string::npos) << first.out;
    const std::size_t from = at + shownLine.size();
    const std::string latest = first.out.substr(from, first.out.find('\n', from) - from);
    EXPECT_EQ(latest.substr(latest.size() - 12, 8), lastDate);
    EXPECT_GT(cards, 0u);
    EXPECT_EQ(results, cards);
    EXPECT_TRUE(fs::exists(drives / "dat" / "STIME.DAT"));
    EXPECT_TRUE(fs::exists(drives / "dat" / "KISYU.DAT"));

    // Every race of the latest race day, in the folder it names.
    const fs::path pages = demo / "pages" / latest.substr(0, latest.size() - 4);
    EXPECT_NE(first.out.find(pages.string()), std::string::npos) << first.out;
    const std::size_t races
        = fs::file_size(drives / "JRA" / latest) / formats::TRaceCardRec::kLength;
    const std::set<std::string> written = filesIn(pages);
    EXPECT_EQ(written.size(), races);
#ifdef ZORBE_WITH_GUI
    for (const std::string &name : written)
        EXPECT_EQ(name.substr(name.size() - 4), ".pdf");
#endif

    const ProfileFile settings(demo / "zorbelab.Ini");
    // Five past races for the time index, so that the pages have picks.
    EXPECT_EQ(settings.readString("Kako", "Kako", ""), "5");
    const std::string fetched = settings.readString("LastFileTime", "LastFileTime", "");
    // The same length again reuses the feed and the downloads (another
    // length starts again: CommandLine.DemoWithAnotherNumberOfWeeks...).
    const auto second = runCli({"demo", "--weeks", "1"});
    ASSERT_EQ(second.code, 0) << second.err;
    EXPECT_NE(second.out.find("作成済み"), std::string::npos);
    EXPECT_EQ(second.out.find("取り込み"), std::string::npos) << second.out;
    EXPECT_EQ(settings.readString("LastFileTime", "LastFileTime", ""), fetched);
    EXPECT_EQ(filesIn(pages), written);
}

} // namespace
