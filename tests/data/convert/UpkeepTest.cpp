#include "ConvertTestSupport.h"

#include "data/convert/MasterUpkeep.h"
#include "data/convert/TimeCorrection.h"
#include "data/formats/MasterFormats.h"
#include "data/formats/ResultFormats.h"
#include "data/formats/RecordIo.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

using namespace zorbe;
using namespace zorbe::test;
using namespace zorbe::formats;
namespace KS = zorbe::jv::KS;
namespace CH = zorbe::jv::CH;

namespace {

TimeCorrectionRace race(const char *track, int finishers, std::vector<std::pair<const char *, std::int64_t>> runs)
{
    TimeCorrectionRace r;
    r.raceNumber = 1;
    r.track = track;
    r.distance = 1600;
    r.finishers = finishers;
    r.going = "1";
    r.youngestClass = "005";
    for (auto [placing, time] : runs)
        r.runners.push_back({placing, time, time / 2});
    return r;
}

TEST(TimeCorrectionValues, StandardTimeAveragesThePlacedRunnersHalvesUp)
{
    EXPECT_EQ(timeInTenths("1234"), 834);
    EXPECT_EQ(timeInTenths("0599"), 599);
    EXPECT_EQ(timeInTenths("    "), 0);

    // 834, 835: the mean 834.5 rounds up; later runners of one placing replace.
    auto r = race("23", 8, {{"01", 834}, {"02", 835}, {"02", 835}, {"06", 900}});
    EXPECT_EQ(standardTime(r), 835);
    r = race("23", 8, {{"01", 834}, {"01", 840}, {"02", 0}, {"03", 842}});
    EXPECT_EQ(standardTime(r), 841);
    // Six finishers or fewer: the winner alone.
    r = race("23", 6, {{"01", 834}, {"02", 900}});
    EXPECT_EQ(standardTime(r), 834);
    // No time among the placed runners: no value, and no correction below it.
    r = race("23", 10, {{"01", 0}});
    r.going = "3";
    r.youngestClass = "999";
    EXPECT_EQ(standardTime(r), 0);
}

TEST(TimeCorrectionValues, SoftGoingInTheUpperClassesCorrectsTheStandardTime)
{
    auto r = race("24", 8, {{"01", 1000}});
    r.going = "2";
    r.youngestClass = "016";
    EXPECT_EQ(standardTime(r), 993); // dirt: 7 less
    r.track = "17";
    EXPECT_EQ(standardTime(r), 996); // turf: 4 less
    r.youngestClass = "005";
    EXPECT_EQ(standardTime(r), 1000); // a lower class: none
    r.youngestClass = "999";
    r.going = "1";
    EXPECT_EQ(standardTime(r), 1000); // firm going: none
    r.going = "4";
    r.track = "52";
    EXPECT_EQ(standardTime(r), 1000); // jump track: none
}

TEST(TimeCorrectionValues, FurlongValuesOnlyForFlatRaces)
{
    auto r = race("17", 8, {{"01", 701}, {"02", 702}});
    EXPECT_EQ(standardLast3F(r), 351); // 350 and 351: 350.5 up
    r.laps = {120, 110, 115, 125};
    EXPECT_EQ(early3F(r), 345);
    r.distance = 1700; // a half furlong first: half the fourth lap, halves up
    EXPECT_EQ(early3F(r), 408);
    r.track = "55";
    EXPECT_EQ(standardLast3F(r), 0);
    EXPECT_EQ(early3F(r), 0);
}

std::string resultsLine(const std::string &key, const char *track)
{
    TResultRec rec;
    rec.set(ResultFields::Key, key);
    rec.set(ResultFields::Track, track);
    rec.set(ResultFields::Distance, "1200");
    rec.set(ResultFields::Finishers, "08");
    TResultRunnerRec winner;
    winner.set(ResultRunnerFields::Finish, "01");
    winner.set(ResultRunnerFields::Time, "1100");
    winner.set(ResultRunnerFields::Last3F, "345");
    rec.setRunner(1, winner);
    return rec.bytes();
}

class TimeCorrectionFileTest : public ::testing::Test
{
protected:
    void append(const std::string &resultsBytes)
    {
        const WinPath results = folders.seiseki / sj("東京20040703.SDT");
        putFile(results, resultsBytes);
        AppendTimeCorrection(folders, results, view);
    }
    std::string stime() const { return fileBytes(folders.racedat / "STIME.DAT"); }
    std::string cstime() const { return fileBytes(folders.racedat / "cSTIME.DAT"); }

    TempHome home;
    ConversionFolders folders = defaultFolders();
    SilentConversionView view;
};

TEST_F(TimeCorrectionFileTest, TheFirstLineHoldsTheDaysValuesAndDefaults)
{
    append(resultsLine("2004070305030802", "17"));
    ASSERT_EQ(stime().size(), 132u);
    ASSERT_EQ(cstime().size(), 204u);
    const auto s = TSTimeRec::fromBytes(stime());
    EXPECT_EQ(s.get(STimeFields::Key), "2004050308");
    EXPECT_EQ(s.get(STimeFields::StdTime, 2), "0700");
    EXPECT_EQ(s.get(STimeFields::Std3F, 2), "345");
    EXPECT_EQ(s.get(STimeFields::StdTime, 1), "0000");
    EXPECT_EQ(s.get(STimeFields::Early3F, 1), "000");
    const auto c = TCSTimeRec::fromBytes(cstime());
    EXPECT_EQ(c.get(CSTimeFields::Distance, 2), "1200");
    EXPECT_EQ(c.get(CSTimeFields::Track, 2), "17");
    EXPECT_EQ(c.get(CSTimeFields::Distance, 12), "0000");
    EXPECT_EQ(c.get(CSTimeFields::Track, 12), "00");

    // The same meeting day again: nothing appended to either file.
    append(resultsLine("2004070305030802", "17"));
    EXPECT_EQ(stime().size(), 132u);
    EXPECT_EQ(cstime().size(), 204u);
}

TEST_F(TimeCorrectionFileTest, The1440thLineDropsTheThreeOldestBeforeTheNextAppend)
{
    auto fill = [&](std::size_t lines) {
        std::string s, c;
        for (std::size_t n = 0; n < lines; ++n) {
            TCSTimeRec line;
            line.set(CSTimeFields::Key, "1990" + zeroPad(static_cast<std::int64_t>(n), 6));
            c += line.bytes();
            s += line.toSTime().bytes();
        }
        putFile(folders.racedat / "STIME.DAT", s);
        putFile(folders.racedat / "cSTIME.DAT", c);
    };
    fill(1439);
    append(resultsLine("2004070305030801", "17"));
    EXPECT_EQ(stime().size(), 1440u * 132);
    EXPECT_EQ(cstime().size(), 1440u * 204);

    append(resultsLine("2004070405030901", "17"));
    EXPECT_EQ(stime().size(), 1438u * 132);
    EXPECT_EQ(cstime().size(), 1438u * 204);
    EXPECT_EQ(stime().substr(0, 10), "1990000003");
    EXPECT_EQ(cstime().substr(0, 10), "1990000003");
    EXPECT_EQ(stime().substr(1437 * 132, 10), "2004050309");
}

TEST_F(TimeCorrectionFileTest, ARunStoppedBetweenTheTwoFilesIsFinishedWithoutADoubledDay)
{
    append(resultsLine("2004070305030801", "17"));
    const std::string firstS = stime();

    // Stopped after "cSTIME.DAT" took the next day but before "STIME.DAT":
    // the rerun adds the day to "STIME.DAT" only.
    append(resultsLine("2004070405030901", "17"));
    const std::string bothS = stime(), bothC = cstime();
    putFile(folders.racedat / "STIME.DAT", firstS);
    append(resultsLine("2004070405030901", "17"));
    EXPECT_EQ(stime(), bothS);
    EXPECT_EQ(cstime(), bothC);

    // Stopped between the two trims: the rerun trims the second file only.
    std::string s, c;
    for (std::size_t n = 0; n < 1440; ++n) {
        TCSTimeRec line;
        line.set(CSTimeFields::Key, "1990" + zeroPad(static_cast<std::int64_t>(n), 6));
        c += line.bytes();
        s += line.toSTime().bytes();
    }
    putFile(folders.racedat / "STIME.DAT", s.substr(3 * 132));
    putFile(folders.racedat / "cSTIME.DAT", c);
    append(resultsLine("2004071005031001", "17"));
    EXPECT_EQ(stime().size(), 1438u * 132);
    EXPECT_EQ(cstime().size(), 1438u * 204);
    EXPECT_EQ(cstime().substr(0, 10), "1990000003");
}

TEST_F(TimeCorrectionFileTest, DaysAppendedThroughOneObjectGiveTheFilesOfDayByDayAppends)
{
    // Files two lines short of the trim, the last with stray bytes; then
    // days past the trim, one of them twice.
    std::string s, c;
    for (std::size_t n = 0; n < 1438; ++n) {
        TCSTimeRec line;
        line.set(CSTimeFields::Key, "1990" + zeroPad(static_cast<std::int64_t>(n), 6));
        c += line.bytes();
        s += line.toSTime().bytes();
    }
    const std::vector<std::string> days = {
        resultsLine("2004070305030801", "17"), resultsLine("2004070405030901", "24"),
        resultsLine("2004070405030901", "24"), resultsLine("2004071005031001", "17"),
        resultsLine("2004071105031101", "23"), resultsLine("2004071705031201", "17"),
    };
    auto start = [&] {
        putFile(folders.racedat / "STIME.DAT", s + "12345");
        putFile(folders.racedat / "cSTIME.DAT", c);
    };

    start();
    std::vector<std::pair<std::string, std::string>> dayByDay;
    for (const std::string &day : days) {
        append(day);
        dayByDay.emplace_back(stime(), cstime());
    }
    // 1439, 1440, trimmed to 1437 with the repeated day, then 1438 .. 1440.
    ASSERT_EQ(dayByDay[2].first.size(), 1437u * 132);
    ASSERT_EQ(dayByDay.back().first.size(), 1440u * 132);

    // Through one object the disk holds after every flush what the
    // day-by-day appends left there, and nothing changes between flushes.
    start();
    {
        const std::string before = stime() + cstime();
        TimeCorrectionFiles files(folders, view);
        files.append(RecordFile(days[0], TResultRec::kLength));
        EXPECT_EQ(stime() + cstime(), before);
        for (std::size_t d = 0; d < days.size(); ++d) {
            SCOPED_TRACE(d);
            if (d > 0)
                files.append(RecordFile(days[d], TResultRec::kLength));
            if (d % 2 == 1 || d + 1 == days.size()) {
                files.flush();
                EXPECT_EQ(stime(), dayByDay[d].first);
                EXPECT_EQ(cstime(), dayByDay[d].second);
            }
        }
    }

    // Without any file: the first day makes both.
    files::remove(folders.racedat / "STIME.DAT");
    files::remove(folders.racedat / "cSTIME.DAT");
    TimeCorrectionFiles files(folders, view);
    files.append(RecordFile(days[0], TResultRec::kLength));
    files.append(RecordFile(days[1], TResultRec::kLength));
    files.flush();
    EXPECT_EQ(stime().size(), 2u * 132);
    EXPECT_EQ(cstime().size(), 2u * 204);
}

TEST(MasterLines, DisplayNamesSplitAtTheFullWidthSpace)
{
    auto name34 = [](const char *utf8) { return padRight(sj(utf8), 34); };
    EXPECT_EQ(u8(displayPersonName(sj("武　豊") + std::string(28, ' '))).substr(0, 3), "武");
    EXPECT_EQ(displayPersonName(sj("武　豊") + sj("　　　　　　　　　　　　　　")),
              sj("武　") + sj("　　　　　　") + sj("豊　　　　　　　"));
    EXPECT_EQ(displayPersonName(name34("佐々木　竹見")).substr(0, 16), sj("佐々木　　　　　"));
    EXPECT_EQ(displayPersonName(name34("佐々木　竹見")).substr(16, 4), sj("竹見"));
    EXPECT_EQ(displayPersonName(name34("ＭデムーロＭ")), name34("ＭデムーロＭ").substr(0, 32));
}

TEST(MasterLines, SummaryAndDetailLinesFromTheMasterRecords)
{
    jv::RecordBuilder ks(jv::ksRecord());
    ks.set(KS::JockeyCode, "00666").set(KS::Name, sj("武　豊")).set(KS::Affiliation, "2");
    const std::size_t thisYear = 0;
    const char *counts[] = {"001012", "000034", "000005", "000000", "000000", "000000"};
    for (std::size_t i = 0; i < 6; ++i)
        ks.set(KS::FlatPlacings.at(thisYear, i), counts[i]);
    ks.set(KS::FlatMainPrize.at(0), "0123456789").set(KS::FlatAddedPrize.at(0), "0000000010");
    ks.set(KS::NameKana, sj("ﾀｹ ﾕﾀｶ"));
    const std::string summary = jockeySummaryLine(ks.str());
    ASSERT_EQ(summary.size(), 52u);
    EXPECT_EQ(summary.substr(0, 5), "00666");
    EXPECT_EQ(summary.substr(37, 13), "012034005000" "2");

    const auto detail = TJockeyDetailRec::fromBytes(jockeyDetailLine(ks.str()));
    EXPECT_EQ(detail.get(JockeyDetailFields::ThisYearPrize, 1), "2345678");
    EXPECT_EQ(detail.get(JockeyDetailFields::KanaName), sj("ﾀｹ ﾕﾀｶ") + std::string(12, ' '));
    EXPECT_EQ(detail.get(JockeyDetailFields::DisplayName).substr(0, 4), sj("武　"));
    EXPECT_EQ(detail.get(JockeyDetailFields::ThisYearPrize, 2), "0000001");
    EXPECT_EQ(detail.section(JockeyDetailFields::ThisYear).get(JockeySectionFields::Flat), "012034005000");
    EXPECT_EQ(detail.gradedWin(1).get(GradedWinFields::Key), std::string(16, '0'));

    jv::RecordBuilder ch(jv::chRecord());
    ch.set(CH::TrainerCode, "01001");
    const auto trainer = TTrainerDetailRec::fromBytes(trainerDetailLine(ch.str()));
    EXPECT_EQ(trainer.gradedWin(1).get(GradedWinFields::Key).substr(0, 4), "0000");
    EXPECT_EQ(trainerSummaryLine(ch.str()).substr(37, 12), "000000000000");
}

TEST(MasterRebuild, AKindWithoutDownloadKeepsItsMasters)
{
    TempHome home;
    const ConversionFolders folders = defaultFolders();
    SilentConversionView view;
    putFile(folders.racedat / "KISYU.DAT", "old jockeys");
    putFile(folders.racedat / "JracKisi.dat", "old details");
    jv::RecordBuilder ch(jv::chRecord());
    const std::string first = ch.set(CH::TrainerCode, "01001").str();
    putFile(folders.down / "Jra#Chok.dat", first + ch.set(CH::TrainerCode, "01002").str());
    RebuildMasters(folders, view);
    EXPECT_EQ(fileBytes(folders.racedat / "KISYU.DAT"), "old jockeys");
    EXPECT_EQ(fileBytes(folders.racedat / "JracKisi.dat"), "old details");
    EXPECT_EQ(fileBytes(folders.racedat / "CHOKYOSI.DAT").size(), 2 * TSummaryMasterRec::kLength);
    EXPECT_EQ(fileBytes(folders.racedat / "JracChok.dat").size(), 2 * TTrainerDetailRec::kLength);
    EXPECT_FALSE(files::exists(folders.down / "Jra#Chok.dat"));
}

TEST(MasterRebuild, SeveralWeeksOfRecordsGiveEachPersonOnceWithTheNewestData)
{
    TempHome home;
    const ConversionFolders folders = defaultFolders();
    SilentConversionView view;
    auto jockey = [](const char *code, const char *created, const char *name) {
        jv::RecordBuilder ks(jv::ksRecord());
        ks.set(KS::JockeyCode, code).set(KS::CreationDate, created).set(KS::Name, sj(name));
        return ks.str();
    };
    // Four weeks fetched in one run, and a file whose weeks are out of order.
    putFile(folders.down / "Jra#Kisi.dat",
            jockey("00001", "20240606", "古　一") + jockey("00002", "20240606", "古　二")
                + jockey("00002", "20240620", "新　二") + jockey("00001", "20240613", "中　一")
                + jockey("00003", "20240613", "新　三") + jockey("00001", "20240620", "新　一")
                + jockey("00003", "20240606", "古　三"));
    RebuildMasters(folders, view);
    const RecordFile summary = RecordFile::read(folders.racedat / "KISYU.DAT", TSummaryMasterRec::kLength);
    ASSERT_EQ(summary.count(), 3u);
    // In the order of the records kept: 00002 (third), 00003 (fifth), 00001 (sixth).
    std::vector<std::string> kept;
    for (std::size_t n = 0; n < summary.count(); ++n)
        kept.push_back(u8(std::string(summary.record(n).substr(0, 5)))
                       + u8(std::string(summary.record(n).substr(5, 6))));
    EXPECT_EQ(kept, (std::vector<std::string>{"00002新　二", "00003新　三", "00001新　一"}));
    EXPECT_EQ(fileBytes(folders.racedat / "JracKisi.dat").size(), 3 * TJockeyDetailRec::kLength);
}

} // namespace
