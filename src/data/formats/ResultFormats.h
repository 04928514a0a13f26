#pragma once

#include "data/formats/RaceDayFormats.h"

// The results file (".SDT", TResultRec): one 3048-byte line per race with the
// race header, the payouts, the lap times and every runner's result.
namespace zorbe::formats {

// Payout entry, short form (win, place, bracket quinella): horse number or
// bracket pair, payout in yen, popularity. A blank entry is all "0".
struct PayoutShortFields
{
    static constexpr Field Number = code("組番", 0, 2);
    static constexpr Field Payout = digits("払戻金", 2, 7);
    static constexpr Field Popularity = digits("人気", 9, 2);

    static constexpr const Field *kFields[] = {&Number, &Payout, &Popularity};
    static constexpr Layout kLayout{"TPayoutEntry", 11, kFields, Blank::Zero};
};
static_assert(tiles(PayoutShortFields::kLayout));

// Payout entry, long form (quinella, wide): horse-number pair, payout in yen,
// popularity.
struct PayoutLongFields
{
    static constexpr Field Number = code("組番", 0, 4);
    static constexpr Field Payout = digits("払戻金", 4, 8);
    static constexpr Field Popularity = digits("人気", 12, 3);

    static constexpr const Field *kFields[] = {&Number, &Payout, &Popularity};
    static constexpr Layout kLayout{"TPayoutEntry", 15, kFields, Blank::Zero};
};
static_assert(tiles(PayoutLongFields::kLayout));

// One payout entry in either form; the form follows from the block it is
// taken from or put into.
class TPayoutEntry : public FixedRecord
{
public:
    static constexpr std::size_t kShortLength = PayoutShortFields::kLayout.length;
    static constexpr std::size_t kLongLength = PayoutLongFields::kLayout.length;

    // All-"0" entries: no payout.
    static TPayoutEntry blankShort() { return TPayoutEntry(PayoutShortFields::kLayout); }
    static TPayoutEntry blankLong() { return TPayoutEntry(PayoutLongFields::kLayout); }
    // The form by the length (11 or 15); any other length raises LayoutError.
    static TPayoutEntry fromBytes(std::string_view bytes);

    bool isLong() const { return &layout() == &PayoutLongFields::kLayout; }
    const Field &numberField() const { return isLong() ? PayoutLongFields::Number : PayoutShortFields::Number; }
    const Field &payoutField() const { return isLong() ? PayoutLongFields::Payout : PayoutShortFields::Payout; }
    const Field &popularityField() const
    {
        return isLong() ? PayoutLongFields::Popularity : PayoutShortFields::Popularity;
    }

    std::string_view combination() const { return get(numberField()); }
    std::string_view payout() const { return get(payoutField()); }
    std::string_view popularity() const { return get(popularityField()); }
    // Each exactly the field's width (2/7/2 or 4/8/3).
    void setCombination(std::string_view v) { set(numberField(), v); }
    void setPayout(std::string_view v) { set(payoutField(), v); }
    void setPopularity(std::string_view v) { set(popularityField(), v); }

    // True when the entry holds no payout (all "0").
    bool isEmpty() const { return bytes().find_first_not_of('0') == std::string::npos; }

private:
    explicit TPayoutEntry(const Layout &layout) : FixedRecord(layout) {}
    TPayoutEntry(const Layout &layout, std::string_view bytes) : FixedRecord(layout, bytes) {}
};

// One runner of a results record: the race card entry, then the result. A
// blank block (after the last runner) is 129 ASCII spaces.
struct ResultRunnerFields
{
    static constexpr Field Entry = block("出走馬", 0, RaceEntryFields::kLayout);
    static constexpr Field Abnormal = code("異常区分", 63, 1);
    static constexpr Field BodyWeight = digits("馬体重", 64, 3);
    static constexpr Field BodyChange = code("増減", 67, 3);
    static constexpr Field Corner = digits("コーナー順位", 70, 2, 4);
    static constexpr Field Last4F = digits("後4ハロン", 78, 3);
    static constexpr Field Last3F = digits("後3ハロン", 81, 3);
    static constexpr Field Time = digits("走破タイム", 84, 4);
    static constexpr Field MarginCode = code("着差コード", 88, 3);
    static constexpr Field Arrival = digits("入線順位", 91, 2);
    static constexpr Field Finish = digits("確定着順", 93, 2);
    static constexpr Field Popularity = digits("単勝人気", 95, 2);
    static constexpr Field WinOdds = digits("単勝オッズ", 97, 4);
    static constexpr Field PrizeMain = digits("本賞金", 101, 7);
    static constexpr Field PrizeAdded = digits("付加賞金", 108, 7);
    static constexpr Field Zeros115 = fixed("固定値", 115, "00000000000000", Blank::Space);

    static constexpr const Field *kFields[] = {
        &Entry,  &Abnormal,   &BodyWeight, &BodyChange, &Corner,     &Last4F,    &Last3F,   &Time,
        &MarginCode, &Arrival, &Finish,    &Popularity, &WinOdds,    &PrizeMain, &PrizeAdded, &Zeros115};
    static constexpr Layout kLayout{"TResultRunnerRec", 129, kFields};
};
static_assert(tiles(ResultRunnerFields::kLayout));

class TResultRunnerRec : public BasicRecord<TResultRunnerRec, ResultRunnerFields>
{
public:
    TRaceEntryRec entry() const { return blockAs<TRaceEntryRec>(Entry); }
    void setEntry(const TRaceEntryRec &e) { setBlock(Entry, e); }
};

struct ResultFields : RaceHeadFields
{
    static constexpr Field Prize = digits("本賞金", 148, 7, 7);
    static constexpr Field AddedPrize = digits("付加賞金", 197, 7, 5);
    static constexpr Field Starters = digits("出走頭数", 327, 2);
    static constexpr Field Finishers = digits("入線頭数", 329, 2);
    static constexpr Field Going = code("馬場状態", 331, 1);
    static constexpr Field Weather = code("天候", 332, 1);
    static constexpr Field Win = block("単勝", 333, PayoutShortFields::kLayout, 3);
    static constexpr Field Place = block("複勝", 366, PayoutShortFields::kLayout, 5);
    static constexpr Field BracketQuinella = block("枠連", 421, PayoutShortFields::kLayout, 3);
    static constexpr Field Quinella = block("馬連", 454, PayoutLongFields::kLayout, 3);
    static constexpr Field Wide = block("ワイド", 499, PayoutLongFields::kLayout, 7);
    static constexpr Field Zeros604 = fixed("固定値", 604, "000000000000000000000000000000000000000000000");
    // Tenths of a second per furlong section; "000" beyond the distance.
    static constexpr Field Lap = digits("ラップタイム", 649, 3, 25, Blank::Zero);
    static constexpr Field Runner = block("出走馬成績", 724, ResultRunnerFields::kLayout, 18);
    static constexpr Field End = lineEnd(3046);

    static constexpr std::size_t kRunnerCount = 18;
    static constexpr std::size_t kLapCount = 25;

    static constexpr const Field *kFields[] = {
        &Key,        &Weekday,   &RaceName,   &ShortName, &Edition,  &Grade,      &RaceKind,
        &Symbol,     &WeightRule, &Class,     &Wide108,   &Distance, &Track,      &Course,
        &Zeros140,   &Prize,     &AddedPrize, &CourseRecord, &StartTime, &Zero323, &Entries,
        &Zero326,    &Starters,  &Finishers,  &Going,     &Weather,  &Win,        &Place,
        &BracketQuinella, &Quinella, &Wide,   &Zeros604,  &Lap,      &Runner,     &End};
    static constexpr Layout kLayout{"TResultRec", 3048, kFields};
};
static_assert(tiles(ResultFields::kLayout) && endsWithLineEnd(ResultFields::kLayout));

class TResultRec : public BasicRecord<TResultRec, ResultFields>
{
public:
    TRaceKey key() const { return blockAs<TRaceKey>(Key); }
    TCourseRecordBlock courseRecord() const { return blockAs<TCourseRecordBlock>(CourseRecord); }
    void setCourseRecord(const TCourseRecordBlock &b) { setBlock(CourseRecord, b); }
    // f is one of Win, Place, BracketQuinella, Quinella, Wide.
    TPayoutEntry payout(const Field &f, std::size_t e) const { return blockAs<TPayoutEntry>(f, e); }
    void setPayout(const Field &f, std::size_t e, const TPayoutEntry &p) { setBlock(f, e, p); }
    TResultRunnerRec runner(std::size_t m) const { return blockAs<TResultRunnerRec>(Runner, m); }
    void setRunner(std::size_t m, const TResultRunnerRec &r) { setBlock(Runner, m, r); }
};

} // namespace zorbe::formats
