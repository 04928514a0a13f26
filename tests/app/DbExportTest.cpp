// The collection as a SQLite database: what `zorbe db export` writes from a
// generated three-week download, how a later export replaces only what
// changed, and that a killed export leaves the previous database whole.

#include "link/feedgen/FeedCalendar.h"
#include "link/feedgen/FeedGenerator.h"
#include "model/RaceCard.h"
#include "model/Results.h"
#include "platform/Cp932.h"
#include "platform/Desktop.h"
#include "platform/Fields.h"
#include "platform/Sqlite.h"
#include "platform/WinPath.h"

#include "support/RunCli.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>

extern char **environ;

using namespace zorbe;
namespace fs = std::filesystem;

namespace {

constexpr int kWeeks = 3;

// The loaders' notes are not what these tests look at.
class QuietDesktop : public ConsoleDesktop
{
public:
    void showMessage(const std::string &) override {}
};

fs::path cardFolder(const fs::path &home)
{
    return home / "drives/d/zorbeLab/JRA";
}
fs::path resultsFolder(const fs::path &home)
{
    return home / "drives/d/zorbeLab/sei";
}

std::vector<fs::path> filesWith(const fs::path &folder, const std::string &extension)
{
    std::vector<fs::path> out;
    for (const auto &e : fs::directory_iterator(folder))
        if (e.path().extension() == extension)
            out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

std::int64_t count(sqlite::Database &db, const std::string &table, const std::string &where = "")
{
    return db.queryInt("SELECT COUNT(*) FROM " + table + (where.empty() ? "" : " WHERE " + where)).value_or(-1);
}

const std::vector<std::string> kAllTables{"race_day",      "race",   "runner", "past_race", "result_race",
                                          "result_runner", "payout", "jockey", "trainer",   "time_correction"};

// Every row of the tables as text, for comparing two databases.
std::string dump(const fs::path &file, const std::vector<std::string> &tables = kAllTables)
{
    sqlite::Database db(file);
    std::string out;
    for (const std::string &t : tables) {
        sqlite::Statement s = db.prepare("SELECT * FROM " + t + " ORDER BY 1,2,3,4,5");
        while (s.step()) {
            out += t;
            for (int c = 0; c < s.columnCount(); ++c)
                out += "|" + (s.isNull(c) ? std::string("NULL") : s.columnText(c));
            out += '\n';
        }
    }
    return out;
}

// The first line where two dumps differ ("" when they are the same).
std::string firstDifference(const std::string &a, const std::string &b)
{
    std::istringstream x(a), y(b);
    std::string l, m;
    for (;;) {
        const bool more = static_cast<bool>(std::getline(x, l)), other = static_cast<bool>(std::getline(y, m));
        if (!more && !other)
            return {};
        if (!more || !other || l != m)
            return "- " + (more ? l : "(end)") + "\n+ " + (other ? m : "(end)");
    }
}

// Runs the program itself with a stop point; true when it was killed there.
bool killedExport(const fs::path &home, const std::string &stopAt, std::vector<std::string> args)
{
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e)
        if (std::string(*e).rfind("ZORBE_", 0) != 0)
            env.emplace_back(*e);
    env.push_back("ZORBE_HOME=" + home.string());
    env.push_back("ZORBE_STOP_AT=" + stopAt);
    std::vector<char *> envp;
    for (auto &v : env)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    args.insert(args.begin(), ZORBE_EXECUTABLE);
    std::vector<char *> argv;
    for (auto &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// One generated three-week download, made once. Its downloads run with
// [db] auto = "1", so the database it holds was kept current by them.
class DbExport : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_source = new test::TempHome();
        feedgen::FeedOptions options;
        options.weeks = kWeeks;
        ASSERT_GT(feedgen::generateFeed(options, WinPath::fromNative(s_source->path() / "feed"), WinPath()), 0);
        ::setenv("ZORBE_FEED", (s_source->path() / "feed").c_str(), 1);
        // The figures take the jockeys' and trainers' rates from the masters
        // the conversions keep.
        test::runCli({"settings", "set", "kisyufile", "kisyu", "d:\\zorbelab\\dat\\KISYU.DAT"});
        test::runCli({"settings", "set", "tekifile", "cyoukyou", "d:\\zorbelab\\dat\\CHOKYOSI.DAT"});
        test::runCli({"settings", "set", "db", "auto", "1"});
        const int thursday = feedgen::dayNumber(options.start);
        for (int w = 0; w < kWeeks; ++w)
            for (int offset : {0, 1, 4}) {
                const std::string now = feedgen::dateText(feedgen::dateOf(thursday + 7 * w + offset)) + "235959";
                const test::CliResult r = test::runCli({"download", "--now", now});
                ASSERT_EQ(r.code, 0) << r.out << r.err;
                s_downloadOutput += r.out;
            }
        ::unsetenv("ZORBE_FEED");
    }
    static void TearDownTestSuite()
    {
        delete s_source;
        s_source = nullptr;
    }

    // A home of its own holding the download's files and settings, without
    // the database the downloads wrote.
    void SetUp() override
    {
        fs::copy(s_source->path() / "drives", home.path() / "drives", fs::copy_options::recursive);
        fs::copy(s_source->path() / "zorbelab.Ini", home.path() / "zorbelab.Ini");
    }

    fs::path database() const { return home.path() / "zorbe.sqlite"; }

    test::CliResult exportDb(std::vector<std::string> extra = {})
    {
        extra.insert(extra.begin(), {"db", "export"});
        return test::runCli(extra);
    }

    static test::TempHome *s_source;
    static std::string s_downloadOutput;
    test::TempHome home;
};

test::TempHome *DbExport::s_source = nullptr;
std::string DbExport::s_downloadOutput;

TEST_F(DbExport, RowCountsMatchTheSourceFiles)
{
    const test::CliResult r = exportDb();
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find(database().string()), std::string::npos);

    const auto cards = filesWith(cardFolder(home.path()), ".RDT");
    const auto results = filesWith(resultsFolder(home.path()), ".SDT");
    ASSERT_GE(cards.size(), 6u);
    ASSERT_GE(results.size(), 6u);
    EXPECT_NE(r.out.find("追加 " + std::to_string(cards.size()) + " 日"), std::string::npos) << r.out;

    std::int64_t races = 0, runners = 0, pastRaces = 0;
    QuietDesktop desktop;
    auto card = makeRaceCard();
    for (const fs::path &f : cards) {
        races += static_cast<std::int64_t>(fs::file_size(f) / 1463);
        LoadRaceDay(*card, WinPath::fromNative(f), "", "1", WinPath::fromNative(home.path() / "x"), desktop);
        for (int rr = 0; rr < card->RaceCount; ++rr)
            for (int i = 0; i < card->entriesOf(rr); ++i)
                for (int k = 1; k <= 5; ++k) {
                    const std::string &year = card->PastYear[static_cast<std::size_t>(card->FirstHorse(rr) + i)][k];
                    pastRaces += year.size() == 4 && year != "0000" && isDigits(year);
                }
        for (int rr = 0; rr < card->RaceCount; ++rr)
            runners += card->entriesOf(rr);
    }
    std::int64_t resultRaces = 0, resultRunners = 0, wins = 0;
    auto res = makeResults();
    for (const fs::path &f : results) {
        resultRaces += static_cast<std::int64_t>(fs::file_size(f) / 3048);
        res->ResultFileName = WinPath::fromNative(f).text();
        LoadResults(*res);
        for (int q = 1; q <= res->ResultCount; ++q) {
            resultRunners += std::stoi(res->ResEntries[static_cast<std::size_t>(q)]);
            for (int e = 1; e <= 3; ++e)
                wins += res->ResWin[static_cast<std::size_t>(q)][static_cast<std::size_t>(e)].substr(2, 7) != "0000000";
        }
    }

    sqlite::Database db(database());
    EXPECT_EQ(count(db, "race_day"), static_cast<std::int64_t>(std::max(cards.size(), results.size())));
    EXPECT_EQ(count(db, "race"), races);
    EXPECT_EQ(count(db, "runner"), runners);
    EXPECT_EQ(count(db, "past_race"), pastRaces);
    EXPECT_EQ(count(db, "result_race"), resultRaces);
    EXPECT_EQ(count(db, "result_runner"), resultRunners);
    EXPECT_EQ(count(db, "payout", "pick_type = 'win'"), wins);
    EXPECT_GE(count(db, "payout", "pick_type = 'wide'"), 3 * resultRaces - count(db, "result_race", "starters < 8"));
    EXPECT_EQ(count(db, "jockey"),
              static_cast<std::int64_t>(fs::file_size(toNative(WinPath("d:\\zorbelab\\dat\\KISYU.DAT"))) / 52));
    EXPECT_EQ(count(db, "trainer"),
              static_cast<std::int64_t>(fs::file_size(toNative(WinPath("d:\\zorbelab\\dat\\CHOKYOSI.DAT"))) / 52));
    EXPECT_EQ(count(db, "time_correction"), resultRaces);
    // Every join key resolves.
    EXPECT_EQ(db.queryText("PRAGMA foreign_key_check"), std::nullopt);
    EXPECT_EQ(db.queryText("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(db.queryText("PRAGMA journal_mode"), "wal");
    EXPECT_EQ(count(db, "runner r", "NOT EXISTS (SELECT 1 FROM jockey j WHERE j.code = r.jockey_code)"), 0);

    // The downloads, with [db] auto on, kept the same database current.
    // Only the figures differ: each day keeps those of the masters of the
    // week it was written in.
    EXPECT_NE(s_downloadOutput.find("データベース出力: "), std::string::npos);
    std::vector<std::string> tables = kAllTables;
    tables.erase(std::find(tables.begin(), tables.end(), "runner"));
    EXPECT_EQ(firstDifference(dump(s_source->path() / "zorbe.sqlite", tables), dump(database(), tables)), "");
    sqlite::Database kept(s_source->path() / "zorbe.sqlite");
    EXPECT_EQ(count(kept, "runner"), runners);
}

TEST_F(DbExport, ARaceReadsBackAsItsRaceCardAndFigures)
{
    ASSERT_EQ(exportDb().code, 0);
    const fs::path rdt = filesWith(cardFolder(home.path()), ".RDT").back();
    const test::CliResult figures = test::runCli({"figures", rdt.string(), "--race", "11"});
    ASSERT_EQ(figures.code, 0) << figures.err;

    QuietDesktop desktop;
    auto card = makeRaceCard();
    LoadRaceDay(*card, WinPath::fromNative(rdt), "", "1", WinPath::fromNative(home.path() / "x"), desktop);
    const std::size_t r = 10;
    const std::string date = card->MeetYear + "-" + card->MeetMonth + "-" + card->MeetDay;

    sqlite::Database db(database());
    sqlite::Statement race = db.prepare("SELECT name, distance, track_code, class_code, entries, start_time, "
                                        "venue FROM race WHERE date = ? AND venue_code = ? AND race_no = 11");
    race.bind(1, date).bind(2, card->RaceVenue[r]);
    ASSERT_TRUE(race.step());
    std::string name = cp932::toUtf8(card->RaceName[r]);
    while (name.size() >= 3 && name.compare(name.size() - 3, 3, "\xE3\x80\x80") == 0)
        name.resize(name.size() - 3);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    EXPECT_EQ(race.columnText(0), name);
    EXPECT_EQ(race.columnInt(1), std::stoi(card->RaceDistance[r]));
    EXPECT_EQ(race.columnText(2), card->RaceTrack[r]);
    EXPECT_EQ(race.columnText(3), card->RaceClass[r][5]);
    EXPECT_EQ(race.columnInt(4), card->entriesOf(static_cast<int>(r)));
    EXPECT_EQ(race.columnText(5), card->RaceStartTime[r].substr(0, 2) + ":" + card->RaceStartTime[r].substr(2));
    EXPECT_FALSE(race.columnText(6).empty());

    // One line per runner: race, number, horse id, the three figures, the
    // deviation sums and counts, the rest interval.
    sqlite::Statement runner = db.prepare(
        "SELECT horse_no, horse_id, printf('%.6f', honshi_figure), printf('%.6f', tora_figure), "
        "printf('%.6f', time_figure), turf_dev_sum, turf_dev_count, dirt_dev_sum, dirt_dev_count, rest_months, "
        "weight, jockey_code, honshi_rank, honshi_mark FROM runner "
        "WHERE date = ? AND venue_code = ? AND race_no = 11 ORDER BY horse_no");
    runner.bind(1, date).bind(2, card->RaceVenue[r]);
    std::istringstream lines(figures.out);
    std::string line;
    int runners = 0, topPicks = 0;
    const int first = card->FirstHorse(static_cast<int>(r));
    while (std::getline(lines, line) && line.rfind("NoHistoryCount", 0) != 0) {
        ASSERT_TRUE(runner.step()) << line;
        std::string row = "11";
        for (int c = 0; c < 10; ++c)
            row += "\t" + runner.columnText(c);
        EXPECT_EQ(row, line);
        const std::size_t j = static_cast<std::size_t>(runner.columnInt(0));
        EXPECT_DOUBLE_EQ(runner.columnDouble(10), std::stoi(card->EntryWeight[r][j]) / 10.0);
        EXPECT_EQ(runner.columnText(11), card->EntryJockeyCode[r][j]);
        EXPECT_EQ(card->HorseId[static_cast<std::size_t>(first) + j - 1], runner.columnText(1));
        if (!runner.isNull(12) && runner.columnInt(12) == 1) {
            ++topPicks;
            EXPECT_EQ(runner.columnText(13), "◎");
        }
        ++runners;
    }
    EXPECT_FALSE(runner.step());
    EXPECT_EQ(runners, card->entriesOf(static_cast<int>(r)));
    EXPECT_EQ(topPicks, 1);
}

TEST_F(DbExport, ALaterExportReplacesOnlyTheDaysThatChanged)
{
    ASSERT_EQ(exportDb().code, 0);
    const auto cards = filesWith(cardFolder(home.path()), ".RDT");
    const std::string days = std::to_string(cards.size());
    test::CliResult r = exportDb();
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("追加 0 日、置換 0 日、変更なし " + days + " 日、削除 0 日\n"), std::string::npos) << r.out;

    // A corrected results file of one day: the winner's payout changes.
    const fs::path sdt = filesWith(resultsFolder(home.path()), ".SDT").front();
    std::string bytes = test::readNative(sdt);
    auto res = makeResults();
    res->ResultFileName = WinPath::fromNative(sdt).text();
    LoadResults(*res);
    const std::string date = res->ResultYear + "-" + res->ResMonthDay[1].substr(0, 2) + "-" +
                             res->ResMonthDay[1].substr(2);
    const std::string oldWin = res->ResWin[1][1];
    const std::size_t at = bytes.find(oldWin);
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at + 2, 7, "0012340");
    std::ofstream(sdt, std::ios::binary) << bytes;

    sqlite::Database before(database());
    const std::int64_t otherRows = count(before, "runner", "date <> '" + date + "'");
    r = exportDb();
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("追加 0 日、置換 1 日、変更なし " + std::to_string(cards.size() - 1) + " 日"),
              std::string::npos)
        << r.out;
    sqlite::Database db(database());
    EXPECT_EQ(db.queryInt("SELECT payout FROM payout WHERE date = '" + date + "' AND venue_code = '" +
                          res->ResVenue[1] + "' AND race_no = 1 AND pick_type = 'win' AND seq = 1"),
              12340);
    EXPECT_EQ(count(db, "runner", "date <> '" + date + "'"), otherRows);

    // A day whose files are gone leaves the database; --full redoes all.
    const fs::path gone = cards.front();
    const std::string stem = gone.stem().string();
    fs::remove(gone);
    fs::remove(fs::path(gone).replace_extension(".HDT"));
    fs::remove(resultsFolder(home.path()) / (stem + ".SDT"));
    r = exportDb();
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("削除 1 日"), std::string::npos) << r.out;
    EXPECT_EQ(count(db, "race_day", "source = '" + stem + "'"), 0);
    EXPECT_EQ(count(db, "race_day"), static_cast<std::int64_t>(cards.size() - 1));
    EXPECT_EQ(db.queryText("PRAGMA foreign_key_check"), std::nullopt);
    r = exportDb({"--full"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("置換 " + std::to_string(cards.size() - 1) + " 日"), std::string::npos) << r.out;
}

TEST_F(DbExport, AKilledExportLeavesThePreviousDatabaseWhole)
{
    ASSERT_EQ(exportDb().code, 0);
    const std::string before = dump(database());
    // Killed with the rows of the first, then the third day written and not
    // committed: the days before it are whole new (the same rows), the rest
    // whole old.
    for (const char *stopAt : {"dbday:1", "dbday:3"}) {
        SCOPED_TRACE(stopAt);
        ASSERT_TRUE(killedExport(home.path(), stopAt, {"db", "export", "--full"}));
        {
            sqlite::Database db(database());
            EXPECT_EQ(db.queryText("PRAGMA integrity_check"), "ok");
        }
        EXPECT_EQ(firstDifference(dump(database()), before), "");
    }
    // A killed export of a changed day leaves its old rows; the next export
    // writes it.
    const fs::path sdt = filesWith(resultsFolder(home.path()), ".SDT").front();
    std::string bytes = test::readNative(sdt);
    bytes += bytes.substr(0, 3048); // one more race
    std::ofstream(sdt, std::ios::binary) << bytes;
    ASSERT_TRUE(killedExport(home.path(), "dbday:1", {"db", "export"}));
    EXPECT_EQ(firstDifference(dump(database()), before), "");
    const test::CliResult r = exportDb();
    EXPECT_NE(r.out.find("置換 1 日"), std::string::npos) << r.out << r.err;
}

TEST_F(DbExport, ADamagedDayIsNamedAndTheOtherDaysAreWritten)
{
    ASSERT_EQ(exportDb().code, 0);
    const auto cards = filesWith(cardFolder(home.path()), ".RDT");
    // A race card cut inside its first record, and a results file that is
    // not one.
    const fs::path rdt = cards.back();
    const std::string stem = rdt.stem().string();
    std::string bytes = test::readNative(rdt);
    std::ofstream(rdt, std::ios::binary) << bytes.substr(0, 700);
    std::ofstream(resultsFolder(home.path()) / "東京20991231.SDT", std::ios::binary) << std::string(3048, 'x');
    const test::CliResult r = exportDb();
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find(stem), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("東京20991231"), std::string::npos) << r.err;
    // The damaged day keeps its rows of the last export.
    sqlite::Database db(database());
    EXPECT_EQ(count(db, "race_day"), static_cast<std::int64_t>(cards.size()));
    EXPECT_EQ(count(db, "race", "date || venue_code IN (SELECT date || venue_code FROM race_day WHERE source = '" +
                                    stem + "')"),
              12);
    // Put right, it is written at the next export.
    std::ofstream(rdt, std::ios::binary) << bytes;
    fs::remove(resultsFolder(home.path()) / "東京20991231.SDT");
    const test::CliResult again = exportDb();
    EXPECT_EQ(again.code, 0) << again.err;
    // A results file that holds race 1 twice is the day's fault too.
    const fs::path sdt = filesWith(resultsFolder(home.path()), ".SDT").front();
    const std::string results = test::readNative(sdt);
    std::ofstream(sdt, std::ios::binary) << results.substr(0, 3048) + results.substr(0, 3048) + results.substr(6096);
    const test::CliResult twice = exportDb();
    EXPECT_EQ(twice.code, 1);
    EXPECT_NE(twice.err.find(sdt.stem().string() + ": "), std::string::npos) << twice.err;
    EXPECT_EQ(count(db, "result_race", "date || venue_code IN (SELECT date || venue_code FROM race_day WHERE source = '" +
                                           sdt.stem().string() + "')"),
              static_cast<std::int64_t>(results.size() / 3048));
    std::ofstream(sdt, std::ios::binary) << results;

    // A race-card folder that is not there does not empty the database.
    const std::int64_t races = count(db, "race");
    fs::rename(cardFolder(home.path()), home.path() / "elsewhere");
    const test::CliResult missing = exportDb();
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("フォルダがありません"), std::string::npos) << missing.err;
    EXPECT_EQ(count(db, "race"), races);
    fs::rename(home.path() / "elsewhere", cardFolder(home.path()));

    // A file that is not a database is refused and left as it is.
    const fs::path notes = home.path() / "notes.txt";
    std::ofstream(notes, std::ios::binary) << std::string(4096, 'n');
    const test::CliResult refused = exportDb({"--out", notes.string()});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("データベース"), std::string::npos) << refused.err;
    EXPECT_EQ(test::readNative(notes), std::string(4096, 'n'));
    EXPECT_EQ(test::runCli({"db", "export", "--later"}).code, 2);
    EXPECT_EQ(test::runCli({"db"}).code, 2);
}

// The queries the README gives, as a reader runs them.
TEST_F(DbExport, TheReadmeQueriesRun)
{
    ASSERT_EQ(exportDb().code, 0);
    std::ifstream in(fs::path(ZORBE_SOURCE_DIR) / "README.md");
    std::stringstream readme;
    readme << in.rdbuf();
    const std::string text = readme.str();
    const std::regex block("```sql\n([\\s\\S]*?)```");
    std::vector<std::string> queries;
    for (std::sregex_iterator it(text.begin(), text.end(), block), end; it != end; ++it)
        queries.push_back((*it)[1]);
    ASSERT_EQ(queries.size(), 3u);

    sqlite::Database db(database());
    for (std::string q : queries) {
        SCOPED_TRACE(q);
        // The day of the third query: the latest one.
        const std::string latest = *db.queryText("SELECT MAX(date) FROM race");
        q = std::regex_replace(q, std::regex("'2024-06-08'"), "'" + latest + "'");
        const std::string jockey = *db.queryText("SELECT jockey_code FROM result_runner GROUP BY jockey_code "
                                                 "ORDER BY COUNT(*) DESC LIMIT 1");
        q = std::regex_replace(q, std::regex("'00100'"), "'" + jockey + "'");
        sqlite::Statement s = db.prepare(q);
        int rows = 0;
        while (s.step()) {
            ++rows;
            for (int c = 0; c < s.columnCount(); ++c)
                EXPECT_FALSE(s.columnText(c).empty() && !s.isNull(c));
        }
        EXPECT_GT(rows, 0);
    }
}

} // namespace
