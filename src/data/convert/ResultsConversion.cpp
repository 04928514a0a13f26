#include "data/convert/ResultsConversion.h"

#include "data/convert/MasterUpkeep.h"
#include "data/convert/RaceParts.h"
#include "data/convert/TimeCorrection.h"
#include "data/formats/RecordIo.h"
#include "platform/Cp932.h"
#include "platform/Desktop.h"
#include "platform/StopPoint.h"

#include <set>
#include <unordered_set>

namespace zorbe {

using namespace formats;
using convert::jvFirst;
using convert::jvGet;
namespace RA = jv::RA;
namespace SE = jv::SE;
namespace HR = jv::HR;

std::string missingRaceCardMessage()
{
    return "成績ファイルに対応した\n出馬表ファイルがありません。\n木曜日に出走予定馬をＤＬしたら\n"
           "レース詳細がないのでこのＢＯＸ\nが出ます。";
}

namespace {

// A payout entry of a bet type from the HR record: the number or
// combination, the last `payoutDigits` digits of the 9-digit payout and the
// popularity. An entry without a number holds no payout: all "0".
TPayoutEntry payoutEntry(std::string_view hr, const jv::Field &number, const jv::Field &payout,
                         const jv::Field &popularity, std::size_t i, bool isLong)
{
    TPayoutEntry e = isLong ? TPayoutEntry::blankLong() : TPayoutEntry::blankShort();
    const std::string_view combination = jvGet(hr, number, i);
    if (isBlank(combination))
        return e;
    const std::string_view amount = jvGet(hr, payout, i);
    const std::size_t digits = e.payoutField().width;
    e.setCombination(combination);
    e.setPayout(amount.substr(amount.size() - digits));
    e.setPopularity(jvGet(hr, popularity, i));
    return e;
}

void fillPayouts(TResultRec &out, std::string_view hr)
{
    using R = ResultFields;
    struct Bet
    {
        const Field &target;
        const jv::Field &number, &payout, &popularity;
        bool isLong;
    };
    const Bet bets[] = {
        {R::Win, HR::WinHorse, HR::WinPayout, HR::WinPopularity, false},
        {R::Place, HR::PlaceHorse, HR::PlacePayout, HR::PlacePopularity, false},
        {R::BracketQuinella, HR::BracketCombination, HR::BracketPayout, HR::BracketPopularity, false},
        {R::Quinella, HR::QuinellaCombination, HR::QuinellaPayout, HR::QuinellaPopularity, true},
        {R::Wide, HR::WideCombination, HR::WidePayout, HR::WidePopularity, true},
    };
    for (const Bet &b : bets)
        for (std::size_t e = 1; e <= b.target.count; ++e)
            out.setPayout(b.target, e, payoutEntry(hr, b.number, b.payout, b.popularity, e - 1, b.isLong));
}

TResultRunnerRec resultRunner(std::string_view se)
{
    using U = ResultRunnerFields;
    TResultRunnerRec r;
    r.setEntry(convert::raceEntry(se));
    convert::setRunResult<U>(r, se);
    r.set(U::PrizeMain, jvFirst(se, SE::MainPrizeWon, 7));
    r.set(U::PrizeAdded, jvFirst(se, SE::AddedPrizeWon, 7));
    return r;
}

// The course-record blocks of a day's race card by race key.
std::unordered_map<std::string, TCourseRecordBlock> courseRecordsOf(const WinPath &raceCardFile, ConversionView &view)
{
    std::unordered_map<std::string, TCourseRecordBlock> blocks;
    const RecordFile cards = readInputRecords(raceCardFile, TRaceCardRec::kLength, view);
    for (std::size_t n = 0; n < cards.count(); ++n) {
        const TRaceCardRec card = recordAt<TRaceCardRec>(cards, n);
        blocks.emplace(std::string(card.get(RaceCardFields::Key)), card.courseRecord());
    }
    return blocks;
}

std::string resultsFile(const RecordFile &races, const RecordFile &runners, const RecordFile &payouts,
                        const std::unordered_map<std::string, TCourseRecordBlock> &courseRecords)
{
    using R = ResultFields;
    const AllIndex runnersByRace = convert::allByKey(runners, SE::RaceKey);
    const FirstIndex payoutByRace = convert::firstByKey(payouts, HR::RaceKey);
    std::string out;
    out.reserve(races.count() * TResultRec::kLength);
    std::unordered_set<std::string> done; // each race once
    for (std::size_t n = 0; n < races.count(); ++n) {
        std::string_view ra = races.record(n);
        const std::string key(jvGet(ra, RA::RaceKey));
        if (!done.insert(key).second)
            continue;
        TResultRec rec;
        convert::fillRaceHead(rec, ra, R::Prize, R::AddedPrize);
        // A race that its day's race card lacks (or a day without a race
        // card) carries the block of a race without a course record.
        if (auto it = courseRecords.find(key); it != courseRecords.end())
            rec.setCourseRecord(it->second);
        rec.set(R::Starters, jvGet(ra, RA::Starters));
        rec.set(R::Finishers, jvGet(ra, RA::Finishers));
        rec.set(R::Going, convert::raceGoing(ra));
        rec.set(R::Weather, jvGet(ra, RA::Weather));
        // A race without a payout record keeps all-zero payout entries, the
        // "no payout" of every entry, so the line has its full length.
        if (auto it = payoutByRace.find(key); it != payoutByRace.end())
            fillPayouts(rec, payouts.record(it->second));
        for (std::size_t k = 0; k < R::kLapCount; ++k)
            rec.set(R::Lap, k + 1, jvGet(ra, RA::LapTime, k));
        if (auto it = runnersByRace.find(key); it != runnersByRace.end()) {
            std::size_t m = 1;
            for (std::size_t s : convert::distinctRunners(runners, it->second)) {
                if (m > R::kRunnerCount) // a results line holds 18 runners
                    break;
                rec.setRunner(m++, resultRunner(runners.record(s)));
            }
        }
        out += rec.bytes();
    }
    return out;
}

} // namespace

void convertResultDays(const std::vector<std::string> &days, DesktopServices &desktop,
                       const ConversionContext &context)
{
    const ConversionFolders &folders = context.folders;
    ConversionView &view = context.view;

    if (days.empty() || !files::isFile(folders.lzhdat / (dayBaseName(days.front()) + ".RDT"))) {
        RebuildMasters(folders, view);
        desktop.showMessage(missingRaceCardMessage());
        return;
    }

    // The time-correction files are read once and written once for all the
    // days, after the last results file.
    TimeCorrectionFiles timeCorrection(folders, view);
    for (const std::string &name : days) {
        view.setProgressPosition(0);
        const std::string base = dayBaseName(name);
        const RecordFile races = readInputRecords(folders.down / (base + ".RLB"), RA::Length, view);
        const RecordFile runners = readInputRecords(folders.down / (base + ".SLB"), SE::Length, view);
        const RecordFile payouts =
            readInputRecords(folders.down / ("HRSW" + dayDate(name) + ".DAT"), HR::Length, view);
        const auto courseRecords = courseRecordsOf(folders.lzhdat / (base + ".RDT"), view);
        view.setCaption(u8(base));

        const WinPath output = folders.seiseki / (base + ".SDT");
        files::makeDirectories(folders.seiseki);
        std::string results = resultsFile(races, runners, payouts, courseRecords);
        files::writeAtomic(output, results);
        timeCorrection.append(RecordFile(std::move(results), TResultRec::kLength));
        stopPoint("day");
        view.processEvents();
    }
    timeCorrection.flush();

    for (const std::string &name : days) {
        const std::string base = dayBaseName(name);
        files::remove(folders.down / (base + ".RLB"));
        files::remove(folders.down / (base + ".SLB"));
    }

    // The payout files of the last day d, of d - 1 and d + 1 and of the
    // days 28-31 of d's month; and besides those the payout file of every
    // converted day, which is consumed as well (a Saturday of a three-day
    // meeting would otherwise stay behind).
    const std::int64_t d = toInt(dayDate(days.back()), "レース日付");
    std::set<std::int64_t> dates = {d, d - 1, d + 1};
    for (int day : {31, 30, 29, 28})
        dates.insert(d / 100 * 100 + day);
    for (const std::string &name : days)
        dates.insert(toInt(dayDate(name), "レース日付"));
    for (std::int64_t date : dates)
        files::remove(folders.down / ("HRSW" + zeroPad(date, 8) + ".DAT"));

    // Master records that came with the results (a run that fetched a
    // Monday and the Thursday after it at once) are not left behind for the
    // next download window to delete unread.
    RebuildMasters(folders, view);
}

} // namespace zorbe
