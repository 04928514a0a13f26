#include "data/convert/MasterUpkeep.h"

#include "data/convert/RaceParts.h"
#include "data/formats/MasterFormats.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace zorbe {

using namespace formats;
using convert::jvFirst;
using convert::jvGet;
namespace CH = jv::CH;
namespace KS = jv::KS;

namespace {

// The fields the jockey and trainer master records share, by kind.
struct PersonFields
{
    const jv::Field &code, &creationDate, &deregistered, &licenceDate, &licenceEndDate, &birthDate, &name,
        &nameKana, &shortName, &affiliation, &invitationRegion;
    const jv::Field &gradedKey, &gradedShortName, &gradedGrade, &gradedStarters, &gradedHorseId, &gradedHorseName;
    const jv::Field &flatMain, &jumpMain, &flatAdded, &jumpAdded;
    const jv::Field &flatPlacings, &jumpPlacings, &coursePlacings, &distancePlacings;
};

const PersonFields kTrainer{CH::TrainerCode,
                            CH::CreationDate,
                            CH::Deregistered,
                            CH::LicenceDate,
                            CH::LicenceEndDate,
                            CH::BirthDate,
                            CH::Name,
                            CH::NameKana,
                            CH::ShortName,
                            CH::Affiliation,
                            CH::InvitationRegion,
                            CH::GradedWinRaceKey,
                            CH::GradedWinShortName,
                            CH::GradedWinGrade,
                            CH::GradedWinStarters,
                            CH::GradedWinHorseId,
                            CH::GradedWinHorseName,
                            CH::FlatMainPrize,
                            CH::JumpMainPrize,
                            CH::FlatAddedPrize,
                            CH::JumpAddedPrize,
                            CH::FlatPlacings,
                            CH::JumpPlacings,
                            CH::CoursePlacings,
                            CH::DistancePlacings};

const PersonFields kJockey{KS::JockeyCode,
                           KS::CreationDate,
                           KS::Deregistered,
                           KS::LicenceDate,
                           KS::LicenceEndDate,
                           KS::BirthDate,
                           KS::Name,
                           KS::NameKana,
                           KS::ShortName,
                           KS::Affiliation,
                           KS::InvitationRegion,
                           KS::GradedWinRaceKey,
                           KS::GradedWinShortName,
                           KS::GradedWinGrade,
                           KS::GradedWinStarters,
                           KS::GradedWinHorseId,
                           KS::GradedWinHorseName,
                           KS::FlatMainPrize,
                           KS::JumpMainPrize,
                           KS::FlatAddedPrize,
                           KS::JumpAddedPrize,
                           KS::FlatPlacings,
                           KS::JumpPlacings,
                           KS::CoursePlacings,
                           KS::DistancePlacings};

// The yearly result blocks: this year, last year, career.
constexpr std::size_t kThisYear = 0, kLastYear = 1, kCareer = 2;

// The last `digits` digits of a 6-digit count, as a number.
std::int64_t countTail(std::string_view count6, std::size_t digits, std::string_view name)
{
    return toInt(count6.substr(count6.size() - digits), name);
}

// A placing group of four counts from six counts (1st .. 5th, unplaced),
// each the last three digits of its 6-digit count; the 4th, 5th and
// unplaced counts summed into the "other finishes" count (capped at 999 so
// that the line keeps its length).
template <class Count>
TResultCounts countsOf(Count count)
{
    using C = ResultCountsFields;
    auto tail = [&](std::size_t i) { return countTail(count(i), 3, "着回数"); };
    TResultCounts c;
    c.setNumber(C::Wins, tail(0));
    c.setNumber(C::Seconds, tail(1));
    c.setNumber(C::Thirds, tail(2));
    c.setNumber(C::Others, std::min<std::int64_t>(tail(3) + tail(4) + tail(5), 999));
    return c;
}

// The placing group of six consecutive counts of a repeated field:
// counts first .. first + 5 of yearly block `year`.
TResultCounts groupOf(std::string_view rec, const jv::Field &f, std::size_t year, std::size_t first = 0)
{
    return countsOf([&](std::size_t i) { return field(rec, f.at(year, first + i).spec); });
}

// A race key as the master lines keep it: all "0" when there is none.
std::string raceKeyOrZeros(std::string_view key)
{
    return isBlank(key) ? std::string(key.size(), '0') : std::string(key);
}

TGradedWinBlock gradedWin(std::string_view rec, const PersonFields &p, std::size_t w)
{
    using G = GradedWinFields;
    TGradedWinBlock b;
    b.set(G::Key, raceKeyOrZeros(field(rec, p.gradedKey.at(w).spec)));
    b.set(G::ShortName, field(rec, p.gradedShortName.at(w).spec));
    b.set(G::Grade, field(rec, p.gradedGrade.at(w).spec));
    b.set(G::Starters, field(rec, p.gradedStarters.at(w).spec));
    b.set(G::HorseId, field(rec, p.gradedHorseId.at(w).spec));
    b.set(G::HorseName, field(rec, p.gradedHorseName.at(w).spec)); // its first 18 bytes
    return b;
}

// Characters 3-9 of a 10-digit amount in hundreds of yen: thousands of yen.
std::string_view thousandsOf(std::string_view tenDigits) { return tenDigits.substr(2, 7); }

// The four amounts of a yearly block in the order the master lines keep
// them: flat main prize, flat added prize, jump main prize, jump added.
template <class Rec>
void setYearPrizes(Rec &out, const Field &target, std::string_view rec, const PersonFields &p, std::size_t year)
{
    const jv::Field *order[] = {&p.flatMain, &p.flatAdded, &p.jumpMain, &p.jumpAdded};
    for (std::size_t i = 0; i < 4; ++i)
        out.set(target, i + 1, thousandsOf(field(rec, order[i]->at(year).spec)));
}

// Career placings: four 5-digit counts, the last five digits of each count
// and the 4th, 5th and unplaced counts summed (capped at 99999).
template <class Rec>
void setCareer(Rec &out, const Field &target, std::string_view rec, const jv::Field &placings)
{
    auto tail = [&](std::size_t i) { return countTail(field(rec, placings.at(kCareer, i).spec), 5, "通算着回数"); };
    for (std::size_t i = 0; i < 3; ++i)
        out.setNumber(target, i + 1, tail(i));
    out.setNumber(target, 4, std::min<std::int64_t>(tail(3) + tail(4) + tail(5), 99999));
}

// Flat, jump and the twenty racecourse groups (turf then dirt for each of
// "01".."10") of a yearly block.
template <class Section, class F>
void fillSection(Section &s, std::string_view rec, const PersonFields &p, std::size_t year)
{
    s.setBlock(F::Flat, groupOf(rec, p.flatPlacings, year));
    s.setBlock(F::Jump, groupOf(rec, p.jumpPlacings, year));
    for (std::size_t b = 0; b < F::Course.count; ++b)
        s.setBlock(F::Course, b + 1, groupOf(rec, p.coursePlacings, year, 6 * b));
}

TTrainerSection trainerSection(std::string_view rec, std::size_t year)
{
    TTrainerSection s;
    fillSection<TTrainerSection, TrainerSectionFields>(s, rec, kTrainer, year);
    return s;
}

TJockeySection jockeySection(std::string_view rec, std::size_t year)
{
    TJockeySection s;
    fillSection<TJockeySection, JockeySectionFields>(s, rec, kJockey, year);
    for (std::size_t b = 0; b < JockeySectionFields::Distance.count; ++b)
        s.setBlock(JockeySectionFields::Distance, b + 1, groupOf(rec, kJockey.distancePlacings, year, 6 * b));
    return s;
}

// Characters 1-9 and 16-24 of the 30-character katakana name.
std::string kanaName(std::string_view kana30)
{
    return std::string(kana30.substr(0, 9)).append(kana30.substr(15, 9));
}

// The fields both detailed lines have at the same names.
template <class Rec, class F>
void fillPersonHead(Rec &d, std::string_view rec, const PersonFields &p)
{
    d.set(F::Code, jvGet(rec, p.code));
    d.set(F::DataDate, jvGet(rec, p.creationDate));
    d.set(F::Retired, jvGet(rec, p.deregistered));
    d.set(F::RetiredDate, jvGet(rec, p.licenceEndDate));
    d.set(F::DisplayName, displayPersonName(jvGet(rec, p.name)));
    d.set(F::KanaName, kanaName(jvGet(rec, p.nameKana)));
    d.set(F::ShortName, jvGet(rec, p.shortName));
    d.set(F::BirthDate, jvGet(rec, p.birthDate));
    d.set(F::Affiliation, jvGet(rec, p.affiliation));
    d.set(F::InviteRegion, jvGet(rec, p.invitationRegion));
    d.set(F::FirstLicenceYear, jvFirst(rec, p.licenceDate, 4));
    for (std::size_t w = 0; w < 3; ++w)
        d.setBlock(F::GradedWin, w + 1, gradedWin(rec, p, w));
    setYearPrizes(d, F::ThisYearPrize, rec, p, kThisYear);
    setYearPrizes(d, F::LastYearPrize, rec, p, kLastYear);
    setCareer(d, F::CareerFlat, rec, p.flatPlacings);
    setCareer(d, F::CareerJump, rec, p.jumpPlacings);
}

// The later of two race keys by their dates (yyyymmdd); the first on a tie.
std::size_t laterEntry(std::string_view key0, std::string_view key1)
{
    return key1.substr(0, 8) > key0.substr(0, 8) && isDigits(key1.substr(0, 8)) ? 1 : 0;
}

// First ride and first win of a jockey: of the flat and the jump entry,
// the one with the later date. A first win carries the placing "01" (none:
// "00").
void fillFirstRuns(TJockeyDetailRec &d, std::string_view ks)
{
    using R = FirstRunFields;
    TFirstRunBlock ride;
    const std::size_t r = laterEntry(jvGet(ks, KS::FirstRideRaceKey, 0), jvGet(ks, KS::FirstRideRaceKey, 1));
    ride.set(R::Key, raceKeyOrZeros(jvGet(ks, KS::FirstRideRaceKey, r)));
    ride.set(R::Starters, jvGet(ks, KS::FirstRideStarters, r));
    ride.set(R::HorseId, jvGet(ks, KS::FirstRideHorseId, r));
    ride.set(R::HorseName, jvGet(ks, KS::FirstRideHorseName, r));
    ride.set(R::Finish, jvGet(ks, KS::FirstRidePlacing, r));
    d.setBlock(JockeyDetailFields::FirstRun, 1, ride);

    TFirstRunBlock win;
    const std::size_t w = laterEntry(jvGet(ks, KS::FirstWinRaceKey, 0), jvGet(ks, KS::FirstWinRaceKey, 1));
    const std::string key = raceKeyOrZeros(jvGet(ks, KS::FirstWinRaceKey, w));
    win.set(R::Key, key);
    win.set(R::Starters, jvGet(ks, KS::FirstWinStarters, w));
    win.set(R::HorseId, jvGet(ks, KS::FirstWinHorseId, w));
    win.set(R::HorseName, jvGet(ks, KS::FirstWinHorseName, w));
    win.set(R::Finish, key.find_first_not_of('0') == std::string::npos ? "00" : "01");
    d.setBlock(JockeyDetailFields::FirstRun, 2, win);
}

std::string summaryLine(std::string_view rec, const PersonFields &p)
{
    using S = SummaryMasterFields;
    auto tail = [&](std::size_t i) { return countTail(field(rec, p.flatPlacings.at(kThisYear, i).spec), 3, "着回数"); };
    TSummaryMasterRec s;
    s.set(S::Code, jvGet(rec, p.code));
    s.set(S::Name, jvGet(rec, p.name)); // its first 32 bytes
    s.setCounts(tail(0), tail(1), tail(2), tail(3) + tail(4) + tail(5));
    s.set(S::Affiliation, jvGet(rec, p.affiliation));
    return s.bytes();
}

using LineOf = std::string (*)(std::string_view);

// The records to keep: one per person, the newest (latest creation date;
// of equal dates the later in the file), in the order of the kept records.
// A download that fetched several weeks at once holds each person once per
// week; the masters must hold the person once, as a weekly download gives.
std::vector<std::size_t> newestPerPerson(const RecordFile &records, const PersonFields &p)
{
    std::unordered_map<std::string, std::size_t> kept;
    kept.reserve(records.count());
    for (std::size_t n = 0; n < records.count(); ++n) {
        const std::string_view rec = records.record(n);
        auto [it, added] = kept.emplace(std::string(jvGet(rec, p.code)), n);
        if (!added && jvGet(rec, p.creationDate) >= jvGet(records.record(it->second), p.creationDate))
            it->second = n;
    }
    std::vector<std::size_t> order;
    order.reserve(kept.size());
    for (const auto &entry : kept)
        order.push_back(entry.second);
    std::sort(order.begin(), order.end());
    return order;
}

void rebuildKind(const WinPath &download, std::size_t recordLength, const PersonFields &person,
                 const WinPath &summaryFile, const WinPath &detailFile, LineOf summaryOf, LineOf detailOf,
                 ConversionView &view)
{
    if (!files::isFile(download))
        return;
    const RecordFile records = readInputRecords(download, recordLength, view);
    std::string summary, detail;
    for (std::size_t n : newestPerPerson(records, person)) {
        summary += summaryOf(records.record(n));
        detail += detailOf(records.record(n));
    }
    // Both files are replaced through a temporary file and a rename, so a
    // failure while writing leaves the previous masters whole (instead of
    // deleting the detailed file first).
    files::makeDirectories(summaryFile.parent());
    files::writeAtomic(summaryFile, summary);
    files::writeAtomic(detailFile, detail);
    files::remove(download);
}

} // namespace

std::string displayPersonName(std::string_view name)
{
    for (std::size_t pos : {3, 5, 7, 9}) {
        if (fieldAt(name, pos, 2) != kWideSpace)
            continue;
        std::string out(name.substr(0, pos + 1));
        for (std::size_t n = 0; n < (15 - pos) / 2; ++n)
            out.append(kWideSpace);
        out.append(fieldAt(name, pos + 2, 16));
        return out;
    }
    return std::string(name.substr(0, 32));
}

std::string trainerSummaryLine(std::string_view ch) { return summaryLine(ch, kTrainer); }
std::string jockeySummaryLine(std::string_view ks) { return summaryLine(ks, kJockey); }

std::string trainerDetailLine(std::string_view ch)
{
    TTrainerDetailRec d;
    fillPersonHead<TTrainerDetailRec, TrainerDetailFields>(d, ch, kTrainer);
    d.setBlock(TrainerDetailFields::ThisYear, trainerSection(ch, kThisYear));
    d.setBlock(TrainerDetailFields::LastYear, trainerSection(ch, kLastYear));
    return d.bytes();
}

std::string jockeyDetailLine(std::string_view ks)
{
    TJockeyDetailRec d;
    fillPersonHead<TJockeyDetailRec, JockeyDetailFields>(d, ks, kJockey);
    d.set(JockeyDetailFields::Qualification, jvGet(ks, KS::RidingQualification));
    d.set(JockeyDetailFields::Apprentice, jvGet(ks, KS::Apprentice));
    d.set(JockeyDetailFields::TrainerCode, jvGet(ks, KS::AttachedTrainerCode));
    d.set(JockeyDetailFields::TrainerName, jvGet(ks, KS::AttachedTrainerShortName));
    fillFirstRuns(d, ks);
    d.setBlock(JockeyDetailFields::ThisYear, jockeySection(ks, kThisYear));
    d.setBlock(JockeyDetailFields::LastYear, jockeySection(ks, kLastYear));
    return d.bytes();
}

void RebuildMasters(const ConversionFolders &folders, ConversionView &view)
{
    rebuildKind(folders.down / "Jra#Chok.dat", CH::Length, kTrainer, folders.racedat / "CHOKYOSI.DAT",
                folders.racedat / "JracChok.dat", trainerSummaryLine, trainerDetailLine, view);
    rebuildKind(folders.down / "Jra#Kisi.dat", KS::Length, kJockey, folders.racedat / "KISYU.DAT",
                folders.racedat / "JracKisi.dat", jockeySummaryLine, jockeyDetailLine, view);
}

} // namespace zorbe
