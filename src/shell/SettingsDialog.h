#pragma once

#include "platform/Desktop.h"
#include "platform/ProfileFile.h"
#include "shell/Settings.h"

#include <optional>
#include <string>
#include <string_view>

// What the initial settings dialog "初期設定" does, apart from drawing
// itself: which buttons its activation selects, what "確　定" writes and
// what "参照" puts in the folder field. The Qt window calls these; so do the
// tests, with a scripted desktop.
namespace zorbe::settingsdialog {

// The dialog's choices as the stored digit strings. An empty string is a
// group with no button selected (an odds source the dialog does not know).
struct Choices
{
    std::string insatu; // 縦書／印刷表示: "2" 三走, "0" 四走, "1" 五走
    std::string font;   // フォント指定: "0" 明朝, "1" ゴシック
    std::string yosou;  // 新聞予想: "0" 無, "1" 有
    std::string kako;   // 予想方法: the text of the "計算競走数" edit
    std::string sinbun; // 新聞の作成方法: "0" 縦書き, "1" 横書き, "2" JRAプログラム
    std::string sinba;  // 新馬障害予想: "0" 無し, "1" 有り
    std::string color;  // カラー表示: "0" 無し, "1" 有り
    std::string ozz;    // オッズ表示: "0" PAT, "1" KOL, "2" ZOR
    std::string botan;  // 新聞レースボタン: "0" ＯＮ, "1" ＯＦＦ
    std::string hosei;  // タイム補正表示: "0" 無し, "1" 有り

    bool operator==(const Choices &) const = default;
};

// The dialog's own readers' defaults (they differ from the main window's
// for Kako, Yosou and sinbun).
namespace defaults {
inline constexpr const char *insatu = "1";
inline constexpr const char *font = "1";
inline constexpr const char *kako = "5";
inline constexpr const char *yosou = "0";
inline constexpr const char *sinba = "0";
inline constexpr const char *sinbun = "1";
inline constexpr const char *color = "1";
inline constexpr const char *hosei = "1";
inline constexpr const char *ozz = "1";
inline constexpr const char *botan = "0";
inline constexpr const char *patwin = "C:\\Program Files\\PATWIN50";
} // namespace defaults

// The message shown when the "計算競走数" edit holds no number from 0 to 5.
inline constexpr const char *kKakoRefusedMessage
    = "計算競走数には 0～5 の数字を入力して下さい。\n設定は保存されていません。";

// FormCreate: [PATWIN] PATWIN with the dialog's default, stored as the
// program's PAT folder. Returns the folder field's first text.
std::string formCreate(const ProfileFile &settings, SettingsSnapshot &snapshot);

// FormActivate: reads the settings with the dialog's defaults, stores them
// as the program's values and returns the buttons to select.
Choices formActivate(const ProfileFile &settings, SettingsSnapshot &snapshot);

// The buttons a set of stored values selects: Insatu "2" and "1" their
// counts and anything else four; Font, Yosou, Sinba, Color other than "0" on;
// sinbun "0", "1" their styles and anything else the programme; ozz "0"-"2"
// their sources and anything else none; botan "0" ON, hosei "0" off.
Choices selectionOf(const Choices &stored);

// True when the calculation depth is a number from 0 to 5 (ASCII digits,
// nothing else): the time index reads it as a number.
bool kakoAcceptable(std::string_view kako);

// "確　定". Refuses a calculation depth that is not a number from 0 to 5
// with a message, writing nothing. Otherwise, in this order: each of Yosou,
// Insatu, Font, Sinba, Kako, Sinbun, Color and OZZ has its section erased and
// then its one key written (a group without a selected button stays
// erased); botan and hosei are written; PATWIN is written with the folder
// field (its section erased first when the field is not empty). Then, when
// the folder exists without an "ODDS" subfolder, that subfolder is made.
// A settings file that did not take the values, or an "ODDS" folder that
// cannot be made, is reported with a message.
// Returns true when the dialog may close (everything was done).
bool confirm(ProfileFile &settings, const Choices &choices, const std::string &patFolder,
             DesktopServices &desktop);

// The keys "確　定" writes, for a fresh settings file: the same order, the
// same sections and spellings.
void writeChoices(ProfileFile &settings, const Choices &choices);

// "参照": the open dialog for the PAT For Win program, starting in the
// folder the field names (the program's PAT folder when the field is
// empty). Returns the folder of the chosen file without a final "\" (in
// the Windows form when it lies in the program's drives), or nothing when
// the dialog was cancelled.
std::optional<std::string> browsePatFolder(const std::string &patFolder, const SettingsSnapshot &snapshot,
                                           DesktopServices &desktop);

// The folder of a program file, without a final "\" (also for a file at the
// root of a drive: "C:\PAT.EXE" gives "C:").
std::string folderOf(const WinPath &file);

// The choices a new settings file starts with: the dialog's defaults, so
// that the pages, the main window and the dialog agree from the first start;
// picks stay on as the main window has them, so a new user sees them.
Choices firstStartChoices();

} // namespace zorbe::settingsdialog
