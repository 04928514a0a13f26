#include "paper/HorizontalPage.h"

#include "paper/LayoutSupport.h"
#include "paper/PageModel.h"
#include "paper/PagePaths.h"
#include "paper/PageTables.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"

namespace zorbe {
namespace {

namespace pt = pagetables;
using namespace layout;

constexpr int kPastCells = 5;   // the horizontal page always shows five past races
constexpr int kRight = 243;     // right border
constexpr int kWidth = 250;     // what the page whitens across

// The y offsets of a band item count from the page top for the first
// runner; band k lies 15 mm further down per runner.
int band(int k)
{
    return 15 * k;
}

class Page : public PageWriter
{
public:
    Page(const TPageContext &ctx, const TNewspaper &paper) : PageWriter(ctx, paper)
    {
        n = spanRunners(span.start, span.end);
    }

    int horse(int k) const { return span.start + k; }
    int race() const { return span.race; }
    std::size_t r() const { return static_cast<std::size_t>(span.race); }
    int bottom() const { return 27 + 15 * n; }

    int n = 0;
};

// ---------------------------------------------------------------------------
// Header

std::string startTimeText(const std::string &stored, int &x)
{
    x = 0;
    if (isBlank(stored) || stored.size() < 4)
        return {};
    const int hour = static_cast<int>(toInt(stored.substr(0, 2), "発走時刻"));
    if (hour > 9)
        x = -1;
    return std::to_string(hour) + sj(" ：") + stored.substr(2, 2);
}

void drawHeader(const Page &pg)
{
    const TRaceCard &c = pg.card;
    const std::size_t r = pg.r();
    const std::string &caption = pg.paper.RaceCaption[r];
    const int track = number(c.RaceTrack[r], "トラック");
    const RaceSurface surface = surfaceOf(track);
    const int reduce = pg.p.fontReduce;

    pg.V(10 - reduce);
    pg.text(17, 5, pt::venueName(c.RaceVenue[r]));
    pg.V(8 - reduce);
    pg.text(131, 4, sj("賞　金"));
    pg.V(7);
    pg.text(2, 15, sj("馬番枠番"));
    pg.text(7, 15, sj("タイム"));
    pg.text(10, 15, sj("虎の穴"));
    pg.text(13, 15, sj("本　 紙"));
    pg.text(18, 15, sj("騎　 手"));
    pg.text(21, 15, sj("調教師"));
    pg.V(6);
    pg.text(68, 18,
            surface == RaceSurface::Dirt   ? sj("ダ　 重")
            : surface == RaceSurface::Jump ? sj("全障害")
                                           : sj("芝　 重"));
    const bool dirtRows = surface == RaceSurface::Dirt || (surface == RaceSurface::Jump && track == 52);
    pg.text(71, 18, dirtRows ? sj("右 　ダ") : sj("右 　芝"));
    pg.text(74, 18, dirtRows ? sj("左 　ダ") : sj("左 　芝"));
    pg.text(77, 18, sj("全成績"));
    pg.text(81, 18, sj("千六下"));
    pg.text(84, 18, sj("二二下"));
    pg.text(87, 18, sj("二二上"));

    pg.H(18, true);
    const int raceNo = number(c.RaceNo[r], "レース番号");
    if (raceNo >= 1 && raceNo <= 12)
        pg.text(18, 5, pg.paper.RaceNumberWide[static_cast<std::size_t>(raceNo)]);
    pg.H(13 - reduce, true);
    pg.text(29, 4, bandRaceName(pg.paper, pg.race()));
    pg.H(10, true);
    pg.text(112, 4, bytesOf(caption, 42, 4));
    pg.H(6, true);
    pg.text(122, 4, sj("メー"));
    pg.text(122, 7, sj("トル"));
    pg.H(8);
    pg.text(1, 5, sj("発走"));
    int timeX = 0;
    const std::string start = startTimeText(c.RaceStartTime[r], timeX);
    pg.H(8, true);
    pg.text(timeX, 9, start);

    pg.H(8);
    pg.text(112, 8, bytesOf(caption, 34, 6) + firstChars(c.RaceCourse[r], 1));
    if (const std::string rule = pt::horizontalWeightRuleText(c.RaceWeightRule[r]); !rule.empty())
        pg.text(29, 10,
                sj("（") + bytesOf(caption, 12, 21) + " " + pt::conditionSymbolText(c.RaceSymbol[r]) + rule);
    pg.text(60, 0, courseRecordLine(c, pg.race()));
    pg.text(5, 0, meetingLine(c));
    drawPrizes(pg, pg.race(), 133, 154, 4);

    pg.H(6);
    pg.text(23, 15, sj("父"));
    pg.text(23, 18, sj("馬記号　　馬      名"));
    pg.text(23, 21, sj("母"));
    pg.text(23, 24, sj("母の父"));
    pg.text(43, 15, sj("馬主名  　性齢"));
    pg.text(43, 21, sj("生月日 毛色 所属"));
    pg.text(43, 24, sj("生産者　取得賞金"));
    pg.text(5, 24, sj(" 脚  質"));
    pg.text(67, 15, sj("競争成績"));
    pg.text(80, 15, sj("距　離"));
    pg.text(15, 24, sj("重量"));
    pg.H(7 - reduce);
    static const char *const kLabels[] = {"五　走　前", "四　走　前", "三　走　前", "前　々　走", "前　　　走"};
    for (int i = 0; i < kPastCells; ++i)
        pg.text(99 + 30 * i, 24, sj(kLabels[i]));
    pg.H(6);
    pg.text(89, 15, sj("一行目＝開催日、条件、頭数、着順。二行目＝距離，タイム、騎手、斤量"));
    pg.text(89, 18, sj("三行目＝勝馬又は２着馬及びタイム差、上がり 3F タイム、クラス。"));
    pg.text(89, 21, sj("四行目＝馬体重、コース通過順位、枠順、人気、Ｔ指数、馬場状態。"));
    pg.text(174, 20, sj("ゾルベDataLab Ver2.11　") + pt::authorCredit());
}

// ---------------------------------------------------------------------------
// Runner bands

// A jockey's or trainer's 8-byte short name in its column: three
// characters, or family and given name apart when the name has two.
std::string shortName(std::string_view name)
{
    if (bytesOf(name, 5, 2) == kFullSpace)
        return bytesOf(name, 1, 2) + std::string(kFullSpace) + bytesOf(name, 3, 2);
    return bytesOf(name, 1, 6);
}

// A pedigree name: 16 bytes, or 26 for a name in full-width capitals.
std::string pedigreeName(std::string_view name)
{
    return bytesOf(name, 1, startsWithFullWidthCapital(name) ? 26 : 16);
}

void drawTrainerCentre(const Page &pg, int k, const TMasterEntry *trainer)
{
    const int y = band(k) + 36;
    if (trainer && trainer->Region == "1") {
        pg.text(57, y, sj("(美浦)"));
        return;
    }
    if (trainer && trainer->Region == "2") {
        pg.text(57, y, sj("(栗東)"));
        return;
    }
    // Trainers of other centres show where the horse was invited from.
    const std::string &region = pg.card.HorseInviteRegion[static_cast<std::size_t>(pg.horse(k))];
    const std::string two = firstChars(region, 2);
    const std::string three = firstChars(region, 3);
    if (trainer && three.substr(two.size()) != kFullSpace)
        pg.text(56, y, "(" + three + ")");
    else
        pg.text(57, y, "(" + two + ")");
}

// One count of a record in two places.
std::string countText(int count)
{
    return (count >= 0 && count < 10 ? " " : "") + std::to_string(count);
}

void drawRecordColumn(const Page &pg, int k, int x, const Record &record)
{
    static constexpr int kLines[] = {28, 31, 34, 38};
    for (std::size_t i = 0; i < 4; ++i)
        pg.text(x, band(k) + kLines[i], countText(record[i]));
}

void drawBand(const Page &pg, int k)
{
    const TRaceCard &c = pg.card;
    const std::size_t r = pg.r();
    const std::size_t j = static_cast<std::size_t>(k + 1);
    const int h = pg.horse(k);
    const std::size_t hh = static_cast<std::size_t>(h);
    const int y = band(k);
    const int track = number(c.RaceTrack[r], "トラック");
    const RaceSurface surface = surfaceOf(track);
    const TMasterEntry *trainer = findMaster(pg.paper.masters.TrainerTable, c.EntryTrainerCode[r][j]);

    pg.V(7);
    pg.text(25, y + 31, pt::horseMarkPrefix(c.HorseMark[hh]));
    pg.text(18, y + 30, shortName(c.EntryJockeyName[r][j]));
    pg.text(21, y + 30, shortName(c.EntryTrainerName[r][j]));
    pg.text(4, y + 31, travellingMark(trainer, number(c.RaceVenue[r], "開催場")));

    pg.H(6);
    drawTrainerCentre(pg, k, trainer);
    const bool marked = number(c.HorseMark[hh], "馬記号") != 0;
    pg.H(11 - pg.p.fontReduce, true);
    pg.text(marked ? 25 : 23, y + 31, bytesOf(c.HorseName[hh], 1, 18));

    pg.H(6);
    pg.text(23, y + 28, pedigreeName(c.HorseSire[hh]));
    pg.text(23, y + 36, pedigreeName(c.HorseDam[hh]));
    pg.text(23, y + 39, pedigreeName(c.HorseDamSire[hh]));
    pg.text(43, y + 28, pt::horizontalOwnerText(c.HorseOwner[hh]));
    const std::string &breeder = c.HorseBreeder[hh];
    pg.text(43, y + 39, bytesOf(breeder, 1, startsWithFullWidthCapital(breeder) ? 18 : 10));

    const std::string &birth = c.HorseBirthDate[hh];
    const int age = number(c.MeetYear, "開催年") - number(bytesOf(birth, 1, 4), "生年月日");
    pg.text(59, y + 28, pt::sexText(c.HorseSex[hh]));
    pg.text(62, y + 28, pt::bandAgeWord(age));
    pg.text(43, y + 36,
            std::to_string(number(bytesOf(birth, 5, 2), "生年月日")) + " . " +
                std::to_string(number(bytesOf(birth, 7, 2), "生年月日")));
    pg.text(51, y + 36, pt::coatColourWord(c.HorseColour[hh]));

    if (surface == RaceSurface::Jump)
        pg.text(5, y + 28, shortestDecimal(number(c.HorsePrizeEarned[hh][2], "取得賞金") / 10.0));
    else
        pg.text(4, y + 28, shortestDecimal(number(c.HorsePrizeEarned[hh][1], "取得賞金") / 10.0));
    pg.text(58, y + 39, fixedDecimal(number(c.HorsePrizeMain[hh], "本賞金") / 10.0, 0));
    pg.text(4, y + 39, runningStyle(c, h));
    pg.text(16, y + 39, fixedDecimal(number(c.EntryWeight[r][j], "負担重量") / 10.0, 1));
    pg.text(15, y + 28, pt::apprenticeMark(c.EntryApprentice[r][j]));
    if (c.EntryBlinker[r][j] == "1")
        pg.text(11, y + 39, sj("Ｂ"));
    pg.text(4, y + 36, oddsText(pg.paper, pg.race(), k + 1));

    // The surface records of the race's going and hands, then the overall
    // and the distance records.
    if (surface == RaceSurface::Jump)
        drawRecordColumn(pg, k, 66, recordOf(c, h, {6}));
    else if (surface == RaceSurface::Dirt)
        drawRecordColumn(pg, k, 66, recordOf(c, h, {13, 14}));
    else
        drawRecordColumn(pg, k, 66, recordOf(c, h, {9, 10}));
    const bool dirtRows = surface == RaceSurface::Dirt || (surface == RaceSurface::Jump && track == 52);
    drawRecordColumn(pg, k, 69, recordOf(c, h, {dirtRows ? 4 : 2}));
    drawRecordColumn(pg, k, 72, recordOf(c, h, {dirtRows ? 5 : 3}));
    drawRecordColumn(pg, k, 75, recordOf(c, h, {1}));
    drawRecordColumn(pg, k, 79, recordOf(c, h, {19, 22}));
    drawRecordColumn(pg, k, 82, recordOf(c, h, {20, 23}));
    drawRecordColumn(pg, k, 85, recordOf(c, h, {21, 24}));
}

// ---------------------------------------------------------------------------
// Past-race cells

// Two-digit numbers stand one millimetre further left.
int byDigits(int value, int twoDigitX)
{
    return value >= 10 ? twoDigitX : twoDigitX + 1;
}

void drawFinish(const Page &pg, int x, int y, int finish)
{
    Rgb colour = kBlack;
    if (pg.paper.settings.color == "1") {
        if (finish <= 2)
            colour = {255, 0, 0};
        else if (finish <= 5)
            colour = pg.p.blueBracket;
    }
    pg.H(9, true);
    pg.colour(colour);
    pg.text(finish >= 10 ? x : x + 2, y, std::to_string(finish));
    pg.colour(kBlack);
}

void drawPastCell(const Page &pg, int runner, int cell, int restMonths)
{
    const TRaceCard &c = pg.card;
    const int horse = pg.horse(runner);
    const int past = cell + 1;
    const std::size_t h = static_cast<std::size_t>(horse);
    const std::size_t k = static_cast<std::size_t>(past);
    if (!hasPastDate(c, horse, past))
        return;
    const int y = band(runner);
    const int x = 213 - 31 * cell;   // the cell's left text edge
    auto at = [&](int cellX) { return cellX - 213 + x; };

    pg.H(pg.p.pastFont);
    // Line 1: meeting, venue and date; class; field size.
    const std::string &md = c.PastMonthDay[h][k];
    const int month = number(bytesOf(md, 1, 2), "前走月日");
    const std::string date = std::to_string(month) + "." + std::to_string(number(bytesOf(md, 3, 2), "前走月日"));
    const std::string venue = pt::pastVenueAbbrev(c.PastVenue[h][k]);
    const std::string &kai = c.PastKai[h][k];
    if (!isBlank(kai) && kai != "00")
        pg.text(x, y + 28, std::to_string(number(kai, "前走開催回")) + " " + venue + " " + date);
    else if (month != 0)
        pg.text(x, y + 28, " " + venue + " " + date);
    const pt::PastClass cls = pt::horizontalPastClass(
        {c.PastClass[h][k], c.PastSymbol[h][k], c.PastRaceName[h][k], c.PastGrade[h][k], c.PastConditionName[h][k]});
    pg.text(at(isBlank(c.PastClass[h][k]) ? 226 : 225), y + 28, cls.text);
    if (const int field = number(c.PastRegistered[h][k], "頭数"); field != 0)
        pg.text(at(234), y + 28, std::to_string(field) + sj("ﾄ"));

    // Line 2: distance, surface, jockey, weight, then the time or the
    // finish state: where a narrow print brings the time and the jockey
    // together, the time's cell covers the edge of the name, not the
    // time's last digit.
    pg.text(x, y + 31, bytesOf(c.PastDistance[h][k], 1, 2));
    pg.text(at(216), y + 31, pt::pastSurfaceWord(c.PastTrack[h][k]));
    pg.text(at(228), y + 31, pt::pastJockeyText(c.PastJockeyName[h][k]));
    pg.text(at(237), y + 31, bytesOf(c.PastWeight[h][k], 1, 2));
    if (c.PastBlinker[h][k] == "1")
        pg.text(at(240), y + 31, "B");
    const std::string &time = c.PastTime[h][k];
    if (number(time, "走破タイム") != 0)
        pg.text(at(222), y + 31, time);
    pg.text(at(221), y + 31, pt::finishStateText(c.PastAbnormal[h][k], c.PastArrival[h][k]));

    // Line 3: the winner (or second) or the rest before today's race,
    // margin and last three furlongs, class suffix. The margin and the
    // furlongs are one text, in the order the cell legend reads: drawn
    // apart, 3 mm from each other, the later one's cell would blank out
    // the end of the earlier.
    if (cell == 0 && restMonths >= 3)
        pg.text(x, y + 34, " " + std::to_string(restMonths) + sj(" ヵ月休  "));
    else
        pg.text(x, y + 34, bytesOf(c.PastRivalName[h][k], 1, 12));
    std::string timing;
    if (!isBlank(c.PastTimeDiff[h][k]))
        timing = timeDiffText(c.PastTimeDiff[h][k]);
    if (const int last3F = last3FTenths(c, horse, past); last3F != 0)
        timing += (timing.empty() ? "" : " ") + fixedDecimal(last3F / 10.0, 1);
    pg.text(at(228), y + 34, timing);
    pg.text(at(238), y + 34, cls.suffix);

    // Line 4: body weight, corners, horse number, popularity, time index
    // with the going.
    if (const int body = number(c.PastBodyWeight[h][k], "馬体重"); body != 0)
        pg.text(x, y + 37, std::to_string(body));
    const std::string &fourth = c.PastCorner[h][k][4];
    if (!isBlank(fourth) && fourth != "00") {
        std::string corners;
        for (std::size_t corner = 2; corner <= 4; ++corner) {
            const int pos = number(c.PastCorner[h][k][corner], "通過順");
            corners += pos >= 1 && pos <= 18 ? pg.paper.labels.CircledNumberText[static_cast<std::size_t>(pos)]
                                             : std::string("  ");
        }
        pg.text(at(218), y + 37, corners);
    }
    if (const int horseNo = number(c.PastHorseNo[h][k], "馬番"); horseNo != 0)
        pg.text(at(byDigits(horseNo, 226)), y + 37, std::to_string(horseNo) + sj("ｹﾞ"));
    if (const int popularity = number(c.PastPopularity[h][k], "人気"); popularity != 0)
        pg.text(at(byDigits(popularity, 231)), y + 37, std::to_string(popularity) + sj("人"));
    if (const std::string going = pt::goingText(c.PastGoing[h][k]); !going.empty()) {
        // A race the horse did not finish has no time, and no index: the
        // standard time alone would read as an index of several hundred.
        const int index = number(time, "走破タイム") != 0 ? timeIndex(c, horse, past) : 0;
        if (index > 0)
            pg.text(at(236), y + 37, std::to_string(index) + going);
        else
            pg.text(at(237), y + 37, "- " + going);
    }

    if (const int finish = number(c.PastFinish[h][k], "着順"); finish != 0)
        drawFinish(pg, at(238), y + 27, finish);
}

// The rule between two consecutive past races three months or more apart,
// on the boundary of the older cell and the newer one to its right.
void drawRestRules(const Page &pg, int runner)
{
    const TRaceCard &c = pg.card;
    const std::size_t h = static_cast<std::size_t>(pg.horse(runner));
    for (int cell = 1; cell < kPastCells; ++cell) {
        const std::size_t newer = static_cast<std::size_t>(cell);
        const std::size_t older = newer + 1;
        const int months = RestInterval(c.PastYear[h][newer], bytesOf(c.PastMonthDay[h][newer], 1, 2),
                                        c.PastYear[h][older], c.PastMonthDay[h][older]);
        if (months < 3)
            continue;
        pg.pen(pg.p.rulePen);
        pg.down(kRight - 31 * cell, band(runner) + 27, band(runner) + 42);
    }
}

void drawTimeCorrectionMeans(const Page &pg)
{
    const RaceSurface surface = surfaceOf(number(pg.card.RaceTrack[pg.r()], "トラック"));
    if (pg.paper.settings.hosei != "1" || (surface != RaceSurface::Turf && surface != RaceSurface::Dirt))
        return;
    const TRunnerFigures &f = pg.paper.figures;
    auto draw = [&](int y, int sum, int count) {
        if (count == 0)
            return;
        const double mean = static_cast<double>(sum) / count;
        if (mean <= 0)
            pg.text(9, y, "0");
        else
            pg.text(mean >= 99.5 ? 10 : 11, y, fixedDecimal(mean, 0));
    };
    pg.H(7);
    for (int k = 0; k < pg.n; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        if (surface == RaceSurface::Turf)
            draw(band(k) + 37, f.TurfDevSum[i], f.TurfDevCount[i]);
        else
            draw(band(k) + 37, f.DirtDevSum[i], f.DirtDevCount[i]);
        draw(band(k) + 39, f.TurfDevSum[i] + f.DirtDevSum[i], f.TurfDevCount[i] + f.DirtDevCount[i]);
    }
}

void drawPage(const TPageContext &ctx, TNewspaper &paper)
{
    Page pg(ctx, paper);
    pg.whiten(pageExtent(PageStyle::Horizontal), kWidth, pg.bottom());
    TRaceCard &c = paper.card;
    if (pg.race() < 0 || pg.race() >= TRaceCard::kRaces || pg.n == 0)
        return;
    c.CurrentRace = pg.race();
    drawHeader(pg);

    drawRunnersWithFigures(paper, pg.n, kPastCells,
                           {[&](int k) { drawBand(pg, k); },
                            [&](int k, int cell, int rest) { drawPastCell(pg, k, cell, rest); },
                            [&](int k) { drawRestRules(pg, k); }});
    drawTimeCorrectionMeans(pg);
}

// ---------------------------------------------------------------------------
// Frame

void drawFrame(const Page &pg)
{
    const int n = pg.n;
    const int bottom = pg.bottom();

    pg.pen(pg.p.thinPen);
    for (int k = 0; k + 1 < n; ++k)
        pg.across(42 + 15 * k, 3, kRight);
    pg.across(24, 88, kRight);
    pg.down(172, 3, 24);
    pg.down(127, 3, 14);
    pg.down(12, 3, 14);
    for (int x : {14, 22, 65, 78})
        pg.down(x, 14, bottom);
    for (int cell = 0; cell < 4; ++cell)
        pg.down(119 + 31 * cell, 24, bottom);

    BandBracketPlaces places;
    places.labelX = -2, places.numberX = -2;
    places.singleNumberY = 29, places.singleDigitY = 33, places.singleWordY = 37;
    places.firstWordYWith15 = 38;
    places.right = kRight;
    drawBandBrackets(pg, n, places);

    pg.pen(pg.p.thickPen);
    pg.down(-3, 3, bottom);
    pg.down(3, 14, bottom);
    pg.down(88, 14, bottom);
    pg.down(kRight, 3, bottom);
    pg.across(3, -3, kRight);
    pg.across(14, -3, 172);
    pg.across(27, -3, kRight);
    pg.across(bottom, -3, kRight);
}

} // namespace

void DrawHorizontalPage(const TPageContext &ctx, TNewspaper &paper)
{
    namingRace(pageSpan().race, [&] { drawPage(ctx, paper); });
}

void DrawHorizontalFrame(const TPageContext &ctx, const TNewspaper &paper)
{
    const Page pg(ctx, paper);
    if (pg.n == 0)
        return;
    drawFrame(pg);
}

} // namespace zorbe
