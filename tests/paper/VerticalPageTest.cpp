#include "PaperTestSupport.h"

#include "paper/PageModel.h"
#include "paper/PageTables.h"
#include "paper/VerticalPage.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zorbe;
using namespace zorbe::test;

namespace {

class VerticalPageTest : public ::testing::Test
{
protected:
    void day(int runners)
    {
        d.addRace(runners);
        d.select();
    }

    // Expects a text at the device position of (xMm, yMm).
    void expectAt(const std::string &utf8, int xMm, int yMm)
    {
        const RecordedCall *call = findUtf8(d.canvas, utf8);
        ASSERT_NE(call, nullptr) << utf8 << " not drawn; texts:\n" << textsOf(d.canvas);
        EXPECT_EQ(call->x, d.x(xMm)) << utf8;
        EXPECT_EQ(call->y, d.y(yMm)) << utf8;
    }

    std::vector<RecordedCall> lines() const
    {
        std::vector<RecordedCall> out;
        for (const auto &call : d.canvas.calls())
            if (call.kind == RecordedCall::Kind::Line)
                out.push_back(call);
        return out;
    }

    PaperDay d;
};

TEST_F(VerticalPageTest, StartTimeAndHeaderColumn)
{
    day(8);
    d.card->RaceStartTime[0] = "1025";
    d.drawScreen(0);
    const int n = 8;
    expectAt("10時 25分", 13 * n + 12, 4);
    expectAt("発走時刻", 13 * n + 12, 1);
    expectAt("１", 13 * n + 12, 7);   // the wide race number, 18 pt bold
    EXPECT_TRUE(findUtf8(d.canvas, "１")->bold);
    EXPECT_EQ(findUtf8(d.canvas, "１")->sizePt, 18);
    expectAt("東京", 13 * n + 25, 7);
    EXPECT_EQ(findUtf8(d.canvas, "東京")->kind, RecordedCall::Kind::VText);
    expectAt("2024年6月15日", 13 * n + 5, 88);
    expectAt("第 3 回  5 日目", 13 * n + 6, 91);

    d.card->RaceStartTime[0] = "1305";
    d.drawScreen(0);
    expectAt("1時 05分", 13 * (n + 1), 4);
    d.card->RaceStartTime[0] = "0955";
    d.drawScreen(0);
    expectAt("9時 55分", 13 * (n + 1), 4);
}

TEST_F(VerticalPageTest, RaceNameAndClassLineComeFromTheCaption)
{
    day(10);
    d.drawScreen(0);
    const std::string &caption = d.paper.RaceCaption[0];
    ASSERT_EQ(caption.size(), 51u);
    // A name of full-width blanks shows the age condition of the caption.
    const RecordedCall *name = d.canvas.findText(caption.substr(7, 13));
    ASSERT_NE(name, nullptr) << textsOf(d.canvas);
    EXPECT_EQ(name->x, d.x(13 * 10 + 25));
    EXPECT_EQ(name->y, d.y(20));
    expectAt("（" + u8(caption.substr(11, 21)) + "  定量）", 13 * 10 + 15, 20);

    // A long name is split after 28 bytes into a second column.
    d.card->RaceName[0] = sj("ゾルベ記念ステークスオープン特別競走") + std::string(24, ' ');
    d.drawScreen(0);
    expectAt("ゾルベ記念ステークスオープン", 13 * 10 + 25, 20);
    expectAt("特別競走        ", 13 * 10 + 20, 24);
    // A name the source could not spell is repaired.
    d.card->RaceName[0] = sj("　園特別") + std::string(52, ' ');
    d.drawScreen(0);
    expectAt("祇園特別", 13 * 10 + 25, 20);
    // No class line for a weight rule outside 1-4.
    d.card->RaceWeightRule[0] = "0";
    d.drawScreen(0);
    EXPECT_EQ(d.canvas.findText(sj("（") + caption.substr(11, 21) + " " + sj(" 定量）")), nullptr);
}

TEST_F(VerticalPageTest, RunnerColumnItems)
{
    day(9);
    TRaceCard &c = *d.card;
    c.OddsWin[0][1] = " 12.5";
    c.OddsWin[0][2] = "123.4";
    c.HorseMark[1] = "15";
    c.EntryBlinker[0][3] = "1";
    c.EntryApprentice[0][1] = "2";
    c.HorseResults[0][1] = {"", "012", "003", "010", "009"};
    d.drawScreen(0);
    const int R0 = 13 * 9;   // runner 1 is the rightmost column
    const int R1 = 13 * 8;
    expectAt("12.5", R0 - 12, 11);
    expectAt("123", R1 - 12, 11);
    // Horse name: at y 15 without a horse mark, at 18 below the mark's prefix.
    const auto names = d.canvas.texts();
    auto nameAt = [&](int k) {
        return std::find_if(names.begin(), names.end(), [&](const RecordedCall &call) {
            return call.kind == RecordedCall::Kind::VText && call.text == c.HorseName[static_cast<std::size_t>(k)] &&
                   call.x == d.x(13 * (9 - k) - 4);
        });
    };
    ASSERT_NE(nameAt(0), names.end());
    EXPECT_EQ(nameAt(0)->y, d.y(15));
    ASSERT_NE(nameAt(1), names.end());
    EXPECT_EQ(nameAt(1)->y, d.y(18));
    expectAt("[招]", R1 - 8, 15);
    expectAt("牡 三 3 . 15", R0 - 8, 36);
    expectAt("佐伯正人（美浦）", R0 - 10, 36);
    expectAt("高瀬浩二（栗東）", R1 - 10, 36);
    expectAt("B", 13 * 7 - 10, 49);
    expectAt("△", R0 - 12, 59);
    expectAt("57.0", R0 - 8, 59);
    expectAt("234.5", R0 - 12, 53);
    expectAt("鹿", R0 - 3, 56);
    expectAt("北原一郎", R0 - 11, 62);
    // The record: b, c and d each take three places.
    expectAt("12  3 10  9", R0 - 12, 65);
    // Turf heavy + bad going: two groups added place by place.
    EXPECT_GE(countUtf8(d.canvas, "2  0  4  6"), 9);
}

TEST_F(VerticalPageTest, TravellingMarkAndJockeyForms)
{
    day(2);
    TRaceCard &c = *d.card;
    c.RaceVenue[0] = "08";   // 京都: the 美浦 trainer travels
    c.EntryJockeyName[0][1] = sj("武　豊　");
    c.EntryJockeyName[0][2] = sj("森田健　");
    d.drawScreen(0);
    expectAt("関東馬", 13 * 2 - 1, 5);
    EXPECT_EQ(findUtf8(d.canvas, "関西馬"), nullptr);
    expectAt("武　豊", 13 * 2 - 10, 62);
    expectAt("森田健", 13 * 1 - 10, 62);
}

TEST_F(VerticalPageTest, PastRaceGeometryByNumberOfRaces)
{
    struct Geometry
    {
        const char *insatu;
        int pastBase;
        int bottom;
        std::vector<std::string> labels;
    };
    const std::vector<Geometry> geometries = {
        {"1", 237, 227, {"五走前", "四走前", "三走前", "前々走", "前　 走"}},
        {"0", 209, 199, {"四走前", "三走前", "前々走", "前　 走"}},
        {"2", 181, 171, {"三走前", "前々走", "前　 走"}},
    };
    day(3);
    for (const Geometry &g : geometries) {
        SCOPED_TRACE(g.insatu);
        d.paper.settings.insatu = g.insatu;
        d.drawScreen(0);
        EXPECT_EQ(pageParams().pastBase, g.pastBase);
        for (std::size_t i = 0; i < g.labels.size(); ++i)
            expectAt(g.labels[i], 13 * 3 + 3, 96 + 28 * static_cast<int>(i));
        if (g.labels.size() < 5) {
            EXPECT_EQ(findUtf8(d.canvas, "五走前"), nullptr);
        }
        // One cell per past race: the meeting number on each cell's first
        // line, newest at the bottom; none above the topmost cell.
        const int cells = static_cast<int>(g.labels.size());
        for (int cell = 0; cell < cells; ++cell) {
            const int y = d.y(g.pastBase - 28 * cell - 37);
            const auto texts = d.canvas.texts();
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const RecordedCall &call) {
                return call.text == "2" && call.y == y && call.x == d.x(13 * 3 - 12);
            })) << "cell " << cell;
        }
        // The frame's bottom border.
        const auto rules = lines();
        EXPECT_TRUE(std::any_of(rules.begin(), rules.end(), [&](const RecordedCall &line) {
            return line.y == d.y(g.bottom) && line.y2 == line.y && line.x == d.x(0) && line.x2 == d.x(13 * 3 + 26);
        }));
        // The credits sit above the picks panel's heading.
        expectAt("ゾルベVer2.11", 13 * 3 + 5, g.pastBase - 16);
    }
}

TEST_F(VerticalPageTest, PastRaceCellLines)
{
    day(1);
    TRaceCard &c = *d.card;
    c.PastMonthDay[0][1] = "0512";
    c.PastFinish[0][1] = "01";
    c.PastAbnormal[0][2] = "5";
    c.PastArrival[0][2] = "03";
    c.PastLast3F[0][2] = "   ";
    c.PastTimeDiff[0][2] = "012";
    c.PastCorner[0][1] = {"", "00", "  ", "12", "03"};
    c.PastClass[0][1] = "999";
    c.PastGrade[0][1] = "A";
    c.PastRaceName[0][1] = sj("ダービ");
    c.STimeCount = 1;
    c.STimeKey[0] = "2024050208";
    c.STimeStd[0] = std::string(40, '0') + "0950" + "0000";   // race 11: 95.0 s
    d.drawScreen(0);
    const int R = 13;
    const int b = 237;
    expectAt("2", R - 12, b - 37);
    expectAt("東", R - 10, b - 37);
    expectAt("5.12", R - 7, b - 37);
    expectAt("16", R - 12, b - 34);
    expectAt("芝", R - 9, b - 34);
    expectAt("1345", R - 6, b - 34);
    const RecordedCall *finish = d.canvas.findText("1");
    ASSERT_NE(finish, nullptr);
    EXPECT_EQ(finish->colour, (Rgb{255, 0, 0}));
    EXPECT_TRUE(finish->bold);
    expectAt("良", R - 8, b - 31);
    expectAt("1人", R - 5, b - 31);
    expectAt("56", R - 12, b - 28);
    expectAt("北原一", R - 9, b - 28);
    expectAt("ダービ", R - 12, b - 25);
    expectAt("480", R - 4, b - 25);
    expectAt("ライバルホ", R - 12, b - 22);
    expectAt("  ⑫③", R - 12, b - 19);
    expectAt("Ｇ1", R - 4, b - 19);
    expectAt("16 ﾄ 1 ｹﾞ", R - 12, b - 16);
    // 34.5, margin 0.3, index 950 - 945 + 100 = 105 without a blank.
    expectAt("34.5 0.3105", R - 12, b - 13);
    // The second race: disqualified, no last 3F: the state and no time line.
    expectAt(" 03失格", R - 6, b - 28 - 34);
}

TEST_F(VerticalPageTest, TimeIndexForms)
{
    day(1);
    TRaceCard &c = *d.card;
    c.STimeCount = 1;
    c.STimeKey[0] = "2024050208";
    auto line = [&](const char *standard) {
        c.STimeStd[0] = std::string(40, '0') + standard + "0000";
        d.drawScreen(0);
        return d.y(237 - 13);
    };
    auto textAt = [&](int y) {
        for (const auto &call : d.canvas.texts())
            if (call.y == y && call.x == d.x(13 - 12))
                return u8(call.text);
        return std::string();
    };
    EXPECT_EQ(textAt(line("0900")), "34.5 0.3 55");   // 0 < T < 100
    EXPECT_EQ(textAt(line("0840")), "34.5 0.3 -");    // T <= 0
    EXPECT_EQ(textAt(line("0000")), "34.5 0.3 -");    // no standard time: T = 0
    c.PastTrack[0][1] = "54";                          // jump: last 3F from the average furlong
    c.PastLast3F[0][1] = "130";
    EXPECT_EQ(textAt(line("0900")), "39.0 0.3 55");
}

TEST_F(VerticalPageTest, RestMarkAndRestRules)
{
    day(1);
    TRaceCard &c = *d.card;
    // Most recent race in March: three months before the June race.
    c.PastMonthDay[0][1] = "0312";
    c.PastMonthDay[0][2] = "0212";
    c.PastMonthDay[0][3] = "1012";   // October of 2023: four months before February
    c.PastYear[0][3] = "2023";
    c.PastMonthDay[0][4] = "0912";
    c.PastYear[0][4] = "2023";
    c.PastMonthDay[0][5] = "0812";
    c.PastYear[0][5] = "2023";
    d.drawScreen(0);
    expectAt(" 3 ヵ月休  ", 1, 237 - 22);
    EXPECT_EQ(d.paper.figures.RestMonths[0], 3);
    // One rule, between the second and third race back (cells 1 and 2).
    std::vector<RecordedCall> rests;
    for (const auto &line : lines())
        if (line.penWidth == pageParams().rulePen && line.y == line.y2 && line.x == d.x(0) && line.x2 == d.x(13))
            rests.push_back(line);
    ASSERT_EQ(rests.size(), 1u);
    EXPECT_EQ(rests[0].y, d.y(237 - 28 * 2 - 10));
}

TEST_F(VerticalPageTest, RunnerWithoutHistory)
{
    day(2);
    TRaceCard &c = *d.card;
    for (std::size_t p = 1; p <= 5; ++p) {
        c.PastYear[1][p] = "    ";
        c.PastMonthDay[1][p] = "    ";
        c.PastTime[1][p] = "    ";
        c.PastCorner[1][p] = {"", "  ", "  ", "  ", "  "};
        c.PastRegistered[1][p] = "  ";
    }
    d.drawScreen(0);
    // Column of runner 2 (x 0..13): nothing on the cell lines.
    for (const auto &call : d.canvas.texts())
        if (call.y >= d.y(87) && call.x < d.x(13) && call.x >= d.x(0))
            ADD_FAILURE() << u8(call.text) << " drawn in an empty past-race area";
    // No running style for it (the first runner has one).
    EXPECT_EQ(countUtf8(d.canvas, "追") + countUtf8(d.canvas, "差") + countUtf8(d.canvas, "先") +
                  countUtf8(d.canvas, "逃"),
              1);
    // The blank times were written back as "0".
    EXPECT_EQ(c.PastTime[1][1], "0");
    EXPECT_EQ(d.paper.figures.RestMonths[1], 1);
}

TEST_F(VerticalPageTest, OddsSources)
{
    TempHome home;
    day(4);
    TRaceCard &c = *d.card;
    // The day odds file of the KOL source: only its existence matters here.
    c.OddsFolder = "d:\\odds";
    files::makeDirectories(WinPath("d:\\odds"));
    files::writeAll(WinPath("d:\\odds\\20240615.odz"), "x");
    d.paper.settings.ozz = "1";
    c.OddsCount = 2;
    c.OddsKey[0] = "090240305 01";
    c.OddsKey[1] = "042024030501";   // 東京 is the source's venue "04"
    c.OddsWin[1] = {"", "*    ", "/    ", "", "0123 "};
    d.drawScreen(0);
    expectAt("49.9", 13 * 4 - 12, 11);
    expectAt("ﾄﾘｹｼ", 13 * 3 - 12, 11);
    expectAt("12.3", 13 * 1 - 12, 11);
    // Without the day file the row stays empty.
    files::remove(WinPath("d:\\odds\\20240615.odz"));
    d.drawScreen(0);
    EXPECT_EQ(findUtf8(d.canvas, "49.9"), nullptr);

    // The PAT program's file: the meeting date first, the odds per runner.
    d.paper.settings.ozz = "0";
    d.paper.settings.patwin = "c:\\patwin";
    std::string record(828, ' ');
    record.replace(0, 8, "20240615");
    record.replace(145 + 18 * 2, 5, " 8.7 ");
    files::makeDirectories(WinPath("c:\\patwin"));
    files::writeAll(WinPath("c:\\patwin\\ZO-531.JRA"), record);
    d.drawScreen(0);
    expectAt(" 8.7 ", 13 * 2 - 12, 11);
    record.replace(0, 8, "20240616");
    files::writeAll(WinPath("c:\\patwin\\ZO-531.JRA"), record);
    d.drawScreen(0);
    EXPECT_EQ(findUtf8(d.canvas, " 8.7 "), nullptr);
}

TEST_F(VerticalPageTest, TimeCorrectionMeans)
{
    day(3);
    d.paper.settings.hosei = "1";
    d.paper.settings.kako = "5";
    TRaceCard &c = *d.card;
    c.STimeCount = 1;
    c.STimeKey[0] = "2024050208";
    c.STimeStd[0] = std::string(40, '0') + "0950" + "0000";
    c.STimeStd3F[0] = std::string(30, '0') + "350" + "000";
    d.drawScreen(0);
    const TRunnerFigures &f = d.paper.figures;
    ASSERT_GT(f.TurfDevCount[0], 0);
    const double mean = static_cast<double>(f.TurfDevSum[0]) / f.TurfDevCount[0];
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", mean);
    const int x = mean >= 99.5 ? 13 * 3 - 12 : mean > 0 ? 13 * 3 - 11 : 13 * 3 - 10;
    const auto texts = d.canvas.texts();
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const RecordedCall &call) {
        return call.x == d.x(x) && call.y == d.y(5) && call.text == (mean <= 0 ? "0" : text);
    })) << textsOf(d.canvas);
    d.paper.settings.hosei = "0";
    d.drawScreen(0);
    for (const auto &call : d.canvas.texts())
        EXPECT_FALSE(call.y == d.y(7) && call.x == d.x(x)) << u8(call.text);
}

TEST_F(VerticalPageTest, NonNumericFieldEndsThePageNamingRaceAndField)
{
    d.addRace(2);
    d.addRace(3);
    d.select();
    d.card->PastFinish[3][2] = "x1";
    try {
        d.drawScreen(1);
        FAIL() << "no error";
    } catch (const ConversionError &e) {
        EXPECT_NE(e.field().find("2R"), std::string::npos) << e.field();
        EXPECT_NE(e.field().find("着順"), std::string::npos) << e.field();
    }
}

TEST_F(VerticalPageTest, FrameAndBracketRow)
{
    struct Case
    {
        int runners;
        std::vector<std::string> labels; // in bracket order
        int heavyRules;                  // bracket boundaries
    };
    const std::vector<Case> cases = {
        {8, {"①白", "②黒", "③赤", "④青", "⑤黄", "⑥緑", "⑦橙", "⑧桃"}, 7},
        {9, {"①白", "②黒", "③赤", "④青", "⑤黄", "⑥緑", "⑦橙", "⑧ 桃"}, 7},
        {17, {"① 白", "② 黒", "③ 赤", "④ 青", "⑤ 黄", "⑥ 緑", "⑦ 橙", "⑧ 桃"}, 7},
    };
    for (const Case &cs : cases) {
        SCOPED_TRACE(cs.runners);
        PaperDay local;
        local.addRace(cs.runners);
        local.select();
        local.drawScreen(0);
        for (std::size_t b = 0; b < cs.labels.size(); ++b)
            EXPECT_NE(findUtf8(local.canvas, cs.labels[b]), nullptr) << cs.labels[b] << "\n" << textsOf(local.canvas);
        const RecordedCall *blue = findUtf8(local.canvas, cs.labels[3]);
        ASSERT_NE(blue, nullptr);
        EXPECT_EQ(blue->colour, (Rgb{0, 0, 255}));
        EXPECT_EQ(findUtf8(local.canvas, cs.labels[0])->colour, (Rgb{128, 128, 128}));
        int heavy = 0;
        for (const auto &call : local.canvas.calls())
            if (call.kind == RecordedCall::Kind::Line && call.x == call.x2 && call.y == local.y(-1) &&
                call.penWidth == pageParams().thickPen && call.x != local.x(0) &&
                call.x != local.x(13 * cs.runners) && call.x != local.x(13 * cs.runners + 11) &&
                call.x != local.x(13 * cs.runners + 26))
                ++heavy;
        EXPECT_EQ(heavy, cs.heavyRules);
    }
    // A bracket of three shows its label twice.
    PaperDay big;
    big.addRace(18);
    big.select();
    big.drawScreen(0);
    EXPECT_EQ(countUtf8(big.canvas, "⑧ 桃"), 2);
    EXPECT_EQ(countUtf8(big.canvas, "⑦ 橙"), 2);
    EXPECT_EQ(countUtf8(big.canvas, "⑥ 緑"), 1);
    // Black and white printing: every label black.
    big.paper.settings.color = "0";
    big.drawScreen(0);
    EXPECT_EQ(findUtf8(big.canvas, "① 白")->colour, kBlack);
}

TEST_F(VerticalPageTest, PrintedPageFitsTheSheet)
{
    day(18);
    d.drawPrinted(0);
    // A4 landscape at 600 dpi: 7016 x 4961 device units.
    for (const auto &call : d.canvas.calls()) {
        if (call.kind == RecordedCall::Kind::Rect)
            continue;
        EXPECT_LE(std::max(call.x, call.x2), 7016);
        EXPECT_LE(std::max(call.y, call.y2), 4961);
    }
}

TEST(PageTablesTest, PastRaceClasses)
{
    namespace pt = pagetables;
    const std::string blank = sj("　　　");
    const std::string condition(24, ' ');
    auto cls = [&](const char *code, const char *symbol, const std::string &name, const char *grade = " ") {
        const pt::PastClass c = pt::pastRaceClass({code, symbol, name, grade, condition});
        return u8(c.text) + "|" + u8(c.suffix);
    };
    EXPECT_EQ(cls("701", "020", blank), "牝新馬|");
    EXPECT_EQ(cls("702", "021", blank), "牝未出|");
    EXPECT_EQ(cls("703", "000", blank), "未勝利|");
    EXPECT_EQ(cls("005", "000", blank), "1勝ｸﾗｽ|1勝");
    EXPECT_EQ(cls("005", "000", sj("小　特")), "小樽特|1勝");
    EXPECT_EQ(cls("009", "024", blank), "900万|牝9下");
    EXPECT_EQ(cls("010", "000", sj("　園特")), "祇園特|2勝");
    EXPECT_EQ(cls("016", "000", sj("飛　Ｓ")), "飛騨Ｓ| 3勝");
    EXPECT_EQ(cls("999", "000", blank), "ｵｰﾌﾟﾝ|");
    EXPECT_EQ(cls("999", "000", sj("天皇賞"), "A"), "天皇賞|Ｇ1");
    EXPECT_EQ(cls("999", "000", sj("中山大"), "F"), "中山大|JG1");
    EXPECT_EQ(cls("999", "000", sj("オープ"), "L"), "オープ| OP");
    EXPECT_EQ(cls("   ", "000", sj("地方戦")), "地方戦|");
    // No class code and no name: pieces of the condition name.
    const std::string named = sj("３歳以上") + sj("　　") + sj("Ｃ１") + sj("クラス") + std::string(6, ' ');
    EXPECT_EQ(u8(pt::pastRaceClass({"   ", "000", blank, " ", named}).text), "Ｃ１ク");
    const std::string filly = sj("３歳以上") + sj("　牝") + sj("　　　") + std::string(6, ' ');
    EXPECT_EQ(u8(pt::pastRaceClass({"   ", "000", blank, " ", filly}).text), "３上牝");
}

TEST(PageTablesTest, OwnersAndJockeys)
{
    namespace pt = pagetables;
    const std::string fs = sj("　");
    EXPECT_EQ(u8(pt::ownerText(fs + fs + sj("北斗商事") + std::string(28, ' '))), "北斗商事      ");
    EXPECT_EQ(u8(pt::ownerText(sj("北斗") + fs + fs + fs + fs + fs + fs + fs + sj("商事") + std::string(20, ' '))),
              "北斗　商事    ");
    EXPECT_EQ(u8(pt::ownerText(sj("北") + fs + fs + fs + fs + fs + fs + fs + sj("商事") + std::string(20, ' '))),
              "北　商事");
    EXPECT_EQ(u8(pt::ownerText(sj("青嶺ホールディングス") + std::string(20, ' '))), "青嶺ＨＤ");
    EXPECT_EQ(u8(pt::ownerText(sj("朝霧ファームレーシング") + std::string(18, ' '))), "朝霧ファームレ");
    EXPECT_EQ(u8(pt::pastJockeyText(sj("村岡健一"))), "村岡一");
    EXPECT_EQ(u8(pt::pastJockeyText(sj("森田健一"))), "森田健");
}

} // namespace
