#include "db/DbTestSupport.h"

#include "db/ResultPages.h"
#include "platform/Cp932.h"
#include "shell/LabelTables.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zorbe;
using namespace zorbe::formats;
using test::ResultRunner;
using test::utf8At;

namespace {

// Device positions at 96 pixels per inch: millimetres from the sheet's
// corner less the page's origin.
int device(int mm, int origin)
{
    return static_cast<int>(std::lround(mm * 96 / 25.4)) - origin;
}
int sx(int mm) { return device(mm, kSummaryOriginX); }
int sy(int mm) { return device(mm, kSummaryOriginY); }
int rx(int mm) { return device(mm, kRaceResultOriginX); }
int ry(int mm) { return device(mm, kRaceResultOriginY); }

class ResultPages : public ::testing::Test
{
protected:
    ResultPages() { rebuildLabelTables(labels); }

    RecordingCanvas &summary(const std::vector<TResultRec> &races, const char *color = "1")
    {
        results = test::loadResults(races);
        DrawResultsScreen(canvas, *results, 0, labels, {"1", color}, 96);
        return canvas;
    }
    RecordingCanvas &racePage(const std::vector<TResultRec> &races, int race, const char *color = "1")
    {
        results = test::loadResults(races);
        DrawResultsScreen(canvas, *results, race, labels, {"1", color}, 96);
        return canvas;
    }

    test::TempHome home;
    LabelTables labels;
    std::unique_ptr<TResults> results;
    RecordingCanvas canvas;
};

// A race of four runners whose winner, second and third had the given
// popularities (the fourth runner had the remaining one of 1-4).
TResultRec placedRace(int raceNo, int first, int second, int third)
{
    TResultRec race = test::resultRace(raceNo);
    const int fourth = 10 - first - second - third;
    const int popularity[] = {first, second, third, fourth};
    for (int place = 1; place <= 4; ++place) {
        ResultRunner r;
        r.horseNo = place;
        r.finish = place;
        r.popularity = popularity[place - 1];
        r.margin = place == 1 ? "   " : "1  ";
        test::addRunner(race, r);
    }
    test::setPayout(race, ResultFields::Win, 1, "01", 100 * raceNo, 1);
    test::setPayout(race, ResultFields::BracketQuinella, 1, "12", 1000, 2);
    return race;
}

} // namespace

TEST_F(ResultPages, FavouriteStatisticsCountEveryPlacedRunnerOnce)
{
    // Twelve races: the favourite won five, came second twice and third
    // once, and was unplaced four times.
    std::vector<TResultRec> races;
    for (int q = 1; q <= 5; ++q)
        races.push_back(placedRace(q, 1, 2, 3));
    races.push_back(placedRace(6, 2, 1, 3));
    races.push_back(placedRace(7, 3, 1, 2));
    races.push_back(placedRace(8, 2, 3, 1));
    for (int q = 9; q <= 12; ++q)
        races.push_back(placedRace(q, 2, 3, 4));
    summary(races);

    EXPECT_EQ(utf8At(canvas, sx(13), sy(130)), "一番人気");
    EXPECT_EQ(utf8At(canvas, sx(30), sy(130)), "41.7%");
    EXPECT_EQ(utf8At(canvas, sx(44), sy(130)), "58.3%");
    EXPECT_EQ(utf8At(canvas, sx(58), sy(130)), "7/12R");
    EXPECT_EQ(utf8At(canvas, sx(70), sy(130)), "66.7%");
    EXPECT_EQ(utf8At(canvas, sx(84), sy(130)), "8/12R");
    // The third favourite won once: a rate below 10 has a blank before it.
    EXPECT_EQ(utf8At(canvas, sx(30), sy(140)), " 8.3%");

    // Every race has one horse in each place: each row of the popularity
    // table adds up to the twelve races.
    const int columns[] = {121, 130, 139, 148, 157, 168};
    for (int place = 1; place <= 3; ++place) {
        int sum = 0;
        for (int x : columns)
            sum += std::stoi(utf8At(canvas, sx(x), sy(125 + 5 * place)));
        EXPECT_EQ(sum, 12) << place;
    }
    EXPECT_EQ(utf8At(canvas, sx(121), sy(130)), "5");
    EXPECT_EQ(utf8At(canvas, sx(130), sy(130)), "6");

    // Average payouts: win (100 + … + 1200) / 12 = 650, bracket 1,000; no
    // race had a quinella, so its average is left out.
    EXPECT_EQ(utf8At(canvas, sx(40), sy(147)), "650円");
    EXPECT_EQ(utf8At(canvas, sx(70), sy(147)), "1,000円");
    EXPECT_EQ(utf8At(canvas, sx(90), sy(147)), "馬連");
    EXPECT_EQ(test::textAt(canvas, sx(100), sy(147)), nullptr);
}

TEST_F(ResultPages, AnEmptyFileShowsTitlesAndHeadingsButNoRaceRateOrAverage)
{
    summary({});
    EXPECT_EQ(utf8At(canvas, sx(25), sy(41)), "年 月 日");
    EXPECT_EQ(utf8At(canvas, sx(70), sy(41)), "第 回  日目");
    EXPECT_EQ(utf8At(canvas, sx(11), sy(47)), "ﾚｰｽNo");
    EXPECT_EQ(utf8At(canvas, sx(29), sy(125)), "単勝率");
    EXPECT_EQ(utf8At(canvas, sx(13), sy(130)), "一番人気");
    EXPECT_EQ(utf8At(canvas, sx(13), sy(147)), "平均配当");
    for (const RecordedCall &c : canvas.texts()) {
        const std::string text = cp932::toUtf8(c.text);
        EXPECT_EQ(text.find('%'), std::string::npos) << text;
        EXPECT_EQ(text.find("円"), std::string::npos) << text;
        EXPECT_EQ(text.find("nan"), std::string::npos) << text;
    }
    EXPECT_TRUE(test::textsAt(canvas, sy(53)).empty());
}

TEST_F(ResultPages, SummaryLineOfARaceAndItsWinner)
{
    TResultRec race = test::resultRace(11, "999");
    test::setRaceName(race, "宝塚記念");
    race.set(ResultFields::Weather, "4");
    race.set(ResultFields::Going, "2");
    race.set(ResultFields::Track, "24");
    race.set(ResultFields::Distance, "2200");
    ResultRunner winner;
    winner.horseNo = 3;
    winner.finish = 1;
    winner.popularity = 2;
    winner.name = "タップダンスシチー";
    winner.horseId = "1997101234";
    winner.corners = "03030201";
    test::addRunner(race, winner);
    for (int n = 4; n <= 12; ++n) {
        ResultRunner r;
        r.horseNo = n;
        r.finish = n - 2;
        r.popularity = n;
        test::addRunner(race, r);
    }
    std::vector<TResultRec> races;
    for (int q = 1; q < 11; ++q)
        races.push_back(placedRace(q, 1, 2, 3));
    races.push_back(race);
    summary(races);

    const int y = sy(5 * 11 + 48);
    EXPECT_EQ(utf8At(canvas, sx(10), y), "１１Ｒ ３歳上");
    EXPECT_EQ(utf8At(canvas, sx(35), y), "宝塚記念 OP");
    EXPECT_EQ(utf8At(canvas, sx(58), y), "ダ");
    EXPECT_EQ(utf8At(canvas, sx(62), y), "2200");
    EXPECT_EQ(utf8At(canvas, sx(70), y), "稍");
    EXPECT_EQ(utf8At(canvas, sx(74), y), "タップダンスシチー");
    EXPECT_EQ(utf8At(canvas, sx(108), y), "牡");
    EXPECT_EQ(utf8At(canvas, sx(112), y), "7");
    EXPECT_EQ(utf8At(canvas, sx(128), y), "57.0");
    EXPECT_EQ(utf8At(canvas, sx(136), y), "②");
    EXPECT_EQ(utf8At(canvas, sx(146), y), "1:34:5");
    EXPECT_EQ(utf8At(canvas, sx(186), y), "34.5");
    EXPECT_EQ(utf8At(canvas, sx(141), y), "10");
    EXPECT_EQ(utf8At(canvas, sx(170), y), "③③②①");
    EXPECT_EQ(utf8At(canvas, sx(194), y), "小雨");
    // Ten runners: a field below ten has a blank before its count.
    EXPECT_EQ(utf8At(canvas, sx(141), sy(53)), " 4");
    // The title: year, month and day, then the meeting.
    EXPECT_EQ(utf8At(canvas, sx(25), sy(41)), "2004年 6月 27日");
    EXPECT_EQ(utf8At(canvas, sx(70), sy(41)), "第 3回 東京 8日目");
    EXPECT_TRUE(test::textAt(canvas, sx(25), sy(41))->bold);
    EXPECT_EQ(test::textAt(canvas, sx(25), sy(41))->sizePt, 12);
}

TEST_F(ResultPages, SecondPlaceDeadHeatShowsTheMarginOfTheLastSecondRead)
{
    TResultRec race = test::resultRace(1);
    const struct
    {
        int no, finish, popularity;
        const char *margin;
    } runners[] = {{1, 1, 3, "   "}, {2, 2, 1, "K  "}, {3, 2, 2, "D  "}, {4, 4, 4, "112"}};
    for (const auto &x : runners) {
        ResultRunner r;
        r.horseNo = x.no;
        r.finish = x.finish;
        r.popularity = x.popularity;
        r.margin = x.margin;
        test::addRunner(race, r);
    }
    summary({race});
    const int y = sy(53);
    int margins = 0;
    for (const RecordedCall &c : test::textsAt(canvas, y))
        margins += c.x == sx(158);
    EXPECT_EQ(margins, 1);
    EXPECT_EQ(utf8At(canvas, sx(158), y), "同  着");
    // Both runners placed second are counted as seconds, the fourth as
    // nobody's.
    EXPECT_EQ(utf8At(canvas, sx(84), sy(130)), "1/1R");
    EXPECT_EQ(utf8At(canvas, sx(84), sy(135)), "1/1R");
    EXPECT_EQ(utf8At(canvas, sx(130), sy(135)), "1");
    EXPECT_EQ(utf8At(canvas, sx(121), sy(135)), "1");

    // The race page: the two seconds on consecutive lines, then the fourth.
    canvas.clear();
    racePage({race}, 1);
    EXPECT_EQ(utf8At(canvas, rx(10), ry(58)), "  2   1  2");
    EXPECT_EQ(utf8At(canvas, rx(10), ry(62)), "  2   2  3");
    EXPECT_EQ(utf8At(canvas, rx(10), ry(66)), "  4   2  4");
    EXPECT_EQ(utf8At(canvas, rx(142), ry(58)), "ク ビ");
    EXPECT_EQ(utf8At(canvas, rx(142), ry(62)), "同 着");
    EXPECT_EQ(utf8At(canvas, rx(142), ry(66)), "１ 1/2");
}

TEST_F(ResultPages, ClassTextsOfTheSummaryAndTheRacePage)
{
    struct Case
    {
        const char *classCode;
        const char *name;    // "" for the 30 full-width blanks
        const char *kind;
        const char *summary; // at x 35
        const char *page;    // at x 45
    };
    const Case cases[] = {
        {"703", "", "13", "未勝利", "未勝利"},
        {"005", "摺上特別", "13", "摺上特別 1勝", "摺上特別　　(1勝ｸﾗｽ)"},
        // The name as the data source stores it, its rare first character
        // lost.
        {"005", "　上特別", "13", "摺上特別 1勝", "摺上特別　　(1勝ｸﾗｽ)"},
        {"005", "", "13", "1勝ｸﾗｽ ", "1勝クラス"},
        {"005", "青嵐特別", "13", "青嵐特別1勝", "青嵐特別　　　　　　　　　　　(1勝ｸﾗｽ)"},
        {"010", "祇園特別", "13", "祇園特別 100", "祇園特別　　(2勝ｸﾗｽ)"},
        {"015", "飛騨ステークス", "13", "飛騨Ｓ150", "飛騨ステークス　　(1500万下)"},
        {"016", "飛騨ステークス", "13", "飛騨Ｓ3勝 ", "飛騨ステークス　　(3勝ｸﾗｽ)"},
        {"004", "", "13", "400万下", "４００万下"},
        {"703", "", "18", "未勝利", "障害未勝利"},
        {"005", "", "19", "1勝ｸﾗｽ ", "障害(1勝ｸﾗｽ)"},
    };
    std::vector<TResultRec> races;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        TResultRec race = test::resultRace(static_cast<int>(i + 1), cases[i].classCode);
        test::setRaceName(race, cases[i].name);
        race.set(ResultFields::RaceKind, cases[i].kind);
        races.push_back(race);
    }
    summary(races);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(utf8At(canvas, sx(35), sy(5 * static_cast<int>(i + 1) + 48)), cases[i].summary) << i;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        canvas.clear();
        racePage(races, static_cast<int>(i + 1));
        EXPECT_EQ(utf8At(canvas, rx(45), ry(45)), cases[i].page) << i;
    }
}

TEST_F(ResultPages, UnclassifiedAndJumpRacesPlaceTheirTextsAsTheSummarySays)
{
    TResultRec open = test::resultRace(1, "000");
    test::setRaceName(open, "アラブ記念");
    TResultRec jumpOpen = test::resultRace(2, "999");
    test::setRaceName(jumpOpen, "東京ジャンプＳ");
    jumpOpen.set(ResultFields::RaceKind, "19");
    jumpOpen.set(ResultFields::Track, "54");
    TResultRec jumpMaiden = test::resultRace(3, "703");
    jumpMaiden.set(ResultFields::RaceKind, "18");
    jumpMaiden.set(ResultFields::Track, "51");
    TResultRec graded = test::resultRace(4, "999");
    test::setRaceName(graded, "安田記念");
    graded.set(ResultFields::Grade, "A");
    summary({open, jumpOpen, jumpMaiden, graded});

    // "000": the name over the race-number column, drawn after the label.
    const auto line1 = test::textsAt(canvas, sy(53));
    ASSERT_GE(line1.size(), 2u);
    EXPECT_EQ(line1[0].x, sx(10));
    EXPECT_EQ(line1[1].x, sx(10));
    EXPECT_EQ(cp932::toUtf8(line1[1].text).substr(0, 15), "アラブ記念");
    EXPECT_EQ(utf8At(canvas, sx(58), sy(58)), "");
    // A jump race: "障害" over the class of an open race, else at x 50.
    std::string atClass;
    for (const RecordedCall &c : test::textsAt(canvas, sy(58)))
        if (c.x == sx(35))
            atClass = cp932::toUtf8(c.text);
    EXPECT_EQ(atClass, "障害");
    EXPECT_EQ(utf8At(canvas, sx(50), sy(63)), "障害");

    canvas.clear();
    racePage({open, jumpOpen, jumpMaiden, graded}, 4);
    EXPECT_EQ(utf8At(canvas, rx(115), ry(45)), "ＧⅠ");
    EXPECT_EQ(utf8At(canvas, rx(135), ry(45)), " 芝　　　");
    canvas.clear();
    racePage({open, jumpOpen, jumpMaiden, graded}, 2);
    EXPECT_EQ(utf8At(canvas, rx(45), ry(45)), "障害オープン");
    EXPECT_EQ(utf8At(canvas, rx(135), ry(45)), "障　害");
}

TEST_F(ResultPages, FiguresAreColouredOnlyWithColourOn)
{
    TResultRec race = test::resultRace(1);
    ResultRunner first, second;
    second.horseNo = 2;
    second.finish = 2;
    second.popularity = 3;
    second.margin = "A  ";
    test::addRunner(race, first);
    test::addRunner(race, second);

    summary({race}, "1");
    const int y = sy(53);
    EXPECT_EQ(test::textAt(canvas, sx(146), y)->colour, (Rgb{255, 0, 0}));
    EXPECT_EQ(test::textAt(canvas, sx(136), y)->colour, (Rgb{0, 0, 255}));
    EXPECT_EQ(test::textAt(canvas, sx(136), y)->sizePt, 11);
    EXPECT_EQ(test::textAt(canvas, sx(158), y)->colour, (Rgb{0, 128, 0}));
    // Back to black and 10 points after each figure.
    EXPECT_EQ(test::textAt(canvas, sx(186), y)->colour, kBlack);
    EXPECT_EQ(test::textAt(canvas, sx(186), y)->sizePt, 10);
    EXPECT_FALSE(test::textAt(canvas, sx(186), y)->bold);

    canvas.clear();
    summary({race}, "0");
    for (const RecordedCall &c : canvas.texts())
        EXPECT_EQ(c.colour, kBlack) << cp932::toUtf8(c.text);
}

TEST_F(ResultPages, RacePageRunnersTimesLapsAndPayouts)
{
    TResultRec race = test::resultRace(5);
    race.set(ResultFields::RaceKind, "14");
    race.set(ResultFields::Distance, "1200");
    race.set(ResultFields::Track, "17");
    TCourseRecordBlock record = race.courseRecord();
    record.set(CourseRecordFields::RecordTime, "1070");
    record.set(CourseRecordFields::HorseName, sj("サクラバクシンオー"));
    race.setCourseRecord(record);
    // Six runners placed 1-5 (a dead heat for fifth), one unplaced, one
    // scratched and one disqualified.
    const struct
    {
        int no, finish;
        const char *time, *last3F, *abnormal;
        int arrival;
    } runners[] = {{1, 1, "1100", "340", "0", 0}, {2, 2, "1102", "342", "0", 0}, {3, 3, "1104", "344", "0", 0},
                   {4, 4, "1106", "346", "0", 0}, {5, 5, "1108", "348", "0", 0}, {6, 5, "1108", "350", "0", 0},
                   {7, 7, "1130", "360", "0", 0}, {8, 0, "0000", "000", "1", 0}, {9, 0, "1101", "341", "5", 2}};
    for (const auto &x : runners) {
        ResultRunner r;
        r.horseNo = x.no;
        r.finish = x.finish;
        r.popularity = x.no;
        r.time = x.time;
        r.last3F = x.last3F;
        r.abnormal = x.abnormal;
        r.arrival = x.arrival;
        if (x.abnormal[0] == '1') {
            r.popularity = 0;
            r.bodyWeight = 0;
            r.corners = "00000000";
        }
        test::addRunner(race, r);
    }
    const int laps[] = {120, 105, 110, 115, 118, 122};
    for (std::size_t k = 0; k < std::size(laps); ++k)
        race.setNumber(ResultFields::Lap, k + 1, laps[k]);
    test::setPayout(race, ResultFields::Win, 1, "01", 350, 1);
    test::setPayout(race, ResultFields::Win, 2, "02", 420, 2);
    test::setPayout(race, ResultFields::Place, 1, "01", 150, 1);
    test::setPayout(race, ResultFields::Place, 2, "02", 160, 2);
    test::setPayout(race, ResultFields::Place, 3, "03", 210, 3);
    test::setPayout(race, ResultFields::BracketQuinella, 1, "11", 740, 1);
    test::setPayout(race, ResultFields::Quinella, 1, "0102", 880, 1);
    test::setPayout(race, ResultFields::Wide, 1, "0102", 300, 1);
    test::setPayout(race, ResultFields::Wide, 2, "0103", 410, 4);
    racePage({race}, 1);

    EXPECT_EQ(utf8At(canvas, rx(10), ry(45)), "　５Ｒ ４歳上");
    EXPECT_EQ(utf8At(canvas, rx(12), ry(50)), "着順 枠 馬");
    // In finishing order, the runners without a position after them.
    EXPECT_EQ(utf8At(canvas, rx(10), ry(54)), "  1   1  1");
    EXPECT_EQ(utf8At(canvas, rx(63), ry(54)), "牡3");
    EXPECT_EQ(utf8At(canvas, rx(72), ry(54)), "57.0");
    EXPECT_EQ(utf8At(canvas, rx(97), ry(54)), "1:10:0");
    EXPECT_EQ(utf8At(canvas, rx(109), ry(54)), "③③②①");
    EXPECT_EQ(utf8At(canvas, rx(127), ry(54)), "34.0");
    EXPECT_EQ(utf8At(canvas, rx(154), ry(54)), "480+4");
    EXPECT_EQ(utf8At(canvas, rx(10), ry(74)), "  5   3  6");
    EXPECT_EQ(utf8At(canvas, rx(10), ry(78)), "  7   4  7");
    EXPECT_EQ(utf8At(canvas, rx(10), ry(82)), "      4  8");
    EXPECT_EQ(utf8At(canvas, rx(97), ry(82)), "------");
    EXPECT_EQ(utf8At(canvas, rx(140), ry(82)), "出走取消");
    EXPECT_EQ(utf8At(canvas, rx(154), ry(82)), "");
    EXPECT_EQ(utf8At(canvas, rx(10), ry(86)), "  2着 失格 ");

    // Record and means, each value below its label.
    EXPECT_EQ(utf8At(canvas, rx(178), ry(45)), "サクラバクシンオー");
    EXPECT_EQ(utf8At(canvas, rx(178), ry(50)), "Ｒタイム");
    EXPECT_EQ(utf8At(canvas, rx(178), ry(55)), "1:07:0");
    // Eight times: 5659 / 8 = 707.4 tenths; the best five are the six
    // placed 1-5: 4228 / 6 = 704.7. The last three furlongs alike.
    EXPECT_EQ(utf8At(canvas, rx(178), ry(60)), "平均タイム");
    EXPECT_EQ(utf8At(canvas, rx(178), ry(65)), "1:10:7");
    EXPECT_EQ(utf8At(canvas, rx(178), ry(75)), "1:10:5");
    EXPECT_EQ(utf8At(canvas, rx(178), ry(85)), "34.6");
    EXPECT_EQ(utf8At(canvas, rx(178), ry(95)), "34.5");

    // Laps one every 10 mm, then the first and last furlongs.
    EXPECT_EQ(utf8At(canvas, rx(69), ry(130)), "12.0");
    EXPECT_EQ(utf8At(canvas, rx(119), ry(130)), "12.2");
    EXPECT_EQ(test::textAt(canvas, rx(129), ry(130)), nullptr);
    const auto sums = test::textsAt(canvas, ry(135));
    ASSERT_EQ(sums.size(), 1u);
    EXPECT_EQ(cp932::toUtf8(sums[0].text), "前半３Ｆ 33.5 ４Ｆ 45.0 ５Ｆ 56.8  後半５Ｆ 57.0 ４Ｆ 46.5 ３Ｆ 35.5");

    // Payouts: both win entries of the dead heat, no entry without a payout.
    EXPECT_EQ(utf8At(canvas, rx(10), ry(140)), "払戻金　単勝　1 350円 2 420円　複勝　1 150円 2 160円 3 210円");
    EXPECT_EQ(utf8At(canvas, rx(10), ry(145)), "枠連 1-1 740円 1人気　馬連 1-2 880円 1人気");
    EXPECT_EQ(utf8At(canvas, rx(10), ry(150)), "ワイド 1-2 300円 1人気 1-3 410円 4人気");
}
