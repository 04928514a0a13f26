#pragma once

#include "data/formats/Layout.h"

// The race-day files: race card (".RDT", TRaceCardRec), horse file (".HDT",
// THorseRec) and the two odds files the external odds programs leave
// (".odz", TOddsDayRec; ".odd", TOddsVenueRec), with their nested blocks.
// Offsets of nested fields are within their block.
namespace zorbe::formats {

// Race key, 16 characters: it heads every race card and results record,
// every past race and every race-history slot.
struct RaceKeyFields
{
    static constexpr Field Year = code("年", 0, 4);
    static constexpr Field MonthDay = code("月日", 4, 4);
    static constexpr Field Venue = code("競馬場コード", 8, 2);
    static constexpr Field Kai = code("開催回", 10, 2);
    static constexpr Field Nichi = code("開催日目", 12, 2);
    static constexpr Field RaceNo = code("レース番号", 14, 2);

    static constexpr const Field *kFields[] = {&Year, &MonthDay, &Venue, &Kai, &Nichi, &RaceNo};
    static constexpr Layout kLayout{"TRaceKey", 16, kFields};
};
static_assert(tiles(RaceKeyFields::kLayout));

class TRaceKey : public BasicRecord<TRaceKey, RaceKeyFields>
{
};

// One runner of a race card (and the first part of a results runner block).
// A blank entry is 63 ASCII spaces, its name fields included.
struct RaceEntryFields
{
    static constexpr Field HorseNo = digits("馬番", 0, 2);
    static constexpr Field Bracket = digits("枠番", 2, 1);
    static constexpr Field HorseId = code("血統登録番号", 3, 10);
    static constexpr Field HorseName = wideText("馬名", 13, 18, Blank::Space);
    static constexpr Field Sex = code("性別コード", 31, 1);
    static constexpr Field Weight = digits("負担重量", 32, 3);
    static constexpr Field Blinker = code("ブリンカー", 35, 1);
    static constexpr Field JockeyCode = code("騎手コード", 36, 5);
    static constexpr Field JockeyName = wideText("騎手名略称", 41, 8, Blank::Space);
    static constexpr Field Apprentice = code("見習コード", 49, 1);
    static constexpr Field TrainerCode = code("調教師コード", 50, 5);
    static constexpr Field TrainerName = wideText("調教師名略称", 55, 8, Blank::Space);

    static constexpr const Field *kFields[] = {&HorseNo,    &Bracket,    &HorseId,     &HorseName,
                                               &Sex,        &Weight,     &Blinker,     &JockeyCode,
                                               &JockeyName, &Apprentice, &TrainerCode, &TrainerName};
    static constexpr Layout kLayout{"TRaceEntryRec", 63, kFields};
};
static_assert(tiles(RaceEntryFields::kLayout));

class TRaceEntryRec : public BasicRecord<TRaceEntryRec, RaceEntryFields>
{
};

// The course record of a race's course, track, distance and race kind. The
// blank block is the one a race without a course record carries: every
// number "0", every name full-width spaces.
struct CourseRecordFields
{
    static constexpr Field DataKind = code("データ区分", 0, 1);
    static constexpr Field RecordTime = digits("レコードタイム", 1, 4);
    static constexpr Field Year = digits("年", 5, 4);
    static constexpr Field MonthDay = digits("月日", 9, 4);
    static constexpr Field Kai = digits("開催回", 13, 2);
    static constexpr Field Nichi = digits("開催日目", 15, 2);
    static constexpr Field Venue = code("競馬場コード", 17, 2);
    static constexpr Field RaceNo = digits("レース番号", 19, 2);
    static constexpr Field Going = code("馬場状態", 21, 1);
    static constexpr Field Weather = code("天候", 22, 1);
    static constexpr Field Zeros23 = fixed("固定値", 23, "00");
    static constexpr Field HorseId = code("血統登録番号", 25, 10);
    static constexpr Field HorseName = wideText("馬名", 35, 18);
    static constexpr Field Sex = code("性別コード", 53, 1);
    static constexpr Field Weight = digits("負担重量", 54, 3);
    static constexpr Field JockeyCode = code("騎手コード", 57, 5);
    static constexpr Field JockeyName = wideText("騎手名略称", 62, 8);
    static constexpr Field Zero70 = fixed("固定値", 70, "0");
    static constexpr Field TrainerCode = code("調教師コード", 71, 5);
    static constexpr Field TrainerName = wideText("調教師名略称", 76, 8);
    static constexpr Field Zeros84 = fixed("固定値", 84, "000");

    static constexpr const Field *kFields[] = {
        &DataKind,  &RecordTime, &Year,       &MonthDay,   &Kai,    &Nichi,       &Venue,
        &RaceNo,    &Going,      &Weather,    &Zeros23,    &HorseId, &HorseName,  &Sex,
        &Weight,    &JockeyCode, &JockeyName, &Zero70,     &TrainerCode, &TrainerName, &Zeros84};
    static constexpr Layout kLayout{"TCourseRecordBlock", 87, kFields, Blank::Zero};
};
static_assert(tiles(CourseRecordFields::kLayout));

class TCourseRecordBlock : public BasicRecord<TCourseRecordBlock, CourseRecordFields>
{
public:
    // True when the block names no record ("0" as data kind).
    bool isEmpty() const { return get(DataKind) == "0"; }
};

// Race header fields that the race card and the results record share
// (bytes 0-147 and 232-326 of both).
struct RaceHeadFields
{
    static constexpr Field Key = block("レースキー", 0, RaceKeyFields::kLayout);
    static constexpr Field Weekday = code("曜日コード", 16, 1);
    static constexpr Field RaceName = wideText("競走名本題", 17, 60);
    static constexpr Field ShortName = wideText("競走名略称", 77, 6);
    static constexpr Field Edition = digits("重賞回次", 83, 3);
    static constexpr Field Grade = code("グレードコード", 86, 1);
    static constexpr Field RaceKind = code("競走種別コード", 87, 2);
    static constexpr Field Symbol = code("競走記号コード", 89, 3);
    static constexpr Field WeightRule = code("重量種別コード", 92, 1);
    // Two-year-olds, three-year-olds, four-year-olds, five and up, youngest age.
    static constexpr Field Class = code("競走条件コード", 93, 3, 5);
    static constexpr Field Wide108 = fixed("固定値", 108,
                                           "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40"
                                           "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40");
    static constexpr Field Distance = digits("距離", 132, 4);
    static constexpr Field Track = code("トラックコード", 136, 2);
    static constexpr Field Course = code("コース区分", 138, 2);
    static constexpr Field Zeros140 = fixed("固定値", 140, "00000000");
    static constexpr Field CourseRecord = block("コースレコード", 232, CourseRecordFields::kLayout);
    static constexpr Field StartTime = code("発走時刻", 319, 4);
    static constexpr Field Zero323 = fixed("固定値", 323, "0");
    static constexpr Field Entries = digits("登録頭数", 324, 2);
    static constexpr Field Zero326 = fixed("固定値", 326, "0");
};

// Race card file (".RDT"): one 1463-byte line per race, the header and 18
// entries; the entries after the last runner are blank.
struct RaceCardFields : RaceHeadFields
{
    static constexpr Field Prize = digits("本賞金", 148, 7, 5);
    static constexpr Field Zeros183 = fixed("固定値", 183, "00000000000000");
    static constexpr Field AddedPrize = digits("付加賞金", 197, 7, 3);
    static constexpr Field Zeros218 = fixed("固定値", 218, "00000000000000");
    static constexpr Field Entry = block("出走馬", 327, RaceEntryFields::kLayout, 18);
    static constexpr Field End = lineEnd(1461);

    static constexpr std::size_t kEntryCount = 18;

    static constexpr const Field *kFields[] = {
        &Key,        &Weekday,  &RaceName, &ShortName,  &Edition,      &Grade,     &RaceKind,
        &Symbol,     &WeightRule, &Class,  &Wide108,    &Distance,     &Track,     &Course,
        &Zeros140,   &Prize,    &Zeros183, &AddedPrize, &Zeros218,     &CourseRecord, &StartTime,
        &Zero323,    &Entries,  &Zero326,  &Entry,      &End};
    static constexpr Layout kLayout{"TRaceCardRec", 1463, kFields};
};
static_assert(tiles(RaceCardFields::kLayout) && endsWithLineEnd(RaceCardFields::kLayout));

class TRaceCardRec : public BasicRecord<TRaceCardRec, RaceCardFields>
{
public:
    TRaceKey key() const { return blockAs<TRaceKey>(Key); }
    TRaceEntryRec entry(std::size_t j) const { return blockAs<TRaceEntryRec>(Entry, j); }
    void setEntry(std::size_t j, const TRaceEntryRec &e) { setBlock(Entry, j, e); }
    TCourseRecordBlock courseRecord() const { return blockAs<TCourseRecordBlock>(CourseRecord); }
    void setCourseRecord(const TCourseRecordBlock &b) { setBlock(CourseRecord, b); }
};

// Placing counts: wins, seconds, thirds and all other finishes.
struct ResultCountsFields
{
    static constexpr Field Wins = digits("1着数", 0, 3);
    static constexpr Field Seconds = digits("2着数", 3, 3);
    static constexpr Field Thirds = digits("3着数", 6, 3);
    static constexpr Field Others = digits("着外数", 9, 3);

    static constexpr const Field *kFields[] = {&Wins, &Seconds, &Thirds, &Others};
    static constexpr Layout kLayout{"TResultCounts", 12, kFields, Blank::Zero};
};
static_assert(tiles(ResultCountsFields::kLayout));

class TResultCounts : public BasicRecord<TResultCounts, ResultCountsFields>
{
};

// One past race of a horse. The blank block (a race the horse has not run)
// is spaces with full-width spaces in the five name fields; its fillers are
// blank too, so a reader tells a missing race by its blank year. A new
// block (default-constructed) has its fillers' zeros.
struct PastRaceFields
{
    static constexpr Field Key = block("レースキー", 0, RaceKeyFields::kLayout);
    static constexpr Field RaceName = wideText("競走名略称", 16, 6);
    static constexpr Field Grade = code("グレードコード", 22, 1);
    static constexpr Field RaceKind = code("競走種別コード", 23, 2);
    static constexpr Field Symbol = code("競走記号コード", 25, 3);
    static constexpr Field WeightRule = code("重量種別コード", 28, 1);
    static constexpr Field Class = code("競走条件コード", 29, 3);
    static constexpr Field ConditionName = wideText("競走条件名称", 32, 24);
    static constexpr Field Distance = digits("距離", 56, 4);
    static constexpr Field Track = code("トラックコード", 60, 2);
    static constexpr Field Zeros62 = fixed("固定値", 62, "0000000000", Blank::Space);
    static constexpr Field Registered = digits("登録頭数", 72, 2);
    static constexpr Field Starters = digits("出走頭数", 74, 2);
    static constexpr Field Finishers = digits("入線頭数", 76, 2);
    static constexpr Field Going = code("馬場状態", 78, 1);
    static constexpr Field Weather = code("天候", 79, 1);
    static constexpr Field HorseNo = digits("馬番", 80, 2);
    static constexpr Field Bracket = digits("枠番", 82, 1);
    static constexpr Field Sex = code("性別コード", 83, 1);
    static constexpr Field Weight = digits("負担重量", 84, 3);
    static constexpr Field Blinker = code("ブリンカー", 87, 1);
    static constexpr Field JockeyCode = code("騎手コード", 88, 5);
    static constexpr Field JockeyName = wideText("騎手名略称", 93, 8);
    static constexpr Field Apprentice = code("見習コード", 101, 1);
    static constexpr Field TrainerCode = code("調教師コード", 102, 5);
    static constexpr Field TrainerName = wideText("調教師名略称", 107, 8);
    static constexpr Field Abnormal = code("異常区分", 115, 1);
    static constexpr Field BodyWeight = digits("馬体重", 116, 3);
    static constexpr Field BodyChange = code("増減", 119, 3);
    static constexpr Field Corner = digits("コーナー順位", 122, 2, 4);
    static constexpr Field Last4F = digits("後4ハロン", 130, 3);
    static constexpr Field Last3F = digits("後3ハロン", 133, 3);
    static constexpr Field Time = digits("走破タイム", 136, 4);
    static constexpr Field MarginCode = code("着差コード", 140, 3);
    static constexpr Field Arrival = digits("入線順位", 143, 2);
    static constexpr Field Finish = digits("確定着順", 145, 2);
    static constexpr Field Popularity = digits("単勝人気", 147, 2);
    static constexpr Field WinOdds = digits("単勝オッズ", 149, 4);
    static constexpr Field Prize = digits("賞金", 153, 7, 2); // main, added
    static constexpr Field Zeros167 = fixed("固定値", 167, "00000000000000", Blank::Space);
    static constexpr Field RivalId = code("相手馬血統登録番号", 181, 10);
    static constexpr Field RivalName = wideText("相手馬名", 191, 18);
    static constexpr Field Zeros209 = fixed("固定値", 209, "000", Blank::Space);
    static constexpr Field TimeDiff = code("タイム差", 212, 3);

    static constexpr const Field *kFields[] = {
        &Key,        &RaceName,   &Grade,      &RaceKind,    &Symbol,      &WeightRule, &Class,
        &ConditionName, &Distance, &Track,     &Zeros62,     &Registered,  &Starters,   &Finishers,
        &Going,      &Weather,    &HorseNo,    &Bracket,     &Sex,         &Weight,     &Blinker,
        &JockeyCode, &JockeyName, &Apprentice, &TrainerCode, &TrainerName, &Abnormal,   &BodyWeight,
        &BodyChange, &Corner,     &Last4F,     &Last3F,      &Time,        &MarginCode, &Arrival,
        &Finish,     &Popularity, &WinOdds,    &Prize,       &Zeros167,    &RivalId,    &RivalName,
        &Zeros209,   &TimeDiff};
    static constexpr Layout kLayout{"TPastRaceRec", 215, kFields};
};
static_assert(tiles(PastRaceFields::kLayout));

class TPastRaceRec : public BasicRecord<TPastRaceRec, PastRaceFields>
{
public:
    // A block of a race the horse has not run: blank year or meeting number.
    bool isMissing() const;
};

// A race-history slot: a race key and two further characters.
struct RaceRefFields
{
    static constexpr Field Key = block("レースキー", 0, RaceKeyFields::kLayout);
    static constexpr Field Extra = code("予備", 16, 2);

    static constexpr const Field *kFields[] = {&Key, &Extra};
    static constexpr Layout kLayout{"TRaceRefRec", 18, kFields};
};
static_assert(tiles(RaceRefFields::kLayout));

class TRaceRefRec : public BasicRecord<TRaceRefRec, RaceRefFields>
{
};

// Horse file (".HDT"): one 2881-byte line per entry of the race card, in race
// card order.
struct HorseFields
{
    static constexpr Field Id = code("血統登録番号", 0, 10);
    static constexpr Field DataKind = code("データ区分", 10, 1);
    static constexpr Field DataDate = code("作成年月日", 11, 8);
    static constexpr Field Retired = code("抹消区分", 19, 1);
    static constexpr Field RetiredDate = code("抹消年月日", 20, 8);
    static constexpr Field Name = wideText("馬名", 28, 36);
    static constexpr Field BirthDate = code("生年月日", 64, 8);
    static constexpr Field Breed = code("品種コード", 72, 1);
    static constexpr Field Sex = code("性別コード", 73, 1);
    static constexpr Field Colour = code("毛色コード", 74, 2);
    static constexpr Field Mark = code("馬記号コード", 76, 2);
    static constexpr Field Sire = wideText("父", 78, 36);
    static constexpr Field Zeros114 = fixed("固定値", 114, "000000000000000000000");
    static constexpr Field Dam = wideText("母", 135, 36);
    static constexpr Field Zeros171 = fixed("固定値", 171, "000000000000000000000");
    static constexpr Field DamSire = wideText("母父", 192, 36);
    static constexpr Field Zeros228 = fixed("固定値", 228, "000000000000000000000");
    static constexpr Field DamDam = wideText("母母", 249, 36);
    static constexpr Field Zeros285 = fixed("固定値", 285, "000000000000000000000");
    static constexpr Field DamDamSire = wideText("母母父", 306, 36);
    static constexpr Field Zeros342 = fixed("固定値", 342, "000000000000000000000");
    static constexpr Field DamDamDam = wideText("母母母", 363, 36);
    static constexpr Field Zeros399 = fixed("固定値", 399, "000000000000000000000");
    // 20 bytes of the source followed by two full-width spaces.
    static constexpr Field Birthplace = wideText("産地名", 420, 24);
    static constexpr Field Breeder = wideText("生産者名", 444, 40);
    static constexpr Field OwnerCode = code("馬主コード", 484, 6);
    static constexpr Field Owner = wideText("馬主名", 490, 40);
    static constexpr Field Zeros530 = fixed("固定値", 530, "00000000000000000000");
    static constexpr Field TrainerCode = code("調教師コード", 550, 5);
    static constexpr Field TrainerName = wideText("調教師名略称", 555, 8);
    static constexpr Field Zero563 = fixed("固定値", 563, "0");
    static constexpr Field InviteRegion = wideText("招待地域名", 564, 24);
    static constexpr Field PrizeMain = digits("本賞金累計", 588, 7, 1, Blank::Zero);
    static constexpr Field PrizeAdded = digits("付加賞金累計", 595, 7, 1, Blank::Zero);
    static constexpr Field PrizeEarned = digits("収得賞金", 602, 7, 2, Blank::Zero); // flat, jump
    static constexpr Field Results = block("着回数", 616, ResultCountsFields::kLayout, 24);
    static constexpr Field Past = block("前走", 904, PastRaceFields::kLayout, 5);
    static constexpr Field History = block("出走履歴", 1979, RaceRefFields::kLayout, 50);
    static constexpr Field End = lineEnd(2879);

    static constexpr std::size_t kPastCount = 5;
    static constexpr std::size_t kHistoryCount = 50;
    static constexpr std::size_t kResultGroupCount = 24;

    // The placing groups (elements of Results): the total of the ten
    // courses; turf right, turf left, dirt right, dirt left, jump; by going
    // 良, 稍重, 重, 不良 for turf, dirt and jump (first group + going - 1); by
    // distance short, middle, long for turf and dirt.
    static constexpr std::size_t kGroupTotal = 1;
    static constexpr std::size_t kGroupTurfRight = 2;
    static constexpr std::size_t kGroupTurfLeft = 3;
    static constexpr std::size_t kGroupDirtRight = 4;
    static constexpr std::size_t kGroupDirtLeft = 5;
    static constexpr std::size_t kGroupJump = 6;
    static constexpr std::size_t kGroupTurfGoing = 7;
    static constexpr std::size_t kGroupDirtGoing = 11;
    static constexpr std::size_t kGroupJumpGoing = 15;
    static constexpr std::size_t kGroupTurfDistance = 19;
    static constexpr std::size_t kGroupDirtDistance = 22;

    static constexpr const Field *kFields[] = {
        &Id,         &DataKind,  &DataDate,    &Retired,     &RetiredDate, &Name,      &BirthDate,
        &Breed,      &Sex,       &Colour,      &Mark,        &Sire,        &Zeros114,  &Dam,
        &Zeros171,   &DamSire,   &Zeros228,    &DamDam,      &Zeros285,    &DamDamSire, &Zeros342,
        &DamDamDam,  &Zeros399,  &Birthplace,  &Breeder,     &OwnerCode,   &Owner,     &Zeros530,
        &TrainerCode, &TrainerName, &Zero563,  &InviteRegion, &PrizeMain,  &PrizeAdded, &PrizeEarned,
        &Results,    &Past,      &History,     &End};
    static constexpr Layout kLayout{"THorseRec", 2881, kFields};
};
static_assert(tiles(HorseFields::kLayout) && endsWithLineEnd(HorseFields::kLayout));

class THorseRec : public BasicRecord<THorseRec, HorseFields>
{
public:
    TResultCounts results(std::size_t g) const { return blockAs<TResultCounts>(Results, g); }
    void setResults(std::size_t g, const TResultCounts &c) { setBlock(Results, g, c); }
    TPastRaceRec past(std::size_t k) const { return blockAs<TPastRaceRec>(Past, k); }
    void setPast(std::size_t k, const TPastRaceRec &p) { setBlock(Past, k, p); }
    TRaceRefRec history(std::size_t m) const { return blockAs<TRaceRefRec>(History, m); }
    void setHistory(std::size_t m, const TRaceRefRec &r) { setBlock(History, m, r); }
};

// Day odds file (".odz"): one 1504-byte record per race of all venues of a
// day. Only the key, the stamp, three small fields and the win odds are read.
struct OddsDayFields
{
    // Venue number of the odds source (2), year, meeting, day, race number.
    static constexpr Field Key = code("レース", 0, 12);
    static constexpr Field Stamp = code("スタンプ", 12, 8);
    static constexpr Field Unused20 = code("未使用", 20, 84);
    static constexpr Field Item104 = code("項目104", 104, 1);
    static constexpr Field Item105 = code("項目105", 105, 4);
    static constexpr Field Item109 = code("項目109", 109, 2);
    static constexpr Field Unused111 = code("未使用", 111, 50);
    static constexpr Field WinOdds = code("単勝オッズ", 161, 5, 18);
    static constexpr Field Unused251 = code("未使用", 251, 1251);
    static constexpr Field End = lineEnd(1502);

    static constexpr const Field *kFields[] = {&Key,     &Stamp,     &Unused20,  &Item104,   &Item105,
                                               &Item109, &Unused111, &WinOdds,   &Unused251, &End};
    static constexpr Layout kLayout{"TOddsDayRec", 1504, kFields};
};
static_assert(tiles(OddsDayFields::kLayout));

class TOddsDayRec : public BasicRecord<TOddsDayRec, OddsDayFields>
{
};

// Venue odds file (".odd"): one 92-byte line per race of one venue and day;
// the win odds as right-aligned text ("  12.3" style, 5 characters).
struct OddsVenueFields
{
    static constexpr Field WinOdds = code("単勝オッズ", 0, 5, 18);
    static constexpr Field End = lineEnd(90);

    static constexpr const Field *kFields[] = {&WinOdds, &End};
    static constexpr Layout kLayout{"TOddsVenueRec", 92, kFields};
};
static_assert(tiles(OddsVenueFields::kLayout) && endsWithLineEnd(OddsVenueFields::kLayout));

class TOddsVenueRec : public BasicRecord<TOddsVenueRec, OddsVenueFields>
{
};

// The .odz key of a race: the odds source's own venue number ("05" 東京 is
// "04"), then year, meeting, day and race number. Empty for a racecourse
// code outside "01".."10", which the odds source does not number.
std::string oddsDayKey(const TRaceKey &key);

} // namespace zorbe::formats
