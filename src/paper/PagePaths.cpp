#include "paper/PagePaths.h"

#include "paper/VerticalPage.h"

#include <algorithm>
#include <cmath>

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

PageBoxSize screenPageBoxSize(const TNewspaper &paper, int zoom, int screenPpi, double sheetWidthInches,
                              double sheetHeightInches)
{
    PageBoxSize box{static_cast<int>(std::lround(sheetWidthInches * screenPpi * zoom / 100.0)),
                    static_cast<int>(std::lround(sheetHeightInches * screenPpi * zoom / 100.0))};

    // The sheet alone cuts the vertical page off (it is wider and taller than
    // A4 on the screen): the box also holds the page of 18 runners, whose
    // frame runs to 13 mm a column plus 26 mm and ends 13 mm above the page
    // bottom.
    const TScreenSetup setup = screenPageSetup(PageStyle::Vertical, paper.settings.pageSettings(), zoom, screenPpi);
    const TLayoutParams &p = setup.params;
    box.width = std::max(box.width, mmToDevice(p.leftMm + 13 * 18 + 26, setup.dpi, p.hFactor, setup.originX) + p.thickPen);
    box.height = std::max(box.height, mmToDevice(p.topMm + p.pageBottom - 13, setup.dpi, p.vFactor, setup.originY) + p.thickPen);

    // The other styles whiten their full extent, given at the largest zoom.
    const PageStyle style = paper.settings.style();
    if (style != PageStyle::Vertical) {
        const PageRect extent = pageExtent(style);
        const double scale = double(setup.dpi) / MulDiv(screenPpi, kPageExtentZoom, 72);
        box.width = std::max(box.width, static_cast<int>(std::lround(extent.right * scale)));
        box.height = std::max(box.height, static_cast<int>(std::lround(extent.bottom * scale)));
    }
    return box;
}

} // namespace zorbe
