#pragma once

#include <string>
#include <string_view>

// The texts the results pages print for the stored codes and numbers of a
// results file (cp932). Each gives "" for a code outside its list.
namespace zorbe::resulttexts {

// Race kind after the race label: "11" " ２歳指" … "24" "ｱﾗ４歳上".
std::string kindText(std::string_view kind);
// Kinds "18" and "19".
bool isJumpRace(std::string_view kind);

// The class text of a race from its youngest-age condition code and its
// 60-byte name: the summary line's short form and the race page's long one
// (without the grade, which the race page prints apart). The race page of
// a jump race names the jump classes instead.
std::string summaryClassText(std::string_view classCode, std::string_view raceName);
std::string raceClassText(std::string_view classCode, std::string_view raceName, std::string_view kind);
// The grade the race page prints beside an open race: "ＧⅠ", "ＧⅡ", "ＧⅢ", "ＯＰ".
std::string gradeText(std::string_view grade);

// Track: the summary's one character ("直", "芝", "ダ") and the race
// page's word (" 芝直線　", " ダート　", "障　害", …).
std::string summaryTrackText(std::string_view track);
std::string raceTrackText(std::string_view track);
// Going "良", "稍", "重", "不".
std::string goingText(std::string_view going);
// Weather "  晴" … "小雪".
std::string weatherText(std::string_view weather);
// Sex "牡", "牝", "ｾﾝ".
std::string sexText(std::string_view sex);

// Margin by its three-character code: the summary's texts, and the race
// page's with one blank fewer inside the two-character words.
std::string summaryMarginText(std::string_view marginCode);
std::string raceMarginText(std::string_view marginCode);

// A stored time MSST as "1:34:5"; "" for a blank or zero time.
std::string timeText(std::string_view msst);
// Tenths of a second (or of a kilogram) with one decimal, "" when blank or
// 0; name is the field's, for the error when it is not a number.
std::string tenthsField(std::string_view digits, std::string_view name);
// A time in tenths of a second as "1:34:5".
std::string tenthsTimeText(long long tenths);
// MSST in tenths of a second; 0 for a blank time. Throws ConversionError
// for a time that is not digits.
long long timeTenths(std::string_view msst);

} // namespace zorbe::resulttexts
