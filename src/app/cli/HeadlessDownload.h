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

// The download run of the download window without a window, then the
// conversions it hands off to: what the data link published since the
// from-time (empty: [LastFileTime]) up to its clock (empty: the link's
// own). Status texts, captions and converted days go to out, damaged
// records and errors to err. A run that does not complete leaves
// [LastFileTime] where it was, so the same command fetches it all again.
DownloadOutcome downloadAndConvert(const std::string &from, const std::string &now, std::ostream &out,
                                   std::ostream &err);

} // namespace zorbe::cli
