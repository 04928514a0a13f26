#include "ConvertTestSupport.h"

#include "data/convert/EntriesConversion.h"
#include "data/formats/RaceDayFormats.h"
#include "data/formats/RecordIo.h"
#include "platform/Cp932.h"
#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

#include <set>

using namespace zorbe;
using namespace zorbe::test;
using namespace zorbe::formats;
namespace RA = zorbe::jv::RA;
namespace SE = zorbe::jv::SE;
namespace RC = zorbe::jv::RC;

namespace {

const std::string kNoCourseRecord = "00000000000000000000000000000000000" + sj("　　　　　　　　　") + "000000000"
                                    + sj("　　　　") + "000000" + sj("　　　　") + "000";

TEST(WeeklyFileDate, FindsTheThursdayFourDaysBackAndAcrossAMonthEnd)
{
    std::set<std::string> present;
    auto exists = [&](const std::string &d) { return present.count(d) != 0; };

    present = {"20040624"};
    EXPECT_EQ(weeklyFileDate("20040627", exists), "20040624"); // Sunday: d - 3
    EXPECT_EQ(weeklyFileDate("20040628", exists), "20040624"); // holiday Monday: d - 4
    EXPECT_EQ(weeklyFileDate("20040629", exists), std::nullopt);

    // Race days early in a month find the files of the previous month's end.
    present = {"20040729"};
    EXPECT_EQ(weeklyFileDate("20040801", exists), "20040729");
    EXPECT_EQ(weeklyFileDate("20040802", exists), "20040729");
    // A file found across the month end replaces the one of the first search.
    present = {"20040701", "20040629"};
    EXPECT_EQ(weeklyFileDate("20040703", exists), "20040629");
    // In January the previous month is December of the year before.
    present = {"20041230"};
    EXPECT_EQ(weeklyFileDate("20050102", exists), "20041230");
}

TEST(ShortPersonName, TakesTheFamilyNameAndTheFirstCharactersOfTheGivenName)
{
    auto name34 = [](const char *utf8) { return padRight(sj(utf8), 34); };
    EXPECT_EQ(u8(shortPersonName(sj("武　豊") + sj("　　　　　　　　　　　　　　"))), "武豊　　");
    EXPECT_EQ(u8(shortPersonName(name34("横山　典弘"))), "横山典弘");
    EXPECT_EQ(u8(shortPersonName(name34("佐々木　竹見"))), "佐々木竹");
    EXPECT_EQ(u8(shortPersonName(name34("デムーロミルコ"))), "デムーロ");
}

class EntriesConversionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folders = defaultFolders();
        const std::string r1 = raceKey("0703", 1), r2 = raceKey("0703", 2);
        // Race 1: 三歳 dirt 1600 m with three runners; race 2: 16 runners.
        std::vector<std::string> races = {
            raceRecord(r1).set(RA::RaceName, sj("テスト特別")).set(RA::RaceKind, "12").set(RA::Distance, "1600")
                .set(RA::Track, "23").set(RA::Entries, "03").set(RA::MainPrize.at(0), "00098765").str(),
            raceRecord(r2).set(RA::RaceKind, "11").set(RA::Distance, "1200").set(RA::Track, "17")
                .set(RA::Entries, "16").str()};
        std::vector<std::string> runners = {
            runnerRecord(r1, "2001100001", 1).set(SE::HorseName, sj("アルファ")).str(),
            runnerRecord(r1, "2001100002", 2).str(),
            runnerRecord(r1, "2001100003", 3).str(),
        };
        for (int n = 1; n <= 16; ++n)
            runners.push_back(runnerRecord(r2, "20021000" + zeroPad(n, 2), n).str());
        putFile(folders.down / sj("東京20040703.RLB"), joined(races));
        putFile(folders.down / sj("東京20040703.SLB"), joined(runners));

        // Weekly files of Thursday 20040701.
        const std::string p1 = raceKey("0619", 5), p2 = raceKey("0605", 3);
        putFile(folders.down / "RAQW20040701.DAT",
                joined({raceRecord(p1, '7').set(RA::ShortName, sj("前走一")).set(RA::Track, "11")
                            .set(RA::TurfGoing, "2").set(RA::DirtGoing, "3").str(),
                        raceRecord(p2, '7').set(RA::Track, "24").set(RA::TurfGoing, "2").set(RA::DirtGoing, "3").str()}));
        putFile(folders.down / "SEQW20040701.DAT",
                joined({runnerRecord(p1, "2001100001", 7, '7').set(SE::TimeDifference, "-003").str(),
                        runnerRecord(p1, "2001100002", 8, '7').str(),
                        runnerRecord(p2, "2001100001", 4, '7').str()}));
        putFile(folders.down / "UMPW20040701.DAT",
                joined({horseRecord("2001100001", 2).set(jv::UM::FlatMainPrize, "000012345")
                            .set(jv::UM::JumpMainPrize, "000000005").set(jv::UM::JraPlacings.at(3), "001")
                            .set(jv::UM::JraPlacings.at(4), "002").set(jv::UM::JraPlacings.at(5), "004").str(),
                        horseRecord("2001100002", 0).str()}));
        auto courseRecord = [](const char *recordKind, const char *kind, const char *time) {
            jv::RecordBuilder b(jv::rcRecord());
            b.set(RC::DataKind, "1").set(RC::RecordKind, recordKind).raw(RC::RaceKey, raceKey("0502", 9));
            b.set(RC::RaceKind, kind).set(RC::Distance, "1600").set(RC::Track, "23").set(RC::RecordTime, time);
            b.set(RC::TurfGoing, "1").set(RC::DirtGoing, "4").set(RC::Weather, "2");
            b.set(RC::HolderJockeyName.at(0), sj("武　豊")).set(RC::HolderHorseName.at(0), sj("レコードホルダーの馬"));
            return b.str();
        };
        // A race record ("2") of kind 12 must not be taken; the course record of kind 13 is.
        putFile(folders.down / "RCPW20040701.DAT",
                joined({courseRecord("2", "12", "1111"), courseRecord("1", "13", "1334")}));

        // The previous week's files, named in the settings.
        settings.writeString("SRace", "SRace", (folders.down / "RAQW20040624.DAT").text());
        putFile(folders.down / "RAQW20040624.DAT", "old");
    }

    void convert() { convertEntryDays({sj("東京20040703.RLB")}, settings, ConversionContext{folders, view}); }
    std::string convertedBytes()
    {
        convert();
        return fileBytes(folders.lzhdat / sj("東京20040703.RDT")) + fileBytes(folders.lzhdat / sj("東京20040703.HDT"));
    }

    TempHome home;
    ProfileFile settings{ProfileFile::defaultPath()};
    ConversionFolders folders;
    SilentConversionView view;
};

TEST_F(EntriesConversionTest, RaceCardLinesHaveTheirLengthEntriesAndCourseRecords)
{
    convert();
    const RecordFile rdt = RecordFile::read(folders.lzhdat / sj("東京20040703.RDT"), TRaceCardRec::kLength);
    ASSERT_EQ(rdt.count(), 2u);
    EXPECT_EQ(rdt.trailingBytes(), 0u);

    const auto first = recordAt<TRaceCardRec>(rdt, 0);
    EXPECT_EQ(first.get(RaceCardFields::Key), raceKey("0703", 1));
    EXPECT_EQ(u8(first.get(RaceCardFields::RaceName)).substr(0, 15), "テスト特別");
    EXPECT_EQ(first.get(RaceCardFields::Prize, 1), "0009876");
    EXPECT_EQ(first.entry(1).get(RaceEntryFields::HorseId), "2001100001");
    EXPECT_EQ(u8(first.entry(1).get(RaceEntryFields::HorseName)), "アルファ　　　　　");
    for (std::size_t j = 4; j <= 18; ++j)
        EXPECT_EQ(first.entry(j).bytes(), std::string(63, ' ')) << j;

    // Kind 12 has no course record here; the one of kind 13 is taken, with
    // the dirt going of the record race and the holder's short names.
    const TCourseRecordBlock block = first.courseRecord();
    EXPECT_EQ(block.get(CourseRecordFields::RecordTime), "1334");
    EXPECT_EQ(block.get(CourseRecordFields::Going), "4");
    EXPECT_EQ(block.get(CourseRecordFields::Weather), "2");
    EXPECT_EQ(block.get(CourseRecordFields::Year), "2004");
    EXPECT_EQ(block.get(CourseRecordFields::MonthDay), "0502");
    EXPECT_EQ(block.get(CourseRecordFields::RaceNo), "09");
    EXPECT_EQ(u8(block.get(CourseRecordFields::JockeyName)), "武豊　　");
    EXPECT_EQ(u8(block.get(CourseRecordFields::HorseName)), "レコードホルダーの"); // its first 18 bytes

    const auto second = recordAt<TRaceCardRec>(rdt, 1);
    EXPECT_EQ(second.courseRecord().bytes(), kNoCourseRecord);
    EXPECT_EQ(second.entry(16).get(RaceEntryFields::HorseNo), "16");
    EXPECT_EQ(second.entry(17).bytes(), std::string(63, ' '));
    EXPECT_EQ(second.entry(18).bytes(), std::string(63, ' '));
}

TEST_F(EntriesConversionTest, HorseLinesPairWithTheEntriesAndCarryThePastRaces)
{
    convert();
    const RecordFile hdt = RecordFile::read(folders.lzhdat / sj("東京20040703.HDT"), THorseRec::kLength);
    ASSERT_EQ(hdt.count(), 19u);
    EXPECT_EQ(hdt.trailingBytes(), 0u);

    // Two weekly runs and a race count of 2: two blocks, three blank ones.
    const auto a = recordAt<THorseRec>(hdt, 0);
    EXPECT_EQ(a.get(HorseFields::Id), "2001100001");
    EXPECT_EQ(a.get(HorseFields::PrizeMain), "0001235");
    EXPECT_EQ(a.results(1).get(ResultCountsFields::Others), "007");
    const TPastRaceRec p1 = a.past(1);
    EXPECT_EQ(p1.get(PastRaceFields::Key), raceKey("0619", 5));
    EXPECT_EQ(u8(p1.get(PastRaceFields::RaceName)), "前走一");
    EXPECT_EQ(p1.get(PastRaceFields::Going), "2"); // turf track: the turf going
    EXPECT_EQ(p1.get(PastRaceFields::HorseNo), "07");
    EXPECT_EQ(p1.get(PastRaceFields::TimeDiff), "-03");
    EXPECT_EQ(p1.get(PastRaceFields::Zeros62), "0000000000");
    EXPECT_EQ(a.past(2).get(PastRaceFields::Key), raceKey("0605", 3));
    EXPECT_EQ(a.past(2).get(PastRaceFields::Going), "3"); // dirt: the dirt going
    for (std::size_t k = 3; k <= 5; ++k) {
        EXPECT_TRUE(a.past(k).isMissing()) << k;
        EXPECT_EQ(a.past(k).bytes(), blankBytes(PastRaceFields::kLayout));
    }
    EXPECT_EQ(a.history(50).bytes(), std::string(18, ' '));

    // A race count of 0 gives five blank blocks even with a weekly run.
    const auto b = recordAt<THorseRec>(hdt, 1);
    for (std::size_t k = 1; k <= 5; ++k)
        EXPECT_TRUE(b.past(k).isMissing()) << k;

    // No master record: a full line with the id, blank texts, zero counts.
    const auto c = recordAt<THorseRec>(hdt, 2);
    EXPECT_EQ(c.get(HorseFields::Id), "2001100003");
    EXPECT_EQ(c.get(HorseFields::Name), std::string(blankBytes(HorseFields::kLayout)).substr(28, 36));
    EXPECT_EQ(c.results(1).bytes(), "000000000000");
    EXPECT_EQ(recordAt<THorseRec>(hdt, 18).get(HorseFields::Id), "2002100016");
}

TEST_F(EntriesConversionTest, KeepsTheWeeklyNamesAndDeletesThePreviousWeek)
{
    convert();
    EXPECT_EQ(settings.readString("SRace", "SRace", ""), (folders.down / "RAQW20040701.DAT").text());
    EXPECT_EQ(settings.readString("Zuma", "Zuma", ""), (folders.down / "SEQW20040701.DAT").text());
    EXPECT_EQ(settings.readString("UM", "UM", ""), (folders.down / "UMPW20040701.DAT").text());
    EXPECT_EQ(settings.readString("Rcde", "Rcde", ""), (folders.down / "RCPW20040701.DAT").text());
    EXPECT_FALSE(files::exists(folders.down / "RAQW20040624.DAT"));
    EXPECT_TRUE(files::exists(folders.down / "RAQW20040701.DAT"));
    // A second day of the same week keeps the week's files.
    convert();
    EXPECT_TRUE(files::exists(folders.down / "UMPW20040701.DAT"));
}

TEST_F(EntriesConversionTest, AnEarlierWeekConvertedAgainLeavesTheFilesOfTheWeekInUse)
{
    // The week in use is a later one; this day's week is fetched again.
    settings.writeString("UM", "UM", (folders.down / "UMPW20040708.DAT").text());
    putFile(folders.down / "UMPW20040708.DAT", "later week");
    convert();
    EXPECT_EQ(fileBytes(folders.down / "UMPW20040708.DAT"), "later week");
    EXPECT_EQ(settings.readString("UM", "UM", ""), (folders.down / "UMPW20040701.DAT").text());
}

TEST_F(EntriesConversionTest, RecordsHeldTwiceGiveEachRaceRunnerAndPastRaceOnce)
{
    const std::string once = convertedBytes();
    // Every input file with all its records twice, as raw files appended to
    // themselves by an old download would hold them.
    for (const char *name : {"RAQW20040701.DAT", "SEQW20040701.DAT", "UMPW20040701.DAT", "RCPW20040701.DAT"})
        putFile(folders.down / name, fileBytes(folders.down / name) + fileBytes(folders.down / name));
    for (const char *name : {"東京20040703.RLB", "東京20040703.SLB"})
        putFile(folders.down / sj(name), fileBytes(folders.down / sj(name)) + fileBytes(folders.down / sj(name)));
    EXPECT_EQ(convertedBytes(), once);
}

TEST_F(EntriesConversionTest, ReportsStrayBytesAndReadsTheWholeRecords)
{
    files::append(folders.down / sj("東京20040703.SLB"), "SE7 broken");
    convert();
    ASSERT_EQ(view.reports().size(), 1u);
    EXPECT_NE(view.reports()[0].find("10 バイト"), std::string::npos);
    EXPECT_EQ(RecordFile::read(folders.lzhdat / sj("東京20040703.HDT"), THorseRec::kLength).count(), 19u);
}

} // namespace
