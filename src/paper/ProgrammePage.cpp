#include "paper/ProgrammePage.h"

#include "paper/LayoutSupport.h"
#include "paper/PageModel.h"
#include "paper/PagePaths.h"
#include "paper/PageTables.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"

#include <algorithm>
#include <optional>

namespace zorbe {
namespace {

namespace pt = pagetables;
using namespace layout;

constexpr int kSecondRaceShift = 101;  // the right half: every x of the left + 101
constexpr int kRight = 97;             // right border of a half
constexpr int kPageRight = kRight + kSecondRaceShift + 3;

// One race of the page: the left (the chosen race) or the right half.
struct Half
{
    int race = 0;
    int start = 0;   // first runner in the day's list
    int n = 0;
    int dx = 0;      // added to every x
    bool second = false;

    std::size_t r() const { return static_cast<std::size_t>(race); }
    int horse(int k) const { return start + k; }
};

// The halves the page holds: the chosen race, and the race after it when
// the day has one with runners.
struct Halves
{
    std::optional<Half> first;
    std::optional<Half> second;
};

Halves halvesOf(const TNewspaper &paper)
{
    const TRaceSpan &span = pageSpan();
    Halves halves;
    if (span.race < 0 || span.race >= TRaceCard::kRaces)
        return halves;
    const int n = spanRunners(span.start, span.end);
    if (n > 0)
        halves.first = Half{span.race, span.start, n, 0, false};
    // Runner counts of races the day does not have may be left from an
    // earlier day, so the right half also needs the race to be there.
    const int next = span.race + 1;
    const int n2 = spanRunners(span.start2, span.end2);
    if (next < TRaceCard::kRaces && next < paper.card.RaceCount && n2 > 0)
        halves.second = Half{next, span.start2, n2, kSecondRaceShift, true};
    return halves;
}

int band(int k)
{
    return 15 * k;
}

// ---------------------------------------------------------------------------
// Header

// "発走13 時 05 分": the stored hour and minute, on the clock of the day.
std::string startTime(const std::string &stored)
{
    if (isBlank(stored) || stored.size() < 4)
        return {};
    const int hour = static_cast<int>(toInt(stored.substr(0, 2), "発走時刻"));
    return sj("発走") + std::to_string(hour) + sj(" 時 ") + stored.substr(2, 2) + sj(" 分");
}

void drawHeader(const PageWriter &w, const Half &half)
{
    const TRaceCard &c = w.card;
    const std::size_t r = half.r();
    const std::string &caption = w.paper.RaceCaption[r];
    const int reduce = w.p.fontReduce;
    const int dx = half.dx;

    if (!half.second) {
        w.V(10 - reduce);
        w.text(1, 5, pt::venueName(c.RaceVenue[r]));
    }
    w.V(8 - reduce);
    w.text(dx + 2, 16, sj("本　賞"));
    w.H(18, true);
    const int raceNo = number(c.RaceNo[r], "レース番号");
    if (raceNo >= 1 && raceNo <= 12)
        w.text(dx + 2, 5, w.paper.RaceNumberWide[static_cast<std::size_t>(raceNo)]);
    w.H(13 - reduce, true);
    w.text(dx + 11, 4, bandRaceName(w.paper, half.race));
    w.H(10, true);
    w.text(dx + 70, 14, bytesOf(caption, 42, 4) + sj(" ｍ"));
    w.H(8, true);
    w.text(dx + 60, 14, bytesOf(caption, 34, 6));

    w.H(8);
    if (const std::string rule = pt::programmeWeightRuleText(c.RaceWeightRule[r]); !rule.empty())
        w.text(dx + 11, 10,
               sj("（") + bytesOf(caption, 12, 21) + " " + pt::programmeSymbolText(c.RaceSymbol[r]) + rule +
                   startTime(c.RaceStartTime[r]));
    w.text(dx - 2, 0, meetingLine(c));
    if (!half.second)
        w.text(45, 24, sj("ゾルベ Data Lab. Ver2.11　") + pt::authorCredit());
    w.text(dx + 40, 0, courseRecordLine(c, half.race));
    drawPrizes(w, half.race, dx + 5, dx + 26, 16);
}

// ---------------------------------------------------------------------------
// Runner bands

// A pedigree or breeder name: the longer cut for a name in full-width
// capitals (a horse bred abroad).
std::string nameCut(std::string_view name, std::size_t plain, std::size_t capitals)
{
    return bytesOf(name, 1, startsWithFullWidthCapital(name) ? capitals : plain);
}

struct Placed
{
    int x = 0;
    std::string text;
};

Placed ownerText(std::string_view owner)
{
    auto spacesAt = [&](std::size_t from1, std::size_t to1) {
        return owner.size() >= to1 && allFullSpaces(owner.substr(from1 - 1, to1 - from1 + 1));
    };
    if (bytesOf(owner, 1, 4) == std::string(kFullSpace) + std::string(kFullSpace))
        return {65, bytesOf(owner, 5, 20)};
    if (spacesAt(3, 16))
        return {67, bytesOf(owner, 1, 4) + bytesOf(owner, 17, 14)};
    if (spacesAt(5, 16))
        return {67, bytesOf(owner, 1, 4) + bytesOf(owner, 17, 18)};
    return {67, bytesOf(owner, 1, 18)};
}

// The jockey by the jockey master's full name, else the race card's short name.
std::string jockeyText(const TNewspaper &paper, const Half &half, int k)
{
    const std::size_t j = static_cast<std::size_t>(k + 1);
    const TMasterEntry *jockey = findMaster(paper.masters.JockeyTable, paper.card.EntryJockeyCode[half.r()][j]);
    if (!jockey)
        return paper.card.EntryJockeyName[half.r()][j];
    const std::string &name = jockey->Name;
    if (fullWidthCapitalAt(name, 5))
        return bytesOf(name, 9, 10);
    if (fullWidthCapitalAt(name, 1))
        return bytesOf(name, 5, 10);
    if (bytesOf(name, 21, 2) != kFullSpace)
        return bytesOf(name, 1, 4) + bytesOf(name, 7, 6);
    return bytesOf(name, 1, 10);
}

// A trainer master name: five characters, or a two-character family name
// and the given name apart.
std::string masterTrainerName(const std::string &name)
{
    if (bytesOf(name, 5, 2) != kFullSpace)
        return bytesOf(name, 1, 10);
    return bytesOf(name, 1, 4) + std::string(kFullSpace) + bytesOf(name, 7, 6);
}

void drawTrainer(const PageWriter &w, const Half &half, int k, int y)
{
    const TRaceCard &c = w.card;
    const std::size_t j = static_cast<std::size_t>(k + 1);
    const TMasterEntry *trainer = findMaster(w.paper.masters.TrainerTable, c.EntryTrainerCode[half.r()][j]);
    const std::string invited =
        "(" + firstChars(c.HorseInviteRegion[static_cast<std::size_t>(half.horse(k))], 2) + ")";
    Placed name;
    std::string centre = invited;
    if (trainer) {
        const std::string &n = trainer->Name;
        name = {67, masterTrainerName(n)};
        if (trainer->Region == "1")
            centre = sj("(美浦)");
        else if (trainer->Region == "2")
            centre = sj("(栗東)");
        else if (fullWidthCapitalAt(n, 5))
            name = {65, bytesOf(n, 9, 6)};
        else if (fullWidthCapitalAt(n, 1))
            name = {65, bytesOf(n, 5, 6)};
    } else {
        const std::string &n = c.EntryTrainerName[half.r()][j];
        if (bytesOf(n, 5, 2) != kFullSpace)
            name = {67, bytesOf(n, 1, 4) + std::string(kFullSpace) + bytesOf(n, 5, 4)};
        else
            name = {67, bytesOf(n, 1, 2) + std::string(kFullSpace) + bytesOf(n, 3, 2)};
    }
    w.H(8, true);
    w.text(half.dx + name.x, y, name.text);
    w.text(half.dx + 51, y, centre);
}

// The right half shows its odds entry as stored; the left half takes the
// number out of it as the other pages do.
std::string programmeOdds(const TNewspaper &paper, const Half &half, int k)
{
    const std::string &mode = paper.settings.ozz;
    if (half.second && mode != "0" && mode != "1")
        return paper.card.OddsWin[half.r()][static_cast<std::size_t>(k + 1)];
    return oddsText(paper, half.race, k + 1);
}

void drawBand(const PageWriter &w, const Half &half, int k)
{
    const TRaceCard &c = w.card;
    const std::size_t r = half.r();
    const std::size_t j = static_cast<std::size_t>(k + 1);
    const int h = half.horse(k);
    const std::size_t hh = static_cast<std::size_t>(h);
    const int y = band(k);
    const int dx = half.dx;
    const int reduce = w.p.fontReduce;
    const bool jump = isJumpTrackCode(number(c.RaceTrack[r], "トラック"));

    w.V(7);
    w.text(dx + 10, y + 28, pt::horseMarkPrefix(c.HorseMark[hh]));
    w.H(13 - reduce, true);
    w.text(dx + 10, y + 28, bytesOf(c.HorseName[hh], 1, 18));

    w.H(6);
    w.text(dx + 8, y + 36, nameCut(c.HorseSire[hh], 20, 28));
    w.text(dx + 29, y + 36, nameCut(c.HorseDamSire[hh], 20, 28));
    w.text(dx + 8, y + 39, nameCut(c.HorseDam[hh], 20, 28));
    w.text(dx + 29, y + 39, nameCut(c.HorseDamDam[hh], 20, 28));
    const Placed owner = ownerText(c.HorseOwner[hh]);
    w.text(dx + owner.x, y + 36, owner.text);
    w.text(dx + 50, y + 32, pt::coatColourWord(c.HorseColour[hh]));
    const std::string &birth = c.HorseBirthDate[hh];
    if (const std::string sex = pt::programmeSexWord(c.HorseSex[hh]); !sex.empty()) {
        const int age = number(c.MeetYear, "開催年") - number(bytesOf(birth, 1, 4), "生年月日");
        w.text(dx + 50, y + 28, sex + pt::bandAgeWord(age));
    }
    w.text(dx + 86, y + 28, shortestDecimal(number(c.HorsePrizeEarned[hh][jump ? 2 : 1], "取得賞金") / 10.0));
    w.text(dx + 86, y + 30, fixedDecimal(number(c.HorsePrizeMain[hh], "本賞金") / 10.0, 0));
    w.text(dx + 8, y + 33,
           bytesOf(birth, 1, 4) + " . " + std::to_string(number(bytesOf(birth, 5, 2), "生年月日")) + " . " +
               std::to_string(number(bytesOf(birth, 7, 2), "生年月日")) + sj("　　") +
               bytesOf(c.HorseBirthplace[hh], 1, 8) + nameCut(c.HorseBreeder[hh], 18, 30));

    w.H(11 - reduce, true);
    w.text(dx + 56, y + 27, fixedDecimal(number(c.EntryWeight[r][j], "負担重量") / 10.0, 1));
    w.text(dx + 65, y + 29, jockeyText(w.paper, half, k));
    drawTrainer(w, half, k, y + 39);
    if (c.EntryBlinker[r][j] == "1") {
        w.H(7, true);
        w.text(dx + 3, y + 39, sj("Ｂ"));
    }

    w.H(6);
    w.text(dx + 56, y + 32, sj("脚質・") + runningStyle(c, h));
    // Turf and jump races: what the overall record holds beyond the dirt.
    const Record all = recordOf(c, h, {1});
    const Record dirt = recordOf(c, h, {4, 5});
    Record rest{};
    for (std::size_t i = 0; i < 4; ++i)
        rest[i] = all[i] - dirt[i];
    w.text(dx + 86, y + 37, recordText(rest));
    w.text(dx + 86, y + 39, recordText(dirt));

    w.H(8);
    const auto &circled = w.paper.labels.CircledNumberText;
    for (int past = 1; past <= 3; ++past) {
        const std::string &stored = c.PastFinish[hh][static_cast<std::size_t>(past)];
        const int finish = isBlank(stored) || stored == "00" ? 0 : number(stored, "着順");
        if (finish >= 1 && finish <= 18)
            w.text(dx + 96 - 3 * past, y + 33, circled[static_cast<std::size_t>(finish)]);
    }
    w.text(dx + 51, y + 36, programmeOdds(w.paper, half, k));
}

void drawHalf(const PageWriter &w, const Half &half)
{
    drawHeader(w, half);
    for (int k = 0; k < half.n; ++k) {
        if (half.horse(k) < 0 || half.horse(k) >= TRaceCard::kHorses)
            break;
        drawBand(w, half, k);
    }
}

// ---------------------------------------------------------------------------
// Frame

void drawHalfFrame(const PageWriter &w, const Half &half)
{
    const int n = half.n;
    const int dx = half.dx;
    const int bottom = 27 + 15 * n;

    w.pen(w.p.thinPen);
    for (int k = 0; k + 1 < n; ++k)
        w.across(42 + 15 * k, dx + 2, dx + kRight);
    for (int x : {49, 64, 85})
        w.down(dx + x, 27, bottom);
    for (int k = 0; k < n; ++k) {
        w.down(dx + 55, band(k) + 27, band(k) + 35);
        w.across(band(k) + 35, dx + 7, dx + 85);
    }

    BandBracketPlaces places;
    places.labelX = -2, places.numberX = 3;
    places.singleNumberY = 33, places.singleDigitY = 31, places.singleWordY = 35;
    places.firstWordYWith15 = 35;
    places.right = kRight;
    places.xShift = dx;
    drawBandBrackets(w, n, places);

    w.pen(w.p.thickPen);
    for (int x : {-3, 2, 7, kRight})
        w.down(dx + x, 27, bottom);
    w.across(27, dx - 3, dx + kRight);
    w.across(bottom, dx - 3, dx + kRight);
}

} // namespace

void DrawProgrammePage(const TPageContext &ctx, TNewspaper &paper)
{
    const PageWriter w(ctx, paper);
    const Halves halves = halvesOf(paper);
    const int runners = std::max(halves.first ? halves.first->n : 0, halves.second ? halves.second->n : 0);
    w.whiten(pageExtent(PageStyle::Programme), kPageRight, 27 + 15 * runners);
    if (!halves.first)
        return;
    paper.card.CurrentRace = halves.first->race;
    namingRace(halves.first->race, [&] { drawHalf(w, *halves.first); });
    if (halves.second)
        namingRace(halves.second->race, [&] { drawHalf(w, *halves.second); });
}

void DrawProgrammeFrame(const TPageContext &ctx, const TNewspaper &paper)
{
    const PageWriter w(ctx, paper);
    const Halves halves = halvesOf(paper);
    if (!halves.first)
        return;
    drawHalfFrame(w, *halves.first);
    if (halves.second)
        drawHalfFrame(w, *halves.second);
}

} // namespace zorbe
