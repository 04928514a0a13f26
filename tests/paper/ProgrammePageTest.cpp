#include "PaperTestSupport.h"

#include "paper/PageModel.h"
#include "paper/PageTables.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zorbe;
using namespace zorbe::test;

namespace {

class ProgrammePageTest : public ::testing::Test
{
protected:
    ProgrammePageTest() { d.paper.settings.sinbun = "2"; }

    void day(std::initializer_list<int> runners)
    {
        for (int n : runners)
            d.addRace(n);
        d.select();
    }
    const RecordedCall *at(const std::string &utf8, int xMm, int yMm) const { return textAt(d, utf8, xMm, yMm); }
    void expectAt(const std::string &utf8, int xMm, int yMm) const
    {
        EXPECT_NE(at(utf8, xMm, yMm), nullptr)
            << utf8 << " not at (" << xMm << ", " << yMm << "); texts:\n" << textsOf(d.canvas);
    }
    // Every call that reaches the right half of the page (x 98 mm on).
    int callsInTheRightHalf() const
    {
        return static_cast<int>(std::count_if(d.canvas.calls().begin(), d.canvas.calls().end(), [&](const RecordedCall &c) {
            return c.kind != RecordedCall::Kind::Rect && std::max(c.x, c.x2) >= d.x(98);
        }));
    }

    PaperDay d;
};

TEST_F(ProgrammePageTest, EachHalfHasItsOwnRunnerCount)
{
    day({16, 8});
    d.drawScreen(0);
    const int thick = pageParams().thickPen;
    EXPECT_TRUE(lineAt(d, -3, 27 + 15 * 16, 97, 27 + 15 * 16, thick));
    EXPECT_TRUE(lineAt(d, 98, 27 + 15 * 8, 198, 27 + 15 * 8, thick));
    EXPECT_FALSE(lineAt(d, 98, 27 + 15 * 16, 198, 27 + 15 * 16, thick));
    expectAt("１", 2, 5);
    expectAt("２", 103, 5);
    // The venue and the credit belong to the left half only.
    EXPECT_EQ(countUtf8(d.canvas, "東京"), 1);
    expectAt("東京", 1, 5);
    EXPECT_EQ(countUtf8(d.canvas, "ゾルベ Data Lab. Ver2.11　ゾルベ研究所"), 1);
    // Race 2's first runner is horse 17 of the day.
    expectAt(u8(d.card->HorseName[16]), 111, 28);
    // Its bracket column, 101 mm to the right.
    expectAt("①", 99, 31);
    expectAt(" 1", 104, 33);
    EXPECT_TRUE(lineAt(d, 103, 27, 103, 27 + 15 * 8, thick));
}

TEST_F(ProgrammePageTest, LastRaceOfTheDayLeavesTheRightHalfEmpty)
{
    day({6, 5});
    // The day has two races; counts of a third left over from an earlier day
    // do not bring it back.
    d.paper.RunnerCounts[2] = 7;
    d.drawScreen(1);
    expectAt("２", 2, 5);
    EXPECT_EQ(callsInTheRightHalf(), 0) << textsOf(d.canvas);
    d.drawScreen(0);
    EXPECT_GT(callsInTheRightHalf(), 0);
}

TEST_F(ProgrammePageTest, HeaderItems)
{
    day({3});
    TRaceCard &c = *d.card;
    c.RaceStartTime[0] = "1305";
    c.RaceName[0] = sj("ゾルベ記念ステークスオープン特別競走") + std::string(24, ' ');
    c.RaceEdition[0] = "012";
    c.RacePrize[0] = {"", "0150000", "0001000", "0000400", "0000150", "0000099"};
    d.drawScreen(0);
    const std::string &caption = d.paper.RaceCaption[0];
    // The hour as stored: no 12-hour clock here.
    expectAt("（" + u8(caption.substr(11, 21)) + "  定量）　発走13 時 05 分", 11, 10);
    expectAt("第12回ゾルベ記念ステークスオープ", 11, 4);
    expectAt(u8(caption.substr(41, 4)) + " ｍ", 70, 14);
    expectAt(u8(caption.substr(33, 6)), 60, 14);
    expectAt("2024年 6月 15日  第 3 回  5 日目", -2, 0);
    expectAt("コースＲ  1 . 32 . 1　レコードホルダー　", 40, 0);
    expectAt("15000万円", 8, 16);
    expectAt("100万円", 10, 19);
    expectAt("40万円", 11, 22);
    expectAt("⑤", 26, 19);
    expectAt("9.9万円", 32, 19);
    // No class line outside the four weight rules.
    c.RaceWeightRule[0] = "9";
    d.drawScreen(0);
    for (const RecordedCall &call : d.canvas.texts())
        EXPECT_EQ(call.text.find(sj("発走")), std::string::npos) << u8(call.text);
}

TEST_F(ProgrammePageTest, RunnerBand)
{
    day({3});
    TRaceCard &c = *d.card;
    c.HorseSire[1] = sj("ＡＭＥＲＩＣＡＮ　ＳＴＡＲ　ＤＡＮＣＥＲ");
    c.HorseDamDam[1] = sj("グランドマザーオブザイヤー");
    c.HorseBirthplace[1] = sj("浦河町　");
    c.HorseBreeder[1] = sj("北斗ファーム") + std::string(20, ' ');
    c.HorseOwner[1] = sj("　　北斗商事") + std::string(28, ' ');
    c.HorseSex[2] = "9";
    c.PastFinish[1][1] = "00";
    c.PastFinish[1][2] = "03";
    c.PastFinish[1][3] = "12";
    for (std::size_t p = 1; p <= 5; ++p)
        c.PastCorner[2][p] = {"", "  ", "  ", "  ", "  "};
    c.HorseResults[1][1] = {"", "005", "003", "002", "010"};
    c.HorseResults[1][4] = {"", "001", "000", "001", "002"};
    c.HorseResults[1][5] = {"", "001", "001", "000", "003"};
    d.drawScreen(0);
    const int y = 15;   // runner 2
    expectAt("テストホース１", 10, y + 28);
    EXPECT_EQ(at("テストホース１", 10, y + 28)->sizePt, 13 - pageParams().fontReduce);
    // Pedigree names: 20 bytes, 28 for a name in full-width capitals.
    expectAt("ＡＭＥＲＩＣＡＮ　ＳＴＡＲ　", 8, y + 36);
    expectAt("グランドマザーオブザ", 29, y + 39);
    expectAt("北斗商事" + std::string(12, ' '), 65, y + 36);
    expectAt("青嶺レーシング", 67, 36);
    expectAt("佐伯正人", 67, 39);
    expectAt("牡三", 50, y + 28);
    expectAt("　鹿", 50, y + 32);
    expectAt("2021 . 3 . 15　　浦河町　北斗ファーム      ", 8, y + 33);
    expectAt("57.0", 56, y + 27);
    expectAt("北原一郎", 65, y + 29);
    expectAt("高瀬浩二", 67, y + 39);
    expectAt("(栗東)", 51, y + 39);
    expectAt("(美浦)", 51, 39);
    expectAt("234.5", 86, y + 28);
    expectAt("120", 86, y + 30);
    // Turf and jump: the overall record less the dirt one; then the dirt.
    expectAt("3  2  1  5", 86, y + 37);
    expectAt("2  1  1  5", 86, y + 39);
    // The last three finishes, the most recent at the right; a blank one
    // leaves its place empty.
    expectAt("③", 90, y + 33);
    expectAt("⑫", 87, y + 33);
    for (const RecordedCall &call : d.canvas.texts())
        EXPECT_FALSE(call.x == d.x(93) && call.y == d.y(y + 33)) << u8(call.text);
    EXPECT_EQ(at("⑫", 87, y + 33)->colour, kBlack);
    // Runner 3: an unknown sex prints neither sex nor age, and without a
    // fourth corner there is no running style.
    EXPECT_EQ(at("三", 50, 30 + 28), nullptr);
    for (const RecordedCall &call : d.canvas.texts())
        EXPECT_FALSE(call.x == d.x(50) && call.y == d.y(30 + 28)) << u8(call.text);
    expectAt("脚質・", 56, 30 + 32);
}

TEST_F(ProgrammePageTest, StoredOddsOfTheRightHalfStandAsStored)
{
    day({2, 2});
    TRaceCard &c = *d.card;
    c.OddsWin[0][1] = " 12.3";
    c.OddsWin[0][2] = "123.4";
    c.OddsWin[1][1] = " 12.3";
    c.OddsWin[1][2] = "123.4";
    d.drawScreen(0);
    expectAt("12.3", 51, 36);
    expectAt("123", 51, 15 + 36);
    expectAt(" 12.3", 152, 36);
    expectAt("123.4", 152, 15 + 36);
}

TEST_F(ProgrammePageTest, JockeyAndTrainerFromTheMasters)
{
    day({4});
    TRaceCard &c = *d.card;
    const std::string fs = sj("　");
    auto padded = [](const std::string &name) { return name + std::string(32 - name.size(), ' '); };
    d.masters.JockeyTable = {
        {"05001", padded(sj("北原") + fs + sj("一郎") + fs + fs + fs + fs + fs + fs + fs + fs), "1", 0.1},
        {"05002", padded(sj("Ｍ．デムーロ")), "3", 0.2},
    };
    c.EntryJockeyCode[0][2] = "05002";
    c.EntryJockeyCode[0][3] = "05999";
    c.EntryJockeyName[0][3] = sj("見習騎手");
    d.masters.TrainerTable.push_back({"01003", padded(sj("Ｊ．ブラウン")), "4", 0.0});
    c.EntryTrainerCode[0][3] = "01003";
    c.HorseInviteRegion[2] = sj("英国　") + std::string(18, ' ');
    c.EntryTrainerCode[0][4] = "01999";
    c.EntryTrainerName[0][4] = sj("森　健一");
    d.drawScreen(0);
    expectAt("北原　一郎", 65, 29);
    expectAt("デムーロ  ", 65, 15 + 29);
    expectAt("見習騎手", 65, 30 + 29);
    // A trainer from abroad: the name after the initial, at 65.
    expectAt("ブラウ", 65, 30 + 39);
    expectAt("(英国)", 51, 30 + 39);
    // A trainer the master does not know: the race card's short name.
    expectAt("森　　健一", 67, 45 + 39);
}

TEST_F(ProgrammePageTest, FrameOfAHalf)
{
    day({8});
    d.drawScreen(0);
    const int thin = pageParams().thinPen;
    const int thick = pageParams().thickPen;
    const int bottom = 27 + 15 * 8;
    for (int x : {-3, 2, 7, 97})
        EXPECT_TRUE(lineAt(d, x, 27, x, bottom, thick)) << x;
    for (int x : {49, 64, 85})
        EXPECT_TRUE(lineAt(d, x, 27, x, bottom, thin)) << x;
    EXPECT_TRUE(lineAt(d, 55, 15 * 3 + 27, 55, 15 * 3 + 35, thin));
    EXPECT_TRUE(lineAt(d, 7, 15 * 3 + 35, 85, 15 * 3 + 35, thin));
    EXPECT_TRUE(lineAt(d, 2, 42, 97, 42, thin));
    // Up to 8 runners every band is a bracket with its own heavy rule.
    EXPECT_TRUE(lineAt(d, -3, 15 * 5 + 27, 97, 15 * 5 + 27, thick));
    expectAt(" 6", 3, 15 * 5 + 33);
    expectAt("⑥", -2, 15 * 5 + 31);
    expectAt("緑", -2, 15 * 5 + 35);
    EXPECT_EQ(at("緑", -2, 15 * 5 + 35)->colour, (Rgb{0, 128, 0}));
}

TEST(ProgrammeTables, WordsOfThisStyle)
{
    namespace pt = pagetables;
    EXPECT_EQ(u8(pt::programmeSymbolText("A02")), "混");
    EXPECT_EQ(pt::programmeSymbolText("002"), "");
    EXPECT_EQ(pt::programmeSymbolText("N24"), "");
    EXPECT_EQ(u8(pt::programmeSymbolText("A34")), "混 牡 特");
    EXPECT_EQ(u8(pt::programmeWeightRuleText("1")), "  ハンデ）　");
    EXPECT_EQ(u8(pt::programmeWeightRuleText("3")), " 馬齢）　");
    EXPECT_EQ(pt::programmeWeightRuleText("5"), "");
    EXPECT_EQ(u8(pt::programmeSexWord("3")), "ｾﾝ");
    EXPECT_EQ(u8(pt::coatColourWord("11")), "　白");
    EXPECT_EQ(pt::coatColourWord("12"), "");
}

} // namespace
