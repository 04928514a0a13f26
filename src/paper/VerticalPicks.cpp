#include "paper/Picks.h"
#include "paper/VerticalPage.h"

#include "platform/Cp932.h"
#include "platform/Fields.h"

#include <algorithm>

namespace zorbe {

bool picksWanted(const TNewspaper &paper, int race)
{
    if (paper.settings.yosou != "1")
        return false;
    if (paper.settings.sinba == "1")
        return true;
    if (race < 0 || race >= TRaceCard::kRaces)
        return false;
    const std::size_t r = static_cast<std::size_t>(race);
    const TRaceCard &c = paper.card;
    for (std::size_t age = 1; age <= 2; ++age)
        if (c.RaceClass[r][age] == "701" || c.RaceClass[r][age] == "702")
            return false;
    const std::string &track = c.RaceTrack[r];
    if (track >= "51" && track <= "59" && track.size() == 2)
        return false;
    return paper.figures.NoHistoryCount < 3;
}

TPickTable RankPicks(const TRunnerFigures &figures, int n)
{
    TPickTable table;
    n = std::clamp(n, 0, TRaceCard::kSlots);
    table.runners = n;
    const std::array<const TRunnerFigures::PerSlot<double> *, 3> rows{&figures.HonshiFigure, &figures.ToraFigure,
                                                                      &figures.TimeFigure};
    for (std::size_t p = 0; p < 3; ++p) {
        const auto &f = *rows[p];
        std::array<double, TRaceCard::kSlots> sorted{};
        std::copy(f.begin(), f.begin() + n, sorted.begin());
        // Descending bubble sort: neighbours swap unless the first is at
        // least the second.
        for (int pass = n - 1; pass >= 1; --pass)
            for (int i = 0; i < pass; ++i)
                if (!(sorted[static_cast<std::size_t>(i)] >= sorted[static_cast<std::size_t>(i + 1)]))
                    std::swap(sorted[static_cast<std::size_t>(i)], sorted[static_cast<std::size_t>(i + 1)]);
        for (int rank = 1; rank <= n; ++rank)
            for (int k = 0; k < n; ++k)
                if (f[static_cast<std::size_t>(k)] == sorted[static_cast<std::size_t>(rank - 1)])
                    table.runner[p][static_cast<std::size_t>(rank)] = k + 1;
    }
    return table;
}

std::string pickMark(int rank, int n)
{
    static const char *const kMarks[] = {"◎", "○", "▲", "△", "×", "※"};
    const int marks = n > 7 ? 6 : 4;
    if (rank < 1 || rank > marks || rank > n)
        return {};
    return sj(kMarks[rank - 1]);
}

std::vector<std::string> pickPairs(const TPickTable &table, int row, const LabelTables &labels)
{
    static constexpr std::array<std::pair<int, int>, 6> kPairs{{{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {1, 5}}};
    const int n = table.runners;
    const std::size_t count = n > 7 ? 6 : 3;
    std::vector<std::string> pairs;
    for (std::size_t i = 0; i < count; ++i) {
        const auto [a, b] = kPairs[i];
        if (b > n)
            continue;
        int x = table.runner[static_cast<std::size_t>(row)][static_cast<std::size_t>(a)];
        int y = table.runner[static_cast<std::size_t>(row)][static_cast<std::size_t>(b)];
        if (x > y)
            std::swap(x, y);
        if (n > 8)
            pairs.push_back(labels.HorseNumberText[static_cast<std::size_t>(x)] + "-" +
                            labels.HorseNumberText[static_cast<std::size_t>(y)]);
        else
            pairs.push_back("   " + std::to_string(x) + std::to_string(y));
    }
    return pairs;
}

void DrawVerticalPicks(const TPageContext &ctx, TNewspaper &paper)
{
    const TRaceSpan &span = pageSpan();
    const TLayoutParams &p = pageParams();
    const int n = std::clamp(span.end - span.start, 0, TRaceCard::kSlots);
    const std::string &font = paper.settings.font;
    auto X = [&](int mm) { return MmToX(ctx, p.leftMm + mm); };
    auto Y = [&](int mm) { return MmToY(ctx, p.topMm + mm); };
    auto text = [&](int x, int y, const std::string &s) {
        if (!s.empty())
            ctx.canvas.textOut(X(x), Y(y), s);
    };

    ctx.canvas.setFontName(pageFaceName(font));
    ctx.canvas.setFontBold(false);
    if (n > 0 && picksWanted(paper, span.race)) {
        const TPickTable table = RankPicks(paper.figures, n);
        SelectHorizontalFont(ctx, 7, false, font);
        for (int row = 0; row < 3; ++row)
            for (int rank = 1; rank <= n; ++rank) {
                const std::string mark = pickMark(rank, n);
                const int runner = table.runner[static_cast<std::size_t>(row)][static_cast<std::size_t>(rank)];
                if (!mark.empty() && runner >= 1)
                    text(13 * (n - runner) + 6, 3 * (row + 1) + 2, mark);
            }
        SelectHorizontalFont(ctx, 6, false, font);
        text(13 * n + 2, 5, sj("本　 　紙"));
        text(13 * n + 2, 8, sj("虎 の 穴"));
        text(13 * n + 2, 11, sj("タ  イ  ム"));
        if (p.pastLast >= 3) {
            SelectHorizontalFont(ctx, 7, false, font);
            text(13 * n + 5, 167, sj("本紙　虎穴　TIME"));
            for (int row = 0; row < 3; ++row) {
                const std::vector<std::string> pairs = pickPairs(table, row, paper.labels);
                for (std::size_t i = 0; i < pairs.size(); ++i)
                    text(13 * n + 7 * (row + 1) - 2, 170 + 4 * static_cast<int>(i), pairs[i]);
            }
        }
    }
    paper.figures.NoHistoryCount = 0;
}

} // namespace zorbe
