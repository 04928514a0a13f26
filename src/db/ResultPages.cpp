#include "db/ResultPages.h"

#include "db/DbPage.h"
#include "db/ResultTexts.h"
#include "paper/PageTables.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"

#include <algorithm>
#include <vector>

namespace zorbe {
namespace {

namespace rt = resulttexts;
using dbpage::PageWriter;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGreen{0, 128, 0};

const PageRect kPageExtent{0, 0, 762, 420};

std::string resultsFace(const TResultsPageSettings &settings)
{
    return settings.font == "0" ? sj("ＭＳ 明朝") : sj("ＭＳ ゴシック");
}

// A number field; a blank one is 0.
int number(std::string_view text, std::string_view name)
{
    return static_cast<int>(toIntOrBlank(text, name, 0));
}

int raceCount(const TResults &r)
{
    return std::clamp(r.ResultCount, 0, TResults::kRaces);
}

// The circled digit of a position or popularity; "" outside 0 … 18.
std::string circled(const LabelTables &labels, std::string_view digits, std::string_view name)
{
    const int n = number(digits, name);
    return n >= 0 && n <= 18 ? labels.CircledNumberText[static_cast<std::size_t>(n)] : std::string();
}

std::string cornersText(const TResults &r, int q, int m, const LabelTables &labels)
{
    std::string text;
    for (int c = 1; c <= 4; ++c)
        text += circled(labels, r.ResCorner[q][m][c], "コーナー順位");
    return text;
}

// The colour of a figure: its own with Color "1", else black.
class Colours
{
public:
    explicit Colours(const TResultsPageSettings &s) : m_on(s.color == "1") {}
    Rgb operator()(Rgb colour) const { return m_on ? colour : kBlack; }

private:
    bool m_on;
};

// A text in a colour, the font black again afterwards.
void colouredText(PageWriter &pg, int x, int y, Rgb colour, const std::string &text)
{
    pg.canvas().setFontColour(colour);
    pg.text(x, y, text);
    pg.canvas().setFontColour(kBlack);
}

// The two title lines from the fields of race q; with no race, their words
// alone.
void drawTitle(PageWriter &pg, const TResults &r, int q, int dateX, int meetX, int y)
{
    std::string year, month, day, kai, venue, nichi;
    if (q >= 1) {
        year = r.ResultYear;
        const std::string &md = r.ResMonthDay[q];
        month = std::to_string(number(std::string_view(md).substr(0, 2), "月"));
        day = std::to_string(number(md.size() >= 4 ? std::string_view(md).substr(2, 2) : std::string_view(), "日"));
        kai = std::to_string(number(r.ResKai[q], "開催回"));
        venue = pagetables::venueName(r.ResVenue[q]);
        nichi = std::to_string(number(r.ResNichi[q], "開催日目"));
    }
    pg.text(dateX, y, year + sj("年") + " " + month + sj("月") + " " + day + sj("日"));
    pg.text(meetX, y, sj("第 ") + kai + sj("回") + " " + venue + " " + nichi + sj("日目"));
}

std::string raceLabel(const TResults &r, int q, const LabelTables &labels)
{
    const int no = number(r.ResRaceNo[q], "レース番号");
    const std::string label = no >= 1 && no <= 12 ? labels.RaceNumberText[static_cast<std::size_t>(no)] : std::string();
    return label + rt::kindText(r.ResKind[q]);
}

// Payout of a win, place or bracket-quinella entry (characters 3-9), of a
// quinella or wide entry (characters 5-12).
std::int64_t shortPayout(std::string_view entry)
{
    return toIntOrBlank(entry.substr(std::min<std::size_t>(2, entry.size()), 7), "払戻金", 0);
}
std::int64_t longPayout(std::string_view entry)
{
    return toIntOrBlank(entry.substr(std::min<std::size_t>(4, entry.size()), 8), "払戻金", 0);
}

} // namespace

int resultRunnerSlots(const TResults &r, int q)
{
    if (q < 1 || q > TResults::kRaces)
        return 0;
    const int entries = std::clamp(number(r.ResEntries[q], "登録頭数"), 0, TResults::kSlots);
    int m = 0;
    while (m < entries && !isBlank(r.ResHorseNo[q][m + 1]))
        ++m;
    return m;
}

std::string resultRaceButtonCaption(const TResults &r, int q)
{
    return std::to_string(number(r.ResRaceNo[q], "レース番号")) + "R";
}

TResultsSummary SummarizeResults(const TResults &r)
{
    TResultsSummary s;
    s.races = raceCount(r);
    for (int q = 1; q <= s.races; ++q) {
        const int slots = resultRunnerSlots(r, q);
        for (int m = 1; m <= slots; ++m) {
            const int place = number(r.ResFinish[q][m], "確定着順");
            if (place < 1 || place > 3)
                continue;
            const int popularity = number(r.ResPopularity[q][m], "単勝人気");
            if (popularity < 1)
                continue;
            if (popularity <= 3)
                ++s.favourite[static_cast<std::size_t>(popularity)][static_cast<std::size_t>(place)];
            ++s.popularity[static_cast<std::size_t>(place)][static_cast<std::size_t>(std::min(popularity, 6))];
        }
        std::int64_t quinella = 0;
        for (int e = 1; e <= 3; ++e) {
            s.winSum += shortPayout(r.ResWin[q][e]);
            s.bracketSum += shortPayout(r.ResBracketQ[q][e]);
            quinella += longPayout(r.ResQuinella[q][e]);
        }
        s.quinellaSum += quinella;
        if (quinella != 0)
            ++s.quinellaRaces;
    }
    return s;
}

namespace {

// One line of the summary: the race, its conditions and its winner.
void drawSummaryRace(PageWriter &pg, const TResults &r, int q, const LabelTables &labels, const Colours &colour)
{
    const int y = 5 * q + 48;
    pg.text(10, y, raceLabel(r, q, labels));
    const std::string &classCode = r.ResClass[q][5];
    // An unclassified race prints its name in the race-number column.
    pg.text(classCode == "000" ? 10 : 35, y, rt::summaryClassText(classCode, r.ResRaceName[q]));
    pg.text(58, y, rt::summaryTrackText(r.ResTrack[q]));
    const std::string &track = r.ResTrack[q];
    if (rt::isJumpRace(r.ResKind[q]) && track.size() == 2 && track >= "51" && track <= "59")
        pg.text(classCode == "999" ? 35 : 50, y, sj("障害"));
    pg.text(62, y, r.ResDistance[q]);
    pg.text(70, y, rt::goingText(r.ResGoing[q]));

    const int entries = number(r.ResEntries[q], "登録頭数");
    const int slots = resultRunnerSlots(r, q);
    std::string secondMargin;
    for (int m = 1; m <= slots; ++m) {
        const std::string &finish = r.ResFinish[q][m];
        if (finish == "02")
            secondMargin = rt::summaryMarginText(r.ResMarginCode[q][m]);
        if (finish != "01")
            continue;
        const std::string &name = r.ResHorseName[q][m];
        pg.text(74, y, dbpage::allWideBlanks(name) || isBlank(name) ? r.ResHorseId[q][m] : name);
        pg.text(108, y, rt::sexText(r.ResSex[q][m]));
        const int birthYear = number(std::string_view(r.ResHorseId[q][m]).substr(0, 4), "血統登録番号");
        pg.text(112, y, std::to_string(number(r.ResultYear, "年") - birthYear));
        pg.text(114, y, r.ResJockeyName[q][m]);
        pg.text(128, y, dbpage::tenthsText(number(r.ResWeight[q][m], "負担重量")));
        pg.canvas().setFontSize(11);
        colouredText(pg, 136, y, colour(kBlue), circled(labels, r.ResPopularity[q][m], "単勝人気"));
        pg.canvas().setFontSize(10);
        colouredText(pg, 146, y, colour(kRed), rt::timeText(r.ResTime[q][m]));
        pg.text(186, y, dbpage::tenthsText(number(r.ResLast3F[q][m], "後3ハロン")));
        pg.text(141, y, (entries < 10 ? " " : "") + std::to_string(entries));
        pg.text(170, y, cornersText(r, q, m, labels));
        pg.text(194, y, rt::weatherText(r.ResWeather[q]));
    }
    // With a dead heat for second the last of them is the one shown.
    if (!secondMargin.empty())
        colouredText(pg, 158, y, colour(kGreen), secondMargin);
}

// A rate of the favourites' table: one decimal and "%", a blank before a
// rate below 10.
std::string favouriteRate(std::int64_t part, int races)
{
    const std::int64_t tenths = dbpage::rateTenths(part, races);
    return (tenths < 100 ? " " : "") + dbpage::rateText(tenths);
}

// A payout average rounded to whole yen, with thousands separators.
std::string averageText(std::int64_t sum, int count)
{
    return dbpage::groupedNumber((2 * sum + count) / (2 * static_cast<std::int64_t>(count))) + sj("円");
}

void drawStatistics(PageWriter &pg, const TResultsSummary &s)
{
    static const char *const kFavourites[] = {"一番人気", "二番人気", "三番人気"};
    static const char *const kPlaces[] = {"一着馬", "二着馬", "三着馬"};
    pg.text(29, 125, sj("単勝率"));
    pg.text(43, 125, sj("連対率"));
    pg.text(56, 125, sj("連対数"));
    pg.text(69, 125, sj("複勝率"));
    pg.text(82, 125, sj("複勝数"));
    pg.text(106, 125, sj("人  気 １人 ２人 ３人 ４人 ５人 ６人以下"));
    for (int p = 1; p <= 3; ++p) {
        const int y = 125 + 5 * p;
        pg.text(13, y, sj(kFavourites[p - 1]));
        pg.text(106, y, sj(kPlaces[p - 1]));
        if (s.races == 0)
            continue;
        const auto &f = s.favourite[static_cast<std::size_t>(p)];
        const int won = f[1], top2 = f[1] + f[2], top3 = f[1] + f[2] + f[3];
        const std::string perRaces = "/" + std::to_string(s.races) + "R";
        pg.text(30, y, favouriteRate(won, s.races));
        pg.text(44, y, favouriteRate(top2, s.races));
        pg.text(58, y, std::to_string(top2) + perRaces);
        pg.text(70, y, favouriteRate(top3, s.races));
        pg.text(84, y, std::to_string(top3) + perRaces);
        static constexpr int kColumns[] = {121, 130, 139, 148, 157, 168};
        for (int c = 1; c <= 6; ++c)
            pg.text(kColumns[c - 1], y,
                    std::to_string(s.popularity[static_cast<std::size_t>(p)][static_cast<std::size_t>(c)]));
    }

    pg.text(13, 147, sj("平均配当"));
    pg.text(30, 147, sj("単勝"));
    pg.text(60, 147, sj("枠連"));
    pg.text(90, 147, sj("馬連"));
    if (s.races > 0) {
        pg.text(40, 147, averageText(s.winSum, s.races));
        pg.text(70, 147, averageText(s.bracketSum, s.races));
    }
    if (s.quinellaRaces > 0)
        pg.text(100, 147, averageText(s.quinellaSum, s.quinellaRaces));
}

} // namespace

void DrawResultsSummary(const TPageContext &ctx, const TResults &r, const LabelTables &labels,
                        const TResultsPageSettings &settings)
{
    PageWriter pg(ctx);
    pg.whiten(kPageExtent);
    const std::string face = resultsFace(settings);
    const int races = raceCount(r);
    pg.selectFont(face, 12, true);
    drawTitle(pg, r, races > 0 ? 1 : 0, 25, 70, 41);

    pg.selectFont(face, 10, false);
    static const std::pair<int, const char *> kHeadings[] = {
        {11, "ﾚｰｽNo"}, {29, "クラス"}, {60, "距  離"}, {76, "馬        名"}, {105, "性齢"},
        {116, "騎  手"}, {128, "斤量"}, {136, "人"}, {141, "頭"}, {147, "タイム"},
        {158, "着  差"}, {170, "通過順位"}, {186, "３Ｆ"}, {194, "天候"}};
    for (const auto &[x, heading] : kHeadings)
        pg.text(x, 47, sj(heading));

    const Colours colour(settings);
    for (int q = 1; q <= races; ++q)
        drawSummaryRace(pg, r, q, labels, colour);
    drawStatistics(pg, SummarizeResults(r));
}

namespace {

// A runner of the race page in the order its lines come.
struct PageRunner
{
    int slot = 0;
    int place = 0;   // 0: no finishing position
};

std::vector<PageRunner> runnersInFinishingOrder(const TResults &r, int q)
{
    std::vector<PageRunner> runners;
    const int slots = resultRunnerSlots(r, q);
    for (int m = 1; m <= slots; ++m)
        runners.push_back({m, number(r.ResFinish[q][m], "確定着順")});
    // Placed runners by their position (a dead heat on consecutive lines,
    // in file order), then the runners without a position as read.
    std::stable_sort(runners.begin(), runners.end(), [](const PageRunner &a, const PageRunner &b) {
        if ((a.place > 0) != (b.place > 0))
            return a.place > 0;
        return a.place > 0 && a.place < b.place;
    });
    return runners;
}

std::string padded(std::string text, std::size_t width)
{
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

// Finishing position, bracket and horse number under "着順 枠 馬"; a
// disqualified runner's arrival order and "着 失格 " instead.
std::string positionText(const TResults &r, int q, int m, int place)
{
    if (r.ResAbnormal[q][m] == "5") {
        const int arrival = place > 0 ? place : number(r.ResPostOrder[q][m], "入線順位");
        return padded(arrival > 0 ? std::to_string(arrival) : std::string(), 3) + sj("着 失格 ");
    }
    const std::string position = place > 0 ? std::to_string(place) : std::string();
    const std::string horse = std::to_string(number(r.ResHorseNo[q][m], "馬番"));
    return padded(position, 3) + "   " + r.ResBracket[q][m] + padded(horse, 3);
}

// Body weight and its change, narrow enough for the column: "480+4",
// "452-10", "470 0".
std::string bodyWeightText(std::string_view weight, std::string_view change)
{
    const int kg = number(weight, "馬体重");
    if (kg <= 0)
        return {};
    const char sign = change.empty() ? ' ' : change[0];
    const int delta = number(change.size() > 1 ? change.substr(1) : std::string_view(), "増減");
    const std::string deltaText = delta == 0 ? " 0" : std::string(sign == '-' ? "-" : "+") + std::to_string(delta);
    return std::to_string(kg) + deltaText;
}

void drawRunnerLine(PageWriter &pg, const TResults &r, int q, const PageRunner &runner, int y,
                    const LabelTables &labels, const Colours &colour)
{
    const int m = runner.slot;
    pg.text(10, y, positionText(r, q, m, runner.place));
    const std::string &name = r.ResHorseName[q][m];
    pg.text(30, y, dbpage::allWideBlanks(name) || isBlank(name) ? r.ResHorseId[q][m] : name);
    const int birthYear = number(std::string_view(r.ResHorseId[q][m]).substr(0, 4), "血統登録番号");
    pg.text(63, y, rt::sexText(r.ResSex[q][m]) + std::to_string(number(r.ResultYear, "年") - birthYear));
    pg.text(72, y, rt::tenthsField(r.ResWeight[q][m], "負担重量"));
    pg.text(81, y, r.ResJockeyName[q][m]);
    const std::string time = rt::timeText(r.ResTime[q][m]);
    colouredText(pg, 97, y, colour(kRed), time.empty() ? std::string("------") : time);
    pg.text(109, y, cornersText(r, q, m, labels));
    pg.text(127, y, rt::tenthsField(r.ResLast3F[q][m], "後3ハロン"));
    colouredText(pg, 136, y, colour(kBlue), circled(labels, r.ResPopularity[q][m], "単勝人気"));
    colouredText(pg, 142, y, colour(kGreen), rt::raceMarginText(r.ResMarginCode[q][m]));
    if (r.ResAbnormal[q][m] == "1")
        pg.text(140, y, sj("出走取消"));
    pg.text(154, y, bodyWeightText(r.ResBodyWeight[q][m], r.ResBodyChange[q][m]));
    pg.text(164, y, r.ResTrainerName[q][m]);
}

// Means in tenths, rounded to the nearest tenth; nothing without values.
struct Mean
{
    long long sum = 0;
    long long count = 0;
    void add(long long v)
    {
        if (v > 0)
            sum += v, ++count;
    }
    bool empty() const { return count == 0; }
    long long value() const { return (2 * sum + count) / (2 * count); }
};

void drawTimeStatistics(PageWriter &pg, const TResults &r, int q, const std::vector<PageRunner> &runners)
{
    pg.text(178, 45, dbpage::withoutTrailingBlanks(r.ResRecordHorse[q]));
    pg.text(178, 50, sj("Ｒタイム"));
    pg.text(178, 55, rt::timeText(r.ResRecordTime[q]));

    Mean time, best5Time, last3F, best5Last3F;
    for (const PageRunner &runner : runners) {
        const long long t = rt::timeTenths(r.ResTime[q][runner.slot]);
        const long long f = number(r.ResLast3F[q][runner.slot], "後3ハロン");
        time.add(t);
        last3F.add(f);
        if (runner.place >= 1 && runner.place <= 5) {
            best5Time.add(t);
            best5Last3F.add(f);
        }
    }
    const auto timeValue = [](const Mean &m) { return m.empty() ? std::string() : rt::tenthsTimeText(m.value()); };
    const auto secondsValue = [](const Mean &m) { return m.empty() ? std::string() : dbpage::tenthsText(m.value()); };
    pg.text(178, 60, sj("平均タイム"));
    pg.text(178, 65, timeValue(time));
    pg.text(178, 70, "BEST5TIME");
    pg.text(178, 75, timeValue(best5Time));
    pg.text(178, 80, sj("平均３Ｆ"));
    pg.text(178, 85, secondsValue(last3F));
    pg.text(178, 90, sj("BEST5３Ｆ"));
    pg.text(178, 95, secondsValue(best5Last3F));
}

void drawLaps(PageWriter &pg, const TResults &r, int q)
{
    pg.text(56, 130, sj("ＬＡＰ:"));
    std::vector<long long> laps;
    for (int k = 1; k <= 25; ++k) {
        const long long lap = number(r.ResLap[q][k], "ラップタイム");
        if (lap > 0) {
            pg.text(69 + 10 * (k - 1), 130, dbpage::tenthsText(lap));
            laps.push_back(lap);
        }
    }
    if (laps.empty())
        return;
    const auto firstSum = [&](std::size_t n) {
        long long sum = 0;
        for (std::size_t i = 0; i < n && i < laps.size(); ++i)
            sum += laps[i];
        return dbpage::tenthsText(sum);
    };
    const auto lastSum = [&](std::size_t n) {
        long long sum = 0;
        for (std::size_t i = 0; i < n && i < laps.size(); ++i)
            sum += laps[laps.size() - 1 - i];
        return dbpage::tenthsText(sum);
    };
    pg.text(56, 135,
            sj("前半３Ｆ ") + firstSum(3) + sj(" ４Ｆ ") + firstSum(4) + sj(" ５Ｆ ") + firstSum(5) + "  " +
                sj("後半５Ｆ ") + lastSum(5) + sj(" ４Ｆ ") + lastSum(4) + sj(" ３Ｆ ") + lastSum(3));
}

// "1-8" from a bracket pair "18", "3-13" from a horse pair "0313".
std::string combinationText(std::string_view pair)
{
    const std::size_t half = pair.size() / 2;
    return std::to_string(number(pair.substr(0, half), "組番")) + "-" +
           std::to_string(number(pair.substr(half), "組番"));
}

// The sold entries of a payout group in file order, each its combination,
// payout and (where the group keeps it) popularity.
std::string payoutEntries(const auto &entries, int count, std::size_t numberWidth, std::size_t payoutWidth,
                          bool pair, bool popularity)
{
    std::string text;
    for (int e = 1; e <= count; ++e) {
        const std::string_view entry = entries[static_cast<std::size_t>(e)];
        const std::int64_t payout =
            toIntOrBlank(entry.substr(std::min(numberWidth, entry.size()), payoutWidth), "払戻金", 0);
        if (payout == 0)
            continue;
        const std::string_view combination = entry.substr(0, numberWidth);
        if (!text.empty())
            text += " ";
        text += pair ? combinationText(combination) : std::to_string(number(combination, "馬番"));
        text += " " + std::to_string(payout) + sj("円");
        if (popularity) {
            const std::string_view rank = entry.substr(std::min(numberWidth + payoutWidth, entry.size()));
            text += " " + std::to_string(number(rank, "人気")) + sj("人気");
        }
    }
    return text;
}

void drawPayouts(PageWriter &pg, const TResults &r, int q)
{
    pg.text(10, 140,
            sj("払戻金　単勝　") + payoutEntries(r.ResWin[q], 3, 2, 7, false, false) + sj("　複勝　") +
                payoutEntries(r.ResPlace[q], 5, 2, 7, false, false));
    pg.text(10, 145,
            sj("枠連 ") + payoutEntries(r.ResBracketQ[q], 3, 2, 7, true, true) + sj("　馬連 ") +
                payoutEntries(r.ResQuinella[q], 3, 4, 8, true, true));
    pg.text(10, 150, sj("ワイド ") + payoutEntries(r.ResWide[q], 7, 4, 8, true, true));
}

} // namespace

void DrawRaceResult(const TPageContext &ctx, const TResults &r, int q, const LabelTables &labels,
                    const TResultsPageSettings &settings)
{
    PageWriter pg(ctx);
    pg.whiten(kPageExtent);
    if (q < 1 || q > raceCount(r))
        return;
    const std::string face = resultsFace(settings);
    pg.selectFont(face, 12, true);
    drawTitle(pg, r, q, 40, 80, 40);

    pg.selectFont(face, 10, false);
    pg.text(10, 45, raceLabel(r, q, labels));
    const std::string &classCode = r.ResClass[q][5];
    pg.text(45, 45, rt::raceClassText(classCode, r.ResRaceName[q], r.ResKind[q]));
    if (classCode == "999")
        pg.text(115, 45, rt::gradeText(r.ResGrade[q]));
    pg.text(135, 45, rt::raceTrackText(r.ResTrack[q]));
    pg.text(150, 45, r.ResDistance[q]);
    pg.text(170, 45, rt::goingText(r.ResGoing[q]));

    static const std::pair<int, const char *> kHeadings[] = {
        {12, "着順 枠 馬"}, {35, "馬　　　名"}, {63, "性齢"}, {72, "斤量"}, {83, "騎 手"}, {97, "タイム"},
        {111, "通過順"}, {127, "３Ｆ"}, {136, "人"}, {142, "着　差"}, {153, "体重"}, {163, "管理厩舎"}};
    for (const auto &[x, heading] : kHeadings)
        pg.text(x, 50, sj(heading));

    const Colours colour(settings);
    const std::vector<PageRunner> runners = runnersInFinishingOrder(r, q);
    for (std::size_t line = 0; line < runners.size(); ++line)
        drawRunnerLine(pg, r, q, runners[line], 50 + 4 * static_cast<int>(line + 1), labels, colour);

    drawTimeStatistics(pg, r, q, runners);
    drawLaps(pg, r, q);
    drawPayouts(pg, r, q);
}

TPageContext DrawResultsScreen(PageCanvas &canvas, const TResults &results, int race, const LabelTables &labels,
                               const TResultsPageSettings &settings, int screenPpi)
{
    if (race <= 0) {
        const TPageContext ctx{canvas, kSummaryOriginX, kSummaryOriginY, screenPpi};
        DrawResultsSummary(ctx, results, labels, settings);
        return ctx;
    }
    const TPageContext ctx{canvas, kRaceResultOriginX, kRaceResultOriginY, screenPpi};
    DrawRaceResult(ctx, results, race, labels, settings);
    return ctx;
}

} // namespace zorbe
