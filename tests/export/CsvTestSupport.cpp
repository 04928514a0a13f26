#include "CsvTestSupport.h"

#include "export/CsvText.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

namespace zorbe::test {

using namespace formats;

std::vector<std::string> utf8Lines(const std::string &bytes)
{
    std::vector<std::string> lines = csvLines(bytes);
    for (std::string &line : lines)
        line = u8(line);
    return lines;
}

std::vector<std::string> utf8Fields(const std::string &line)
{
    return csvFields(u8(line));
}

TRaceCardRec raceCard(int no, int n)
{
    TRaceCardRec r;
    r.setBlock(RaceCardFields::Key, raceKey(no));
    r.set(RaceCardFields::Weekday, "2");
    r.set(RaceCardFields::RaceName, sj("宝塚記念"));
    r.set(RaceCardFields::Grade, "A");
    r.set(RaceCardFields::RaceKind, "13");
    r.set(RaceCardFields::WeightRule, "4");
    for (std::size_t c = 1; c <= 5; ++c)
        r.set(RaceCardFields::Class, c, "999");
    r.set(RaceCardFields::Distance, "2200");
    r.set(RaceCardFields::Track, "11");
    r.set(RaceCardFields::StartTime, "1540");
    r.set(RaceCardFields::Entries, zeroPad(n, 2));
    for (int j = 1; j <= n; ++j) {
        TRaceEntryRec e = r.entry(static_cast<std::size_t>(j));
        e.set(RaceEntryFields::HorseNo, zeroPad(j, 2));
        e.set(RaceEntryFields::Bracket, std::to_string((j + 1) / 2));
        e.set(RaceEntryFields::HorseId, std::to_string(2001000000 + j));
        e.set(RaceEntryFields::HorseName, sj("ゾルベ") + std::to_string(j));
        e.set(RaceEntryFields::Sex, "1");
        e.set(RaceEntryFields::Weight, "570");
        e.set(RaceEntryFields::Blinker, "0");
        e.set(RaceEntryFields::JockeyCode, "00666");
        e.set(RaceEntryFields::JockeyName, sj("武豊"));
        e.set(RaceEntryFields::Apprentice, "0");
        e.set(RaceEntryFields::TrainerCode, "01001");
        e.set(RaceEntryFields::TrainerName, sj("池江"));
        r.setEntry(static_cast<std::size_t>(j), e);
    }
    return r;
}

THorseRec horse(const std::string &id, const std::string &utf8Name)
{
    THorseRec h = THorseRec::blank();
    h.set(HorseFields::Id, id);
    h.set(HorseFields::Name, sj(utf8Name));
    return h;
}

void setPayout(TResultRec &rec, const Field &f, std::size_t e, const std::string &number, const std::string &payout,
               const std::string &popularity)
{
    TPayoutEntry p = rec.payout(f, e);
    p.setCombination(number);
    p.setPayout(payout);
    p.setPopularity(popularity);
    rec.setPayout(f, e, p);
}

TResultRec result(int no, int n, const std::string &venue)
{
    TResultRec r;
    r.setBlock(ResultFields::Key, raceKey(no, venue));
    r.set(ResultFields::ShortName, sj("宝塚記"));
    r.set(ResultFields::Grade, " ");
    for (std::size_t c = 1; c <= 5; ++c)
        r.set(ResultFields::Class, c, "005");
    r.set(ResultFields::Distance, "1600");
    r.set(ResultFields::Track, "17");
    r.set(ResultFields::Entries, zeroPad(n, 2));
    r.set(ResultFields::Starters, zeroPad(n, 2));
    r.set(ResultFields::Finishers, zeroPad(n, 2));
    r.set(ResultFields::Going, "1");
    r.set(ResultFields::Weather, "1");
    for (std::size_t k = 1; k <= 8; ++k)
        r.set(ResultFields::Lap, k, "120");
    setPayout(r, ResultFields::Win, 1, "01", "0000350", "01");
    setPayout(r, ResultFields::Place, 1, "01", "0000130", "01");
    setPayout(r, ResultFields::Place, 2, "02", "0000210", "03");
    setPayout(r, ResultFields::Place, 3, "03", "0000560", "08");
    setPayout(r, ResultFields::BracketQuinella, 1, "12", "0001230", "05");
    setPayout(r, ResultFields::Quinella, 1, "0102", "00001450", "004");
    for (int i = 1; i <= n; ++i) {
        TResultRunnerRec runner = r.runner(static_cast<std::size_t>(i));
        TRaceEntryRec e = runner.entry();
        e.set(RaceEntryFields::HorseNo, zeroPad(i, 2));
        runner.setEntry(e);
        runner.set(ResultRunnerFields::Abnormal, "0");
        runner.set(ResultRunnerFields::Corner, 4, zeroPad(i, 2));
        runner.set(ResultRunnerFields::Last3F, zeroPad(340 + i, 3));
        runner.set(ResultRunnerFields::Time, std::to_string(1345 + 2 * (i - 1)));
        runner.set(ResultRunnerFields::Finish, zeroPad(i, 2));
        r.setRunner(static_cast<std::size_t>(i), runner);
    }
    return r;
}

std::string exportError(const std::function<void()> &write)
{
    try {
        write();
    } catch (const csvexport::ExportError &e) {
        return e.what();
    }
    ADD_FAILURE() << "the export did not stop";
    return {};
}

void putFile(const WinPath &path, const std::string &bytes)
{
    files::makeDirectories(path.parent());
    files::writeAll(path, bytes);
}

} // namespace zorbe::test
