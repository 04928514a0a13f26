#include "paper/VerticalPage.h"

#include "paper/PageModel.h"

namespace zorbe {

void DrawVerticalPage(const TPageContext &ctx, TNewspaper &)
{
    ctx.canvas.setBrushColour(kWhite);
    ctx.canvas.fillRect({0, 0, 1600, 1315});
}

void DrawVerticalFrame(const TPageContext &, const TNewspaper &) {}

} // namespace zorbe
