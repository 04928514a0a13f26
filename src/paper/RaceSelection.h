#pragma once

#include "paper/Newspaper.h"

namespace zorbe {

} // namespace zorbe
