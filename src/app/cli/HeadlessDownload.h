#pragma once

#include <iosfwd>
#include <string>

namespace zorbe::cli {

// How a headless download ended.
struct DownloadOutcome
{
    bool ok = false;         // read to the end and converted, or nothing new to fetch
    bool nothingNew = false; // the data link had nothing since the from-time
    int damaged = 0;         // records the data link left out as damaged
    int entryDays = 0;       // race-card days handed to the entries conversion
    int resultDays = 0;      // results days handed to the results conversion
};

// How a headless download shows its progress.
struct DownloadReporting
{
    // Status texts, the days handed to each conversion and one line per
    // converted day.
    std::ostream &lines;
    // Damaged records and errors.
    std::ostream &err;
    // A terminal to keep one progress line on, updated in place (the
    // delivered files and records read, then each conversion's days), or
    // nullptr.
    std::ostream *terminal = nullptr;
    // Every caption change on lines as well, one line each.
    bool verbose = false;
};

// The download run of the download window without a window, then the
// conversions it hands off to: what the data link published since the
// from-time (empty: [LastFileTime]) up to its clock (empty: the link's
// own), reported as reporting says. A run that does not complete leaves
// [LastFileTime] where it was, so the same command fetches it all again.
DownloadOutcome downloadAndConvert(const std::string &from, const std::string &now,
                                   const DownloadReporting &reporting);

} // namespace zorbe::cli
