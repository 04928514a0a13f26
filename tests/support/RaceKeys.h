#pragma once

#include "data/formats/RaceDayFormats.h"
#include "platform/Fields.h"

#include <string>

namespace zorbe::test {

// The key of race no of a meeting day: by default 東京 (05), 3rd meeting,
// 8th day, 2004-06-27.
inline formats::TRaceKey raceKey(int no, const std::string &venue = "05", const std::string &date = "20040627")
{
    using K = formats::RaceKeyFields;
    formats::TRaceKey k;
    k.set(K::Year, date.substr(0, 4));
    k.set(K::MonthDay, date.substr(4, 4));
    k.set(K::Venue, venue);
    k.set(K::Kai, "03");
    k.set(K::Nichi, "08");
    k.set(K::RaceNo, zeroPad(no, 2));
    return k;
}

} // namespace zorbe::test
