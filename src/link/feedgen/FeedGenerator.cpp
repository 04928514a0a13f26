#include "link/feedgen/FeedGenerator.h"

#include "data/jvdata/JVData_Structure.h"
#include "link/feedgen/FeedCalendar.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace zorbe::feedgen {
namespace {

using jv::RecordBuilder;

std::string timeText(int tenths) { return zeroPad((tenths / 600) * 1000 + (tenths % 600), 4); }

std::string stamp(int date, int hhmmss) { return zeroPad(date, 8) + zeroPad(hhmmss, 6); }

bool started(const Run &x) { return x.abnormality == '0' || x.abnormality == '4' || x.abnormality == '5'; }

// The race key of the record kinds that carry one (RA, SE, HR).
#define ZORBE_SET_RACE_KEY(K, b, r)                                                                                \
    (b).set(K::Year, (r).date / 10000).set(K::MonthDay, (r).date % 10000).set(K::Venue, (r).venue);              \
    (b).set(K::Meeting, (r).meeting).set(K::MeetingDay, (r).meetingDay).set(K::RaceNumber, (r).number)

std::string raRecord(const Season &s, const Race &r, char kind, int created)
{
    namespace RA = jv::RA;
    RecordBuilder b(jv::raRecord());
    b.set(RA::DataKind, std::string(1, kind)).set(RA::CreationDate, created);
    ZORBE_SET_RACE_KEY(RA, b, r);
    b.set(RA::Weekday, std::string(1, r.weekday));
    b.set(RA::RaceName, r.name).set(RA::ShortName10, r.shortName10).set(RA::ShortName6, r.shortName6);
    b.set(RA::ShortName, r.shortName3).set(RA::Edition, r.edition).set(RA::Grade, std::string(1, r.grade));
    b.set(RA::RaceKind, r.kind).set(RA::RaceSymbol, r.symbol).set(RA::WeightRule, std::string(1, r.weightRule));
    const int youngest = r.kind == "11" ? 0 : r.kind == "12" ? 1 : r.kind == "14" || r.kind == "19" ? 2 : 1;
    for (int k = youngest; k < 4; ++k) {
        if ((r.kind == "11" || r.kind == "12") && k > youngest)
            break;
        b.set(RA::Condition.at(k), r.condition);
    }
    b.set(RA::Condition.at(4), r.condition);
    b.set(RA::ConditionName, r.conditionName);
    b.set(RA::Distance, r.distance).set(RA::Track, r.track).set(RA::CourseDivision, r.courseDivision);
    for (int k = 0; k < 5; ++k)
        b.set(RA::MainPrize.at(k), r.mainPrize[k]).set(RA::AddedPrize.at(k), r.addedPrize[k]);
    b.set(RA::PostTime, r.postTime).set(RA::Entries, r.entries ? r.entries : static_cast<int>(r.runs.size()));
    if (kind == '7') {
        b.set(RA::Starters, r.starters).set(RA::Finishers, r.finishers);
        b.set(RA::Weather, std::string(1, r.weather)).set(RA::TurfGoing, std::string(1, r.turfGoing));
        b.set(RA::DirtGoing, std::string(1, r.dirtGoing));
        for (std::size_t i = 0; i < r.laps.size() && i < 25; ++i)
            b.set(RA::LapTime.at(i), r.laps[i]);
        b.set(RA::JumpMileTime, r.jumpMileTime ? std::stoi(timeText(r.jumpMileTime)) : 0);
        b.set(RA::First3F, r.first3F).set(RA::First4F, r.first4F).set(RA::Last3F, r.last3F).set(RA::Last4F, r.last4F);
        int block = 0;
        for (int c = 0; c < 4; ++c)
            if (!r.cornerOrder[c].empty()) {
                b.set(RA::CornerNumber.at(block), c + 1).set(RA::CornerLaps.at(block), 1);
                b.set(RA::CornerOrder.at(block), r.cornerOrder[c].substr(0, 70));
                ++block;
            }
        b.set(RA::RecordUpdate, r.recordUpdate ? 1 : 0);
    } else if (kind == '2') {
        b.set(RA::Weather, std::string(1, r.weather)).set(RA::TurfGoing, std::string(1, r.turfGoing));
        b.set(RA::DirtGoing, std::string(1, r.dirtGoing));
    }
    (void)s;
    return b.take();
}

std::string seRecord(const Season &s, const Race &r, const Run &x, char kind, int created)
{
    namespace SE = jv::SE;
    const Horse &h = s.horses[x.horse];
    const Person &j = s.jockeys[x.jockey];
    const Person &t = s.trainers[x.trainer];
    RecordBuilder b(jv::seRecord());
    b.set(SE::DataKind, std::string(1, kind)).set(SE::CreationDate, created);
    ZORBE_SET_RACE_KEY(SE, b, r);
    b.set(SE::Bracket, x.bracket).set(SE::HorseNumber, x.horseNumber).set(SE::HorseId, h.id);
    b.set(SE::HorseName, h.name).set(SE::HorseMark, h.mark).set(SE::Sex, h.sex).set(SE::Breed, 1);
    b.set(SE::Coat, h.coat).set(SE::Age, x.age).set(SE::Affiliation, std::string(1, t.affiliation));
    b.set(SE::TrainerCode, t.code).set(SE::TrainerShortName, t.shortName);
    b.set(SE::OwnerCode, 100000 + h.owner).set(SE::OwnerName, s.owners[h.owner]);
    b.set(SE::CarriedWeight, x.carriedWeight).set(SE::Blinker, x.blinker ? 1 : 0);
    b.set(SE::JockeyCode, j.code).set(SE::JockeyShortName, j.shortName);
    b.set(SE::Apprentice, std::string(1, x.apprentice));
    if (kind == '7') {
        const bool weighed = x.abnormality != '1' && x.abnormality != '2';
        b.set(SE::BodyWeight, weighed ? x.bodyWeight : 0);
        b.set(SE::BodyWeightSign, !weighed || x.bodyWeightChange == 0 ? " " : x.bodyWeightChange > 0 ? "+" : "-");
        b.set(SE::BodyWeightChange, weighed ? std::abs(x.bodyWeightChange) : 0);
        b.set(SE::Abnormality, std::string(1, x.abnormality)).set(SE::ArrivalOrder, x.arrival);
        b.set(SE::Placing, x.placing).set(SE::DeadHeat, x.deadHeat ? 1 : 0).set(SE::DeadHeatCount, x.deadHeatCount);
        b.set(SE::Time, x.time ? timeText(x.time) : "0000").set(SE::Margin, x.margin);
        for (int c = 0; c < 4; ++c)
            b.set(SE::Corner.at(c), x.corners[c]);
        b.set(SE::WinOdds, x.odds).set(SE::Popularity, x.popularity);
        b.set(SE::MainPrizeWon, x.mainPrize).set(SE::AddedPrizeWon, x.addedPrize);
        b.set(SE::Last4F, x.last4F).set(SE::Last3F, x.last3F);
        for (std::size_t k = 0; k < x.opponents.size() && k < 3; ++k) {
            const Horse &o = s.horses[x.opponents[k]];
            b.set(SE::OpponentId.at(k), o.id).set(SE::OpponentName.at(k), o.name);
        }
        b.set(SE::TimeDifference, x.timeDifference).set(SE::RecordUpdate, x.recordUpdate ? 1 : 0);
        b.set(SE::RunningStyle, x.style);
    }
    return b.take();
}

// Placing counts of a run: 0..4 for 1st..5th, 5 unplaced.
int placeIndex(const Run &x) { return x.abnormality == '0' && x.placing >= 1 && x.placing <= 5 ? x.placing - 1 : 5; }

std::string umRecord(const Season &s, int horse, int cutoffDay, int created)
{
    namespace UM = jv::UM;
    const Horse &h = s.horses[horse];
    const Person &t = s.trainers[h.trainer];
    RecordBuilder b(jv::umRecord());
    b.set(UM::DataKind, "1").set(UM::CreationDate, created).set(UM::HorseId, h.id).set(UM::Deregistered, 0);
    b.set(UM::RegistrationDate, h.registrationDate).set(UM::BirthDate, h.birthDate).set(UM::HorseName, h.name);
    b.set(UM::HorseNameKana, h.kana).set(UM::AtJraFacility, 1);
    b.set(UM::HorseMark, h.mark).set(UM::Sex, h.sex).set(UM::Breed, 1).set(UM::Coat, h.coat);
    for (int k = 0; k < 14; ++k)
        b.set(UM::PedigreeNumber.at(k), h.pedigreeNumber[k]).set(UM::PedigreeName.at(k), h.pedigreeName[k]);
    b.set(UM::Affiliation, std::string(1, t.affiliation)).set(UM::TrainerCode, t.code);
    b.set(UM::TrainerShortName, t.shortName).set(UM::InvitationRegion, t.region);
    b.set(UM::BreederCode, 200000 + h.breeder).set(UM::BreederName, s.breeders[h.breeder]);
    b.set(UM::Birthplace, h.birthplace).set(UM::OwnerCode, 100000 + h.owner).set(UM::OwnerName, s.owners[h.owner]);
    std::int64_t prize[6] = {};
    int total[6] = {}, course[7][6] = {}, going[12][6] = {}, dist[6][6] = {}, styles[4] = {}, count = 0;
    for (int ri : h.runs) {
        const Run &x = s.runs[ri];
        const Race &r = s.races[x.race];
        if (r.day >= cutoffDay || r.cancelled || !started(x))
            continue;
        ++count;
        const bool jump = r.surface == Surface::Jump, dirt = r.surface == Surface::Dirt;
        prize[jump ? 1 : 0] += x.mainPrize;
        prize[jump ? 3 : 2] += x.addedPrize;
        if (x.placing == 1 && x.abnormality == '0')
            prize[jump ? 5 : 4] += x.mainPrize / 2;
        const int p = placeIndex(x);
        ++total[p];
        const int tr = std::stoi(r.track);
        const int c = jump ? 6 : (dirt ? 3 : 0) + (tr == 10 ? 0 : (tr >= 17 && tr <= 22) || tr == 24 ? 1 : 2);
        ++course[c][p];
        const char g = dirt ? r.dirtGoing : r.turfGoing;
        ++going[(jump ? 8 : dirt ? 4 : 0) + (g - '1')][p];
        if (!jump)
            ++dist[(dirt ? 3 : 0) + (r.distance <= 1600 ? 0 : r.distance <= 2200 ? 1 : 2)][p];
        ++styles[x.style - 1];
    }
    b.set(UM::FlatMainPrize, prize[0]).set(UM::JumpMainPrize, prize[1]).set(UM::FlatAddedPrize, prize[2]);
    b.set(UM::JumpAddedPrize, prize[3]).set(UM::FlatEarnings, prize[4]).set(UM::JumpEarnings, prize[5]);
    for (int k = 0; k < 6; ++k) {
        b.set(UM::TotalPlacings.at(k), total[k]).set(UM::JraPlacings.at(k), total[k]);
        for (int c = 0; c < 7; ++c)
            b.set(UM::CoursePlacings.at(c, k), course[c][k]);
        for (int g = 0; g < 12; ++g)
            b.set(UM::GoingPlacings.at(g, k), going[g][k]);
        for (int d = 0; d < 6; ++d)
            b.set(UM::DistancePlacings.at(d, k), dist[d][k]);
    }
    for (int k = 0; k < 4; ++k)
        b.set(UM::RunningStyleCounts.at(k), styles[k]);
    b.set(UM::RaceCount, count);
    return b.take();
}

std::string rcRecord(const Season &s, const CourseRecord &rec, int created, char recordKind)
{
    namespace RC = jv::RC;
    RecordBuilder b(jv::rcRecord());
    b.set(RC::DataKind, "1").set(RC::CreationDate, created).set(RC::RecordKind, std::string(1, recordKind));
    b.raw(RC::RaceKey, rec.raceKey);
    if (rec.race >= 0) {
        const Race &r = s.races[rec.race];
        b.set(RC::RaceName, r.name).set(RC::Grade, std::string(1, r.grade));
    }
    b.set(RC::RaceKind, rec.kind).set(RC::Distance, rec.distance).set(RC::Track, rec.track).set(RC::RecordClass, 2);
    b.set(RC::RecordTime, timeText(rec.time)).set(RC::Weather, std::string(1, rec.weather));
    b.set(RC::TurfGoing, std::string(1, rec.going)).set(RC::DirtGoing, std::string(1, rec.going));
    const Person &j = s.jockeys[rec.jockey];
    const Person &t = s.trainers[rec.trainer];
    b.set(RC::HolderHorseId.at(0), rec.horseId).set(RC::HolderHorseName.at(0), rec.horseName);
    b.set(RC::HolderSex.at(0), rec.sex).set(RC::HolderTrainerCode.at(0), t.code);
    b.set(RC::HolderTrainerName.at(0), rec.trainerName).set(RC::HolderCarriedWeight.at(0), rec.carriedWeight);
    b.set(RC::HolderJockeyCode.at(0), j.code).set(RC::HolderJockeyName.at(0), rec.jockeyName);
    return b.take();
}

// ---- payouts ---------------------------------------------------------------

struct Bet
{
    std::vector<int> runs; // run indexes in the bet's order
};

// The winning sets of k runners, with dead heats giving several: every
// runner placed better than the k-th one, plus any choice among those tied
// with it. Ordered bets also list every order the placings allow.
std::vector<std::vector<int>> winningSets(const std::vector<int> &placed, const std::vector<Run> &runs, int k,
                                          bool ordered)
{
    std::vector<std::vector<int>> out;
    if (static_cast<int>(placed.size()) < k)
        return out;
    const int cutoff = runs[placed[k - 1]].placing;
    std::vector<int> must, tied;
    for (int ri : placed) {
        if (runs[ri].placing < cutoff)
            must.push_back(ri);
        else if (runs[ri].placing == cutoff)
            tied.push_back(ri);
    }
    const int need = k - static_cast<int>(must.size());
    std::function<void(std::size_t, std::vector<int> &)> choose = [&](std::size_t from, std::vector<int> &pick) {
        if (static_cast<int>(pick.size()) == need) {
            std::vector<int> set = must;
            set.insert(set.end(), pick.begin(), pick.end());
            if (!ordered) {
                out.push_back(set);
                return;
            }
            std::sort(set.begin(), set.end());
            do {
                bool ok = true;
                for (std::size_t i = 1; i < set.size(); ++i)
                    ok = ok && runs[set[i - 1]].placing <= runs[set[i]].placing;
                if (ok)
                    out.push_back(set);
            } while (std::next_permutation(set.begin(), set.end()));
            return;
        }
        for (std::size_t i = from; i < tied.size(); ++i) {
            pick.push_back(tied[i]);
            choose(i + 1, pick);
            pick.pop_back();
        }
    };
    std::vector<int> pick;
    choose(0, pick);
    return out;
}

std::int64_t payoutOf(double takeHome, double probability)
{
    const double yen = 100.0 * takeHome / std::max(probability, 1e-6);
    return std::max<std::int64_t>(100, static_cast<std::int64_t>(yen / 10) * 10);
}

std::string hrRecord(const Season &s, const Race &r, int created)
{
    namespace HR = jv::HR;
    const auto &runs = s.runs;
    RecordBuilder b(jv::hrRecord());
    b.set(HR::DataKind, "2").set(HR::CreationDate, created);
    ZORBE_SET_RACE_KEY(HR, b, r);
    b.set(HR::Entries, r.entries).set(HR::Starters, r.starters);
    std::vector<int> placed, field;
    for (int ri : r.runs) {
        if (runs[ri].abnormality == '0')
            placed.push_back(ri);
        if (runs[ri].probability > 0)
            field.push_back(ri);
    }
    std::stable_sort(placed.begin(), placed.end(), [&](int a, int b2) { return runs[a].placing < runs[b2].placing; });
    for (int ri : r.runs)
        if (runs[ri].abnormality == '1' || runs[ri].abnormality == '2' || runs[ri].abnormality == '3')
            b.set(HR::RefundHorse.at(runs[ri].horseNumber - 1), 1);
    auto p = [&](int ri) { return runs[ri].probability; };
    auto exacta = [&](int a, int c) { return p(a) * p(c) / std::max(1e-9, 1 - p(a)); };
    auto trifecta = [&](int a, int c, int d) {
        return exacta(a, c) * p(d) / std::max(1e-9, 1 - p(a) - p(c));
    };
    auto trio = [&](int a, int c, int d) {
        return trifecta(a, c, d) + trifecta(a, d, c) + trifecta(c, a, d) + trifecta(c, d, a) + trifecta(d, a, c)
               + trifecta(d, c, a);
    };
    auto quinella = [&](int a, int c) { return exacta(a, c) + exacta(c, a); };
    auto wide = [&](int a, int c) {
        double sum = 0;
        for (int d : field)
            if (d != a && d != c)
                sum += trio(a, c, d);
        return sum;
    };
    auto placeChance = [&](int a, int places) {
        double sum = p(a);
        for (int c : field)
            if (c != a) {
                sum += exacta(c, a);
                if (places == 3)
                    for (int d : field)
                        if (d != a && d != c)
                            sum += trifecta(c, d, a);
            }
        return sum;
    };
    // Popularity: 1 + the number of combinations the market rated higher.
    auto rankPairs = [&](double value, auto chance, bool ordered) {
        int better = 0;
        for (std::size_t i = 0; i < field.size(); ++i)
            for (std::size_t k = ordered ? 0 : i + 1; k < field.size(); ++k)
                if (i != k && chance(field[i], field[k]) > value)
                    ++better;
        return better + 1;
    };
    auto num = [&](int ri) { return zeroPad(runs[ri].horseNumber, 2); };
    const int starters = static_cast<int>(field.size());

    const auto wins = winningSets(placed, runs, 1, false);
    for (std::size_t k = 0; k < wins.size() && k < 3; ++k) {
        const Run &x = runs[wins[k][0]];
        b.set(HR::WinHorse.at(k), num(wins[k][0])).set(HR::WinPayout.at(k), static_cast<std::int64_t>(x.odds) * 10);
        b.set(HR::WinPopularity.at(k), x.popularity);
    }
    const int places = starters >= 8 ? 3 : starters >= 5 ? 2 : 0;
    if (places) {
        std::vector<int> placeRuns;
        for (int ri : placed)
            if (runs[ri].placing <= places || static_cast<int>(placeRuns.size()) < places)
                placeRuns.push_back(ri);
        std::vector<std::pair<double, int>> byChance;
        for (int ri : field)
            byChance.push_back({-placeChance(ri, places), ri});
        std::sort(byChance.begin(), byChance.end());
        for (std::size_t k = 0; k < placeRuns.size() && k < 5; ++k) {
            const int ri = placeRuns[k];
            int pop = 1;
            while (pop <= static_cast<int>(byChance.size()) && byChance[pop - 1].second != ri)
                ++pop;
            b.set(HR::PlaceHorse.at(k), num(ri)).set(HR::PlacePayout.at(k), payoutOf(0.8, placeChance(ri, places)));
            b.set(HR::PlacePopularity.at(k), pop);
        }
    }
    const auto pairs = winningSets(placed, runs, 2, false);
    std::set<std::string> brackets;
    for (std::size_t k = 0, q = 0; k < pairs.size() && q < 3; ++k, ++q) {
        int a = pairs[k][0], c = pairs[k][1];
        if (runs[a].horseNumber > runs[c].horseNumber)
            std::swap(a, c);
        const double chance = quinella(a, c);
        b.set(HR::QuinellaCombination.at(q), num(a) + num(c)).set(HR::QuinellaPayout.at(q), payoutOf(0.775, chance));
        b.set(HR::QuinellaPopularity.at(q), rankPairs(chance, quinella, false));
        if (r.entries >= 9 && brackets.size() < 3) {
            const int ba = std::min(runs[a].bracket, runs[c].bracket), bc = std::max(runs[a].bracket, runs[c].bracket);
            const std::string combo = std::to_string(ba) + std::to_string(bc);
            if (brackets.insert(combo).second) {
                double bchance = 0, better = 0;
                std::map<std::string, double> all;
                for (std::size_t i = 0; i < field.size(); ++i)
                    for (std::size_t j = i + 1; j < field.size(); ++j) {
                        const int x1 = std::min(runs[field[i]].bracket, runs[field[j]].bracket);
                        const int x2 = std::max(runs[field[i]].bracket, runs[field[j]].bracket);
                        all[std::to_string(x1) + std::to_string(x2)] += quinella(field[i], field[j]);
                    }
                bchance = all[combo];
                for (const auto &[key, v] : all)
                    if (v > bchance)
                        ++better;
                const std::size_t slot = brackets.size() - 1;
                b.set(HR::BracketCombination.at(slot), combo).set(HR::BracketPayout.at(slot), payoutOf(0.775, bchance));
                b.set(HR::BracketPopularity.at(slot), static_cast<int>(better) + 1);
            }
        }
    }
    if (placed.size() >= 3) {
        std::set<std::pair<int, std::pair<int, int>>> widePairs;
        for (const auto &set : winningSets(placed, runs, 3, false))
            for (int i = 0; i < 3; ++i)
                for (int k = i + 1; k < 3; ++k) {
                    int a = set[i], c = set[k];
                    if (runs[a].horseNumber > runs[c].horseNumber)
                        std::swap(a, c);
                    widePairs.insert({runs[a].horseNumber * 100 + runs[c].horseNumber, {a, c}});
                }
        std::size_t w = 0;
        for (const auto &entry : widePairs) {
            if (w >= 7)
                break;
            const int a = entry.second.first, c = entry.second.second;
            const double chance = wide(a, c);
            b.set(HR::WideCombination.at(w), num(a) + num(c)).set(HR::WidePayout.at(w), payoutOf(0.775, chance));
            b.set(HR::WidePopularity.at(w), rankPairs(chance, wide, false));
            ++w;
        }
    }
    const auto ordered2 = winningSets(placed, runs, 2, true);
    for (std::size_t k = 0; k < ordered2.size() && k < 6; ++k) {
        const int a = ordered2[k][0], c = ordered2[k][1];
        const double chance = exacta(a, c);
        b.set(HR::ExactaCombination.at(k), num(a) + num(c)).set(HR::ExactaPayout.at(k), payoutOf(0.75, chance));
        b.set(HR::ExactaPopularity.at(k), rankPairs(chance, exacta, true));
    }
    auto rankTriples = [&](double value, auto chance, bool ordered) {
        int better = 0;
        for (std::size_t i = 0; i < field.size(); ++i)
            for (std::size_t j = ordered ? 0 : i + 1; j < field.size(); ++j)
                for (std::size_t k = ordered ? 0 : j + 1; k < field.size(); ++k)
                    if (i != j && j != k && i != k && chance(field[i], field[j], field[k]) > value)
                        ++better;
        return better + 1;
    };
    if (placed.size() >= 3) {
        const auto sets = winningSets(placed, runs, 3, false);
        for (std::size_t k = 0; k < sets.size() && k < 3; ++k) {
            std::vector<int> set = sets[k];
            std::sort(set.begin(), set.end(), [&](int a, int c) { return runs[a].horseNumber < runs[c].horseNumber; });
            const double chance = trio(set[0], set[1], set[2]);
            b.set(HR::TrioCombination.at(k), num(set[0]) + num(set[1]) + num(set[2]));
            b.set(HR::TrioPayout.at(k), payoutOf(0.75, chance)).set(HR::TrioPopularity.at(k), rankTriples(chance, trio, false));
        }
        const auto orders = winningSets(placed, runs, 3, true);
        for (std::size_t k = 0; k < orders.size() && k < 6; ++k) {
            const auto &o = orders[k];
            const double chance = trifecta(o[0], o[1], o[2]);
            b.set(HR::TrifectaCombination.at(k), num(o[0]) + num(o[1]) + num(o[2]));
            b.set(HR::TrifectaPayout.at(k), payoutOf(0.725, chance));
            b.set(HR::TrifectaPopularity.at(k), rankTriples(chance, trifecta, true));
        }
    }
    return b.take();
}

// ---- jockey and trainer masters ---------------------------------------------

struct Tally
{
    std::int64_t prize[4] = {}; // flat main, jump main, flat added, jump added
    int flat[6] = {}, jump[6] = {}, course[20][6] = {}, dist[6][6] = {};
    void add(const Run &x, const Race &r)
    {
        const bool jump_ = r.surface == Surface::Jump, dirt = r.surface == Surface::Dirt;
        const int p = placeIndex(x);
        prize[jump_ ? 1 : 0] += x.mainPrize;
        prize[jump_ ? 3 : 2] += x.addedPrize;
        ++(jump_ ? jump : flat)[p];
        if (!jump_) {
            ++course[(r.venue - 1) * 2 + (dirt ? 1 : 0)][p];
            ++dist[(dirt ? 3 : 0) + (r.distance <= 1600 ? 0 : r.distance <= 2200 ? 1 : 2)][p];
        }
    }
};

// The yearly-block and graded-win fields, which KS and CH share in layout.
struct YearFields
{
    jv::Field year, flatMain, jumpMain, flatAdded, jumpAdded, flat, jump, course, dist;
};
struct GradedFields
{
    jv::Field key, name, short10, short6, short3, grade, starters, horseId, horseName;
};
#define ZORBE_YEAR_FIELDS(K)                                                                                       \
    YearFields{K::YearOfBlock,   K::FlatMainPrize, K::JumpMainPrize,  K::FlatAddedPrize,  K::JumpAddedPrize,      \
               K::FlatPlacings,  K::JumpPlacings,  K::CoursePlacings, K::DistancePlacings}
#define ZORBE_GRADED_FIELDS(K)                                                                                     \
    GradedFields{K::GradedWinRaceKey,  K::GradedWinRaceName,   K::GradedWinShortName10,                          \
                 K::GradedWinShortName6, K::GradedWinShortName, K::GradedWinGrade,                                 \
                 K::GradedWinStarters, K::GradedWinHorseId,    K::GradedWinHorseName}

void writeYear(RecordBuilder &b, const YearFields &f, int block, int year, const Tally &t)
{
    b.set(f.year.at(block, 0), year);
    b.set(f.flatMain.at(block, 0), t.prize[0]).set(f.jumpMain.at(block, 0), t.prize[1]);
    b.set(f.flatAdded.at(block, 0), t.prize[2]).set(f.jumpAdded.at(block, 0), t.prize[3]);
    for (int k = 0; k < 6; ++k) {
        b.set(f.flat.at(block, k), t.flat[k]).set(f.jump.at(block, k), t.jump[k]);
        for (int c = 0; c < 20; ++c)
            b.set(f.course.at(block, c * 6 + k), t.course[c][k]);
        for (int d = 0; d < 6; ++d)
            b.set(f.dist.at(block, d * 6 + k), t.dist[d][k]);
    }
}

void writeGradedWins(RecordBuilder &b, const GradedFields &f, const Season &s, const std::vector<int> &wins)
{
    for (std::size_t k = 0; k < wins.size() && k < 3; ++k) {
        const Run &x = s.runs[wins[k]];
        const Race &r = s.races[x.race];
        b.set(f.key.at(k), r.key()).set(f.name.at(k), r.name).set(f.short10.at(k), r.shortName10);
        b.set(f.short6.at(k), r.shortName6).set(f.short3.at(k), r.shortName3).set(f.grade.at(k), std::string(1, r.grade));
        b.set(f.starters.at(k), r.starters).set(f.horseId.at(k), s.horses[x.horse].id);
        b.set(f.horseName.at(k), s.horses[x.horse].name);
    }
}

struct PersonTally
{
    std::map<int, Tally> years;
    Tally career;
    std::vector<int> gradedWins; // latest first
    int firstRide[2] = {-1, -1}, firstWin[2] = {-1, -1};
};

// Results of every person up to (not including) a day.
void tallyPeople(const Season &s, int cutoffDay, std::vector<PersonTally> &jockeys, std::vector<PersonTally> &trainers)
{
    jockeys.assign(s.jockeys.size(), {});
    trainers.assign(s.trainers.size(), {});
    for (std::size_t i = 0; i < s.runs.size(); ++i) {
        const Run &x = s.runs[i];
        const Race &r = s.races[x.race];
        if (r.day >= cutoffDay || r.cancelled || !started(x))
            continue;
        const int jump = r.surface == Surface::Jump ? 1 : 0;
        for (PersonTally *t : {&jockeys[x.jockey], &trainers[x.trainer]}) {
            t->years[r.date / 10000].add(x, r);
            t->career.add(x, r);
            const bool won = x.abnormality == '0' && x.placing == 1;
            if (won && r.grade != ' ' && r.grade != 'L')
                t->gradedWins.insert(t->gradedWins.begin(), static_cast<int>(i));
            if (t->firstRide[jump] < 0)
                t->firstRide[jump] = static_cast<int>(i);
            if (won && t->firstWin[jump] < 0)
                t->firstWin[jump] = static_cast<int>(i);
        }
    }
}

Tally withBefore(Tally t, const Person &p)
{
    for (int k = 0; k < 6; ++k) {
        t.flat[k] += p.flatBefore[k];
        t.jump[k] += p.jumpBefore[k];
    }
    t.prize[0] += p.prizeBefore;
    return t;
}

std::string ksRecord(const Season &s, int index, const PersonTally &t, int year, int created)
{
    namespace KS = jv::KS;
    const Person &p = s.jockeys[index];
    RecordBuilder b(jv::ksRecord());
    b.set(KS::DataKind, "1").set(KS::CreationDate, created).set(KS::JockeyCode, p.code).set(KS::Deregistered, 0);
    b.set(KS::LicenceDate, p.licenceDate).set(KS::BirthDate, p.birthDate).set(KS::Name, p.name);
    b.set(KS::NameKana, p.kana).set(KS::ShortName, p.shortName).set(KS::NameLatin, p.latin).set(KS::Sex, p.sex);
    b.set(KS::RidingQualification, std::string(1, p.qualification)).set(KS::Apprentice, std::string(1, p.apprentice));
    b.set(KS::Affiliation, std::string(1, p.affiliation)).set(KS::InvitationRegion, p.region);
    const Person &trainer = s.trainers[std::max(0, p.trainer)];
    b.set(KS::AttachedTrainerCode, trainer.code).set(KS::AttachedTrainerShortName, trainer.shortName);
    for (int k = 0; k < 2; ++k) {
        if (t.firstRide[k] >= 0) {
            const Run &x = s.runs[t.firstRide[k]];
            const Race &r = s.races[x.race];
            b.set(KS::FirstRideRaceKey.at(k), r.key()).set(KS::FirstRideStarters.at(k), r.starters);
            b.set(KS::FirstRideHorseId.at(k), s.horses[x.horse].id).set(KS::FirstRideHorseName.at(k), s.horses[x.horse].name);
            b.set(KS::FirstRidePlacing.at(k), x.placing).set(KS::FirstRideAbnormality.at(k), std::string(1, x.abnormality));
        }
        if (t.firstWin[k] >= 0) {
            const Run &x = s.runs[t.firstWin[k]];
            const Race &r = s.races[x.race];
            b.set(KS::FirstWinRaceKey.at(k), r.key()).set(KS::FirstWinStarters.at(k), r.starters);
            b.set(KS::FirstWinHorseId.at(k), s.horses[x.horse].id).set(KS::FirstWinHorseName.at(k), s.horses[x.horse].name);
        }
    }
    writeGradedWins(b, ZORBE_GRADED_FIELDS(KS), s, t.gradedWins);
    const auto get = [&](int y) { auto it = t.years.find(y); return it == t.years.end() ? Tally{} : it->second; };
    writeYear(b, ZORBE_YEAR_FIELDS(KS), 0, year, get(year));
    writeYear(b, ZORBE_YEAR_FIELDS(KS), 1, year - 1, get(year - 1));
    writeYear(b, ZORBE_YEAR_FIELDS(KS), 2, 0, withBefore(t.career, p));
    return b.take();
}

std::string chRecord(const Season &s, int index, const PersonTally &t, int year, int created)
{
    namespace CH = jv::CH;
    const Person &p = s.trainers[index];
    RecordBuilder b(jv::chRecord());
    b.set(CH::DataKind, "1").set(CH::CreationDate, created).set(CH::TrainerCode, p.code).set(CH::Deregistered, 0);
    b.set(CH::LicenceDate, p.licenceDate).set(CH::BirthDate, p.birthDate).set(CH::Name, p.name);
    b.set(CH::NameKana, p.kana).set(CH::ShortName, p.shortName).set(CH::NameLatin, p.latin).set(CH::Sex, p.sex);
    b.set(CH::Affiliation, std::string(1, p.affiliation)).set(CH::InvitationRegion, p.region);
    writeGradedWins(b, ZORBE_GRADED_FIELDS(CH), s, t.gradedWins);
    const auto get = [&](int y) { auto it = t.years.find(y); return it == t.years.end() ? Tally{} : it->second; };
    writeYear(b, ZORBE_YEAR_FIELDS(CH), 0, year, get(year));
    writeYear(b, ZORBE_YEAR_FIELDS(CH), 1, year - 1, get(year - 1));
    writeYear(b, ZORBE_YEAR_FIELDS(CH), 2, 0, withBefore(t.career, p));
    return b.take();
}

// A record of a kind the download run skips by file name.
std::string skippedRecord(const std::string &id, int created, const Race &r)
{
    std::string rec = id + "1" + zeroPad(created, 8) + r.key();
    rec.append(120 - rec.size(), '0');
    return rec + "\r\n";
}

} // namespace

std::vector<GeneratedFile> publishFeed(const Season &s)
{
    std::vector<GeneratedFile> files;
    auto file = [&](const std::string &name12, int date, int hhmmss, std::string content) {
        if (!content.empty())
            files.push_back({name12 + stamp(date, hhmmss) + ".txt", std::move(content)});
    };
    for (const FeedWeek &w : s.weeks) {
        const int thu = w.thursday, thuDay = dayNumber(thu);
        const int fri = dateOf(thuDay + 1);
        const std::string T = zeroPad(thu, 8);
        // Thursday: nominations, masters, files to skip.
        std::string ra1, se1;
        for (int ri : w.races) {
            const Race &r = s.races[ri];
            ra1 += raRecord(s, r, '1', thu);
            for (int x : r.runs)
                se1 += seRecord(s, r, s.runs[x], '1', thu);
        }
        file("RATW" + T, thu, 170000, ra1);
        file("SETW" + T, thu, 170001, se1);
        std::vector<PersonTally> jt, tt;
        tallyPeople(s, thuDay, jt, tt);
        std::string ks, ch;
        for (std::size_t i = 0; i < s.jockeys.size(); ++i)
            ks += ksRecord(s, static_cast<int>(i), jt[i], thu / 10000, thu);
        for (std::size_t i = 0; i < s.trainers.size(); ++i)
            ch += chRecord(s, static_cast<int>(i), tt[i], thu / 10000, thu);
        file("KSMW" + T, thu, 170002, ks);
        file("CHMW" + T, thu, 170003, ch);
        if (!w.races.empty()) {
            const Race &first = s.races[w.races.front()];
            const char *skipped[] = {"H1", "H6", "O1", "O2", "O3", "O4", "O5", "O6", "BN", "JG", "BR"};
            int sec = 10;
            for (const char *id : skipped)
                file(std::string(id) + "VW" + T, thu, 170000 + sec++, skippedRecord(id, thu, first));
        }
        // Friday: race cards per race day, and the weekly files.
        int sec = 0;
        for (int day : w.raceDays) {
            std::string ra, se;
            for (int ri : w.races) {
                const Race &r = s.races[ri];
                if (r.date != day)
                    continue;
                ra += raRecord(s, r, '2', fri);
                for (int x : r.runs)
                    se += seRecord(s, r, s.runs[x], '2', fri);
            }
            file("RACW" + zeroPad(day, 8), fri, 100000 + sec++, ra);
            file("SECW" + zeroPad(day, 8), fri, 100000 + sec++, se);
        }
        std::string raq, seq, ump, rcp;
        std::set<int> pastRaces, horsesDone;
        for (int ri : w.races)
            for (int x : s.races[ri].runs) {
                const int horse = s.runs[x].horse;
                if (!horsesDone.insert(horse).second)
                    continue;
                ump += umRecord(s, horse, thuDay, thu);
                const auto &hist = s.horses[horse].runs;
                int listed = 0;
                for (auto it = hist.rbegin(); it != hist.rend() && listed < 10 * s.options.scale; ++it) {
                    const Run &past = s.runs[*it];
                    const Race &pr = s.races[past.race];
                    if (pr.day >= thuDay || pr.cancelled)
                        continue;
                    seq += seRecord(s, pr, past, '7', thu);
                    pastRaces.insert(past.race);
                    ++listed;
                }
            }
        for (int pr : pastRaces)
            raq += raRecord(s, s.races[pr], '7', thu);
        int gradeRecords = 0;
        for (const CourseRecord &rec : s.recordsBefore(thuDay)) {
            rcp += rcRecord(s, rec, thu, '1');
            if (rec.race >= 0 && s.races[rec.race].grade == 'A' && gradeRecords++ < 3)
                rcp += rcRecord(s, rec, thu, '2');
        }
        file("RAQW" + T, fri, 110000, raq);
        file("SEQW" + T, fri, 110001, seq);
        file("UMPW" + T, fri, 110002, ump);
        file("RCPW" + T, fri, 110003, rcp);
        // Monday: results and payouts.
        const int mon = dateOf(thuDay + 4);
        sec = 0;
        for (int day : w.raceDays) {
            std::string ra, se, hr;
            for (int ri : w.races) {
                const Race &r = s.races[ri];
                if (r.date != day)
                    continue;
                const char kind = r.cancelled ? '9' : '7';
                ra += raRecord(s, r, kind, mon);
                for (int x : r.runs)
                    se += seRecord(s, r, s.runs[x], kind, mon);
                if (!r.cancelled)
                    hr += hrRecord(s, r, mon);
            }
            file("RASW" + zeroPad(day, 8), mon, 180000 + sec++, ra);
            file("SESW" + zeroPad(day, 8), mon, 180000 + sec++, se);
            file("HRSW" + zeroPad(day, 8), mon, 180000 + sec++, hr);
        }
    }
    return files;
}

std::vector<GeneratedFile> publishOdds(const Season &s)
{
    static const char *oddsVenue[] = {"08", "09", "06", "07", "04", "05", "02", "00", "01", "03"};
    std::vector<GeneratedFile> files;
    for (const FeedWeek &w : s.weeks)
        for (int day : w.raceDays) {
            std::string odz;
            std::map<int, std::string> odd;
            for (int ri : w.races) {
                const Race &r = s.races[ri];
                if (r.date != day)
                    continue;
                std::string rec(1502, ' ');
                const std::string key = std::string(oddsVenue[r.venue - 1]) + zeroPad(r.date / 10000, 4)
                                        + zeroPad(r.meeting, 2) + zeroPad(r.meetingDay, 2) + zeroPad(r.number, 2);
                rec.replace(0, 12, key);
                rec.replace(12, 8, zeroPad(r.date % 10000, 4) + zeroPad(r.postTime, 4));
                rec.replace(104, 7, "0" + zeroPad(r.postTime, 4) + zeroPad(r.entries, 2));
                std::string venueRec(90, ' ');
                for (int x : r.runs) {
                    const Run &run = s.runs[x];
                    const int j = run.horseNumber - 1;
                    const bool out = run.abnormality == '1' || run.abnormality == '2';
                    rec.replace(161 + 5 * j, 5, out ? std::string("/    ") : zeroPad(run.odds, 5));
                    std::string text = out ? "  ---" : std::to_string(run.odds / 10) + "." + std::to_string(run.odds % 10);
                    text.insert(0, 5 - std::min<std::size_t>(5, text.size()), ' ');
                    venueRec.replace(5 * j, 5, text.substr(0, 5));
                }
                odz += rec + "\r\n";
                odd[r.venue] += venueRec + "\r\n";
            }
            files.push_back({zeroPad(day, 8) + ".odz", odz});
            for (const auto &[venue, content] : odd)
                files.push_back({zeroPad(venue, 2) + zeroPad(day, 8) + ".odd", content});
        }
    return files;
}

int generateFeed(const FeedOptions &options, const WinPath &outFolder, const WinPath &oddsFolder)
{
    const Season season = simulateSeason(options);
    int count = 0;
    files::makeDirectories(outFolder);
    for (const auto &f : publishFeed(season)) {
        files::writeAll(outFolder / f.name, f.content);
        ++count;
    }
    if (!oddsFolder.empty()) {
        files::makeDirectories(oddsFolder);
        for (const auto &f : publishOdds(season)) {
            files::writeAll(oddsFolder / f.name, f.content);
            ++count;
        }
    }
    return count;
}

} // namespace zorbe::feedgen
