#include "app/cli/Cli.h"

#include "data/formats/MasterFormats.h"
#include "data/formats/RaceDayFormats.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

#include "support/TempHome.h"

#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace zorbe;
using namespace zorbe::formats;

namespace {

using test::runCli;

TRaceKey key(const std::string &monthDay, const std::string &raceNo)
{
    TRaceKey k;
    k.set(RaceKeyFields::Year, "2004");
    k.set(RaceKeyFields::MonthDay, monthDay);
    k.set(RaceKeyFields::Venue, "05");
    k.set(RaceKeyFields::Kai, "03");
    k.set(RaceKeyFields::Nichi, "08");
    k.set(RaceKeyFields::RaceNo, raceNo);
    return k;
}

// 東京 dirt 1600 m, class 005, two runners: the first with one past race
// (dirt, kind 13, class 005, 1:37.2, last 3F 37.8, 3rd of 16 at corner 4),
// the second without any.
void writeDay()
{
    TRaceCardRec r;
    r.setBlock(RaceCardFields::Key, key("0627", "01"));
    r.set(RaceCardFields::Weekday, "2");
    r.set(RaceCardFields::Distance, "1600");
    r.set(RaceCardFields::Track, "23");
    r.set(RaceCardFields::Class, 1, "005");
    r.set(RaceCardFields::Class, 2, "005");
    r.set(RaceCardFields::Entries, "02");
    for (std::size_t j = 1; j <= 2; ++j) {
        TRaceEntryRec e = r.entry(j);
        e.set(RaceEntryFields::HorseId, j == 1 ? "2001100001" : "2001100002");
        e.set(RaceEntryFields::JockeyCode, j == 1 ? "00001" : "00009");
        e.set(RaceEntryFields::TrainerCode, "01001");
        r.setEntry(j, e);
    }
    THorseRec first, second;
    first.set(HorseFields::Id, "2001100001");
    second.set(HorseFields::Id, "2001100002");
    TPastRaceRec p = first.past(1);
    p.setBlock(PastRaceFields::Key, key("0530", "05"));
    p.set(PastRaceFields::RaceKind, "13");
    p.set(PastRaceFields::Class, "005");
    p.set(PastRaceFields::Distance, "1600");
    p.set(PastRaceFields::Track, "23");
    p.set(PastRaceFields::Registered, "16");
    p.set(PastRaceFields::Corner, 3, "05");
    p.set(PastRaceFields::Corner, 4, "03");
    p.set(PastRaceFields::Last3F, "378");
    p.set(PastRaceFields::Time, "1372");
    first.setPast(1, p);
    files::makeDirectories(WinPath("d:\\zorbeLab\\JRA"));
    files::writeAll(WinPath("d:\\zorbeLab\\JRA\\TOKYO.RDT"), r.bytes());
    files::writeAll(WinPath("d:\\zorbeLab\\JRA\\TOKYO.HDT"), first.bytes() + second.bytes());

    // Race 5 of the day of the past race: standard 1:38.0 and 37.0.
    files::makeDirectories(WinPath("d:\\zorbelab\\dat"));
    const std::string stime = "2004050308" + std::string(16, '0') + "0980" + std::string(28, '0')
                              + std::string(12, '0') + "370" + std::string(21, '0') + std::string(36, '0') + "\r\n";
    files::writeAll(WinPath("d:\\zorbelab\\dat\\STIME.DAT"), stime);

    // Jockey 00001: (1 + 0) / 4 = 0.25; trainer 01001: (1 + 0) / 5 = 0.2.
    TSummaryMasterRec jockey, trainer;
    jockey.set(SummaryMasterFields::Code, "00001");
    jockey.setCounts(1, 0, 1, 2);
    trainer.set(SummaryMasterFields::Code, "01001");
    trainer.setCounts(1, 0, 2, 2);
    files::writeAll(WinPath("d:\\zorbelab\\KISYU.DAT"), jockey.bytes());
    files::makeDirectories(WinPath("C:\\zorbelab\\DAT"));
    files::writeAll(WinPath("C:\\zorbelab\\DAT\\CHOKYOSI.DAT"), trainer.bytes());
}

} // namespace

TEST(FiguresCommand, PrintsEveryRunnerAndTheNoHistoryCount)
{
    test::TempHome home;
    home.writeFile("zorbelab.Ini", "[Kako]\r\nKako=1\r\n");
    writeDay();
    const auto r = runCli({"figures", "d:\\zorbeLab\\JRA\\TOKYO.RDT"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::istringstream lines(r.out);
    std::string runner1, runner2, count;
    std::getline(lines, runner1);
    std::getline(lines, runner2);
    std::getline(lines, count);
    // The first runner's figures are those worked out by hand in
    // TimeIndexTest (Honshi 98.060296339, Tora 103.901935713, Time
    // 100.948266586); its last race was a month before (June - May).
    EXPECT_EQ(runner1, "1\t1\t2001100001\t98.060296\t103.901936\t100.948267\t0\t0\t108\t1\t1");
    EXPECT_EQ(runner2.substr(0, 15), "1\t2\t2001100002\t");
    EXPECT_EQ(runner2.substr(runner2.size() - 10), "\t0\t0\t0\t0\t1");
    EXPECT_EQ(count, "NoHistoryCount\t1\t1");

    EXPECT_EQ(runCli({"figures", "d:\\zorbeLab\\JRA\\TOKYO.RDT", "--race", "1"}).out, r.out);
    const auto missingRace = runCli({"figures", "d:\\zorbeLab\\JRA\\TOKYO.RDT", "--race", "2"});
    EXPECT_EQ(missingRace.code, 1);
}

TEST(FiguresCommand, BadArgumentsMissingFilesAndASettingThatIsNotANumber)
{
    test::TempHome home;
    for (const auto &args : std::vector<std::vector<std::string>>{
             {"figures"}, {"figures", "a", "b"}, {"figures", "a", "--race"}, {"figures", "a", "--race", "13"},
             {"figures", "a", "--race", "x"}, {"figures", "--race", "1"}}) {
        EXPECT_EQ(runCli(args).code, 2);
    }
    const auto missing = runCli({"figures", "d:\\zorbeLab\\JRA\\NONE.RDT"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("ありません"), std::string::npos);

    writeDay();
    home.writeFile("zorbelab.Ini", "[Kako]\r\nKako=x\r\n");
    const auto notANumber = runCli({"figures", "d:\\zorbeLab\\JRA\\TOKYO.RDT"});
    EXPECT_EQ(notANumber.code, 1);
    EXPECT_NE(notANumber.err.find("Kako"), std::string::npos);
    EXPECT_EQ(notANumber.out, "");
}
