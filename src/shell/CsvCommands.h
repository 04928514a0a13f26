#pragma once

#include "platform/Desktop.h"
#include "shell/AppState.h"

#include <optional>

// The main window's CSV exports ("CSV形式出力" and "TIMEデータ変換"): the
// open dialog, the busy cursor while the file is written, and the error
// report. Each returns the file it wrote; nothing when the dialog was
// cancelled or the export failed (the error, naming the file, has been
// shown; a file cut short keeps the lines before the damaged record).
namespace zorbe::mainwindow {

// "競走馬CSV出力": a race card file and its horse file to "U.CSV".
std::optional<WinPath> exportHorseCsv(const AppState &app, DesktopServices &desktop);
// "出馬表CSV出力": a race card file to "R.CSV".
std::optional<WinPath> exportRaceCardCsv(const AppState &app, DesktopServices &desktop);
// "成績CSV出力1" and "成績CSV出力2": a results file to "S1.CSV" or "S2.CSV".
std::optional<WinPath> exportResultsCsv1(const AppState &app, DesktopServices &desktop);
std::optional<WinPath> exportResultsCsv2(const AppState &app, DesktopServices &desktop);
// "TIMEデータ変換" and "タイムデータCSV形式出力": the data folder's
// "cSTIME.DAT" to "CSVSTIME.CSV"; without "cSTIME.DAT" nothing happens.
std::optional<WinPath> exportTimeCsv(const AppState &app, DesktopServices &desktop);

} // namespace zorbe::mainwindow
