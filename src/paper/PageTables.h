#pragma once

#include <string>
#include <string_view>

// The code tables of the newspaper pages: stored code -> the text a page
// prints (cp932). The pages share them; each function gives "" for a code
// outside its table.
namespace zorbe::pagetables {

// Race venue "01" 札幌 … "10" 小倉.
std::string venueName(std::string_view venue);
// The race's three-character condition symbol as the class line shows it.
std::string conditionSymbolText(std::string_view symbol);
// Weight rule 1-4 as the end of the class line (" ハンデ）" …); "" otherwise.
std::string weightRuleText(std::string_view rule);
// A stored race name whose first characters the data source could not carry
// (a full-width space in their place), with the full name; "" when the name
// needs no repair.
std::string repairedRaceName(std::string_view raceName);
// The horse-mark prefix ("(抽)", "[招]", …).
std::string horseMarkPrefix(std::string_view mark);
// Sex "牡 ", "牝 ", "ｾﾝ ".
std::string sexText(std::string_view sex);
// Age by the difference race year - birth year: "二 " … "十五 ", else two spaces.
std::string ageText(int age);
// Coat colour and its x offset (mm, negative) from the column's right edge.
struct CoatColour
{
    std::string text;
    int offset = 0;
};
CoatColour coatColour(std::string_view colour);
// Apprentice allowance "☆", "△", "▲".
std::string apprenticeMark(std::string_view code);
// A past race's venue as one character ("東", "門", "米", "外", …).
std::string pastVenueAbbrev(std::string_view venue);
// A track code's surface: "直", "芝", "ダ", "障".
std::string surfaceText(std::string_view track);
// Going "良", "稍", "重", "不".
std::string goingText(std::string_view going);
// A past race's finish state ("取 消", " 3失格", …); arrival is the stored
// arrival order the disqualification texts show.
std::string finishStateText(std::string_view abnormal, std::string_view arrival);

// A past race's class as the cell shows it: the text on line 5 and the
// suffix on line 7.
struct PastClass
{
    std::string text;
    std::string suffix;
};
struct PastRaceClassInput
{
    std::string_view classCode;     // PastClass, three characters or blank
    std::string_view symbol;        // PastSymbol
    std::string_view shortName;     // PastRaceName, three full-width characters
    std::string_view grade;         // PastGrade
    std::string_view conditionName; // PastConditionName, 24 bytes
};
PastClass pastRaceClass(const PastRaceClassInput &in);

// The same classes in the words of the horizontal page's cells: other
// short forms, grade suffixes " G1" … " OP", and no suffix where the class
// text already says it.
PastClass horizontalPastClass(const PastRaceClassInput &in);

// The words of the horizontal and programme pages.
// Weight rule as the end of the horizontal class line ("  ハンデ）", " 別定）" …).
std::string horizontalWeightRuleText(std::string_view rule);
// A past race's surface in two characters: "芝直", "芝　", "芝外", "芝内",
// "ダ　", "障　".
std::string pastSurfaceWord(std::string_view track);
// Coat colour as a two-character word ("　栗", "栃栗", …).
std::string coatColourWord(std::string_view colour);
// Age by the year difference: "二" … "十一", then "十二 " … "十五 " with a
// trailing space; "" for any other difference.
std::string bandAgeWord(int age);
// The horizontal page's owner: the same cuts as ownerText, at most 12 bytes
// and without the short forms.
std::string horizontalOwnerText(std::string_view owner);
// The programme's class-line words: its own condition-symbol table, and the
// weight rule followed by a full-width space ("  ハンデ）　" …).
std::string programmeSymbolText(std::string_view symbol);
std::string programmeWeightRuleText(std::string_view rule);
// Sex without a trailing space: "牡", "牝", "ｾﾝ".
std::string programmeSexWord(std::string_view sex);

// The owner name as the runner column prints it (at most 14 bytes).
std::string ownerText(std::string_view owner);
// A past race's jockey: the first 6 bytes, or for the one family name the
// columns abbreviate differently, the first 4 bytes and bytes 7-8.
std::string pastJockeyText(std::string_view jockeyName);

// The product credit and the author line under it.
std::string productCredit();
std::string authorCredit();

} // namespace zorbe::pagetables
