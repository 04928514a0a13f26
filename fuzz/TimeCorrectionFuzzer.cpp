// The time-correction files of any bytes: "STIME.DAT" as the race-day loader
// reads it for the time index (every race drawn), and both files as the
// upkeep reads them before it adds a results day.

#include "FuzzSupport.h"

#include "data/convert/TimeCorrection.h"
#include "platform/WinPath.h"

using namespace zorbe;
using namespace zorbe::fuzz;

static std::vector<std::string> seeds()
{
    const std::string &stime = sampleDay().timeCorrections;
    return {stime, firstRecords(stime, 132, 1),
            sampleFile("drives/d/zorbeLab/dat/cSTIME.DAT")};
}

ZORBE_FUZZ_TARGET(seeds)
{
    SampleDay day = sampleDay();
    day.timeCorrections = std::string(input);
    drawEveryRace(placeDay(day));

    // The upkeep: a results day added to damaged time-correction files.
    const DayFiles f = dayFiles();
    put(f.timeCorrections.parent_path() / "cSTIME.DAT", input);
    const fs::path results = home() / "drives/d/zorbeLab/sei/fuzz.SDT";
    static const std::string sampleResults
        = get(sampleFiles("drives/d/zorbeLab/sei", ".SDT").front()).substr(0, 3048 * 2);
    put(results, sampleResults);
    SilentConversionView view;
    ConversionFolders folders{WinPath("d:\\zorbeLab\\down"), WinPath("d:\\zorbeLab\\JRA"), WinPath("d:\\zorbeLab\\sei"),
                              WinPath("d:\\zorbelab\\dat")};
    readerMayRefuse([&] { AppendTimeCorrection(folders, WinPath::fromNative(results), view); });
}
