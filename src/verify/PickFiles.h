#pragma once

#include "index/TimeIndex.h"
#include "model/RaceCard.h"
#include "shell/MasterTables.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorbe {

class ProfileFile;

// The day's picks as three text files in the W.A.R.S pick layout, one per
// pick type: a three-line title block, then one line per race with the top
// pick and three or six two-horse points, the course, class, distance and
// post time. The return-rate check reads them back by byte position.

// The pick types in the order their files are written.
enum class PickType { Honshi = 1, Tora = 2, Time = 3 };

// "本紙", "虎の穴", "タイム" (cp932): the word in file names.
std::string pickTypeWord(PickType type);

// Venue name by the number in a racecourse code ("05" 東京, cp932); empty
// for any other code.
std::string venueNameOf(std::string_view venueCode);

// The settings a run reads.
struct TPickFileSettings
{
    std::string copy;  // [copyfile] copy: the output folder
    std::string sinba; // Sinba: "0" leaves out races without picks
    std::string kako;  // Kako: past races of the time index; its first four characters end the title line
};

// [copyfile] copy with this output's default.
std::string pickFolderSetting(const ProfileFile &settings);
inline constexpr const char *kPickFolderDefault = "C:\\ZORBE\\txt";

// copy + "\" + venue name + MeetYear + MeetMonth + MeetDay + word + ".TXT".
WinPath pickFileName(const std::string &folder, const TRaceCard &card, int venueRace, PickType type);

// Line 2 of a pick file (cp932), for the venue of race venueRace.
// Raises ConversionError for a meeting number, day or month that is not a
// number.
std::string pickTitleLine(const TRaceCard &card, int venueRace, PickType type, std::string_view kako);

// The course text of a track code (three characters, blank outside the
// table) and the class text of race r (four bytes).
std::string pickCourseText(std::string_view track);
std::string pickClassText(const TRaceCard &card, int r);

// A point of two runner numbers (lower first), five characters: " 3-12"
// (long form) or "   15" (short form); five blanks when a runner is
// missing (0).
std::string pickPoint(int a, int b, bool longForm);

// The rest interval of a runner for the picks, in months: 1 when its most
// recent race has no year ("0000" or blanks); otherwise the month
// difference, plus 12 per year for a year difference of 1 to 3.
int pickRestInterval(std::string_view meetYear, std::string_view meetMonth, std::string_view pastYear,
                     std::string_view pastMonthDay);

// Everything the three files are built from.
struct TPickFileInputs
{
    TRaceCard &card;            // CurrentRace is moved race by race and left at the last race
    const MasterTables &masters;
    TPickFileSettings settings;
};

// The contents of the three files (cp932, CR LF), in pick-type order, and
// their names.
struct TPickFile
{
    WinPath name;
    std::string bytes;
};

// Computes every runner's figures (left in `figures` for the last race)
// and builds the three files. Raises ConversionError for a race-card field
// that must be a number and is not, std::out_of_range for a race larger
// than the tables.
std::vector<TPickFile> BuildPickFiles(const TPickFileInputs &in, TRunnerFigures &figures);

// BuildPickFiles, then writes the files (each replaced). Raises
// files::FileError when a file cannot be written; the files before it stay
// as written.
std::vector<TPickFile> WritePickFiles(const TPickFileInputs &in, TRunnerFigures &figures);

} // namespace zorbe
