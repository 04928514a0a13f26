#include "PaperTestSupport.h"

#include "paper/HorizontalPage.h"
#include "paper/LayoutSupport.h"
#include "paper/PageModel.h"
#include "paper/PagePaths.h"
#include "paper/PageTables.h"
#include "paper/Picks.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zorbe;
using namespace zorbe::test;

namespace {

class HorizontalPageTest : public ::testing::Test
{
protected:
    HorizontalPageTest() { d.paper.settings.sinbun = "1"; }

    void day(int runners)
    {
        d.addRace(runners);
        d.select();
    }

    const RecordedCall *at(const std::string &utf8, int xMm, int yMm) const { return textAt(d, utf8, xMm, yMm); }
    void expectAt(const std::string &utf8, int xMm, int yMm) const
    {
        EXPECT_NE(at(utf8, xMm, yMm), nullptr)
            << utf8 << " not at (" << xMm << ", " << yMm << "); texts:\n" << textsOf(d.canvas);
    }
    // One standard time for the past races of the fixture (東京 2回8日 11R).
    void standardTime(const char *tenths)
    {
        d.card->STimeCount = 1;
        d.card->STimeKey[0] = "2024050208";
        d.card->STimeStd[0] = std::string(40, '0') + tenths + "0000";
    }

    PaperDay d;
};

TEST_F(HorizontalPageTest, HeaderItems)
{
    day(4);
    TRaceCard &c = *d.card;
    c.RacePrize[0] = {"", "0150000", "0001000", "0000400", "0000150", "0000099"};
    c.RaceWeightRule[0] = "1";
    d.drawScreen(0);
    expectAt("東京", 17, 5);
    EXPECT_EQ(at("東京", 17, 5)->kind, RecordedCall::Kind::VText);
    expectAt("１", 18, 5);
    expectAt("10 ：25", -1, 9);
    expectAt("2024年 6月 15日  第 3 回  5 日目", 5, 0);
    expectAt("コースＲ  1 . 32 . 1　レコードホルダー　", 60, 0);
    const std::string &caption = d.paper.RaceCaption[0];
    expectAt("（" + u8(caption.substr(11, 21)) + "   ハンデ）", 29, 10);
    expectAt(u8(caption.substr(41, 4)), 112, 4);
    // The amount's place follows the printed amount (the prize / 10).
    expectAt("①", 133, 4);
    expectAt("15000万円", 136, 4);
    expectAt("100万円", 138, 7);
    expectAt("40万円", 139, 10);
    expectAt("④", 154, 4);
    expectAt("15万円", 160, 4);
    expectAt("9.9万円", 160, 7);
    expectAt("前　　　走", 219, 24);
    expectAt("五　走　前", 99, 24);

    // A start before ten o'clock stands 1 mm further right; an afternoon
    // time keeps its hour.
    c.RaceStartTime[0] = "0955";
    d.drawScreen(0);
    expectAt("9 ：55", 0, 9);
    c.RaceStartTime[0] = "1305";
    d.drawScreen(0);
    expectAt("13 ：05", -1, 9);
}

TEST_F(HorizontalPageTest, BandItemsStandFifteenMillimetresApart)
{
    day(3);
    TRaceCard &c = *d.card;
    c.HorseMark[1] = "15";
    c.HorseSire[1] = sj("ＡＭＥＲＩＣＡＮ　ＳＴＡＲ") + std::string(10, ' ');
    c.HorseSire[0] = sj("サイアーストロングホープ");
    c.HorseBreeder[1] = sj("北斗ファーム牧場");
    c.OddsWin[0][2] = " 12.5";
    c.EntryBlinker[0][2] = "1";
    c.HorseResults[1][1] = {"", "012", "003", "010", "009"};
    d.drawScreen(0);
    const int y = 15;   // runner 2's band
    // The horse name stands right of the mark's column when there is a mark.
    expectAt("テストホース１", 25, y + 31);
    expectAt("テストホース１", 23, 31);
    expectAt("[招]", 25, y + 31);
    // Pedigree names: 16 bytes, 26 for a name in full-width capitals.
    expectAt("ＡＭＥＲＩＣＡＮ　ＳＴＡＲ", 23, y + 28);
    expectAt("サイアーストロン", 23, 28);
    expectAt("北斗ファー", 43, y + 39);
    expectAt("牡 ", 59, y + 28);
    expectAt("三", 62, y + 28);
    expectAt("3 . 15", 43, y + 36);
    expectAt("　鹿", 51, y + 36);
    expectAt("(栗東)", 57, y + 36);
    expectAt("(美浦)", 57, 36);
    expectAt("12.5", 4, y + 36);
    expectAt("Ｂ", 11, y + 39);
    expectAt("57.0", 16, y + 39);
    expectAt("234.5", 4, y + 28);
    expectAt("120", 58, y + 39);
    expectAt("北原一", 18, y + 30);
    // The overall record, one count per line in two places.
    expectAt("12", 75, y + 28);
    expectAt(" 3", 75, y + 31);
    expectAt("10", 75, y + 34);
    expectAt(" 9", 75, y + 38);
    // The last band ends the page: 27 + 15 mm per runner.
    EXPECT_TRUE(lineAt(d, -3, 27 + 15 * 3, 243, 27 + 15 * 3, pageParams().thickPen));
}

TEST_F(HorizontalPageTest, PastRaceCellsLieRightToLeftFromTheMostRecent)
{
    day(10);
    standardTime("0950");
    TRaceCard &c = *d.card;
    c.PastFinish[1][3] = "02";
    d.drawScreen(0);
    // Runner 2, the third race back: cell 2, 62 mm left of the newest.
    const int y = 15;
    const int dx = -62;
    expectAt("2 東 3.12", 213 + dx, y + 28);
    expectAt("1勝ｸﾗｽ", 225 + dx, y + 28);
    expectAt("16ﾄ", 234 + dx, y + 28);
    expectAt("16", 213 + dx, y + 31);
    expectAt("芝　", 216 + dx, y + 31);
    expectAt("1345", 222 + dx, y + 31);
    expectAt("北原一", 228 + dx, y + 31);
    expectAt("56", 237 + dx, y + 31);
    expectAt("ライバルホー", 213 + dx, y + 34);
    expectAt("0.3 34.5", 228 + dx, y + 34);
    expectAt("480", 213 + dx, y + 37);
    expectAt("④③②", 218 + dx, y + 37);
    // 950 - 945 + 100 before the going word.
    expectAt("105良", 236 + dx, y + 37);
    // One-digit numbers stand a millimetre (the finish two) further right.
    expectAt("2ｹﾞ", 227 + dx, y + 37);
    expectAt("2人", 232 + dx, y + 37);
    const RecordedCall *finish = at("2", 240 + dx, y + 27);
    ASSERT_NE(finish, nullptr) << textsOf(d.canvas);
    EXPECT_TRUE(finish->bold);
    EXPECT_EQ(finish->colour, (Rgb{255, 0, 0}));
    // Runner 10 has two-digit numbers.
    expectAt("10ｹﾞ", 226, 15 * 9 + 37);
    expectAt("10人", 231, 15 * 9 + 37);
    ASSERT_NE(at("10", 238, 15 * 9 + 27), nullptr);
}

TEST_F(HorizontalPageTest, TimeIndexBesideTheGoing)
{
    day(1);
    TRaceCard &c = *d.card;
    d.drawScreen(0);
    expectAt("- 良", 237, 37);       // no standard time
    standardTime("0840");
    d.drawScreen(0);
    expectAt("- 良", 237, 37);       // 840 - 945 + 100 is not positive
    // A race without a time (the horse did not finish) has no index.
    standardTime("0950");
    c.PastTime[0][1] = "0";
    c.PastAbnormal[0][1] = "4";
    d.drawScreen(0);
    expectAt("- 良", 237, 37);
    expectAt("中 止", 221, 31);
    // No going, nothing.
    c.PastGoing[0][1] = " ";
    d.drawScreen(0);
    EXPECT_EQ(at("- ", 237, 37), nullptr);
    for (const RecordedCall &call : d.canvas.texts())
        EXPECT_FALSE(call.y == d.y(37) && call.x >= d.x(236)) << u8(call.text);
}

TEST_F(HorizontalPageTest, RestRulesAndTheRestMark)
{
    day(2);
    TRaceCard &c = *d.card;
    // Runner 1: the most recent race in March, three months before the
    // race; February; then October, September, August of 2023.
    c.PastMonthDay[0][1] = "0312";
    c.PastMonthDay[0][2] = "0212";
    c.PastYear[0][3] = "2023", c.PastMonthDay[0][3] = "1012";
    c.PastYear[0][4] = "2023", c.PastMonthDay[0][4] = "0912";
    c.PastYear[0][5] = "2023", c.PastMonthDay[0][5] = "0812";
    d.drawScreen(0);
    const int pen = pageParams().rulePen;
    // Only between February (cell 1) and October (cell 2).
    std::vector<int> rules;
    for (const RecordedCall &call : d.canvas.calls())
        if (call.kind == RecordedCall::Kind::Line && call.penWidth == pen && call.x == call.x2 &&
            call.y == d.y(27) && call.y2 == d.y(42))
            rules.push_back(call.x);
    EXPECT_EQ(rules, std::vector<int>{d.x(243 - 31 * 2)});
    // The rest mark takes the place of the newest cell's rival only.
    expectAt(" 3 ヵ月休  ", 213, 34);
    EXPECT_EQ(at("ライバルホー", 213, 34), nullptr);
    expectAt("ライバルホー", 213 - 31, 34);
    // Runner 2 raced every month: no rules, no mark.
    for (const RecordedCall &call : d.canvas.calls())
        EXPECT_FALSE(call.kind == RecordedCall::Kind::Line && call.penWidth == pen && call.y == d.y(15 + 27) &&
                     call.y2 == d.y(15 + 42) && call.x == call.x2 && call.x != d.x(-3) && call.x != d.x(3) &&
                     call.x != d.x(88) && call.x != d.x(243));
    expectAt("ライバルホー", 213, 15 + 34);
}

TEST_F(HorizontalPageTest, ClassTextsOfThisStyle)
{
    namespace pt = pagetables;
    const std::string blank = sj("　　　");
    const std::string condition(24, ' ');
    auto cls = [&](const char *code, const char *symbol, const std::string &name, const char *grade = " ") {
        const pt::PastClass c = pt::horizontalPastClass({code, symbol, name, grade, condition});
        return u8(c.text) + "|" + u8(c.suffix);
    };
    EXPECT_EQ(cls("702", "000", blank), "未出|");
    EXPECT_EQ(cls("703", "020", blank), "牝未勝|");
    EXPECT_EQ(cls("005", "000", blank), "1勝ｸﾗｽ|");
    EXPECT_EQ(cls("005", "000", sj("小　特")), "小樽特|1勝");
    EXPECT_EQ(cls("009", "024", blank), "牝900万|");
    EXPECT_EQ(cls("014", "000", blank), "140万| 14");
    EXPECT_EQ(cls("999", "000", sj("天皇賞"), "A"), "天皇賞| G1");
    EXPECT_EQ(cls("999", "000", sj("中山大"), "H"), "中山大| JG3");
    EXPECT_EQ(cls("999", "000", sj("オープ"), "L"), "オープ| OP");
    EXPECT_EQ(cls("999", "000", blank, "A"), "ｵｰﾌﾟﾝ|");
    EXPECT_EQ(cls("008", "000", sj("特別戦")), "|");   // a code this style has no text for

    EXPECT_EQ(u8(pt::pastSurfaceWord("10")), "芝直");
    EXPECT_EQ(u8(pt::pastSurfaceWord("19")), "芝外");
    EXPECT_EQ(u8(pt::pastSurfaceWord("21")), "芝内");
    EXPECT_EQ(u8(pt::pastSurfaceWord("24")), "ダ　");
    EXPECT_EQ(u8(pt::pastSurfaceWord("55")), "障　");
    EXPECT_EQ(u8(pt::bandAgeWord(11)), "十一");
    EXPECT_EQ(u8(pt::bandAgeWord(12)), "十二 ");
    EXPECT_EQ(u8(pt::horizontalOwnerText(sj("青嶺ホールディングス") + std::string(20, ' '))), "青嶺ホールデ");
}

TEST(HorizontalFrame, BracketColumnByFieldSize)
{
    struct Label
    {
        const char *text;
        int y;
    };
    struct Case
    {
        int runners;
        std::vector<Label> labels;
        std::vector<int> heavyRules; // y of the heavy rules between brackets
    };
    // Single brackets: the number at band + 29, the digit at + 33 and the
    // word at + 37; a pair's digit 4 mm above the rule between its bands
    // (5 mm with 13 runners) and its word 5 mm lower; a bracket of three
    // labelled twice from its top edge.
    const std::vector<Case> cases = {
        {8, {{" 1", 29}, {"①", 33}, {"白", 37}, {"⑧", 15 * 7 + 33}}, {27, 42, 27 + 15 * 7}},
        {12,
         {{"④", 15 * 3 + 33}, {"⑤", 42 + 15 * 4 - 4}, {"黄", 42 + 15 * 4 + 1}, {" 5", 15 * 4 + 33}, {" 6", 15 * 5 + 33}},
         {42 + 15 * 3, 42 + 15 * 5}},
        {13, {{"④", 42 + 15 * 3 - 5}, {"青", 42 + 15 * 3}}, {42 + 15 * 2}},
        {15, {{"白", 38}, {"②", 42 + 15 * 1 - 4}}, {42}},
        {18,
         {{"⑦", 27 + 15 * 12 + 11}, {"⑦", 27 + 15 * 12 + 26}, {"橙", 27 + 15 * 12 + 31}, {"⑧", 27 + 15 * 15 + 11}},
         {42 + 15 * 11, 42 + 15 * 14}},
    };
    for (const Case &cs : cases) {
        SCOPED_TRACE(cs.runners);
        PaperDay d;
        d.paper.settings.sinbun = "1";
        d.addRace(cs.runners);
        d.select();
        d.drawScreen(0);
        for (const Label &label : cs.labels)
            EXPECT_NE(textAt(d, label.text, -2, label.y), nullptr) << label.text << " at " << label.y << "\n"
                                                                   << textsOf(d.canvas);
        for (int y : cs.heavyRules)
            EXPECT_TRUE(lineAt(d, -3, y, 243, y, pageParams().thickPen)) << y;
        // Nothing of the column below the page.
        for (const RecordedCall &call : d.canvas.texts())
            EXPECT_LT(call.y, d.y(27 + 15 * cs.runners)) << u8(call.text);
    }

    // Bracket 4 and the finishing positions: blue on the screen, black with
    // black and white printing.
    PaperDay d;
    d.paper.settings.sinbun = "1";
    d.addRace(8);
    d.select();
    d.card->PastFinish[0][1] = "03";
    d.drawScreen(0);
    EXPECT_EQ(textAt(d, "④", -2, 15 * 3 + 33)->colour, (Rgb{0, 0, 255}));
    EXPECT_EQ(textAt(d, "3", 240, 27)->colour, (Rgb{0, 0, 255}));
    d.paper.settings.color = "0";
    d.drawScreen(0);
    EXPECT_EQ(textAt(d, "④", -2, 15 * 3 + 33)->colour, kBlack);
    EXPECT_EQ(textAt(d, "3", 240, 27)->colour, kBlack);
}

TEST(HorizontalFrame, EighteenRunnersFillAnUprightSheetWhenPrinted)
{
    PaperDay d;
    d.paper.settings.sinbun = "1";
    d.addRace(18);
    d.select();
    d.drawScreen(0);
    EXPECT_TRUE(lineAt(d, -3, 297, 243, 297, pageParams().thickPen));
    // The white page covers the whole page, not only its first 1730 units.
    const RecordedCall &fill = d.canvas.calls().front();
    ASSERT_EQ(fill.kind, RecordedCall::Kind::Rect);
    EXPECT_GT(fill.y2, d.y(297));

    // Printed at 600 dpi with the factors 0.8 and 0.9 it ends at 267 mm
    // below the top margin, inside an A4 sheet set upright.
    d.drawPrinted(0);
    EXPECT_DOUBLE_EQ(pageParams().vFactor, 0.9);
    EXPECT_DOUBLE_EQ(pageParams().hFactor, 0.8);
    EXPECT_TRUE(lineAt(d, -3, 297, 243, 297, pageParams().thickPen));
    EXPECT_EQ(d.y(297), mmToDevice(7 + 297, 600, 0.9, 0));
    for (const RecordedCall &call : d.canvas.calls()) {
        if (call.kind == RecordedCall::Kind::Rect)
            continue;
        EXPECT_LE(std::max(call.x, call.x2), 4961);   // 210 mm
        EXPECT_LE(std::max(call.y, call.y2), 7016);   // 297 mm
    }
}

TEST_F(HorizontalPageTest, PicksInTheBandsAndPairsInTheHeader)
{
    day(9);
    d.paper.settings.sinba = "1";
    d.drawScreen(0);
    // Marks: 本紙 at x 10, 虎の穴 at 7, タイム at 4, 6 mm into the runner's band.
    const TPickTable table = RankPicks(d.paper.figures, 9);
    const int first = table.runner[0][1];
    expectAt("◎", 10, 15 * first + 18);
    expectAt("◎", 7, 15 * table.runner[1][1] + 18);
    expectAt("◎", 4, 15 * table.runner[2][1] + 18);
    EXPECT_EQ(at("◎", 10, 15 * first + 18)->sizePt, 8);
    expectAt("本紙", 174, 4);
    expectAt("TIME", 174, 12);
    const std::vector<std::string> pairs = pickPairs(table, 0, d.paper.labels);
    ASSERT_EQ(pairs.size(), 6u);
    expectAt(u8(pairs[0]), 182, 4);
    expectAt(u8(pairs[5]), 227, 4);
}

TEST(HorizontalPicks, FewerThanFourRunnersGetMarksAndPairsOnlyForRanksThereAre)
{
    for (int runners : {1, 3}) {
        SCOPED_TRACE(runners);
        PaperDay d;
        d.paper.settings.sinbun = "1";
        d.paper.settings.sinba = "1";
        d.addRace(runners);
        d.select();
        d.drawScreen(0);
        int marks = 0;
        for (const RecordedCall &call : d.canvas.texts())
            for (const char *mark : {"◎", "○", "▲", "△"})
                marks += call.text == sj(mark) && call.x <= d.x(10) ? 1 : 0;
        EXPECT_EQ(marks, 3 * runners);
        int pairs = 0;
        for (const RecordedCall &call : d.canvas.texts())
            pairs += call.x >= d.x(182) && call.y <= d.y(12) && call.y >= d.y(4) ? 1 : 0;
        EXPECT_EQ(pairs, runners == 1 ? 0 : 3 * 2);
    }
}

TEST_F(HorizontalPageTest, FiguresAreThoseOfTheVerticalPage)
{
    day(6);
    TRaceCard &c = *d.card;
    standardTime("0950");
    c.STimeStd3F[0] = std::string(30, '0') + "350" + "000";
    d.paper.settings.kako = "5";
    c.PastMonthDay[2][1] = "0112";
    d.paper.settings.sinbun = "0";
    d.drawScreen(0);
    const TRunnerFigures vertical = d.paper.figures;
    d.paper.settings.sinbun = "1";
    d.paper.figures = {};
    d.drawScreen(0);
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_DOUBLE_EQ(d.paper.figures.HonshiFigure[k], vertical.HonshiFigure[k]) << k;
        EXPECT_DOUBLE_EQ(d.paper.figures.ToraFigure[k], vertical.ToraFigure[k]) << k;
        EXPECT_DOUBLE_EQ(d.paper.figures.TimeFigure[k], vertical.TimeFigure[k]) << k;
        EXPECT_EQ(d.paper.figures.RestMonths[k], vertical.RestMonths[k]) << k;
        EXPECT_EQ(d.paper.figures.TurfDevSum[k], vertical.TurfDevSum[k]) << k;
    }
    EXPECT_EQ(d.paper.figures.RestMonths[2], 5);
    // The time-correction means at x 10 or 11 of the band.
    const TRunnerFigures &f = d.paper.figures;
    ASSERT_GT(f.TurfDevCount[0], 0);
    const double mean = static_cast<double>(f.TurfDevSum[0]) / f.TurfDevCount[0];
    const std::string text = mean <= 0 ? "0" : layout::fixedDecimal(mean, 0);
    expectAt(text, mean <= 0 ? 9 : mean >= 99.5 ? 10 : 11, 37);

    // Whatever the vertical page's number of past races, this page is the same.
    const std::vector<RecordedCall> five = d.canvas.calls();
    d.paper.settings.insatu = "2";
    d.drawScreen(0);
    ASSERT_EQ(d.canvas.calls().size(), five.size());
    for (std::size_t i = 0; i < five.size(); ++i)
        EXPECT_EQ(recordedLine(d.canvas.calls()[i]), recordedLine(five[i]));
}

TEST_F(HorizontalPageTest, JumpRaceTakesItsOwnPrizeAndRecords)
{
    day(2);
    TRaceCard &c = *d.card;
    c.RaceTrack[0] = "52";
    c.HorsePrizeEarned[0] = {"", "0002345", "0000870"};
    c.HorseResults[0][6] = {"", "004", "000", "001", "002"};
    c.HorseResults[0][4] = {"", "007", "000", "000", "000"};
    d.drawScreen(0);
    expectAt("全障害", 68, 18);
    expectAt("右 　ダ", 71, 18);   // the jump course on the dirt track
    expectAt("87", 5, 28);
    EXPECT_EQ(at("234.5", 4, 28), nullptr);
    expectAt(" 4", 66, 28);
    expectAt(" 7", 69, 28);
}

} // namespace
