#pragma once

#include "data/convert/ConversionSupport.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorbe {

class ProfileFile;

// The date S of the weekly files for a race date d (both yyyymmdd): the
// first of d-1 .. d-4 for which exists(S) holds (a candidate only when its
// day part is 1..31). When one of d-1 .. d-4 falls on day "00" (the month
// changed), the last days of the previous month, 31 down to 26, then the
// 1st of d's month are tried as well, and a date found there replaces the
// first result. Nothing when no candidate exists.
std::optional<std::string> weeklyFileDate(std::string_view raceDate,
                                          const std::function<bool(const std::string &date)> &exists);

// The four weekly files of one date, full paths in the download folder:
// races ("RAQW"), runners ("SEQW"), horses ("UMPW"), course records
// ("RCPW").
struct WeeklyFileNames
{
    WinPath races, runners, horses, courseRecords;
    static WeeklyFileNames of(const WinPath &downFolder, const std::string &date);
};

// The entries conversion: for every race-card day (finished download
// names such as 東京20040627.RLB, in download order) a race card file
// (.RDT) and a horse file (.HDT) in the race-day folder, from the day's
// race and runner downloads and the weekly race, runner, horse and
// course-record files. Keeps the weekly file names in the settings
// ([SRace], [Zuma], [UM], [Rcde]) and deletes the previous week's files
// when newer ones are taken. Then rebuilds the master files.
void convertEntryDays(const std::vector<std::string> &days, ProfileFile &settings, const ConversionContext &context);

} // namespace zorbe
