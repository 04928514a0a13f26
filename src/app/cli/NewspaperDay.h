#pragma once

#include "model/RaceCard.h"
#include "paper/Newspaper.h"
#include "platform/Desktop.h"
#include "platform/ProfileFile.h"
#include "platform/WinPath.h"
#include "shell/LabelTables.h"
#include "shell/MasterTables.h"
#include "shell/Settings.h"

#include <array>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

// What the newspaper subcommands share: a race day loaded the way the
// desktop loads it, without any window.
namespace zorbe::cli {

// A desktop for subcommands whose messages go to a stream of the command
// (the missing-file notes of the loaders).
class StreamDesktop : public ConsoleDesktop
{
public:
    explicit StreamDesktop(std::ostream &err) : m_err(err) {}
    void showMessage(const std::string &text) override;

private:
    std::ostream &m_err;
};

// A path given on the command line: a Windows-form path as the program
// writes them ("d:\zorbeLab\JRA\…"), or a native one (relative to the
// current folder).
WinPath pathArgument(const std::string &text);

// Which file of a race day is missing: the race card itself or the horse
// file (.HDT) beside it, named by its path; "" when both are there.
std::string missingRaceDayFile(const WinPath &raceCardFile);

// What the main window has read by the time another window opens: the
// settings of its start and its activation, the label tables and the
// master tables.
struct MainWindowState
{
    MainWindowState();
    MainWindowState(const MainWindowState &) = delete;
    MainWindowState &operator=(const MainWindowState &) = delete;

    ProfileFile settingsFile;
    SettingsSnapshot settings;
    MasterTables masters;
    LabelTables labels;
};

// The reads of the main window's start and activation, then its masters in
// the order it loads them (a missing master file is told to desktop).
void readMainWindowState(MainWindowState &state, DesktopServices &desktop);

// A meeting day as the race selection window holds it after "レース選択":
// the main window's state, the race card with odds and time corrections,
// and the newspaper built from them (race captions, race numbers and runner
// counts included).
struct NewspaperDay : MainWindowState
{
    NewspaperDay();

    std::unique_ptr<TRaceCard> card;
    std::unique_ptr<TNewspaper> paper;

    // Makes race r (1-based) the one the pages draw.
    void selectRace(int race);
};

// Loads the race-day file. Throws files::FileError for a race card or
// horse file that cannot be read and ConversionError for a damaged one.
std::unique_ptr<NewspaperDay> loadNewspaperDay(const WinPath &raceCardFile, DesktopServices &desktop);
// The same into a day object kept from an earlier load, as the desktop
// keeps its one race card: what the file does not hold stays.
void loadNewspaperDay(NewspaperDay &day, const WinPath &raceCardFile, DesktopServices &desktop);

// The batch print of the race selection window on a folder of PDF files:
// the checked races, one file per job, named by the job title, with the
// print edits stored for the day's style. Prints the progress texts (on a
// terminal one line in place), then each file written, and every problem,
// to the streams; false when the batch did not complete.
bool printNewspaperDay(NewspaperDay &day, const std::array<bool, 12> &checked, const std::filesystem::path &folder,
                       std::ostream &out, std::ostream &err, bool terminal = false);

// Races 1..12 from a list such as "1,3-5"; nothing when the list is not
// well formed or names a race outside 1..races.
std::optional<std::array<bool, 12>> parseRaceList(const std::string &text, int races);

// A whole number within lo..hi, or nothing.
std::optional<int> parseInt(const std::string &text, int lo, int hi);

} // namespace zorbe::cli
