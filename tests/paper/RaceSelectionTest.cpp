#include "paper/RaceSelection.h"

#include "model/RaceCard.h"
#include "paper/RecordingCanvas.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/ProfileFile.h"
#include "shell/LabelTables.h"
#include "shell/MasterTables.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <functional>

namespace zorbe {
namespace {

// A meeting day of `races` flat races at Tokyo on 2026-05-10: 1600 m turf,
// three-year-olds, maiden class, 16 runners each.
std::unique_ptr<TRaceCard> dayOf(int races)
{
    auto card = makeRaceCard();
    card->MeetYear = "2026";
    card->MeetMonth = "05";
    card->MeetDay = "10";
    card->RaceCount = races;
    card->Form3Label1 = sj("東京");
    for (int r = 0; r < races; ++r) {
        card->RaceVenue[r] = "05";
        card->RaceKind[r] = "12";
        card->RaceGrade[r] = " ";
        card->RaceClass[r] = {"", "000", "703", "000", "000", "703"};
        card->RaceTrack[r] = "11";
        card->RaceDistance[r] = "1600";
        card->RaceEntries[r] = "16";
    }
    return card;
}

// The caption's parts at their fixed byte positions.
struct CaptionParts
{
    std::string label, age, klass, course, distance, metre, runners, head;
};
CaptionParts split(const std::string &c)
{
    return {u8(c.substr(0, 6)),  u8(c.substr(6, 13)), u8(c.substr(19, 13)), u8(c.substr(32, 9)),
            u8(c.substr(41, 4)), u8(c.substr(45, 2)), u8(c.substr(47, 2)),  u8(c.substr(49, 2))};
}

TEST(RaceCaption, TurfMileForThreeYearOlds)
{
    auto card = dayOf(3);
    const std::string caption = RaceCaptionText(*card, 2, "");
    ASSERT_EQ(caption.size(), 51u);
    const CaptionParts p = split(caption);
    EXPECT_EQ(p.label, "　３Ｒ");
    EXPECT_EQ(p.age, " サラ３歳指定");
    EXPECT_EQ(p.klass, " 未勝利　　　");
    EXPECT_EQ(p.course, " 芝      ");
    EXPECT_EQ(p.distance, "1600");
    EXPECT_EQ(p.metre, "ｍ");
    EXPECT_EQ(p.runners, "16");
    EXPECT_EQ(p.head, "頭");
}

TEST(RaceCaption, EveryTableTextKeepsTheLayout)
{
    auto card = dayOf(1);
    const char *kinds[] = {"11", "12", "13", "14", "18", "19", "21", "22", "23", "24"};
    const char *tracks[] = {"10", "11", "12", "13", "14", "15", "16", "17", "18", "19", "20", "21", "22",
                            "23", "24", "51", "52", "53", "59"};
    const char *conditions[] = {"701", "702", "703", "004", "005", "009", "010", "015", "016", "999"};
    const char *grades[] = {" ", "A", "B", "C", "D", "E", "F", "G", "H", "L"};
    int count = 0;
    for (const char *kind : kinds)
        for (const char *track : tracks)
            for (const char *condition : conditions)
                for (const char *grade : grades) {
                    card->RaceKind[0] = kind;
                    card->RaceTrack[0] = track;
                    card->RaceClass[0][3] = condition;
                    card->RaceGrade[0] = grade;
                    const std::string caption = RaceCaptionText(*card, 0, "");
                    ASSERT_EQ(caption.size(), 51u) << kind << track << condition << grade;
                    // The parts after the class stay where the layouts copy them from.
                    const CaptionParts p = split(caption);
                    ASSERT_EQ(p.distance, "1600");
                    ASSERT_EQ(p.metre + p.runners + p.head, "ｍ16頭");
                    ASSERT_TRUE(cp932::toUtf8Strict(caption).size() > 0);
                    ++count;
                }
    EXPECT_EQ(count, 10 * 19 * 10 * 10);
}

TEST(RaceCaption, ClassesByConditionOrderAndGrade)
{
    auto card = dayOf(1);
    const auto classOf = [&](std::array<std::string, 6> conditions, const char *grade, const char *track = "11") {
        card->RaceClass[0] = conditions;
        card->RaceGrade[0] = grade;
        card->RaceTrack[0] = track;
        return split(RaceCaptionText(*card, 0, "")).klass;
    };
    // 701 comes before 703 whichever age group holds it.
    EXPECT_EQ(classOf({"", "703", "701", "000", "000", ""}, " "), " 新  馬 　   ");
    EXPECT_EQ(classOf({"", "000", "016", "005", "000", ""}, " "), " １勝クラス　");
    EXPECT_EQ(classOf({"", "000", "000", "999", "999", ""}, "A"), " オープンＧⅠ");
    EXPECT_EQ(classOf({"", "000", "000", "999", "999", ""}, "L"), " オープン Ｌ ");
    EXPECT_EQ(classOf({"", "000", "000", "999", "999", ""}, "E"), " オープン　　");
    // The fifth condition code (the youngest age) is not one of the four.
    EXPECT_EQ(classOf({"", "000", "000", "000", "000", "701"}, " "), "             ");
    // Jump races.
    EXPECT_EQ(classOf({"", "000", "703", "703", "000", ""}, " ", "54"), " 障害未勝利  ");
    EXPECT_EQ(classOf({"", "000", "999", "999", "999", ""}, "G", "54"), " 障害ＧⅡ　　");
    EXPECT_EQ(classOf({"", "000", "000", "004", "004", ""}, " ", "51"), " 障害400万　 ");
    // A jump class outside the jump table takes the flat class.
    EXPECT_EQ(classOf({"", "000", "005", "005", "000", ""}, " ", "51"), " １勝クラス　");
}

TEST(RaceCaption, JumpCourses)
{
    auto card = dayOf(1);
    card->RaceClass[0] = {"", "000", "703", "703", "000", ""};
    card->RaceTrack[0] = "52";
    EXPECT_EQ(split(RaceCaptionText(*card, 0, "")).course, " 直線ダ  ");
    card->RaceTrack[0] = "55";
    EXPECT_EQ(split(RaceCaptionText(*card, 0, "")).course, " 芝      ");
    // A jump race whose class comes from the flat table is still on its
    // jump course, not on the previous race's course.
    card->RaceClass[0] = {"", "000", "005", "005", "000", ""};
    const std::string previous = RaceCaptionText(*dayOf(1), 0, "").replace(32, 9, sj(" ダート  "));
    EXPECT_EQ(split(RaceCaptionText(*card, 0, previous)).course, " 芝      ");
}

TEST(RaceCaption, UnknownCodesKeepThePreviousRacesText)
{
    auto card = dayOf(2);
    card->RaceKind[1] = "99";
    card->RaceTrack[1] = "00";
    card->RaceClass[1] = {"", "000", "000", "000", "000", ""};
    card->RaceDistance[1] = "2000";
    const std::string first = RaceCaptionText(*card, 0, "");
    const CaptionParts p = split(RaceCaptionText(*card, 1, first));
    EXPECT_EQ(p.age, " サラ３歳指定");
    EXPECT_EQ(p.klass, " 未勝利　　　");
    EXPECT_EQ(p.course, " 芝      ");
    EXPECT_EQ(p.distance, "2000");
    // The first race of the day has nothing before it: blanks.
    const std::string alone = RaceCaptionText(*card, 1, "");
    ASSERT_EQ(alone.size(), 51u);
    EXPECT_EQ(alone.substr(6, 35), std::string(35, ' '));
}

class RaceSelectionDay : public ::testing::Test
{
protected:
    void load(int races)
    {
        card = dayOf(races);
        paper = std::make_unique<TNewspaper>(*card, masters, labels);
    }

    MasterTables masters;
    LabelTables labels;
    std::unique_ptr<TRaceCard> card;
    std::unique_ptr<TNewspaper> paper;
};

TEST_F(RaceSelectionDay, BuildsCaptionsNumbersAndCounts)
{
    load(12);
    card->RaceEntries[10] = "09";
    paper->RunnerCounts.fill(3);
    buildRaceSelection(*paper);
    EXPECT_EQ(u8(paper->RaceNumberWide[1]), "１");
    EXPECT_EQ(u8(paper->RaceNumberWide[9]), "９");
    EXPECT_EQ(u8(paper->RaceNumberWide[12]), "１２");
    EXPECT_EQ(u8(paper->RaceCaption[11].substr(0, 6)), "１２Ｒ");
    EXPECT_EQ(paper->RunnerCounts[10], 9);

    // A shorter day: the races after it keep their count and lose their caption.
    load(8);
    paper->RunnerCounts.fill(3);
    paper->RaceCaption[9] = "old";
    buildRaceSelection(*paper);
    EXPECT_EQ(paper->RunnerCounts[7], 16);
    EXPECT_EQ(paper->RunnerCounts[8], 3);
    EXPECT_EQ(paper->RaceCaption[7].size(), 51u);
    EXPECT_TRUE(paper->RaceCaption[9].empty());

    card->RaceEntries[4] = "ab";
    EXPECT_THROW(buildRaceSelection(*paper), ConversionError);
}

TEST(RaceSelectionTexts, PanelAndMarginLabelsByStyle)
{
    TPaperSettings s;
    s.sinbun = "0", s.insatu = "2", s.font = "0", s.color = "0", s.yosou = "1", s.sinba = "1", s.kako = "3";
    TRaceSelectionTexts t = raceSelectionTexts(s);
    EXPECT_EQ(t.label3, "印刷表示：白　黒");
    EXPECT_EQ(t.label4, "フォント：明朝");
    EXPECT_EQ(t.label5, "予想表示：有り");
    EXPECT_EQ(t.label6, "予想 ：過去 3 走");
    EXPECT_EQ(t.label7, "新馬予想：有り");
    EXPECT_EQ(t.label8, "新聞：縦ﾆﾎﾝ風三");
    EXPECT_EQ(t.label27, "縦書余白設定");
    EXPECT_EQ(t.label12, "上余白(４～ )mm");
    EXPECT_EQ(t.label13, "左余白(５～ )mm");
    EXPECT_EQ(t.topMin, 4);
    EXPECT_EQ(t.leftMin, 5);
    EXPECT_TRUE(t.showPickLabels);

    s.insatu = "0";
    EXPECT_EQ(raceSelectionTexts(s).label8, "新聞：縦ﾆﾎﾝ風四");
    s.insatu = "1";
    EXPECT_EQ(raceSelectionTexts(s).label8, "新聞：縦ﾆﾎﾝ風五");

    s.sinbun = "1", s.font = "1", s.color = "1", s.yosou = "0", s.sinba = "0";
    t = raceSelectionTexts(s);
    EXPECT_EQ(t.label3, "印刷表示：カラー");
    EXPECT_EQ(t.label4, "フォント：ゴシック");
    EXPECT_EQ(t.label5, "予想表示：無し");
    EXPECT_EQ(t.label7, "新馬予想：無し");
    EXPECT_EQ(t.label8, "新聞：横ﾌﾞｯｸ風");
    EXPECT_EQ(t.label27, "横書余白設定");
    EXPECT_EQ(t.label12, "上余白(５～ )mm");
    EXPECT_EQ(t.label13, "左余白(４～ )mm");
    EXPECT_EQ(t.topMin, 5);
    EXPECT_EQ(t.leftMin, 4);

    s.sinbun = "2";
    t = raceSelectionTexts(s);
    EXPECT_EQ(t.label8, "新聞：レープロ風");
    EXPECT_FALSE(t.showPickLabels);
}

TEST(PrintEdits, KeysAndDefaultsPerStyle)
{
    test::TempHome home;
    ProfileFile file(home.path() / "zorbelab.Ini");
    const TPrintEdits v = readPrintEdits(file, PageStyle::Vertical);
    EXPECT_EQ(v.vScale + "/" + v.hScale + "/" + v.topMm + "/" + v.leftMm, "100/106/7/10");
    const TPrintEdits h = readPrintEdits(file, PageStyle::Programme);
    EXPECT_EQ(h.vScale + "/" + h.hScale + "/" + h.topMm + "/" + h.leftMm, "106/100/10/7");

    savePrintEdits(file, PageStyle::Vertical, {"95", "110", "8", "12"});
    savePrintEdits(file, PageStyle::Horizontal, {"101", "102", "9", "6"});
    const std::string section = sj("拡大縮小");
    EXPECT_EQ(file.readString(section, sj("縦縦"), ""), "95");
    EXPECT_EQ(file.readString(section, sj("横縦"), ""), "110");
    EXPECT_EQ(file.readString(section, sj("縦上"), ""), "8");
    EXPECT_EQ(file.readString(section, sj("縦左"), ""), "12");
    EXPECT_EQ(file.readString(section, sj("縦横"), ""), "101");
    EXPECT_EQ(file.readString(section, sj("横横"), ""), "102");
    EXPECT_EQ(file.readString(section, sj("横上"), ""), "9");
    EXPECT_EQ(file.readString(section, sj("横左"), ""), "6");
    EXPECT_EQ(readPrintEdits(file, PageStyle::Vertical).leftMm, "12");
    EXPECT_EQ(readPrintEdits(file, PageStyle::Programme).leftMm, "6");

    const TPrintEdits rv = resetMargins(PageStyle::Vertical);
    EXPECT_EQ(rv.vScale + "/" + rv.hScale + "/" + rv.topMm + "/" + rv.leftMm, "100/100/7/23");
    const TPrintEdits rh = resetMargins(PageStyle::Horizontal);
    EXPECT_EQ(rh.topMm + "/" + rh.leftMm, "22/7");
}

TEST(BatchTexts, JobTitlesAndProgress)
{
    auto card = dayOf(12);
    card->RaceVenue[1] = "06";
    EXPECT_EQ(printJobTitle(*card, 0), "0526051001");
    EXPECT_EQ(printJobTitle(*card, 11), "0526051012");
    EXPECT_EQ(u8(batchProgressText(sj("東京"), 0)), "東京　 １Ｒ 出力中");
    EXPECT_EQ(u8(batchProgressText(sj("東京"), 8)), "東京 　９Ｒ 出力中");
    EXPECT_EQ(u8(batchProgressText(sj("東京"), 11)), "東京 １２Ｒ 出力中");
}

// A progress display that records its texts and cancels when told to.
class ScriptedProgress : public TBatchProgress
{
public:
    std::vector<std::string> shown;
    int polls = 0;
    std::function<bool(int poll)> cancelAt = [](int) { return false; };

    void show(const std::string &text) override { shown.push_back(u8(text)); }
    bool cancelled() override { return cancelAt(++polls); }
};

// A printer whose n-th job (1-based) cannot be started or fails at its end.
class FailingPrinter : public RecordingPrinter
{
public:
    int failBegin = 0;
    int failEnd = 0;
    int begun = 0;

    std::unique_ptr<TPrintJob> beginJob(const std::string &title) override
    {
        if (++begun == failBegin)
            return nullptr;
        auto job = RecordingPrinter::beginJob(title);
        if (begun != failEnd)
            return job;
        struct Failing : TPrintJob
        {
            std::unique_ptr<TPrintJob> inner;
            TPageContext context() override { return inner->context(); }
            bool end() override { return false; }
            void abort() override { inner->abort(); }
        };
        auto failing = std::make_unique<Failing>();
        failing->inner = std::move(job);
        return failing;
    }
    std::string errorText() const override { return "用紙がありません。"; }
};

class BatchPrinting : public RaceSelectionDay
{
protected:
    void SetUp() override
    {
        load(12);
        buildRaceSelection(*paper);
        edits = readPrintEditsDefault();
    }
    static TPrintEdits readPrintEditsDefault() { return {"100", "106", "7", "10"}; }
    std::vector<std::string> titles(const RecordingPrinter &p) const
    {
        std::vector<std::string> t;
        for (const auto &job : p.jobs())
            t.push_back(job.title);
        return t;
    }
    static bool whitened(const RecordingPrinter::Job &job)
    {
        for (const RecordedCall &c : job.canvas->calls())
            if (c.kind == RecordedCall::Kind::Rect && c.x == 0 && c.y == 0 && c.colour == kWhite)
                return true;
        return false;
    }

    TPrintEdits edits;
    RecordingPrinter printer;
    ScriptedProgress progress;
};

TEST_F(BatchPrinting, CheckedRacesOfTheDayOneJobEach)
{
    load(8);
    buildRaceSelection(*paper);
    std::array<bool, 12> checked{};
    checked[0] = checked[2] = checked[7] = true;
    checked[9] = true; // no 10R on an 8-race day
    const TBatchResult result = BatchPrint(*paper, checked, edits, printer, progress);
    EXPECT_EQ(result.end, BatchEnd::Completed);
    EXPECT_EQ(result.printed, 3);
    EXPECT_EQ(titles(printer), (std::vector<std::string>{"0526051001", "0526051003", "0526051008"}));
    for (const auto &job : printer.jobs()) {
        EXPECT_TRUE(job.ended);
        EXPECT_TRUE(whitened(job));
    }
    EXPECT_EQ(progress.shown, (std::vector<std::string>{"東京　 １Ｒ 出力中", "東京　 ３Ｒ 出力中",
                                                        "東京　 ８Ｒ 出力中"}));
    // The span of the last page is 8R's: seven races of 16 runners before it.
    EXPECT_EQ(pageSpan().race, 7);
    EXPECT_EQ(pageSpan().start, 112);
    EXPECT_EQ(pageSpan().end, 128);
}

TEST_F(BatchPrinting, CancelDuringRaceThreeStopsAfterIt)
{
    std::array<bool, 12> checked;
    checked.fill(true);
    progress.cancelAt = [](int poll) { return poll == 3; };
    const TBatchResult result = BatchPrint(*paper, checked, edits, printer, progress);
    EXPECT_EQ(result.end, BatchEnd::Cancelled);
    EXPECT_EQ(result.printed, 3);
    ASSERT_EQ(printer.jobs().size(), 3u);
    EXPECT_EQ(printer.jobs()[2].title, "0526051003");
    EXPECT_TRUE(printer.jobs()[2].ended);
}

TEST_F(BatchPrinting, ProgrammeStylePrintsOddRacesWithTheRaceAfterThem)
{
    paper->settings.sinbun = "2";
    std::array<bool, 12> checked{};
    checked[0] = checked[1] = checked[2] = true;   // as "全レース選択" leaves them
    const TBatchResult result = BatchPrint(*paper, checked, edits, printer, progress);
    EXPECT_EQ(result.end, BatchEnd::Completed);
    EXPECT_EQ(result.printed, 2);
    // No sheet for 2R: it is on 1R's page.
    EXPECT_EQ(titles(printer), (std::vector<std::string>{"0526051001", "0526051003"}));
    EXPECT_EQ(progress.shown, (std::vector<std::string>{"東京　 １Ｒ 出力中", "東京　 ３Ｒ 出力中"}));
    for (const auto &job : printer.jobs()) {
        EXPECT_TRUE(whitened(job));
        EXPECT_EQ(job.sheet, SheetOrientation::Portrait);
    }
    // 3R's page also holds 4R.
    EXPECT_EQ(pageSpan().start2, 48);
    EXPECT_EQ(pageSpan().end2, 64);
    EXPECT_DOUBLE_EQ(pageParams().hFactor, 106 * 0.98 * 0.01);
}

TEST_F(BatchPrinting, EachStyleTurnsTheSheetItsOwnWay)
{
    std::array<bool, 12> checked{};
    checked[0] = true;
    for (const auto &[sinbun, sheet] : {std::pair{"0", SheetOrientation::Landscape},
                                        std::pair{"1", SheetOrientation::Portrait},
                                        std::pair{"2", SheetOrientation::Portrait}}) {
        RecordingPrinter target;
        paper->settings.sinbun = sinbun;
        BatchPrint(*paper, checked, edits, target, progress);
        ASSERT_EQ(target.jobs().size(), 1u);
        EXPECT_EQ(target.jobs()[0].sheet, sheet) << sinbun;
    }
}

TEST_F(BatchPrinting, FailuresEndTheBatchNamingTheRace)
{
    std::array<bool, 12> checked;
    checked.fill(true);

    FailingPrinter failEnd;
    failEnd.failEnd = 3;
    TBatchResult result = BatchPrint(*paper, checked, edits, failEnd, progress);
    EXPECT_EQ(result.end, BatchEnd::Failed);
    EXPECT_EQ(result.printed, 2);
    EXPECT_EQ(failEnd.jobs().size(), 3u);
    EXPECT_NE(result.error.find("３Ｒ"), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("用紙がありません。"), std::string::npos);

    FailingPrinter failBegin;
    failBegin.failBegin = 1;
    result = BatchPrint(*paper, checked, edits, failBegin, progress);
    EXPECT_EQ(result.end, BatchEnd::Failed);
    EXPECT_EQ(result.printed, 0);
    EXPECT_TRUE(failBegin.jobs().empty());
    EXPECT_NE(result.error.find("１Ｒ"), std::string::npos);

    // An edit that is not a number stops before any job is started.
    RecordingPrinter none;
    edits.topMm = "7a";
    result = BatchPrint(*paper, checked, edits, none, progress);
    EXPECT_EQ(result.end, BatchEnd::Failed);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(none.jobs().empty());
}

} // namespace
} // namespace zorbe
