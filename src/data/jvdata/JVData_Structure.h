#pragma once

#include "data/JVRecordKinds.h"
#include "platform/Fields.h"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

// The JV-Data record layouts, one declarative definition per record kind.
//
// Every field is named once, with its 1-based position and length as JV-Data
// documents them. The conversions read records through these names
// (field(record, jv::RA::RaceName)); the feed generator writes records
// through the same names with RecordBuilder, so no offset is written twice.
// Each kind's layout table lists its fields in position order and covers
// the whole record up to its CR LF, so a blank record of the kind can be
// made field by field: digits fields hold zeros, text fields ASCII blanks,
// full-width fields full-width blanks, as the published format delivers
// them when a value is absent.
namespace zorbe::jv {

enum class Fill : unsigned char {
    Digits, // numbers and codes written as digits; absent: "0"s
    Text,   // single-byte text and codes; absent: ASCII blanks
    Wide,   // full-width (cp932) text; absent: full-width blanks "　"
};

// A field, or a run of equal fields: `count` occurrences `stride` bytes
// apart, optionally inside a block repeated `groups` times `groupStride`
// bytes apart (the three yearly result blocks of a jockey, for example).
// `spec` is the first occurrence.
struct Field
{
    FieldSpec spec;
    Fill fill = Fill::Text;
    std::size_t count = 1;
    std::size_t stride = 0;
    std::size_t groups = 1;
    std::size_t groupStride = 0;

    constexpr operator FieldSpec() const { return spec; }
    constexpr std::size_t position() const { return spec.offset + 1; }
    constexpr std::size_t width() const { return spec.width; }
    constexpr std::size_t occurrences() const { return count * groups; }

    // Occurrence i of a field repeated on one level only.
    constexpr Field at(std::size_t i) const
    {
        if (count > 1 && groups > 1)
            throw std::logic_error("JV-Data field repeated on two levels needs at(group, i)");
        return count > 1 ? at(0, i) : at(i, 0);
    }
    // Occurrence i of the field in block g.
    constexpr Field at(std::size_t g, std::size_t i) const
    {
        if (g >= groups || i >= count)
            throw std::out_of_range("JV-Data field occurrence out of range");
        return Field{FieldSpec{spec.name, spec.offset + g * groupStride + i * stride, spec.width}, fill};
    }
    constexpr Field times(std::size_t n, std::size_t strideBytes) const
    {
        Field f = *this;
        f.count = n;
        f.stride = strideBytes;
        return f;
    }
    constexpr Field inGroups(std::size_t n, std::size_t strideBytes) const
    {
        Field f = *this;
        f.groups = n;
        f.groupStride = strideBytes;
        return f;
    }
};

constexpr Field digits(std::string_view name, std::size_t position, std::size_t length)
{
    return Field{jvField(name, position, length), Fill::Digits};
}
constexpr Field text(std::string_view name, std::size_t position, std::size_t length)
{
    return Field{jvField(name, position, length), Fill::Text};
}
constexpr Field wide(std::string_view name, std::size_t position, std::size_t length)
{
    return Field{jvField(name, position, length), Fill::Wide};
}

// One record kind: its id, its length (CR LF included) and its layout.
struct RecordDef
{
    std::string_view id;
    std::size_t length;
    std::span<const Field> fields; // position order, covering bytes 1 .. length - 2
};

// The race key fields shared by RA, SE, HR (from position 12) and RC (13).
#define ZORBE_JV_RACE_KEY(prefix, p)                                                                               \
    inline constexpr Field RaceKey = text(prefix ".RaceKey", p, 16);                                                \
    inline constexpr Field Year = digits(prefix ".Year", p, 4);                                                     \
    inline constexpr Field MonthDay = digits(prefix ".MonthDay", p + 4, 4);                                         \
    inline constexpr Field Venue = digits(prefix ".Venue", p + 8, 2);                                               \
    inline constexpr Field Meeting = digits(prefix ".Meeting", p + 10, 2);                                          \
    inline constexpr Field MeetingDay = digits(prefix ".MeetingDay", p + 12, 2);                                    \
    inline constexpr Field RaceNumber = digits(prefix ".RaceNumber", p + 14, 2);

#define ZORBE_JV_HEAD(prefix)                                                                                      \
    inline constexpr Field RecordId = text(prefix ".RecordId", 1, 2);                                               \
    inline constexpr Field DataKind = text(prefix ".DataKind", 3, 1);                                               \
    inline constexpr Field CreationDate = digits(prefix ".CreationDate", 4, 8);

// RA: race details.
namespace RA {
inline constexpr std::size_t Length = jvRecordLength("RA");
ZORBE_JV_HEAD("RA")
ZORBE_JV_RACE_KEY("RA", 12)
inline constexpr Field Weekday = digits("RA.Weekday", 28, 1);
inline constexpr Field SpecialRaceNumber = digits("RA.SpecialRaceNumber", 29, 4);
inline constexpr Field RaceName = wide("RA.RaceName", 33, 60);
inline constexpr Field RaceSubtitle = wide("RA.RaceSubtitle", 93, 60);
inline constexpr Field RaceBracketName = wide("RA.RaceBracketName", 153, 60);
inline constexpr Field RaceNameLatin = text("RA.RaceNameLatin", 213, 120);
inline constexpr Field RaceSubtitleLatin = text("RA.RaceSubtitleLatin", 333, 120);
inline constexpr Field RaceBracketNameLatin = text("RA.RaceBracketNameLatin", 453, 120);
inline constexpr Field ShortName10 = wide("RA.ShortName10", 573, 20);
inline constexpr Field ShortName6 = wide("RA.ShortName6", 593, 12);
inline constexpr Field ShortName = wide("RA.ShortName", 605, 6);
inline constexpr Field RaceNameKind = digits("RA.RaceNameKind", 611, 1);
inline constexpr Field Edition = digits("RA.Edition", 612, 3);
inline constexpr Field Grade = text("RA.Grade", 615, 1);
inline constexpr Field GradeBefore = text("RA.GradeBefore", 616, 1);
inline constexpr Field RaceKind = digits("RA.RaceKind", 617, 2);
inline constexpr Field RaceSymbol = text("RA.RaceSymbol", 619, 3);
inline constexpr Field WeightRule = digits("RA.WeightRule", 622, 1);
// Two-year-olds, three-year-olds, four-year-olds, five and up, youngest age.
inline constexpr Field Condition = digits("RA.Condition", 623, 3).times(5, 3);
inline constexpr Field ConditionName = wide("RA.ConditionName", 638, 60);
inline constexpr Field Distance = digits("RA.Distance", 698, 4);
inline constexpr Field DistanceBefore = digits("RA.DistanceBefore", 702, 4);
inline constexpr Field Track = digits("RA.Track", 706, 2);
inline constexpr Field TrackBefore = digits("RA.TrackBefore", 708, 2);
inline constexpr Field CourseDivision = text("RA.CourseDivision", 710, 2);
inline constexpr Field CourseDivisionBefore = text("RA.CourseDivisionBefore", 712, 2);
// Places 1-5 and two dead-heat places, in units of 100 yen.
inline constexpr Field MainPrize = digits("RA.MainPrize", 714, 8).times(7, 8);
inline constexpr Field MainPrizeBefore = digits("RA.MainPrizeBefore", 770, 8).times(5, 8);
inline constexpr Field AddedPrize = digits("RA.AddedPrize", 810, 8).times(5, 8);
inline constexpr Field AddedPrizeBefore = digits("RA.AddedPrizeBefore", 850, 8).times(3, 8);
inline constexpr Field PostTime = digits("RA.PostTime", 874, 4);
inline constexpr Field PostTimeBefore = digits("RA.PostTimeBefore", 878, 4);
inline constexpr Field Entries = digits("RA.Entries", 882, 2);
inline constexpr Field Starters = digits("RA.Starters", 884, 2);
inline constexpr Field Finishers = digits("RA.Finishers", 886, 2);
inline constexpr Field Weather = digits("RA.Weather", 888, 1);
inline constexpr Field TurfGoing = digits("RA.TurfGoing", 889, 1);
inline constexpr Field DirtGoing = digits("RA.DirtGoing", 890, 1);
inline constexpr Field LapTime = digits("RA.LapTime", 891, 3).times(25, 3);
inline constexpr Field JumpMileTime = digits("RA.JumpMileTime", 966, 4);
inline constexpr Field First3F = digits("RA.First3F", 970, 3);
inline constexpr Field First4F = digits("RA.First4F", 973, 3);
inline constexpr Field Last3F = digits("RA.Last3F", 976, 3);
inline constexpr Field Last4F = digits("RA.Last4F", 979, 3);
// Four corner blocks of 72: corner number, lap count, passing order text.
inline constexpr Field CornerNumber = digits("RA.CornerNumber", 982, 1).inGroups(4, 72);
inline constexpr Field CornerLaps = digits("RA.CornerLaps", 983, 1).inGroups(4, 72);
inline constexpr Field CornerOrder = text("RA.CornerOrder", 984, 70).inGroups(4, 72);
inline constexpr Field RecordUpdate = digits("RA.RecordUpdate", 1270, 1);
} // namespace RA

// SE: runner details (one horse in one race).
namespace SE {
inline constexpr std::size_t Length = jvRecordLength("SE");
ZORBE_JV_HEAD("SE")
ZORBE_JV_RACE_KEY("SE", 12)
inline constexpr Field Bracket = digits("SE.Bracket", 28, 1);
inline constexpr Field HorseNumber = digits("SE.HorseNumber", 29, 2);
inline constexpr Field HorseId = digits("SE.HorseId", 31, 10);
inline constexpr Field HorseName = wide("SE.HorseName", 41, 36);
inline constexpr Field HorseMark = digits("SE.HorseMark", 77, 2);
inline constexpr Field Sex = digits("SE.Sex", 79, 1);
inline constexpr Field Breed = digits("SE.Breed", 80, 1);
inline constexpr Field Coat = digits("SE.Coat", 81, 2);
inline constexpr Field Age = digits("SE.Age", 83, 2);
inline constexpr Field Affiliation = digits("SE.Affiliation", 85, 1);
inline constexpr Field TrainerCode = digits("SE.TrainerCode", 86, 5);
inline constexpr Field TrainerShortName = wide("SE.TrainerShortName", 91, 8);
inline constexpr Field OwnerCode = digits("SE.OwnerCode", 99, 6);
inline constexpr Field OwnerName = wide("SE.OwnerName", 105, 64);
inline constexpr Field Silks = wide("SE.Silks", 169, 60);
inline constexpr Field Reserved1 = text("SE.Reserved1", 229, 60);
inline constexpr Field CarriedWeight = digits("SE.CarriedWeight", 289, 3);
inline constexpr Field CarriedWeightBefore = digits("SE.CarriedWeightBefore", 292, 3);
inline constexpr Field Blinker = digits("SE.Blinker", 295, 1);
inline constexpr Field Reserved2 = text("SE.Reserved2", 296, 1);
inline constexpr Field JockeyCode = digits("SE.JockeyCode", 297, 5);
inline constexpr Field JockeyCodeBefore = digits("SE.JockeyCodeBefore", 302, 5);
inline constexpr Field JockeyShortName = wide("SE.JockeyShortName", 307, 8);
inline constexpr Field JockeyShortNameBefore = wide("SE.JockeyShortNameBefore", 315, 8);
inline constexpr Field Apprentice = digits("SE.Apprentice", 323, 1);
inline constexpr Field ApprenticeBefore = digits("SE.ApprenticeBefore", 324, 1);
inline constexpr Field BodyWeight = digits("SE.BodyWeight", 325, 3);
inline constexpr Field BodyWeightSign = text("SE.BodyWeightSign", 328, 1);
inline constexpr Field BodyWeightChange = digits("SE.BodyWeightChange", 329, 3);
inline constexpr Field Abnormality = digits("SE.Abnormality", 332, 1);
inline constexpr Field ArrivalOrder = digits("SE.ArrivalOrder", 333, 2);
inline constexpr Field Placing = digits("SE.Placing", 335, 2);
inline constexpr Field DeadHeat = digits("SE.DeadHeat", 337, 1);
inline constexpr Field DeadHeatCount = digits("SE.DeadHeatCount", 338, 1);
inline constexpr Field Time = digits("SE.Time", 339, 4);
inline constexpr Field Margin = text("SE.Margin", 343, 3);
inline constexpr Field Margin2 = text("SE.Margin2", 346, 3);
inline constexpr Field Margin3 = text("SE.Margin3", 349, 3);
inline constexpr Field Corner = digits("SE.Corner", 352, 2).times(4, 2);
inline constexpr Field WinOdds = digits("SE.WinOdds", 360, 4);
inline constexpr Field Popularity = digits("SE.Popularity", 364, 2);
inline constexpr Field MainPrizeWon = digits("SE.MainPrizeWon", 366, 8);
inline constexpr Field AddedPrizeWon = digits("SE.AddedPrizeWon", 374, 8);
inline constexpr Field Reserved3 = text("SE.Reserved3", 382, 6);
inline constexpr Field Last4F = digits("SE.Last4F", 388, 3);
inline constexpr Field Last3F = digits("SE.Last3F", 391, 3);
// Up to three opponents (the winner, or the second for a winner; more on a dead heat).
inline constexpr Field OpponentId = digits("SE.OpponentId", 394, 10).inGroups(3, 46);
inline constexpr Field OpponentName = wide("SE.OpponentName", 404, 36).inGroups(3, 46);
inline constexpr Field TimeDifference = text("SE.TimeDifference", 532, 4);
inline constexpr Field RecordUpdate = digits("SE.RecordUpdate", 536, 1);
inline constexpr Field MiningKind = digits("SE.MiningKind", 537, 1);
inline constexpr Field MiningTime = digits("SE.MiningTime", 538, 5);
inline constexpr Field MiningErrorPlus = digits("SE.MiningErrorPlus", 543, 4);
inline constexpr Field MiningErrorMinus = digits("SE.MiningErrorMinus", 547, 4);
inline constexpr Field MiningRank = digits("SE.MiningRank", 551, 2);
inline constexpr Field RunningStyle = digits("SE.RunningStyle", 553, 1);
} // namespace SE

// UM: horse master.
namespace UM {
inline constexpr std::size_t Length = jvRecordLength("UM");
ZORBE_JV_HEAD("UM")
inline constexpr Field HorseId = digits("UM.HorseId", 12, 10);
inline constexpr Field Deregistered = digits("UM.Deregistered", 22, 1);
inline constexpr Field RegistrationDate = digits("UM.RegistrationDate", 23, 8);
inline constexpr Field DeregistrationDate = digits("UM.DeregistrationDate", 31, 8);
inline constexpr Field BirthDate = digits("UM.BirthDate", 39, 8);
inline constexpr Field HorseName = wide("UM.HorseName", 47, 36);
inline constexpr Field HorseNameKana = text("UM.HorseNameKana", 83, 36);
inline constexpr Field HorseNameLatin = text("UM.HorseNameLatin", 119, 60);
inline constexpr Field AtJraFacility = digits("UM.AtJraFacility", 179, 1);
inline constexpr Field Reserved = text("UM.Reserved", 180, 19);
inline constexpr Field HorseMark = digits("UM.HorseMark", 199, 2);
inline constexpr Field Sex = digits("UM.Sex", 201, 1);
inline constexpr Field Breed = digits("UM.Breed", 202, 1);
inline constexpr Field Coat = digits("UM.Coat", 203, 2);
// Sire, dam, sire's sire, sire's dam, dam's sire, dam's dam, then the eight
// great-grandparents (dam's dam's sire 13th, dam's dam's dam 14th).
inline constexpr Field PedigreeNumber = digits("UM.PedigreeNumber", 205, 8).times(14, 44);
inline constexpr Field PedigreeName = wide("UM.PedigreeName", 213, 36).times(14, 44);
inline constexpr Field Affiliation = digits("UM.Affiliation", 821, 1);
inline constexpr Field TrainerCode = digits("UM.TrainerCode", 822, 5);
inline constexpr Field TrainerShortName = wide("UM.TrainerShortName", 827, 8);
inline constexpr Field InvitationRegion = wide("UM.InvitationRegion", 835, 20);
inline constexpr Field BreederCode = digits("UM.BreederCode", 855, 6);
inline constexpr Field BreederName = wide("UM.BreederName", 861, 70);
inline constexpr Field Birthplace = wide("UM.Birthplace", 931, 20);
inline constexpr Field OwnerCode = digits("UM.OwnerCode", 951, 6);
inline constexpr Field OwnerName = wide("UM.OwnerName", 957, 64);
// Amounts in units of 100 yen.
inline constexpr Field FlatMainPrize = digits("UM.FlatMainPrize", 1021, 9);
inline constexpr Field JumpMainPrize = digits("UM.JumpMainPrize", 1030, 9);
inline constexpr Field FlatAddedPrize = digits("UM.FlatAddedPrize", 1039, 9);
inline constexpr Field JumpAddedPrize = digits("UM.JumpAddedPrize", 1048, 9);
inline constexpr Field FlatEarnings = digits("UM.FlatEarnings", 1057, 9);
inline constexpr Field JumpEarnings = digits("UM.JumpEarnings", 1066, 9);
// Placing counts: six 3-digit counts (1st .. 5th, unplaced) per block.
inline constexpr Field TotalPlacings = digits("UM.TotalPlacings", 1075, 3).times(6, 3);
inline constexpr Field JraPlacings = digits("UM.JraPlacings", 1093, 3).times(6, 3);
// Turf straight, right, left; dirt straight, right, left; jump.
inline constexpr Field CoursePlacings = digits("UM.CoursePlacings", 1111, 3).times(6, 3).inGroups(7, 18);
// Turf firm, good, yielding, soft; dirt the same; jump the same.
inline constexpr Field GoingPlacings = digits("UM.GoingPlacings", 1237, 3).times(6, 3).inGroups(12, 18);
// Turf to 1600 m, to 2200 m, over 2200 m; dirt the same.
inline constexpr Field DistancePlacings = digits("UM.DistancePlacings", 1453, 3).times(6, 3).inGroups(6, 18);
inline constexpr Field RunningStyleCounts = digits("UM.RunningStyleCounts", 1561, 3).times(4, 3);
inline constexpr Field RaceCount = digits("UM.RaceCount", 1573, 3);
} // namespace UM

// RC: course record master.
namespace RC {
inline constexpr std::size_t Length = jvRecordLength("RC");
ZORBE_JV_HEAD("RC")
inline constexpr Field RecordKind = digits("RC.RecordKind", 12, 1); // "1" course record, "2" race record
ZORBE_JV_RACE_KEY("RC", 13)
inline constexpr Field SpecialRaceNumber = digits("RC.SpecialRaceNumber", 29, 4);
inline constexpr Field RaceName = wide("RC.RaceName", 33, 60);
inline constexpr Field Grade = text("RC.Grade", 93, 1);
inline constexpr Field RaceKind = digits("RC.RaceKind", 94, 2);
inline constexpr Field Distance = digits("RC.Distance", 96, 4);
inline constexpr Field Track = digits("RC.Track", 100, 2);
inline constexpr Field RecordClass = digits("RC.RecordClass", 102, 1);
inline constexpr Field RecordTime = digits("RC.RecordTime", 103, 4);
inline constexpr Field Weather = digits("RC.Weather", 107, 1);
inline constexpr Field TurfGoing = digits("RC.TurfGoing", 108, 1);
inline constexpr Field DirtGoing = digits("RC.DirtGoing", 109, 1);
// Up to three record holders of 130 bytes.
inline constexpr Field HolderHorseId = digits("RC.HolderHorseId", 110, 10).inGroups(3, 130);
inline constexpr Field HolderHorseName = wide("RC.HolderHorseName", 120, 36).inGroups(3, 130);
inline constexpr Field HolderHorseMark = digits("RC.HolderHorseMark", 156, 2).inGroups(3, 130);
inline constexpr Field HolderSex = digits("RC.HolderSex", 158, 1).inGroups(3, 130);
inline constexpr Field HolderTrainerCode = digits("RC.HolderTrainerCode", 159, 5).inGroups(3, 130);
inline constexpr Field HolderTrainerName = wide("RC.HolderTrainerName", 164, 34).inGroups(3, 130);
inline constexpr Field HolderCarriedWeight = digits("RC.HolderCarriedWeight", 198, 3).inGroups(3, 130);
inline constexpr Field HolderJockeyCode = digits("RC.HolderJockeyCode", 201, 5).inGroups(3, 130);
inline constexpr Field HolderJockeyName = wide("RC.HolderJockeyName", 206, 34).inGroups(3, 130);
} // namespace RC

// HR: payouts of one race, in yen.
namespace HR {
inline constexpr std::size_t Length = jvRecordLength("HR");
ZORBE_JV_HEAD("HR")
ZORBE_JV_RACE_KEY("HR", 12)
inline constexpr Field Entries = digits("HR.Entries", 28, 2);
inline constexpr Field Starters = digits("HR.Starters", 30, 2);
inline constexpr Field NotHeldFlag = digits("HR.NotHeldFlag", 32, 1).times(9, 1);
inline constexpr Field SpecialPayFlag = digits("HR.SpecialPayFlag", 41, 1).times(9, 1);
inline constexpr Field RefundFlag = digits("HR.RefundFlag", 50, 1).times(9, 1);
inline constexpr Field RefundHorse = digits("HR.RefundHorse", 59, 1).times(28, 1);
inline constexpr Field RefundBracket = digits("HR.RefundBracket", 87, 1).times(8, 1);
inline constexpr Field RefundSameBracket = digits("HR.RefundSameBracket", 95, 1).times(8, 1);
inline constexpr Field WinHorse = text("HR.WinHorse", 103, 2).times(3, 13);
inline constexpr Field WinPayout = digits("HR.WinPayout", 105, 9).times(3, 13);
inline constexpr Field WinPopularity = digits("HR.WinPopularity", 114, 2).times(3, 13);
inline constexpr Field PlaceHorse = text("HR.PlaceHorse", 142, 2).times(5, 13);
inline constexpr Field PlacePayout = digits("HR.PlacePayout", 144, 9).times(5, 13);
inline constexpr Field PlacePopularity = digits("HR.PlacePopularity", 153, 2).times(5, 13);
inline constexpr Field BracketCombination = text("HR.BracketCombination", 207, 2).times(3, 13);
inline constexpr Field BracketPayout = digits("HR.BracketPayout", 209, 9).times(3, 13);
inline constexpr Field BracketPopularity = digits("HR.BracketPopularity", 218, 2).times(3, 13);
inline constexpr Field QuinellaCombination = text("HR.QuinellaCombination", 246, 4).times(3, 16);
inline constexpr Field QuinellaPayout = digits("HR.QuinellaPayout", 250, 9).times(3, 16);
inline constexpr Field QuinellaPopularity = digits("HR.QuinellaPopularity", 259, 3).times(3, 16);
inline constexpr Field WideCombination = text("HR.WideCombination", 294, 4).times(7, 16);
inline constexpr Field WidePayout = digits("HR.WidePayout", 298, 9).times(7, 16);
inline constexpr Field WidePopularity = digits("HR.WidePopularity", 307, 3).times(7, 16);
inline constexpr Field Reserved = text("HR.Reserved", 406, 48);
inline constexpr Field ExactaCombination = text("HR.ExactaCombination", 454, 4).times(6, 16);
inline constexpr Field ExactaPayout = digits("HR.ExactaPayout", 458, 9).times(6, 16);
inline constexpr Field ExactaPopularity = digits("HR.ExactaPopularity", 467, 3).times(6, 16);
inline constexpr Field TrioCombination = text("HR.TrioCombination", 550, 6).times(3, 18);
inline constexpr Field TrioPayout = digits("HR.TrioPayout", 556, 9).times(3, 18);
inline constexpr Field TrioPopularity = digits("HR.TrioPopularity", 565, 3).times(3, 18);
inline constexpr Field TrifectaCombination = text("HR.TrifectaCombination", 604, 6).times(6, 19);
inline constexpr Field TrifectaPayout = digits("HR.TrifectaPayout", 610, 9).times(6, 19);
inline constexpr Field TrifectaPopularity = digits("HR.TrifectaPopularity", 619, 4).times(6, 19);
} // namespace HR

// The graded-race win block and the yearly result block that the jockey
// and trainer masters share; `p` is the position of the first block.
#define ZORBE_JV_GRADED_WINS(prefix, p)                                                                            \
    inline constexpr Field GradedWinRaceKey = digits(prefix ".GradedWinRaceKey", p, 16).inGroups(3, 163);           \
    inline constexpr Field GradedWinRaceName = wide(prefix ".GradedWinRaceName", p + 16, 60).inGroups(3, 163);      \
    inline constexpr Field GradedWinShortName10 = wide(prefix ".GradedWinShortName10", p + 76, 20).inGroups(3, 163); \
    inline constexpr Field GradedWinShortName6 = wide(prefix ".GradedWinShortName6", p + 96, 12).inGroups(3, 163);  \
    inline constexpr Field GradedWinShortName = wide(prefix ".GradedWinShortName", p + 108, 6).inGroups(3, 163);    \
    inline constexpr Field GradedWinGrade = text(prefix ".GradedWinGrade", p + 114, 1).inGroups(3, 163);            \
    inline constexpr Field GradedWinStarters = digits(prefix ".GradedWinStarters", p + 115, 2).inGroups(3, 163);    \
    inline constexpr Field GradedWinHorseId = digits(prefix ".GradedWinHorseId", p + 117, 10).inGroups(3, 163);     \
    inline constexpr Field GradedWinHorseName = wide(prefix ".GradedWinHorseName", p + 127, 36).inGroups(3, 163);

// Yearly blocks: this year, last year, career. Placings are six 6-digit
// counts (1st .. 5th, unplaced); by racecourse 20 blocks (racecourses
// 01 .. 10, turf then dirt for each); by distance 6 blocks (turf to 1600 m,
// to 2200 m, from 2201 m; dirt the same).
#define ZORBE_JV_YEAR_BLOCKS(prefix, p)                                                                            \
    inline constexpr Field YearOfBlock = digits(prefix ".YearOfBlock", p, 4).inGroups(3, 1052);                     \
    inline constexpr Field FlatMainPrize = digits(prefix ".FlatMainPrize", p + 4, 10).inGroups(3, 1052);            \
    inline constexpr Field JumpMainPrize = digits(prefix ".JumpMainPrize", p + 14, 10).inGroups(3, 1052);           \
    inline constexpr Field FlatAddedPrize = digits(prefix ".FlatAddedPrize", p + 24, 10).inGroups(3, 1052);         \
    inline constexpr Field JumpAddedPrize = digits(prefix ".JumpAddedPrize", p + 34, 10).inGroups(3, 1052);         \
    inline constexpr Field FlatPlacings = digits(prefix ".FlatPlacings", p + 44, 6).times(6, 6).inGroups(3, 1052);  \
    inline constexpr Field JumpPlacings = digits(prefix ".JumpPlacings", p + 80, 6).times(6, 6).inGroups(3, 1052);  \
    inline constexpr Field CoursePlacings                                                                          \
        = digits(prefix ".CoursePlacings", p + 116, 6).times(120, 6).inGroups(3, 1052);                            \
    inline constexpr Field DistancePlacings                                                                        \
        = digits(prefix ".DistancePlacings", p + 836, 6).times(36, 6).inGroups(3, 1052);

// KS: jockey master.
namespace KS {
inline constexpr std::size_t Length = jvRecordLength("KS");
ZORBE_JV_HEAD("KS")
inline constexpr Field JockeyCode = digits("KS.JockeyCode", 12, 5);
inline constexpr Field PersonCode = JockeyCode;
inline constexpr Field Deregistered = digits("KS.Deregistered", 17, 1);
inline constexpr Field LicenceDate = digits("KS.LicenceDate", 18, 8);
inline constexpr Field LicenceEndDate = digits("KS.LicenceEndDate", 26, 8);
inline constexpr Field BirthDate = digits("KS.BirthDate", 34, 8);
inline constexpr Field Name = wide("KS.Name", 42, 34);
inline constexpr Field Reserved = text("KS.Reserved", 76, 34);
inline constexpr Field NameKana = text("KS.NameKana", 110, 30);
inline constexpr Field ShortName = wide("KS.ShortName", 140, 8);
inline constexpr Field NameLatin = text("KS.NameLatin", 148, 80);
inline constexpr Field Sex = digits("KS.Sex", 228, 1);
inline constexpr Field RidingQualification = digits("KS.RidingQualification", 229, 1);
inline constexpr Field Apprentice = digits("KS.Apprentice", 230, 1);
inline constexpr Field Affiliation = digits("KS.Affiliation", 231, 1);
inline constexpr Field InvitationRegion = wide("KS.InvitationRegion", 232, 20);
inline constexpr Field AttachedTrainerCode = digits("KS.AttachedTrainerCode", 252, 5);
inline constexpr Field AttachedTrainerShortName = wide("KS.AttachedTrainerShortName", 257, 8);
// First rides and first wins: flat, then jump.
inline constexpr Field FirstRideRaceKey = digits("KS.FirstRideRaceKey", 265, 16).inGroups(2, 67);
inline constexpr Field FirstRideStarters = digits("KS.FirstRideStarters", 281, 2).inGroups(2, 67);
inline constexpr Field FirstRideHorseId = digits("KS.FirstRideHorseId", 283, 10).inGroups(2, 67);
inline constexpr Field FirstRideHorseName = wide("KS.FirstRideHorseName", 293, 36).inGroups(2, 67);
inline constexpr Field FirstRidePlacing = digits("KS.FirstRidePlacing", 329, 2).inGroups(2, 67);
inline constexpr Field FirstRideAbnormality = digits("KS.FirstRideAbnormality", 331, 1).inGroups(2, 67);
inline constexpr Field FirstWinRaceKey = digits("KS.FirstWinRaceKey", 399, 16).inGroups(2, 64);
inline constexpr Field FirstWinStarters = digits("KS.FirstWinStarters", 415, 2).inGroups(2, 64);
inline constexpr Field FirstWinHorseId = digits("KS.FirstWinHorseId", 417, 10).inGroups(2, 64);
inline constexpr Field FirstWinHorseName = wide("KS.FirstWinHorseName", 427, 36).inGroups(2, 64);
ZORBE_JV_GRADED_WINS("KS", 527)
ZORBE_JV_YEAR_BLOCKS("KS", 1016)
} // namespace KS

// CH: trainer master.
namespace CH {
inline constexpr std::size_t Length = jvRecordLength("CH");
ZORBE_JV_HEAD("CH")
inline constexpr Field TrainerCode = digits("CH.TrainerCode", 12, 5);
inline constexpr Field PersonCode = TrainerCode;
inline constexpr Field Deregistered = digits("CH.Deregistered", 17, 1);
inline constexpr Field LicenceDate = digits("CH.LicenceDate", 18, 8);
inline constexpr Field LicenceEndDate = digits("CH.LicenceEndDate", 26, 8);
inline constexpr Field BirthDate = digits("CH.BirthDate", 34, 8);
inline constexpr Field Name = wide("CH.Name", 42, 34);
inline constexpr Field NameKana = text("CH.NameKana", 76, 30);
inline constexpr Field ShortName = wide("CH.ShortName", 106, 8);
inline constexpr Field NameLatin = text("CH.NameLatin", 114, 80);
inline constexpr Field Sex = digits("CH.Sex", 194, 1);
inline constexpr Field Affiliation = digits("CH.Affiliation", 195, 1);
inline constexpr Field InvitationRegion = wide("CH.InvitationRegion", 196, 20);
ZORBE_JV_GRADED_WINS("CH", 216)
ZORBE_JV_YEAR_BLOCKS("CH", 705)
} // namespace CH

#undef ZORBE_JV_HEAD
#undef ZORBE_JV_RACE_KEY
#undef ZORBE_JV_GRADED_WINS
#undef ZORBE_JV_YEAR_BLOCKS

const RecordDef &raRecord();
const RecordDef &seRecord();
const RecordDef &umRecord();
const RecordDef &rcRecord();
const RecordDef &hrRecord();
const RecordDef &ksRecord();
const RecordDef &chRecord();

// The definition of the kind with this id, or nullptr.
const RecordDef *findRecord(std::string_view id);
// Every kind, in the order of JVRecordKinds.h.
std::span<const RecordDef *const> allRecords();

// True when record has the kind's length, id and CR LF ending.
bool isRecordOf(const RecordDef &def, std::string_view record);

// A raised error for a value that does not fit its field: the generator's
// records are built, never cut.
class FieldWidthError : public std::logic_error
{
public:
    using std::logic_error::logic_error;
};

// Builds one record of a kind: starts blank (every field at its absent
// value, the id in place, CR LF at the end) and sets fields by definition.
// Text is padded to the field's width (ASCII blanks, or full-width blanks
// for full-width fields); numbers get leading zeros; a value that does not
// fit raises FieldWidthError.
class RecordBuilder
{
public:
    explicit RecordBuilder(const RecordDef &def);

    // Text padded by the field's fill (digits fields: zeros on the left).
    RecordBuilder &set(const Field &f, std::string_view bytes);
    template <std::integral T>
    RecordBuilder &set(const Field &f, T value)
    {
        return setNumber(f, static_cast<std::int64_t>(value));
    }
    RecordBuilder &setNumber(const Field &f, std::int64_t value);
    // Exactly the field's width.
    RecordBuilder &raw(const Field &f, std::string_view bytes);

    const std::string &str() const { return m_record; }
    std::string take() { return std::move(m_record); }

private:
    void check(const Field &f, std::size_t bytes) const;

    const RecordDef &m_def;
    std::string m_record;
};

// The value an absent field holds, as the blank record has it.
std::string blankValue(const Field &f);

} // namespace zorbe::jv
