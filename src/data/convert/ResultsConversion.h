#pragma once

#include "data/convert/ConversionSupport.h"

#include <string>
#include <vector>

namespace zorbe {

class DesktopServices;

// The message shown when the first results day has no race card: a
// mid-week download brings nominations and masters but no race details.
std::string missingRaceCardMessage();

// The results conversion: for every results day (finished download names
// such as 東京20040627.RLB, in download order) a results file (.SDT) in the
// results folder from the day's race, runner and payout downloads and the
// course records of its race card, and a time-correction line; then the
// consumed downloads are deleted and the master files rebuilt from master
// records the same download brought. Without a race card for the first day
// (or without any day) only the master files are rebuilt, and the desktop
// shows why.
void convertResultDays(const std::vector<std::string> &days, DesktopServices &desktop,
                       const ConversionContext &context);

} // namespace zorbe
