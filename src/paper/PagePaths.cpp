#include "paper/PagePaths.h"

#include "paper/HorizontalPage.h"
#include "paper/ProgrammePage.h"
#include "paper/VerticalPage.h"

#include <algorithm>
#include <cmath>

namespace zorbe {
namespace {

// The routines of one style. The programme page has no picks panel.
struct StyleRoutines
{
    void (*body)(const TPageContext &, TNewspaper &);
    void (*frame)(const TPageContext &, const TNewspaper &);
    void (*picks)(const TPageContext &, TNewspaper &);
};

StyleRoutines routinesOf(PageStyle style)
{
    switch (style) {
    case PageStyle::Horizontal:
        return {DrawHorizontalPage, DrawHorizontalFrame, DrawHorizontalPicks};
    case PageStyle::Programme:
        return {DrawProgrammePage, DrawProgrammeFrame, nullptr};
    case PageStyle::Vertical:
        break;
    }
    return {DrawVerticalPage, DrawVerticalFrame, DrawVerticalPicks};
}

bool picksShown(const TNewspaper &paper, const StyleRoutines &routines)
{
    return routines.picks && paper.settings.yosou == "1";
}

// How far the page of 18 runners reaches, in page millimetres.
struct PageReach
{
    int right = 0;
    int bottom = 0;
};

PageReach fullPageReach(PageStyle style, const TLayoutParams &p)
{
    switch (style) {
    case PageStyle::Horizontal:
        return {250, 27 + 15 * 18};
    case PageStyle::Programme:
        return {201, 27 + 15 * 18};
    case PageStyle::Vertical:
        break;
    }
    // 13 mm a column plus the header column; the frame ends 13 mm above the
    // page bottom.
    return {13 * 18 + 26, p.pageBottom - 13};
}

} // namespace

TScreenSetup ScreenSetupFor(const TNewspaper &paper, int zoom, int screenPpi)
{
    return screenPageSetup(paper.settings.style(), paper.settings.pageSettings(), zoom, screenPpi);
}

TPageContext DrawScreenPage(PageCanvas &canvas, TNewspaper &paper, int zoom, int screenPpi)
{
    const TScreenSetup setup = ScreenSetupFor(paper, zoom, screenPpi);
    pageParams() = setup.params;
    const TPageContext ctx{canvas, setup.originX, setup.originY, setup.dpi};
    // On the screen the frame comes before the picks.
    const StyleRoutines routines = routinesOf(paper.settings.style());
    routines.body(ctx, paper);
    routines.frame(ctx, paper);
    if (picksShown(paper, routines))
        routines.picks(ctx, paper);
    return ctx;
}

PageStyle printedStyle(const TNewspaper &paper, PrintPath path)
{
    const PageStyle style = paper.settings.style();
    return path == PrintPath::Popup && style != PageStyle::Vertical ? PageStyle::Horizontal : style;
}

SheetOrientation printedSheet(const TNewspaper &paper, PrintPath path)
{
    return printedStyle(paper, path) == PageStyle::Vertical ? SheetOrientation::Landscape
                                                            : SheetOrientation::Portrait;
}

void DrawPrintedPage(const TPageContext &ctx, TNewspaper &paper, PrintPath path, const TPrintEdits &edits)
{
    const TPageSettings settings = paper.settings.pageSettings();
    const PageStyle style = paper.settings.style();
    PageStyle drawn = style;
    switch (path) {
    case PrintPath::DisplayButton:
        pageParams() = displayPrintParams(style, settings, edits);
        break;
    case PrintPath::Popup: {
        const TPopupPrint popup = popupPrintParams(style, settings, edits);
        pageParams() = popup.params;
        drawn = popup.printedStyle;
        break;
    }
    case PrintPath::Batch:
        pageParams() = batchPrintParams(style, settings, edits);
        break;
    }
    // On paper the picks come before the frame.
    const StyleRoutines routines = routinesOf(drawn);
    routines.body(ctx, paper);
    if (picksShown(paper, routines))
        routines.picks(ctx, paper);
    routines.frame(ctx, paper);
}

PageRect pageExtent(PageStyle style)
{
    return style == PageStyle::Vertical ? PageRect{0, 0, 1600, 1315} : PageRect{0, 0, 1600, 1730};
}

PageBoxSize screenPageBoxSize(const TNewspaper &paper, int zoom, int screenPpi, double sheetWidthInches,
                              double sheetHeightInches)
{
    const PageStyle style = paper.settings.style();
    // The sheet as the style prints on it.
    const double longSide = std::max(sheetWidthInches, sheetHeightInches);
    const double shortSide = std::min(sheetWidthInches, sheetHeightInches);
    const bool upright = style != PageStyle::Vertical;
    const double across = upright ? shortSide : longSide;
    const double down = upright ? longSide : shortSide;
    PageBoxSize box{static_cast<int>(std::lround(across * screenPpi * zoom / 100.0)),
                    static_cast<int>(std::lround(down * screenPpi * zoom / 100.0))};

    // The screen draws the page larger than the sheet: the box also holds the
    // page of 18 runners.
    const TScreenSetup setup = ScreenSetupFor(paper, zoom, screenPpi);
    const TLayoutParams &p = setup.params;
    const PageReach reach = fullPageReach(style, p);
    box.width = std::max(box.width, mmToDevice(p.leftMm + reach.right, setup.dpi, p.hFactor, setup.originX) + p.thickPen);
    box.height =
        std::max(box.height, mmToDevice(p.topMm + reach.bottom, setup.dpi, p.vFactor, setup.originY) + p.thickPen);
    return box;
}

} // namespace zorbe
