#include "db/DbTestSupport.h"

#include "db/PersonLists.h"
#include "db/PersonPages.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zorbe;
using namespace zorbe::formats;
using test::utf8At;

namespace {

int px(int mm) { return static_cast<int>(std::lround(mm * 96 / 25.4)) - kPersonPageOriginX; }
int py(int mm) { return static_cast<int>(std::lround(mm * 96 / 25.4)) - kPersonPageOriginY; }

int buttonIndex(const std::vector<TKanaButton> &buttons, const std::string &caption)
{
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].caption == caption)
            return static_cast<int>(i);
    ADD_FAILURE() << caption;
    return 0;
}

std::vector<std::string> listed(const std::vector<TJockeyDetailRec> &jockeys, const std::string &caption)
{
    const auto &b = JockeyKanaButtons()[static_cast<std::size_t>(buttonIndex(JockeyKanaButtons(), caption))];
    std::vector<std::string> out;
    for (const TListEntry &e : FillJockeyList(jockeys, *b.filter))
        out.push_back(u8(e.text));
    return out;
}

std::vector<std::string> listed(const std::vector<TTrainerDetailRec> &trainers, const std::string &caption)
{
    const auto &b = TrainerKanaButtons()[static_cast<std::size_t>(buttonIndex(TrainerKanaButtons(), caption))];
    std::vector<std::string> out;
    if (!b.filter)
        return out;
    for (const TListEntry &e : FillTrainerList(trainers, *b.filter))
        out.push_back(u8(e.text));
    return out;
}

TJockeyDetailRec latinJockey()
{
    TJockeyDetailRec j = test::jockeyDetail("05212", "", "", "ﾃﾞﾑｰﾛ");
    j.set(JockeyDetailFields::DisplayName, sj("ＤＥＭＵＲＯ　ＭＩＲＣＯ"));
    j.set(JockeyDetailFields::Affiliation, "4");
    return j;
}

} // namespace

TEST(PersonLists, KanaButtonsListTheirCharactersSortedByListText)
{
    std::vector<TJockeyDetailRec> jockeys{
        test::jockeyDetail("00001", "熊沢", "重文", "ｸﾏｻﾞﾜ ｼｹﾞﾌﾐ"), test::jockeyDetail("00002", "小林", "淳一", "ｺﾊﾞﾔｼ"),
        test::jockeyDetail("00003", "蛯名", "正義", "ｴﾋﾞﾅ"), test::jockeyDetail("00004", "木幡", "初広", "ｺﾜﾀ"),
        test::jockeyDetail("00005", "菊沢", "隆徳", "ｷｸｻﾞﾜ"), test::jockeyDetail("00006", "柴田", "善臣", "ｼﾊﾞﾀ"),
        test::jockeyDetail("00007", "武", "豊", "ﾀｹ ﾕﾀｶ"), test::jockeyDetail("00008", "北村", "宏司", "ｷﾀﾑﾗ"),
        test::jockeyDetail("00009", "菊地", "昇吾", "ｹｸﾁ"), latinJockey()};
    jockeys[7].set(JockeyDetailFields::Affiliation, "2");

    // "ケ" lists the names beginning with ｸ or ｹ, the same as "ク"; the
    // texts are family and given name cut at fixed bytes, sorted by their
    // cp932 bytes, the affiliation at the end.
    EXPECT_EQ(listed(jockeys, "ケ"), (std::vector<std::string>{"菊地　 昇吾　1", "熊沢　 重文　1"}));
    EXPECT_EQ(listed(jockeys, "ク"), listed(jockeys, "ケ"));
    EXPECT_EQ(listed(jockeys, "キ"), (std::vector<std::string>{"菊沢　 隆徳　1", "北村　 宏司　2"}));
    EXPECT_EQ(listed(jockeys, "外　人"), (std::vector<std::string>{"ＤＥＭＵＲＯ　4"}));
    EXPECT_EQ(listed(jockeys, "テ"), (std::vector<std::string>{"ＤＥＭＵＲＯ　4"}));
    EXPECT_TRUE(listed(jockeys, "ワ").empty());

    EXPECT_EQ(findJockey(jockeys, sj("北村　 宏司　2")), 7u);
    // Letter case is not looked at; a text that is nobody's finds nobody.
    EXPECT_EQ(findJockey(jockeys, sj("ＤＥＭＵＲＯ　4")), 9u);
    EXPECT_FALSE(findJockey(jockeys, sj("北村　 宏司　1")));
    EXPECT_EQ(findJockeyByCode(jockeys, "05212"), 9u);
    EXPECT_EQ(u8(listCaption(sj("ＤＥＭＵＲＯ　4"))), "ＤＥＭＵＲＯ");
}

TEST(PersonLists, TrainerButtonsJoinTheRowsTheirOwnWay)
{
    std::vector<TTrainerDetailRec> trainers{
        test::trainerDetail("01001", "藤沢", "和雄", "ﾌｼﾞｻﾜ"), test::trainerDetail("01002", "平田", "修", "ﾍｲﾀ"),
        test::trainerDetail("01003", "西園", "正都", "ﾆｼｿﾞﾉ"), test::trainerDetail("01004", "沼田", "一", "ﾇﾏﾀ"),
        test::trainerDetail("01005", "根本", "康広", "ﾈﾓﾄ"), test::trainerDetail("01006", "領家", "政蔵", "ﾘｮｳｹ"),
        test::trainerDetail("01007", "瀬戸口", "勉", "ｾﾄｸﾞﾁ"), test::trainerDetail("01008", "相沢", "郁", "ｱｲｻﾞﾜ")};
    EXPECT_EQ(listed(trainers, "ヘ"), listed(trainers, "フ"));
    EXPECT_EQ(listed(trainers, "フ").size(), 2u);
    EXPECT_EQ(listed(trainers, "ニ").size(), 3u);
    EXPECT_EQ(listed(trainers, "ラ"), (std::vector<std::string>{"領家　 政蔵　"}));
    EXPECT_EQ(listed(trainers, "セ"), (std::vector<std::string>{"瀬戸口 勉　　"}));
    EXPECT_TRUE(listed(trainers, "ソ").empty());
    // ヌ, ネ, リ, ル, レ, ロ have no list of their own.
    for (const char *k : {"ヌ", "ネ", "リ", "ル", "レ", "ロ"})
        EXPECT_FALSE(TrainerKanaButtons()[static_cast<std::size_t>(buttonIndex(TrainerKanaButtons(), k))].filter) << k;
    EXPECT_EQ(TrainerKanaButtons().back().caption, "外人");
    EXPECT_EQ(JockeyKanaButtons().back().caption, "外　人");
}

TEST(PersonLists, ANameInLatinLettersListedUnderItsKanaLeadsToItsPage)
{
    TTrainerDetailRec t = test::trainerDetail("01009", "", "", "ｽﾐｽ");
    t.set(TrainerDetailFields::DisplayName, sj("ＳＭＩＴＨ　ＪＯＨＮ"));
    const std::vector<TTrainerDetailRec> trainers{t};
    const auto list = listed(trainers, "ス");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], "ＳＭＩＴＨ　Ｊ");
    EXPECT_EQ(findTrainer(trainers, sj(list[0])), 0u);
}

TEST(PersonPages, JockeyPageRowsRatesAndPositionsByValue)
{
    using F = JockeyDetailFields;
    using S = JockeySectionFields;
    TJockeyDetailRec j = test::jockeyDetail("00666", "武", "豊", "ﾀｹ ﾕﾀｶ");
    j.set(F::Affiliation, "2");
    j.set(F::TrainerCode, "01001");
    test::setCounts(j, F::ThisYear, S::Flat, 1, 12, 10, 8, 70);
    test::setCounts(j, F::ThisYear, S::Jump, 1, 0, 0, 0, 0);
    test::setCounts(j, F::ThisYear, S::Course, courseGroup(5), 100, 1, 0, 100);
    test::setCounts(j, F::LastYear, S::Flat, 1, 150, 120, 100, 630);
    test::setCounts(j, F::LastYear, S::Course, courseGroup(1), 1, 0, 0, 0);
    // Dirt up to 1600 m, the first group of the dirt half.
    test::setCounts(j, F::ThisYear, S::Distance, 4, 3, 2, 1, 4);
    j.setNumber(F::CareerFlat, 1, 3500);
    j.setNumber(F::CareerFlat, 2, 2600);
    j.setNumber(F::CareerFlat, 3, 2000);
    j.setNumber(F::CareerFlat, 4, 9000);
    j.setNumber(F::ThisYearPrize, 1, 123456);
    j.setNumber(F::ThisYearPrize, 3, 44);
    std::vector<TMasterEntry> trainers(1);
    trainers[0].Code = "01001";
    trainers[0].Name = sj("松永　幹夫") + std::string(22, ' ');

    RecordingCanvas canvas;
    DrawJockeyPage(screenPersonContext(canvas, 96), j, trainers, "1");

    EXPECT_EQ(test::textAt(canvas, px(21), py(41))->face, sj("ＭＳ Ｐゴシック"));
    EXPECT_EQ(test::textAt(canvas, px(21), py(41))->sizePt, 10);
    EXPECT_EQ(utf8At(canvas, px(40), py(41)), "武　　 豊　　");
    EXPECT_EQ(utf8At(canvas, px(86), py(41)), "1980年 4月 5日(44歳)");
    EXPECT_EQ(utf8At(canvas, px(137), py(41)), "栗東");
    EXPECT_EQ(utf8At(canvas, px(145), py(41)), "松永幹夫");
    // No graded-race win: nothing after the heading.
    EXPECT_EQ(utf8At(canvas, px(68), py(46)), "重賞勝鞍");
    EXPECT_EQ(test::textAt(canvas, px(85), py(46)), nullptr);
    EXPECT_EQ(utf8At(canvas, px(40), py(51)), "平地 3500-2600-2000-9000");
    EXPECT_EQ(utf8At(canvas, px(21), py(56)), "2024年成績（6 月 13 日現在）");
    EXPECT_EQ(utf8At(canvas, px(96), py(56)), "2023年成績");
    EXPECT_EQ(utf8At(canvas, px(120), py(56)), "2024年本賞金 123500000円");

    // Flat this year: 12 - 10 - 8 - 70 gives 22.0% and 30.0%.
    EXPECT_EQ(utf8At(canvas, px(35), py(66)), "12");
    EXPECT_EQ(utf8At(canvas, px(45), py(66)), "10");
    EXPECT_EQ(utf8At(canvas, px(57), py(66)), "8");
    EXPECT_EQ(utf8At(canvas, px(65), py(66)), "70");
    EXPECT_EQ(utf8At(canvas, px(73), py(66)), "22.0%");
    EXPECT_EQ(utf8At(canvas, px(86), py(66)), "30.0%");
    // A row without runs has its counts and no rates.
    EXPECT_EQ(utf8At(canvas, px(37), py(71)), "0");
    EXPECT_EQ(test::textAt(canvas, px(75), py(71)), nullptr);
    EXPECT_EQ(test::textsAt(canvas, py(71)).size(), 5u + 5u);
    // Tokyo's other finishes have room for three digits: 100 at x 62.
    EXPECT_EQ(utf8At(canvas, px(34), py(98)), "100");
    EXPECT_EQ(utf8At(canvas, px(62), py(98)), "100");
    // Last year: three positions by value, and a rate of exactly 100.
    EXPECT_EQ(utf8At(canvas, px(108), py(66)), "150");
    EXPECT_EQ(utf8At(canvas, px(130), py(66)), "100");
    EXPECT_EQ(utf8At(canvas, px(138), py(66)), "630");
    EXPECT_EQ(utf8At(canvas, px(148), py(66)), "27.0%");
    EXPECT_EQ(utf8At(canvas, px(146), py(78)), "100.0%");
    EXPECT_EQ(utf8At(canvas, px(159), py(78)), "100.0%");
    // "～1600mＤ" (second row) shows the dirt group up to 1600 m.
    EXPECT_EQ(utf8At(canvas, px(21), py(140)), "～1600mＤ");
    EXPECT_EQ(utf8At(canvas, px(46), py(140)), "3");
    EXPECT_EQ(utf8At(canvas, px(77), py(140)), "4");
    EXPECT_EQ(utf8At(canvas, px(84), py(140)), "50.0%");
}

TEST(PersonPages, JockeyPageGridIsDrawnLastInThinLines)
{
    RecordingCanvas canvas;
    DrawJockeyPage(screenPersonContext(canvas, 96), test::jockeyDetail("00001", "武", "豊", "ﾀｹ"), {}, "0");
    std::size_t firstLine = canvas.calls().size(), lines = 0;
    for (std::size_t i = 0; i < canvas.calls().size(); ++i) {
        const RecordedCall &c = canvas.calls()[i];
        if (c.kind != RecordedCall::Kind::Line)
            continue;
        firstLine = std::min(firstLine, i);
        ++lines;
        EXPECT_EQ(c.penWidth, 1);
    }
    EXPECT_EQ(firstLine + lines, canvas.calls().size());
    // Frame and short verticals 3 + 5, the x 95 parts 3, two lines each of
    // the twelve table columns, ten distance columns, 7 + 11 + 8 rules.
    EXPECT_EQ(lines, 8u + 3u + 24u + 10u + 26u);
    const RecordedCall &frame = canvas.calls()[firstLine];
    EXPECT_EQ(frame.x, px(20));
    EXPECT_EQ(frame.y, py(40));
    EXPECT_EQ(frame.y2, py(164));
    EXPECT_EQ(test::textAt(canvas, px(21), py(41))->face, sj("ＭＳ Ｐ明朝"));
    EXPECT_EQ(utf8At(canvas, px(145), py(41)), "フ リ ー");
}

TEST(PersonPages, TrainerPageRowsAffiliationAndNothingForMissingWins)
{
    using F = TrainerDetailFields;
    using S = TrainerSectionFields;
    TTrainerDetailRec t = test::trainerDetail("01000", "藤沢", "和雄", "ﾌｼﾞｻﾜ");
    test::setCounts(t, F::ThisYear, S::Flat, 1, 30, 25, 20, 125);
    test::setCounts(t, F::LastYear, S::Course, courseGroup(10), 5, 0, 0, 5);
    t.setNumber(F::CareerJump, 1, 12);
    t.setNumber(F::CareerJump, 4, 7);
    TGradedWinBlock win = t.gradedWin(1);
    EXPECT_EQ(win.get(GradedWinFields::Key).substr(0, 4), "0000");

    RecordingCanvas canvas;
    DrawTrainerPage(screenPersonContext(canvas, 96), t, "1");
    EXPECT_EQ(utf8At(canvas, px(35), py(66)), "30");
    EXPECT_EQ(utf8At(canvas, px(45), py(66)), "25");
    EXPECT_EQ(utf8At(canvas, px(55), py(66)), "20");
    EXPECT_EQ(utf8At(canvas, px(63), py(66)), "125");
    EXPECT_EQ(utf8At(canvas, px(73), py(66)), "27.5%");
    EXPECT_EQ(utf8At(canvas, px(85), py(66)), "37.5%");
    // 小倉 last year: at the right table's racecourse positions.
    EXPECT_EQ(utf8At(canvas, px(95), py(123)), "小倉");
    EXPECT_EQ(utf8At(canvas, px(110), py(123)), "5");
    EXPECT_EQ(utf8At(canvas, px(140), py(123)), "5");
    EXPECT_EQ(utf8At(canvas, px(147), py(123)), "50.0%");
    EXPECT_EQ(utf8At(canvas, px(95), py(51)), "障害  12  0  0  7");
    EXPECT_EQ(utf8At(canvas, px(145), py(41)), "美   浦");
    EXPECT_EQ(test::textAt(canvas, px(85), py(46)), nullptr);
    EXPECT_EQ(test::textAt(canvas, px(120), py(56)), nullptr);

    // An affiliation other than 1, 2, 3 leaves the place empty; a win and
    // a prize are shown.
    t.set(F::Affiliation, "4");
    win.set(GradedWinFields::Key, "2024021803010711");
    win.set(GradedWinFields::ShortName, sj("紅梅賞"));
    win.set(GradedWinFields::HorseName, sj("テイファア"));
    t.setBlock(F::GradedWin, 1, win);
    t.setNumber(F::ThisYearPrize, 3, 5000);
    canvas.clear();
    DrawTrainerPage(screenPersonContext(canvas, 96), t, "1");
    EXPECT_EQ(test::textAt(canvas, px(145), py(41)), nullptr);
    EXPECT_EQ(utf8At(canvas, px(85), py(46)), "紅梅賞  テイファア 2024年");
    EXPECT_EQ(utf8At(canvas, px(120), py(56)), "2024年本賞金 5000000円");
}
