#pragma once

#include "paper/Newspaper.h"
#include "paper/PageCanvas.h"

namespace zorbe {

// The race-programme page: the race in pageSpan() on the left and the race
// after it on the right, 101 mm further, each with its header and one band
// per runner (pedigree, connections, weight, odds, records, running style
// and the last three finishing positions). The right half is drawn only
// when the day has that race and it has runners.
// Throws ConversionError when a race-card field that must be a number is
// not, and files::FileError when the PAT odds file cannot be read.
void DrawProgrammePage(const TPageContext &ctx, TNewspaper &paper);
// The grid, the borders and the bracket columns of both races.
void DrawProgrammeFrame(const TPageContext &ctx, const TNewspaper &paper);

} // namespace zorbe
