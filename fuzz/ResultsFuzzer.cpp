// A results file (.SDT) of any bytes: the results loader, and the
// time-correction upkeep that reads a results file back after writing it.

#include "FuzzSupport.h"

#include "data/convert/TimeCorrection.h"
#include "model/Results.h"
#include "platform/WinPath.h"

using namespace zorbe;
using namespace zorbe::fuzz;

static std::vector<std::string> seeds()
{
    const std::string sdt = get(sampleFiles("drives/d/zorbeLab/sei", ".SDT").front());
    return {firstRecords(sdt, 3048, 2), firstRecords(sdt, 3048, 1)};
}

ZORBE_FUZZ_TARGET(seeds)
{
    clearHome();
    const fs::path file = home() / "drives/d/zorbeLab/sei/fuzz.SDT";
    put(file, input);
    auto results = makeResults();
    results->ResultFileName = WinPath::fromNative(file).text();
    readerMayRefuse([&] { LoadResults(*results); });

    SilentConversionView view;
    ConversionFolders folders{WinPath("d:\\zorbeLab\\down"), WinPath("d:\\zorbeLab\\JRA"), WinPath("d:\\zorbeLab\\sei"),
                              WinPath("d:\\zorbelab\\dat")};
    readerMayRefuse([&] { AppendTimeCorrection(folders, WinPath::fromNative(file), view); });
}
