#include "data/formats/Codes.h"

#include "platform/Cp932.h"
#include "platform/Fields.h"

namespace zorbe::formats::codes {

CodeTable::CodeTable(std::string_view title, std::initializer_list<CodeName> entries) : m_title(title)
{
    m_entries.reserve(entries.size());
    for (const auto &e : entries)
        m_entries.push_back(Entry{e.code, e.utf8, cp932::fromUtf8Strict(e.utf8)});
}

const CodeTable::Entry *CodeTable::find(std::string_view code) const
{
    for (const auto &e : m_entries)
        if (e.code == code)
            return &e;
    return nullptr;
}

std::string_view CodeTable::name(std::string_view code) const
{
    const Entry *e = find(code);
    return e ? std::string_view(e->sjis) : std::string_view();
}

std::string_view CodeTable::utf8Name(std::string_view code) const
{
    const Entry *e = find(code);
    return e ? e->utf8 : std::string_view();
}

std::vector<std::string_view> CodeTable::codes() const
{
    std::vector<std::string_view> out;
    out.reserve(m_entries.size());
    for (const auto &e : m_entries)
        out.push_back(e.code);
    return out;
}

const CodeTable &racecourses()
{
    static const CodeTable t("競馬場", {{"01", "札幌"}, {"02", "函館"}, {"03", "福島"}, {"04", "新潟"},
                                        {"05", "東京"}, {"06", "中山"}, {"07", "中京"}, {"08", "京都"},
                                        {"09", "阪神"}, {"10", "小倉"}});
    return t;
}

const CodeTable &weekdays()
{
    static const CodeTable t("曜日", {{"1", "土"}, {"2", "日"}, {"3", "祝"}, {"4", "月"},
                                      {"5", "火"}, {"6", "水"}, {"7", "木"}, {"8", "金"}});
    return t;
}

const CodeTable &grades()
{
    static const CodeTable t("グレード", {{"A", "G1"}, {"B", "G2"}, {"C", "G3"},
                                          {"F", "JG1"}, {"G", "JG2"}, {"H", "JG3"}});
    return t;
}

const CodeTable &raceKinds()
{
    static const CodeTable t("競走種別", {{"11", "サラ系2歳"},
                                          {"12", "サラ系3歳"},
                                          {"13", "サラ系3歳以上"},
                                          {"14", "サラ系4歳以上"},
                                          {"18", "障害3歳以上"},
                                          {"19", "障害4歳以上"},
                                          {"21", "アラ系2歳"},
                                          {"22", "アラ系3歳"},
                                          {"23", "アラ系3歳以上"},
                                          {"24", "アラ系4歳以上"}});
    return t;
}

const CodeTable &weightRules()
{
    static const CodeTable t("重量種別", {{"1", "ハンデ"}, {"2", "別定"}, {"3", "馬齢"}, {"4", "定量"}});
    return t;
}

const CodeTable &conditions()
{
    static const CodeTable t("競走条件",
                             {{"701", "新馬"}, {"702", "未出走"}, {"703", "未勝利"}, {"999", "オープン"}});
    return t;
}

const CodeTable &tracks()
{
    static const CodeTable t("トラック", {{"10", "芝直線"}, {"11", "芝左"},     {"12", "芝左"},
                                          {"13", "芝左"},   {"14", "芝左"},     {"15", "芝左"},
                                          {"16", "芝左"},   {"17", "芝右"},     {"18", "芝右"},
                                          {"19", "芝右"},   {"20", "芝右"},     {"21", "芝右"},
                                          {"22", "芝右"},   {"23", "ダート左"}, {"24", "ダート右"},
                                          {"51", "障害"},   {"52", "障害"},     {"53", "障害"},
                                          {"54", "障害"},   {"55", "障害"},     {"56", "障害"},
                                          {"57", "障害"},   {"58", "障害"},     {"59", "障害"}});
    return t;
}

const CodeTable &goings()
{
    static const CodeTable t("馬場状態", {{"1", "良"}, {"2", "稍重"}, {"3", "重"}, {"4", "不良"}});
    return t;
}

const CodeTable &weathers()
{
    static const CodeTable t("天候", {{"1", "晴"}, {"2", "曇"}, {"3", "雨"},
                                      {"4", "小雨"}, {"5", "雪"}, {"6", "小雪"}});
    return t;
}

const CodeTable &sexes()
{
    static const CodeTable t("性別", {{"1", "牡"}, {"2", "牝"}, {"3", "せん"}});
    return t;
}

const CodeTable &apprentices()
{
    static const CodeTable t("見習", {{"1", "☆"}, {"2", "△"}, {"3", "▲"}, {"4", "★"}, {"9", "◇"}});
    return t;
}

const CodeTable &abnormalities()
{
    static const CodeTable t("異常区分", {{"1", "取消"}, {"2", "発走除外"}, {"3", "競走除外"},
                                          {"4", "競走中止"}, {"5", "失格"}});
    return t;
}

const CodeTable &margins()
{
    static const CodeTable t("着差", {{"1  ", "1"},     {"112", "1 1/2"}, {"114", "1 1/4"}, {"134", "1 3/4"},
                                      {"2  ", "2"},     {"212", "2 1/2"}, {"3  ", "3"},     {"312", "3 1/2"},
                                      {"4  ", "4"},     {"5  ", "5"},     {"6  ", "6"},     {"7  ", "7"},
                                      {"8  ", "8"},     {"9  ", "9"},     {" 12", "1/2"},   {" 34", "3/4"},
                                      {"A  ", "アタマ"}, {"D  ", "同着"}, {"H  ", "ハナ"},  {"K  ", "クビ"},
                                      {"T  ", "大差"},  {"Z  ", "10"}});
    return t;
}

const CodeTable &breeds()
{
    static const CodeTable t("品種", {{"1", "サラ"}, {"2", "サラ系"}, {"3", "サラ系"}, {"4", "アラ系"},
                                      {"5", "アラ系"}, {"6", "アラ系"}, {"7", "アラ系"}});
    return t;
}

const CodeTable &coatColours()
{
    static const CodeTable t("毛色", {{"01", "栗"},   {"02", "栃栗"}, {"03", "鹿"},   {"04", "黒鹿"},
                                      {"05", "青鹿"}, {"06", "青"},   {"07", "芦"},   {"08", "栗粕"},
                                      {"09", "鹿粕"}, {"10", "青粕"}, {"11", "白"}});
    return t;
}

std::string conditionName(std::string_view code)
{
    if (const auto named = conditions().name(code); !named.empty())
        return std::string(named);
    if (code.size() != 3 || !isDigits(code) || code == "000")
        return {};
    return std::to_string(toInt(code, "競走条件コード") * 100) + sj("万下");
}

namespace {

// Two-digit code as a number, or -1 when it is not two digits.
int twoDigits(std::string_view code)
{
    if (code.size() != 2 || !isDigits(code))
        return -1;
    return (code[0] - '0') * 10 + (code[1] - '0');
}

} // namespace

Surface trackSurface(std::string_view track)
{
    const int t = twoDigits(track);
    if (t >= 10 && t <= 22)
        return Surface::Turf;
    if (t == 23 || t == 24)
        return Surface::Dirt;
    if (t >= 51 && t <= 59)
        return Surface::Jump;
    return Surface::Unknown;
}

bool isTurfTrack(std::string_view track)
{
    const int t = twoDigits(track);
    return t >= 10 && t <= 22;
}

bool isFlatTrack(std::string_view track)
{
    const int t = twoDigits(track);
    return t >= 10 && t <= 24;
}

bool isJumpRaceKind(std::string_view kind)
{
    return kind == "18" || kind == "19";
}

bool isAbnormal(std::string_view code)
{
    return abnormalities().contains(code);
}

std::string_view oddsVenueNumber(std::string_view racecourse)
{
    static constexpr std::string_view kNumbers[] = {"08", "09", "06", "07", "04", "05", "02", "00", "01", "03"};
    const int c = twoDigits(racecourse);
    if (c < 1 || c > 10)
        return {};
    return kNumbers[c - 1];
}

} // namespace zorbe::formats::codes
