#include "paper/PagePaths.h"

#include "paper/VerticalPage.h"

namespace zorbe {

TScreenSetup ScreenSetupFor(const TNewspaper &paper, int zoom, int screenPpi)
{
    return screenPageSetup(paper.settings.style(), paper.settings.pageSettings(), zoom, screenPpi);
}

TPageContext DrawScreenPage(PageCanvas &canvas, TNewspaper &paper, int zoom, int screenPpi)
{
    // The vertical page's own screen setup serves every style until the
    // horizontal and programme layouts are drawn by their own routines.
    const TScreenSetup setup =
        screenPageSetup(PageStyle::Vertical, paper.settings.pageSettings(), zoom, screenPpi);
    pageParams() = setup.params;
    const TPageContext ctx{canvas, setup.originX, setup.originY, setup.dpi};
    DrawVerticalPage(ctx, paper);
    DrawVerticalFrame(ctx, paper);
    if (paper.settings.yosou == "1")
        DrawVerticalPicks(ctx, paper);
    return ctx;
}

void DrawPrintedPage(const TPageContext &ctx, TNewspaper &paper, PrintPath path, const TPrintEdits &edits)
{
    const TPageSettings settings = paper.settings.pageSettings();
    switch (path) {
    case PrintPath::DisplayButton:
        pageParams() = displayPrintParams(PageStyle::Vertical, settings, edits);
        break;
    case PrintPath::Popup:
        pageParams() = popupPrintParams(PageStyle::Vertical, settings, edits).params;
        break;
    case PrintPath::Batch:
        pageParams() = batchPrintParams(PageStyle::Vertical, settings, edits);
        break;
    }
    DrawVerticalPage(ctx, paper);
    if (paper.settings.yosou == "1")
        DrawVerticalPicks(ctx, paper);
    DrawVerticalFrame(ctx, paper);
}

PageRect pageExtent(PageStyle style)
{
    return style == PageStyle::Vertical ? PageRect{0, 0, 1600, 1315} : PageRect{0, 0, 1600, 1730};
}

} // namespace zorbe
