#pragma once

#include "shell/LabelTables.h"

#include <string>
#include <string_view>

// The two results CSV files of a results file (".SDT").
//   "S1.CSV": one row per race with its conditions, every win, place,
//   bracket-quinella and quinella payout and the runners that did not run
//   or finish normally; a dead heat adds a line with the second payouts.
//   "S2.CSV": one row per race with the winner's time, the first and last
//   600 m and the fourth-corner positions of the first two.
namespace zorbe::csvexport {

// Each appends its lines for the results file's bytes to out. Only whole
// lines are appended; a record that cannot be written (a time, lap or
// distance the row computes with that is not a number) raises ExportError
// naming fileName (UTF-8) and the record, and the lines before it stay.
void appendResultsCsv1(std::string_view resultsFile, const LabelTables &labels, std::string_view fileName,
                       std::string &out);
void appendResultsCsv2(std::string_view resultsFile, const LabelTables &labels, std::string_view fileName,
                       std::string &out);

} // namespace zorbe::csvexport
