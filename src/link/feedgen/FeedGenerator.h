#pragma once

#include "link/feedgen/FeedSeason.h"
#include "platform/WinPath.h"

#include <string>
#include <vector>

// Publishes a simulated season as a feed folder of the data link, week by
// week as a subscriber receives it:
//   Thursday  nominations (RA/SE kind "1"), jockey and trainer masters,
//             and the files the download run skips;
//   Friday    the weekend's race cards (RA/SE kind "2") and the weekly
//             files dated that Thursday (RAQW, SEQW, UMPW, RCPW);
//   Monday    the results (RA/SE kind "7", "9" for a cancelled race) and
//             the payouts of each race day (HRSW + race date).
// A feed file is named by the 12-character delivered name and the 14-digit
// time stamp, then ".txt"; its content is cp932 records ending in CR LF.
namespace zorbe::feedgen {

struct GeneratedFile
{
    std::string name;    // file name in the feed folder
    std::string content; // records
};

// Every file of the feed, in delivery order.
std::vector<GeneratedFile> publishFeed(const Season &season);
// The odds files of each race day (".odz" per day, ".odd" per venue and day).
std::vector<GeneratedFile> publishOdds(const Season &season);

// Simulates and writes the feed (and, when oddsFolder is not empty, the
// odds files). Returns the number of files written.
int generateFeed(const FeedOptions &options, const WinPath &outFolder, const WinPath &oddsFolder);

} // namespace zorbe::feedgen
