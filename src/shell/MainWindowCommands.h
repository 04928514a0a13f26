#pragma once

#include <filesystem>

#include "platform/Desktop.h"
#include "shell/AppState.h"

#include <string>

// What the main window does, apart from drawing itself. The Qt window calls
// these; so do the tests, with a scripted desktop.
namespace zorbe::mainwindow {

// The homepage and the support address shown by the link labels.
inline constexpr const char *kHomepage = "https://zorbe.example.jp/";
inline constexpr const char *kSupportMail = "support@zorbe.example.jp";

// FormCreate: (re)open the settings, read the start-up values, then load the
// trainer and the jockey master tables (in that order).
void formCreate(AppState &app, DesktopServices &desktop);

// FormShow: initialise the data link; returns the text of status panel 1
// (the version text, or "" when the link did not initialise).
std::string formShow(AppState &app);

// FormActivate: re-read the settings the main window distributes and
// rebuild the label tables.
void formActivate(AppState &app);

// "JV-Link設定": the component's settings dialog; returns status panel 0.
std::string setupDataLink(AppState &app);

// "レース選択": the open dialog in the race-day folder, then the whole
// meeting day into the race card. Returns true when a day was loaded (the
// race selection window is then shown); false when the dialog was cancelled
// or the load failed (the error has been shown, the main window stays).
bool chooseAndLoadRaceDay(AppState &app, DesktopServices &desktop);
// The load of "レース選択" for a file already chosen: the whole meeting day
// into the race card. A missing or damaged file is shown as an error and
// gives false.
bool loadRaceDay(AppState &app, const WinPath &raceCardFile, DesktopServices &desktop);

// "成績データ表示": the open dialog in the results folder, then the results
// tables. Returns true when a results file was loaded.
bool chooseAndLoadResults(AppState &app, DesktopServices &desktop);

// "HELP": opens <program folder>\DataLab.chm with its default program when
// that file exists, else the installed manual in the browser (when there is
// none either, the help file all the same, so the desktop says it is missing).
void openHelp(const AppState &app, DesktopServices &desktop);

// The manual installed with the program: share/doc/zorbe/manual/index.html
// beside the executable's bin folder, else under /usr; empty when neither.
std::filesystem::path installedManual();

// "DLﾌｧｲﾙ削除": choose one downloaded file and move it to the trash.
void deleteDownloadFile(const AppState &app, DesktopServices &desktop);

// Label3: the homepage in the web browser.
void openHomepage(DesktopServices &desktop);

// Label4: the notice, then the mail program with a prepared subject.
void openSupportMail(DesktopServices &desktop);
std::string supportMailUrl();

} // namespace zorbe::mainwindow
