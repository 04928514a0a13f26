#include "db/DbTestSupport.h"

#include "data/formats/RecordIo.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"

namespace zorbe::test {

using namespace formats;

TResultRec resultRace(int raceNo, const std::string &classCode)
{
    TResultRec r;
    TRaceKey k = r.key();
    k.set(RaceKeyFields::Year, "2004");
    k.set(RaceKeyFields::MonthDay, "0627");
    k.set(RaceKeyFields::Venue, "05");
    k.set(RaceKeyFields::Kai, "03");
    k.set(RaceKeyFields::Nichi, "08");
    k.set(RaceKeyFields::RaceNo, zeroPad(raceNo, 2));
    r.setBlock(ResultFields::Key, k);
    r.set(ResultFields::Weekday, "1");
    r.set(ResultFields::RaceName, "");
    r.set(ResultFields::ShortName, "");
    r.set(ResultFields::Grade, " ");
    r.set(ResultFields::RaceKind, "13");
    r.set(ResultFields::Symbol, "000");
    r.set(ResultFields::WeightRule, "3");
    for (std::size_t c = 1; c <= 5; ++c)
        r.set(ResultFields::Class, c, c == 5 ? classCode : "000");
    r.set(ResultFields::Distance, "1600");
    r.set(ResultFields::Track, "11");
    r.set(ResultFields::Entries, "00");
    r.set(ResultFields::Starters, "00");
    r.set(ResultFields::Finishers, "00");
    r.set(ResultFields::Going, "1");
    r.set(ResultFields::Weather, "1");
    for (std::size_t m = 1; m <= 18; ++m)
        r.clear(ResultFields::Runner, m);
    return r;
}

void setRaceName(TResultRec &race, const std::string &utf8Name)
{
    race.set(ResultFields::RaceName, sj(utf8Name));
}

void addRunner(TResultRec &race, const ResultRunner &x)
{
    using R = ResultRunnerFields;
    using E = RaceEntryFields;
    const int m = static_cast<int>(race.number(ResultFields::Entries)) + 1;
    TResultRunnerRec runner;
    TRaceEntryRec entry = runner.entry();
    entry.setNumber(E::HorseNo, x.horseNo);
    entry.set(E::Bracket, std::to_string(std::min(8, (x.horseNo + 1) / 2)));
    entry.set(E::HorseId, x.horseId);
    entry.set(E::HorseName, sj(x.name));
    entry.set(E::Sex, x.sex);
    entry.setNumber(E::Weight, x.weight);
    entry.set(E::Blinker, "0");
    entry.set(E::JockeyCode, "00001");
    entry.set(E::JockeyName, sj(x.jockey));
    entry.set(E::Apprentice, "0");
    entry.set(E::TrainerCode, "01001");
    entry.set(E::TrainerName, sj(x.trainer));
    runner.setEntry(entry);
    runner.set(R::Abnormal, x.abnormal);
    runner.setNumber(R::BodyWeight, x.bodyWeight);
    runner.set(R::BodyChange, x.bodyChange);
    for (std::size_t c = 1; c <= 4; ++c)
        runner.set(R::Corner, c, x.corners.substr(2 * (c - 1), 2));
    runner.set(R::Last4F, "470");
    runner.set(R::Last3F, x.last3F);
    runner.set(R::Time, x.time);
    runner.set(R::MarginCode, x.margin);
    runner.setNumber(R::Arrival, x.arrival ? x.arrival : x.finish);
    runner.setNumber(R::Finish, x.finish);
    runner.setNumber(R::Popularity, x.popularity);
    runner.set(R::WinOdds, "0035");
    runner.set(R::PrizeMain, "0000000");
    runner.set(R::PrizeAdded, "0000000");
    race.setRunner(static_cast<std::size_t>(m), runner);
    race.setNumber(ResultFields::Entries, m);
}

void setPayout(TResultRec &race, const Field &group, std::size_t e, const std::string &number, long payout,
               int popularity)
{
    TPayoutEntry p = race.payout(group, e);
    p.setCombination(number);
    p.setPayout(zeroPad(payout, p.payoutField().width));
    p.setPopularity(zeroPad(popularity, p.popularityField().width));
    race.setPayout(group, e, p);
}

std::unique_ptr<TResults> loadResults(const std::vector<TResultRec> &races, const char *name)
{
    const WinPath path(name);
    files::makeDirectories(path.parent());
    files::writeAll(path, joinRecords(races));
    auto results = makeResults();
    results->ResultFileName = path.text();
    LoadResults(*results);
    return results;
}

namespace {

template <class Rec>
Rec personDetail(const std::string &code, const std::string &family, const std::string &given,
                 const std::string &kana)
{
    Rec d;
    d.set(Rec::Code, code);
    d.set(Rec::DataDate, "20240613");
    d.set(Rec::Retired, "0");
    d.set(Rec::RetiredDate, "00000000");
    std::string name = sj(family);
    while (name.size() < 16)
        name += kWideSpace;
    d.set(Rec::DisplayName, name + sj(given));
    d.set(Rec::KanaName, sj(kana));
    d.set(Rec::ShortName, sj(family));
    d.set(Rec::BirthDate, "19800405");
    d.set(Rec::Affiliation, "1");
    d.set(Rec::InviteRegion, "");
    d.set(Rec::FirstLicenceYear, "2000");
    return d;
}

} // namespace

TJockeyDetailRec jockeyDetail(const std::string &code, const std::string &family, const std::string &given,
                              const std::string &kana)
{
    auto d = personDetail<TJockeyDetailRec>(code, family, given, kana);
    d.set(JockeyDetailFields::Qualification, "0");
    d.set(JockeyDetailFields::Apprentice, "0");
    d.set(JockeyDetailFields::TrainerCode, "00000");
    d.set(JockeyDetailFields::TrainerName, "");
    return d;
}

TTrainerDetailRec trainerDetail(const std::string &code, const std::string &family, const std::string &given,
                                const std::string &kana)
{
    return personDetail<TTrainerDetailRec>(code, family, given, kana);
}

std::vector<RecordedCall> textsAt(const RecordingCanvas &canvas, int y)
{
    std::vector<RecordedCall> out;
    for (const RecordedCall &c : canvas.texts())
        if (c.y == y)
            out.push_back(c);
    return out;
}

const RecordedCall *textAt(const RecordingCanvas &canvas, int x, int y)
{
    for (const RecordedCall &c : canvas.calls())
        if ((c.kind == RecordedCall::Kind::Text || c.kind == RecordedCall::Kind::VText) && c.x == x && c.y == y)
            return &c;
    return nullptr;
}

std::string utf8At(const RecordingCanvas &canvas, int x, int y)
{
    const RecordedCall *c = textAt(canvas, x, y);
    return c ? cp932::toUtf8(c->text) : std::string();
}

} // namespace zorbe::test
