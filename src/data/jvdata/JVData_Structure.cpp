#include "data/jvdata/JVData_Structure.h"

#include "platform/Cp932.h"

#include <algorithm>

namespace zorbe::jv {
namespace {

// Layout tables: every field of a kind in position order. A test checks
// that each table covers its record without gap or overlap.


const Field kRA[] = {
    RA::RecordId, RA::DataKind, RA::CreationDate, RA::Year, RA::MonthDay, RA::Venue, RA::Meeting,
    RA::MeetingDay, RA::RaceNumber, RA::Weekday, RA::SpecialRaceNumber, RA::RaceName, RA::RaceSubtitle,
    RA::RaceBracketName, RA::RaceNameLatin, RA::RaceSubtitleLatin, RA::RaceBracketNameLatin, RA::ShortName10,
    RA::ShortName6, RA::ShortName, RA::RaceNameKind, RA::Edition, RA::Grade, RA::GradeBefore, RA::RaceKind,
    RA::RaceSymbol, RA::WeightRule, RA::Condition, RA::ConditionName, RA::Distance, RA::DistanceBefore,
    RA::Track, RA::TrackBefore, RA::CourseDivision, RA::CourseDivisionBefore, RA::MainPrize,
    RA::MainPrizeBefore, RA::AddedPrize, RA::AddedPrizeBefore, RA::PostTime, RA::PostTimeBefore, RA::Entries,
    RA::Starters, RA::Finishers, RA::Weather, RA::TurfGoing, RA::DirtGoing, RA::LapTime, RA::JumpMileTime,
    RA::First3F, RA::First4F, RA::Last3F, RA::Last4F, RA::CornerNumber, RA::CornerLaps, RA::CornerOrder,
    RA::RecordUpdate,
};

const Field kSE[] = {
    SE::RecordId, SE::DataKind, SE::CreationDate, SE::Year, SE::MonthDay, SE::Venue, SE::Meeting,
    SE::MeetingDay, SE::RaceNumber, SE::Bracket, SE::HorseNumber, SE::HorseId, SE::HorseName, SE::HorseMark,
    SE::Sex, SE::Breed, SE::Coat, SE::Age, SE::Affiliation, SE::TrainerCode, SE::TrainerShortName,
    SE::OwnerCode, SE::OwnerName, SE::Silks, SE::Reserved1, SE::CarriedWeight, SE::CarriedWeightBefore,
    SE::Blinker, SE::Reserved2, SE::JockeyCode, SE::JockeyCodeBefore, SE::JockeyShortName,
    SE::JockeyShortNameBefore, SE::Apprentice, SE::ApprenticeBefore, SE::BodyWeight, SE::BodyWeightSign,
    SE::BodyWeightChange, SE::Abnormality, SE::ArrivalOrder, SE::Placing, SE::DeadHeat, SE::DeadHeatCount,
    SE::Time, SE::Margin, SE::Margin2, SE::Margin3, SE::Corner, SE::WinOdds, SE::Popularity,
    SE::MainPrizeWon, SE::AddedPrizeWon, SE::Reserved3, SE::Last4F, SE::Last3F, SE::OpponentId,
    SE::OpponentName, SE::TimeDifference, SE::RecordUpdate, SE::MiningKind, SE::MiningTime,
    SE::MiningErrorPlus, SE::MiningErrorMinus, SE::MiningRank, SE::RunningStyle,
};

const Field kUM[] = {
    UM::RecordId, UM::DataKind, UM::CreationDate, UM::HorseId, UM::Deregistered, UM::RegistrationDate,
    UM::DeregistrationDate, UM::BirthDate, UM::HorseName, UM::HorseNameKana, UM::HorseNameLatin,
    UM::AtJraFacility, UM::Reserved, UM::HorseMark, UM::Sex, UM::Breed, UM::Coat, UM::PedigreeNumber,
    UM::PedigreeName, UM::Affiliation, UM::TrainerCode, UM::TrainerShortName, UM::InvitationRegion,
    UM::BreederCode, UM::BreederName, UM::Birthplace, UM::OwnerCode, UM::OwnerName, UM::FlatMainPrize,
    UM::JumpMainPrize, UM::FlatAddedPrize, UM::JumpAddedPrize, UM::FlatEarnings, UM::JumpEarnings,
    UM::TotalPlacings, UM::JraPlacings, UM::CoursePlacings, UM::GoingPlacings, UM::DistancePlacings,
    UM::RunningStyleCounts, UM::RaceCount,
};

const Field kRC[] = {
    RC::RecordId, RC::DataKind, RC::CreationDate, RC::RecordKind, RC::Year, RC::MonthDay, RC::Venue,
    RC::Meeting, RC::MeetingDay, RC::RaceNumber, RC::SpecialRaceNumber, RC::RaceName, RC::Grade,
    RC::RaceKind, RC::Distance, RC::Track, RC::RecordClass, RC::RecordTime, RC::Weather, RC::TurfGoing,
    RC::DirtGoing, RC::HolderHorseId, RC::HolderHorseName, RC::HolderHorseMark, RC::HolderSex,
    RC::HolderTrainerCode, RC::HolderTrainerName, RC::HolderCarriedWeight, RC::HolderJockeyCode,
    RC::HolderJockeyName,
};

const Field kHR[] = {
    HR::RecordId, HR::DataKind, HR::CreationDate, HR::Year, HR::MonthDay, HR::Venue, HR::Meeting,
    HR::MeetingDay, HR::RaceNumber, HR::Entries, HR::Starters, HR::NotHeldFlag, HR::SpecialPayFlag,
    HR::RefundFlag, HR::RefundHorse, HR::RefundBracket, HR::RefundSameBracket, HR::WinHorse, HR::WinPayout,
    HR::WinPopularity, HR::PlaceHorse, HR::PlacePayout, HR::PlacePopularity, HR::BracketCombination,
    HR::BracketPayout, HR::BracketPopularity, HR::QuinellaCombination, HR::QuinellaPayout,
    HR::QuinellaPopularity, HR::WideCombination, HR::WidePayout, HR::WidePopularity, HR::Reserved,
    HR::ExactaCombination, HR::ExactaPayout, HR::ExactaPopularity, HR::TrioCombination, HR::TrioPayout,
    HR::TrioPopularity, HR::TrifectaCombination, HR::TrifectaPayout, HR::TrifectaPopularity,
};

#define ZORBE_GRADED_WIN_FIELDS(K)                                                                                 \
    K::GradedWinRaceKey, K::GradedWinRaceName, K::GradedWinShortName10, K::GradedWinShortName6,                   \
        K::GradedWinShortName, K::GradedWinGrade, K::GradedWinStarters, K::GradedWinHorseId, K::GradedWinHorseName
#define ZORBE_YEAR_FIELDS(K)                                                                                       \
    K::YearOfBlock, K::FlatMainPrize, K::JumpMainPrize, K::FlatAddedPrize, K::JumpAddedPrize, K::FlatPlacings,    \
        K::JumpPlacings, K::CoursePlacings, K::DistancePlacings

const Field kKS[] = {
    KS::RecordId, KS::DataKind, KS::CreationDate, KS::JockeyCode, KS::Deregistered, KS::LicenceDate,
    KS::LicenceEndDate, KS::BirthDate, KS::Name, KS::Reserved, KS::NameKana, KS::ShortName, KS::NameLatin,
    KS::Sex, KS::RidingQualification, KS::Apprentice, KS::Affiliation, KS::InvitationRegion,
    KS::AttachedTrainerCode, KS::AttachedTrainerShortName, KS::FirstRideRaceKey, KS::FirstRideStarters,
    KS::FirstRideHorseId, KS::FirstRideHorseName, KS::FirstRidePlacing, KS::FirstRideAbnormality,
    KS::FirstWinRaceKey, KS::FirstWinStarters, KS::FirstWinHorseId, KS::FirstWinHorseName,
    ZORBE_GRADED_WIN_FIELDS(KS), ZORBE_YEAR_FIELDS(KS),
};

const Field kCH[] = {
    CH::RecordId, CH::DataKind, CH::CreationDate, CH::TrainerCode, CH::Deregistered, CH::LicenceDate,
    CH::LicenceEndDate, CH::BirthDate, CH::Name, CH::NameKana, CH::ShortName, CH::NameLatin, CH::Sex,
    CH::Affiliation, CH::InvitationRegion, ZORBE_GRADED_WIN_FIELDS(CH), ZORBE_YEAR_FIELDS(CH),
};

const RecordDef kRecordRA{"RA", RA::Length, kRA};
const RecordDef kRecordSE{"SE", SE::Length, kSE};
const RecordDef kRecordUM{"UM", UM::Length, kUM};
const RecordDef kRecordRC{"RC", RC::Length, kRC};
const RecordDef kRecordHR{"HR", HR::Length, kHR};
const RecordDef kRecordKS{"KS", KS::Length, kKS};
const RecordDef kRecordCH{"CH", CH::Length, kCH};

const RecordDef *const kAll[] = {&kRecordRA, &kRecordSE, &kRecordUM, &kRecordRC,
                                 &kRecordHR, &kRecordKS, &kRecordCH};

const std::string kWideBlank = "\x81\x40"; // "　"

std::string blankText(Fill fill, std::size_t width)
{
    switch (fill) {
    case Fill::Digits:
        return std::string(width, '0');
    case Fill::Text:
        return std::string(width, ' ');
    case Fill::Wide: {
        std::string s;
        for (std::size_t i = 0; i + 1 < width; i += 2)
            s += kWideBlank;
        s.append(width - s.size(), ' ');
        return s;
    }
    }
    return std::string(width, ' ');
}

} // namespace

const RecordDef &raRecord() { return kRecordRA; }
const RecordDef &seRecord() { return kRecordSE; }
const RecordDef &umRecord() { return kRecordUM; }
const RecordDef &rcRecord() { return kRecordRC; }
const RecordDef &hrRecord() { return kRecordHR; }
const RecordDef &ksRecord() { return kRecordKS; }
const RecordDef &chRecord() { return kRecordCH; }

const RecordDef *findRecord(std::string_view id)
{
    for (const RecordDef *d : kAll)
        if (d->id == id)
            return d;
    return nullptr;
}

std::span<const RecordDef *const> allRecords() { return kAll; }

bool isRecordOf(const RecordDef &def, std::string_view record)
{
    return record.size() == def.length && record.substr(0, 2) == def.id
           && record.substr(def.length - 2) == "\r\n";
}

std::string blankValue(const Field &f) { return blankText(f.fill, f.width()); }

RecordBuilder::RecordBuilder(const RecordDef &def)
    : m_def(def)
    , m_record(def.length, ' ')
{
    for (const Field &f : def.fields) {
        const std::string blank = blankValue(f);
        for (std::size_t g = 0; g < f.groups; ++g)
            for (std::size_t i = 0; i < f.count; ++i)
                m_record.replace(f.at(g, i).spec.offset, f.width(), blank);
    }
    m_record.replace(0, 2, def.id);
    m_record.replace(def.length - 2, 2, "\r\n");
}

void RecordBuilder::check(const Field &f, std::size_t bytes) const
{
    if (f.spec.end() > m_def.length - 2)
        throw FieldWidthError(std::string(f.spec.name) + " lies outside the " + std::string(m_def.id) + " record");
    if (bytes > f.width())
        throw FieldWidthError(std::string(f.spec.name) + ": value of " + std::to_string(bytes)
                              + " bytes does not fit in " + std::to_string(f.width()));
}

RecordBuilder &RecordBuilder::set(const Field &f, std::string_view bytes)
{
    check(f, bytes.size());
    std::string value(bytes);
    const std::size_t missing = f.width() - value.size();
    switch (f.fill) {
    case Fill::Digits:
        value.insert(0, missing, '0');
        break;
    case Fill::Text:
        value.append(missing, ' ');
        break;
    case Fill::Wide:
        value += blankText(Fill::Wide, missing);
        break;
    }
    m_record.replace(f.spec.offset, f.width(), value);
    return *this;
}

RecordBuilder &RecordBuilder::setNumber(const Field &f, std::int64_t value)
{
    if (value < 0)
        throw FieldWidthError(std::string(f.spec.name) + ": negative value " + std::to_string(value));
    const std::string digitsText = std::to_string(value);
    check(f, digitsText.size());
    m_record.replace(f.spec.offset, f.width(), zeroPad(value, f.width()));
    return *this;
}

RecordBuilder &RecordBuilder::raw(const Field &f, std::string_view bytes)
{
    check(f, bytes.size());
    if (bytes.size() != f.width())
        throw FieldWidthError(std::string(f.spec.name) + ": expected exactly " + std::to_string(f.width())
                              + " bytes, got " + std::to_string(bytes.size()));
    m_record.replace(f.spec.offset, f.width(), bytes);
    return *this;
}

} // namespace zorbe::jv
