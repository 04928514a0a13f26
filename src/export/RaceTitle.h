#pragma once

#include "model/RecordFields.h"
#include "shell/LabelTables.h"

#include <cstddef>
#include <string>
#include <string_view>

// The race title line that heads every race of the horse and race-card CSV
// files, and the code texts it is made of.
namespace zorbe::csvexport {

enum class TitleStyle
{
    WithName, // the horse CSV: flat races show the race name and weight rule
    Plain,    // the race-card CSV: neither
};

// The title line of the race card record at position (1-based, which picks
// its RaceNumberText; a position past 12 has none), without CR LF. Jump
// races whose class has a jump text are titled by it; every other race
// gets race kind, class, (name, weight rule,) track, distance and runners.
std::string raceTitleLine(const RecordFields &race, std::size_t position, const LabelTables &labels,
                          TitleStyle style);

// The texts of the title line, by the race card's codes; empty for a code
// (or a combination of conditions) that has no text.
std::string_view raceKindText(std::string_view kind);
std::string_view weightRuleText(std::string_view rule);
std::string_view trackText(std::string_view track);

// The class of a race from its grade and its first four condition codes:
// the first rule that any of the codes matches ("701" before "702" ...).
// 13 bytes each.
struct RaceConditions
{
    std::string grade;
    std::string codes[4];

    static RaceConditions of(const RecordFields &race);
    bool any(std::string_view code) const;
};
std::string_view classText(const RaceConditions &conditions);
std::string_view jumpClassText(const RaceConditions &conditions);

// The race name cut before its first full-width space at byte 7, 9, ... 29
// (a name that starts with one is empty; without one the whole field).
std::string_view cutRaceName(std::string_view name);

// Track codes "51".."59".
bool isJumpTrack(std::string_view track);

// Sex and age as both race card exports write them: the sex text (the
// horse CSV writes a gelding "せん", the race-card CSV "ｾﾝ"), then the age in
// kanji from race year minus birth year when it is 2 to 11. Raises
// ConversionError when a year is not a number.
std::string sexAndAge(std::string_view sexCode, std::string_view raceYear, std::string_view birthYear,
                      std::string_view geldingText);

// The runner fields written the same way by both exports.
std::string blinkerText(std::string_view flag);         // "1" -> "Ｂ"
std::string_view apprenticeMark(std::string_view code); // "1" -> "☆" ...

} // namespace zorbe::csvexport
