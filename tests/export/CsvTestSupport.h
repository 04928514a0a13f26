#pragma once

#include "data/formats/RaceDayFormats.h"
#include "data/formats/ResultFormats.h"
#include "platform/WinPath.h"

#include "support/CsvLines.h"
#include "support/RaceKeys.h"

#include <functional>

#include <string>
#include <vector>

namespace zorbe::test {

// The lines and fields of a CSV file as UTF-8, for readable comparisons.
std::vector<std::string> utf8Lines(const std::string &bytes);
std::vector<std::string> utf8Fields(const std::string &line);

// A race card line with n runners: horse numbers 1..n, bracket (j + 1) / 2,
// horse ids 2001000000 + j, 57.0 kg, jockey 武豊, trainer 池江.
formats::TRaceCardRec raceCard(int no, int n);
// A horse line with id and name, everything else as a new record holds it
// (past races blank).
formats::THorseRec horse(const std::string &id, const std::string &utf8Name);

// A results line of race no with n runners finishing in slot order (times
// 1:34.5, 1:34.7, ...), laps of 12.0 s, and a win, place, bracket and
// quinella payout each.
formats::TResultRec result(int no, int n, const std::string &venue = "05");
// Payout entry e of field f set from its three parts.
void setPayout(formats::TResultRec &rec, const formats::Field &f, std::size_t e, const std::string &number,
               const std::string &payout, const std::string &popularity);

// The message of the ExportError that write() must raise; a failure of the
// test when it raises none.
std::string exportError(const std::function<void()> &write);

// Writes bytes to a Windows-form path (its folder created).
void putFile(const WinPath &path, const std::string &bytes);

} // namespace zorbe::test
