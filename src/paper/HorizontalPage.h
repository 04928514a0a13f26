#pragma once

#include "paper/Newspaper.h"
#include "paper/PageCanvas.h"

namespace zorbe {

// The horizontal newspaper page of the race in pageSpan(): the race header
// across the top, then one band per runner in number order with its last
// five races side by side, the oldest at the left. Coordinates are
// millimetres from pageParams(); a page of n runners is 27 + 15·n mm tall.
//
// DrawHorizontalPage writes every text and the rest rules between past
// races, and leaves the runner figures in paper.figures for the picks panel
// (it must run first on a page). A past-race time of four blanks becomes
// "0" in the race card.
// Throws ConversionError when a race-card field that must be a number is
// not, and files::FileError when the PAT odds file cannot be read.
void DrawHorizontalPage(const TPageContext &ctx, TNewspaper &paper);
// The grid, the borders and the bracket column.
void DrawHorizontalFrame(const TPageContext &ctx, const TNewspaper &paper);
// The three rows of pick marks in the bands and their pair lists in the
// header (setting Yosou "1").
void DrawHorizontalPicks(const TPageContext &ctx, TNewspaper &paper);

} // namespace zorbe
