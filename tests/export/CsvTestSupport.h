#pragma once

#include "data/formats/RaceDayFormats.h"
#include "data/formats/ResultFormats.h"
#include "platform/WinPath.h"

#include <string>
#include <vector>

namespace zorbe::test {

// The lines of a CSV file (cp932), each without its CR LF. A line that does
// not end in CR LF fails the test.
std::vector<std::string> csvLines(const std::string &bytes);
// The fields of a line.
std::vector<std::string> csvFields(const std::string &line);
// The same as UTF-8, for readable comparisons.
std::vector<std::string> utf8Lines(const std::string &bytes);
std::vector<std::string> utf8Fields(const std::string &line);

// The key of race no at 東京 (05), 3rd meeting, 8th day, 2004-06-27.
formats::TRaceKey raceKey(int no, const std::string &venue = "05", const std::string &date = "20040627");

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

// Writes bytes to a Windows-form path (its folder created).
void putFile(const WinPath &path, const std::string &bytes);

} // namespace zorbe::test
