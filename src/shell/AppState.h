#pragma once

#include "link/JVLink.h"
#include "model/RaceCard.h"
#include "model/Results.h"
#include "paper/Newspaper.h"
#include "platform/ProfileFile.h"
#include "shell/LabelTables.h"
#include "shell/MasterTables.h"
#include "shell/Settings.h"

#include <memory>
#include <string>

namespace zorbe {

// The program-wide state the windows share, alive for the whole run:
// the settings object and the values read from it, the master and label
// tables, and the data-link component. Later subsystems add their tables
// (page parameters, ...) beside these.
struct AppState
{
    explicit AppState(std::unique_ptr<IJVLink> link);

    ProfileFile settingsFile;   // "zorbelab.Ini"
    SettingsSnapshot settings;  // what the main window read last
    MasterTables masters;       // JockeyTable, TrainerTable
    LabelTables labels;         // CircledNumberText, HorseNumberText, RaceNumberText
    TJVLink JVLink1;
    std::string JVLinkVersion;  // version digits without leading zeros (download caption)
    std::string JVLinkVersionCaption; // " JV-Link Ver.x.y.z"

    std::unique_ptr<TRaceCard> raceCard; // the meeting day chosen with "レース選択"
    std::unique_ptr<TResults> results;   // the results day chosen with "成績データ表示"
    std::unique_ptr<TNewspaper> newspaper; // the pages of the race card's day
};

} // namespace zorbe
