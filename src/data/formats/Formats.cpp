#include "data/formats/Codes.h"
#include "data/formats/MasterFormats.h"
#include "data/formats/RaceDayFormats.h"
#include "data/formats/ResultFormats.h"

#include <algorithm>

namespace zorbe::formats {

bool TPastRaceRec::isMissing() const
{
    const TRaceKey k = blockAs<TRaceKey>(Key);
    return isBlank(k.get(TRaceKey::Year)) || isBlank(k.get(TRaceKey::Kai));
}

std::string oddsDayKey(const TRaceKey &key)
{
    const auto venue = codes::oddsVenueNumber(key.get(TRaceKey::Venue));
    if (venue.empty())
        return {};
    std::string out(venue);
    out += key.get(TRaceKey::Year);
    out += key.get(TRaceKey::Kai);
    out += key.get(TRaceKey::Nichi);
    out += key.get(TRaceKey::RaceNo);
    return out;
}

TPayoutEntry TPayoutEntry::fromBytes(std::string_view bytes)
{
    if (bytes.size() == kLongLength)
        return TPayoutEntry(PayoutLongFields::kLayout, bytes);
    return TPayoutEntry(PayoutShortFields::kLayout, bytes); // checks the length
}

void TSummaryMasterRec::setCounts(std::int64_t wins, std::int64_t seconds, std::int64_t thirds,
                                  std::int64_t others)
{
    const auto capped = [](std::int64_t v) { return std::clamp<std::int64_t>(v, 0, 999); };
    setNumber(Wins, capped(wins));
    setNumber(Seconds, capped(seconds));
    setNumber(Thirds, capped(thirds));
    setNumber(Others, capped(others));
}

TSTimeRec TCSTimeRec::toSTime() const
{
    return TSTimeRec::fromBytes(bytes().substr(0, Distance.offset) + "\r\n");
}

} // namespace zorbe::formats
