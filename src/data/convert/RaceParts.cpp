#include "data/convert/RaceParts.h"

#include "data/formats/Codes.h"

#include <algorithm>

namespace zorbe::convert {

using namespace formats;

FirstIndex firstByKey(const RecordFile &file, const jv::Field &key)
{
    FirstIndex index;
    index.reserve(file.count());
    for (std::size_t n = 0; n < file.count(); ++n)
        index.emplace(std::string(jvGet(file.record(n), key)), n); // keeps the first
    return index;
}

AllIndex allByKey(const RecordFile &file, const jv::Field &key)
{
    AllIndex index;
    for (std::size_t n = 0; n < file.count(); ++n)
        index[std::string(jvGet(file.record(n), key))].push_back(n);
    return index;
}

std::vector<std::size_t> distinctRunners(const RecordFile &runners, const std::vector<std::size_t> &ofRace)
{
    namespace SE = jv::SE;
    std::vector<std::size_t> out;
    out.reserve(ofRace.size());
    for (std::size_t n : ofRace) {
        const std::string_view id = jvGet(runners.record(n), SE::HorseId);
        const bool seen = std::any_of(out.begin(), out.end(),
                                      [&](std::size_t m) { return jvGet(runners.record(m), SE::HorseId) == id; });
        if (!seen)
            out.push_back(n);
    }
    return out;
}

void fillRaceHead(FixedRecord &out, std::string_view ra, const Field &prize, const Field &addedPrize)
{
    namespace RA = jv::RA;
    using H = RaceHeadFields;
    out.set(H::Key, jvGet(ra, RA::RaceKey));
    out.set(H::Weekday, jvGet(ra, RA::Weekday));
    out.set(H::RaceName, jvGet(ra, RA::RaceName));
    out.set(H::ShortName, jvGet(ra, RA::ShortName));
    out.set(H::Edition, jvGet(ra, RA::Edition));
    out.set(H::Grade, jvGet(ra, RA::Grade));
    out.set(H::RaceKind, jvGet(ra, RA::RaceKind));
    out.set(H::Symbol, jvGet(ra, RA::RaceSymbol));
    out.set(H::WeightRule, jvGet(ra, RA::WeightRule));
    for (std::size_t i = 1; i <= H::Class.count; ++i)
        out.set(H::Class, i, jvGet(ra, RA::Condition, i - 1));
    out.set(H::Distance, jvGet(ra, RA::Distance));
    out.set(H::Track, jvGet(ra, RA::Track));
    out.set(H::Course, jvGet(ra, RA::CourseDivision));
    for (std::size_t i = 1; i <= prize.count; ++i)
        out.set(prize, i, jvGet(ra, RA::MainPrize, i - 1).substr(0, 7));
    for (std::size_t i = 1; i <= addedPrize.count; ++i)
        out.set(addedPrize, i, jvGet(ra, RA::AddedPrize, i - 1).substr(0, 7));
    out.set(H::StartTime, jvGet(ra, RA::PostTime));
    out.set(H::Entries, jvGet(ra, RA::Entries));
}

TRaceEntryRec raceEntry(std::string_view se)
{
    namespace SE = jv::SE;
    using E = RaceEntryFields;
    TRaceEntryRec e;
    e.set(E::HorseNo, jvGet(se, SE::HorseNumber));
    e.set(E::Bracket, jvGet(se, SE::Bracket));
    e.set(E::HorseId, jvGet(se, SE::HorseId));
    e.set(E::HorseName, jvGet(se, SE::HorseName)); // cut to its first 18 bytes
    e.set(E::Sex, jvGet(se, SE::Sex));
    e.set(E::Weight, jvGet(se, SE::CarriedWeight));
    e.set(E::Blinker, jvGet(se, SE::Blinker));
    e.set(E::JockeyCode, jvGet(se, SE::JockeyCode));
    e.set(E::JockeyName, jvGet(se, SE::JockeyShortName));
    e.set(E::Apprentice, jvGet(se, SE::Apprentice));
    e.set(E::TrainerCode, jvGet(se, SE::TrainerCode));
    e.set(E::TrainerName, jvGet(se, SE::TrainerShortName));
    return e;
}

std::string_view raceGoing(std::string_view ra)
{
    return codes::isTurfTrack(jvGet(ra, jv::RA::Track)) ? jvGet(ra, jv::RA::TurfGoing)
                                                        : jvGet(ra, jv::RA::DirtGoing);
}

namespace {

std::string courseKey(std::string_view venue, std::string_view track, std::string_view distance,
                      std::string_view kind)
{
    std::string key;
    key.reserve(10);
    key.append(venue).append(track).append(distance).append(kind);
    return key;
}

std::string_view firstKindChange(std::string_view kind)
{
    if (kind == "13")
        return "14";
    if (kind == "12")
        return "13";
    if (kind == "18")
        return "19";
    return kind;
}

std::string_view secondKindChange(std::string_view kind)
{
    if (kind == "14")
        return "13";
    if (kind == "19")
        return "18";
    return kind;
}

} // namespace

CourseRecordIndex::CourseRecordIndex(const RecordFile &rc) : m_file(&rc)
{
    namespace RC = jv::RC;
    m_index.reserve(rc.count());
    for (std::size_t n = 0; n < rc.count(); ++n) {
        std::string_view r = rc.record(n);
        if (jvGet(r, RC::RecordKind) == "2") // race records, not course records
            continue;
        m_index.emplace(courseKey(jvGet(r, RC::Venue), jvGet(r, RC::Track), jvGet(r, RC::Distance),
                                  jvGet(r, RC::RaceKind)),
                        n);
    }
}

std::optional<std::string_view> CourseRecordIndex::find(std::string_view venue, std::string_view track,
                                                        std::string_view distance, std::string_view kind) const
{
    if (m_file == nullptr)
        return std::nullopt;
    auto it = m_index.find(courseKey(venue, track, distance, kind));
    if (it == m_index.end())
        return std::nullopt;
    return m_file->record(it->second);
}

TCourseRecordBlock CourseRecordIndex::blockFor(std::string_view ra) const
{
    namespace RA = jv::RA;
    namespace RC = jv::RC;
    using B = CourseRecordFields;

    std::string_view venue = jvGet(ra, RA::Venue), track = jvGet(ra, RA::Track),
                     distance = jvGet(ra, RA::Distance);
    std::string_view kind = jvGet(ra, RA::RaceKind);
    std::optional<std::string_view> rc = find(venue, track, distance, kind);
    if (!rc) {
        kind = firstKindChange(kind);
        rc = find(venue, track, distance, kind);
    }
    if (!rc)
        rc = find(venue, track, distance, secondKindChange(kind));

    TCourseRecordBlock block; // without a record: zeros and blank names
    if (!rc)
        return block;
    std::string_view r = *rc;
    block.set(B::DataKind, jvGet(r, RC::DataKind));
    block.set(B::RecordTime, jvGet(r, RC::RecordTime));
    block.set(B::Year, jvGet(r, RC::Year));
    block.set(B::MonthDay, jvGet(r, RC::MonthDay));
    block.set(B::Kai, jvGet(r, RC::Meeting));
    block.set(B::Nichi, jvGet(r, RC::MeetingDay));
    block.set(B::Venue, jvGet(r, RC::Venue));
    block.set(B::RaceNo, jvGet(r, RC::RaceNumber));
    block.set(B::Going, codes::isTurfTrack(track) ? jvGet(r, RC::TurfGoing) : jvGet(r, RC::DirtGoing));
    block.set(B::Weather, jvGet(r, RC::Weather));
    block.set(B::HorseId, jvGet(r, RC::HolderHorseId, 0));
    block.set(B::HorseName, jvGet(r, RC::HolderHorseName, 0));
    block.set(B::Sex, jvGet(r, RC::HolderSex, 0));
    block.set(B::Weight, jvGet(r, RC::HolderCarriedWeight, 0));
    block.set(B::JockeyCode, jvGet(r, RC::HolderJockeyCode, 0));
    block.set(B::JockeyName, shortPersonName(jvGet(r, RC::HolderJockeyName, 0)));
    block.set(B::TrainerCode, jvGet(r, RC::HolderTrainerCode, 0));
    block.set(B::TrainerName, shortPersonName(jvGet(r, RC::HolderTrainerName, 0)));
    return block;
}

} // namespace zorbe::convert
