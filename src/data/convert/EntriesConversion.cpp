#include "data/convert/EntriesConversion.h"

#include "data/convert/MasterUpkeep.h"
#include "data/convert/RaceParts.h"
#include "data/formats/RecordIo.h"
#include "platform/Cp932.h"
#include "platform/ProfileFile.h"
#include "platform/StopPoint.h"

#include <algorithm>
#include <memory>
#include <unordered_set>

namespace zorbe {

using namespace formats;
using convert::jvFirst;
using convert::jvGet;
namespace RA = jv::RA;
namespace SE = jv::SE;
namespace UM = jv::UM;

std::optional<std::string> weeklyFileDate(std::string_view raceDate,
                                          const std::function<bool(const std::string &date)> &exists)
{
    const std::int64_t d = toInt(raceDate, "レース日付");
    std::optional<std::string> found;
    std::optional<std::int64_t> monthStart; // a candidate that fell on day "00"
    for (int back = 1; back <= 4; ++back) {
        const std::int64_t candidate = d - back;
        const int day = dayPart(candidate);
        if (day == 0 && !monthStart)
            monthStart = candidate;
        if (!found && day >= 1 && day <= 31 && exists(zeroPad(candidate, 8)))
            found = zeroPad(candidate, 8);
    }
    if (!monthStart)
        return found;

    // The previous month of yyyymm00. In January that is December of the
    // year before: taking 100 off 20050100 would give the month "00" and
    // a race day early in January would never find the weekly files of the
    // last days of December.
    std::int64_t previous = *monthStart - 100;
    if ((previous / 100) % 100 == 0)
        previous = (previous / 10000 - 1) * 10000 + 1200;
    for (int day : {31, 30, 29, 28, 27, 26}) {
        std::string candidate = zeroPad(previous + day, 8);
        if (exists(candidate))
            return candidate;
    }
    std::string first = zeroPad(d / 100 * 100 + 1, 8);
    if (exists(first))
        return first;
    return found;
}

WeeklyFileNames WeeklyFileNames::of(const WinPath &down, const std::string &date)
{
    return {down / ("RAQW" + date + ".DAT"), down / ("SEQW" + date + ".DAT"), down / ("UMPW" + date + ".DAT"),
            down / ("RCPW" + date + ".DAT")};
}

namespace {

// The weekly files of one date in memory, with the indexes of the joins.
struct WeeklyData
{
    RecordFile races, runners, horses, courseRecords;
    FirstIndex raceByKey, horseById;
    AllIndex runsByHorse;
    convert::CourseRecordIndex courses;
};

std::unique_ptr<WeeklyData> loadWeekly(const std::optional<WeeklyFileNames> &names, ConversionView &view)
{
    auto w = std::make_unique<WeeklyData>();
    if (names) {
        w->races = readInputRecords(names->races, RA::Length, view);
        w->runners = readInputRecords(names->runners, SE::Length, view);
        w->horses = readInputRecords(names->horses, UM::Length, view);
        w->courseRecords = readInputRecords(names->courseRecords, jv::RC::Length, view);
    }
    w->raceByKey = convert::firstByKey(w->races, RA::RaceKey);
    w->horseById = convert::firstByKey(w->horses, UM::HorseId);
    w->runsByHorse = convert::allByKey(w->runners, SE::HorseId);
    w->courses = convert::CourseRecordIndex(w->courseRecords);
    return w;
}

// The 8-digit date of a weekly file name ("RAQW20040624.DAT" and its full
// path alike), or "" when the name has none.
std::string weeklyDateOf(const std::string &path)
{
    const std::string name = WinPath(path).fileName();
    const std::string date = name.size() >= 12 ? name.substr(4, 8) : std::string();
    return isDigits(date) ? date : std::string();
}

// Keeps the names of the weekly files in use in the settings; a name of a
// later week means a new week, and the previous week's file is deleted. A
// file of a later week than the one taken now stays: days of an earlier
// week fetched again must not delete the files of the week in use.
void keepWeeklyNames(ProfileFile &settings, const WeeklyFileNames &names, const std::string &date)
{
    struct Slot
    {
        const char *section;
        const char *defaultName;
        const WinPath &path;
    };
    const Slot slots[] = {{"SRace", "RAQW20040624.DAT", names.races},
                          {"Zuma", "SEQW20040624.DAT", names.runners},
                          {"UM", "UMPW20040624.DAT", names.horses},
                          {"Rcde", "RCPW20040624.DAT", names.courseRecords}};
    // The new names are stored in one rewrite of the settings, after the
    // files they replace are gone; a run stopped in between finds the old
    // names of files no longer there, and stores the new ones next time.
    std::vector<ProfileFile::SectionValue> changed;
    for (const Slot &s : slots) {
        const std::string stored = settings.readString(s.section, s.section, s.defaultName);
        if (cp932::equalsIgnoreCase(stored, s.path.text()))
            continue;
        // Only a file is deleted: an empty or damaged setting must never
        // name a folder to remove.
        const std::string storedDate = weeklyDateOf(stored);
        const bool earlier = storedDate.empty() || storedDate < date;
        if (!stored.empty() && earlier && files::isFile(WinPath(stored)))
            files::remove(WinPath(stored));
        changed.push_back({s.section, s.section, s.path.text()});
    }
    settings.replaceSections(changed);
}

// The sum of the last three counts of a block of six (4th, 5th, unplaced),
// as the "other finishes" count of three digits. Capped at 999 so that the
// line keeps its length.
std::int64_t othersCount(std::int64_t fourth, std::int64_t fifth, std::int64_t unplaced)
{
    return std::min<std::int64_t>(fourth + fifth + unplaced, 999);
}

// A placing group from a block of six 3-digit counts; count(i) gives the
// i-th (0-based) count's text.
template <class Count>
TResultCounts countsOf(Count count)
{
    using C = ResultCountsFields;
    TResultCounts c;
    c.set(C::Wins, count(0));
    c.set(C::Seconds, count(1));
    c.set(C::Thirds, count(2));
    c.setNumber(C::Others, othersCount(toInt(count(3), "4着数"), toInt(count(4), "5着数"), toInt(count(5), "着外数")));
    return c;
}

// Characters 2-8 of a 9-digit amount in hundreds of yen: thousands of yen.
std::string thousandsOf(std::string_view nineDigits) { return std::string(nineDigits.substr(1, 7)); }

void fillHorseMaster(THorseRec &h, std::string_view um)
{
    using H = HorseFields;
    h.set(H::Id, jvGet(um, UM::HorseId));
    h.set(H::DataKind, jvGet(um, UM::DataKind));
    h.set(H::DataDate, jvGet(um, UM::CreationDate));
    h.set(H::Retired, jvGet(um, UM::Deregistered));
    h.set(H::RetiredDate, jvGet(um, UM::DeregistrationDate));
    h.set(H::Name, jvGet(um, UM::HorseName));
    h.set(H::BirthDate, jvGet(um, UM::BirthDate));
    h.set(H::Breed, jvGet(um, UM::Breed));
    h.set(H::Sex, jvGet(um, UM::Sex));
    h.set(H::Colour, jvGet(um, UM::Coat));
    h.set(H::Mark, jvGet(um, UM::HorseMark));
    // Sire, dam, dam's sire, dam's dam, dam's dam's sire, dam's dam's dam.
    h.set(H::Sire, jvGet(um, UM::PedigreeName, 0));
    h.set(H::Dam, jvGet(um, UM::PedigreeName, 1));
    h.set(H::DamSire, jvGet(um, UM::PedigreeName, 4));
    h.set(H::DamDam, jvGet(um, UM::PedigreeName, 5));
    h.set(H::DamDamSire, jvGet(um, UM::PedigreeName, 12));
    h.set(H::DamDamDam, jvGet(um, UM::PedigreeName, 13));
    h.set(H::Birthplace, jvGet(um, UM::Birthplace));
    h.set(H::Breeder, jvFirst(um, UM::BreederName, 40));
    h.set(H::OwnerCode, jvGet(um, UM::OwnerCode));
    h.set(H::Owner, jvFirst(um, UM::OwnerName, 40));
    h.set(H::TrainerCode, jvGet(um, UM::TrainerCode));
    h.set(H::TrainerName, jvGet(um, UM::TrainerShortName));
    h.set(H::InviteRegion, jvGet(um, UM::InvitationRegion));

    auto amount = [&](const jv::Field &f) { return toInt(jvGet(um, f), f.spec.name); };
    h.set(H::PrizeMain, thousandsOf(zeroPad(amount(UM::FlatMainPrize) + amount(UM::JumpMainPrize), 9)));
    h.set(H::PrizeAdded, thousandsOf(zeroPad(amount(UM::FlatAddedPrize) + amount(UM::JumpAddedPrize), 9)));
    h.set(H::PrizeEarned, 1, thousandsOf(jvGet(um, UM::FlatEarnings)));
    h.set(H::PrizeEarned, 2, thousandsOf(jvGet(um, UM::JumpEarnings)));

    std::size_t g = 1;
    h.setResults(g++, countsOf([&](std::size_t i) { return jvGet(um, UM::JraPlacings, i); }));
    // Turf right, turf left, dirt right, dirt left, jump: the straight
    // courses are not kept.
    for (std::size_t course : {1, 2, 4, 5, 6})
        h.setResults(g++, countsOf([&](std::size_t i) { return field(um, UM::CoursePlacings.at(course, i).spec); }));
    for (std::size_t going = 0; going < 12; ++going)
        h.setResults(g++, countsOf([&](std::size_t i) { return field(um, UM::GoingPlacings.at(going, i).spec); }));
    for (std::size_t distance = 0; distance < 6; ++distance)
        h.setResults(g++,
                     countsOf([&](std::size_t i) { return field(um, UM::DistancePlacings.at(distance, i).spec); }));
}

// An RA record with every field absent: the stand-in for a past race whose
// race record the weekly race file lacks, so that the block still has its
// runner part and every number field holds digits.
const std::string &absentRace()
{
    static const std::string record = jv::RecordBuilder(jv::raRecord()).str();
    return record;
}

TPastRaceRec pastRace(std::string_view se, const WeeklyData &w)
{
    using P = PastRaceFields;
    const std::string key(jvGet(se, SE::RaceKey));
    auto it = w.raceByKey.find(key);
    std::string_view ra = it != w.raceByKey.end() ? w.races.record(it->second) : std::string_view(absentRace());

    TPastRaceRec p;
    p.set(P::Key, key);
    p.set(P::RaceName, jvGet(ra, RA::ShortName));
    p.set(P::Grade, jvGet(ra, RA::Grade));
    p.set(P::RaceKind, jvGet(ra, RA::RaceKind));
    p.set(P::Symbol, jvGet(ra, RA::RaceSymbol));
    p.set(P::WeightRule, jvGet(ra, RA::WeightRule));
    p.set(P::Class, jvGet(ra, RA::Condition, 4)); // the youngest age's condition
    p.set(P::ConditionName, jvFirst(ra, RA::ConditionName, 24));
    p.set(P::Distance, jvGet(ra, RA::Distance));
    p.set(P::Track, jvGet(ra, RA::Track));
    p.set(P::Registered, jvGet(ra, RA::Entries));
    p.set(P::Starters, jvGet(ra, RA::Starters));
    p.set(P::Finishers, jvGet(ra, RA::Finishers));
    p.set(P::Going, convert::raceGoing(ra));
    p.set(P::Weather, jvGet(ra, RA::Weather));

    p.set(P::HorseNo, jvGet(se, SE::HorseNumber));
    p.set(P::Bracket, jvGet(se, SE::Bracket));
    p.set(P::Sex, jvGet(se, SE::Sex));
    p.set(P::Weight, jvGet(se, SE::CarriedWeight));
    p.set(P::Blinker, jvGet(se, SE::Blinker));
    p.set(P::JockeyCode, jvGet(se, SE::JockeyCode));
    p.set(P::JockeyName, jvGet(se, SE::JockeyShortName));
    p.set(P::Apprentice, jvGet(se, SE::Apprentice));
    p.set(P::TrainerCode, jvGet(se, SE::TrainerCode));
    p.set(P::TrainerName, jvGet(se, SE::TrainerShortName));
    convert::setRunResult<P>(p, se);
    p.set(P::Prize, 1, jvFirst(se, SE::MainPrizeWon, 7));
    p.set(P::Prize, 2, jvFirst(se, SE::AddedPrizeWon, 7));
    p.set(P::RivalId, jvGet(se, SE::OpponentId, 0));
    p.set(P::RivalName, jvFirst(se, SE::OpponentName.at(0), 18));
    const std::string_view diff = jvGet(se, SE::TimeDifference);
    p.set(P::TimeDiff, std::string(diff.substr(0, 1)).append(diff.substr(2, 2)));
    return p;
}

// The weekly runs of a horse, each race once (a runner file that holds a run
// twice must not give the horse the same past race twice), in file order.
std::vector<std::size_t> distinctRuns(const std::vector<std::size_t> &runs, const WeeklyData &w)
{
    std::vector<std::size_t> out;
    out.reserve(runs.size());
    for (std::size_t n : runs) {
        const std::string_view key = jvGet(w.runners.record(n), SE::RaceKey);
        const bool seen = std::any_of(out.begin(), out.end(),
                                      [&](std::size_t m) { return jvGet(w.runners.record(m), SE::RaceKey) == key; });
        if (!seen)
            out.push_back(n);
    }
    return out;
}

// The past-race blocks of a horse: its race count is the races of its
// master record plus its weekly runs with the time difference "9999" that
// it finished; as many blocks as that count (at most five) from its weekly
// runs in file order. A horse with fewer weekly runs than its count keeps
// blank blocks for the missing ones, so the line has its full length.
void fillPastRaces(THorseRec &h, std::string_view horseId, std::int64_t masterRaceCount, const WeeklyData &w)
{
    auto it = w.runsByHorse.find(std::string(horseId));
    if (it == w.runsByHorse.end())
        return;
    const std::vector<std::size_t> runs = distinctRuns(it->second, w);
    std::int64_t count = masterRaceCount;
    for (std::size_t n : runs) {
        std::string_view se = w.runners.record(n);
        if (jvGet(se, SE::TimeDifference) == "9999" && jvGet(se, SE::Abnormality) != "4")
            ++count;
    }
    const std::size_t blocks = static_cast<std::size_t>(std::clamp<std::int64_t>(count, 0, HorseFields::kPastCount));
    for (std::size_t k = 0; k < blocks && k < runs.size(); ++k)
        h.setPast(k + 1, pastRace(w.runners.record(runs[k]), w));
}

THorseRec horseLine(std::string_view horseId, const WeeklyData &w)
{
    THorseRec h;
    auto it = w.horseById.find(std::string(horseId));
    if (it == w.horseById.end()) {
        // A runner without a master record still needs its line, since the
        // horse file is paired with the entries by position: its id, blank
        // texts, zero counts and five blank past races.
        h.set(HorseFields::Id, horseId);
        return h;
    }
    std::string_view um = w.horses.record(it->second);
    fillHorseMaster(h, um);
    fillPastRaces(h, horseId, toInt(jvGet(um, UM::RaceCount), "出走回数"), w);
    return h;
}

std::string displayName(std::string_view cp932Name)
{
    std::string name(cp932Name);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    while (name.size() >= 2 && name.compare(name.size() - 2, 2, kWideSpace) == 0)
        name.resize(name.size() - 2);
    return u8(name);
}

// A race card line per race of the day's race file, each race once; the
// runners of a race each once, in runner-file order.
std::vector<TRaceCardRec> raceCards(const RecordFile &races, const RecordFile &runners, const WeeklyData &w)
{
    const AllIndex runnersByRace = convert::allByKey(runners, SE::RaceKey);
    std::vector<TRaceCardRec> cards;
    cards.reserve(races.count());
    std::unordered_set<std::string> done;
    for (std::size_t r = 0; r < races.count(); ++r) {
        std::string_view ra = races.record(r);
        const std::string key(jvGet(ra, RA::RaceKey));
        if (!done.insert(key).second)
            continue;
        TRaceCardRec card;
        convert::fillRaceHead(card, ra, RaceCardFields::Prize, RaceCardFields::AddedPrize);
        card.setCourseRecord(w.courses.blockFor(ra));
        if (auto it = runnersByRace.find(key); it != runnersByRace.end()) {
            // A card holds 18 runners; a further runner record has no slot.
            std::size_t j = 1;
            for (std::size_t n : convert::distinctRunners(runners, it->second)) {
                if (j > RaceCardFields::kEntryCount)
                    break;
                card.setEntry(j++, convert::raceEntry(runners.record(n)));
            }
        }
        cards.push_back(std::move(card));
    }
    return cards;
}

std::string horseFile(const std::vector<TRaceCardRec> &cards, const WeeklyData &w, ConversionView &view)
{
    std::string out;
    int position = 0;
    for (const TRaceCardRec &card : cards) {
        const std::int64_t entries = std::clamp<std::int64_t>(card.number(RaceCardFields::Entries), 0,
                                                               RaceCardFields::kEntryCount);
        for (std::int64_t j = 1; j <= entries; ++j) {
            const TRaceEntryRec entry = card.entry(static_cast<std::size_t>(j));
            view.setCaption(displayName(entry.get(RaceEntryFields::HorseName)));
            out += horseLine(entry.get(RaceEntryFields::HorseId), w).bytes();
            view.setProgressPosition(++position);
            view.processEvents();
        }
    }
    return out;
}

} // namespace

void convertEntryDays(const std::vector<std::string> &days, ProfileFile &settings, const ConversionContext &context)
{
    const ConversionFolders &folders = context.folders;
    ConversionView &view = context.view;
    std::optional<std::string> loadedDate;
    std::unique_ptr<WeeklyData> weekly;
    // The weekly date whose names the settings hold since this run kept
    // them: the days of one week need not look at the settings again.
    std::optional<std::string> keptDate;

    for (const std::string &name : days) {
        const std::string base = dayBaseName(name);
        const WinPath raceFile = folders.down / (base + ".RLB");
        const WinPath runnerFile = folders.down / (base + ".SLB");

        const std::optional<std::string> date = weeklyFileDate(
            dayDate(name), [&](const std::string &s) { return files::isFile(folders.down / ("UMPW" + s + ".DAT")); });
        std::optional<WeeklyFileNames> names;
        if (date) {
            names = WeeklyFileNames::of(folders.down, *date);
            if (date != keptDate)
                keepWeeklyNames(settings, *names, *date);
            keptDate = date;
        }
        // Without any weekly horse file the weekly inputs are empty and the
        // names kept in the settings stay as they are: the files of the
        // week in use are not deleted for a week that has none.
        if (!weekly || date != loadedDate) {
            weekly = loadWeekly(names, view);
            loadedDate = date;
        }

        const RecordFile races = readInputRecords(raceFile, RA::Length, view);
        const RecordFile runners = readInputRecords(runnerFile, SE::Length, view);
        view.setProgressMaximum(static_cast<int>(weekly->horses.count()));
        view.setProgressPosition(0);

        const std::vector<TRaceCardRec> cards = raceCards(races, runners, *weekly);
        files::makeDirectories(folders.lzhdat);
        files::writeAtomic(folders.lzhdat / (base + ".RDT"), joinRecords(cards));
        files::writeAtomic(folders.lzhdat / (base + ".HDT"), horseFile(cards, *weekly, view));
        stopPoint("day");
    }
    RebuildMasters(folders, view);
}

} // namespace zorbe
