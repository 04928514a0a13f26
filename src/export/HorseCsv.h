#pragma once

#include "model/RaceCard.h"
#include "shell/LabelTables.h"
#include "shell/MasterTables.h"

#include <string>
#include <string_view>

// "U.CSV": the horses of a meeting day for a spreadsheet. For every race of
// the race card a title line and the column header, then one row per runner
// with its entry, the horse's profile, its 92 placing counts and its last
// five races.
namespace zorbe::csvexport {

// Appends the lines of "U.CSV" for the race card file's bytes to out. The
// runners' horses are the horse tables of horses (the day's horse file,
// loaded by LoadHorses), the next entries in race order; trainers are
// looked up in masters.TrainerTable.
//
// Only whole lines are appended. A record that cannot be written (a number
// of entries or a year that is not a number, a horse the horse file does
// not hold) raises ExportError naming fileName (UTF-8) and the record; the
// lines before it stay in out.
void appendHorseCsv(std::string_view raceCardFile, const TRaceCard &horses, const MasterTables &masters,
                    const LabelTables &labels, std::string_view fileName, std::string &out);

// The column header line, CR LF included (223 fields).
const std::string &horseCsvHeader();

} // namespace zorbe::csvexport
