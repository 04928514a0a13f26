#include "link/feedgen/FeedGenerator.h"
#include "link/feedgen/FeedCalendar.h"

#include "app/cli/Cli.h"
#include "data/jvdata/JVData_Structure.h"
#include "link/LocalFeedLink.h"
#include "platform/Fields.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

using namespace zorbe;
using namespace zorbe::feedgen;

namespace {

// One published week, generated once for the whole test program.
const std::vector<GeneratedFile> &feed()
{
    static const std::vector<GeneratedFile> files = [] {
        FeedOptions o;
        o.seed = 7;
        o.start = 20240104; // a Thursday early in the year: a short run-in
        o.weeks = 2;
        return publishFeed(simulateSeason(o));
    }();
    return files;
}

std::vector<std::string_view> records(const std::string &content)
{
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    while (pos < content.size()) {
        const auto eol = content.find("\r\n", pos);
        const std::size_t end = eol == std::string::npos ? content.size() : eol + 2;
        out.push_back(std::string_view(content).substr(pos, end - pos));
        pos = end;
    }
    return out;
}

// The records of the files whose delivered name starts with prefix.
std::vector<std::string_view> recordsOf(const std::string &prefix, const std::string &date = {})
{
    std::vector<std::string_view> out;
    for (const auto &f : feed())
        if (f.name.rfind(prefix + date, 0) == 0)
            for (auto r : records(f.content))
                out.push_back(r);
    return out;
}

std::set<std::string> thursdays()
{
    std::set<std::string> out;
    for (const auto &f : feed())
        if (f.name.rfind("UMPW", 0) == 0)
            out.insert(f.name.substr(4, 8));
    return out;
}

} // namespace

TEST(FeedGenerator, EveryRecordHasItsLengthAndDigitsWhereNumbersAre)
{
    std::map<std::string, int> kinds;
    for (const auto &f : feed())
        for (auto rec : records(f.content)) {
            ASSERT_GE(rec.size(), 2u);
            ASSERT_EQ(rec.substr(rec.size() - 2), "\r\n") << f.name;
            const jv::RecordDef *def = jv::findRecord(rec.substr(0, 2));
            if (!def)
                continue;
            ++kinds[std::string(def->id)];
            ASSERT_EQ(rec.size(), def->length) << f.name;
            for (const jv::Field &fd : def->fields) {
                if (fd.fill != jv::Fill::Digits)
                    continue;
                for (std::size_t g = 0; g < fd.groups; ++g)
                    for (std::size_t i = 0; i < fd.count; ++i) {
                        ASSERT_TRUE(isDigits(field(rec, fd.at(g, i))))
                            << f.name << " " << fd.spec.name << " [" << field(rec, fd.at(g, i)) << "]";
                    }
            }
        }
    for (const char *id : {"RA", "SE", "UM", "RC", "HR", "KS", "CH"})
        EXPECT_GT(kinds[id], 0) << id;
}

TEST(FeedGenerator, WeeklyScheduleAndJoins)
{
    const auto days = thursdays();
    ASSERT_EQ(days.size(), 2u);
    std::set<std::string> kinds;
    for (auto rec : recordsOf("RACW"))
        kinds.insert(std::string(field(rec, jv::RA::DataKind)));
    EXPECT_EQ(kinds, std::set<std::string>{"2"});
    for (auto rec : recordsOf("RATW"))
        EXPECT_EQ(field(rec, jv::RA::DataKind), "1");
    // Runner records join race records of the same files' kind.
    for (const std::string prefix : {"CW", "SW", "QW", "TW"}) {
        std::set<std::string> raceKeys;
        for (auto rec : recordsOf("RA" + prefix))
            raceKeys.insert(std::string(field(rec, jv::RA::RaceKey)));
        const auto runners = recordsOf("SE" + prefix);
        EXPECT_FALSE(runners.empty()) << prefix;
        for (auto rec : runners)
            EXPECT_TRUE(raceKeys.count(std::string(field(rec, jv::SE::RaceKey)))) << prefix;
    }
    for (const auto &thu : days) {
        std::set<std::string> horses;
        std::map<std::string, int> raceCount;
        for (auto rec : recordsOf("UMPW", thu)) {
            horses.insert(std::string(field(rec, jv::UM::HorseId)));
            raceCount[std::string(field(rec, jv::UM::HorseId))] = static_cast<int>(toInt(field(rec, jv::UM::RaceCount), "n"));
        }
        // Race days of that week are the Saturday, Sunday and perhaps Monday after.
        const int t = std::stoi(thu);
        for (const auto &f : feed()) {
            if (f.name.rfind("SECW", 0) != 0)
                continue;
            const int day = std::stoi(f.name.substr(4, 8));
            if (dayNumber(day) - dayNumber(t) < 2 || dayNumber(day) - dayNumber(t) > 4)
                continue;
            for (auto rec : records(f.content))
                EXPECT_TRUE(horses.count(std::string(field(rec, jv::SE::HorseId)))) << f.name;
        }
        // A horse that has run five times has at least five weekly runs, most recent first.
        std::map<std::string, std::vector<std::string>> past;
        for (auto rec : recordsOf("SEQW", thu))
            past[std::string(field(rec, jv::SE::HorseId))].push_back(std::string(field(rec, jv::SE::RaceKey)));
        for (const auto &[horse, count] : raceCount) {
            EXPECT_GE(past[horse].size(), static_cast<std::size_t>(std::min(count, 5))) << horse;
            EXPECT_TRUE(std::is_sorted(past[horse].rbegin(), past[horse].rend())) << horse;
        }
    }
}

TEST(FeedGenerator, ResultsHavePayoutsAgreeingWithTheFinish)
{
    std::map<std::string, std::string> payouts; // race key -> HR record
    for (const auto &f : feed())
        if (f.name.rfind("HRSW", 0) == 0)
            for (auto rec : records(f.content)) {
                EXPECT_EQ(field(rec, jv::HR::Year).data() - rec.data(), 11);
                EXPECT_EQ(std::string(field(rec, jv::HR::RaceKey)).substr(0, 8), f.name.substr(4, 8));
                payouts[std::string(field(rec, jv::HR::RaceKey))] = std::string(rec);
            }
    std::map<std::string, std::vector<std::string_view>> runners;
    for (auto rec : recordsOf("SESW"))
        runners[std::string(field(rec, jv::SE::RaceKey))].push_back(rec);
    int results = 0, deadHeats = 0;
    for (auto ra : recordsOf("RASW")) {
        const std::string key(field(ra, jv::RA::RaceKey));
        if (field(ra, jv::RA::DataKind) == "9")
            continue;
        ++results;
        ASSERT_TRUE(payouts.count(key)) << key;
        const std::string &hr = payouts[key];
        std::set<std::string> winners, seconds;
        std::string oddsOfWinner;
        for (auto se : runners[key]) {
            if (field(se, jv::SE::Abnormality) != "0")
                continue;
            if (field(se, jv::SE::Placing) == "01") {
                winners.insert(std::string(field(se, jv::SE::HorseNumber)));
                oddsOfWinner = field(se, jv::SE::WinOdds);
            }
            if (field(se, jv::SE::Placing) == "02")
                seconds.insert(std::string(field(se, jv::SE::HorseNumber)));
        }
        std::set<std::string> winEntries;
        for (int k = 0; k < 3; ++k)
            if (!isBlank(field(hr, jv::HR::WinHorse.at(k))))
                winEntries.insert(std::string(field(hr, jv::HR::WinHorse.at(k))));
        EXPECT_EQ(winEntries, winners) << key;
        if (winners.size() == 1) {
            EXPECT_EQ(toInt(field(hr, jv::HR::WinPayout.at(0)), "win"), toInt(oddsOfWinner, "odds") * 10);
            if (seconds.size() == 1) {
                std::string a = *winners.begin(), b = *seconds.begin();
                if (a > b)
                    std::swap(a, b);
                EXPECT_EQ(field(hr, jv::HR::QuinellaCombination.at(0)), a + b) << key;
                EXPECT_EQ(field(hr, jv::HR::ExactaCombination.at(0)), *winners.begin() + *seconds.begin());
            }
        } else {
            ++deadHeats;
        }
    }
    EXPECT_GT(results, 50);
    (void)deadHeats;
}

TEST(FeedGenerator, FlatLapsAddUpToTheWinnersTime)
{
    std::map<std::string, int> winnerTime;
    for (auto se : recordsOf("SESW"))
        if (field(se, jv::SE::Placing) == "01" && field(se, jv::SE::Abnormality) == "0") {
            const std::string t(field(se, jv::SE::Time));
            winnerTime[std::string(field(se, jv::SE::RaceKey))] = (t[0] - '0') * 600 + std::stoi(t.substr(1));
        }
    int checked = 0;
    for (auto ra : recordsOf("RASW")) {
        const std::string track(field(ra, jv::RA::Track));
        if (track >= "51" || field(ra, jv::RA::DataKind) != "7")
            continue;
        int sum = 0;
        for (int i = 0; i < 25; ++i)
            sum += static_cast<int>(toInt(field(ra, jv::RA::LapTime.at(i)), "lap"));
        EXPECT_EQ(sum, winnerTime[std::string(field(ra, jv::RA::RaceKey))]);
        ++checked;
    }
    EXPECT_GT(checked, 20);
}

TEST(FeedGenerator, SameSeedSameBytesOtherSeedOtherBytes)
{
    FeedOptions o;
    o.seed = 11;
    o.start = 20240104;
    o.weeks = 1;
    o.venues = 1;
    const auto a = publishFeed(simulateSeason(o));
    const auto b = publishFeed(simulateSeason(o));
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].name, b[i].name);
        EXPECT_TRUE(a[i].content == b[i].content) << a[i].name;
    }
    o.seed = 12;
    const auto c = publishFeed(simulateSeason(o));
    bool differs = c.size() != a.size();
    for (std::size_t i = 0; !differs && i < a.size(); ++i)
        differs = a[i].content != c[i].content;
    EXPECT_TRUE(differs);
}

TEST(FeedGenerator, FeedFolderReadsThroughTheDataLinkUndamaged)
{
    test::TempHome home;
    for (const auto &f : feed())
        home.writeFile("feed/" + f.name, f.content);
    setenv("ZORBE_FEED", (home.path() / "feed").c_str(), 1);
    LocalFeedLink link;
    link.setNow("20991231000000");
    ASSERT_EQ(link.JVInit(std::string(kSoftwareId)), 0);
    int readCount = 0, downloadCount = 0;
    std::string last;
    ASSERT_EQ(link.JVOpen("RACERCOV", "20000101000000", 2, readCount, downloadCount, last), 0);
    EXPECT_EQ(readCount, static_cast<int>(feed().size()));
    while (link.JVStatus() < downloadCount) {
    }
    std::size_t total = 0, expected = 0;
    for (const auto &f : feed())
        expected += records(f.content).size();
    for (;;) {
        std::string buffer, name;
        const int r = link.JVRead(buffer, 60000, name);
        if (r == 0 || r < -1)
            break;
        if (r > 0)
            ++total;
    }
    link.JVClose();
    unsetenv("ZORBE_FEED");
    EXPECT_TRUE(link.damagedRecords().empty());
    EXPECT_EQ(total, expected);
}

TEST(FeedGenerator, CommandLineRefusesBadArguments)
{
    std::ostringstream out, err;
    cli::Streams streams{out, err};
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"feed"}, {"feed", "generate"}, {"feed", "generate", "--out"},
          {"feed", "generate", "--out", "/tmp/x", "--weeks", "0"}, {"feed", "generate", "--out", "/tmp/x", "--start", "20240230"},
          {"feed", "generate", "--out", "/tmp/x", "--venues", "11"}, {"feed", "generate", "--out", "/tmp/x", "--bogus", "1"}})
        EXPECT_EQ(cli::run(args, streams), cli::kExitUsage) << args.back();
    EXPECT_NE(err.str().find("使い方"), std::string::npos);
}

// No earlier winner of a course beat the record the weekly record file
// gives for it.
TEST(FeedGenerator, CourseRecordsAreTheFastestTimes)
{
    auto tenths = [](std::string_view t) { return (t[0] - '0') * 600 + std::stoi(std::string(t.substr(1))); };
    for (const auto &thu : thursdays()) {
        std::map<std::string, int> record;
        for (auto rc : recordsOf("RCPW", thu))
            if (field(rc, jv::RC::RecordKind) == "1")
                record[std::string(field(rc, jv::RC::Venue)) + std::string(field(rc, jv::RC::Track))
                       + std::string(field(rc, jv::RC::Distance)) + std::string(field(rc, jv::RC::RaceKind))]
                    = tenths(field(rc, jv::RC::RecordTime));
        ASSERT_FALSE(record.empty());
        std::map<std::string, std::string> courseOf;
        for (auto ra : recordsOf("RAQW", thu)) {
            const std::string kind(field(ra, jv::RA::RaceKind));
            const std::string group = kind == "11" ? "11" : kind >= "18" ? "19" : "13";
            courseOf[std::string(field(ra, jv::RA::RaceKey))] = std::string(field(ra, jv::RA::Venue))
                                                               + std::string(field(ra, jv::RA::Track))
                                                               + std::string(field(ra, jv::RA::Distance)) + group;
        }
        int compared = 0;
        for (auto se : recordsOf("SEQW", thu)) {
            if (field(se, jv::SE::Placing) != "01" || field(se, jv::SE::Abnormality) != "0")
                continue;
            const auto it = record.find(courseOf[std::string(field(se, jv::SE::RaceKey))]);
            ASSERT_NE(it, record.end());
            EXPECT_GE(tenths(field(se, jv::SE::Time)), it->second);
            ++compared;
        }
        EXPECT_GT(compared, 20);
    }
}
