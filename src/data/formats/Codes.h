#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// The code lists of the race-day and results files, one table per list, with
// the meaning the program gives each code. Names are kept as cp932 (what the
// files and pages hold) and as UTF-8 (for display and messages).
namespace zorbe::formats::codes {

struct CodeName
{
    std::string_view code;
    std::string_view utf8; // the name as UTF-8
};

class CodeTable
{
public:
    CodeTable(std::string_view title, std::initializer_list<CodeName> entries);

    std::string_view title() const { return m_title; }
    bool contains(std::string_view code) const { return find(code) != nullptr; }
    // The cp932 name of code, empty for a code the list does not hold.
    std::string_view name(std::string_view code) const;
    // The UTF-8 name of code, empty for an unknown code.
    std::string_view utf8Name(std::string_view code) const;
    std::size_t size() const { return m_entries.size(); }
    // The codes in list order.
    std::vector<std::string_view> codes() const;

private:
    struct Entry
    {
        std::string_view code;
        std::string_view utf8;
        std::string sjis;
    };
    const Entry *find(std::string_view code) const;

    std::string_view m_title;
    std::vector<Entry> m_entries;
};

// "01" 札幌 … "10" 小倉: the ten courses. A past race may carry a code from
// "11" upward (a race run elsewhere), which none of these tables holds.
const CodeTable &racecourses();
// "1" 土 … "8" 金.
const CodeTable &weekdays();
// "A" G1, "B" G2, "C" G3, "F"-"H" the jump grades; anything else: no grade.
const CodeTable &grades();
// "11"-"14" thoroughbred flat, "18"/"19" jump, "21"-"24" Anglo-Arab.
const CodeTable &raceKinds();
// "1" ハンデ, "2" 別定, "3" 馬齢, "4" 定量.
const CodeTable &weightRules();
// The four named conditions: "701" 新馬, "702" 未出走, "703" 未勝利, "999" オープン.
const CodeTable &conditions();
// "10" turf straight, "11"-"22" turf, "23"/"24" dirt, "51"-"59" jump.
const CodeTable &tracks();
// "1" 良, "2" 稍重, "3" 重, "4" 不良.
const CodeTable &goings();
// "1" 晴 … "6" 小雪.
const CodeTable &weathers();
// "1" 牡, "2" 牝, "3" せん.
const CodeTable &sexes();
// The weight-allowance marks of apprentice jockeys; other values: none.
const CodeTable &apprentices();
// "1" 取消 … "5" 失格; "0" or blank: none.
const CodeTable &abnormalities();
// Three-character margin codes ("112" 1 1/2, "A  " アタマ …).
const CodeTable &margins();
// Breed of the horse file: "1" サラ, "2"-"3" サラ系, "4"-"7" アラ系.
const CodeTable &breeds();
// Coat colour of the horse file: "01" 栗 … "11" 白.
const CodeTable &coatColours();

// The cp932 name of a condition code: the named conditions, else a money
// class "NNN" as its limit in ten-thousands of yen ("005" 500万下); empty for
// a code that is neither.
std::string conditionName(std::string_view code);

enum class Surface
{
    Turf,
    Dirt,
    Jump,
    Unknown,
};
Surface trackSurface(std::string_view track);
// Track codes "10".."22": the turf going applies; otherwise the dirt going.
bool isTurfTrack(std::string_view track);
// Track codes "10".."24": the flat races.
bool isFlatTrack(std::string_view track);
// Race kinds "18" and "19".
bool isJumpRaceKind(std::string_view kind);
// An abnormality code that means the runner did not run or finish normally.
bool isAbnormal(std::string_view code);

// The odds source's own number of a racecourse ("05" 東京 is "04"); empty
// for a code outside "01".."10".
std::string_view oddsVenueNumber(std::string_view racecourse);

} // namespace zorbe::formats::codes
