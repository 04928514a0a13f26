#include "export/ResultsCsv.h"

#include "data/formats/Codes.h"
#include "data/formats/ResultFormats.h"
#include "export/CsvText.h"
#include "export/RaceTitle.h"
#include "model/RecordFields.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"

#include <algorithm>
#include <optional>

namespace zorbe::csvexport {

using formats::codes::CodeTable;
using F = formats::ResultFields;
using K = formats::RaceKeyFields;
using R = formats::ResultRunnerFields;
using Short = formats::PayoutShortFields;
using Long = formats::PayoutLongFields;

namespace {

// ------------------------------------------------------------ code texts

std::string_view meetingNumberText(std::string_view kai)
{
    static const CodeTable t("開催回", {{"01", "１回"}, {"02", "２回"}, {"03", "３回"}, {"04", "４回"},
                                        {"05", "５回"}, {"06", "６回"}, {"07", "７回"}, {"08", "８回"}});
    return t.name(kai);
}

std::string_view meetingDayText(std::string_view nichi)
{
    static const CodeTable t("開催日目", {{"01", "１日目"}, {"02", "２日目"}, {"03", "３日目"}, {"04", "４日目"},
                                          {"05", "５日目"}, {"06", "６日目"}, {"07", "７日目"}, {"08", "８日目"}});
    return t.name(nichi);
}

// TD: the kind of course a spreadsheet groups races by.
std::string_view trackTypeText(std::string_view track)
{
    static const CodeTable t("トラック", {{"10", "T"},   {"11", "T"},   {"17", "T"},   {"12", "TS"},  {"16", "TS"},
                                          {"18", "TS"},  {"22", "TS"},  {"15", "TU"},  {"21", "TU"},  {"13", "TUS"},
                                          {"19", "TUS"}, {"14", "TSU"}, {"20", "TSU"}, {"23", "D"},   {"24", "D"},
                                          {"51", "SS"},  {"52", "SS"},  {"53", "SS"},  {"54", "SS"},  {"55", "SS"},
                                          {"56", "SS"},  {"57", "SS"},  {"58", "SS"},  {"59", "SS"}});
    return t.name(track);
}

std::string_view goingText(std::string_view going)
{
    static const CodeTable t("馬場状態", {{"1", "良"}, {"2", "稍"}, {"3", "重"}, {"4", "不"}});
    return t.name(going);
}

// The class of "S1.CSV": the open class by its grade.
std::string_view classText1(std::string_view condition, std::string_view grade)
{
    static const CodeTable classes("競走条件", {{"701", "新馬"},    {"702", "未出走"}, {"703", "未勝利"},
                                                {"005", "1勝ｸﾗｽ"}, {"009", "900万"},  {"010", "2勝ｸﾗｽ"},
                                                {"015", "150万"},   {"016", "3勝ｸﾗｽ"}});
    static const CodeTable grades("グレード", {{"A", "ＧⅠ"},   {"B", "ＧⅡ"},   {"C", "ＧⅢ"},
                                               {"F", "ＪＧⅠ"}, {"G", "ＪＧⅡ"}, {"H", "ＪＧⅢ"}});
    static const std::string open = sj("ＯＰ");
    if (condition != "999")
        return classes.name(condition);
    const std::string_view graded = grades.name(grade);
    return graded.empty() ? std::string_view(open) : graded;
}

std::string_view classText2(std::string_view condition)
{
    static const CodeTable t("競走条件", {{"701", "新馬"},   {"702", "未出走"},  {"703", "未勝利"},
                                          {"004", "400万"},  {"005", "1勝ｸﾗｽ"}, {"009", "900万"},
                                          {"010", "2勝ｸﾗｽ"}, {"015", "150万"},   {"016", "3勝ｸﾗｽ"},
                                          {"999", "ＯＰ"}});
    return t.name(condition);
}

std::string_view abnormalMark(std::string_view code)
{
    static const CodeTable t("異常区分", {{"1", "出"}, {"2", "発"}, {"3", "除"}, {"4", "中"}, {"5", "失"}});
    return t.name(code);
}

// ------------------------------------------------------------ the record

// A payout, number or popularity with no digit but zeros: nothing paid.
bool isZero(std::string_view stored)
{
    return stored.find_first_not_of("0 ") == std::string_view::npos;
}

// Runner blocks 1..n of the record, n its number of entries (at most the
// 18 blocks the record holds).
std::size_t runnerCount(const RecordFields &rec)
{
    return static_cast<std::size_t>(
        std::clamp<std::int64_t>(storedNumber(rec(F::Entries), "登録頭数"), 0, F::kRunnerCount));
}

// The meeting-number, venue and day texts of the record's meeting.
struct Meeting
{
    std::string kai, venue, nichi;

    static Meeting of(const RecordFields &rec)
    {
        return {std::string(meetingNumberText(rec(F::Key, K::Kai))),
                std::string(formats::codes::racecourses().name(rec(F::Key, K::Venue))),
                std::string(meetingDayText(rec(F::Key, K::Nichi)))};
    }
};

// The section line: meeting, venue, day and the date with month and day
// without leading zeros ("１回東京８日目2004年6月27日").
std::string sectionLine(const RecordFields &rec)
{
    static const std::string year = sj("年"), month = sj("月"), day = sj("日");
    const Meeting m = Meeting::of(rec);
    const std::string monthDay = rec(F::Key, K::MonthDay);
    return CsvLine()
        .text(m.kai + m.venue + m.nichi)
        .text(rec(F::Key, K::Year) + year)
        .text(withoutLeadingZeros(bytesOf(monthDay, 0, 2)) + month)
        .text(withoutLeadingZeros(bytesOf(monthDay, 2)) + day)
        .end();
}

// ------------------------------------------------------------ S1.CSV

// A payout as three columns: the combination, the payout and its
// popularity, numbers without leading zeros. An empty group keeps its
// three columns.
struct PayoutGroup
{
    std::string combination, payout, popularity;

    void addTo(CsvLine &line) const { line.field(combination).field(payout).field(popularity); }
    std::string endLine(CsvLine &line) const { return line.field(combination).field(payout).end(popularity); }
};

PayoutGroup placeGroup(const RecordFields &entry)
{
    return {withoutLeadingZeros(entry(Short::Number)), withoutLeadingZeros(entry(Short::Payout)),
            withoutLeadingZeros(entry(Short::Popularity))};
}

// ".1-2": the two bracket digits as stored.
PayoutGroup bracketGroup(const RecordFields &entry)
{
    const std::string pair = entry(Short::Number);
    return {"." + std::string(bytesOf(pair, 0, 1)) + "-" + std::string(bytesOf(pair, 1)),
            withoutLeadingZeros(entry(Short::Payout)), withoutLeadingZeros(entry(Short::Popularity))};
}

// ".3-12": the two horse numbers without leading zeros.
PayoutGroup quinellaGroup(const RecordFields &entry)
{
    const std::string pair = entry(Long::Number);
    return {"." + withoutLeadingZeros(bytesOf(pair, 0, 2)) + "-" + withoutLeadingZeros(bytesOf(pair, 2)),
            withoutLeadingZeros(entry(Long::Payout)), withoutLeadingZeros(entry(Long::Popularity))};
}

std::string abnormalRunners(const RecordFields &rec, const LabelTables &labels)
{
    std::string out;
    const std::size_t n = runnerCount(rec);
    for (std::size_t i = 1; i <= n; ++i) {
        const std::string_view mark = abnormalMark(rec.block(F::Runner, i)(R::Abnormal));
        if (!mark.empty())
            out += labels.CircledNumberText[i] + std::string(mark);
    }
    return out;
}

std::string raceRow1(const RecordFields &rec, const Meeting &meeting, const LabelTables &labels)
{
    CsvLine line;
    line.field(slashDate(rec(F::Key, K::Year), rec(F::Key, K::MonthDay)));
    line.field(meeting.kai).field(meeting.nichi).field(meeting.venue);
    line.field(withoutLeadingZeros(rec(F::Key, K::RaceNo)) + "R");
    line.field(rec(F::Distance)).field(trackTypeText(rec(F::Track)));
    line.field(classText1(rec(F::Class, 5), rec(F::Grade)));
    line.field(rec(F::ShortName)).field(goingText(rec(F::Going))).field(rec(F::Starters));

    const RecordFields win = rec.block(F::Win, 1);
    line.field(withoutLeadingZeros(win(Short::Number))).field(withoutLeadingZeros(win(Short::Payout)));
    placeGroup(rec.block(F::Place, 1)).addTo(line);
    placeGroup(rec.block(F::Place, 2)).addTo(line);
    const RecordFields place3 = rec.block(F::Place, 3);
    (isZero(place3(Short::Payout)) ? PayoutGroup() : placeGroup(place3)).addTo(line);
    bracketGroup(rec.block(F::BracketQuinella, 1)).addTo(line);
    const RecordFields quinella = rec.block(F::Quinella, 1);
    (isZero(quinella(Long::Payout)) ? PayoutGroup() : quinellaGroup(quinella)).addTo(line);
    return line.end(abnormalRunners(rec, labels));
}

// The line a dead heat adds under the race row: the second win payout with
// the second bracket-quinella and quinella payouts, or, without a second
// winner, the second bracket-quinella and quinella payouts alone. Each
// group stands under its column of the header; 28 fields.
std::optional<std::string> deadHeatRow(const RecordFields &rec)
{
    const RecordFields win2 = rec.block(F::Win, 2);
    const RecordFields bracket2 = rec.block(F::BracketQuinella, 2);
    const RecordFields quinella2 = rec.block(F::Quinella, 2);
    CsvLine line;
    if (!isZero(win2(Short::Number))) {
        line.field("*").empty(10);
        line.field(withoutLeadingZeros(win2(Short::Number))).field(withoutLeadingZeros(win2(Short::Payout)));
        line.empty(9);
        const bool noBracket = bracket2(Short::Number).substr(0, 1) == "0" || isZero(bracket2(Short::Payout));
        (noBracket ? PayoutGroup() : bracketGroup(bracket2)).addTo(line);
        const bool noQuinella = isZero(quinella2(Long::Number).substr(0, 2));
        return (noQuinella ? PayoutGroup() : quinellaGroup(quinella2)).endLine(line);
    }
    if (!isZero(bracket2(Short::Number))) {
        line.field("*").empty(21);
        bracketGroup(bracket2).addTo(line);
        return quinellaGroup(quinella2).endLine(line);
    }
    return std::nullopt;
}

// ------------------------------------------------------------ S2.CSV

std::int64_t lap(const RecordFields &rec, std::size_t k)
{
    return storedNumber(rec(F::Lap, k + 1), "ラップタイム");
}

// The runner block whose finishing position is placing ("01", "02").
std::optional<RecordFields> runnerPlaced(const RecordFields &rec, std::string_view placing)
{
    const std::size_t n = runnerCount(rec);
    for (std::size_t i = 1; i <= n; ++i) {
        const RecordFields runner = rec.block(F::Runner, i);
        if (runner(R::Finish) == placing)
            return runner;
    }
    return std::nullopt;
}

// A finishing time "MSST" in tenths: the minutes digit times 600 plus the
// seconds and tenths.
std::int64_t timeTenths(std::string_view time)
{
    return storedNumber(bytesOf(time, 0, 1), "走破タイム") * 600 + storedNumber(bytesOf(time, 1), "走破タイム");
}

// 前3F on the flat: the first three laps; where the distance is not a
// multiple of 200 m the first lap is a half furlong, so half of the fourth
// (rounded half up) completes the 600 m. Tenths.
std::string early600(const RecordFields &rec)
{
    if (!formats::codes::isFlatTrack(rec(F::Track)) || rec(F::Track) == "10")
        return {};
    std::int64_t sum = lap(rec, 0) + lap(rec, 1) + lap(rec, 2);
    const std::int64_t distance = storedNumber(rec(F::Distance), "距離");
    if (!(distance >= 1000 && distance <= 5000 && distance % 200 == 0))
        sum += (lap(rec, 3) + 1) / 2;
    return std::to_string(sum);
}

// 後3F: the winner's last 600 m; a jump race stores it per furlong of the
// last three, so it counts three times. Without a stored value, the last
// three laps before the first zero lap (from the sixth lap on), with one
// decimal.
std::string last600(const RecordFields &rec, const RecordFields &winner)
{
    const std::string stored = winner(R::Last3F);
    if (!isBlank(stored) && stored != "000") {
        if (isJumpTrack(rec(F::Track)))
            return std::to_string(3 * storedNumber(stored, "後3ハロン"));
        return stored;
    }
    constexpr std::size_t kScanFrom = 5, kLaps = 18;
    std::size_t end = kScanFrom;
    while (end < kLaps && lap(rec, end) != 0)
        ++end;
    return std::to_string(lap(rec, end - 3) + lap(rec, end - 2) + lap(rec, end - 1)) + ".0";
}

std::string raceRow2(const RecordFields &rec, const LabelTables &labels)
{
    const auto winner = runnerPlaced(rec, "01");
    const auto second = runnerPlaced(rec, "02");
    CsvLine line;
    line.field(withoutLeadingZeros(rec(F::Key, K::RaceNo)));
    line.field(rec(F::Distance).substr(0, 2)).field(trackTypeText(rec(F::Track)));
    line.field(classText2(rec(F::Class, 5))).field(goingText(rec(F::Going)));
    line.field(withoutLeadingZeros(rec(F::Entries)));
    line.field(winner ? std::to_string(timeTenths((*winner)(R::Time))) : std::string());
    line.field(early600(rec));
    line.field(winner ? last600(rec, *winner) : std::string());
    line.field(winner ? circledNumber(labels, (*winner)(R::Corner, 4)) : std::string());
    line.field(second ? circledNumber(labels, (*second)(R::Corner, 4)) : std::string());
    return line.end();
}

} // namespace

void appendResultsCsv1(std::string_view resultsFile, const LabelTables &labels, std::string_view fileName,
                       std::string &out)
{
    static const std::string header = sj("日付,回,日目,場名,R№,距離,TD,条件,レース名,天,出頭,単勝,配当,複勝１,配当,人気,"
                                         "複勝２,配当,人気,複勝３,配当,人気,枠連,配当,人気,馬連,配当,人気,異常\r\n");
    const RecordFile file(std::string(resultsFile), formats::TResultRec::kLength);
    Meeting meeting;
    for (std::size_t n = 0; n < file.count(); ++n) {
        atRecord(fileName, n + 1, [&] {
            const RecordFields rec(file.record(n));
            std::string lines;
            if (rec(F::Key, K::RaceNo) == "01") {
                meeting = Meeting::of(rec);
                lines += sectionLine(rec) + header;
            }
            lines += raceRow1(rec, meeting, labels);
            if (auto deadHeat = deadHeatRow(rec))
                lines += *deadHeat;
            out += lines;
        });
    }
}

void appendResultsCsv2(std::string_view resultsFile, const LabelTables &labels, std::string_view fileName,
                       std::string &out)
{
    static const std::string header = sj("R№,距離,TD,条件,天,頭,TIME,前3F,後3F,４角,４角,\r\n");
    const RecordFile file(std::string(resultsFile), formats::TResultRec::kLength);
    for (std::size_t n = 0; n < file.count(); ++n) {
        atRecord(fileName, n + 1, [&] {
            const RecordFields rec(file.record(n));
            std::string lines = n == 0 ? sectionLine(rec) + header : std::string();
            out += lines + raceRow2(rec, labels);
        });
    }
}

} // namespace zorbe::csvexport
