#include "paper/VerticalPage.h"

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

// One page being drawn: the page writer and the runner columns.
class Page : public PageWriter
{
public:
    Page(const TPageContext &ctx, const TNewspaper &paper) : PageWriter(ctx, paper)
    {
        n = spanRunners(span.start, span.end);
    }

    // Right edge of runner column k (0 = the lowest number).
    int R(int k) const { return 13 * (n - k); }
    int horse(int k) const { return span.start + k; }
    int race() const { return span.race; }

    int n = 0;
};

// ---------------------------------------------------------------------------
// Header column

std::string startTimeText(const Page &pg, int &xOffset)
{
    const std::string &t = pg.card.RaceStartTime[static_cast<std::size_t>(pg.race())];
    xOffset = 13;
    if (isBlank(t) || t.size() < 4)
        return {};
    int hour = static_cast<int>(toInt(t.substr(0, 2), "発走時刻"));
    const std::string minute = t.substr(2, 2);
    if (hour >= 10 && hour <= 12)
        xOffset = 12;
    else if (hour >= 13)
        hour -= 12;
    return std::to_string(hour) + sj("時 ") + minute + sj("分");
}

std::string raceNameText(const Page &pg, std::string &secondColumn)
{
    const std::size_t r = static_cast<std::size_t>(pg.race());
    const std::string &name = pg.card.RaceName[r];
    if (allFullSpaces(name) || isBlank(name))
        return bytesOf(pg.paper.RaceCaption[r], 8, 13);
    if (std::string repaired = pt::repairedRaceName(name); !repaired.empty())
        return repaired;
    secondColumn = bytesOf(name, 29, 16);
    return bytesOf(name, 1, 28);
}

std::string courseText(const std::string &caption, const std::string &courseVariant)
{
    std::string text;
    if (bytesOf(caption, 34, 3) == sj("芝("))
        text = bytesOf(caption, 34, 2) + bytesOf(caption, 37, 2);
    else if (bytesOf(caption, 34, 4) == sj("芝直"))
        text = bytesOf(caption, 34, 2) + bytesOf(caption, 36, 2);
    else
        text = bytesOf(caption, 34, 6);
    return text + bytesOf(caption, 42, 6) + firstChars(courseVariant, 1);
}

void drawHeader(const Page &pg)
{
    const TRaceCard &c = pg.card;
    const std::size_t r = static_cast<std::size_t>(pg.race());
    const int x0 = 13 * pg.n;
    const int track = number(c.RaceTrack[r], "トラック");
    const RaceSurface surface = surfaceOf(track);

    pg.V(13 - pg.p.fontReduce);
    pg.H(8);
    pg.text(x0 + 12, 1, sj("発走時刻"));
    int timeOffset = 13;
    const std::string start = startTimeText(pg, timeOffset);
    pg.text(x0 + timeOffset, 4, start);
    pg.H(7);
    pg.text(x0 + 2, 1, sj("馬枠色"));
    pg.H(6);
    pg.text(x0 + 2, 5, sj("本　 　紙"));
    pg.text(x0 + 2, 8, sj("虎 の 穴"));
    pg.text(x0 + 2, 11, sj("タ  イ  ム"));

    pg.H(18, true);
    const int raceNo = number(c.RaceNo[r], "レース番号");
    if (raceNo >= 1 && raceNo <= 12)
        pg.text(x0 + 12, 7, pg.paper.RaceNumberWide[static_cast<std::size_t>(raceNo)]);
    pg.V(8);
    pg.text(x0 + 25, 7, pt::venueName(c.RaceVenue[r]));

    pg.H(9, true);
    if (const int edition = number(c.RaceEdition[r], "回次"); edition != 0)
        pg.text(x0 + 12, 15, sj("第") + std::to_string(edition) + sj("回"));
    pg.V(6);
    pg.text(x0 + 10, 15, sj("父"));
    pg.text(x0 + 5, 15, sj("母"));
    pg.text(x0 + 3, 15, sj("母の父"));
    pg.text(x0 + 7, 15, sj("馬記号  馬         名"));

    pg.V(13 - pg.p.fontReduce);
    std::string second;
    pg.text(x0 + 25, 20, raceNameText(pg, second));
    pg.text(x0 + 20, 24, second);

    const std::string rule = pt::weightRuleText(c.RaceWeightRule[r]);
    if (!rule.empty()) {
        pg.V(7);
        pg.text(x0 + 15, 20,
                sj("（") + bytesOf(pg.paper.RaceCaption[r], 12, 21) + " " + pt::conditionSymbolText(c.RaceSymbol[r]) +
                    rule);
    }
    pg.V(6);
    pg.text(x0 + 10, 33, sj("馬主名  　脚　質"));
    pg.text(x0 + 5, 33, sj("性  齢　　生月日"));
    pg.text(x0 + 3, 33, sj("厩  舎　　所　属"));

    pg.H(7);
    pg.text(x0 + 1, 53, sj(" 本賞金"));
    pg.text(x0 + 1, 56, sj("取得賞金"));
    pg.text(x0 + 3, 59, sj("重　量"));
    pg.text(x0 + 3, 62, sj("騎　手"));
    pg.text(x0 + 1, 65, sj("全 成 績"));
    pg.text(x0 + 1, 68,
            surface == RaceSurface::Dirt   ? sj("ダ 　　重")
            : surface == RaceSurface::Jump ? sj("全 障 害")
                                           : sj("芝　　重"));
    const bool dirtRows = surface == RaceSurface::Dirt || (surface == RaceSurface::Jump && track == 52);
    pg.text(x0 + 1, 71, dirtRows ? sj("右　 　ダ") : sj("右　 　芝"));
    pg.text(x0 + 1, 74, dirtRows ? sj("左　 　ダ") : sj("左　 　芝"));
    pg.text(x0 + 1, 78, sj("1600m下"));
    pg.text(x0 + 1, 81, sj("2200m下"));
    pg.text(x0 + 1, 84, sj("2200m上"));
    pg.text(x0 + 12, 78, sj("左から順に"));
    pg.V(7);
    pg.text(x0 + 14, 81, sj("１ 着"));
    pg.text(x0 + 17, 81, sj("２ 着"));
    pg.text(x0 + 20, 81, sj("３ 着"));
    pg.text(x0 + 23, 81, sj("着外"));

    pg.H(8);
    pg.text(x0 + 5, 88,
            c.MeetYear + sj("年") + std::to_string(number(c.MeetMonth, "開催月")) + sj("月") +
                std::to_string(number(c.MeetDay, "開催日")) + sj("日"));
    pg.text(x0 + 6, 91,
            sj("第 ") + std::to_string(number(c.MeetKai, "開催回")) + sj(" 回  ") +
                std::to_string(number(c.MeetNichi, "開催日目")) + sj(" 日目"));
    pg.H(9, true);
    pg.text(x0 + 4, 95, courseText(pg.paper.RaceCaption[r], c.RaceCourse[r]));

    static const char *const kLabels[] = {"五走前", "四走前", "三走前", "前々走", "前　 走"};
    const int races = pg.p.pastLast + 1;
    pg.V(7);
    for (int i = 0; i < races; ++i)
        pg.text(x0 + 3, 96 + 28 * i, sj(kLabels[5 - races + i]));

    static const char *const kLegend[] = {"回次，開催場，月日", "距離，コース，タイム", "着順，馬場，人気",
                                          "斤量，騎手名",       "レース名，馬体重",     "一（二）着馬（休養）",
                                          "通過順，クラス",     "頭数，馬番",           "後３Ｆ，着差、Ｔ指数"};
    pg.H(7);
    for (int i = 0; i < 9; ++i)
        pg.text(x0 + 5, 100 + 3 * i, sj(kLegend[i]));
    const std::string &rec = c.RaceRecordTime[r];
    pg.text(x0 + 5, 128,
            (c.RaceRecordKind[r] == "1" ? sj("コースＲ ") : sj("基　準Ｔ ")) + bytesOf(rec, 1, 1) + " . " +
                bytesOf(rec, 2, 2) + " . " + bytesOf(rec, 4, 1));
    pg.text(x0 + 6, 131, c.RaceRecordHorse[r]);
    for (int i = 0; i < 5; ++i) {
        pg.text(x0 + 5, 135 + 6 * i, pg.paper.labels.CircledNumberText[static_cast<std::size_t>(i + 1)] + sj("着賞金"));
        const int prize = number(c.RacePrize[r][static_cast<std::size_t>(i + 1)], "賞金");
        pg.text(x0 + 10, 138 + 6 * i, shortestDecimal(prize / 10.0) + sj("万円"));
    }
    pg.text(x0 + 5, pg.p.pastBase - 16, pt::productCredit());
    pg.text(x0 + 5, pg.p.pastBase - 13, pt::authorCredit());
}

// ---------------------------------------------------------------------------
// Runner columns

std::string trainerText(const Page &pg, int k, const TMasterEntry *trainer)
{
    const std::size_t r = static_cast<std::size_t>(pg.race());
    const std::size_t j = static_cast<std::size_t>(k + 1);
    const std::string &name = pg.card.EntryTrainerName[r][j];
    if (trainer && trainer->Region == "1")
        return name + sj("（美浦）");
    if (trainer && trainer->Region == "2")
        return name + sj("（栗東）");
    // Trainers of other centres show where the horse was invited from;
    // a name in katakana (a trainer from abroad) gets one character more.
    const std::string first = firstChars(name, 1);
    const bool katakana = first.size() == 2 && first >= sj("ア") && first <= sj("ヴ");
    const std::string &region = pg.card.HorseInviteRegion[static_cast<std::size_t>(pg.horse(k))];
    return name + sj("（") + firstChars(region, katakana ? 3 : 2) + sj("）");
}

void drawJockey(const Page &pg, int k)
{
    const std::string &name =
        pg.card.EntryJockeyName[static_cast<std::size_t>(pg.race())][static_cast<std::size_t>(k + 1)];
    const int R = pg.R(k);
    if (bytesOf(name, 5, 2) == kFullSpace)
        pg.text(R - 10, 62, bytesOf(name, 1, 2) + std::string(kFullSpace) + bytesOf(name, 3, 2));
    else if (bytesOf(name, 7, 2) == kFullSpace)
        pg.text(R - 10, 62, bytesOf(name, 1, 6));
    else
        pg.text(R - 11, 62, name);
}

std::string pedigreeName(std::string_view name)
{
    return bytesOf(name, 1, startsWithFullWidthCapital(name) ? 24 : 18);
}

void drawProfile(const Page &pg, int k)
{
    const TRaceCard &c = pg.card;
    const std::size_t r = static_cast<std::size_t>(pg.race());
    const std::size_t j = static_cast<std::size_t>(k + 1);
    const int h = pg.horse(k);
    const std::size_t hh = static_cast<std::size_t>(h);
    const int R = pg.R(k);
    const int track = number(c.RaceTrack[r], "トラック");
    const RaceSurface surface = surfaceOf(track);

    const TMasterEntry *trainer = findMaster(pg.paper.masters.TrainerTable, c.EntryTrainerCode[r][j]);
    const int venue = number(c.RaceVenue[r], "開催場");
    pg.V(6);
    pg.text(R - 1, 5, travellingMark(trainer, venue));

    pg.H(6);
    pg.text(R - 12, 11, oddsText(pg.paper, pg.race(), k + 1));

    const int mark = number(c.HorseMark[hh], "馬記号");
    pg.V(13 - pg.p.fontReduce);
    pg.text(R - 4, mark == 0 ? 15 : 18, bytesOf(c.HorseName[hh], 1, 18));
    pg.H(7);
    pg.text(R - 8, 15, pt::horseMarkPrefix(c.HorseMark[hh]));
    pg.V(6);
    pg.text(R - 1, 15, pedigreeName(c.HorseSire[hh]));
    pg.text(R - 8, 15, pedigreeName(c.HorseDam[hh]));
    pg.text(R - 10, 15, pedigreeName(c.HorseDamSire[hh]));

    pg.text(R - 1, 36, pt::ownerText(c.HorseOwner[hh]));
    const std::string &birth = c.HorseBirthDate[hh];
    const int age = number(c.MeetYear, "開催年") - number(bytesOf(birth, 1, 4), "生年月日");
    pg.text(R - 8, 36,
            pt::sexText(c.HorseSex[hh]) + pt::ageText(age) +
                std::to_string(number(bytesOf(birth, 5, 2), "生年月日")) + " . " +
                std::to_string(number(bytesOf(birth, 7, 2), "生年月日")));
    pg.text(R - 10, 36, trainerText(pg, k, trainer));

    pg.H(7);
    if (c.EntryBlinker[r][j] == "1")
        pg.text(R - 10, 49, "B");
    pg.V(6);
    pg.text(R - 1, 53, runningStyle(c, h));

    pg.H(6);
    const std::size_t prizeEntry = surface == RaceSurface::Jump ? 2 : 1;
    pg.text(R - 12, 53, shortestDecimal(number(c.HorsePrizeEarned[hh][prizeEntry], "取得賞金") / 10.0));
    pg.text(R - 12, 56, fixedDecimal(number(c.HorsePrizeMain[hh], "本賞金") / 10.0, 0));
    const pt::CoatColour coat = pt::coatColour(c.HorseColour[hh]);
    pg.text(R + coat.offset, 56, coat.text);

    pg.H(7);
    pg.text(R - 8, 59, fixedDecimal(number(c.EntryWeight[r][j], "負担重量") / 10.0, 1));
    pg.text(R - 12, 59, pt::apprenticeMark(c.EntryApprentice[r][j]));
    drawJockey(pg, k);

    pg.text(R - 12, 65, recordText(recordOf(c, h, {1})));
    if (surface == RaceSurface::Jump)
        pg.text(R - 12, 68, recordText(recordOf(c, h, {6})));
    else if (surface == RaceSurface::Dirt)
        pg.text(R - 12, 68, recordText(recordOf(c, h, {13, 14})));
    else
        pg.text(R - 12, 68, recordText(recordOf(c, h, {9, 10})));
    const bool dirtRows = surface == RaceSurface::Dirt || (surface == RaceSurface::Jump && track == 52);
    pg.text(R - 12, 71, recordText(recordOf(c, h, {dirtRows ? 4 : 2})));
    pg.text(R - 12, 74, recordText(recordOf(c, h, {dirtRows ? 5 : 3})));
    pg.text(R - 12, 78, recordText(recordOf(c, h, {19, 22})));
    pg.text(R - 12, 81, recordText(recordOf(c, h, {20, 23})));
    pg.text(R - 12, 84, recordText(recordOf(c, h, {21, 24})));
}

// ---------------------------------------------------------------------------
// Past-race cells

void drawTimeLine(const Page &pg, int R, int y, std::size_t h, std::size_t k)
{
    const TRaceCard &c = pg.card;
    const int horse = static_cast<int>(h);
    const int past = static_cast<int>(k);
    const int last3F = last3FTenths(c, horse, past);
    const std::string diff = timeDiffText(c.PastTimeDiff[h][k]);
    if (last3F != 0) {
        const int T = timeIndex(c, horse, past);
        std::string text = fixedDecimal(last3F / 10.0, 1) + " " + diff;
        if (T > 0 && T < 100)
            text += " " + std::to_string(T);
        else if (T <= 0)
            text += " -";
        else
            text += std::to_string(T);
        pg.text(R - 12, y, text);
    } else if (isBlank(c.PastLast3F[h][k]) && isBlank(c.PastAbnormal[h][k])) {
        pg.text(R - 8, y, diff);
    }
}

void drawPastCell(const Page &pg, int kRunner, int cell, int restMonths)
{
    const TRaceCard &c = pg.card;
    const std::size_t h = static_cast<std::size_t>(pg.horse(kRunner));
    const std::size_t k = static_cast<std::size_t>(cell + 1);
    const int R = pg.R(kRunner);
    const int b = pg.p.pastBase - 28 * cell;

    if (!hasPastDate(c, static_cast<int>(h), static_cast<int>(k)))
        return;

    // Line 1: meeting, venue, date.
    const int kai = number(c.PastKai[h][k], "前走開催回");
    const std::string &md = c.PastMonthDay[h][k];
    const std::string date = std::to_string(number(bytesOf(md, 1, 2), "前走月日")) + "." +
                             std::to_string(number(bytesOf(md, 3, 2), "前走月日"));
    const std::string venue = pt::pastVenueAbbrev(c.PastVenue[h][k]);
    if (kai != 0) {
        pg.H(7);
        pg.text(R - 12, b - 37, std::to_string(kai));
        const int vx = kai < 10 ? R - 10 : R - 9;
        pg.H(6);
        pg.text(vx, b - 37, venue);
        pg.H(7);
        pg.text(vx + 3, b - 37, date);
    } else {
        pg.H(7);
        pg.text(R - 9, b - 37, venue + date);
    }

    // Line 2: distance, surface, time or finish state.
    pg.H(7);
    pg.text(R - 12, b - 34, bytesOf(c.PastDistance[h][k], 1, 2));
    pg.H(6);
    pg.text(R - 9, b - 34, pt::surfaceText(c.PastTrack[h][k]));
    const std::string &time = c.PastTime[h][k];
    pg.H(7);
    if (number(time, "走破タイム") != 0)
        pg.text(R - 6, b - 34, time);
    pg.H(6);
    pg.text(R - 6, b - 34, pt::finishStateText(c.PastAbnormal[h][k], c.PastArrival[h][k]));

    // Line 3: finish, going, popularity.
    const int finish = number(c.PastFinish[h][k], "着順");
    if (finish != 0) {
        pg.H(8, true);
        Rgb colour = kBlack;
        if (pg.paper.settings.color == "1") {
            if (finish <= 2)
                colour = {255, 0, 0};
            else if (finish <= 5)
                colour = pg.p.blueBracket;
        }
        pg.colour(colour);
        pg.text(R - 12, b - 31, std::to_string(finish));
        pg.colour(kBlack);
    }
    pg.H(6);
    pg.text(R - 8, b - 31, pt::goingText(c.PastGoing[h][k]));
    pg.H(7);
    if (const int popularity = number(c.PastPopularity[h][k], "人気"); popularity != 0)
        pg.text(R - 5, b - 31, std::to_string(popularity) + sj("人"));

    // Line 4: weight, jockey, blinkers.
    pg.text(R - 12, b - 28, bytesOf(c.PastWeight[h][k], 1, 2));
    pg.text(R - 9, b - 28, pt::pastJockeyText(c.PastJockeyName[h][k]));
    if (c.PastBlinker[h][k] == "1")
        pg.text(R - 2, b - 28, "B");

    // Line 5: class or race name, body weight.
    const pt::PastClass cls = pt::pastRaceClass(
        {c.PastClass[h][k], c.PastSymbol[h][k], c.PastRaceName[h][k], c.PastGrade[h][k], c.PastConditionName[h][k]});
    pg.text(R - 12, b - 25, cls.text);
    if (const int body = number(c.PastBodyWeight[h][k], "馬体重"); body != 0)
        pg.text(R - 4, b - 25, std::to_string(body));

    // Line 6: the winner (or second), and the rest before today's race.
    pg.H(6);
    pg.text(R - 12, b - 22, bytesOf(c.PastRivalName[h][k], 1, 10));
    if (cell == 0 && restMonths >= 3) {
        pg.H(7);
        pg.text(R - 12, b - 22, " " + std::to_string(restMonths) + sj(" ヵ月休  "));
    }

    // Line 7: corner positions and the class suffix.
    pg.H(7);
    std::string corners;
    for (std::size_t corner = 2; corner <= 4; ++corner) {
        const int pos = number(c.PastCorner[h][k][corner], "通過順");
        corners += pos >= 1 && pos <= 18 ? pg.paper.labels.CircledNumberText[static_cast<std::size_t>(pos)]
                                         : std::string("  ");
    }
    pg.text(R - 12, b - 19, corners);
    pg.text(R - 4, b - 19, cls.suffix);

    // Line 8: field size and horse number.
    if (const int field = number(c.PastRegistered[h][k], "頭数"); field != 0)
        pg.text(R - 12, b - 16,
                std::to_string(field) + sj(" ﾄ") + " " + std::to_string(number(c.PastHorseNo[h][k], "馬番")) +
                    sj(" ｹﾞ"));

    // Line 9: last three furlongs, margin and the time index.
    drawTimeLine(pg, R, b - 13, h, k);
}

// The rule between two consecutive past races that lie three months or
// more apart.
void drawRestRules(const Page &pg, int kRunner)
{
    const TRaceCard &c = pg.card;
    const std::size_t h = static_cast<std::size_t>(pg.horse(kRunner));
    const int R = pg.R(kRunner);
    for (int cell = 1; cell <= pg.p.pastLast; ++cell) {
        const std::size_t newer = static_cast<std::size_t>(cell);
        const std::size_t older = newer + 1;
        const int months =
            RestInterval(c.PastYear[h][newer], bytesOf(c.PastMonthDay[h][newer], 1, 2), c.PastYear[h][older],
                         c.PastMonthDay[h][older]);
        if (months < 3)
            continue;
        const int y = pg.Y(pg.p.pastBase - 28 * cell - 10);
        pg.ctx.canvas.setPenWidth(pg.p.rulePen);
        pg.ctx.canvas.moveTo(pg.X(R - 13), y);
        pg.ctx.canvas.lineTo(pg.X(R), y);
    }
}

void drawTimeCorrectionMeans(const Page &pg)
{
    const TRaceCard &c = pg.card;
    const int track = number(c.RaceTrack[static_cast<std::size_t>(pg.race())], "トラック");
    const RaceSurface surface = surfaceOf(track);
    if (pg.paper.settings.hosei != "1" || (surface != RaceSurface::Turf && surface != RaceSurface::Dirt))
        return;
    const TRunnerFigures &f = pg.paper.figures;
    auto draw = [&](int R, int y, int sum, int count) {
        if (count == 0)
            return;
        const double mean = static_cast<double>(sum) / count;
        if (mean <= 0)
            pg.text(R - 10, y, "0");
        else
            pg.text(mean >= 99.5 ? R - 12 : R - 11, y, fixedDecimal(mean, 0));
    };
    pg.H(7);
    for (int k = 0; k < pg.n; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        const int R = pg.R(k);
        if (surface == RaceSurface::Turf)
            draw(R, 5, f.TurfDevSum[i], f.TurfDevCount[i]);
        else
            draw(R, 5, f.DirtDevSum[i], f.DirtDevCount[i]);
        draw(R, 7, f.TurfDevSum[i] + f.DirtDevSum[i], f.TurfDevCount[i] + f.DirtDevCount[i]);
    }
}

void drawPage(const TPageContext &ctx, TNewspaper &paper)
{
    ctx.canvas.setBrushColour(kWhite);
    ctx.canvas.fillRect(pageExtent(PageStyle::Vertical));
    Page pg(ctx, paper);
    TRaceCard &c = paper.card;
    if (pg.race() < 0 || pg.race() >= TRaceCard::kRaces || pg.n == 0)
        return;
    c.CurrentRace = pg.race();
    drawHeader(pg);

    drawRunnersWithFigures(paper, pg.n, pg.p.pastLast + 1,
                           {[&](int k) { drawProfile(pg, k); },
                            [&](int k, int cell, int rest) { drawPastCell(pg, k, cell, rest); },
                            [&](int k) { drawRestRules(pg, k); }});
    drawTimeCorrectionMeans(pg);
}

// ---------------------------------------------------------------------------
// Frame

void drawBracketRow(const Page &pg)
{
    const std::array<Rgb, 9> colours = BracketColours(pg.paper.settings.color, pg.p.blueBracket);
    const auto &circled = pg.paper.labels.CircledNumberText;
    const auto &numbers = pg.paper.labels.HorseNumberText;
    const auto &words = BracketWords();
    pg.H(9, true);
    for (int b = 1; b <= 8; ++b) {
        const TBracketRunners runners = bracketRunners(pg.n, b);
        if (runners.count() == 0)
            continue;
        const std::size_t bi = static_cast<std::size_t>(b);
        const int left = pg.R(runners.last - 1) - 13;
        if (runners.count() == 1) {
            const int R = pg.R(runners.first - 1);
            pg.colour(kBlack);
            pg.text(R - 12, 0, numbers[static_cast<std::size_t>(runners.first)]);
            pg.colour(colours[bi]);
            pg.text(R - 8, 0, circled[bi] + words[bi]);
        } else {
            pg.colour(colours[bi]);
            const std::string label = circled[bi] + " " + words[bi];
            pg.text(left + 9, 0, label);
            if (runners.count() == 3)
                pg.text(left + 22, 0, label);
            pg.colour(kBlack);
            for (int number = runners.first; number <= runners.last; ++number)
                pg.text(pg.R(number - 1) - 8, 0, numbers[static_cast<std::size_t>(number)]);
        }
        pg.colour(kBlack);
        // A heavy rule between this bracket and the next one to its left.
        if (runners.last < pg.n) {
            pg.pen(pg.p.thickPen);
            pg.down(left, -1, pg.p.pageBottom - 13);
        }
    }
}

void drawFrame(const Page &pg)
{
    const int n = pg.n;
    const int bottom = pg.p.pageBottom - 13;
    const int right = 13 * n + 26;

    pg.pen(pg.p.thinPen);
    for (int k = 0; k + 1 < n; ++k)
        pg.down(13 * (k + 1), 4, bottom);
    pg.across(14, 0, 13 * n + 11);
    pg.across(59, 0, 13 * n + 11);
    pg.across(65, 0, 13 * n + 11);
    pg.across(71, 0, 13 * n + 11);
    pg.across(77, 0, right);
    pg.pen(pg.p.thickPen);
    pg.across(4, 0, 13 * n + 11);
    pg.pen(pg.p.thinPen);
    for (int y : {99, 127, 134})
        pg.across(y, 13 * n + 4, right);
    if (pg.p.pastLast != 2)
        pg.across(166, 13 * n + 4, right);
    pg.down(13 * n + 4, 87, bottom);
    for (int c = 0; c <= pg.p.pastLast; ++c)
        pg.across(pg.p.pageBottom - 41 - 28 * c, 0, 13 * n + 4);

    pg.pen(pg.p.thickPen);
    pg.down(0, -1, bottom);
    pg.down(right, -1, bottom);
    pg.across(-1, 0, right);
    pg.across(bottom, 0, right);
    pg.down(13 * n, -1, bottom);
    pg.across(87, 0, right);
    pg.down(13 * n + 11, -1, 87);
    pg.across(14, 13 * n + 11, right);

    drawBracketRow(pg);
}

} // namespace

void DrawVerticalPage(const TPageContext &ctx, TNewspaper &paper)
{
    namingRace(pageSpan().race, [&] { drawPage(ctx, paper); });
}

void DrawVerticalFrame(const TPageContext &ctx, const TNewspaper &paper)
{
    const Page pg(ctx, paper);
    if (pg.n == 0)
        return;
    drawFrame(pg);
}

} // namespace zorbe
