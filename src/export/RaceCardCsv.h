#pragma once

#include "shell/LabelTables.h"

#include <string>
#include <string_view>

// "R.CSV": the entries of a meeting day for a spreadsheet, from the race
// card file alone. For every race a title line, the column header and one
// row per runner: bracket, horse number, name, sex and age, blinkers,
// weight carried, apprentice mark, jockey and trainer.
namespace zorbe::csvexport {

// Appends the lines of "R.CSV" for the race card file's bytes to out.
// Only whole lines are appended; a record that cannot be written (a number
// of entries or a year that is not a number) raises ExportError naming
// fileName (UTF-8) and the record, and the lines before it stay in out.
void appendRaceCardCsv(std::string_view raceCardFile, const LabelTables &labels, std::string_view fileName,
                       std::string &out);

} // namespace zorbe::csvexport
