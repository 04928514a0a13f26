#include "paper/PageTables.h"

#include "platform/Cp932.h"
#include "platform/Fields.h"

#include <array>
#include <utility>

namespace zorbe::pagetables {
namespace {

using Pair = std::pair<std::string_view, std::string_view>; // code, UTF-8 text

std::string lookUp(std::initializer_list<Pair> table, std::string_view code)
{
    for (const auto &[key, text] : table)
        if (key == code)
            return sj(text);
    return {};
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// A numeric code as a number; -1 when blank or not a number.
int codeNumber(std::string_view code)
{
    if (isBlank(code) || !isDigits(trimmed(code)))
        return -1;
    return static_cast<int>(toInt(trimmed(code), "code"));
}

} // namespace

std::string venueName(std::string_view venue)
{
    return lookUp({{"01", "札幌"}, {"02", "函館"}, {"03", "福島"}, {"04", "新潟"}, {"05", "東京"},
                   {"06", "中山"}, {"07", "中京"}, {"08", "京都"}, {"09", "阪神"}, {"10", "小倉"}},
                  venue);
}

std::string conditionSymbolText(std::string_view s)
{
    return lookUp({{"002", "若手騎手"}, {"020", "牝"},        {"021", "牝"},       {"023", "牝"},
                   {"024", "牝 特"},    {"004", "特"},        {"M00", "九州産"},   {"M01", "九州産"},
                   {"M03", "九州産"},   {"M04", "九州産 特"}, {"N00", "国際"},     {"N01", "国際"},
                   {"N03", "国際"},     {"A02", "混　若手騎手"}, {"A00", "混"},    {"A01", "混"},
                   {"A03", "混"},       {"A04", "混 特"},     {"A10", "混 牡"},    {"A11", "混 牡"},
                   {"A13", "混 牡"},    {"A14", "混 牡"},     {"A30", "混 牡"},    {"A31", "混 牡"},
                   {"A33", "混 牡"},    {"A34", "混 牡 特"},  {"A20", "混 牝"},    {"A21", "混 牝"},
                   {"A23", "混 牝"},    {"A24", "混 牝 特"},  {"B00", "父"},       {"B01", "父"},
                   {"B03", "父"},       {"B04", "父 特"},     {"C00", "市"},       {"C01", "市"},
                   {"C03", "市"},       {"C04", "市"},        {"D00", "抽"},       {"D01", "抽"},
                   {"D03", "抽"},       {"E00", "抽"},        {"E01", "抽"},       {"E03", "抽"},
                   {"F00", "市 抽"},    {"F01", "市 抽"},     {"F03", "市 抽"},    {"F04", "市 抽 特"},
                   {"N23", "国際 牝 指"}, {"N24", "国際 牝 特"}},
                  s);
}

std::string weightRuleText(std::string_view rule)
{
    switch (codeNumber(rule)) {
    case 1:
        return sj(" ハンデ）");
    case 2:
        return sj(" 別定）");
    case 3:
        return sj(" 馬齢）");
    case 4:
        return sj(" 定量）");
    default:
        return {};
    }
}

std::string repairedRaceName(std::string_view raceName)
{
    // The forms are compared over their own length, in this order.
    static const std::array<Pair, 10> repairs{{{"　園特別", "祇園特別"},
                                               {"飛　ステークス", "飛騨ステークス"},
                                               {"飛　特別", "飛騨特別"},
                                               {"恵　特別", "恵那特別"},
                                               {"　　峡特別", "蓬莱峡特別"},
                                               {"　坂山特別", "逢坂山特別"},
                                               {"　飾特別", "葛飾特別"},
                                               {"文知　特別", "文知摺特別"},
                                               {"　上特別", "摺上特別"},
                                               {"小　特別", "小樽特別"}}};
    for (const auto &[form, name] : repairs) {
        const std::string stored = sj(form);
        if (raceName.substr(0, stored.size()) == stored)
            return sj(name);
    }
    return {};
}

std::string horseMarkPrefix(std::string_view mark)
{
    const int m = codeNumber(mark);
    if (m == 1 || m == 7)
        return sj("(抽)");
    if (m == 2)
        return sj("[抽]");
    if (m == 3 || m == 8)
        return sj("(父)");
    if (m == 4)
        return sj("(市)");
    if (m == 5 || (m >= 9 && m <= 12))
        return sj("(地)");
    if (m == 6 || m == 20)
        return sj("(外)");
    if (m >= 15 && m <= 19)
        return sj("[招]");
    if (m >= 21 && m <= 25)
        return sj("[地]");
    if (m == 26 || m == 27)
        return sj("[外]");
    if (m == 31)
        return sj("(持)");
    return {};
}

std::string sexText(std::string_view sex)
{
    switch (codeNumber(sex)) {
    case 1:
        return sj("牡 ");
    case 2:
        return sj("牝 ");
    case 3:
        return sj("ｾﾝ ");
    default:
        return {};
    }
}

std::string ageText(int age)
{
    static const std::array<std::string_view, 14> ages{"二 ", "三 ", "四 ", "五 ", "六 ", "七 ", "八 ",
                                                       "九 ", "十 ", "十一 ", "十二 ", "十三 ", "十四 ", "十五 "};
    if (age < 2 || age > 15)
        return "  ";
    return sj(ages[static_cast<std::size_t>(age - 2)]);
}

CoatColour coatColour(std::string_view colour)
{
    static const std::array<std::pair<std::string_view, int>, 11> coats{{{"栗", -3},
                                                                         {"栃栗", -5},
                                                                         {"鹿", -3},
                                                                         {"黒鹿", -5},
                                                                         {"青鹿", -5},
                                                                         {"青", -3},
                                                                         {"芦", -3},
                                                                         {"栗粕", -5},
                                                                         {"鹿粕", -5},
                                                                         {"青粕", -5},
                                                                         {"白", -5}}};
    const int c = codeNumber(colour);
    if (c < 1 || c > 11)
        return {};
    const auto &[text, offset] = coats[static_cast<std::size_t>(c - 1)];
    return {sj(text), offset};
}

std::string apprenticeMark(std::string_view code)
{
    switch (codeNumber(code)) {
    case 1:
        return sj("☆");
    case 2:
        return sj("△");
    case 3:
        return sj("▲");
    default:
        return {};
    }
}

std::string pastVenueAbbrev(std::string_view venue)
{
    static const std::initializer_list<Pair> named{
        {"01", "札"}, {"02", "函"}, {"03", "福"}, {"04", "新"}, {"05", "東"}, {"06", "中"}, {"07", "名"},
        {"08", "京"}, {"09", "阪"}, {"10", "小"}, {"30", "門"}, {"31", "見"}, {"32", "岩"}, {"33", "帯"},
        {"34", "旭"}, {"35", "盛"}, {"36", "水"}, {"37", "上"}, {"38", "三"}, {"39", "足"}, {"40", "宇"},
        {"41", "高"}, {"42", "浦"}, {"43", "船"}, {"44", "大"}, {"45", "川"}, {"46", "金"}, {"47", "笠"},
        {"48", "古"}, {"49", "紀"}, {"50", "園"}, {"51", "姫"}, {"52", "益"}, {"53", "知"}, {"54", "知"},
        {"55", "佐"}, {"56", "荒"}, {"57", "津"}, {"58", "幌"}, {"59", "館"}, {"60", "潟"}, {"61", "屋"},
        {"A4", "米"}, {"A6", "英"}, {"A8", "仏"}, {"B2", "愛"}, {"B4", "新"}, {"B6", "豪"}, {"B8", "加"},
        {"C0", "伊"}, {"C2", "独"}, {"C7", "Ｕ"}, {"E2", "亜"}, {"F2", "チ"}, {"G0", "香"}, {"H0", "西"},
        {"M0", "星"}, {"K6", "ｻｳ"}};
    if (std::string text = lookUp(named, venue); !text.empty())
        return text;
    static const std::initializer_list<std::string_view> abroad{
        "A0", "A2", "B0", "C4", "C5", "C6", "C8", "D0", "D2", "D4", "D6", "D8", "E0", "E4", "E6", "E8", "F0",
        "F1", "F4", "F6", "F8", "G2", "G4", "G6", "G8", "H2", "H4", "H6", "H8", "I0", "I2", "I4", "I6", "I8",
        "J0", "J2", "J4", "J6", "J8", "K0", "K2", "K4", "K8", "L0", "L2", "L4", "L6", "L8"};
    for (std::string_view code : abroad)
        if (code == venue)
            return sj("外");
    return {};
}

std::string surfaceText(std::string_view track)
{
    const int t = codeNumber(track);
    if (t == 10)
        return sj("直");
    if (t >= 11 && t <= 22)
        return sj("芝");
    if (t == 23 || t == 24)
        return sj("ダ");
    if (t >= 51 && t <= 59)
        return sj("障");
    return {};
}

std::string goingText(std::string_view going)
{
    switch (codeNumber(going)) {
    case 1:
        return sj("良");
    case 2:
        return sj("稍");
    case 3:
        return sj("重");
    case 4:
        return sj("不");
    default:
        return {};
    }
}

std::string finishStateText(std::string_view abnormal, std::string_view arrival)
{
    switch (codeNumber(abnormal)) {
    case 1:
        return sj("取 消");
    case 2:
        return sj("発 外");
    case 3:
        return sj("競 外");
    case 4:
        return sj("中 止");
    case 5:
        return " " + std::string(arrival) + sj("失格");
    case 7:
        return " " + std::string(arrival) + sj("降着");
    default:
        return {};
    }
}

namespace {

const std::string &threeSpaces()
{
    static const std::string blank = sj("　　　");
    return blank;
}

// The short names the data source stores with a missing first or middle
// character, by the classes whose races carry them.
std::string repairedShortName(std::string_view classCode, std::string_view name)
{
    static const std::initializer_list<Pair> oneWin{{"小　特", "小樽特"}, {"恵　特", "恵那特"},
                                                    {"　飾特", "葛飾特"}, {"文知　", "文知摺"},
                                                    {"　坂山", "逢坂山"}, {"　上特", "摺上特"}};
    static const std::initializer_list<Pair> twoWins{{"　園特", "祇園特"}, {"　　峡", "蓬莱峡"}};
    static const std::initializer_list<Pair> threeWins{{"飛　Ｓ", "飛騨Ｓ"}};
    std::string repaired;
    if (classCode == "005")
        repaired = lookUp(oneWin, u8(name));
    else if (classCode == "009" || classCode == "010")
        repaired = lookUp(twoWins, u8(name));
    else if (classCode == "014" || classCode == "015" || classCode == "016")
        repaired = lookUp(threeWins, u8(name));
    return repaired.empty() ? std::string(name) : repaired;
}

std::string gradeSuffix(std::string_view grade)
{
    return lookUp({{"A", "Ｇ1"}, {"B", "Ｇ2"}, {"C", "Ｇ3"}, {"F", "JG1"}, {"G", "JG2"}, {"H", "JG3"}}, grade);
}

std::string bytes(std::string_view text, std::size_t from1, std::size_t count)
{
    if (from1 == 0 || from1 > text.size())
        return {};
    return std::string(text.substr(from1 - 1, count));
}

bool allFullWidthSpaces(std::string_view text)
{
    if (text.empty() || text.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < text.size(); i += 2)
        if (text.substr(i, 2) != "\x81\x40")
            return false;
    return true;
}

// A past race without a class code: its short name, else what its
// condition name says.
std::string unclassedText(const PastRaceClassInput &in, bool noName)
{
    if (!noName)
        return std::string(in.shortName);
    const std::string_view cond = in.conditionName;
    const std::string b13 = bytes(cond, 13, 6);
    if (b13.size() == 6 && !allFullWidthSpaces(b13))
        return b13;
    const std::string b11 = bytes(cond, 11, 2);
    if (b11.size() == 2 && b11 != "\x81\x40")
        return bytes(cond, 1, 2) + bytes(cond, 7, 2) + b11;
    const std::string b1 = bytes(cond, 1, 6);
    if (b1.size() == 6 && !allFullWidthSpaces(b1))
        return bytes(cond, 1, 4) + bytes(cond, 7, 2);
    return {};
}

enum class ClassWords { Vertical, Horizontal };

// The class text and suffix of a past race in the words of either page:
// the horizontal cells have their own short forms and grade suffixes, and
// no suffix where the class text already says it.
PastClass pastClassIn(const PastRaceClassInput &in, ClassWords words)
{
    const bool horizontal = words == ClassWords::Horizontal;
    const bool filly = in.symbol == "020" || in.symbol == "021" || in.symbol == "023" || in.symbol == "024";
    const std::string prefix = filly ? sj("牝") : std::string();
    const bool noName = in.shortName == threeSpaces() || isBlank(in.shortName);
    const std::string name = repairedShortName(in.classCode, in.shortName);
    const std::string_view code = in.classCode;
    if (code == "701")
        return {prefix + sj("新馬"), {}};
    if (code == "702")
        return {horizontal ? prefix + sj("未出") : filly ? sj("牝未出") : sj("未出走"), {}};
    if (code == "703")
        return {horizontal ? prefix + sj("未勝") : filly ? sj("牝未勝") : sj("未勝利"), {}};
    if (code == "003")
        return {sj("300万"), {}};
    if (code == "004")
        return {sj("400万"), {}};
    if (code == "007")
        return {sj("700万"), {}};
    if (code == "005" || code == "010") {
        const std::string suffix = sj(code == "005" ? "1勝" : "2勝");
        if (!noName)
            return {name, suffix};
        return {prefix + sj(code == "005" ? "1勝ｸﾗｽ" : "2勝ｸﾗｽ"), horizontal ? std::string() : suffix};
    }
    if (code == "009") {
        if (!noName)
            return {name, sj("9下")};
        return horizontal ? PastClass{prefix + sj("900万"), {}} : PastClass{sj("900万"), prefix + sj("9下")};
    }
    if (code == "014")
        return {noName ? sj("140万") : name, sj(" 14")};
    if (code == "015")
        return {noName ? sj("150万") : name, sj(" 15")};
    if (code == "016")
        return {noName ? sj("3勝ｸﾗｽ") : name, sj(" 3勝")};
    if (code == "999") {
        if (noName)
            return {sj("ｵｰﾌﾟﾝ"), {}};
        const std::string suffix =
            horizontal ? lookUp({{"A", " G1"}, {"B", " G2"}, {"C", " G3"}, {"F", " JG1"}, {"G", " JG2"}, {"H", " JG3"}},
                                in.grade)
                       : gradeSuffix(in.grade);
        return {name, suffix.empty() ? std::string(" OP") : suffix};
    }
    if (!isBlank(code))
        return {};
    return {unclassedText(in, noName), {}};
}

} // namespace

PastClass pastRaceClass(const PastRaceClassInput &in)
{
    return pastClassIn(in, ClassWords::Vertical);
}

PastClass horizontalPastClass(const PastRaceClassInput &in)
{
    return pastClassIn(in, ClassWords::Horizontal);
}

namespace {

// The owner's cuts: a name after two full-width spaces, a short family name
// followed by blanks and its given name, or the first `width` bytes.
// Returns "" for the last case, which the callers finish themselves.
std::string cutOwner(std::string_view owner, std::size_t afterSpaces)
{
    const std::string fullSpace = "\x81\x40";
    auto spacesAt = [&](std::size_t from1, std::size_t to1) {
        return owner.size() >= to1 && allFullWidthSpaces(owner.substr(from1 - 1, to1 - from1 + 1));
    };
    if (owner.substr(0, 4) == fullSpace + fullSpace)
        return bytes(owner, 5, afterSpaces);
    if (spacesAt(3, 16))
        return bytes(owner, 1, 4) + bytes(owner, 17, 4);
    if (spacesAt(5, 16))
        return bytes(owner, 1, 4) + bytes(owner, 17, 10);
    return {};
}

} // namespace

std::string ownerText(std::string_view owner)
{
    if (std::string cut = cutOwner(owner, 14); !cut.empty())
        return cut;
    // Two long company names the column cannot hold get their short forms.
    static const std::array<Pair, 2> shortForms{{{"青嶺ホールディ", "青嶺ＨＤ"}, {"白峰ホールディ", "白峰ＨＤ"}}};
    const std::string head = bytes(owner, 1, 14);
    for (const auto &[prefix, name] : shortForms)
        if (head == sj(prefix))
            return sj(name);
    return head;
}

std::string horizontalOwnerText(std::string_view owner)
{
    if (std::string cut = cutOwner(owner, 12); !cut.empty())
        return cut;
    return bytes(owner, 1, 12);
}

std::string horizontalWeightRuleText(std::string_view rule)
{
    return codeNumber(rule) == 1 ? sj("  ハンデ）") : weightRuleText(rule);
}

std::string pastSurfaceWord(std::string_view track)
{
    const int t = codeNumber(track);
    if (t == 10)
        return sj("芝直");
    if (t == 11 || t == 17)
        return sj("芝　");
    if (t == 12 || t == 13 || t == 16 || t == 18 || t == 19 || t == 22)
        return sj("芝外");
    if (t == 14 || t == 15 || t == 20 || t == 21)
        return sj("芝内");
    if (t == 23 || t == 24)
        return sj("ダ　");
    if (t >= 51 && t <= 59)
        return sj("障　");
    return {};
}

std::string coatColourWord(std::string_view colour)
{
    static const std::array<std::string_view, 11> words{"　栗", "栃栗", "　鹿", "黒鹿", "青鹿", "　青",
                                                        "　芦", "栗粕", "鹿粕", "青粕", "　白"};
    const int c = codeNumber(colour);
    if (c < 1 || c > 11)
        return {};
    return sj(words[static_cast<std::size_t>(c - 1)]);
}

std::string bandAgeWord(int age)
{
    static const std::array<std::string_view, 14> ages{"二", "三", "四", "五", "六", "七", "八",
                                                       "九", "十", "十一", "十二 ", "十三 ", "十四 ", "十五 "};
    if (age < 2 || age > 15)
        return {};
    return sj(ages[static_cast<std::size_t>(age - 2)]);
}

std::string programmeSymbolText(std::string_view s)
{
    return lookUp({{"020", "牝"},        {"021", "牝"},       {"023", "牝"},       {"024", "牝 特"},
                   {"004", "特"},        {"M00", "九州産"},   {"M01", "九州産"},   {"M03", "九州産"},
                   {"M04", "九州産 特"}, {"N00", "国際"},     {"N01", "国際"},     {"N03", "国際"},
                   {"A00", "混"},        {"A01", "混"},       {"A02", "混"},       {"A03", "混"},
                   {"A04", "混 特"},     {"A10", "混 牡"},    {"A11", "混 牡"},    {"A13", "混 牡"},
                   {"A14", "混 牡"},     {"A30", "混 牡"},    {"A31", "混 牡"},    {"A33", "混 牡"},
                   {"A34", "混 牡 特"},  {"A20", "混 牝"},    {"A21", "混 牝"},    {"A23", "混 牝"},
                   {"A24", "混 牝 特"},  {"B00", "父"},       {"B01", "父"},       {"B03", "父"},
                   {"B04", "父 特"},     {"C00", "市"},       {"C01", "市"},       {"C03", "市"},
                   {"C04", "市"},        {"D00", "抽"},       {"D01", "抽"},       {"D03", "抽"},
                   {"E00", "抽"},        {"E01", "抽"},       {"E03", "抽"},       {"F00", "市 抽"},
                   {"F01", "市 抽"},     {"F03", "市 抽"},    {"F04", "市 抽 特"}},
                  s);
}

std::string programmeWeightRuleText(std::string_view rule)
{
    const std::string text = horizontalWeightRuleText(rule);
    return text.empty() ? text : text + sj("　");
}

std::string programmeSexWord(std::string_view sex)
{
    switch (codeNumber(sex)) {
    case 1:
        return sj("牡");
    case 2:
        return sj("牝");
    case 3:
        return sj("ｾﾝ");
    default:
        return {};
    }
}

std::string pastJockeyText(std::string_view jockeyName)
{
    // Several riders share this family name and the same first given
    // character, so the column shows the family name and the last character.
    static const std::string family = sj("村岡");
    if (jockeyName.substr(0, 4) == family)
        return bytes(jockeyName, 1, 4) + bytes(jockeyName, 7, 2);
    return bytes(jockeyName, 1, 6);
}

std::string productCredit()
{
    return sj("ゾルベVer2.11");
}

std::string authorCredit()
{
    return sj("ゾルベ研究所");
}

} // namespace zorbe::pagetables
