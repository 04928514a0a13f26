#pragma once

#include "index/TimeIndex.h"
#include "model/RaceCard.h"
#include "paper/PageModel.h"
#include "shell/LabelTables.h"
#include "shell/MasterTables.h"

#include <array>
#include <string>

namespace zorbe {

struct SettingsSnapshot;
class ProfileFile;

// The settings the newspaper pages read, as stored (cp932).
struct TPaperSettings
{
    std::string sinbun = "0";  // [sinbun] Sinbun: page style
    std::string insatu = "1";  // [Insatu] insatu: past races on the vertical page
    std::string font = "1";    // [Font] Font: "0" Mincho, else Gothic
    std::string color = "1";   // [Color] Color: "1" colour printing
    std::string yosou = "1";   // [Yosou] Yosou: picks panel shown
    std::string sinba = "0";   // [Sinba] Sinba: picks for debut and jump races
    std::string kako = "0";    // [Kako] Kako: past races the time index uses
    std::string hosei = "1";   // [hosei] hosei: time-correction averages shown
    std::string ozz = "1";     // [ozz] ozz: odds source
    std::string patwin = "C:\\patwin"; // [PATWIN] PATWIN: PAT For Win folder

    TPageSettings pageSettings() const { return {insatu, font, color}; }
    PageStyle style() const;   // Sinbun; an unknown value is the vertical page
};

// The newspaper settings from the main window's snapshot, plus [hosei] hosei
// (which only the race selection window reads, default "1").
TPaperSettings paperSettingsFrom(const SettingsSnapshot &snapshot, const ProfileFile &settingsFile);

// What the pages of a meeting day are drawn from: the race card, the master
// and label tables, the texts the race selection window builds for the day,
// and the runner figures the page body leaves for the picks panel.
// One object for the program's run, shared by the race selection window,
// the display window, batch printing and the subcommands.
struct TNewspaper
{
    TNewspaper(TRaceCard &card, const MasterTables &masters, const LabelTables &labels)
        : card(card), masters(masters), labels(labels)
    {
    }

    TRaceCard &card;
    const MasterTables &masters;
    const LabelTables &labels;
    TPaperSettings settings;

    // Built when the race selection window is activated: the 51-byte race
    // captions (index r = 0 for 1R) and the full-width race numbers
    // (index 1..12, "１" … "１２").
    std::array<std::string, 12> RaceCaption;
    std::array<std::string, 13> RaceNumberWide;
    // Runners per race, taken from the race card at the same time; races
    // that do not exist keep their previous count.
    std::array<int, 12> RunnerCounts{};

    // The figures the page body computes for each runner of the race it
    // draws; the picks panel of the same page reads them.
    TRunnerFigures figures;
};

} // namespace zorbe
