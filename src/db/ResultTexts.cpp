#include "db/ResultTexts.h"

#include "db/DbPage.h"
#include "paper/PageTables.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"

#include <array>
#include <utility>

namespace zorbe::resulttexts {
namespace {

using Pair = std::pair<const char *, const char *>;

template <std::size_t N>
std::string lookUp(const std::array<Pair, N> &table, std::string_view code)
{
    for (const auto &[key, text] : table)
        if (code == key)
            return sj(text);
    return {};
}

// The money-class races that carry a name of their own on the summary line
// and the race page: the class, the name's beginning, and both texts.
struct SpecialRace
{
    const char *classCode;
    const char *name;
    const char *summary;
    const char *racePage;
};

constexpr std::array<SpecialRace, 13> kSpecialRaces{{
    {"005", "小樽特別", "小樽特別 1勝", "小樽特別　　(1勝ｸﾗｽ)"},
    {"005", "恵那特別", "恵那特別 1勝", "恵那特別　　(1勝ｸﾗｽ)"},
    {"005", "葛飾特別", "葛飾特別 1勝", "葛飾特別　　(1勝ｸﾗｽ)"},
    {"005", "文知摺特別", "文知摺特 1勝", "文知摺特別　　(1勝ｸﾗｽ)"},
    {"005", "逢坂山特別", "逢坂山特 1勝", "逢坂山特別　　(1勝ｸﾗｽ)"},
    {"005", "摺上特別", "摺上特別 1勝", "摺上特別　　(1勝ｸﾗｽ)"},
    {"009", "祇園特別", "祇園特別 9下", "祇園特別　　(900下)"},
    {"009", "蓬莱峡特別", "蓬莱峡特 9下", "蓬莱峡特別　　(900下)"},
    {"010", "祇園特別", "祇園特別 100", "祇園特別　　(2勝ｸﾗｽ)"},
    {"010", "蓬莱峡特別", "蓬莱峡特 100", "蓬莱峡特別　　(2勝ｸﾗｽ)"},
    {"014", "飛騨ステークス", "飛騨Ｓ150", "飛騨ステークス　　(1400万下)"},
    {"015", "飛騨ステークス", "飛騨Ｓ150", "飛騨ステークス　　(1500万下)"},
    {"016", "飛騨ステークス", "飛騨Ｓ3勝 ", "飛騨ステークス　　(3勝ｸﾗｽ)"},
}};

// The special race the name begins with, compared over the special name's
// whole length. The name is also recognised with a full-width blank
// standing for its rarer character, as the data source stores some names.
const SpecialRace *specialRace(std::string_view classCode, std::string_view raceName)
{
    const std::string repaired = pagetables::repairedRaceName(raceName);
    const std::string_view name = repaired.empty() ? raceName : std::string_view(repaired);
    for (const SpecialRace &s : kSpecialRaces) {
        if (classCode != s.classCode)
            continue;
        const std::string special = sj(s.name);
        if (name.substr(0, special.size()) == special)
            return &s;
    }
    return nullptr;
}

bool blankName(std::string_view raceName)
{
    return dbpage::allWideBlanks(raceName) || isBlank(raceName);
}

std::string first(std::string_view raceName, std::size_t bytes)
{
    return std::string(raceName.substr(0, bytes));
}

// How a page writes a class: a fixed text, or from the race's name (a
// text of its own for a blank name, the special races' own texts, else the
// name's first bytes and a suffix).
struct ClassForm
{
    const char *fixed = nullptr;
    const char *blankName = nullptr;
    std::size_t nameBytes = 0;
    const char *suffix = "";
};

struct ClassRule
{
    const char *code;
    ClassForm summary;
    ClassForm racePage;
};

constexpr ClassForm fixedText(const char *text) { return {text}; }
constexpr ClassForm named(const char *blank, std::size_t bytes, const char *suffix) { return {nullptr, blank, bytes, suffix}; }

constexpr std::array<ClassRule, 14> kClassRules{{
    {"701", fixedText("新馬"), fixedText("新馬")},
    {"702", fixedText("未出走"), fixedText("未出走")},
    {"703", fixedText("未勝利"), fixedText("未勝利")},
    {"003", fixedText("300万下"), fixedText("３００万下")},
    {"004", named("400万下", 8, " ４下"), fixedText("４００万下")},
    {"005", named("1勝ｸﾗｽ ", 8, "1勝"), named("1勝クラス", 30, "(1勝ｸﾗｽ)")},
    {"008", fixedText("800万下"), fixedText("８００万下")},
    {"009", named("900万下", 8, " 9下"), named("９００万下", 30, "(900下)")},
    {"010", named("2勝ｸﾗｽ", 8, "2勝"), named("２勝クラス", 30, "(2勝ｸﾗｽ)")},
    {"014", named(nullptr, 8, " 140"), named(nullptr, 30, "(1400万下)")},
    {"015", named(nullptr, 8, " 150"), named(nullptr, 30, "(1500万下)")},
    {"016", named(nullptr, 8, "3勝"), named(nullptr, 30, "(3勝ｸﾗｽ)")},
    {"999", named(nullptr, 8, " OP"), named(nullptr, 30, "")},
    {"000", named(nullptr, 30, ""), named(nullptr, 30, "")},
}};

std::string classText(std::string_view code, std::string_view raceName, bool summary)
{
    for (const ClassRule &rule : kClassRules) {
        if (code != rule.code)
            continue;
        const ClassForm &form = summary ? rule.summary : rule.racePage;
        if (form.fixed)
            return sj(form.fixed);
        if (form.blankName && blankName(raceName))
            return sj(form.blankName);
        if (const SpecialRace *s = specialRace(code, raceName))
            return sj(summary ? s->summary : s->racePage);
        return first(raceName, form.nameBytes) + sj(form.suffix);
    }
    return {};
}

std::string marginText(std::string_view code, bool racePage)
{
    static constexpr std::array<Pair, 22> kMargins{{
        {"A  ", "アタマ"}, {"D  ", "同  着"}, {"H  ", "ハ  ナ"}, {"K  ", "ク  ビ"}, {"T  ", "大  差"},
        {"Z  ", "　１０"}, {"1  ", "　　１"}, {"112", "１ 1/2"}, {"114", "１ 1/4"}, {"134", "１ 3/4"},
        {"2  ", "　　２"}, {"212", "２ 1/2"}, {"3  ", "    ３"}, {"312", "３ 1/2"}, {"4  ", "    ４"},
        {"5  ", "    ５"}, {"6  ", "    ６"}, {"7  ", "    ７"}, {"8  ", "    ８"}, {"9  ", "    ９"},
        {" 12", "   1/2"}, {" 34", "   3/4"},
    }};
    std::string text = lookUp(kMargins, code);
    // The race page's narrower column: one blank inside 同着, ハナ, クビ, 大差.
    const bool word = code == "D  " || code == "H  " || code == "K  " || code == "T  ";
    if (racePage && word)
        text.erase(2, 1);
    return text;
}

int digitValue(std::string_view text, std::string_view name)
{
    return static_cast<int>(toIntOrBlank(text, name, 0));
}

} // namespace

std::string kindText(std::string_view kind)
{
    static constexpr std::array<Pair, 10> kKinds{{{"11", " ２歳指"},
                                                  {"12", " ３歳指"},
                                                  {"13", " ３歳上"},
                                                  {"14", " ４歳上"},
                                                  {"21", " ｱﾗ２歳"},
                                                  {"22", " ｱﾗ３歳"},
                                                  {"23", "ｱﾗ３歳上"},
                                                  {"24", "ｱﾗ４歳上"},
                                                  {"18", " ３歳上"},
                                                  {"19", " ４歳上"}}};
    return lookUp(kKinds, kind);
}

bool isJumpRace(std::string_view kind)
{
    return kind == "18" || kind == "19";
}

std::string summaryClassText(std::string_view c, std::string_view name)
{
    return classText(c, name, true);
}

std::string raceClassText(std::string_view c, std::string_view name, std::string_view kind)
{
    if (isJumpRace(kind)) {
        if (c == "703")
            return sj("障害未勝利");
        if (c == "005")
            return sj("障害(1勝ｸﾗｽ)");
        if (c == "999")
            return sj("障害オープン");
    }
    return classText(c, name, false);
}

std::string gradeText(std::string_view grade)
{
    static constexpr std::array<Pair, 5> kGrades{
        {{"A", "ＧⅠ"}, {"B", "ＧⅡ"}, {"C", "ＧⅢ"}, {"D", "ＯＰ"}, {"E", "ＯＰ"}}};
    return lookUp(kGrades, grade);
}

std::string summaryTrackText(std::string_view track)
{
    if (track == "10")
        return sj("直");
    if (track.size() == 2 && track >= "11" && track <= "22")
        return sj("芝");
    if (track == "23" || track == "24")
        return sj("ダ");
    return {};
}

std::string raceTrackText(std::string_view track)
{
    static constexpr std::array<Pair, 14> kTracks{{{"10", " 芝直線　"},
                                                   {"11", " 芝　　　"},
                                                   {"17", " 芝　　　"},
                                                   {"12", " 芝(外) "},
                                                   {"16", " 芝(外) "},
                                                   {"18", " 芝(外) "},
                                                   {"22", " 芝(外) "},
                                                   {"15", " 芝(内) "},
                                                   {"21", " 芝(内) "},
                                                   {"13", " 芝内外　"},
                                                   {"19", " 芝内外　"},
                                                   {"14", " 芝外内　"},
                                                   {"20", " 芝外内　"},
                                                   {"23", " ダート　"}}};
    if (track == "24")
        return sj(" ダート　");
    if (track.size() == 2 && track >= "51" && track <= "59")
        return sj("障　害");
    return lookUp(kTracks, track);
}

std::string goingText(std::string_view going)
{
    return pagetables::goingText(going);
}

std::string weatherText(std::string_view weather)
{
    static constexpr std::array<Pair, 6> kWeathers{
        {{"1", "  晴"}, {"2", "  曇"}, {"3", "  雨"}, {"4", "小雨"}, {"5", "  雪"}, {"6", "小雪"}}};
    return lookUp(kWeathers, weather);
}

std::string sexText(std::string_view sex)
{
    static constexpr std::array<Pair, 3> kSexes{{{"1", "牡"}, {"2", "牝"}, {"3", "ｾﾝ"}}};
    return lookUp(kSexes, sex);
}

std::string summaryMarginText(std::string_view marginCode)
{
    return marginText(marginCode, false);
}

std::string raceMarginText(std::string_view marginCode)
{
    return marginText(marginCode, true);
}

long long timeTenths(std::string_view msst)
{
    if (isBlank(msst))
        return 0;
    if (msst.size() != 4 || !isDigits(msst))
        throw ConversionError("走破タイム", std::string(msst));
    return (msst[0] - '0') * 600LL + digitValue(msst.substr(1, 2), "走破タイム") * 10LL + (msst[3] - '0');
}

std::string timeText(std::string_view msst)
{
    const long long tenths = timeTenths(msst);
    return tenths > 0 ? tenthsTimeText(tenths) : std::string();
}

std::string tenthsTimeText(long long tenths)
{
    const long long seconds = tenths % 600;
    const std::string ss = std::to_string(seconds / 10);
    return std::to_string(tenths / 600) + ":" + (ss.size() < 2 ? "0" + ss : ss) + ":" + std::to_string(seconds % 10);
}

std::string tenthsField(std::string_view digits, std::string_view name)
{
    const long long value = toIntOrBlank(digits, name, 0);
    return value > 0 ? dbpage::tenthsText(value) : std::string();
}

} // namespace zorbe::resulttexts
