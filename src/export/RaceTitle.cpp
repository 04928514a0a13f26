#include "export/RaceTitle.h"

#include "data/formats/Codes.h"
#include "data/formats/RaceDayFormats.h"
#include "export/CsvText.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"

#include <vector>

namespace zorbe::csvexport {

using formats::codes::CodeTable;
using F = formats::RaceCardFields;

namespace {

bool isPlainGrade(std::string_view grade)
{
    return isBlank(grade) || grade == "D" || grade == "E";
}

// A class rule: a condition code, and for the open class the grades it
// stands for.
struct ClassRule
{
    std::string_view code;
    std::string_view grades; // "" any grade; "-" blank, "D" or "E"; else the letters
    std::string text;
};

bool gradeMatches(std::string_view grades, std::string_view grade)
{
    if (grades.empty())
        return true;
    if (grades == "-")
        return isPlainGrade(grade);
    return grade.size() == 1 && grades.find(grade[0]) != std::string_view::npos;
}

std::string_view firstMatch(const std::vector<ClassRule> &rules, const RaceConditions &c)
{
    for (const ClassRule &rule : rules)
        if (c.any(rule.code) && gradeMatches(rule.grades, c.grade))
            return rule.text;
    return {};
}

} // namespace

std::string_view raceKindText(std::string_view kind)
{
    static const CodeTable t("競走種別", {{"11", " サラ２歳指定"},
                                          {"12", " サラ３歳指定"},
                                          {"13", " サラ３歳以上"},
                                          {"18", " サラ３歳以上"},
                                          {"14", " サラ４歳以上"},
                                          {"19", " サラ４歳以上"},
                                          {"21", " アラ２歳指定"},
                                          {"22", " アラ３歳指定"},
                                          {"23", " アラ３歳以上"},
                                          {"24", " アラ４歳以上"}});
    return t.name(kind);
}

std::string_view weightRuleText(std::string_view rule)
{
    static const CodeTable t("重量種別", {{"1", " ハンデ"}, {"2", " 別定"}, {"3", " 馬齢"}, {"4", " 定量"}});
    return t.name(rule);
}

std::string_view trackText(std::string_view track)
{
    static const CodeTable t("トラック", {{"10", " 芝直線  "},
                                          {"11", " 芝      "},
                                          {"17", " 芝      "},
                                          {"12", " 芝(外)  "},
                                          {"16", " 芝(外)  "},
                                          {"18", " 芝(外)  "},
                                          {"22", " 芝(外)  "},
                                          {"15", " 芝(内)  "},
                                          {"21", " 芝(内)  "},
                                          {"13", " 芝内外　"},
                                          {"19", " 芝内外　"},
                                          {"14", " 芝外内　"},
                                          {"20", " 芝外内　"},
                                          {"23", " ダート  "},
                                          {"24", " ダート  "}});
    return t.name(track);
}

RaceConditions RaceConditions::of(const RecordFields &race)
{
    RaceConditions c;
    c.grade = race(F::Grade);
    for (std::size_t i = 0; i < 4; ++i)
        c.codes[i] = race(F::Class, i + 1);
    return c;
}

bool RaceConditions::any(std::string_view code) const
{
    for (const std::string &c : codes)
        if (c == code)
            return true;
    return false;
}

std::string_view classText(const RaceConditions &conditions)
{
    static const std::vector<ClassRule> rules = {
        {"701", "", sj(" 新  馬 　   ")},   {"702", "", sj(" 未出走　　　")},
        {"703", "", sj(" 未勝利　　　")},   {"004", "", sj(" 400万下　　 ")},
        {"005", "", sj(" 1勝クラス　 ")},   {"009", "", sj(" 900万下　　 ")},
        {"010", "", sj(" 2勝クラス　 ")},   {"015", "", sj(" 1500万下　　")},
        {"016", "", sj(" 3勝クラス　 ")},   {"999", "-", sj(" オープン　　")},
        {"999", "A", sj(" オープンＧⅠ")}, {"999", "B", sj(" オープンＧⅡ")},
        {"999", "C", sj(" オープンＧⅢ")},
    };
    return firstMatch(rules, conditions);
}

std::string_view jumpClassText(const RaceConditions &conditions)
{
    static const std::vector<ClassRule> rules = {
        {"703", "", sj(" 障害未勝利  ")},   {"004", "", sj(" 障害400万　 ")},
        {"999", "-", sj(" 障害オープン")},  {"999", "FA", sj(" 障害ＧⅠ　　")},
        {"999", "GB", sj(" 障害ＧⅡ　　")}, {"999", "HC", sj(" 障害ＧⅢ　　")},
    };
    return firstMatch(rules, conditions);
}

std::string_view cutRaceName(std::string_view name)
{
    const auto wideSpaceAt = [&](std::size_t at) { return bytesOf(name, at, 2) == formats::kWideSpace; };
    if (wideSpaceAt(0))
        return {};
    for (std::size_t at = 6; at <= 28; at += 2)
        if (wideSpaceAt(at))
            return name.substr(0, at);
    return name;
}

bool isJumpTrack(std::string_view track)
{
    return formats::codes::trackSurface(track) == formats::codes::Surface::Jump;
}

std::string raceTitleLine(const RecordFields &race, std::size_t position, const LabelTables &labels,
                          TitleStyle style)
{
    std::string line;
    if (position < labels.RaceNumberText.size())
        line += labels.RaceNumberText[position];
    line += raceKindText(race(F::RaceKind));

    const RaceConditions conditions = RaceConditions::of(race);
    const std::string track = race(F::Track);
    const std::string_view jumpClass = isJumpTrack(track) ? jumpClassText(conditions) : std::string_view();
    if (!jumpClass.empty()) {
        line += jumpClass;
        static const std::string straightDirt = sj(" 直線ダ  "), turf = sj(" 芝      ");
        line += track == "52" ? straightDirt : turf;
    } else {
        line += classText(conditions);
        if (style == TitleStyle::WithName) {
            line += cutRaceName(race(F::RaceName));
            line += weightRuleText(race(F::WeightRule));
        }
        line += trackText(track);
    }
    static const std::string metres = sj("ｍ "), runners = sj("頭");
    line += race(F::Distance);
    line += metres;
    line += race(F::Entries);
    line += runners;
    return line;
}

std::string sexAndAge(std::string_view sexCode, std::string_view raceYear, std::string_view birthYear,
                      std::string_view geldingText)
{
    static const char *const kAges[] = {"二", "三", "四", "五", "六", "七", "八", "九", "十", "十一"};
    std::string out = sexCode == "1" ? sj("牡") : sexCode == "2" ? sj("牝") : std::string(geldingText);
    const auto age = storedNumber(raceYear, "年") - storedNumber(birthYear, "生年");
    if (age >= 2 && age <= 11)
        out += sj(kAges[age - 2]);
    return out;
}

std::string blinkerText(std::string_view flag)
{
    return flag == "1" ? sj("Ｂ") : std::string();
}

std::string_view apprenticeMark(std::string_view code)
{
    return formats::codes::apprentices().name(code);
}

} // namespace zorbe::csvexport
