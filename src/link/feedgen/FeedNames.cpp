#include "link/feedgen/FeedNames.h"

#include "platform/Cp932.h"

#include <array>
#include <map>
#include <vector>

namespace zorbe::feedgen {
namespace {

struct Reading
{
    const char *kanji;
    const char *kana; // half-width katakana (UTF-8)
};

const std::vector<Reading> kFamilies = {
    {"佐伯", "ｻｴｷ"},     {"高瀬", "ﾀｶｾ"},     {"村岡", "ﾑﾗｵｶ"},   {"北原", "ｷﾀﾊﾗ"},     {"森田", "ﾓﾘﾀ"},
    {"石川", "ｲｼｶﾜ"},    {"桜井", "ｻｸﾗｲ"},    {"松永", "ﾏﾂﾅｶﾞ"},  {"丸山", "ﾏﾙﾔﾏ"},     {"今村", "ｲﾏﾑﾗ"},
    {"野口", "ﾉｸﾞﾁ"},    {"藤原", "ﾌｼﾞﾜﾗ"},  {"川島", "ｶﾜｼﾏ"},    {"岡部", "ｵｶﾍﾞ"},     {"小林", "ｺﾊﾞﾔｼ"},
    {"中島", "ﾅｶｼﾞﾏ"},  {"大西", "ｵｵﾆｼ"},    {"宮本", "ﾐﾔﾓﾄ"},    {"坂口", "ｻｶｸﾞﾁ"},   {"西田", "ﾆｼﾀﾞ"},
    {"吉岡", "ﾖｼｵｶ"},    {"原田", "ﾊﾗﾀﾞ"},    {"安藤", "ｱﾝﾄﾞｳ"},  {"長谷川", "ﾊｾｶﾞﾜ"}, {"五十嵐", "ｲｶﾞﾗｼ"},
    {"菊池", "ｷｸﾁ"},     {"平野", "ﾋﾗﾉ"},     {"横田", "ﾖｺﾀ"},     {"上村", "ｳｴﾑﾗ"},     {"青木", "ｱｵｷ"},
    {"内藤", "ﾅｲﾄｳ"},    {"柴田", "ｼﾊﾞﾀ"},    {"早川", "ﾊﾔｶﾜ"},    {"杉本", "ｽｷﾞﾓﾄ"},   {"島田", "ｼﾏﾀﾞ"},
    {"永井", "ﾅｶﾞｲ"},    {"水野", "ﾐｽﾞﾉ"},    {"浅野", "ｱｻﾉ"},     {"荒木", "ｱﾗｷ"},      {"工藤", "ｸﾄﾞｳ"},
    {"林", "ﾊﾔｼ"},       {"森", "ﾓﾘ"},         {"関", "ｾｷ"},         {"佐久間", "ｻｸﾏ"},    {"小野寺", "ｵﾉﾃﾞﾗ"},
};

const std::vector<Reading> kGivenMale = {
    {"健太", "ｹﾝﾀ"},   {"翔", "ｼｮｳ"},     {"大輔", "ﾀﾞｲｽｹ"}, {"拓也", "ﾀｸﾔ"},   {"亮", "ﾘｮｳ"},
    {"隆之", "ﾀｶﾕｷ"}, {"誠", "ﾏｺﾄ"},     {"和也", "ｶｽﾞﾔ"},  {"直樹", "ﾅｵｷ"},   {"優", "ﾕｳ"},
    {"雄一", "ﾕｳｲﾁ"}, {"浩二", "ｺｳｼﾞ"}, {"康介", "ｺｳｽｹ"},  {"伸也", "ｼﾝﾔ"},   {"悠人", "ﾕｳﾄ"},
    {"蓮", "ﾚﾝ"},      {"剛", "ﾂﾖｼ"},     {"博之", "ﾋﾛﾕｷ"},  {"勝也", "ｶﾂﾔ"},   {"純一", "ｼﾞｭﾝｲﾁ"},
    {"光太郎", "ｺｳﾀﾛｳ"}, {"信二", "ｼﾝｼﾞ"}, {"一馬", "ｶｽﾞﾏ"}, {"颯太", "ｿｳﾀ"}, {"秀樹", "ﾋﾃﾞｷ"},
};

const std::vector<Reading> kGivenFemale = {
    {"美穂", "ﾐﾎ"}, {"菜七", "ﾅﾅ"}, {"由佳", "ﾕｶ"}, {"彩花", "ｱﾔｶ"}, {"真央", "ﾏｵ"}, {"凛", "ﾘﾝ"},
};

// Foreign riders: initial and family name in Latin letters, with the
// katakana reading of the family name.
const std::vector<std::array<const char *, 3>> kForeign = {
    {"T", "BRANDT", "ﾌﾞﾗﾝﾄ"},   {"L", "MORVAN", "ﾓﾙｳﾞｧﾝ"}, {"D", "KESTLER", "ｹｽﾄﾗｰ"},
    {"R", "ALDANA", "ｱﾙﾀﾞﾅ"},   {"J", "CALLOW", "ｷｬﾛｳ"},    {"S", "FERRAND", "ﾌｪﾗﾝ"},
    {"M", "OKONJO", "ｵｺﾝｼﾞｮ"}, {"A", "LINDQVIST", "ﾘﾝﾄﾞｸﾋﾞｽﾄ"},
};

const std::vector<const char *> kForeignSires = {
    "SILVER TEMPEST", "NORTHERN BLAZE", "ROYAL ANTHEM",  "DESERT MONARCH", "OCEAN SPIRIT",
    "IRON SENTINEL",  "GOLDEN MERIDIAN", "STORM HARBOUR", "CRIMSON VALE",   "PRAIRIE KING",
    "MIDNIGHT REEL",  "EMERALD COAST",  "THUNDER QUILL", "LUNAR VOYAGE",   "WINTER ORCHARD",
};

// Katakana words the horse names are made of.
const std::vector<const char *> kHead = {
    "アスター", "ブライト", "シルバー", "ゴールド", "ミラクル", "ハヤテ", "カゼノ", "ウミノ",  "ソラノ",
    "ヒカリ",   "ノーブル", "グラン",   "ロイヤル", "ベル",     "ルナ",   "アオイ", "コスモ",  "ユメノ",
    "ホシノ",   "ミナモ",   "サザン",   "ノース",   "エア",     "リアル", "クリア", "ネオ",    "マイ",
    "トーホウ", "ヤマノ",   "フジノ",   "ツキノ",   "アカネ",   "シロ",   "クロ",   "ワンダー", "スーパー",
};
const std::vector<const char *> kTail = {
    "スター", "ウインド", "ドリーム", "キング", "クイーン", "ボルト", "ローズ", "ブレイブ", "フォース",
    "ハート", "ミライ",   "ソング",   "リーフ", "ナイト",   "ブルー", "レイン", "フレア",   "ルーチェ",
    "ステップ", "ダンサー", "ロード", "ホープ", "シャイン", "ガーデン", "アロー", "ブリッジ", "カムイ",
    "ハルカ", "セイル",   "マーチ",   "ラッシュ", "ワルツ", "ビート", "ジョー",  "オーラ",   "ノヴァ",
};
const std::vector<const char *> kSyllables = {
    "ア", "イ", "カ", "キ", "ク", "サ", "シ", "タ", "テ", "ナ", "ノ", "ハ", "ビ", "マ", "ミ", "ラ",
    "リ", "ル", "レ", "ロ", "ガ", "ジ", "ダ", "ド", "バ", "ベ", "パ", "ヴィ", "ティ", "ファ", "シャ",
};
const std::vector<const char *> kEndings = {"ン", "ー", "ス", "ト", "ル", "ア", "オ"};

const std::vector<const char *> kOwnerHeads = {"青嶺", "白峰", "紅葉", "朝霧", "北斗", "銀河", "若葉",
                                               "翠風", "天城", "秋月", "大樹", "清流"};
const std::vector<const char *> kOwnerTails = {"レーシング", "ホールディングス", "ファーム", "ホースクラブ", "商事",
                                               "サラブレッドクラブ"};
const std::vector<const char *> kBreederTails = {"牧場", "ファーム", "スタッド", "牧場", "ステーブル"};
const std::vector<const char *> kBirthplaces = {"日高町",   "新冠町", "新ひだか町", "浦河町", "様似町", "えりも町",
                                                "平取町",   "安平町", "むかわ町",   "千歳市", "洞爺湖町", "青森県",
                                                "宮崎県",   "鹿児島県", "米",       "愛",     "英"};
const std::vector<const char *> kRaceWords = {
    "潮風", "若葉", "白樺", "紫苑", "朱雀", "青嵐", "夕凪", "錦秋", "早春", "玄武", "白鷺", "鳳凰",
    "天竜", "疾風", "雷鳴", "翡翠", "銀嶺", "琥珀", "瑠璃", "紅梅", "薫風", "初霜", "常盤", "葉月",
};

// Full-width katakana (UTF-8) and its half-width form, longest first where
// one is a prefix of another.
const std::vector<std::pair<std::string, std::string>> &kanaTable()
{
    static const std::vector<std::pair<std::string, std::string>> table = [] {
        const char *pairs[][2] = {
            {"ヴ", "ｳﾞ"}, {"ガ", "ｶﾞ"}, {"ギ", "ｷﾞ"}, {"グ", "ｸﾞ"}, {"ゲ", "ｹﾞ"}, {"ゴ", "ｺﾞ"}, {"ザ", "ｻﾞ"},
            {"ジ", "ｼﾞ"}, {"ズ", "ｽﾞ"}, {"ゼ", "ｾﾞ"}, {"ゾ", "ｿﾞ"}, {"ダ", "ﾀﾞ"}, {"ヂ", "ﾁﾞ"}, {"ヅ", "ﾂﾞ"},
            {"デ", "ﾃﾞ"}, {"ド", "ﾄﾞ"}, {"バ", "ﾊﾞ"}, {"ビ", "ﾋﾞ"}, {"ブ", "ﾌﾞ"}, {"ベ", "ﾍﾞ"}, {"ボ", "ﾎﾞ"},
            {"パ", "ﾊﾟ"}, {"ピ", "ﾋﾟ"}, {"プ", "ﾌﾟ"}, {"ペ", "ﾍﾟ"}, {"ポ", "ﾎﾟ"}, {"ア", "ｱ"},  {"イ", "ｲ"},
            {"ウ", "ｳ"},  {"エ", "ｴ"},  {"オ", "ｵ"},  {"カ", "ｶ"},  {"キ", "ｷ"},  {"ク", "ｸ"},  {"ケ", "ｹ"},
            {"コ", "ｺ"},  {"サ", "ｻ"},  {"シ", "ｼ"},  {"ス", "ｽ"},  {"セ", "ｾ"},  {"ソ", "ｿ"},  {"タ", "ﾀ"},
            {"チ", "ﾁ"},  {"ツ", "ﾂ"},  {"テ", "ﾃ"},  {"ト", "ﾄ"},  {"ナ", "ﾅ"},  {"ニ", "ﾆ"},  {"ヌ", "ﾇ"},
            {"ネ", "ﾈ"},  {"ノ", "ﾉ"},  {"ハ", "ﾊ"},  {"ヒ", "ﾋ"},  {"フ", "ﾌ"},  {"ヘ", "ﾍ"},  {"ホ", "ﾎ"},
            {"マ", "ﾏ"},  {"ミ", "ﾐ"},  {"ム", "ﾑ"},  {"メ", "ﾒ"},  {"モ", "ﾓ"},  {"ヤ", "ﾔ"},  {"ユ", "ﾕ"},
            {"ヨ", "ﾖ"},  {"ラ", "ﾗ"},  {"リ", "ﾘ"},  {"ル", "ﾙ"},  {"レ", "ﾚ"},  {"ロ", "ﾛ"},  {"ワ", "ﾜ"},
            {"ヲ", "ｦ"},  {"ン", "ﾝ"},  {"ー", "ｰ"},  {"ッ", "ｯ"},  {"ャ", "ｬ"},  {"ュ", "ｭ"},  {"ョ", "ｮ"},
            {"ァ", "ｧ"},  {"ィ", "ｨ"},  {"ゥ", "ｩ"},  {"ェ", "ｪ"},  {"ォ", "ｫ"},
        };
        std::vector<std::pair<std::string, std::string>> t;
        for (const auto &p : pairs)
            t.emplace_back(sj(p[0]), sj(p[1]));
        return t;
    }();
    return table;
}

std::string cut(const std::string &sjis, std::size_t bytes) { return std::string(cp932::cutBytes(sjis, bytes)); }

std::string kanaField(const std::string &family, const std::string &given)
{
    std::string s = cut(family, 15);
    s.append(15 - s.size(), ' ');
    return s + cut(given, 15);
}

} // namespace

std::string halfWidthKana(const std::string &full)
{
    std::string out;
    for (std::size_t i = 0; i < full.size();) {
        const std::size_t len = cp932::charLength(full, i);
        const std::string ch = full.substr(i, len);
        bool found = false;
        for (const auto &[wide, half] : kanaTable())
            if (wide == ch) {
                out += half;
                found = true;
                break;
            }
        if (!found)
            out += ch;
        i += len;
    }
    return out;
}

std::string fullWidthLatin(const std::string &ascii)
{
    std::string utf8;
    for (char c : ascii) {
        if (c == ' ')
            utf8 += "　";
        else if (c == '.')
            utf8 += "．";
        else {
            const char32_t cp = 0xFF01 + static_cast<unsigned char>(c) - '!';
            utf8 += static_cast<char>(0xE0 | (cp >> 12));
            utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return sj(utf8);
}

std::string FeedNames::unique(std::string candidate, int attempt)
{
    if (attempt > 0)
        candidate += sj(kEndings[static_cast<std::size_t>(attempt - 1) % kEndings.size()]);
    return candidate;
}

std::string FeedNames::horseName()
{
    for (int tries = 0;; ++tries) {
        std::string name;
        if (m_random.chance(0.6)) {
            name = sj(m_random.pick(kHead)) + sj(m_random.pick(kTail));
        } else {
            const int n = m_random.range(2, 4);
            for (int i = 0; i < n; ++i)
                name += sj(m_random.pick(kSyllables));
            name += sj(m_random.pick(kEndings));
            if (m_random.chance(0.3))
                name = sj(m_random.pick(kHead)) + name;
        }
        if (tries > 20)
            name = unique(name, tries % 7 + 1);
        if (name.size() < 4 || name.size() > 18 || m_used.count(name))
            continue;
        m_used.insert(name);
        return name;
    }
}

std::string FeedNames::ancestorName(bool foreign)
{
    if (foreign) {
        for (int tries = 0;; ++tries) {
            std::string ascii = m_random.pick(kForeignSires);
            if (tries > 10)
                ascii += " " + std::string(1, static_cast<char>('A' + tries % 26));
            std::string name = fullWidthLatin(ascii);
            if (name.size() > 36 || m_used.count(name))
                continue;
            m_used.insert(name);
            return name;
        }
    }
    return horseName();
}

PersonName FeedNames::person(bool female)
{
    const Reading &family = m_random.pick(kFamilies);
    const Reading &given = m_random.pick(female ? kGivenFemale : kGivenMale);
    PersonName p;
    p.full = sj(family.kanji) + sj("　") + sj(given.kanji);
    p.kana = kanaField(sj(family.kana), sj(given.kana));
    p.shortName = cut(sj(family.kanji) + sj(given.kanji), 8);
    p.latin = "";
    return p;
}

PersonName FeedNames::foreignPerson()
{
    const auto &f = m_random.pick(kForeign);
    PersonName p;
    p.full = fullWidthLatin(std::string(f[0]) + "." + f[1]);
    p.kana = kanaField(sj(f[2]), "");
    p.shortName = cut(p.full, 8);
    p.latin = std::string(f[0]) + "." + f[1];
    return p;
}

std::string FeedNames::ownerName()
{
    if (m_random.chance(0.4)) {
        const Reading &family = m_random.pick(kFamilies);
        const Reading &given = m_random.pick(kGivenMale);
        return sj(family.kanji) + sj(given.kanji);
    }
    return sj(m_random.pick(kOwnerHeads)) + sj(m_random.pick(kOwnerTails));
}

std::string FeedNames::breederName()
{
    return sj(m_random.pick(kOwnerHeads)) + sj(m_random.pick(kBreederTails));
}

std::string FeedNames::birthplace() { return sj(m_random.pick(kBirthplaces)); }

std::string FeedNames::raceWord() { return sj(m_random.pick(kRaceWords)); }

} // namespace zorbe::feedgen
