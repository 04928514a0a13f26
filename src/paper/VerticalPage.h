#pragma once

#include "paper/Newspaper.h"
#include "paper/PageCanvas.h"

namespace zorbe {

// The vertical newspaper page of the race in pageSpan(): one column per
// runner, read from right to left, the race header at the right and the
// runner's last three to five races stacked below its profile. Coordinates
// are millimetres from pageParams().
//
// DrawVerticalPage writes every text and the rest rules of the past-race
// cells, and leaves the runner figures in paper.figures for the picks panel
// (it must run first on a page). It also repairs the race card: a past-race
// time of four blanks becomes "0".
// Throws ConversionError when a race-card field that must be a number is
// not, and files::FileError when the PAT odds file cannot be read.
void DrawVerticalPage(const TPageContext &ctx, TNewspaper &paper);
// The grid, the borders and the bracket row.
void DrawVerticalFrame(const TPageContext &ctx, const TNewspaper &paper);
// The three rows of pick marks and their pair lists (setting Yosou "1").
void DrawVerticalPicks(const TPageContext &ctx, TNewspaper &paper);

} // namespace zorbe
