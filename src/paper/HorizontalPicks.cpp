#include "paper/HorizontalPage.h"

#include "paper/LayoutSupport.h"
#include "paper/PageModel.h"
#include "paper/Picks.h"
#include "platform/Cp932.h"

namespace zorbe {

void DrawHorizontalPicks(const TPageContext &ctx, TNewspaper &paper)
{
    const layout::PageWriter w(ctx, paper);
    const int n = layout::spanRunners(w.span.start, w.span.end);
    ctx.canvas.setFontName(pageFaceName(w.font));
    ctx.canvas.setFontBold(false);
    if (n > 0 && picksWanted(paper, w.span.race)) {
        const TPickTable table = RankPicks(paper.figures, n);
        // The marks stand in the runner's band, one column per row: 本紙
        // at the right, タイム at the left.
        w.H(8 - w.p.fontReduce);
        for (int row = 0; row < 3; ++row)
            for (int rank = 1; rank <= n; ++rank) {
                const std::string mark = pickMark(rank, n);
                const int runner = table.runner[static_cast<std::size_t>(row)][static_cast<std::size_t>(rank)];
                if (!mark.empty() && runner >= 1)
                    w.text(13 - 3 * (row + 1), 15 * runner + 18, mark);
            }
        // The pairs of each row on a line of the header.
        static const char *const kLabels[] = {"本紙", "虎穴", "TIME"};
        static constexpr int kPairX[] = {182, 191, 200, 209, 218, 227};
        for (int row = 0; row < 3; ++row) {
            w.text(174, 4 * (row + 1), sj(kLabels[row]));
            const std::vector<std::string> pairs = pickPairs(table, row, paper.labels);
            for (std::size_t i = 0; i < pairs.size() && i < std::size(kPairX); ++i)
                w.text(kPairX[i], 4 * (row + 1), pairs[i]);
        }
    }
    paper.figures.NoHistoryCount = 0;
}

} // namespace zorbe
