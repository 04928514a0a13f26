#include "data/convert/TimeCorrection.h"

#include "data/formats/MasterFormats.h"
#include "data/formats/ResultFormats.h"

#include <algorithm>
#include <unordered_set>

namespace zorbe {

using namespace formats;

namespace {

constexpr std::size_t kTrimAbove = 1439; // records kept before the oldest days go
constexpr std::size_t kTrimCount = 3;    // meeting days dropped at a time

bool isPlaced(std::string_view placing)
{
    return placing.size() == 2 && placing[0] == '0' && placing[1] >= '1' && placing[1] <= '5';
}

// The values of placings 1-5, one per placing (a later runner of the same
// placing replaces an earlier one); index 0 unused.
template <class Value>
std::array<std::int64_t, 6> byPlacing(const TimeCorrectionRace &race, Value value)
{
    std::array<std::int64_t, 6> v{};
    for (const auto &r : race.runners)
        if (isPlaced(r.placing))
            v[static_cast<std::size_t>(r.placing[1] - '0')] = value(r);
    return v;
}

// The mean of the non-zero values, halves rounded up; 0 without any.
std::int64_t roundedMean(const std::array<std::int64_t, 6> &v)
{
    std::int64_t sum = 0, n = 0;
    for (std::size_t p = 1; p <= 5; ++p)
        if (v[p] != 0) {
            sum += v[p];
            ++n;
        }
    return n == 0 ? 0 : (2 * sum + n) / (2 * n);
}

int trackNumber(const std::string &track) { return static_cast<int>(toIntOrBlank(track, "トラックコード", 0)); }

bool isFlat(const TimeCorrectionRace &race)
{
    const int t = trackNumber(race.track);
    return t >= 10 && t <= 24;
}

// Whole records of a file as read, without stray bytes at its end.
std::string wholeRecords(const RecordFile &file)
{
    return file.bytes().substr(0, file.count() * file.recordLength());
}

bool holdsKey(const RecordFile &file, std::string_view key)
{
    for (std::size_t n = 0; n < file.count(); ++n)
        if (file.record(n).substr(0, key.size()) == key)
            return true;
    return false;
}

} // namespace

std::int64_t timeInTenths(std::string_view t)
{
    if (isBlank(t))
        return 0;
    if (t.size() != 4)
        return toInt(t, "走破タイム");
    return toInt(t.substr(0, 1), "走破タイム") * 600 + toInt(t.substr(1), "走破タイム");
}

TimeCorrectionRace TimeCorrectionRace::fromResult(const TResultRec &result)
{
    using R = ResultFields;
    using U = ResultRunnerFields;
    TimeCorrectionRace race;
    race.raceNumber = static_cast<int>(toIntOrBlank(result.key().get(RaceKeyFields::RaceNo), "レース番号", 0));
    race.track = std::string(result.get(R::Track));
    race.distance = result.numberOrBlank(R::Distance, 1, 0);
    race.finishers = static_cast<int>(result.numberOrBlank(R::Finishers, 1, 0));
    race.going = std::string(result.get(R::Going));
    race.youngestClass = std::string(result.get(R::Class, 5));
    for (std::size_t k = 0; k < R::kLapCount; ++k)
        race.laps[k] = result.numberOrBlank(R::Lap, k + 1, 0);
    for (std::size_t m = 1; m <= R::kRunnerCount; ++m) {
        const TResultRunnerRec runner = result.runner(m);
        if (isBlank(runner.bytes()))
            continue;
        race.runners.push_back({std::string(runner.get(U::Finish)), timeInTenths(runner.get(U::Time)),
                                runner.numberOrBlank(U::Last3F, 1, 0)});
    }
    return race;
}

std::int64_t standardTime(const TimeCorrectionRace &race)
{
    const auto times = byPlacing(race, [](const auto &r) { return r.time; });
    // With six or fewer finishers the winner's time alone stands; a race
    // whose placed runners have no time at all has no value.
    std::int64_t v = race.finishers <= 6 ? times[1] : roundedMean(times);
    static const std::unordered_set<std::string> classes = {"009", "014", "015", "016", "999"};
    const bool softGoing = race.going == "2" || race.going == "3" || race.going == "4";
    // A race without a value stays without one: the correction applies to
    // a time, never to the "0000" of a missing one.
    if (v != 0 && softGoing && classes.count(race.youngestClass) != 0) {
        const int track = trackNumber(race.track);
        if (track == 23 || track == 24)
            v -= 7;
        else if (track <= 22)
            v -= 4;
    }
    return std::clamp<std::int64_t>(v, 0, 9999);
}

std::int64_t standardLast3F(const TimeCorrectionRace &race)
{
    if (!isFlat(race))
        return 0;
    return std::min<std::int64_t>(roundedMean(byPlacing(race, [](const auto &r) { return r.last3F; })), 999);
}

std::int64_t early3F(const TimeCorrectionRace &race)
{
    if (!isFlat(race))
        return 0;
    static const std::unordered_set<std::int64_t> halfFirstLap = {1500, 1700, 2100, 2300, 2500, 2700,
                                                                  2900, 3100, 3300, 3500, 3700, 3900};
    std::int64_t v = race.laps[0] + race.laps[1] + race.laps[2];
    if (halfFirstLap.count(race.distance) != 0)
        v += (race.laps[3] + 1) / 2;
    return std::min<std::int64_t>(v, 999);
}

void AppendTimeCorrection(const ConversionFolders &folders, const WinPath &resultsFile, ConversionView &view)
{
    TimeCorrectionFiles files(folders, view);
    files.append(readInputRecords(resultsFile, TResultRec::kLength, view));
    files.flush();
}

TimeCorrectionFiles::TimeCorrectionFiles(const ConversionFolders &folders, ConversionView &view)
    : m_folders(folders)
    , m_view(view)
{
    m_stime.path = folders.racedat / "STIME.DAT";
    m_stime.recordLength = TSTimeRec::kLength;
    m_cstime.path = folders.racedat / "cSTIME.DAT";
    m_cstime.recordLength = TCSTimeRec::kLength;
}

void TimeCorrectionFiles::load()
{
    if (m_loaded)
        return;
    for (File *f : {&m_stime, &m_cstime})
        if (files::isFile(f->path))
            f->records = readInputRecords(f->path, f->recordLength, m_view);
    m_loaded = true;
}

void TimeCorrectionFiles::replace(File &file, std::string bytes)
{
    file.records = RecordFile(std::move(bytes), file.recordLength);
    file.changed = true;
}

void TimeCorrectionFiles::writeIfChanged(File &file)
{
    if (!file.changed)
        return;
    files::writeAtomic(file.path, file.records->bytes());
    file.changed = false;
}

void TimeCorrectionFiles::flush()
{
    if (!m_stime.changed && !m_cstime.changed)
        return;
    files::makeDirectories(m_folders.racedat);
    writeIfChanged(m_cstime);
    writeIfChanged(m_stime);
}

// Drops the three oldest records of a time-correction file that holds more
// than 1439. Each file goes by its own count, so that a run stopped between
// the writes of the two files finishes the second one next time instead of
// trimming the first one twice.
void TimeCorrectionFiles::trimIfFull(File &file)
{
    if (!file.records || file.records->count() <= kTrimAbove)
        return;
    const std::size_t keep = file.records->count() - kTrimCount;
    replace(file, file.records->bytes().substr(kTrimCount * file.recordLength, keep * file.recordLength));
}

void TimeCorrectionFiles::append(const RecordFile &results)
{
    load();
    trimIfFull(m_stime);
    trimIfFull(m_cstime);

    // A results file without any race has no key to file a line under.
    if (results.count() == 0)
        return;

    using C = CSTimeFields;
    TCSTimeRec line;
    {
        const TRaceKey raceKey = TResultRec::fromBytes(results.record(0)).key();
        TMeetKey key;
        key.set(MeetKeyFields::Year, raceKey.get(RaceKeyFields::Year));
        key.set(MeetKeyFields::Venue, raceKey.get(RaceKeyFields::Venue));
        key.set(MeetKeyFields::Kai, raceKey.get(RaceKeyFields::Kai));
        key.set(MeetKeyFields::Nichi, raceKey.get(RaceKeyFields::Nichi));
        line.setBlock(C::Key, key);
    }
    for (std::size_t n = 0; n < results.count(); ++n) {
        const TResultRec result = TResultRec::fromBytes(results.record(n));
        const TimeCorrectionRace race = TimeCorrectionRace::fromResult(result);
        // Race numbers outside 1..12 have no place in the line.
        if (race.raceNumber < 1 || race.raceNumber > static_cast<int>(C::kRaceCount))
            continue;
        const auto p = static_cast<std::size_t>(race.raceNumber);
        line.setNumber(C::StdTime, p, standardTime(race));
        line.setNumber(C::Std3F, p, standardLast3F(race));
        line.setNumber(C::Early3F, p, early3F(race));
        line.set(C::Distance, p, result.get(ResultFields::Distance));
        line.set(C::Track, p, result.get(ResultFields::Track));
    }
    std::string cLine = line.bytes();
    std::string sLine = line.toSTime().bytes();

    if (!m_stime.records) {
        replace(m_cstime, std::move(cLine));
        replace(m_stime, std::move(sLine));
        return;
    }
    const RecordFile &existing = *m_stime.records;
    const std::string newKey = sLine.substr(0, MeetKeyFields::kLayout.length);
    if (holdsKey(existing, newKey))
        return;
    // Stray bytes at the end of a damaged file are dropped (and reported)
    // instead of misaligning the new line. A "cSTIME.DAT" that a stopped run
    // wrote without its "STIME.DAT" holds the day already and does not get
    // it twice.
    if (m_cstime.records && !holdsKey(*m_cstime.records, newKey))
        replace(m_cstime, wholeRecords(*m_cstime.records) + cLine);
    replace(m_stime, wholeRecords(existing) + sLine);
}

} // namespace zorbe
