#include "export/SqliteExport.h"

#include "data/convert/ConversionSupport.h"
#include "data/formats/Codes.h"
#include "data/formats/MasterFormats.h"
#include "db/PersonDetails.h"
#include "db/ResultsFile.h"
#include "index/TimeIndex.h"
#include "model/RaceCard.h"
#include "model/Results.h"
#include "paper/Newspaper.h"
#include "paper/Picks.h"
#include "platform/Cp932.h"
#include "platform/Desktop.h"
#include "platform/Fields.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "platform/Sqlite.h"
#include "platform/StopPoint.h"
#include "shell/LabelTables.h"
#include "shell/MasterTables.h"
#include "shell/Settings.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <type_traits>

namespace zorbe::dbexport {

namespace codes = formats::codes;
using sqlite::Statement;
using OptInt = std::optional<std::int64_t>;
using OptText = std::optional<std::string>;

namespace {

// The version of the tables below; a file of another version is rebuilt.
constexpr int kSchemaVersion = 1;

const char *const kSchema = R"SQL(
CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE source_day (source TEXT PRIMARY KEY, signature TEXT NOT NULL);
CREATE TABLE race_day (
  date TEXT NOT NULL, venue_code TEXT NOT NULL, venue TEXT, kai INTEGER, nichi INTEGER,
  source TEXT NOT NULL REFERENCES source_day(source) ON DELETE CASCADE,
  races INTEGER, results INTEGER,
  PRIMARY KEY (date, venue_code));
CREATE INDEX race_day_source ON race_day(source);
CREATE TABLE race (
  date TEXT NOT NULL, venue_code TEXT NOT NULL, race_no INTEGER NOT NULL, venue TEXT,
  name TEXT, edition INTEGER, grade_code TEXT, grade TEXT, kind_code TEXT, kind TEXT, symbol_code TEXT,
  weight_rule_code TEXT, weight_rule TEXT, class_code TEXT, class TEXT,
  distance INTEGER, track_code TEXT, track TEXT, course_code TEXT, start_time TEXT, entries INTEGER,
  prize1 INTEGER, prize2 INTEGER, prize3 INTEGER, prize4 INTEGER, prize5 INTEGER,
  record_time REAL, record_horse TEXT, picks_shown INTEGER NOT NULL, no_history_count INTEGER,
  PRIMARY KEY (date, venue_code, race_no),
  FOREIGN KEY (date, venue_code) REFERENCES race_day(date, venue_code) ON DELETE CASCADE);
CREATE TABLE runner (
  date TEXT NOT NULL, venue_code TEXT NOT NULL, race_no INTEGER NOT NULL, horse_no INTEGER NOT NULL,
  horse_id TEXT NOT NULL, horse_name TEXT, sex_code TEXT, sex TEXT, coat_code TEXT, coat TEXT,
  breed_code TEXT, breed TEXT, birth_date TEXT, sire TEXT, dam TEXT, dam_sire TEXT, owner TEXT, breeder TEXT,
  weight REAL, blinker INTEGER, jockey_code TEXT, jockey_name TEXT, apprentice_code TEXT,
  trainer_code TEXT, trainer_name TEXT, rest_months INTEGER,
  honshi_figure REAL, tora_figure REAL, time_figure REAL,
  base_figure REAL, pace_figure REAL, venue_figure REAL, human_factor REAL,
  turf_dev_sum INTEGER, turf_dev_count INTEGER, dirt_dev_sum INTEGER, dirt_dev_count INTEGER,
  honshi_rank INTEGER, tora_rank INTEGER, time_rank INTEGER,
  honshi_mark TEXT, tora_mark TEXT, time_mark TEXT,
  PRIMARY KEY (date, venue_code, race_no, horse_no),
  FOREIGN KEY (date, venue_code, race_no) REFERENCES race(date, venue_code, race_no) ON DELETE CASCADE);
CREATE INDEX runner_horse ON runner(horse_id);
CREATE INDEX runner_jockey ON runner(jockey_code);
CREATE INDEX runner_trainer ON runner(trainer_code);
CREATE TABLE past_race (
  date TEXT NOT NULL, venue_code TEXT NOT NULL, race_no INTEGER NOT NULL, horse_no INTEGER NOT NULL,
  k INTEGER NOT NULL, horse_id TEXT NOT NULL,
  past_date TEXT, past_venue_code TEXT, past_venue TEXT, past_kai INTEGER, past_nichi INTEGER,
  past_race_no INTEGER, race_name TEXT, grade_code TEXT, class_code TEXT, class TEXT, distance INTEGER,
  track_code TEXT, track TEXT, going_code TEXT, going TEXT, weather_code TEXT, weather TEXT,
  starters INTEGER, past_horse_no INTEGER, bracket INTEGER, weight REAL, jockey_code TEXT, jockey_name TEXT,
  trainer_code TEXT, abnormal_code TEXT, body_weight INTEGER, body_change INTEGER,
  corner1 INTEGER, corner2 INTEGER, corner3 INTEGER, corner4 INTEGER,
  last3f REAL, time REAL, margin_code TEXT, finish INTEGER, popularity INTEGER, win_odds REAL,
  rival_id TEXT, rival_name TEXT, time_diff TEXT,
  PRIMARY KEY (date, venue_code, race_no, horse_no, k),
  FOREIGN KEY (date, venue_code, race_no, horse_no) REFERENCES runner(date, venue_code, race_no, horse_no)
    ON DELETE CASCADE);
CREATE INDEX past_race_horse ON past_race(horse_id);
CREATE TABLE result_race (
  date TEXT NOT NULL, venue_code TEXT NOT NULL, race_no INTEGER NOT NULL, venue TEXT, kai INTEGER, nichi INTEGER,
  name TEXT, short_name TEXT, grade_code TEXT, grade TEXT, kind_code TEXT, kind TEXT,
  weight_rule_code TEXT, weight_rule TEXT, class_code TEXT, class TEXT,
  distance INTEGER, track_code TEXT, track TEXT, going_code TEXT, going TEXT, weather_code TEXT, weather TEXT,
  entries INTEGER, starters INTEGER, finishers INTEGER, laps TEXT,
  PRIMARY KEY (date, venue_code, race_no),
  FOREIGN KEY (date, venue_code) REFERENCES race_day(date, venue_code) ON DELETE CASCADE);
CREATE TABLE result_runner (
  date TEXT NOT NULL, venue_code TEXT NOT NULL, race_no INTEGER NOT NULL, horse_no INTEGER NOT NULL,
  bracket INTEGER, horse_id TEXT, horse_name TEXT, sex_code TEXT, sex TEXT, weight REAL, blinker INTEGER,
  jockey_code TEXT, jockey_name TEXT, apprentice_code TEXT, trainer_code TEXT, trainer_name TEXT,
  abnormal_code TEXT, abnormal TEXT, body_weight INTEGER, body_change INTEGER,
  corner1 INTEGER, corner2 INTEGER, corner3 INTEGER, corner4 INTEGER,
  last4f REAL, last3f REAL, time REAL, margin_code TEXT, margin TEXT,
  arrival INTEGER, finish INTEGER, popularity INTEGER, win_odds REAL, prize INTEGER, added_prize INTEGER,
  PRIMARY KEY (date, venue_code, race_no, horse_no),
  FOREIGN KEY (date, venue_code, race_no) REFERENCES result_race(date, venue_code, race_no) ON DELETE CASCADE);
CREATE INDEX result_runner_horse ON result_runner(horse_id);
CREATE INDEX result_runner_jockey ON result_runner(jockey_code);
CREATE INDEX result_runner_trainer ON result_runner(trainer_code);
CREATE TABLE payout (
  date TEXT NOT NULL, venue_code TEXT NOT NULL, race_no INTEGER NOT NULL, pick_type TEXT NOT NULL,
  seq INTEGER NOT NULL, combination TEXT NOT NULL, first INTEGER, second INTEGER,
  payout INTEGER NOT NULL, popularity INTEGER,
  PRIMARY KEY (date, venue_code, race_no, pick_type, seq),
  FOREIGN KEY (date, venue_code, race_no) REFERENCES result_race(date, venue_code, race_no) ON DELETE CASCADE);
CREATE TABLE jockey (
  code TEXT PRIMARY KEY, name TEXT, short_name TEXT, kana_name TEXT, birth_date TEXT,
  affiliation_code TEXT, retired INTEGER, first_licence_year INTEGER, trainer_code TEXT,
  wins INTEGER, seconds INTEGER, thirds INTEGER, others INTEGER, top_two_rate REAL,
  career_wins INTEGER, career_seconds INTEGER, career_thirds INTEGER, career_others INTEGER);
CREATE TABLE trainer (
  code TEXT PRIMARY KEY, name TEXT, short_name TEXT, kana_name TEXT, birth_date TEXT,
  affiliation_code TEXT, retired INTEGER, first_licence_year INTEGER,
  wins INTEGER, seconds INTEGER, thirds INTEGER, others INTEGER, top_two_rate REAL,
  career_wins INTEGER, career_seconds INTEGER, career_thirds INTEGER, career_others INTEGER);
CREATE TABLE time_correction (
  year INTEGER NOT NULL, venue_code TEXT NOT NULL, venue TEXT, kai INTEGER NOT NULL, nichi INTEGER NOT NULL,
  race_no INTEGER NOT NULL, std_time REAL, std_last3f REAL, early3f REAL, distance INTEGER,
  track_code TEXT, track TEXT,
  PRIMARY KEY (year, venue_code, kai, nichi, race_no));
)SQL";

const char *const kTables[] = {"payout", "result_runner", "result_race", "past_race", "runner", "race",
                               "race_day", "source_day", "jockey", "trainer", "time_correction", "meta"};

// ------------------------------------------------------------ values

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\0'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

// A stored text as UTF-8 without the blanks (ASCII and full-width) that pad
// it; nothing when that leaves nothing.
OptText text(std::string_view sjis)
{
    std::string u = cp932::toUtf8(trimmed(sjis));
    static const std::string wide = "\xE3\x80\x80"; // U+3000
    while (u.size() >= wide.size() && u.compare(u.size() - wide.size(), wide.size(), wide) == 0)
        u.resize(u.size() - wide.size());
    while (u.size() >= wide.size() && u.compare(0, wide.size(), wide) == 0)
        u.erase(0, wide.size());
    while (!u.empty() && u.back() == ' ')
        u.pop_back();
    if (u.empty())
        return std::nullopt;
    return u;
}

// A code as stored (blanks around it removed); nothing when blank.
OptText code(std::string_view stored)
{
    const std::string_view t = trimmed(stored);
    if (t.empty())
        return std::nullopt;
    return std::string(t);
}

// The UTF-8 name of a code in a table; nothing for a code it does not hold.
OptText named(const codes::CodeTable &table, std::string_view stored)
{
    const std::string_view n = table.utf8Name(stored);
    if (n.empty())
        return std::nullopt;
    return std::string(n);
}

// A stored number, optionally signed ("+04", "-12", " 3"); nothing when blank
// or not a number.
OptInt number(std::string_view stored)
{
    std::string_view t = trimmed(stored);
    bool negative = false;
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
        t = trimmed(t);
    }
    if (t.empty() || t.size() > 15 || !isDigits(t))
        return std::nullopt;
    std::int64_t v = 0;
    for (char c : t)
        v = v * 10 + (c - '0');
    return negative ? -v : v;
}

// A number where zero means "none" (placings, corners, a runner's number).
OptInt positive(std::string_view stored)
{
    const OptInt v = number(stored);
    if (v && *v == 0)
        return std::nullopt;
    return v;
}

// Tenths ("570" kg, "034" odds, "345" seconds) as a decimal; zero is none.
std::optional<double> tenths(std::string_view stored)
{
    const OptInt v = positive(stored);
    if (!v)
        return std::nullopt;
    return static_cast<double>(*v) / 10.0;
}

// A time "MSST" (minutes, seconds, tenths) in seconds; zero is none.
std::optional<double> raceTime(std::string_view stored)
{
    if (trimmed(stored).size() != 4)
        return std::nullopt;
    const OptInt m = number(stored.substr(0, 1)), rest = number(stored.substr(1));
    if (!m || !rest || (*m == 0 && *rest == 0))
        return std::nullopt;
    return static_cast<double>(*m * 600 + *rest) / 10.0;
}

// "2024-06-08" from a year and "MMDD" (or from "yyyymmdd"); nothing for a
// blank or all-zero date.
OptText isoDate(std::string_view year, std::string_view monthDay)
{
    if (year.size() != 4 || monthDay.size() != 4 || !isDigits(year) || !isDigits(monthDay) || year == "0000" ||
        monthDay == "0000")
        return std::nullopt;
    return std::string(year) + "-" + std::string(monthDay.substr(0, 2)) + "-" + std::string(monthDay.substr(2));
}
OptText isoDate(std::string_view yyyymmdd)
{
    if (yyyymmdd.size() != 8)
        return std::nullopt;
    return isoDate(yyyymmdd.substr(0, 4), yyyymmdd.substr(4));
}

// "HH:MM" from "HHMM".
OptText clockTime(std::string_view hhmm)
{
    if (hhmm.size() != 4 || !isDigits(hhmm))
        return std::nullopt;
    return std::string(hhmm.substr(0, 2)) + ":" + std::string(hhmm.substr(2));
}

// A bound list of columns: binds each value in turn.
class Row
{
public:
    explicit Row(Statement &s) : m_s(s) {}
    template <class T> Row &operator<<(const T &v)
    {
        m_s.bind(++m_i, v);
        return *this;
    }
    void run() { m_s.run(); }

private:
    Statement &m_s;
    int m_i = 0;
};

std::string insertSql(std::string_view table, int columns)
{
    std::string sql = "INSERT INTO " + std::string(table) + " VALUES (";
    for (int i = 0; i < columns; ++i)
        sql += i ? ",?" : "?";
    return sql + ")";
}

int columnsOf(sqlite::Database &db, std::string_view table)
{
    Statement s = db.prepare("SELECT * FROM " + std::string(table) + " LIMIT 0");
    return s.columnCount();
}

// ------------------------------------------------------------ signatures

// FNV-1a, 64 bits: a change of any byte of a file changes its signature.
void hashInto(std::uint64_t &h, std::string_view bytes)
{
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
}

std::string hexOf(std::uint64_t h)
{
    static const char *const digits = "0123456789abcdef";
    std::string s(16, '0');
    for (int i = 15; i >= 0; --i, h >>= 4)
        s[static_cast<std::size_t>(i)] = digits[h & 15];
    return s;
}

// The signature of a list of files (a missing one counts as such) and of
// the settings texts given.
std::string signatureOf(const std::vector<WinPath> &paths, const std::vector<std::string> &settings)
{
    std::uint64_t h = 14695981039346656037ull;
    for (const WinPath &p : paths) {
        const auto bytes = files::readIfExists(p);
        hashInto(h, bytes ? "+" + std::to_string(bytes->size()) + ":" : std::string("-"));
        if (bytes)
            hashInto(h, *bytes);
    }
    for (const std::string &s : settings) {
        hashInto(h, s);
        hashInto(h, "\x1f");
    }
    return hexOf(h);
}

// ------------------------------------------------------------ loading

// The loaders' notes (a missing time-correction or master file) once each.
class NoteDesktop : public ConsoleDesktop
{
public:
    void showMessage(const std::string &text) override
    {
        if (seen.insert(text).second)
            notes.push_back(text);
    }
    void showError(const std::string &text) override { errors.push_back(text); }
    std::set<std::string> seen;
    std::vector<std::string> notes, errors;
};

// A source day's files, by the name they share.
struct SourceDay
{
    std::string stem; // cp932, e.g. 東京20240608
    WinPath card, horses, results;
    bool hasCard = false, hasResults = false;
};

std::string stemOf(const std::string &name, std::string_view extension)
{
    if (name.size() <= extension.size())
        return {};
    const std::string ext = name.substr(name.size() - extension.size());
    if (!cp932::equalsIgnoreCase(ext, extension))
        return {};
    return name.substr(0, name.size() - extension.size());
}

std::map<std::string, SourceDay> sourceDays(const ConversionFolders &folders)
{
    std::map<std::string, SourceDay> days;
    // The race cards and the results files, each under the name found on
    // the disk.
    const auto gather = [&](const WinPath &folder, std::string_view extension, WinPath SourceDay::*file,
                            bool SourceDay::*found) {
        for (const std::string &name : files::list(folder)) {
            const std::string stem = stemOf(name, extension);
            if (stem.empty())
                continue;
            SourceDay &d = days[stem];
            d.stem = stem;
            d.*file = folder / name;
            d.*found = true;
        }
    };
    gather(folders.lzhdat, ".RDT", &SourceDay::card, &SourceDay::hasCard);
    gather(folders.seiseki, ".SDT", &SourceDay::results, &SourceDay::hasResults);
    for (auto &[stem, d] : days) {
        if (!d.hasCard)
            d.card = folders.lzhdat / (stem + ".RDT");
        d.horses = withExtension(d.card, ".HDT");
        if (!d.hasResults)
            d.results = folders.seiseki / (stem + ".SDT");
    }
    return days;
}

// Everything the export reads once for all days.
struct Shared
{
    SettingsSnapshot settings;
    TPaperSettings paperSettings;
    MasterTables masters;
    LabelTables labels;
    NoteDesktop desktop;
    int pastRaces = 0;
};

// ------------------------------------------------------------ one day

class DayWriter
{
public:
    explicit DayWriter(sqlite::Database &db)
        : m_db(db)
        , m_sourceDay(db.prepare("INSERT OR REPLACE INTO source_day VALUES (?,?)"))
        , m_raceDay(db.prepare(insertSql("race_day", columnsOf(db, "race_day"))))
        , m_race(db.prepare(insertSql("race", columnsOf(db, "race"))))
        , m_runner(db.prepare(insertSql("runner", columnsOf(db, "runner"))))
        , m_past(db.prepare(insertSql("past_race", columnsOf(db, "past_race"))))
        , m_resultRace(db.prepare(insertSql("result_race", columnsOf(db, "result_race"))))
        , m_resultRunner(db.prepare(insertSql("result_runner", columnsOf(db, "result_runner"))))
        , m_payout(db.prepare(insertSql("payout", columnsOf(db, "payout"))))
        , m_deleteSource(db.prepare("DELETE FROM source_day WHERE source = ?"))
    {
    }

    // Replaces the rows of the day in one transaction. The race card's
    // CurrentRace is moved race by race.
    void write(const std::string &source, const std::string &signature, TRaceCard *card, Shared &shared,
               const TResults *results)
    {
        sqlite::Transaction tx(m_db);
        remove(source);
        Row(m_sourceDay) << source << signature;
        m_sourceDay.run();
        std::string date, venue;
        OptInt kai, nichi;
        if (card && card->RaceCount > 0) {
            date = isoDate(card->MeetYear, card->MeetMonth + card->MeetDay).value_or("");
            venue = card->RaceVenue[0];
            kai = number(card->MeetKai);
            nichi = number(card->MeetNichi);
        } else if (results && results->ResultCount > 0) {
            date = isoDate(results->ResultYear, results->ResMonthDay[1]).value_or("");
            venue = results->ResVenue[1];
            kai = number(results->ResKai[1]);
            nichi = number(results->ResNichi[1]);
        }
        if (date.empty() || venue.empty())
            throw files::DamagedFileError("開催日と競馬場が読めません: " + cp932::toUtf8(source));
        Row(m_raceDay) << date << venue << named(codes::racecourses(), venue) << kai << nichi << source
                       << static_cast<std::int64_t>(card ? card->RaceCount : 0)
                       << static_cast<std::int64_t>(results ? results->ResultCount : 0);
        m_raceDay.run();
        if (card)
            writeCard(date, *card, shared);
        if (results)
            writeResults(date, *results);
        // A killed export stops here with the day's rows written and not
        // committed: the database must still hold the day as it was.
        stopPoint("dbday");
        tx.commit();
    }

    // The rows of a day whose files are gone, in one transaction.
    void drop(const std::string &source)
    {
        sqlite::Transaction tx(m_db);
        remove(source);
        tx.commit();
    }

private:
    void remove(const std::string &source)
    {
        // The day's rows go with its source row (ON DELETE CASCADE).
        Row(m_deleteSource) << source;
        m_deleteSource.run();
    }

    void writeCard(const std::string &date, TRaceCard &c, Shared &shared)
    {
        TNewspaper paper(c, shared.masters, shared.labels);
        paper.settings = shared.paperSettings;
        TRunnerFigures &fig = paper.figures;
        const TFigureInputs in{c, shared.masters, shared.pastRaces};
        const int races = std::clamp(c.RaceCount, 0, TRaceCard::kRaces);
        for (int r = 0; r < races; ++r) {
            const std::size_t ri = static_cast<std::size_t>(r);
            c.CurrentRace = r;
            const int first = c.FirstHorse(r);
            const int n = std::clamp(c.entriesOf(r), 0, TRaceCard::kSlots);
            // Every runner as the newspaper's body computes it: deviation
            // sums from 0, the rest interval from the meeting date.
            fig.NoHistoryCount = 0;
            for (int i = 0; i < n; ++i) {
                const int h = first + i;
                if (h >= TRaceCard::kHorses)
                    throw files::DamagedFileError("馬の数が多すぎます: " + u8(c.RaceCardFileName));
                fig.resetDeviations();
                fig.RestMonths[static_cast<std::size_t>(i)] = RestMonthsOf(c, h);
                ComputeRunnerFigures(in, h, first, fig);
            }
            const TPickTable picks = RankPicks(fig, n);
            std::array<std::array<int, TRaceCard::kSlots + 1>, 3> rankOf{};
            for (std::size_t p = 0; p < 3; ++p)
                for (int rank = 1; rank <= n; ++rank) {
                    const int runner = picks.runner[p][static_cast<std::size_t>(rank)];
                    if (runner >= 1 && runner <= n && rankOf[p][static_cast<std::size_t>(runner)] == 0)
                        rankOf[p][static_cast<std::size_t>(runner)] = rank;
                }

            const std::string &venue = c.RaceVenue[ri];
            const OptInt raceNo = number(c.RaceNo[ri]);
            const std::string &classCode = c.RaceClass[ri][5];
            Row row(m_race);
            row << date << venue << raceNo << named(codes::racecourses(), venue) << text(c.RaceName[ri])
                << positive(c.RaceEdition[ri]) << code(c.RaceGrade[ri]) << named(codes::grades(), c.RaceGrade[ri])
                << code(c.RaceKind[ri]) << named(codes::raceKinds(), c.RaceKind[ri]) << code(c.RaceSymbol[ri])
                << code(c.RaceWeightRule[ri]) << named(codes::weightRules(), c.RaceWeightRule[ri])
                << code(classCode) << text(codes::conditionName(classCode)) << number(c.RaceDistance[ri])
                << code(c.RaceTrack[ri]) << named(codes::tracks(), c.RaceTrack[ri]) << code(c.RaceCourse[ri])
                << clockTime(c.RaceStartTime[ri]) << static_cast<std::int64_t>(n);
            for (std::size_t k = 1; k <= 5; ++k)
                row << number(c.RacePrize[ri][k]);
            row << raceTime(c.RaceRecordTime[ri]) << text(c.RaceRecordHorse[ri])
                << static_cast<std::int64_t>(picksWanted(paper, r) ? 1 : 0)
                << static_cast<std::int64_t>(fig.NoHistoryCount);
            row.run();

            for (int i = 0; i < n; ++i) {
                const std::size_t j = static_cast<std::size_t>(i + 1), s = static_cast<std::size_t>(i);
                const std::size_t h = static_cast<std::size_t>(first + i);
                Row rr(m_runner);
                rr << date << venue << raceNo << static_cast<std::int64_t>(j) << std::string(trimmed(c.HorseId[h]))
                   << text(c.HorseName[h]) << code(c.HorseSex[h]) << named(codes::sexes(), c.HorseSex[h])
                   << code(c.HorseColour[h]) << named(codes::coatColours(), c.HorseColour[h]) << code(c.HorseBreed[h])
                   << named(codes::breeds(), c.HorseBreed[h]) << isoDate(c.HorseBirthDate[h]) << text(c.HorseSire[h])
                   << text(c.HorseDam[h]) << text(c.HorseDamSire[h]) << text(c.HorseOwner[h])
                   << text(c.HorseBreeder[h]) << tenths(c.EntryWeight[ri][j])
                   << static_cast<std::int64_t>(trimmed(c.EntryBlinker[ri][j]) == "1" ? 1 : 0)
                   << code(c.EntryJockeyCode[ri][j]) << text(c.EntryJockeyName[ri][j])
                   << code(c.EntryApprentice[ri][j]) << code(c.EntryTrainerCode[ri][j])
                   << text(c.EntryTrainerName[ri][j]) << static_cast<std::int64_t>(fig.RestMonths[s])
                   << fig.HonshiFigure[s] << fig.ToraFigure[s] << fig.TimeFigure[s] << fig.BaseFigure[s]
                   << fig.PaceFigure[s] << fig.VenueFigure[s] << fig.HumanFactor[s]
                   << static_cast<std::int64_t>(fig.TurfDevSum[s]) << static_cast<std::int64_t>(fig.TurfDevCount[s])
                   << static_cast<std::int64_t>(fig.DirtDevSum[s]) << static_cast<std::int64_t>(fig.DirtDevCount[s]);
                for (std::size_t p = 0; p < 3; ++p)
                    rr << (rankOf[p][j] ? OptInt(rankOf[p][j]) : OptInt());
                for (std::size_t p = 0; p < 3; ++p) {
                    const std::string mark = rankOf[p][j] ? pickMark(rankOf[p][j], n) : std::string();
                    rr << (mark.empty() ? OptText() : OptText(cp932::toUtf8(mark)));
                }
                rr.run();
                writePastRaces(date, venue, raceNo, static_cast<std::int64_t>(j), c, h);
            }
        }
    }

    void writePastRaces(const std::string &date, const std::string &venue, OptInt raceNo, std::int64_t horseNo,
                        const TRaceCard &c, std::size_t h)
    {
        for (std::size_t k = 1; k <= TRaceCard::kPast; ++k) {
            const OptText when = isoDate(c.PastYear[h][k], c.PastMonthDay[h][k]);
            if (!when)
                continue;
            Row row(m_past);
            row << date << venue << raceNo << horseNo << static_cast<std::int64_t>(k)
                << std::string(trimmed(c.HorseId[h])) << when << code(c.PastVenue[h][k])
                << named(codes::racecourses(), c.PastVenue[h][k]) << number(c.PastKai[h][k])
                << number(c.PastNichi[h][k]) << number(c.PastRaceNo[h][k]) << text(c.PastRaceName[h][k])
                << code(c.PastGrade[h][k]) << code(c.PastClass[h][k]) << text(codes::conditionName(c.PastClass[h][k]))
                << number(c.PastDistance[h][k]) << code(c.PastTrack[h][k])
                << named(codes::tracks(), c.PastTrack[h][k]) << code(c.PastGoing[h][k])
                << named(codes::goings(), c.PastGoing[h][k]) << code(c.PastWeather[h][k])
                << named(codes::weathers(), c.PastWeather[h][k]) << positive(c.PastStarters[h][k])
                << positive(c.PastHorseNo[h][k]) << positive(c.PastBracket[h][k]) << tenths(c.PastWeight[h][k])
                << code(c.PastJockeyCode[h][k]) << text(c.PastJockeyName[h][k]) << code(c.PastTrainerCode[h][k])
                << code(c.PastAbnormal[h][k]) << positive(c.PastBodyWeight[h][k]) << number(c.PastBodyChange[h][k]);
            for (std::size_t q = 1; q <= 4; ++q)
                row << positive(c.PastCorner[h][k][q]);
            row << tenths(c.PastLast3F[h][k]) << raceTime(c.PastTime[h][k]) << code(c.PastMarginCode[h][k])
                << positive(c.PastFinish[h][k]) << positive(c.PastPopularity[h][k]) << tenths(c.PastWinOdds[h][k])
                << code(c.PastRivalId[h][k]) << text(c.PastRivalName[h][k]) << code(c.PastTimeDiff[h][k]);
            row.run();
        }
    }

    void writeResults(const std::string &date, const TResults &res)
    {
        const int races = std::clamp(res.ResultCount, 0, TResults::kRaces);
        for (int q = 1; q <= races; ++q) {
            const std::size_t qi = static_cast<std::size_t>(q);
            const std::string &venue = res.ResVenue[qi];
            const OptInt raceNo = number(res.ResRaceNo[qi]);
            const std::string raceDate = isoDate(res.ResultYear, res.ResMonthDay[qi]).value_or(date);
            const std::string &classCode = res.ResClass[qi][5];
            std::string laps;
            for (std::size_t k = 1; k <= 25; ++k)
                if (const auto lap = tenths(res.ResLap[qi][k])) {
                    char buf[16];
                    std::snprintf(buf, sizeof buf, "%.1f", *lap);
                    laps += (laps.empty() ? "" : " ") + std::string(buf);
                }
            Row row(m_resultRace);
            row << raceDate << venue << raceNo << named(codes::racecourses(), venue) << number(res.ResKai[qi])
                << number(res.ResNichi[qi]) << text(res.ResRaceName[qi]) << text(res.ResShortName[qi])
                << code(res.ResGrade[qi]) << named(codes::grades(), res.ResGrade[qi]) << code(res.ResKind[qi])
                << named(codes::raceKinds(), res.ResKind[qi]) << code(res.ResWeightRule[qi])
                << named(codes::weightRules(), res.ResWeightRule[qi]) << code(classCode)
                << text(codes::conditionName(classCode)) << number(res.ResDistance[qi]) << code(res.ResTrack[qi])
                << named(codes::tracks(), res.ResTrack[qi]) << code(res.ResGoing[qi])
                << named(codes::goings(), res.ResGoing[qi]) << code(res.ResWeather[qi])
                << named(codes::weathers(), res.ResWeather[qi]) << number(res.ResEntries[qi])
                << number(res.ResStarters[qi]) << number(res.ResFinishers[qi])
                << (laps.empty() ? OptText() : OptText(laps));
            row.run();

            const int n = static_cast<int>(std::clamp<std::int64_t>(number(res.ResEntries[qi]).value_or(0), 0,
                                                                    TResults::kSlots));
            for (int m = 1; m <= n; ++m) {
                const std::size_t mi = static_cast<std::size_t>(m);
                const OptInt horseNo = positive(res.ResHorseNo[qi][mi]);
                if (!horseNo)
                    continue;
                Row rr(m_resultRunner);
                rr << raceDate << venue << raceNo << horseNo << positive(res.ResBracket[qi][mi])
                   << code(res.ResHorseId[qi][mi]) << text(res.ResHorseName[qi][mi]) << code(res.ResSex[qi][mi])
                   << named(codes::sexes(), res.ResSex[qi][mi]) << tenths(res.ResWeight[qi][mi])
                   << static_cast<std::int64_t>(trimmed(res.ResBlinker[qi][mi]) == "1" ? 1 : 0)
                   << code(res.ResJockeyCode[qi][mi]) << text(res.ResJockeyName[qi][mi])
                   << code(res.ResApprentice[qi][mi]) << code(res.ResTrainerCode[qi][mi])
                   << text(res.ResTrainerName[qi][mi]) << code(res.ResAbnormal[qi][mi])
                   << named(codes::abnormalities(), res.ResAbnormal[qi][mi]) << positive(res.ResBodyWeight[qi][mi])
                   << number(res.ResBodyChange[qi][mi]);
                for (std::size_t k = 1; k <= 4; ++k)
                    rr << positive(res.ResCorner[qi][mi][k]);
                rr << tenths(res.ResLast4F[qi][mi]) << tenths(res.ResLast3F[qi][mi]) << raceTime(res.ResTime[qi][mi])
                   << code(res.ResMarginCode[qi][mi]) << named(codes::margins(), res.ResMarginCode[qi][mi])
                   << positive(res.ResPostOrder[qi][mi]) << positive(res.ResFinish[qi][mi])
                   << positive(res.ResPopularity[qi][mi]) << tenths(res.ResWinOdds[qi][mi])
                   << number(res.ResPrize[qi][mi][1]) << number(res.ResPrize[qi][mi][2]);
                rr.run();
            }

            int seq = 0;
            auto payouts = [&](const char *type, const auto &entries, std::size_t count, std::size_t numberWidth,
                               bool pair, bool bracket) {
                seq = 0;
                for (std::size_t e = 1; e <= count; ++e) {
                    const std::string &entry = entries[qi][e];
                    if (entry.size() < numberWidth + 1)
                        continue;
                    const std::string_view num = std::string_view(entry).substr(0, numberWidth);
                    const std::size_t payoutWidth = numberWidth == 2 ? 7 : 8;
                    const OptInt yen = positive(std::string_view(entry).substr(numberWidth, payoutWidth));
                    if (!yen)
                        continue;
                    const OptInt popularity =
                        entry.size() > numberWidth + payoutWidth
                            ? positive(std::string_view(entry).substr(numberWidth + payoutWidth))
                            : OptInt();
                    OptInt a, b;
                    std::string combination;
                    if (pair) {
                        const std::size_t half = bracket ? 1 : 2;
                        a = number(num.substr(0, half));
                        b = number(num.substr(half));
                        combination = std::to_string(a.value_or(0)) + "-" + std::to_string(b.value_or(0));
                    } else {
                        a = number(num);
                        combination = std::to_string(a.value_or(0));
                    }
                    Row pr(m_payout);
                    pr << raceDate << venue << raceNo << type << static_cast<std::int64_t>(++seq) << combination << a
                       << b << yen << popularity;
                    pr.run();
                }
            };
            payouts("win", res.ResWin, 3, 2, false, false);
            payouts("place", res.ResPlace, 5, 2, false, false);
            payouts("bracket_quinella", res.ResBracketQ, 3, 2, true, true);
            payouts("quinella", res.ResQuinella, 3, 4, true, false);
            payouts("wide", res.ResWide, 7, 4, true, false);
        }
    }

    sqlite::Database &m_db;
    Statement m_sourceDay, m_raceDay, m_race, m_runner, m_past, m_resultRace, m_resultRunner, m_payout,
        m_deleteSource;
};

// ------------------------------------------------------------ masters

// The summary master lines (52 bytes) of a file by code; a line whose counts
// are not numbers is named in the problems and left out.
std::map<std::string, formats::TSummaryMasterRec> summaryLines(const WinPath &file, std::vector<std::string> &problems)
{
    using S = formats::TSummaryMasterRec;
    std::map<std::string, S> out;
    const RecordFile lines = RecordFile::readIfExists(file, S::kLength);
    for (std::size_t n = 0; n < lines.count(); ++n) {
        const S rec = S::fromBytes(lines.record(n));
        if (!number(rec.get(S::Wins)) || !number(rec.get(S::Seconds)) || !number(rec.get(S::Thirds)) ||
            !number(rec.get(S::Others))) {
            problems.push_back(files::recordPlace("マスタ", file, n + 1) + ": 着回数が数字ではありません");
            continue;
        }
        if (const OptText c = code(rec.get(S::Code)))
            out.insert_or_assign(*c, rec);
    }
    if (lines.trailingBytes())
        problems.push_back(files::strayBytesNote(file, lines.trailingBytes(), S::kLength));
    return out;
}

void bindSummary(Row &row, const formats::TSummaryMasterRec *s)
{
    using S = formats::TSummaryMasterRec;
    if (!s) {
        row << OptInt() << OptInt() << OptInt() << OptInt() << std::optional<double>();
        return;
    }
    const std::int64_t w = *number(s->get(S::Wins)), second = *number(s->get(S::Seconds)),
                       t = *number(s->get(S::Thirds)), o = *number(s->get(S::Others));
    // The rate the figures use: first and second places over all runs.
    const double rate = w + second == 0 ? 0.0 : static_cast<double>(w + second) / static_cast<double>(w + second + t + o);
    row << w << second << t << o << rate;
}

template <class Rec> void bindDetailHead(Row &row, const Rec &d)
{
    row << text(d.get(Rec::DisplayName)) << text(d.get(Rec::ShortName)) << text(d.get(Rec::KanaName))
        << isoDate(d.get(Rec::BirthDate)) << code(d.get(Rec::Affiliation))
        << static_cast<std::int64_t>(trimmed(d.get(Rec::Retired)) == "1" ? 1 : 0)
        << positive(d.get(Rec::FirstLicenceYear));
}

template <class Rec> void bindCareer(Row &row, const Rec *d)
{
    for (std::size_t k = 1; k <= 4; ++k)
        row << (d ? number(d->get(Rec::CareerFlat, k)) : OptInt());
}

// One row per code found in the summary or the detailed file.
template <class Rec>
void writePeople(sqlite::Database &db, const char *table, const WinPath &summaryFile,
                 const std::optional<TDetailFile<Rec>> &details, std::vector<std::string> &problems)
{
    constexpr bool jockey = std::is_same_v<Rec, formats::TJockeyDetailRec>;
    const auto summary = summaryLines(summaryFile, problems);
    std::map<std::string, std::pair<const formats::TSummaryMasterRec *, const Rec *>> people;
    for (const auto &[c, rec] : summary)
        people[c].first = &rec;
    if (details) {
        for (const Rec &rec : details->records)
            if (const OptText c = code(rec.get(Rec::Code)))
                people[*c].second = &rec;
        problems.insert(problems.end(), details->problems.begin(), details->problems.end());
    }
    Statement insert = db.prepare(insertSql(table, columnsOf(db, table)));
    for (const auto &[personCode, p] : people) {
        const auto [s, d] = p;
        Row row(insert);
        row << personCode;
        if (d) {
            bindDetailHead(row, *d);
        } else {
            using S = formats::TSummaryMasterRec;
            row << text(s->get(S::Name)) << OptText() << OptText() << OptText() << code(s->get(S::Affiliation))
                << OptInt() << OptInt();
        }
        if constexpr (jockey)
            row << (d ? code(d->get(Rec::TrainerCode)) : OptText());
        bindSummary(row, s);
        bindCareer(row, d);
        row.run();
    }
}

// cSTIME.DAT: one row per race number a day had (a standard time).
void writeTimeCorrections(sqlite::Database &db, const WinPath &file, std::vector<std::string> &problems)
{
    using T = formats::TCSTimeRec;
    using K = formats::MeetKeyFields;
    const RecordFile lines = RecordFile::readIfExists(file, T::kLength);
    Statement insert = db.prepare("INSERT OR REPLACE INTO time_correction VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");
    for (std::size_t n = 0; n < lines.count(); ++n) {
        const std::string_view rec = lines.record(n);
        const T line = T::fromBytes(rec);
        const std::string key(line.get(T::Key));
        const OptInt year = number(key.substr(K::Year.offset, K::Year.width));
        const std::string venue(key.substr(K::Venue.offset, K::Venue.width));
        const OptInt kai = number(key.substr(K::Kai.offset, K::Kai.width));
        const OptInt nichi = number(key.substr(K::Nichi.offset, K::Nichi.width));
        if (!year || !kai || !nichi || rec.substr(T::kLength - 2) != "\r\n") {
            problems.push_back(files::recordPlace("タイム補正", file, n + 1) + ": キーが読めません");
            continue;
        }
        for (std::size_t k = 1; k <= T::kRaceCount; ++k) {
            const auto std = tenths(line.get(T::StdTime, k));
            if (!std)
                continue;
            Row row(insert);
            row << *year << venue << named(codes::racecourses(), venue) << *kai << *nichi
                << static_cast<std::int64_t>(k) << std << tenths(line.get(T::Std3F, k))
                << tenths(line.get(T::Early3F, k)) << positive(line.get(T::Distance, k))
                << code(line.get(T::Track, k)) << named(codes::tracks(), line.get(T::Track, k));
            row.run();
        }
    }
    if (lines.trailingBytes())
        problems.push_back(files::strayBytesNote(file, lines.trailingBytes(), T::kLength));
}

// ------------------------------------------------------------ the file

void createSchema(sqlite::Database &db)
{
    const auto version = db.queryText("SELECT name FROM sqlite_master WHERE type = 'table' AND name = 'meta'")
                             ? db.queryInt("SELECT CAST(value AS INTEGER) FROM meta WHERE key = 'schema_version'")
                             : std::nullopt;
    if (version && *version == kSchemaVersion)
        return;
    // A file of another version (or none) starts over, in one transaction.
    sqlite::Transaction tx(db);
    for (const char *t : kTables)
        db.exec("DROP TABLE IF EXISTS " + std::string(t));
    db.exec(kSchema);
    db.exec("INSERT INTO meta VALUES ('schema_version', '" + std::to_string(kSchemaVersion) + "')");
    tx.commit();
}

std::optional<std::string> metaValue(sqlite::Database &db, const std::string &key)
{
    Statement s = db.prepare("SELECT value FROM meta WHERE key = ?");
    s.bind(1, key);
    if (!s.step())
        return std::nullopt;
    return s.columnText(0);
}

void setMeta(sqlite::Database &db, const std::string &key, const std::string &value)
{
    Statement s = db.prepare("INSERT OR REPLACE INTO meta VALUES (?, ?)");
    s.bind(1, key).bind(2, value);
    s.run();
}

} // namespace

std::filesystem::path defaultDatabasePath()
{
    return zorbeHome() / "zorbe.sqlite";
}

ExportReport exportDatabase(const ProfileFile &ini, const ExportOptions &options)
{
    ExportReport report;
    report.out = options.out.empty() ? defaultDatabasePath() : options.out;
    if (report.out.has_parent_path())
        std::filesystem::create_directories(report.out.parent_path());

    Shared shared;
    readStartupSettings(ini, shared.settings);
    readActivationSettings(ini, shared.settings);
    shared.paperSettings = paperSettingsFrom(shared.settings, ini);
    rebuildLabelTables(shared.labels);
    loadMasterFile(WinPath(shared.settings.cyoukyou), shared.masters.TrainerTable, shared.desktop,
                   kTrainerFileMissingMessage);
    loadMasterFile(WinPath(shared.settings.kisyu), shared.masters.JockeyTable, shared.desktop,
                   kJockeyFileMissingMessage);
    try {
        shared.pastRaces = pastRacesSetting(shared.settings.kako);
    } catch (const std::exception &e) {
        report.problems.push_back(std::string("[Kako] Kako: ") + e.what());
    }
    const ConversionFolders folders = ConversionFolders::fromSettings(ini);

    sqlite::Database db(report.out);
    db.exec("PRAGMA journal_mode = WAL");
    db.exec("PRAGMA synchronous = NORMAL");
    db.exec("PRAGMA foreign_keys = ON");
    createSchema(db);

    // The masters and time corrections, when one of their files changed.
    const WinPath dataFolder(shared.settings.racedat);
    const std::vector<WinPath> masterFiles{WinPath(shared.settings.kisyu), WinPath(shared.settings.cyoukyou),
                                           dataFolder / kJockeyDetailFile, dataFolder / kTrainerDetailFile,
                                           dataFolder / "cSTIME.DAT"};
    const std::string masterSignature = signatureOf(masterFiles, {});
    if (options.full || metaValue(db, "masters_signature") != masterSignature) {
        std::vector<std::string> problems;
        sqlite::Transaction tx(db);
        db.exec("DELETE FROM jockey; DELETE FROM trainer; DELETE FROM time_correction;");
        writePeople(db, "jockey", masterFiles[0], LoadJockeyDetails(dataFolder), problems);
        writePeople(db, "trainer", masterFiles[1], LoadTrainerDetails(dataFolder), problems);
        writeTimeCorrections(db, masterFiles[4], problems);
        // With problems the signature is not kept, so the next export reads
        // the files again.
        setMeta(db, "masters_signature", problems.empty() ? masterSignature : std::string());
        tx.commit();
        report.mastersWritten = true;
        report.problems.insert(report.problems.end(), problems.begin(), problems.end());
    }

    // The figures of a day depend on these settings besides its own files.
    const std::vector<std::string> figureSettings{shared.settings.kako, shared.paperSettings.yosou,
                                                  shared.paperSettings.sinba};
    std::map<std::string, std::string> stored;
    {
        Statement s = db.prepare("SELECT source, signature FROM source_day");
        while (s.step())
            stored[s.columnText(0)] = s.columnText(1);
    }

    // A folder that is not there (a drive not mounted, a setting mistyped)
    // says nothing about the days: they stay as they are.
    bool folderMissing = false;
    for (const WinPath *folder : {&folders.lzhdat, &folders.seiseki})
        if (!files::isDirectory(*folder)) {
            report.problems.push_back("フォルダがありません: " + toNative(*folder).string());
            folderMissing = true;
        }
    if (folderMissing) {
        report.notes = shared.desktop.notes;
        return report;
    }

    DayWriter writer(db);
    const auto days = sourceDays(folders);
    auto card = makeRaceCard();
    auto results = makeResults();
    for (const auto &[stem, day] : days) {
        const std::string source = cp932::toUtf8(stem);
        const std::string signature = signatureOf({day.card, day.horses, day.results}, figureSettings);
        const auto old = stored.find(source);
        if (!options.full && old != stored.end() && old->second == signature) {
            ++report.unchanged;
            continue;
        }
        try {
            if (day.hasCard)
                LoadRaceDay(*card, day.card, shared.settings.ozzdir, shared.settings.ozz, dataFolder, shared.desktop);
            const std::size_t errorsBefore = shared.desktop.errors.size();
            bool resultsRead = false;
            if (day.hasResults) {
                resultsRead = OpenResultsFile(*results, day.results, shared.desktop);
                if (!resultsRead || shared.desktop.errors.size() != errorsBefore) {
                    for (std::size_t e = errorsBefore; e < shared.desktop.errors.size(); ++e)
                        report.problems.push_back(shared.desktop.errors[e]);
                    if (!resultsRead)
                        continue;
                }
            }
            writer.write(source, signature, day.hasCard ? card.get() : nullptr, shared,
                         resultsRead ? results.get() : nullptr);
            ++(old == stored.end() ? report.added : report.replaced);
        } catch (const sqlite::ConstraintError &e) {
            // A race or runner the day's files hold twice: the day's fault.
            report.problems.push_back(cp932::toUtf8(stem) + ": " + e.what());
        } catch (const sqlite::Error &) {
            throw;
        } catch (const std::exception &e) {
            report.problems.push_back(cp932::toUtf8(stem) + ": " + e.what());
        }
    }
    for (const auto &[source, signature] : stored)
        if (!days.count(cp932::fromUtf8(source))) {
            writer.drop(source);
            ++report.removed;
        }
    report.notes = shared.desktop.notes;
    return report;
}

std::string summaryText(const ExportReport &r)
{
    return "追加 " + std::to_string(r.added) + " 日、置換 " + std::to_string(r.replaced) + " 日、変更なし " +
           std::to_string(r.unchanged) + " 日、削除 " + std::to_string(r.removed) + " 日" +
           (r.mastersWritten ? "、マスタ更新" : "");
}

std::vector<std::string> exportAfterDownload()
{
    const ProfileFile ini(ProfileFile::defaultPath());
    if (ini.readString("db", "auto", "0") != "1")
        return {};
    std::vector<std::string> lines;
    try {
        const ExportReport r = exportDatabase(ini, {});
        lines.push_back("データベース出力: " + r.out.string() + ": " + summaryText(r));
        lines.insert(lines.end(), r.problems.begin(), r.problems.end());
        lines.insert(lines.end(), r.notes.begin(), r.notes.end());
    } catch (const std::exception &e) {
        lines.push_back(std::string("データベース出力エラー: ") + e.what());
    }
    return lines;
}

} // namespace zorbe::dbexport
