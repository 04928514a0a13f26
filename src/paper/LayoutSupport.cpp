#include "paper/LayoutSupport.h"

#include "data/formats/Codes.h"
#include "index/TimeIndex.h"
#include "paper/PageModel.h"
#include "paper/PageTables.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zorbe::layout {

std::string bytesOf(std::string_view text, std::size_t from1, std::size_t count)
{
    if (from1 == 0 || from1 > text.size())
        return {};
    return std::string(text.substr(from1 - 1, count));
}

bool allFullSpaces(std::string_view text)
{
    if (text.empty() || text.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < text.size(); i += 2)
        if (text.substr(i, 2) != kFullSpace)
            return false;
    return true;
}

std::string firstChars(std::string_view text, int count)
{
    std::size_t i = 0;
    for (int c = 0; c < count && i < text.size(); ++c)
        i += cp932::charLength(text, i);
    return std::string(text.substr(0, std::min(i, text.size())));
}

bool fullWidthCapitalAt(std::string_view text, std::size_t from1)
{
    static const std::string first = sj("Ａ");
    static const std::string last = sj("Ｚ");
    const std::string pair = bytesOf(text, from1, 2);
    return pair.size() == 2 && pair >= first && pair <= last;
}

bool startsWithFullWidthCapital(std::string_view text)
{
    return fullWidthCapitalAt(text, 1);
}

int number(std::string_view text, std::string_view name)
{
    return static_cast<int>(toIntOrBlank(text, name, 0));
}

std::string shortestDecimal(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

std::string fixedDecimal(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, rounded);
    return buffer;
}

Record recordOf(const TRaceCard &c, int horse, std::initializer_list<int> groups)
{
    Record counts{};
    for (int g : groups)
        for (std::size_t i = 0; i < 4; ++i)
            counts[i] += number(c.HorseResults[static_cast<std::size_t>(horse)][static_cast<std::size_t>(g)][i + 1],
                                "成績");
    return counts;
}

std::string recordText(const Record &counts)
{
    std::string text = std::to_string(counts[0]);
    for (int i = 1; i < 4; ++i)
        text += (counts[static_cast<std::size_t>(i)] < 10 ? "  " : " ") +
                std::to_string(counts[static_cast<std::size_t>(i)]);
    return text;
}

bool isJumpTrackCode(int track)
{
    return track >= 51 && track <= 59;
}

RaceSurface surfaceOf(int track)
{
    if (track >= 10 && track <= 22)
        return RaceSurface::Turf;
    if (track == 23 || track == 24)
        return RaceSurface::Dirt;
    if (isJumpTrackCode(track))
        return RaceSurface::Jump;
    return RaceSurface::Other;
}

const TMasterEntry *findMaster(const std::vector<TMasterEntry> &table, std::string_view code)
{
    for (const auto &entry : table)
        if (entry.Code == code)
            return &entry;
    return nullptr;
}

std::string travellingMark(const TMasterEntry *trainer, int venue)
{
    if (trainer && trainer->Region == "1" && venue >= 7 && venue <= 10)
        return sj("関東馬");
    if (trainer && trainer->Region == "2" && venue >= 1 && venue <= 6)
        return sj("関西馬");
    return {};
}

std::string runningStyle(const TRaceCard &c, int h)
{
    int positions = 0;
    int runners = 0;
    const std::size_t hh = static_cast<std::size_t>(h);
    for (std::size_t k = 1; k <= 5; ++k) {
        const int corner = number(c.PastCorner[hh][k][4], "4コーナー");
        if (corner == 0)
            continue;
        positions += corner;
        runners += number(c.PastRegistered[hh][k], "登録頭数");
    }
    const double ratio = positions > 0 && runners > 0 ? static_cast<double>(positions) / runners : 1.01;
    if (ratio > 0 && ratio <= 0.2)
        return sj("逃");
    if (ratio > 0.2 && ratio <= 0.4)
        return sj("先");
    if (ratio > 0.4 && ratio <= 0.75)
        return sj("差");
    if (ratio > 0.75 && ratio <= 1)
        return sj("追");
    return {};
}

std::string oddsText(const TNewspaper &paper, int race, int slot)
{
    const TRaceCard &c = paper.card;
    const std::size_t r = static_cast<std::size_t>(race);
    const std::size_t j = static_cast<std::size_t>(slot);
    const std::string &mode = paper.settings.ozz;
    if (mode == "0") {
        // The PAT program's own odds file of the race.
        const int venue = number(c.RaceVenue[r], "開催場");
        const int raceNo = number(c.RaceNo[r], "レース番号");
        if (venue < 1 || venue > 10 || raceNo < 1 || raceNo > 12)
            return {};
        static const char *const kRaceChars = "123456789ABC";
        const std::string name = sj("ZO-") + (venue == 10 ? std::string("A") : std::to_string(venue)) +
                                 std::to_string(number(c.MeetKai, "開催回")) +
                                 std::string(1, kRaceChars[raceNo - 1]) + ".JRA";
        const WinPath file = WinPath(paper.settings.patwin) / name;
        const auto bytes = files::readIfExists(file);
        if (!bytes || bytes->size() < 828)
            return {};
        if (bytes->substr(0, 8) != c.MeetYear + c.MeetMonth + c.MeetDay)
            return {};
        return bytes->substr(145 + 18 * (j - 1), 5);
    }
    if (mode == "1") {
        const WinPath dayFile = WinPath(c.OddsFolder) / (c.MeetYear + c.MeetMonth + c.MeetDay + ".odz");
        if (!files::exists(dayFile))
            return {};
        const std::string key = std::string(formats::codes::oddsVenueNumber(c.RaceVenue[r])) + c.MeetYear +
                                c.MeetKai + c.MeetNichi + c.RaceNo[r];
        for (int i = 0; i < c.OddsCount && i < TRaceCard::kOdds; ++i) {
            const std::string &stored = c.OddsKey[static_cast<std::size_t>(i)];
            if (stored.empty() || key.find(stored) == std::string::npos)
                continue;
            const std::string &entry = c.OddsWin[static_cast<std::size_t>(i)][j];
            if (entry == "*    ")
                return "49.9";
            if (entry == "/    ")
                return sj("ﾄﾘｹｼ");
            if (entry.empty() || isBlank(entry))
                return {};
            std::string_view digits = entry;
            while (!digits.empty() && digits.back() == ' ')
                digits.remove_suffix(1);
            while (!digits.empty() && digits.front() == ' ')
                digits.remove_prefix(1);
            return fixedDecimal(number(digits, "単勝オッズ") / 10.0, 1);
        }
        return {};
    }
    const std::string &entry = c.OddsWin[r][j];
    if (entry.empty())
        return {};
    return entry[0] == ' ' ? bytesOf(entry, 2, 4) : bytesOf(entry, 1, 3);
}

int timeTenths(std::string_view time)
{
    if (time.size() != 4 || !isDigits(time) || time[0] > '4')
        return static_cast<int>(toIntOrBlank(time, "走破タイム", 0));
    return (time[0] - '0') * 600 + static_cast<int>(toInt(time.substr(1), "走破タイム"));
}

int standardTime(const TRaceCard &c, int horse, int past)
{
    const std::size_t h = static_cast<std::size_t>(horse);
    const std::size_t k = static_cast<std::size_t>(past);
    const std::string key = c.PastYear[h][k] + c.PastVenue[h][k] + c.PastKai[h][k] + c.PastNichi[h][k];
    for (int t = 0; t < c.STimeCount && t < TRaceCard::kSTime; ++t) {
        if (c.STimeKey[static_cast<std::size_t>(t)] != key)
            continue;
        const int raceNo = number(c.PastRaceNo[h][k], "前走レース番号");
        if (raceNo < 1 || raceNo > 12)
            return 0;
        return number(
            bytesOf(c.STimeStd[static_cast<std::size_t>(t)], 1 + 4 * static_cast<std::size_t>(raceNo - 1), 4),
            "基準タイム");
    }
    return 0;
}

int timeIndex(const TRaceCard &c, int horse, int past)
{
    const int S = standardTime(c, horse, past);
    if (S == 0)
        return 0;
    return S - timeTenths(c.PastTime[static_cast<std::size_t>(horse)][static_cast<std::size_t>(past)]) + 100;
}

int last3FTenths(const TRaceCard &c, int horse, int past)
{
    const std::size_t h = static_cast<std::size_t>(horse);
    const std::size_t k = static_cast<std::size_t>(past);
    int last3F = number(c.PastLast3F[h][k], "上がり3F");
    if (isJumpTrackCode(number(c.PastTrack[h][k], "前走トラック")))
        last3F *= 3;
    return last3F < 3 || last3F > 997 ? 0 : last3F;
}

std::string timeDiffText(std::string_view stored)
{
    return bytesOf(stored, 2, 1) + "." + bytesOf(stored, 3, 1);
}

bool hasPastDate(const TRaceCard &c, int horse, int past)
{
    return number(c.PastYear[static_cast<std::size_t>(horse)][static_cast<std::size_t>(past)], "前走年") != 0;
}

std::string bandRaceName(const TNewspaper &paper, int race)
{
    const std::size_t r = static_cast<std::size_t>(race);
    const std::string &name = paper.card.RaceName[r];
    if (allFullSpaces(name) || isBlank(name))
        return bytesOf(paper.RaceCaption[r], 8, 13);
    if (std::string repaired = pagetables::repairedRaceName(name); !repaired.empty())
        return repaired;
    if (const int edition = number(paper.card.RaceEdition[r], "回次"); edition != 0)
        return sj("第") + std::to_string(edition) + sj("回") + bytesOf(name, 1, 26);
    return bytesOf(name, 1, 36);
}

std::string meetingLine(const TRaceCard &c)
{
    return std::to_string(number(c.MeetYear, "開催年")) + sj("年 ") + std::to_string(number(c.MeetMonth, "開催月")) +
           sj("月 ") + std::to_string(number(c.MeetDay, "開催日")) + sj("日  第 ") +
           std::to_string(number(c.MeetKai, "開催回")) + sj(" 回  ") + std::to_string(number(c.MeetNichi, "開催日目")) +
           sj(" 日目");
}

std::string courseRecordLine(const TRaceCard &c, int race)
{
    const std::size_t r = static_cast<std::size_t>(race);
    const std::string &rec = c.RaceRecordTime[r];
    return sj("コースＲ  ") + bytesOf(rec, 1, 1) + " . " + bytesOf(rec, 2, 2) + " . " + bytesOf(rec, 4, 1) +
           sj("　") + bytesOf(c.RaceRecordHorse[r], 1, 18);
}

int prizeStep(double amount)
{
    if (amount >= 10000)
        return 0;
    if (amount >= 1000)
        return 1;
    if (amount >= 100)
        return 2;
    return 3;
}

double prizeAmount(const TRaceCard &c, int race, int place)
{
    return number(c.RacePrize[static_cast<std::size_t>(race)][static_cast<std::size_t>(place)], "賞金") / 10.0;
}

// ---------------------------------------------------------------------------

PageWriter::PageWriter(const TPageContext &ctx, const TNewspaper &paper)
    : ctx(ctx), paper(paper), card(paper.card), p(pageParams()), span(pageSpan()), font(paper.settings.font)
{
}

int PageWriter::X(int mm) const
{
    return MmToX(ctx, p.leftMm + mm);
}

int PageWriter::Y(int mm) const
{
    return MmToY(ctx, p.topMm + mm);
}

void PageWriter::V(int size) const
{
    SelectPageFont(ctx, size, true, font);
}

void PageWriter::H(int size, bool bold) const
{
    SelectHorizontalFont(ctx, size, bold, font);
}

void PageWriter::text(int xMm, int yMm, std::string_view s) const
{
    if (!s.empty())
        ctx.canvas.textOut(X(xMm), Y(yMm), s);
}

void PageWriter::colour(Rgb c) const
{
    ctx.canvas.setFontColour(c);
}

void PageWriter::pen(int width) const
{
    ctx.canvas.setPenWidth(width);
}

void PageWriter::across(int yMm, int x1Mm, int x2Mm) const
{
    ctx.canvas.moveTo(X(x1Mm), Y(yMm));
    ctx.canvas.lineTo(X(x2Mm), Y(yMm));
}

void PageWriter::down(int xMm, int y1Mm, int y2Mm) const
{
    ctx.canvas.moveTo(X(xMm), Y(y1Mm));
    ctx.canvas.lineTo(X(xMm), Y(y2Mm));
}

void PageWriter::whiten(const PageRect &fixed, int rightMm, int bottomMm) const
{
    PageRect rect = fixed;
    const int margin = std::max(p.thickPen, 1);
    rect.right = std::max(rect.right, X(rightMm) + margin);
    rect.bottom = std::max(rect.bottom, Y(bottomMm) + margin);
    ctx.canvas.setBrushColour(kWhite);
    ctx.canvas.fillRect(rect);
}

void drawPrizes(const PageWriter &w, int race, int leftX, int rightX, int topY)
{
    const auto &circled = w.paper.labels.CircledNumberText;
    w.H(8);
    for (int place = 1; place <= 5; ++place) {
        const int x = place <= 3 ? leftX : rightX;
        const int y = topY + 3 * ((place - 1) % 3);
        const double amount = prizeAmount(w.card, race, place);
        w.text(x, y, circled[static_cast<std::size_t>(place)]);
        w.text(x + 3 + prizeStep(amount), y, shortestDecimal(amount) + sj("万円"));
    }
}

void drawRunnersWithFigures(TNewspaper &paper, int n, int cells, const RunnerDrawing &draw)
{
    TRaceCard &c = paper.card;
    const TRaceSpan &span = pageSpan();
    TRunnerFigures &figures = paper.figures;
    figures.NoHistoryCount = 0;
    const TFigureInputs inputs{c, paper.masters, pastRacesSetting(paper.settings.kako)};
    for (int k = 0; k < n; ++k) {
        const int h = span.start + k;
        if (h < 0 || h >= TRaceCard::kHorses)
            break;
        draw.profile(k);
        figures.resetDeviations();
        const int rest = RestMonthsOf(c, h);
        figures.RestMonths[static_cast<std::size_t>(k)] = rest;
        for (int cell = 0; cell < cells; ++cell) {
            // A time of four blanks stays "0" in the race card from here on.
            std::string &time = c.PastTime[static_cast<std::size_t>(h)][static_cast<std::size_t>(cell + 1)];
            if (time == "    ")
                time = "0";
            draw.cell(k, cell, rest);
        }
        draw.afterCells(k);
        ComputeRunnerFigures(inputs, h, span.start, figures);
    }
}

int spanRunners(int start, int end)
{
    return std::clamp(end - start, 0, TRaceCard::kSlots);
}

void drawBandBrackets(const PageWriter &w, int n, const BandBracketPlaces &at)
{
    const std::array<Rgb, 9> colours = BracketColours(w.paper.settings.color, w.p.blueBracket);
    const auto &circled = w.paper.labels.CircledNumberText;
    const auto &numbers = w.paper.labels.HorseNumberText;
    const auto &words = BracketWords();
    // Band offsets count from the page top for the first runner, so band
    // item y = 15 mm per runner before it + offset; its top edge is at 27.
    auto base = [](int number) { return 15 * (number - 1); };
    const int x = at.xShift;

    w.H(9, true);
    for (int b = 1; b <= 8; ++b) {
        const TBracketRunners runners = bracketRunners(n, b);
        if (runners.count() == 0)
            continue;
        const std::size_t bi = static_cast<std::size_t>(b);
        int rule = base(runners.last) + 42;   // the bracket's lower edge
        if (runners.count() == 1) {
            const int y = base(runners.first);
            w.colour(kBlack);
            w.text(x + at.numberX, y + at.singleNumberY, numbers[static_cast<std::size_t>(runners.first)]);
            w.colour(colours[bi]);
            w.text(x + at.labelX, y + at.singleDigitY, circled[bi]);
            const int wordY = n == 15 && b == 1 ? at.firstWordYWith15 : at.singleWordY;
            w.text(x + at.labelX, y + wordY, words[bi]);
            // Up to 8 runners the heavy rule is each band's top edge.
            if (n <= 8)
                rule = y + 27;
        } else {
            w.colour(colours[bi]);
            if (runners.count() == 2) {
                // Around the rule between the bracket's two bands.
                const int middle = base(runners.first) + 42;
                const int digitY = n == 13 ? middle - 5 : middle - 4;
                w.text(x + at.labelX, digitY, circled[bi]);
                w.text(x + at.labelX, digitY + 5, words[bi]);
            } else {
                const int top = base(runners.first) + 27;
                for (int offset : {11, 26}) {
                    w.text(x + at.labelX, top + offset, circled[bi]);
                    w.text(x + at.labelX, top + offset + 5, words[bi]);
                }
            }
            w.colour(kBlack);
            for (int number = runners.first; number <= runners.last; ++number)
                w.text(x + at.numberX, base(number) + 33, numbers[static_cast<std::size_t>(number)]);
        }
        w.colour(kBlack);
        w.pen(w.p.thickPen);
        w.across(rule, x - 3, x + at.right);
    }
    w.colour(kBlack);
}

} // namespace zorbe::layout
