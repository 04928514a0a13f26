#pragma once

#include "platform/Desktop.h"
#include "platform/WinPath.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zorbe {

// One person of a summary master file ("KISYU.DAT", "CHOKYOSI.DAT").
struct TMasterEntry
{
    std::string Code;   // 5 bytes, as stored
    std::string Name;   // 32 bytes, as stored (full-width text padded with blanks)
    std::string Region; // 1 byte: the affiliation code
    double TopTwoRate = 0.0; // (1st + 2nd) / (1st + 2nd + 3rd + others); 0 when 1st + 2nd is 0
};

// The jockey and trainer master tables, in file order, read once at start-up.
struct MasterTables
{
    static constexpr std::size_t kCapacity = 801; // index 0..800
    static constexpr std::size_t kLineLength = 52;

    std::vector<TMasterEntry> JockeyTable;
    std::vector<TMasterEntry> TrainerTable;
};

// One 52-byte summary line as a master entry; throws ConversionError when a
// count is not a decimal number.
TMasterEntry parseMasterLine(std::string_view line);

// How a master file load ended.
enum class MasterLoad
{
    Loaded,   // every record read (possibly none)
    Missing,  // the file does not exist: the missing message was shown
    Stopped,  // a record could not be read: the error was shown, the table
              // keeps the records before it
};

// Reads a summary master file into table (cleared first). A missing file
// shows missingMessage. A count that is not a number, or a file that cannot
// be read, shows the error and stops there. Records past the capacity are
// not read, so the table never overflows.
MasterLoad loadMasterFile(const WinPath &file, std::vector<TMasterEntry> &table, DesktopServices &desktop,
                          const std::string &missingMessage);

// The two messages of a missing master file.
extern const char *const kTrainerFileMissingMessage;
extern const char *const kJockeyFileMissingMessage;

} // namespace zorbe
