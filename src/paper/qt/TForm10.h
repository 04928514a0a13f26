#pragma once

namespace zorbe {

} // namespace zorbe
