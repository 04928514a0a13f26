#include "db/PersonPages.h"

#include "db/DbPage.h"
#include "db/PersonLists.h"
#include "paper/PageModel.h"
#include "paper/PageTables.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"

#include <array>
#include <initializer_list>

namespace zorbe {
namespace {

using dbpage::bytesOf;
using dbpage::PageWriter;
using formats::ResultCountsFields;
using formats::TResultCounts;

const PageRect kPageExtent{0, 0, 600, 480};

// x positions of a cell chosen by its value: three for 100 or more / 10-99
// / below 10, two for 10 or more / below 10.
using Positions = std::vector<int>;

int countX(const Positions &xs, std::int64_t value)
{
    if (xs.size() == 3)
        return value >= 100 ? xs[0] : value >= 10 ? xs[1] : xs[2];
    return value >= 10 ? xs[0] : xs[1];
}

// A rate: exactly 100 at the first position, 10 or more at the second,
// below 10 at the third.
int rateX(const Positions &xs, std::int64_t tenths)
{
    return tenths >= 1000 ? xs[0] : tenths >= 100 ? xs[1] : xs[2];
}

Positions shifted(const Positions &xs, int by)
{
    Positions out = xs;
    for (int &x : out)
        x += by;
    return out;
}

// The columns of one table row: where its four counts and its rates go.
struct RowColumns
{
    std::array<Positions, 4> counts;
    Positions topTwoRate;  // 連対率
    Positions topThreeRate; // 復対率; empty when the row has none

    RowColumns shiftedBy(int by) const
    {
        RowColumns r{{shifted(counts[0], by), shifted(counts[1], by), shifted(counts[2], by), shifted(counts[3], by)},
                     shifted(topTwoRate, by),
                     shifted(topThreeRate, by)};
        return r;
    }
};

// One row: its label, its four counts and, when it has runs, its rates.
void drawRow(PageWriter &pg, int labelX, int y, const std::string &label, const TResultCounts &group,
             const RowColumns &columns)
{
    using C = ResultCountsFields;
    pg.text(labelX, y, label);
    const std::array<std::int64_t, 4> n{group.number(C::Wins), group.number(C::Seconds), group.number(C::Thirds),
                                        group.number(C::Others)};
    for (std::size_t c = 0; c < 4; ++c)
        pg.text(countX(columns.counts[c], n[c]), y, std::to_string(n[c]));
    const std::int64_t total = n[0] + n[1] + n[2] + n[3];
    if (total == 0)
        return;
    const std::int64_t topTwo = dbpage::rateTenths(n[0] + n[1], total);
    pg.text(rateX(columns.topTwoRate, topTwo), y, dbpage::rateText(topTwo));
    if (!columns.topThreeRate.empty()) {
        const std::int64_t topThree = dbpage::rateTenths(n[0] + n[1] + n[2], total);
        pg.text(rateX(columns.topThreeRate, topThree), y, dbpage::rateText(topThree));
    }
}

void vline(PageWriter &pg, int x, int y1, int y2)
{
    pg.line(x, y1, x, y2);
}

void hlines(PageWriter &pg, int x1, int x2, int yFrom, int yTo)
{
    for (int y = yFrom; y <= yTo; y += 5)
        pg.line(x1, y, x2, y);
}

// The display name as the page heads it: a name in Latin letters whole,
// else family name (bytes 1-6) and given name (bytes 17-22).
std::string pageName(std::string_view displayName, bool latin)
{
    return latin ? std::string(displayName) : bytesOf(displayName, 1, 6) + " " + bytesOf(displayName, 17, 6);
}

struct Date
{
    int year = 0, month = 0, day = 0;
};

// A YYYYMMDD date; the reader lets only digit dates through.
Date dateOf(std::string_view yyyymmdd)
{
    return {static_cast<int>(toInt(yyyymmdd.substr(0, 4), "年")),
            static_cast<int>(toInt(yyyymmdd.substr(4, 2), "月")),
            static_cast<int>(toInt(yyyymmdd.substr(6, 2), "日"))};
}

std::string birthText(const Date &birth, int currentYear)
{
    return std::to_string(birth.year) + sj("年") + " " + std::to_string(birth.month) + sj("月") + " " +
           std::to_string(birth.day) + sj("日") + "(" + std::to_string(currentYear - birth.year) + sj("歳)");
}

std::string tableTitle(const Date &made)
{
    return std::to_string(made.year) + sj("年成績") + sj("（") + std::to_string(made.month) + " " + sj("月") + " " +
           std::to_string(made.day) + " " + sj("日現在") + sj("）");
}

// The latest graded-race win: its race, the horse and the year; "" when the
// race key's year is "0000".
std::string gradedWinText(const formats::TGradedWinBlock &win, const std::string &afterRace)
{
    using G = formats::GradedWinFields;
    const std::string_view key = win.get(G::Key);
    const std::string year(key.substr(0, 4));
    if (year == "0000")
        return {};
    return dbpage::withoutTrailingBlanks(win.get(G::ShortName)) + afterRace +
           dbpage::withoutTrailingBlanks(win.get(G::HorseName)) + " " + year + sj("年");
}

// The four career counts joined by the separators.
template <class Rec>
std::string careerText(const Rec &rec, const formats::Field &field, std::initializer_list<const char *> separators)
{
    std::string text = std::to_string(rec.number(field, 1));
    std::size_t i = 2;
    for (const char *separator : separators)
        text += separator + std::to_string(rec.number(field, i++));
    return text;
}

// The prize text when this year's two main-prize parts are not 0.
template <class Rec>
std::string prizeText(const Rec &rec, int year)
{
    const std::int64_t sum = rec.number(Rec::ThisYearPrize, 1) + rec.number(Rec::ThisYearPrize, 3);
    if (sum == 0)
        return {};
    return std::to_string(year) + sj("年本賞金 ") + std::to_string(sum) + sj("000円");
}

// The two tables' rows of flat, jump and racecourse placings.
template <class Section>
void drawPlacingRows(PageWriter &pg, const Section &section, int labelX, const RowColumns &flat,
                     const RowColumns &jump, const RowColumns &bigCourse, const RowColumns &course)
{
    drawRow(pg, labelX, 66, sj("平地"), section.template blockAs<TResultCounts>(Section::Flat), flat);
    drawRow(pg, labelX, 71, sj("障害"), section.template blockAs<TResultCounts>(Section::Jump), jump);
    for (int c = 1; c <= 10; ++c) {
        const std::string code = (c < 10 ? "0" : "") + std::to_string(c);
        // 東京, 中山, 京都, 阪神 have the most runs: their other-finishes
        // column has room for three digits.
        const bool big = c == 5 || c == 6 || c == 8 || c == 9;
        drawRow(pg, labelX, 73 + 5 * c, pagetables::venueName(code),
                section.template blockAs<TResultCounts>(Section::Course, formats::courseGroup(static_cast<std::size_t>(c))),
                big ? bigCourse : course);
    }
}

// What both pages print above their tables: name, birth date and age,
// first licence and latest graded-race win, career placings, the tables'
// titles and this year's prize (rightX: where the right-hand texts start).
template <class Rec>
void drawProfile(PageWriter &pg, const Rec &rec, const Date &made, int rightX, const std::string &afterRace,
                 std::initializer_list<const char *> flatSeparators, std::initializer_list<const char *> jumpSeparators)
{
    const std::string_view name = rec.get(Rec::DisplayName);
    pg.text(21, 41, sj("氏  　名"));
    pg.text(40, 41, pageName(name, isLatinName(name)));
    pg.text(68, 41, sj("生年月日"));
    pg.text(86, 41, birthText(dateOf(rec.get(Rec::BirthDate)), made.year));

    pg.text(21, 46, sj("初免許年"));
    pg.text(40, 46, std::string(rec.get(Rec::FirstLicenceYear)) + sj("年"));
    pg.text(68, 46, sj("重賞勝鞍"));
    pg.text(85, 46, gradedWinText(rec.gradedWin(1), afterRace));

    pg.text(21, 51, sj("通算成績"));
    pg.text(40, 51, sj("平地 ") + careerText(rec, Rec::CareerFlat, flatSeparators));
    pg.text(rightX, 51, sj("障害  ") + careerText(rec, Rec::CareerJump, jumpSeparators));

    pg.text(21, 56, tableTitle(made));
    pg.text(rightX, 56, std::to_string(made.year - 1) + sj("年成績"));
    pg.text(120, 56, prizeText(rec, made.year));
}

} // namespace

std::string attachedTrainerText(const formats::TJockeyDetailRec &jockey, const std::vector<TMasterEntry> &trainers)
{
    using F = formats::JockeyDetailFields;
    const std::string_view code = jockey.get(F::TrainerCode);
    for (const TMasterEntry &t : trainers) {
        if (t.Code != code)
            continue;
        // The name without the full-width blank between family and given
        // name (nor the blanks after it).
        const std::string &name = t.Name;
        std::string joined = bytesOf(name, 1, 10);
        if (bytesOf(name, 3, 2) == formats::kWideSpace)
            joined = bytesOf(name, 1, 2) + bytesOf(name, 5, 6);
        else if (bytesOf(name, 5, 2) == formats::kWideSpace)
            joined = bytesOf(name, 1, 4) + bytesOf(name, 7, 6);
        else if (bytesOf(name, 7, 2) == formats::kWideSpace)
            joined = bytesOf(name, 1, 6) + bytesOf(name, 9, 4);
        return dbpage::withoutTrailingBlanks(joined);
    }
    const std::string_view affiliation = jockey.get(F::Affiliation);
    if (affiliation == "3" || affiliation == "4")
        return bytesOf(jockey.get(F::InviteRegion), 1, 6);
    return sj("フ リ ー");
}

void DrawJockeyPage(const TPageContext &ctx, const formats::TJockeyDetailRec &j,
                    const std::vector<TMasterEntry> &trainers, std::string_view fontSetting)
{
    using F = formats::JockeyDetailFields;
    using S = formats::JockeySectionFields;
    PageWriter pg(ctx);
    pg.whiten(kPageExtent);
    SelectPageFont(ctx, 10, false, fontSetting);

    const Date made = dateOf(j.get(F::DataDate));
    drawProfile(pg, j, made, 96, " ", {"-", "-", "-"}, {"- ", " -", "- "});
    pg.text(127, 41, sj("所属"));
    const std::string_view affiliation = j.get(F::Affiliation);
    pg.text(137, 41, sj(affiliation == "1" ? "美浦" : affiliation == "2" ? "栗東" : affiliation == "3" ? "地方" : "外国"));
    pg.text(145, 41, attachedTrainerText(j, trainers));

    // This year's table on the left, last year's 75 mm to the right.
    constexpr int kRight = 75;
    static const char *const kHeadings[] = {"一着", "二着", "三着", "着外"};
    for (int side = 0; side < 2; ++side) {
        const int shift = side * kRight;
        for (int c = 0; c < 4; ++c)
            pg.text((side ? 106 : 32) + 10 * c, 61, sj(kHeadings[c]));
        pg.text(71 + shift, 61, sj("連対率"));
        pg.text(84 + shift, 61, sj("復対率"));
    }
    const Positions rate2{71, 73, 75}, rate3{84, 86, 88};
    const RowColumns flat{{Positions{33, 35, 37}, {43, 45, 47}, {55, 57}, {63, 65, 67}}, rate2, rate3};
    const RowColumns jump{{Positions{35, 37}, {45, 47}, {55, 57}, {63, 65, 67}}, rate2, rate3};
    const RowColumns bigCourse{{Positions{34, 36}, {44, 46}, {54, 56}, {62, 64, 66}}, rate2, rate3};
    const RowColumns course{{Positions{34, 36}, {44, 46}, {54, 56}, {64, 66}}, rate2, rate3};
    const formats::TJockeySection sections[] = {j.section(F::ThisYear), j.section(F::LastYear)};
    for (int side = 0; side < 2; ++side) {
        const int shift = side * kRight;
        drawPlacingRows(pg, sections[side], 21 + shift, flat.shiftedBy(shift), jump.shiftedBy(shift),
                        bigCourse.shiftedBy(shift), course.shiftedBy(shift));
    }

    // Distance and surface: the six groups in the order of the rows.
    static const char *const kDistanceHeadings[] = {"距離別", "一着", "二着", "三着", "着外", "連対率"};
    static constexpr int kDistanceHeadingX[] = {21, 42, 52, 62, 72, 82};
    struct DistanceRow
    {
        const char *label;
        std::size_t group;
    };
    static constexpr DistanceRow kDistances[] = {{"～1600mＴ", 1}, {"～1600mＤ", 4}, {"～2200mＴ", 2},
                                                 {"～2200mＤ", 5}, {"2201m～Ｔ", 3}, {"2201m～Ｄ", 6}};
    const Positions distanceRate{82, 84, 86};
    const RowColumns shortDistance{{Positions{44, 46}, {54, 56}, {64, 66}, {73, 75, 77}}, distanceRate, {}};
    const RowColumns longDistance{{Positions{44, 46}, {54, 56}, {64, 66}, {75, 77}}, distanceRate, {}};
    for (int side = 0; side < 2; ++side) {
        const int shift = side * kRight;
        for (int h = 0; h < 6; ++h)
            pg.text(kDistanceHeadingX[h] + shift, 130, sj(kDistanceHeadings[h]));
        for (int row = 0; row < 6; ++row) {
            const RowColumns &columns = row < 4 ? shortDistance : longDistance;
            drawRow(pg, 21 + shift, 135 + 5 * row, sj(kDistances[row].label),
                    sections[side].blockAs<TResultCounts>(S::Distance, kDistances[row].group),
                    columns.shiftedBy(shift));
        }
    }

    // The grid, drawn last with the canvas's default pen.
    pg.canvas().setPenWidth(1);
    vline(pg, 20, 40, 164);
    vline(pg, 170, 40, 164);
    pg.line(20, 40, 170, 40);
    vline(pg, 39, 40, 55);
    vline(pg, 67, 40, 50);
    vline(pg, 84, 40, 50);
    vline(pg, 126, 40, 45);
    vline(pg, 136, 40, 45);
    for (const auto &[y1, y2] : {std::pair{50, 75}, std::pair{77, 127}, std::pair{129, 164}})
        vline(pg, 95, y1, y2);
    for (const int x : {82, 157, 30, 40, 50, 60, 70, 105, 115, 125, 135, 145}) {
        vline(pg, x, 60, 75);
        vline(pg, x, 77, 127);
    }
    for (const int x : {40, 50, 60, 70, 80, 115, 125, 135, 145, 155})
        vline(pg, x, 129, 164);
    hlines(pg, 20, 170, 45, 75);
    hlines(pg, 20, 170, 77, 127);
    hlines(pg, 20, 170, 129, 164);
}

void DrawTrainerPage(const TPageContext &ctx, const formats::TTrainerDetailRec &t, std::string_view fontSetting)
{
    using F = formats::TrainerDetailFields;
    PageWriter pg(ctx);
    pg.whiten(kPageExtent);
    SelectPageFont(ctx, 10, false, fontSetting);

    const Date made = dateOf(t.get(F::DataDate));
    drawProfile(pg, t, made, 95, "  ", {"  ", "  ", "  "}, {"  ", "  ", "  "});
    pg.text(131, 41, sj("所  属"));
    const std::string_view affiliation = t.get(F::Affiliation);
    pg.text(145, 41,
            affiliation == "1"   ? sj("美   浦")
            : affiliation == "2" ? sj("栗   東")
            : affiliation == "3" ? bytesOf(t.get(F::InviteRegion), 1, 8)
                                 : std::string());

    // This year's table on the left, last year's 74 mm to the right.
    constexpr int kRight = 74;
    static const char *const kHeadings[] = {"一着", "二着", "三着", "着外", "連対率", "復対率"};
    static constexpr int kHeadingX[] = {32, 42, 52, 62, 71, 83};
    const Positions rate2{71, 73, 75}, rate3{83, 85, 87};
    const RowColumns overall{{Positions{35, 37}, {45, 47}, {55, 57}, {63, 65, 67}}, rate2, rate3};
    const RowColumns course{{Positions{34, 36}, {44, 46}, {54, 56}, {64, 66}}, rate2, rate3};
    const formats::TTrainerSection sections[] = {t.section(F::ThisYear), t.section(F::LastYear)};
    for (int side = 0; side < 2; ++side) {
        const int shift = side * kRight;
        for (int h = 0; h < 6; ++h)
            pg.text(kHeadingX[h] + shift, 61, sj(kHeadings[h]));
        drawPlacingRows(pg, sections[side], 21 + shift, overall.shiftedBy(shift), overall.shiftedBy(shift),
                        course.shiftedBy(shift), course.shiftedBy(shift));
    }

    pg.canvas().setPenWidth(1);
    vline(pg, 20, 40, 127);
    vline(pg, 168, 40, 127);
    vline(pg, 39, 40, 55);
    vline(pg, 67, 40, 50);
    vline(pg, 84, 40, 50);
    vline(pg, 130, 40, 45);
    vline(pg, 144, 40, 45);
    for (const int x : {94, 82, 156, 30, 40, 50, 60, 70, 104, 114, 124, 134, 144}) {
        vline(pg, x, x == 94 ? 50 : 60, 75);
        vline(pg, x, 77, 127);
    }
    hlines(pg, 20, 168, 40, 75);
    hlines(pg, 20, 168, 77, 127);
}

TPageContext screenPersonContext(PageCanvas &canvas, int screenPpi)
{
    return {canvas, kPersonPageOriginX, kPersonPageOriginY, screenPpi};
}

} // namespace zorbe
