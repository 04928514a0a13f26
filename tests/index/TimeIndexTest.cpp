#include "index/TimeIndex.h"

#include "platform/Fields.h"

#include <gtest/gtest.h>

using namespace zorbe;

namespace {

// One past race as the horse file stores it.
struct Past
{
    std::string venue = "05", track = "23", kind = "13", cls = "005", distance = "1600";
    std::string corner3 = "05", corner4 = "03", registered = "16", time = "1372", last3F = "378";
    std::string year = "2004", kai = "03", nichi = "08", raceNo = "05", monthDay = "0530";
};

class TimeIndexTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        card->CurrentRace = 0;
        today("05", "23", "005", "005", "   ");
        // 東京, 3rd meeting, 8th day of 2004: race 5 standard 1:38.0, last 3F 37.0.
        card->STimeCount = 1;
        card->STimeKey[0] = "2004050308";
        card->STimeStd[0] = std::string(16, '0') + "0980" + std::string(28, '0');
        card->STimeStd3F[0] = std::string(12, '0') + "370" + std::string(21, '0');
        masters.JockeyTable = {{"00001", "", "1", 0.25}, {"00002", "", "1", 0.10}, {"00003", "", "1", 0.20}};
        masters.TrainerTable = {{"01001", "", "1", 0.2}};
    }

    void today(const std::string &venue, const std::string &track, const std::string &c1, const std::string &c2,
               const std::string &c3)
    {
        card->RaceVenue[0] = venue;
        card->RaceTrack[0] = track;
        card->RaceClass[0][1] = c1;
        card->RaceClass[0][2] = c2;
        card->RaceClass[0][3] = c3;
    }

    // Horse h in slot h + 1 of race 0 with the given past races (the rest blank).
    void runner(int h, const std::vector<Past> &past, const std::string &jockey = "00001",
                const std::string &trainer = "01001")
    {
        card->EntryJockeyCode[0][h + 1] = jockey;
        card->EntryTrainerCode[0][h + 1] = trainer;
        for (int k = 1; k <= TRaceCard::kPast; ++k) {
            const bool run = k <= static_cast<int>(past.size());
            const Past p = run ? past[k - 1] : Past{};
            const auto v = [run](const std::string &s) { return run ? s : std::string(s.size(), ' '); };
            card->PastVenue[h][k] = v(p.venue);
            card->PastTrack[h][k] = v(p.track);
            card->PastKind[h][k] = v(p.kind);
            card->PastClass[h][k] = v(p.cls);
            card->PastDistance[h][k] = v(p.distance);
            card->PastCorner[h][k][3] = v(p.corner3);
            card->PastCorner[h][k][4] = v(p.corner4);
            card->PastRegistered[h][k] = v(p.registered);
            card->PastTime[h][k] = v(p.time);
            card->PastLast3F[h][k] = v(p.last3F);
            card->PastYear[h][k] = v(p.year);
            card->PastMonthDay[h][k] = v(p.monthDay);
            card->PastKai[h][k] = v(p.kai);
            card->PastNichi[h][k] = v(p.nichi);
            card->PastRaceNo[h][k] = v(p.raceNo);
        }
    }

    // Computes horse h as the page body does (deviation sums from 0).
    void compute(int h, int pastRaces, int restMonths = 2)
    {
        fig.resetDeviations();
        fig.RestMonths[h] = restMonths;
        ComputeRunnerFigures(TFigureInputs{*card, masters, pastRaces}, h, 0, fig);
    }

    void expectSameFigures(int a, int b)
    {
        EXPECT_DOUBLE_EQ(fig.BaseFigure[a], fig.BaseFigure[b]);
        EXPECT_DOUBLE_EQ(fig.PaceFigure[a], fig.PaceFigure[b]);
        EXPECT_DOUBLE_EQ(fig.VenueFigure[a], fig.VenueFigure[b]);
    }

    std::unique_ptr<TRaceCard> card = makeRaceCard();
    MasterTables masters;
    TRunnerFigures fig;
};

} // namespace

TEST_F(TimeIndexTest, DirtRunnerWithANormalisedLastRaceMatchesTheHandComputation)
{
    runner(0, {Past{}});
    compute(0, 1);
    // Past race 1: dirt "23" at 東京, kind "13", class "005", 1600 m.
    //   corners: c4 = 3, n = 16, d = 16; T = 600*1 + 372 = 972; L = 378
    //   standard times of race 05: S = 980, S3 = 370
    //   deviation = 980 - 972 + 100 = 108 (dirt)
    //   T = 972 / 980 * 61.325 * 16 = 973.190204082;  L = 378 / 370 * 354.9 = 362.573513514
    //   dirt, K "13", C "005": T + 12 = 985.190204082;  L + 0.6 = 363.173513514
    // AvgCorner4 = 3 / 16 * 13 = 2.4375 (no fall-back)
    // Only race 1 timed, C1 "005": t = 985.190204082 / 16 + 0.5 = 62.074387755
    //                              l = 363.173513514 / 10 + 0.5 = 36.817351351
    // Dirt: B = 110.29066 - 0.842*t/10 - 0.28*l/10 - 0.054*2.4375 = 103.901485713
    //       P = 117.352 - 0.632*t/10 - 3.39*l/10                = 100.947816586
    // 東京 dirt: V = 110.04306 - 0.842*t/10 - 1.88*l/10 - 0.054*2.4375/3.8 = 97.860096339
    // Jr = 0.25, Tr = 0.2, C1 "005": H = 1.8*0.25 - 4*0.0625 + 0.0002 = 0.2002
    // Tora = B + 0.00025 + 0.0002; Time = P + 0.00045; Honshi = V + 0.2002
    EXPECT_NEAR(fig.ToraFigure[0], 103.901935713, 1e-8);
    EXPECT_NEAR(fig.TimeFigure[0], 100.948266586, 1e-8);
    EXPECT_NEAR(fig.HonshiFigure[0], 98.060296339, 1e-8);
    EXPECT_NEAR(fig.HumanFactor[0], 0.2002, 1e-12);
    EXPECT_EQ(fig.DirtDevSum[0], 108);
    EXPECT_EQ(fig.DirtDevCount[0], 1);
    EXPECT_EQ(fig.TurfDevCount[0], 0);
    EXPECT_EQ(fig.NoHistoryCount, 0);
}

TEST_F(TimeIndexTest, MaidenTurfRunnerOnADayWithoutStandardTimes)
{
    // 中山 turf "11", which the venue table does not list: 中山's first turf row.
    today("06", "11", "703", "   ", "   ");
    Past last;
    last.venue = "06";
    last.track = "17";
    last.kind = "12";
    last.cls = "703";
    last.distance = "2000";
    last.corner3 = "04";
    last.corner4 = "02";
    last.registered = "14";
    last.time = "2012";
    last.last3F = "355";
    last.kai = "01"; // no time-correction line for this day
    Past older;
    older.track = "24";
    older.distance = "1800";
    older.corner3 = "08";
    older.corner4 = "10";
    older.registered = "12";
    older.time = "1550";
    older.last3F = "000";
    runner(0, {last, older}, "09999", "09999");
    compute(0, 2, 7);
    // Race 1: c4 = 2, n = 14, d = 20, T = 1200 + 12 = 1212, L = 355; no standard time,
    //   so no deviation and T, L stay as they are.
    //   turf, C "703": T + 13 = 1225, L + 0.9 = 355.9; today turf: T = 1226.5, L = 357.4
    // Race 2: last 3F "000": L = 0 and T = 0, but c4 = 10, n = 12 count for the corners.
    // AvgCorner4 = (2 + 10) / (14 + 12) * 13 = 6.0
    // Only race 1 timed, C1 "703": t = 1226.5 / 20 = 61.325, l = 35.74 (no 0.5)
    // Rest of 7 months: t = 61.4349, l = 35.858
    // Turf: B = 110.29066 - 0.842*t/10 - 1.12*l/10 - 0.324*6/2 = 100.12974542
    //       P = 118.772 - 1.642*t/10 - 2.48*l/10             = 99.79160542
    // 中山 first turf row: V = 108.80106 - 0.842*t/10 - 1.08*l/10 - 0.054*6/1.2 = 99.48557742
    // Jockey unknown: Jr = 0.15; trainer unknown: Tr = 0
    // C1 "703": H = 0.57 * (18*0.15 - 40*0.0225) = 1.026
    EXPECT_NEAR(fig.ToraFigure[0], 100.12989542, 1e-8);
    EXPECT_NEAR(fig.TimeFigure[0], 99.79175542, 1e-8);
    EXPECT_NEAR(fig.HonshiFigure[0], 100.51157742, 1e-8);
    EXPECT_EQ(fig.TurfDevCount[0] + fig.DirtDevCount[0], 0);
    EXPECT_EQ(fig.NoHistoryCount, 0);
}

TEST_F(TimeIndexTest, WithoutPastRacesEveryRunnerIsEqualExceptForALongRest)
{
    runner(0, {Past{}});
    Past other;
    other.time = "1401";
    other.corner4 = "12";
    runner(1, {other, other});
    runner(2, {other});
    compute(0, 0);
    compute(1, 0);
    compute(2, 0, 6);
    expectSameFigures(0, 1);
    EXPECT_EQ(fig.NoHistoryCount, 3);
    // Defaults t 62.3, l 39.9, c 13.13 on dirt: B = 110.29066 - 5.24566 - 1.1172 - 0.70902
    EXPECT_NEAR(fig.BaseFigure[0], 103.21878, 1e-9);
    // The rest correction still applies: l + 0.118, t + 0.1099.
    EXPECT_NEAR(fig.BaseFigure[2], fig.BaseFigure[0] - 0.842 * 0.1099 / 10 - 0.28 * 0.118 / 10, 1e-9);
}

TEST_F(TimeIndexTest, UnusableLastThreeFurlongsIgnoreTheRaceForTimeButNotForCorners)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"23", "000"}, {"23", "   "}, {"23", "999"}, {"53", "333"}};
    int h = 0;
    for (const auto &[track, last3F] : cases) {
        Past p;
        p.track = track;
        p.last3F = last3F;
        runner(h, {p});
        compute(h, 1);
        ++h;
    }
    for (int i = 1; i < h; ++i)
        expectSameFigures(0, i);
    EXPECT_EQ(fig.NoHistoryCount, 0); // the corners were usable
    // t 62.3 and l 39.9 by default, c = 3/16*13 = 2.4375:
    // B = 110.29066 - 5.24566 - 1.1172 - 0.131625 = 103.796175
    EXPECT_NEAR(fig.BaseFigure[0], 103.796175, 1e-9);
    EXPECT_EQ(fig.DirtDevCount[0], 0);

    // A jump race of 300 becomes 900 and counts.
    Past jump;
    jump.track = "53";
    jump.last3F = "300";
    runner(h, {jump});
    compute(h, 1);
    EXPECT_NE(fig.BaseFigure[h], fig.BaseFigure[0]);
}

TEST_F(TimeIndexTest, StandardTimesAndDeviations)
{
    // Race number outside 01..12: no standard time.
    Past p13;
    p13.raceNo = "13";
    runner(0, {p13});
    compute(0, 1);
    EXPECT_EQ(fig.DirtDevCount[0], 0);

    // Without corner positions the deviation still reads the stored time's
    // minute digit: 980 - (600 + 372) + 100.
    Past noCorners;
    noCorners.corner3 = "00";
    noCorners.track = "17";
    runner(1, {noCorners});
    compute(1, 1);
    EXPECT_EQ(fig.TurfDevSum[1], 108);
    EXPECT_EQ(fig.TurfDevCount[1], 1);
    EXPECT_EQ(fig.NoHistoryCount, 1);

    // Without the reset the sums run on into the next runner.
    runner(2, {Past{}, Past{}});
    fig.RestMonths[2] = 0;
    ComputeRunnerFigures(TFigureInputs{*card, masters, 2}, 2, 0, fig);
    EXPECT_EQ(fig.TurfDevSum[2], 108);
    EXPECT_EQ(fig.DirtDevSum[2], 216);
    EXPECT_EQ(fig.DirtDevCount[2], 2);
}

TEST_F(TimeIndexTest, FieldSizesAddingUpToZeroFallBackToTheDefaultCorner)
{
    Past p;
    p.registered = "00";
    p.last3F = "000";
    runner(0, {p});
    runner(1, {});
    compute(0, 1);
    compute(1, 1);
    expectSameFigures(0, 1);
    EXPECT_EQ(fig.NoHistoryCount, 2);
}

TEST_F(TimeIndexTest, JockeyAndTrainerRates)
{
    runner(0, {Past{}}, "00002"); // rate 0.10: raised to 0.15
    runner(1, {Past{}}, "99999"); // not in the table: 0.15
    runner(2, {Past{}}, "00003"); // 0.20
    for (int h = 0; h < 3; ++h)
        compute(h, 1);
    EXPECT_DOUBLE_EQ(fig.HonshiFigure[0], fig.HonshiFigure[1]);
    EXPECT_DOUBLE_EQ(fig.ToraFigure[0], fig.ToraFigure[1]);
    EXPECT_NE(fig.HonshiFigure[2], fig.HonshiFigure[0]);
    // C1 "005", Jr = 0.15: H = 1.8*0.15 - 4*0.0225 + 0.001*0.2 = 0.1802
    EXPECT_NEAR(fig.HumanFactor[0], 0.1802, 1e-12);

    // A class none of the human-factor rules names: the trainer only.
    today("05", "23", "004", "   ", "   ");
    compute(2, 1);
    EXPECT_NEAR(fig.HumanFactor[2], 0.001 * 0.2, 1e-15);
    // Open class comes first: 0.003*0.2 + 0.001*0.2
    today("05", "23", "005", "999", "   ");
    compute(2, 1);
    EXPECT_NEAR(fig.HumanFactor[2], 0.0008, 1e-15);
}

TEST_F(TimeIndexTest, IdenticalRunnersGetIdenticalFigures)
{
    Past turf;
    turf.track = "17";
    turf.kind = "14";
    turf.cls = "999";
    runner(0, {Past{}, turf, Past{}});
    runner(1, {Past{}, turf, Past{}});
    compute(0, 3);
    compute(1, 3);
    EXPECT_EQ(fig.HonshiFigure[0], fig.HonshiFigure[1]);
    EXPECT_EQ(fig.ToraFigure[0], fig.ToraFigure[1]);
    EXPECT_EQ(fig.TimeFigure[0], fig.TimeFigure[1]);
    EXPECT_EQ(fig.TurfDevSum[0], fig.TurfDevSum[1]);
}

TEST_F(TimeIndexTest, VenueTableFallBacks)
{
    runner(0, {Past{}});
    compute(0, 1);
    const double tokyoDirt = fig.VenueFigure[0];
    today("05", "25", "005", "005", "   "); // a dirt track the table does not list
    compute(0, 1);
    EXPECT_DOUBLE_EQ(fig.VenueFigure[0], tokyoDirt);
    today("12", "23", "005", "005", "   "); // a racecourse above "10": 東京's rows
    compute(0, 1);
    EXPECT_DOUBLE_EQ(fig.VenueFigure[0], tokyoDirt);
    today("08", "10", "005", "005", "   "); // 京都 turf "10": its first turf row
    compute(0, 1);
    const double kyotoStraight = fig.VenueFigure[0];
    today("08", "17", "005", "005", "   ");
    compute(0, 1);
    EXPECT_DOUBLE_EQ(fig.VenueFigure[0], kyotoStraight);
}

TEST(TimeIndexSettings, PastRacesSettingAndRestInterval)
{
    EXPECT_EQ(pastRacesSetting("3"), 3);
    EXPECT_EQ(pastRacesSetting("7"), 5);
    EXPECT_EQ(pastRacesSetting("-1"), 0);
    EXPECT_THROW(pastRacesSetting("x"), ConversionError);
    EXPECT_THROW(pastRacesSetting(""), ConversionError);

    EXPECT_EQ(RestInterval("2004", "06", "2003", "1115"), 7);
    EXPECT_EQ(RestInterval("2004", "06", "2000", "1115"), -5); // four years: months only
    EXPECT_EQ(RestInterval("2004", "06", "2004", "0530"), 1);
    EXPECT_EQ(RestInterval("2004", "06", "2001", "0601"), 36);
    EXPECT_EQ(RestInterval("2004", "06", "0000", "1115"), 1);
    EXPECT_EQ(RestInterval("2004", "06", "    ", "    "), 1);
    EXPECT_EQ(RestInterval("2004", "06", "2003", "0015"), 1);
    EXPECT_THROW(RestInterval("2004", "06", "20x3", "1115"), ConversionError);
}
