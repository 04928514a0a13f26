// The horse file (.HDT) of any bytes: alone, as the horse export reads it,
// and with the sample day's race card as the race-day loader pairs them;
// every race that loads is drawn.

#include "FuzzSupport.h"

#include "model/RaceCard.h"
#include "platform/WinPath.h"

using namespace zorbe;
using namespace zorbe::fuzz;

static std::vector<std::string> seeds()
{
    const SampleDay &day = sampleDay();
    return {day.horses, firstRecords(day.horses, 2881, 1)};
}

ZORBE_FUZZ_TARGET(seeds)
{
    SampleDay day = sampleDay();
    day.horses = std::string(input);
    const fs::path rdt = placeDay(day);
    static const auto card = makeRaceCard();
    card->HorseFileName = WinPath::fromNative(dayFiles().horses).text();
    readerMayRefuse([&] { LoadHorses(*card); });
    drawEveryRace(rdt);
}
