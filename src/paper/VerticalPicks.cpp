#include "paper/VerticalPage.h"

namespace zorbe {

void DrawVerticalPicks(const TPageContext &, TNewspaper &) {}

} // namespace zorbe
