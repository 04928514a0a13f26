#pragma once

#include "paper/Newspaper.h"
#include "paper/PageCanvas.h"

#include <string>

namespace zorbe {

// The drawing paths of a newspaper page. Each sets the page parameters of
// its path, then draws the page of the race in pageSpan() in the path's
// order. The style is paper.settings.style(); the horizontal and
// race-programme layouts are drawn as the vertical page until they exist.
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

// The device rectangle a page body whitens first (its full extent).
PageRect pageExtent(PageStyle style);

} // namespace zorbe
