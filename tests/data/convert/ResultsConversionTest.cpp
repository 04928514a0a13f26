#include "ConvertTestSupport.h"

#include "data/convert/ResultsConversion.h"
#include "data/formats/MasterFormats.h"
#include "data/formats/ResultFormats.h"
#include "data/formats/RecordIo.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

using namespace zorbe;
using namespace zorbe::test;
using namespace zorbe::formats;
namespace RA = zorbe::jv::RA;
namespace SE = zorbe::jv::SE;
namespace HR = zorbe::jv::HR;

namespace {

class ResultsConversionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folders = defaultFolders();
        sat1 = raceKey("0703", 1);
        sat2 = raceKey("0703", 2);
        // The Saturday's race card, whose first race has a course record.
        TRaceCardRec card;
        card.set(RaceCardFields::Key, sat1);
        TCourseRecordBlock block;
        block.set(CourseRecordFields::DataKind, "1");
        block.set(CourseRecordFields::RecordTime, "1081");
        card.setCourseRecord(block);
        putFile(folders.lzhdat / sj("東京20040703.RDT"), card.bytes());

        jv::RecordBuilder race1 = raceRecord(sat1, '7');
        race1.set(RA::Distance, "1200").set(RA::Track, "17").set(RA::TurfGoing, "2").set(RA::DirtGoing, "3");
        race1.set(RA::Finishers, "12").set(RA::Starters, "12").set(RA::Entries, "12");
        for (std::size_t k = 0; k < 6; ++k)
            race1.set(RA::LapTime.at(k), "120");
        putFile(folders.down / sj("東京20040703.RLB"),
                joined({race1.str(), raceRecord(sat2, '7').set(RA::Track, "24").str()}));
        std::vector<std::string> runners;
        for (int n = 1; n <= 12; ++n)
            runners.push_back(runnerRecord(sat1, "20011000" + zeroPad(n, 2), n, '7')
                                  .set(SE::Placing, zeroPad(n, 2)).set(SE::Time, zeroPad(1100 + n, 4))
                                  .set(SE::BodyWeightSign, "+").set(SE::BodyWeightChange, "012")
                                  .set(SE::MainPrizeWon, "00012345").str());
        putFile(folders.down / sj("東京20040703.SLB"), joined(runners));

        // A dead heat for first: two win entries; race 2 has no payout record.
        jv::RecordBuilder hr(jv::hrRecord());
        hr.raw(HR::RaceKey, sat1);
        hr.set(HR::WinHorse.at(0), "03").set(HR::WinPayout.at(0), "000000450").set(HR::WinPopularity.at(0), "01");
        hr.set(HR::WinHorse.at(1), "05").set(HR::WinPayout.at(1), "000001230").set(HR::WinPopularity.at(1), "04");
        hr.set(HR::QuinellaCombination.at(0), "0305").set(HR::QuinellaPayout.at(0), "000012340");
        hr.set(HR::QuinellaPopularity.at(0), "002");
        putFile(folders.down / "HRSW20040703.DAT", hr.str());

        // The holiday Monday, without a race card of its own.
        putFile(folders.down / sj("東京20040705.RLB"), raceRecord("2004070505030901", '7').str());
        putFile(folders.down / sj("東京20040705.SLB"), "");
        for (const char *d : {"20040704", "20040705", "20040706", "20040731", "20040710"})
            putFile(folders.down / ("HRSW" + std::string(d) + ".DAT"), "");
    }

    void convert(std::vector<std::string> days)
    {
        convertResultDays(days, desktop, ConversionContext{folders, view});
    }

    TempHome home;
    ConversionFolders folders;
    SilentConversionView view;
    MessageDesktop desktop;
    std::string sat1, sat2;
};

TEST_F(ResultsConversionTest, ResultsLinesCarryPayoutsLapsRunnersAndTheCourseRecord)
{
    convert({sj("東京20040703.RLB"), sj("東京20040705.RLB")});
    EXPECT_TRUE(desktop.messages.empty());
    const RecordFile sdt = RecordFile::read(folders.seiseki / sj("東京20040703.SDT"), TResultRec::kLength);
    ASSERT_EQ(sdt.count(), 2u);
    EXPECT_EQ(sdt.trailingBytes(), 0u);

    const auto r1 = recordAt<TResultRec>(sdt, 0);
    EXPECT_EQ(r1.courseRecord().get(CourseRecordFields::RecordTime), "1081");
    EXPECT_EQ(r1.get(ResultFields::Going), "2");
    EXPECT_EQ(r1.payout(ResultFields::Win, 1).bytes(), "030000450" "01");
    EXPECT_EQ(r1.payout(ResultFields::Win, 2).bytes(), "050001230" "04");
    EXPECT_EQ(r1.payout(ResultFields::Win, 3).bytes(), "00000000000");
    EXPECT_EQ(r1.payout(ResultFields::Quinella, 1).bytes(), "030500012340" "002");
    EXPECT_EQ(r1.payout(ResultFields::Wide, 7).bytes(), "000000000000000");
    EXPECT_EQ(r1.get(ResultFields::Zeros604), std::string(45, '0'));
    EXPECT_EQ(r1.get(ResultFields::Lap, 6), "120");
    for (std::size_t k = 7; k <= 25; ++k)
        EXPECT_EQ(r1.get(ResultFields::Lap, k), "000") << k;
    const TResultRunnerRec runner = r1.runner(12);
    EXPECT_EQ(runner.entry().get(RaceEntryFields::HorseNo), "12");
    EXPECT_EQ(runner.get(ResultRunnerFields::Finish), "12");
    EXPECT_EQ(runner.get(ResultRunnerFields::BodyChange), "+12");
    EXPECT_EQ(runner.get(ResultRunnerFields::PrizeMain), "0001234");
    for (std::size_t m = 13; m <= 18; ++m)
        EXPECT_EQ(r1.runner(m).bytes(), std::string(129, ' ')) << m;

    // No payout record: every entry is "no payout"; no race card line: the
    // block of a race without a course record.
    const auto r2 = recordAt<TResultRec>(sdt, 1);
    EXPECT_TRUE(r2.payout(ResultFields::Win, 1).isEmpty());
    EXPECT_TRUE(r2.payout(ResultFields::Place, 5).isEmpty());
    EXPECT_TRUE(r2.courseRecord().isEmpty());

    // The Monday's results file is made although it has no race card.
    EXPECT_TRUE(files::exists(folders.seiseki / sj("東京20040705.SDT")));
    EXPECT_EQ(RecordFile::read(folders.racedat / "STIME.DAT", TSTimeRec::kLength).count(), 2u);
}

TEST_F(ResultsConversionTest, DeletesTheConsumedDownloads)
{
    convert({sj("東京20040703.RLB"), sj("東京20040705.RLB")});
    for (const char *name : {"東京20040703.RLB", "東京20040703.SLB", "東京20040705.RLB", "東京20040705.SLB",
                             "HRSW20040703.DAT", "HRSW20040704.DAT", "HRSW20040705.DAT", "HRSW20040706.DAT",
                             "HRSW20040731.DAT"})
        EXPECT_FALSE(files::exists(folders.down / sj(name))) << name;
    EXPECT_TRUE(files::exists(folders.down / "HRSW20040710.DAT"));
}

TEST_F(ResultsConversionTest, RecordsHeldTwiceGiveEachRaceAndRunnerOnce)
{
    const std::string races = fileBytes(folders.down / sj("東京20040703.RLB"));
    const std::string runners = fileBytes(folders.down / sj("東京20040703.SLB"));
    const std::string payouts = fileBytes(folders.down / "HRSW20040703.DAT");
    convert({sj("東京20040703.RLB")});
    const std::string once = fileBytes(folders.seiseki / sj("東京20040703.SDT"));
    putFile(folders.down / "HRSW20040703.DAT", payouts);
    putFile(folders.down / sj("東京20040703.RLB"), races + races);
    putFile(folders.down / sj("東京20040703.SLB"), runners + runners);
    convert({sj("東京20040703.RLB")});
    EXPECT_EQ(fileBytes(folders.seiseki / sj("東京20040703.SDT")), once);
}

TEST_F(ResultsConversionTest, MastersThatCameWithTheResultsAreRebuilt)
{
    jv::RecordBuilder ks(jv::ksRecord());
    putFile(folders.down / "Jra#Kisi.dat", ks.set(jv::KS::JockeyCode, "00007").str());
    convert({sj("東京20040703.RLB")});
    EXPECT_EQ(fileBytes(folders.racedat / "KISYU.DAT").substr(0, 5), "00007");
    EXPECT_FALSE(files::exists(folders.down / "Jra#Kisi.dat"));
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ResultsConversionTest, WithoutTheFirstRaceCardOnlyTheMastersAreRebuilt)
{
    jv::RecordBuilder ch(jv::chRecord());
    ch.set(jv::CH::TrainerCode, "01001");
    putFile(folders.down / "Jra#Chok.dat", ch.str());
    convert({sj("東京20040705.RLB")});
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0], "成績ファイルに対応した\n出馬表ファイルがありません。\n木曜日に出走予定馬をＤＬしたら\n"
                                   "レース詳細がないのでこのＢＯＸ\nが出ます。");
    EXPECT_FALSE(files::exists(folders.seiseki / sj("東京20040705.SDT")));
    EXPECT_TRUE(files::exists(folders.down / sj("東京20040705.RLB")));
    EXPECT_EQ(fileBytes(folders.racedat / "CHOKYOSI.DAT").size(), TSummaryMasterRec::kLength);
    EXPECT_FALSE(files::exists(folders.down / "Jra#Chok.dat"));
}

} // namespace
