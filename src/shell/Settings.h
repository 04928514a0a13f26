#pragma once

#include "platform/ProfileFile.h"

#include <string>

namespace zorbe {

// The values the main window reads from the settings file and hands to the
// other windows: one snapshot, refreshed on every activation of the main
// window. Every string is the stored cp932 text, unchanged. Each reader keeps
// its own defaults (other windows read some keys with other defaults).
struct SettingsSnapshot
{
    // Read once, at start-up (TForm1.FormCreate).
    std::string racedat;   // [listdir] racedat: data folder
    std::string kisyu;     // [kisyufile] kisyu: jockey master file
    std::string cyoukyou;  // [tekifile] cyoukyou: trainer master file

    // Read on every activation (TForm1.FormActivate).
    std::string zorbe;         // [zorbedir] zorbe: program folder
    std::string lzhdat;        // [Lzhdir] lzhdat: race-day folder
    std::string seiseki;       // [seisekidir] seiseki: results folder
    std::string down;          // [downdir] down: download folder
    std::string ozzdir;        // [ozzdir] ozzdat: odds folder
    std::string ozzfile;       // [ozzfile] ozzdat: odds file of the KOL source
    std::string patwin;        // [PATWIN] PATWIN: PAT For Win folder
    std::string lastFileTime;  // [LastFileTime] LastFileTime
    std::string insatu;        // [Insatu] insatu: past races on the vertical page
    std::string font;          // [Font] Font
    std::string kako;          // [Kako] Kako: past races used by the time index
    std::string yosou;         // [Yosou] Yosou: picks shown
    std::string sinba;         // [Sinba] Sinba: picks for debut and jump races
    std::string sinbun;        // [sinbun] Sinbun: newspaper style
    std::string color;         // [Color] Color
    std::string ozz;           // [ozz] ozz: odds source
    std::string botan;         // [botan] botan: race buttons
    std::string zoom;          // [Zoom] Scale: display zoom in percent
};

// The readers' defaults of the main window.
namespace mainwindow_defaults {
inline constexpr const char *racedat = "d:\\zorbelab\\dat";
inline constexpr const char *kisyu = "d:\\zorbelab\\KISYU.DAT";
inline constexpr const char *cyoukyou = "C:\\zorbelab\\DAT\\CHOKYOSI.DAT";
inline constexpr const char *zorbe = "C:\\ZORBELAB";
inline constexpr const char *lzhdat = "d:\\zorbeLab\\JRA";
inline constexpr const char *seiseki = "d:\\zorbeLab\\sei";
inline constexpr const char *down = "d:\\zorbeLab\\down";
inline constexpr const char *ozzdir = "d:\\zorbeLab\\odds";
inline constexpr const char *ozzfile = "d:\\zorbeLab\\odds\\kol_ods.kd2";
inline constexpr const char *patwin = "C:\\patwin";
inline constexpr const char *lastFileTime = "20040617000000";
inline constexpr const char *insatu = "1";
inline constexpr const char *font = "1";
inline constexpr const char *kako = "0";
inline constexpr const char *yosou = "1";
inline constexpr const char *sinba = "0";
inline constexpr const char *sinbun = "0";
inline constexpr const char *color = "1";
inline constexpr const char *ozz = "1";
inline constexpr const char *botan = "0";
inline constexpr const char *zoom = "110";
} // namespace mainwindow_defaults

// TForm1.FormCreate's reads.
void readStartupSettings(const ProfileFile &settings, SettingsSnapshot &snapshot);
// TForm1.FormActivate's reads.
void readActivationSettings(const ProfileFile &settings, SettingsSnapshot &snapshot);

// On the very first start (no settings file yet): creates the folders the
// readers' defaults name, so that every dialog opens somewhere real, and
// starts the settings file with the master files, the download time and
// the newspaper settings of the settings dialog.
// Returns true when it did (the settings file was missing).
bool createDefaultFoldersOnFirstStart(const ProfileFile &settings);

} // namespace zorbe
