#pragma once

#include "data/formats/RaceDayFormats.h"

// The master files of jockeys and trainers ("KISYU.DAT", "CHOKYOSI.DAT",
// "JracKisi.dat", "JracChok.dat") and the time-correction files
// ("STIME.DAT", "cSTIME.DAT").
namespace zorbe::formats {

// Summary master line, 52 bytes: code, name and this year's flat placings of
// one jockey or trainer. The start-up master table loader reads these same
// positions.
struct SummaryMasterFields
{
    static constexpr Field Code = code("コード", 0, 5);
    static constexpr Field Name = wideText("氏名", 5, 32);
    static constexpr Field Wins = digits("1着数", 37, 3);
    static constexpr Field Seconds = digits("2着数", 40, 3);
    static constexpr Field Thirds = digits("3着数", 43, 3);
    static constexpr Field Others = digits("着外数", 46, 3);
    static constexpr Field Affiliation = code("所属", 49, 1);
    static constexpr Field End = lineEnd(50);

    static constexpr const Field *kFields[] = {&Code,   &Name,   &Wins,        &Seconds,
                                               &Thirds, &Others, &Affiliation, &End};
    static constexpr Layout kLayout{"TSummaryMasterRec", 52, kFields, Blank::Zero};
};
static_assert(tiles(SummaryMasterFields::kLayout) && endsWithLineEnd(SummaryMasterFields::kLayout));

class TSummaryMasterRec : public BasicRecord<TSummaryMasterRec, SummaryMasterFields>
{
public:
    // The four counts, each capped at 999: a count of a thousand or more
    // would otherwise push the line past its 52 bytes and shift every later
    // person of the file.
    void setCounts(std::int64_t wins, std::int64_t seconds, std::int64_t thirds, std::int64_t others);
};

// A graded-race win of a jockey or trainer: race key (all "0" when there is
// none), the race's short name and grade, starters, the winner.
struct GradedWinFields
{
    static constexpr Field Key = block("レースキー", 0, RaceKeyFields::kLayout, 1, Blank::Zero);
    static constexpr Field ShortName = wideText("競走名略称", 16, 6);
    static constexpr Field Grade = code("グレードコード", 22, 1, 1, Blank::Space);
    static constexpr Field Zero23 = fixed("固定値", 23, "0");
    static constexpr Field Starters = digits("出走頭数", 24, 2);
    static constexpr Field HorseId = code("血統登録番号", 26, 10);
    static constexpr Field HorseName = wideText("馬名", 36, 18);

    static constexpr const Field *kFields[] = {&Key,      &ShortName, &Grade,    &Zero23,
                                               &Starters, &HorseId,   &HorseName};
    static constexpr Layout kLayout{"TGradedWinBlock", 54, kFields, Blank::Zero};
};
static_assert(tiles(GradedWinFields::kLayout));

class TGradedWinBlock : public BasicRecord<TGradedWinBlock, GradedWinFields>
{
};

// A jockey's first ride or first win: the race, its starters, the horse and
// its placing.
struct FirstRunFields
{
    static constexpr Field Key = block("レースキー", 0, RaceKeyFields::kLayout, 1, Blank::Zero);
    static constexpr Field Starters = digits("出走頭数", 16, 2);
    static constexpr Field HorseId = code("血統登録番号", 18, 10);
    static constexpr Field HorseName = wideText("馬名", 28, 18);
    static constexpr Field Finish = digits("着順", 46, 2);

    static constexpr const Field *kFields[] = {&Key, &Starters, &HorseId, &HorseName, &Finish};
    static constexpr Layout kLayout{"TFirstRunBlock", 48, kFields, Blank::Zero};
};
static_assert(tiles(FirstRunFields::kLayout));

class TFirstRunBlock : public BasicRecord<TFirstRunBlock, FirstRunFields>
{
};

// One year of a jockey's placing counts: flat, jump, a pair of groups per
// racecourse "01".."10" (the first of each pair is the one shown), and six
// distance groups (turf to 1600 m, to 2200 m, from 2201 m, then dirt alike).
struct JockeySectionFields
{
    static constexpr Field Flat = block("平地", 0, ResultCountsFields::kLayout);
    static constexpr Field Jump = block("障害", 12, ResultCountsFields::kLayout);
    static constexpr Field Course = block("競馬場別", 24, ResultCountsFields::kLayout, 20);
    static constexpr Field Distance = block("距離別", 264, ResultCountsFields::kLayout, 6);

    static constexpr const Field *kFields[] = {&Flat, &Jump, &Course, &Distance};
    static constexpr Layout kLayout{"TJockeySection", 336, kFields};
};
static_assert(tiles(JockeySectionFields::kLayout));

// One year of a trainer's placing counts: as a jockey's, without the
// distance groups.
struct TrainerSectionFields
{
    static constexpr Field Flat = block("平地", 0, ResultCountsFields::kLayout);
    static constexpr Field Jump = block("障害", 12, ResultCountsFields::kLayout);
    static constexpr Field Course = block("競馬場別", 24, ResultCountsFields::kLayout, 20);

    static constexpr const Field *kFields[] = {&Flat, &Jump, &Course};
    static constexpr Layout kLayout{"TTrainerSection", 264, kFields};
};
static_assert(tiles(TrainerSectionFields::kLayout));

// Element of the Course field for racecourse 1..10, first or second group
// of its pair.
constexpr std::size_t courseGroup(std::size_t racecourse, bool second = false)
{
    return 2 * (racecourse - 1) + (second ? 2 : 1);
}

class TJockeySection : public BasicRecord<TJockeySection, JockeySectionFields>
{
};
class TTrainerSection : public BasicRecord<TTrainerSection, TrainerSectionFields>
{
};

// Detailed jockey line ("JracKisi.dat"), 1161 bytes.
struct JockeyDetailFields
{
    static constexpr Field Code = code("騎手コード", 0, 5);
    static constexpr Field DataDate = code("作成年月日", 5, 8);
    static constexpr Field Retired = code("抹消区分", 13, 1);
    static constexpr Field RetiredDate = code("免許抹消年月日", 14, 8);
    // Family name in bytes 1-16, given name in bytes 17-32.
    static constexpr Field DisplayName = wideText("騎手名", 22, 32);
    static constexpr Field KanaName = text("騎手名半角カナ", 54, 18);
    static constexpr Field ShortName = wideText("騎手名略称", 72, 8);
    static constexpr Field BirthDate = code("生年月日", 80, 8);
    static constexpr Field Affiliation = code("所属", 88, 1);
    static constexpr Field Qualification = code("騎乗資格", 89, 1);
    static constexpr Field Apprentice = code("見習コード", 90, 1);
    static constexpr Field TrainerCode = code("所属調教師コード", 91, 5);
    static constexpr Field TrainerName = wideText("所属調教師名略称", 96, 8);
    static constexpr Field Zero104 = fixed("固定値", 104, "0");
    static constexpr Field InviteRegion = wideText("招待地域名", 105, 24);
    static constexpr Field FirstLicenceYear = digits("初免許年", 129, 4);
    static constexpr Field FirstRun = block("初騎乗・初勝利", 133, FirstRunFields::kLayout, 2);
    static constexpr Field GradedWin = block("重賞勝利", 229, GradedWinFields::kLayout, 3);
    // First part of the main prize, third amount, second part, fourth amount.
    static constexpr Field ThisYearPrize = digits("本年賞金", 391, 7, 4, Blank::Zero);
    static constexpr Field LastYearPrize = digits("前年賞金", 419, 7, 4, Blank::Zero);
    static constexpr Field CareerFlat = digits("通算平地着回数", 447, 5, 4, Blank::Zero);
    static constexpr Field CareerJump = digits("通算障害着回数", 467, 5, 4, Blank::Zero);
    static constexpr Field ThisYear = block("本年成績", 487, JockeySectionFields::kLayout);
    static constexpr Field LastYear = block("前年成績", 823, JockeySectionFields::kLayout);
    static constexpr Field End = lineEnd(1159);

    static constexpr const Field *kFields[] = {
        &Code,        &DataDate,    &Retired,     &RetiredDate,   &DisplayName,   &KanaName,
        &ShortName,   &BirthDate,   &Affiliation, &Qualification, &Apprentice,    &TrainerCode,
        &TrainerName, &Zero104,     &InviteRegion, &FirstLicenceYear, &FirstRun,  &GradedWin,
        &ThisYearPrize, &LastYearPrize, &CareerFlat, &CareerJump, &ThisYear,      &LastYear,
        &End};
    static constexpr Layout kLayout{"TJockeyDetailRec", 1161, kFields};
};
static_assert(tiles(JockeyDetailFields::kLayout) && endsWithLineEnd(JockeyDetailFields::kLayout));

class TJockeyDetailRec : public BasicRecord<TJockeyDetailRec, JockeyDetailFields>
{
public:
    TJockeySection section(const Field &year) const { return blockAs<TJockeySection>(year); }
    TGradedWinBlock gradedWin(std::size_t w) const { return blockAs<TGradedWinBlock>(GradedWin, w); }
    TFirstRunBlock firstRun(std::size_t k) const { return blockAs<TFirstRunBlock>(FirstRun, k); }
};

// Detailed trainer line ("JracChok.dat"), 906 bytes.
struct TrainerDetailFields
{
    static constexpr Field Code = code("調教師コード", 0, 5);
    static constexpr Field DataDate = code("作成年月日", 5, 8);
    static constexpr Field Retired = code("抹消区分", 13, 1);
    static constexpr Field RetiredDate = code("免許抹消年月日", 14, 8);
    static constexpr Field DisplayName = wideText("調教師名", 22, 32);
    static constexpr Field KanaName = text("調教師名半角カナ", 54, 18);
    static constexpr Field ShortName = wideText("調教師名略称", 72, 8);
    static constexpr Field BirthDate = code("生年月日", 80, 8);
    static constexpr Field Affiliation = code("所属", 88, 1);
    static constexpr Field Zero89 = fixed("固定値", 89, "0");
    static constexpr Field InviteRegion = wideText("招待地域名", 90, 24);
    static constexpr Field FirstLicenceYear = digits("初免許年", 114, 4);
    static constexpr Field GradedWin = block("重賞勝利", 118, GradedWinFields::kLayout, 3);
    static constexpr Field ThisYearPrize = digits("本年賞金", 280, 7, 4, Blank::Zero);
    static constexpr Field LastYearPrize = digits("前年賞金", 308, 7, 4, Blank::Zero);
    static constexpr Field CareerFlat = digits("通算平地着回数", 336, 5, 4, Blank::Zero);
    static constexpr Field CareerJump = digits("通算障害着回数", 356, 5, 4, Blank::Zero);
    static constexpr Field ThisYear = block("本年成績", 376, TrainerSectionFields::kLayout);
    static constexpr Field LastYear = block("前年成績", 640, TrainerSectionFields::kLayout);
    static constexpr Field End = lineEnd(904);

    static constexpr const Field *kFields[] = {
        &Code,          &DataDate,      &Retired,     &RetiredDate, &DisplayName, &KanaName,
        &ShortName,     &BirthDate,     &Affiliation, &Zero89,      &InviteRegion, &FirstLicenceYear,
        &GradedWin,     &ThisYearPrize, &LastYearPrize, &CareerFlat, &CareerJump, &ThisYear,
        &LastYear,      &End};
    static constexpr Layout kLayout{"TTrainerDetailRec", 906, kFields};
};
static_assert(tiles(TrainerDetailFields::kLayout) && endsWithLineEnd(TrainerDetailFields::kLayout));

class TTrainerDetailRec : public BasicRecord<TTrainerDetailRec, TrainerDetailFields>
{
public:
    TTrainerSection section(const Field &year) const { return blockAs<TTrainerSection>(year); }
    TGradedWinBlock gradedWin(std::size_t w) const { return blockAs<TGradedWinBlock>(GradedWin, w); }
};

// Key of a time-correction line: year, racecourse, meeting, day.
struct MeetKeyFields
{
    static constexpr Field Year = code("年", 0, 4);
    static constexpr Field Venue = code("競馬場コード", 4, 2);
    static constexpr Field Kai = code("開催回", 6, 2);
    static constexpr Field Nichi = code("開催日目", 8, 2);

    static constexpr const Field *kFields[] = {&Year, &Venue, &Kai, &Nichi};
    static constexpr Layout kLayout{"TMeetKey", 10, kFields};
};
static_assert(tiles(MeetKeyFields::kLayout));

class TMeetKey : public BasicRecord<TMeetKey, MeetKeyFields>
{
};

// The first 130 bytes both time-correction lines share: the key and, by race
// number 1..12, the standard time, the standard last three furlongs and the
// early three furlongs, all tenths of a second; "0000"/"000" for a race
// number the day did not have.
struct TimeCorrectionHeadFields
{
    static constexpr std::size_t kRaceCount = 12;

    static constexpr Field Key = block("キー", 0, MeetKeyFields::kLayout);
    static constexpr Field StdTime = digits("基準タイム", 10, 4, kRaceCount);
    static constexpr Field Std3F = digits("基準上がり3F", 58, 3, kRaceCount);
    static constexpr Field Early3F = digits("前半3F", 94, 3, kRaceCount);
};

// "STIME.DAT" line, 132 bytes.
struct STimeFields : TimeCorrectionHeadFields
{
    static constexpr Field End = lineEnd(130);

    static constexpr const Field *kFields[] = {&Key, &StdTime, &Std3F, &Early3F, &End};
    static constexpr Layout kLayout{"TSTimeRec", 132, kFields, Blank::Zero};
};
static_assert(tiles(STimeFields::kLayout) && endsWithLineEnd(STimeFields::kLayout));

// "cSTIME.DAT" line, 204 bytes: the STIME line's 130 bytes, then distance
// and track code by race number.
struct CSTimeFields : TimeCorrectionHeadFields
{
    static constexpr Field Distance = digits("距離", 130, 4, kRaceCount);
    static constexpr Field Track = code("トラックコード", 178, 2, kRaceCount);
    static constexpr Field End = lineEnd(202);

    static constexpr const Field *kFields[] = {&Key, &StdTime, &Std3F, &Early3F, &Distance, &Track, &End};
    static constexpr Layout kLayout{"TCSTimeRec", 204, kFields, Blank::Zero};
};
static_assert(tiles(CSTimeFields::kLayout) && endsWithLineEnd(CSTimeFields::kLayout));

class TSTimeRec : public BasicRecord<TSTimeRec, STimeFields>
{
public:
    TMeetKey key() const { return blockAs<TMeetKey>(Key); }
};

class TCSTimeRec : public BasicRecord<TCSTimeRec, CSTimeFields>
{
public:
    TMeetKey key() const { return blockAs<TMeetKey>(Key); }
    // The STIME line of the same day: the shared 130 bytes and CR LF.
    TSTimeRec toSTime() const;
};

} // namespace zorbe::formats
