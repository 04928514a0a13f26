#include "export/CsvExports.h"
#include "export/CsvText.h"

#include "platform/Cp932.h"
#include "platform/Files.h"

#include "CsvTestSupport.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace zorbe;
using namespace zorbe::formats;
using namespace zorbe::test;
using F = zorbe::formats::ResultFields;
using R = zorbe::formats::ResultRunnerFields;

namespace {

class ResultsCsv : public ::testing::Test
{
protected:
    void SetUp() override { rebuildLabelTables(labels); }

    void writeDay(const std::vector<TResultRec> &races)
    {
        std::string bytes;
        for (const auto &r : races)
            bytes += r.bytes();
        putFile(sdtPath, bytes);
    }
    std::vector<std::string> s1()
    {
        return utf8Lines(files::readAll(csvexport::writeResultsCsv1(sdtPath, labels)));
    }
    std::vector<std::string> s2()
    {
        return utf8Lines(files::readAll(csvexport::writeResultsCsv2(sdtPath, labels)));
    }
    static void setRunner(TResultRec &rec, std::size_t i, const Field &f, const std::string &value)
    {
        TResultRunnerRec runner = rec.runner(i);
        runner.set(f, value);
        rec.setRunner(i, runner);
    }
    static void setLaps(TResultRec &rec, const std::vector<const char *> &laps)
    {
        for (std::size_t k = 0; k < F::kLapCount; ++k)
            rec.set(F::Lap, k + 1, k < laps.size() ? laps[k] : "000");
    }

    TempHome home;
    LabelTables labels;
    const WinPath sdtPath = WinPath(sj("d:\\zorbeLab\\sei\\東京20040627.SDT"));
};

const char *const kHeader1 = "日付,回,日目,場名,R№,距離,TD,条件,レース名,天,出頭,単勝,配当,複勝１,配当,人気,複勝２,配当,人気,"
                             "複勝３,配当,人気,枠連,配当,人気,馬連,配当,人気,異常";

} // namespace

TEST_F(ResultsCsv, S1HasASectionPerVenueAndARowPerRace)
{
    TResultRec openRace = result(2, 3);
    openRace.set(F::Grade, "B");
    openRace.set(F::Class, 5, "999");
    openRace.set(F::Track, "23");
    openRace.set(F::Going, "3");
    writeDay({result(1, 3), openRace, result(1, 3, "09"), result(2, 3, "09")});

    const WinPath written = csvexport::writeResultsCsv1(sdtPath, labels);
    EXPECT_EQ(written.text(), sj("d:\\zorbeLab\\sei\\東京20040627S1.CSV"));
    const auto lines = utf8Lines(files::readAll(written));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "３回東京８日目2004年6月27日");
    EXPECT_EQ(lines[1], kHeader1);
    EXPECT_EQ(lines[2], "2004/06/27,３回,８日目,東京,1R,1600,T,1勝ｸﾗｽ,宝塚記,良,03,1,350,1,130,1,2,210,3,3,560,8,"
                        ".1-2,1230,5,.1-2,1450,4,");
    const auto open = csvFields(lines[3]);
    EXPECT_EQ(std::vector<std::string>(open.begin() + 4, open.begin() + 10),
              (std::vector<std::string>{"2R", "1600", "D", "ＧⅡ", "宝塚記", "重"}));
    EXPECT_EQ(lines[4], "３回阪神８日目2004年6月27日");
    EXPECT_EQ(lines[5], kHeader1);
    EXPECT_EQ(csvFields(lines[6])[3], "阪神");
    for (std::size_t i : {1u, 2u, 3u, 5u, 6u, 7u})
        EXPECT_EQ(csvFields(lines[i]).size(), 29u) << i;
}

TEST_F(ResultsCsv, S1EmptiesAnUnpaidThirdPlaceAndQuinellaAndListsAbnormalRunners)
{
    TResultRec race = result(1, 6);
    setPayout(race, F::Place, 3, "00", "0000000", "00");
    setPayout(race, F::BracketQuinella, 1, "00", "0000000", "00");
    setPayout(race, F::Quinella, 1, "0000", "00000000", "000");
    setRunner(race, 3, R::Abnormal, "1");
    setRunner(race, 5, R::Abnormal, "4");
    setRunner(race, 6, R::Abnormal, " ");
    // A race the file does not start with race 1 of: no section yet.
    TResultRec later = result(5, 2, "09");
    writeDay({later, race});

    const auto lines = s1();
    ASSERT_EQ(lines.size(), 4u);
    const auto first = csvFields(lines[0]);
    EXPECT_EQ(first[1] + first[2] + first[3], "");
    const auto row = csvFields(lines[3]);
    ASSERT_EQ(row.size(), 29u);
    EXPECT_EQ(std::vector<std::string>(row.begin() + 19, row.end()),
              (std::vector<std::string>{"", "", "", ".0-0", "0", "0", "", "", "", "③出⑤中"}));
}

TEST_F(ResultsCsv, S1DeadHeatsAddALineWithTheSecondPayouts)
{
    // A dead heat for first: two winners, two brackets, two quinellas.
    TResultRec win = result(1, 4);
    setPayout(win, F::Win, 2, "02", "0000420", "02");
    setPayout(win, F::BracketQuinella, 2, "13", "0000890", "03");
    setPayout(win, F::Quinella, 2, "0103", "00001100", "002");
    // A dead heat for second: one winner, two brackets and quinellas.
    TResultRec second = result(2, 4);
    setPayout(second, F::BracketQuinella, 2, "23", "0000560", "02");
    setPayout(second, F::Quinella, 2, "0203", "00000980", "003");
    // Two winners of one bracket: no second bracket payout, one quinella.
    TResultRec sameBracket = result(3, 4);
    setPayout(sameBracket, F::Win, 2, "02", "0000420", "02");
    setPayout(sameBracket, F::BracketQuinella, 2, "01", "0000890", "03");
    writeDay({win, second, sameBracket, result(4, 4)});

    const auto lines = s1();
    ASSERT_EQ(lines.size(), 2u + 2u + 2u + 2u + 1u);
    EXPECT_EQ(lines[3], "*,,,,,,,,,,,2,420,,,,,,,,,,.1-3,890,3,.1-3,1100,2");
    EXPECT_EQ(lines[5], "*,,,,,,,,,,,,,,,,,,,,,,.2-3,560,2,.2-3,980,3");
    EXPECT_EQ(lines[7], "*,,,,,,,,,,,2,420,,,,,,,,,,,,,,,");
    for (std::size_t i : {3u, 5u, 7u})
        EXPECT_EQ(csvFields(lines[i]).size(), 28u) << i;
    EXPECT_EQ(lines[8].substr(0, 11), "2004/06/27,");
}

TEST_F(ResultsCsv, S2HasTheWinnersTimeBothHalvesAndTheFourthCorner)
{
    TResultRec mile = result(1, 3);
    setRunner(mile, 1, R::Time, "1345"); // 1:34.5
    // 1700 m: the first lap is a half furlong, so half of the fourth lap
    // (60.5 tenths, rounded up) completes the first 600 m.
    TResultRec odd = result(2, 3);
    odd.set(F::Distance, "1700");
    setLaps(odd, {"070", "110", "115", "121", "120", "120", "120", "120", "120"});
    // A jump race stores its last 600 m per furlong.
    TResultRec jump = result(3, 3);
    jump.set(F::Track, "54");
    jump.set(F::Class, 5, "999");
    setRunner(jump, 1, R::Last3F, "130");
    // No last 600 m stored: the last three laps before the first zero lap.
    TResultRec noLast = result(4, 3);
    noLast.set(F::Track, "10");
    noLast.set(F::Class, 5, "703");
    setLaps(noLast, {"120", "120", "120", "120", "120", "115", "118", "119"});
    setRunner(noLast, 1, R::Last3F, "000");
    // Nobody placed first or second.
    TResultRec noWinner = result(5, 2);
    setRunner(noWinner, 1, R::Finish, "00");
    setRunner(noWinner, 2, R::Finish, "00");
    writeDay({mile, odd, jump, noLast, noWinner, result(6, 2)});

    const WinPath written = csvexport::writeResultsCsv2(sdtPath, labels);
    EXPECT_EQ(written.text(), sj("d:\\zorbeLab\\sei\\東京20040627S2.CSV"));
    const auto lines = utf8Lines(files::readAll(written));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "３回東京８日目2004年6月27日");
    EXPECT_EQ(lines[1], "R№,距離,TD,条件,天,頭,TIME,前3F,後3F,４角,４角,");
    EXPECT_EQ(lines[2], "1,16,T,1勝ｸﾗｽ,良,3,945,360,341,①,②,");
    EXPECT_EQ(lines[3], "2,17,T,1勝ｸﾗｽ,良,3,945,356,341,①,②,");
    EXPECT_EQ(lines[4], "3,16,SS,ＯＰ,良,3,945,,390,①,②,");
    EXPECT_EQ(lines[5], "4,16,T,未勝利,良,3,945,,352.0,①,②,");
    EXPECT_EQ(lines[6], "5,16,T,1勝ｸﾗｽ,良,2,,360,,,,");
    EXPECT_EQ(lines[7], "6,16,T,1勝ｸﾗｽ,良,2,945,360,341,①,②,");
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_EQ(csvFields(lines[i]).size(), 12u) << lines[i];
}

TEST_F(ResultsCsv, ADamagedRecordStopsTheExportAndKeepsTheRacesBeforeIt)
{
    TResultRec damaged = result(2, 3);
    setRunner(damaged, 1, R::Time, "1x45");
    writeDay({result(1, 3), damaged, result(3, 3)});
    const std::string what = exportError([&] { csvexport::writeResultsCsv2(sdtPath, labels); });
    EXPECT_NE(what.find("東京20040627.SDT の 2 件目のレコード"), std::string::npos) << what;
    EXPECT_NE(what.find("走破タイム"), std::string::npos) << what;
    EXPECT_EQ(csvLines(files::readAll(csvexport::resultsCsv2Path(sdtPath))).size(), 3u);
    // "S1.CSV" computes nothing from the time, so it is whole.
    EXPECT_EQ(s1().size(), 5u);

    // A file that cannot be read writes nothing.
    EXPECT_THROW(csvexport::writeResultsCsv1(WinPath("d:\\zorbeLab\\sei\\none.SDT"), labels), files::FileError);
    EXPECT_FALSE(files::exists(WinPath("d:\\zorbeLab\\sei\\noneS1.CSV")));
}
