// The odds files of any bytes, the day file (.odz) or the venue file (.odd)
// by the input's first byte, read by the race-day loader and shown on every
// race's page.

#include "FuzzSupport.h"

#include "platform/ProfileFile.h"

using namespace zorbe;
using namespace zorbe::fuzz;

static std::vector<std::string> seeds()
{
    const SampleDay &day = sampleDay();
    return {"1" + day.dayOdds, "1" + firstRecords(day.dayOdds, 1504, 1), "0" + day.venueOdds,
            "2" + firstRecords(day.venueOdds, 92, 1)};
}

ZORBE_FUZZ_TARGET(seeds)
{
    if (input.empty())
        return;
    const std::string mode = input[0] == '1' ? "1" : input[0] == '0' ? "0" : "2";
    SampleDay day = sampleDay();
    (mode == "1" ? day.dayOdds : day.venueOdds) = std::string(input.substr(1));
    const fs::path rdt = placeDay(day);
    ProfileFile(ProfileFile::defaultPath()).writeString("ozz", "ozz", mode);
    drawEveryRace(rdt);
}
