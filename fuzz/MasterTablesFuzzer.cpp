// A summary master file ("KISYU.DAT", "CHOKYOSI.DAT") of any bytes, read
// into the master tables as at start-up.

#include "FuzzSupport.h"

#include "platform/Desktop.h"
#include "platform/WinPath.h"
#include "shell/MasterTables.h"

using namespace zorbe;
using namespace zorbe::fuzz;

static std::vector<std::string> seeds()
{
    const SampleDay &day = sampleDay();
    return {day.jockeys, firstRecords(day.trainers, 52, 3)};
}

ZORBE_FUZZ_TARGET(seeds)
{
    const fs::path file = home() / "drives/d/zorbelab/dat/KISYU.DAT";
    put(file, input);
    MasterTables tables;
    loadMasterFile(WinPath::fromNative(file), tables.JockeyTable, silentDesktop(), kJockeyFileMissingMessage);
    if (tables.JockeyTable.size() > MasterTables::kCapacity)
        __builtin_trap();
}
