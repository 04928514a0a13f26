#pragma once

#include "paper/Newspaper.h"
#include "paper/PageCanvas.h"
#include "paper/PrintTarget.h"

#include <string>

namespace zorbe {

// The drawing paths of a newspaper page. Each sets the page parameters of
// its path, then draws the page of the race in pageSpan() in the path's
// order, in the style of paper.settings.style(). The race-programme page
// has no picks panel and holds the race after pageSpan()'s as well.
//
// All of them throw ConversionError (a race-card field or an edit that is
// not a number) and files::FileError (an odds file that cannot be read);
// the caller reports it once and ends the command.

// Screen: zoom 65-110 percent on a screen of screenPpi pixels per inch.
// Sets the parameters, computes dpi and origin, and draws body, frame,
// picks. Returns the context it drew with.
TPageContext DrawScreenPage(PageCanvas &canvas, TNewspaper &paper, int zoom, int screenPpi);
// The screen page's setup alone (dpi, origin, parameters).
TScreenSetup ScreenSetupFor(const TNewspaper &paper, int zoom, int screenPpi);

enum class PrintPath
{
    DisplayButton, // the display window's print button
    Popup,         // the display window's popup-menu print
    Batch,         // the race selection window's batch print
};

// A printed page on ctx (dpi = printer resolution, origin = printing
// offset): parameters of the path, then body, picks, frame.
void DrawPrintedPage(const TPageContext &ctx, TNewspaper &paper, PrintPath path, const TPrintEdits &edits);

// The layout a print path draws (the popup print draws every style but the
// vertical as the horizontal page) and the sheet it needs: the vertical
// page on its side, the others upright. Set it on the printer before the
// job begins.
PageStyle printedStyle(const TNewspaper &paper, PrintPath path);
SheetOrientation printedSheet(const TNewspaper &paper, PrintPath path);

// The device rectangle a page body whitens first (its full extent).
PageRect pageExtent(PageStyle style);

// The zoom at which pageExtent() is given (the screen's largest).
inline constexpr int kPageExtentZoom = 110;

// The screen's page box at zoom, in pixels: the printer's sheet (given in
// inches, either way up) turned as the style prints it, at the screen's
// resolution, and never smaller than the style's page of 18 runners.
struct PageBoxSize
{
    int width = 0;
    int height = 0;
};
PageBoxSize screenPageBoxSize(const TNewspaper &paper, int zoom, int screenPpi, double sheetWidthInches,
                              double sheetHeightInches);

} // namespace zorbe
