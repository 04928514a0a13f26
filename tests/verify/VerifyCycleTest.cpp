#include "verify/LhaTestArchive.h"

#include "link/feedgen/FeedGenerator.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "support/RunCli.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace zorbe;
using test::runCli;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> linesOf(const std::string &text, const char *end = "\n")
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    const std::size_t step = std::string_view(end).size();
    while (at < text.size()) {
        std::size_t next = text.find(end, at);
        if (next == std::string::npos)
            next = text.size();
        lines.push_back(text.substr(at, next - at));
        at = next + step;
    }
    return lines;
}

std::vector<std::string> cellsOf(const std::string &line)
{
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string c; std::getline(in, c, '\t');)
        cells.push_back(c);
    return cells;
}

// A generated week downloaded as a subscriber gets it: race cards on
// Thursday and Friday, results on Monday; then the whole check of the
// picks on one race day.
class VerifyCycle : public ::testing::Test
{
protected:
    void SetUp() override
    {
        feedgen::FeedOptions options;
        options.weeks = 1;
        feedgen::generateFeed(options, WinPath::fromNative(home.path() / "feed"), WinPath());
        for (const char *now : {"20240606235959", "20240607235959", "20240610235959"})
            ASSERT_EQ(runCli({"download", "--now", now}).code, 0);
        ASSERT_EQ(runCli({"settings", "set", "copyfile", "copy", "C:\\ZORBELAB\\txt"}).code, 0);
        ASSERT_EQ(runCli({"settings", "set", "Kako", "Kako", "3"}).code, 0);
        runCli({"settings", "set", "kisyufile", "kisyu", "d:\\zorbelab\\dat\\KISYU.DAT"});
        runCli({"settings", "set", "tekifile", "cyoukyou", "d:\\zorbelab\\dat\\CHOKYOSI.DAT"});
        files::makeDirectories(WinPath(kFolder));
    }

    static std::vector<std::string> sorted(const fs::path &folder, const std::string &ext)
    {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(folder))
            if (e.path().extension() == ext)
                names.push_back(e.path().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static constexpr const char *kFolder = "C:\\ZORBELAB\\txt";
    test::TempHome home;
};

TEST_F(VerifyCycle, GeneratedWeeksToPicksPayoutsAndReturnRates)
{
    // A Saturday at two venues.
    std::vector<std::string> cards, results;
    for (const std::string &f : sorted(toNative(WinPath("d:\\zorbeLab\\JRA")), ".RDT"))
        if (f.find("20240608") != std::string::npos)
            cards.push_back(f);
    for (const std::string &f : sorted(toNative(WinPath("d:\\zorbeLab\\sei")), ".SDT"))
        if (f.find("20240608") != std::string::npos)
            results.push_back(f);
    ASSERT_EQ(cards.size(), 2u);
    ASSERT_EQ(results.size(), 2u);

    // The pick files of both venues.
    for (const std::string &card : cards) {
        const auto r = runCli({"picks", card});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(linesOf(r.out).size(), 3u);
    }
    const fs::path folder = toNative(WinPath(kFolder));
    const std::string venue = fs::path(cards[0]).filename().string().substr(0, 6); // two kanji in UTF-8
    const std::string honshi = test::readNative(folder / (venue + "20240608本紙.TXT"));
    const auto pickLines = linesOf(honshi, "\r\n");
    ASSERT_GT(pickLines.size(), 3u);

    // Both results files into one payout file; the second one as an LHA
    // archive with a member that tries to leave the results folder.
    ASSERT_EQ(runCli({"settings", "set", "kyousou", "kousin", "0"}).code, 0);
    const std::string packed = (home.path() / "in" / "second.lzh").string();
    home.writeFile("in/second.lzh",
                   test::makeLhaArchive({{"JracSei1.dat", test::readNative(results[1]), 2},
                                         {"..\\..\\..\\escape.txt", "x", 0}}));
    const std::string first = (home.path() / "in" / "first.lzh").string();
    home.writeFile("in/first.lzh", test::makeLhaArchive({{"JracSei1.dat", test::readNative(results[0]), 1}}));
    files::makeDirectories(WinPath("c:\\zorbelab\\sei"));
    auto r = runCli({"payout", first, packed, "--out", "C:\\ZORBELAB\\txt\\kensyo"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("展開先の外を指すため展開しません"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(home.path() / "drives" / "escape.txt"));
    EXPECT_FALSE(fs::exists(home.path() / "escape.txt"));
    const std::string payout = test::readNative(folder / "kensyo.TXT");
    std::size_t titles = 0;
    for (const std::string &line : linesOf(payout, "\r\n")) {
        EXPECT_EQ(line.size() == 78 || line.rfind(sj("※"), 0) == 0 || line.rfind("Race|", 0) == 0, true) << line;
        titles += line.rfind(sj("☆"), 0) == 0;
    }
    EXPECT_EQ(titles, 2u);

    // The return rate of the first venue's 本紙 picks.
    r = runCli({"kaisyu", "C:\\ZORBELAB\\txt\\kensyo.TXT", "--venue", "1", "--pick", "1", "--save", "--html"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto rows = linesOf(r.out);
    ASSERT_EQ(rows.size(), 25u + 25u + 4u * 6u);
    EXPECT_EQ(cellsOf(rows[0])[0], "No");
    EXPECT_EQ(cellsOf(rows[1])[0], " 1R");
    // The investment of all races: 600 yen for a six-point line, else 300.
    int points = 0;
    for (std::size_t i = 3; i < pickLines.size(); ++i)
        points += pickLines[i].substr(26, 5) == "     " ? 3 : 6;
    const auto all = cellsOf(rows[51]);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0], "投資");
    EXPECT_EQ(all[2], std::to_string(points) + "00");
    // The judgements: one per race with picks, a hit for every credited race.
    int judged = 0;
    for (int row = 26; row < 50; row += 2)
        judged += cellsOf(rows[static_cast<std::size_t>(row)]).size() > 7 &&
                  !cellsOf(rows[static_cast<std::size_t>(row)])[7].empty();
    EXPECT_EQ(judged, static_cast<int>(pickLines.size()) - 3);

    // Saved: the meeting now holds the day, and counts it next time.
    std::string ken;
    for (const auto &e : fs::directory_iterator(folder))
        if (e.path().extension() == ".ken")
            ken = e.path().string();
    ASSERT_FALSE(ken.empty());
    EXPECT_EQ(fs::file_size(ken), 102u);
    r = runCli({"kaisyu", "C:\\ZORBELAB\\txt\\kensyo.TXT", "--venue", "1", "--pick", "1"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto again = linesOf(r.out);
    EXPECT_EQ(cellsOf(again[57]), cellsOf(rows[51])); // the meeting's all races = the one saved day
    r = runCli({"kaisyu", "C:\\ZORBELAB\\txt\\kensyo.TXT", "--venue", "1", "--pick", "1", "--save"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("保存済み"), std::string::npos);
    EXPECT_EQ(fs::file_size(ken), 102u);

    // The second venue and the other pick types work the same way.
    for (const char *pick : {"2", "3"}) {
        r = runCli({"kaisyu", "C:\\ZORBELAB\\txt\\kensyo.TXT", "--venue", "2", "--pick", pick, "--save"});
        EXPECT_EQ(r.code, 0) << r.err;
    }
    EXPECT_EQ(runCli({"kaisyu", "C:\\ZORBELAB\\txt\\kensyo.TXT", "--venue", "3", "--pick", "1"}).code, 1);
    EXPECT_EQ(runCli({"kaisyu", "C:\\ZORBELAB\\txt\\kensyo.TXT", "--venue", "4", "--pick", "1"}).code, 2);
    EXPECT_EQ(sorted(folder, ".htm").size(), 1u);
}

} // namespace
