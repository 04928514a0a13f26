#include "PaperTestSupport.h"

#include "paper/PageModel.h"
#include "paper/Picks.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

using namespace zorbe;
using namespace zorbe::test;

namespace {

TRunnerFigures figuresOf(const std::vector<double> &values)
{
    TRunnerFigures f;
    for (std::size_t i = 0; i < values.size(); ++i)
        f.HonshiFigure[i] = f.ToraFigure[i] = f.TimeFigure[i] = values[i];
    return f;
}

TEST(PicksTest, RankingWithTies)
{
    const TPickTable table = RankPicks(figuresOf({50, 70, 70, 40, 60}), 5);
    // Runners 2 and 3 tie at the top: both ranks show runner 3.
    EXPECT_EQ(table.runner[0][1], 3);
    EXPECT_EQ(table.runner[0][2], 3);
    EXPECT_EQ(table.runner[0][3], 5);
    EXPECT_EQ(table.runner[0][4], 1);
    EXPECT_EQ(table.runner[0][5], 4);
    LabelTables labels;
    rebuildLabelTables(labels);
    const auto pairs = pickPairs(table, 0, labels);
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(pairs[0], "   33");
    EXPECT_EQ(pairs[1], "   35");
    EXPECT_EQ(pairs[2], "   13");
}

TEST(PicksTest, MarksAndPairFormsByFieldSize)
{
    LabelTables labels;
    rebuildLabelTables(labels);
    EXPECT_EQ(u8(pickMark(4, 7)), "△");
    EXPECT_EQ(pickMark(5, 7), "");
    EXPECT_EQ(u8(pickMark(5, 8)), "×");
    EXPECT_EQ(u8(pickMark(6, 8)), "※");
    EXPECT_EQ(pickMark(7, 18), "");

    const TPickTable eight = RankPicks(figuresOf({1, 2, 3, 4, 5, 6, 7, 8}), 8);
    EXPECT_EQ(pickPairs(eight, 1, labels),
              (std::vector<std::string>{"   78", "   68", "   58", "   67", "   57", "   48"}));
    const TPickTable nine = RankPicks(figuresOf({9, 8, 7, 6, 5, 4, 3, 2, 1}), 9);
    EXPECT_EQ(pickPairs(nine, 2, labels),
              (std::vector<std::string>{" 1- 2", " 1- 3", " 1- 4", " 2- 3", " 2- 4", " 1- 5"}));
    const TPickTable seven = RankPicks(figuresOf({1, 2, 3, 4, 5, 6, 7}), 7);
    EXPECT_EQ(pickPairs(seven, 0, labels).size(), 3u);
    // A field of two has only the first pair.
    EXPECT_EQ(pickPairs(RankPicks(figuresOf({1, 2}), 2), 0, labels), (std::vector<std::string>{"   12"}));
}

class PicksPanelTest : public ::testing::Test
{
protected:
    int marksDrawn() const
    {
        int count = 0;
        for (const char *mark : {"◎", "○", "▲", "△", "×", "※"})
            count += countUtf8(d.canvas, mark);
        return count;
    }
    PaperDay d;
};

TEST_F(PicksPanelTest, MarksSitInTheRunnersColumns)
{
    d.paper.settings.sinba = "1";
    d.addRace(8);
    d.select();
    d.drawScreen(0);
    EXPECT_EQ(marksDrawn(), 18);   // six per row
    // Each mark lies inside its runner's column, on its row.
    for (const auto &call : d.canvas.texts()) {
        if (call.text != sj("◎"))
            continue;
        EXPECT_TRUE(call.y == d.y(5) || call.y == d.y(8) || call.y == d.y(11));
        bool inColumn = false;
        for (int runner = 1; runner <= 8; ++runner)
            inColumn = inColumn || call.x == d.x(13 * (8 - runner) + 6);
        EXPECT_TRUE(inColumn);
    }
    EXPECT_NE(findUtf8(d.canvas, "本紙　虎穴　TIME"), nullptr);
    EXPECT_EQ(d.paper.figures.NoHistoryCount, 0);
}

TEST_F(PicksPanelTest, NoPicksForADebutRaceUnlessAsked)
{
    d.addRace(8);
    d.card->RaceClass[0][2] = "701";
    d.select();
    d.paper.settings.sinba = "0";
    d.drawScreen(0);
    EXPECT_EQ(marksDrawn(), 0);
    EXPECT_EQ(findUtf8(d.canvas, "本紙　虎穴　TIME"), nullptr);
    // The page and its frame are drawn all the same.
    EXPECT_NE(findUtf8(d.canvas, "発走時刻"), nullptr);
    EXPECT_NE(findUtf8(d.canvas, "①白"), nullptr);
    d.paper.settings.sinba = "1";
    d.drawScreen(0);
    EXPECT_EQ(marksDrawn(), 18);
    d.paper.settings.yosou = "0";
    d.drawScreen(0);
    EXPECT_EQ(marksDrawn(), 0);
}

TEST_F(PicksPanelTest, ThreePastRacesHaveMarksButNoPairs)
{
    d.paper.settings.sinba = "1";
    d.paper.settings.insatu = "2";
    d.addRace(9);
    d.select();
    d.drawScreen(0);
    EXPECT_EQ(marksDrawn(), 18);
    EXPECT_EQ(findUtf8(d.canvas, "本紙　虎穴　TIME"), nullptr);
    for (const auto &call : d.canvas.texts())
        EXPECT_FALSE(call.x >= d.x(13 * 9) && call.y >= d.y(169)) << u8(call.text);
}

} // namespace
