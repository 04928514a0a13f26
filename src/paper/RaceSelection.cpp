#include "paper/RaceSelection.h"

#include "model/RaceCard.h"
#include "paper/PagePaths.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace zorbe {
namespace {

// Byte positions (0-based) and widths of the caption's parts.
constexpr std::size_t kLabelAt = 0, kLabelWidth = 6;
constexpr std::size_t kAgeAt = 6, kAgeWidth = 13;
constexpr std::size_t kClassAt = 19, kClassWidth = 13;
constexpr std::size_t kCourseAt = 32, kCourseWidth = 9;
constexpr std::size_t kDistanceAt = 41, kDistanceWidth = 4;
constexpr std::size_t kCaptionLength = 51;

// The caption's race labels, 6 bytes each.
const std::array<const char *, 12> kRaceLabels = {
    "　１Ｒ", "　２Ｒ", "　３Ｒ", "　４Ｒ", "　５Ｒ", "　６Ｒ",
    "　７Ｒ", "　８Ｒ", "　９Ｒ", "１０Ｒ", "１１Ｒ", "１２Ｒ",
};

// The progress window's race labels.
const std::array<const char *, 12> kProgressLabels = {
    "　 １Ｒ ", "　 ２Ｒ ", "　 ３Ｒ ", "　 ４Ｒ ", "　 ５Ｒ ", "　 ６Ｒ ",
    "　 ７Ｒ ", "　 ８Ｒ ", " 　９Ｒ ", " １０Ｒ ", " １１Ｒ ", " １２Ｒ ",
};

const std::map<std::string_view, const char *> &ageTexts()
{
    static const std::map<std::string_view, const char *> t = {
        {"11", " サラ２歳指定"}, {"12", " サラ３歳指定"}, {"13", " サラ３歳以上"}, {"14", " サラ４歳以上"},
        {"18", " サラ３歳以上"}, {"19", " サラ４歳以上"}, {"21", " アラ２歳指定"}, {"22", " アラ３歳指定"},
        {"23", " アラ３歳以上"}, {"24", " アラ４歳以上"},
    };
    return t;
}

const std::map<std::string_view, const char *> &courseTexts()
{
    static const std::map<std::string_view, const char *> t = {
        {"10", " 芝直線  "}, {"11", " 芝      "}, {"17", " 芝      "}, {"12", " 芝(外)  "},
        {"16", " 芝(外)  "}, {"18", " 芝(外)  "}, {"22", " 芝(外)  "}, {"15", " 芝(内)  "},
        {"21", " 芝(内)  "}, {"13", " 芝内外　"}, {"19", " 芝内外　"}, {"14", " 芝外内　"},
        {"20", " 芝外内　"}, {"23", " ダート  "}, {"24", " ダート  "},
    };
    return t;
}

// Flat classes in the order they are looked for among the condition codes.
const std::array<std::pair<std::string_view, const char *>, 9> kFlatClasses = {{
    {"701", " 新  馬 　   "},
    {"702", " 未出走　　　"},
    {"703", " 未勝利　　　"},
    {"004", " 400万下　　 "},
    {"005", " １勝クラス　"},
    {"009", " 900万下　　 "},
    {"010", " ２勝クラス　"},
    {"015", " 1500万下　　"},
    {"016", " ３勝クラス　"},
}};

const char *openClassText(std::string_view grade)
{
    if (isBlank(grade) || grade == "D" || grade == "E")
        return " オープン　　";
    if (grade == "A")
        return " オープンＧⅠ";
    if (grade == "B")
        return " オープンＧⅡ";
    if (grade == "C")
        return " オープンＧⅢ";
    if (grade == "L")
        return " オープン Ｌ ";
    return nullptr;
}

bool hasCondition(const TRaceCard &card, int r, std::string_view code)
{
    for (int c = 1; c <= 4; ++c)
        if (card.RaceClass[r][c] == code)
            return true;
    return false;
}

// The class of a flat race: the first of the listed codes among the four
// age-group conditions; nullptr when none matches.
const char *flatClassText(const TRaceCard &card, int r)
{
    for (const auto &[code, text] : kFlatClasses)
        if (hasCondition(card, r, code))
            return text;
    if (hasCondition(card, r, "999"))
        return openClassText(card.RaceGrade[r]);
    return nullptr;
}

const char *jumpClassText(const TRaceCard &card, int r)
{
    if (hasCondition(card, r, "703"))
        return " 障害未勝利  ";
    if (hasCondition(card, r, "004"))
        return " 障害400万　 ";
    if (hasCondition(card, r, "999")) {
        const std::string_view grade = card.RaceGrade[r];
        if (isBlank(grade) || grade == "D" || grade == "E")
            return " 障害オープン";
        if (grade == "F")
            return " 障害ＧⅠ　　";
        if (grade == "G")
            return " 障害ＧⅡ　　";
        if (grade == "H")
            return " 障害ＧⅢ　　";
    }
    return nullptr;
}

bool isJumpTrack(std::string_view track)
{
    return track.size() == 2 && track >= "51" && track <= "59";
}

// A table text as a part of exactly width bytes, or the same part of the
// previous caption when the code had no text.
std::string part(const char *text, const std::string &previous, std::size_t at, std::size_t width)
{
    if (text)
        return padRight(sj(text), width);
    return padRight(previous.size() >= at + width ? previous.substr(at, width) : std::string(), width);
}

std::string raceLabelWide(int race)
{
    return sj(kRaceLabels[static_cast<std::size_t>(race)]);
}

int racesOfDay(const TRaceCard &card)
{
    return std::clamp(card.RaceCount, 0, TRaceCard::kRaces);
}

} // namespace

void fillRaceNumberWide(TNewspaper &paper)
{
    static const std::array<const char *, 13> wide = {
        "", "１", "２", "３", "４", "５", "６", "７", "８", "９", "１０", "１１", "１２",
    };
    for (std::size_t i = 1; i < wide.size(); ++i)
        paper.RaceNumberWide[i] = sj(wide[i]);
}

std::string RaceCaptionText(const TRaceCard &card, int r, const std::string &previous)
{
    const auto lookup = [](const std::map<std::string_view, const char *> &table, std::string_view code) {
        const auto it = table.find(code);
        return it == table.end() ? nullptr : it->second;
    };
    const std::string &track = card.RaceTrack[r];
    const char *classText = nullptr;
    const char *courseText = nullptr;
    if (isJumpTrack(track)) {
        classText = jumpClassText(card, r);
        if (!classText)
            classText = flatClassText(card, r);
        // Every jump race is described by its own course, whatever its class.
        courseText = track == "52" ? " 直線ダ  " : " 芝      ";
    } else {
        classText = flatClassText(card, r);
        courseText = lookup(courseTexts(), track);
    }

    std::string caption = padRight(raceLabelWide(r), kLabelWidth);
    caption += part(lookup(ageTexts(), card.RaceKind[r]), previous, kAgeAt, kAgeWidth);
    caption += part(classText, previous, kClassAt, kClassWidth);
    caption += part(courseText, previous, kCourseAt, kCourseWidth);
    caption += padRight(card.RaceDistance[r], kDistanceWidth);
    caption += sj("ｍ");
    caption += padRight(card.RaceEntries[r], 2);
    caption += sj("頭");
    return caption;
}

void buildRaceSelection(TNewspaper &paper)
{
    fillRaceNumberWide(paper);
    const TRaceCard &card = paper.card;
    const int races = racesOfDay(card);
    std::string previous;
    for (int r = 0; r < TRaceCard::kRaces; ++r) {
        auto &caption = paper.RaceCaption[static_cast<std::size_t>(r)];
        if (r < races) {
            caption = RaceCaptionText(card, r, previous);
            previous = caption;
        } else {
            caption.clear();
        }
    }
    for (int r = 0; r < races; ++r)
        paper.RunnerCounts[static_cast<std::size_t>(r)] = card.entriesOf(r);
}

TRaceSelectionTexts raceSelectionTexts(const TPaperSettings &s)
{
    TRaceSelectionTexts t;
    const PageStyle style = s.style();
    const bool vertical = style == PageStyle::Vertical;
    t.topMin = vertical ? 4 : 5;
    t.leftMin = vertical ? 5 : 4;
    t.label12 = vertical ? "上余白(４～ )mm" : "上余白(５～ )mm";
    t.label13 = vertical ? "左余白(５～ )mm" : "左余白(４～ )mm";
    t.label4 = isGothic(s.font) ? "フォント：ゴシック" : "フォント：明朝";
    t.label3 = s.color == "1" ? "印刷表示：カラー" : "印刷表示：白　黒";
    if (vertical) {
        t.label8 = s.insatu == "2" ? "新聞：縦ﾆﾎﾝ風三" : s.insatu == "0" ? "新聞：縦ﾆﾎﾝ風四" : "新聞：縦ﾆﾎﾝ風五";
        t.label27 = "縦書余白設定";
    } else {
        t.label8 = style == PageStyle::Horizontal ? "新聞：横ﾌﾞｯｸ風" : "新聞：レープロ風";
        t.label27 = "横書余白設定";
    }
    // The programme page has no picks panel.
    t.showPickLabels = style != PageStyle::Programme;
    t.label5 = s.yosou == "1" ? "予想表示：有り" : "予想表示：無し";
    t.label6 = "予想 ：過去 " + u8(s.kako) + " 走";
    t.label7 = s.sinba == "1" ? "新馬予想：有り" : "新馬予想：無し";
    return t;
}

namespace {

struct EditKeys
{
    const char *vScale, *hScale, *top, *left;
    const char *vDefault, *hDefault, *topDefault, *leftDefault;
};

EditKeys editKeys(PageStyle style)
{
    if (style == PageStyle::Vertical)
        return {"縦縦", "横縦", "縦上", "縦左", "100", "106", "7", "10"};
    return {"縦横", "横横", "横上", "横左", "106", "100", "10", "7"};
}

const char *const kScaleSection = "拡大縮小";

} // namespace

TPrintEdits readPrintEdits(const ProfileFile &file, PageStyle style)
{
    const EditKeys k = editKeys(style);
    const std::string section = sj(kScaleSection);
    TPrintEdits e;
    e.vScale = file.readString(section, sj(k.vScale), k.vDefault);
    e.hScale = file.readString(section, sj(k.hScale), k.hDefault);
    e.topMm = file.readString(section, sj(k.top), k.topDefault);
    e.leftMm = file.readString(section, sj(k.left), k.leftDefault);
    return e;
}

void savePrintEdits(ProfileFile &file, PageStyle style, const TPrintEdits &edits)
{
    const EditKeys k = editKeys(style);
    const std::string section = sj(kScaleSection);
    file.writeString(section, sj(k.top), edits.topMm);
    file.writeString(section, sj(k.left), edits.leftMm);
    file.writeString(section, sj(k.vScale), edits.vScale);
    file.writeString(section, sj(k.hScale), edits.hScale);
}

TPrintEdits resetMargins(PageStyle style)
{
    if (style == PageStyle::Vertical)
        return {"100", "100", "7", "23"};
    return {"100", "100", "22", "7"};
}

std::string printJobTitle(const TRaceCard &card, int race)
{
    const std::string &year = card.MeetYear;
    const std::string yy = year.size() >= 2 ? year.substr(year.size() - 2) : year;
    return card.RaceVenue[0] + yy + card.MeetMonth + card.MeetDay + zeroPad(race + 1, 2);
}

std::string batchProgressText(const std::string &label1, int race)
{
    return label1 + sj(kProgressLabels[static_cast<std::size_t>(race)]) + sj("出力中");
}

namespace {

std::string failedRace(int race, const std::string &why)
{
    return u8(raceLabelWide(race)) + "の印刷を中止しました。\n" + why;
}

// Draws race r into one job. Returns the failure text, empty on success.
std::string printRace(TNewspaper &paper, int r, const TPrintEdits &edits, TPrinter &printer)
{
    pageSpan() = makeRaceSpan(r, paper.RunnerCounts);
    printer.setSheetOrientation(printedSheet(paper, PrintPath::Batch));
    std::unique_ptr<TPrintJob> job = printer.beginJob(printJobTitle(paper.card, r));
    if (!job) {
        const std::string why = printer.errorText();
        return failedRace(r, why.empty() ? "印刷を開始できませんでした。" : why);
    }
    try {
        DrawPrintedPage(job->context(), paper, PrintPath::Batch, edits);
    } catch (const ConversionError &e) {
        job->abort();
        return failedRace(r, e.what());
    } catch (const files::FileError &e) {
        job->abort();
        return failedRace(r, e.what());
    }
    if (!job->end()) {
        const std::string why = printer.errorText();
        return failedRace(r, why.empty() ? "プリンタがエラーを報告しました。" : why);
    }
    return {};
}

} // namespace

TBatchResult BatchPrint(TNewspaper &paper, const std::array<bool, 12> &checked, const TPrintEdits &edits,
                        TPrinter &printer, TBatchProgress &progress)
{
    TBatchResult result;
    // An edit that is not a number stops the command before any job starts.
    try {
        (void)batchPrintParams(paper.settings.style(), paper.settings.pageSettings(), edits);
    } catch (const ConversionError &e) {
        result.end = BatchEnd::Failed;
        result.error = e.what();
        return result;
    }
    const int races = racesOfDay(paper.card);
    // A programme page holds an odd race and the race after it, so an even
    // race has no page of its own (checking all races checks them too).
    const bool oddOnly = paper.settings.style() == PageStyle::Programme;
    for (int r = 0; r < races; ++r) {
        if (!checked[static_cast<std::size_t>(r)] || (oddOnly && r % 2 == 1))
            continue;
        progress.show(batchProgressText(paper.card.Form3Label1, r));
        const std::string error = printRace(paper, r, edits, printer);
        if (!error.empty()) {
            result.end = BatchEnd::Failed;
            result.error = error;
            return result;
        }
        ++result.printed;
        if (progress.cancelled()) {
            result.end = BatchEnd::Cancelled;
            return result;
        }
    }
    return result;
}

} // namespace zorbe
