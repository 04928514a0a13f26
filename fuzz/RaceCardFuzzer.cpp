// The race-day loader on a race card file (.RDT) of any bytes, with the real
// horse file, time corrections, masters and odds of a sample day beside it;
// every race it loads is drawn.

#include "FuzzSupport.h"

using namespace zorbe::fuzz;

static std::vector<std::string> seeds()
{
    const SampleDay &day = sampleDay();
    return {day.raceCards, firstRecords(day.raceCards, 1463, 1)};
}

ZORBE_FUZZ_TARGET(seeds)
{
    SampleDay day = sampleDay();
    day.raceCards = std::string(input);
    drawEveryRace(placeDay(day));
}
