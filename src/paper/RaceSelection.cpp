#include "paper/RaceSelection.h"

namespace zorbe {

} // namespace zorbe
