#include "data/formats/MasterFormats.h"
#include "data/formats/RaceDayFormats.h"
#include "data/formats/ResultFormats.h"
#include "link/feedgen/FeedGenerator.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"

#include "support/CsvLines.h"
#include "support/RunCli.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace zorbe;
using test::runCli;
namespace fs = std::filesystem;

namespace {

std::size_t fieldCount(const std::string &line)
{
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 1;
}

std::vector<fs::path> filesEndingIn(const fs::path &folder, const std::string &suffix)
{
    std::vector<fs::path> out;
    for (const auto &entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > suffix.size() && name.substr(name.size() - suffix.size()) == suffix)
            out.push_back(entry.path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

// The exported file of a subcommand: it prints the path it wrote.
std::string exported(const std::vector<std::string> &args)
{
    const auto r = runCli(args);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.out.ends_with("\n"));
    const fs::path written = r.out.substr(0, r.out.size() - 1);
    EXPECT_TRUE(fs::is_regular_file(written)) << r.out;
    return test::readNative(written);
}

// Two generated weeks downloaded day by day as a subscriber receives them:
// race cards with past races, results, masters and time corrections.
class CsvCommand : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        home = new test::TempHome;
        ProfileFile(ProfileFile::defaultPath()).writeString("tekifile", "cyoukyou", "d:\\zorbelab\\dat\\CHOKYOSI.DAT");
        feedgen::FeedOptions options;
        options.weeks = 2;
        feedgen::generateFeed(options, WinPath::fromNative(home->path() / "feed"), WinPath());
        for (const char *now : {"20240606235959", "20240607235959", "20240610235959", "20240613235959",
                                "20240614235959", "20240617235959"})
            ASSERT_EQ(runCli({"download", "--now", now}).code, 0) << now;
    }
    static void TearDownTestSuite()
    {
        delete home;
        home = nullptr;
    }
    static fs::path folder(const char *winPath) { return toNative(WinPath(winPath)); }

    static test::TempHome *home;
};

test::TempHome *CsvCommand::home = nullptr;

} // namespace

TEST_F(CsvCommand, EveryRaceDayExportsWithTheFieldsOfItsLines)
{
    const auto raceCards = filesEndingIn(folder("d:\\zorbeLab\\JRA"), ".RDT");
    ASSERT_GE(raceCards.size(), 4u);
    bool pastRaceSeen = false, trainerSeen = false;
    for (const fs::path &rdt : raceCards) {
        const RecordFile card(test::readNative(rdt), formats::TRaceCardRec::kLength);
        const std::size_t horses = fs::file_size(fs::path(rdt).replace_extension(".HDT")) / formats::THorseRec::kLength;

        // U.CSV: per race a title, the header and a row per runner, in
        // horse file order.
        const auto u = test::csvLines(exported({"csv", "horses", rdt.string()}));
        std::size_t at = 0, rows = 0;
        for (std::size_t r = 0; r < card.count(); ++r) {
            const int n = std::stoi(std::string(card.record(r).substr(324, 2)));
            ASSERT_LT(at + 1 + static_cast<std::size_t>(n), u.size());
            EXPECT_EQ(fieldCount(u[at]), 1u) << rdt << " race " << r + 1;
            EXPECT_EQ(fieldCount(u[at + 1]), 223u);
            for (int j = 0; j < n; ++j) {
                const std::string &row = u[at + 2 + static_cast<std::size_t>(j)];
                ASSERT_EQ(fieldCount(row), 223u) << rdt << " race " << r + 1 << " runner " << j + 1;
                pastRaceSeen = pastRaceSeen || row.find(",2024/0") != std::string::npos;
                trainerSeen = trainerSeen || row.find(sj("（美浦）")) != std::string::npos
                              || row.find(sj("（栗東）")) != std::string::npos;
            }
            at += 2 + static_cast<std::size_t>(n);
            rows += static_cast<std::size_t>(n);
        }
        EXPECT_EQ(at, u.size());
        EXPECT_EQ(rows, horses) << rdt;

        // R.CSV: the same races, nine columns.
        const auto r = test::csvLines(exported({"csv", "racecard", rdt.string()}));
        EXPECT_EQ(r.size(), u.size());
        for (std::size_t i = 0; i < r.size(); ++i)
            EXPECT_EQ(fieldCount(r[i]), fieldCount(u[i]) == 1 ? 1u : 9u) << rdt << " line " << i + 1;
    }
    EXPECT_TRUE(pastRaceSeen);
    EXPECT_TRUE(trainerSeen);
}

TEST_F(CsvCommand, EveryResultsDayExportsWithTheFieldsOfItsLines)
{
    const auto resultFiles = filesEndingIn(folder("d:\\zorbeLab\\sei"), ".SDT");
    ASSERT_GE(resultFiles.size(), 4u);
    for (const fs::path &sdt : resultFiles) {
        const std::size_t races = fs::file_size(sdt) / formats::TResultRec::kLength;
        const auto s1 = test::csvLines(exported({"csv", "results1", sdt.string()}));
        std::size_t raceRows = 0;
        for (std::size_t i = 0; i < s1.size(); ++i) {
            // A section line, a dead-heat line, or the header and race rows.
            const std::size_t n = fieldCount(s1[i]);
            const std::size_t expected = n == 1 ? 1 : s1[i].starts_with("*") ? 28 : 29;
            EXPECT_EQ(n, expected) << sdt << " line " << i + 1;
            raceRows += s1[i].starts_with("20") ? 1 : 0;
        }
        EXPECT_EQ(raceRows, races) << sdt;
        EXPECT_EQ(fieldCount(s1[0]), 1u);

        const auto s2 = test::csvLines(exported({"csv", "results2", sdt.string()}));
        ASSERT_EQ(s2.size(), races + 2) << sdt;
        EXPECT_EQ(fieldCount(s2[0]), 1u);
        for (std::size_t i = 1; i < s2.size(); ++i)
            EXPECT_EQ(fieldCount(s2[i]), 12u) << sdt << " line " << i + 1;
    }

    const std::string cstime = test::readNative(folder("d:\\zorbelab\\dat\\cSTIME.DAT"));
    const auto times = test::csvLines(exported({"csv", "stime"}));
    EXPECT_EQ(times.size(), 12 * (cstime.size() / formats::TCSTimeRec::kLength));
    EXPECT_GE(times.size(), 12u * resultFiles.size());
    for (const std::string &line : times)
        EXPECT_EQ(fieldCount(line), 7u) << u8(line);
}

TEST_F(CsvCommand, UsageAndFailures)
{
    EXPECT_EQ(runCli({"csv"}).code, 2);
    EXPECT_EQ(runCli({"csv", "horse", "x.RDT"}).code, 2);
    EXPECT_EQ(runCli({"csv", "racecard"}).code, 2);
    EXPECT_EQ(runCli({"csv", "stime", "extra"}).code, 2);

    const auto missing = runCli({"csv", "results1", (home->path() / "none.SDT").string()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("none.SDT"), std::string::npos) << missing.err;
    EXPECT_TRUE(missing.out.empty());

    // A damaged race card: the races before it are written and named.
    const auto raceCards = filesEndingIn(folder("d:\\zorbeLab\\JRA"), ".RDT");
    std::string card = test::readNative(raceCards.front());
    card[formats::TRaceCardRec::kLength + 324] = 'x';
    const fs::path damaged = home->writeFile("damaged/day.RDT", card);
    const auto r = runCli({"csv", "racecard", damaged.string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("day.RDT の 2 件目のレコード"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("dayR.CSV"), std::string::npos) << r.err;
    const auto lines = test::csvLines(test::readNative(damaged.parent_path() / "dayR.CSV"));
    EXPECT_EQ(lines.size(), 2u + std::stoul(card.substr(324, 2)));
}
