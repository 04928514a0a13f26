#include "db/DbTestSupport.h"

#include "db/PersonDetails.h"
#include "platform/Files.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace zorbe;
using namespace zorbe::formats;

namespace {

std::string jockeyLine(int n)
{
    return test::jockeyDetail("0" + std::to_string(1000 + n), "騎手", "太郎", "ｷｼｭ ﾀﾛｳ").bytes();
}

bool mentions(const std::vector<std::string> &problems, const std::string &part)
{
    for (const std::string &p : problems)
        if (p.find(part) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(PersonDetails, DamagedLinesAreLeftOutAndNamedWithTheirLineNumber)
{
    std::string badCount = jockeyLine(3);
    badCount.replace(JockeyDetailFields::ThisYear.offset + 3, 3, "1a2"); // flat seconds
    std::string badDate = jockeyLine(4);
    badDate.replace(JockeyDetailFields::BirthDate.offset, 8, "1980 4 5");
    const std::string shortLine = jockeyLine(2).substr(0, 800) + "\r\n";
    const std::string file = jockeyLine(1) + shortLine + badCount + badDate + jockeyLine(5) + jockeyLine(6).substr(0, 500);

    const TJockeyDetails d = ReadJockeyDetails(file, "JracKisi.dat");
    // The lines after a short one are still read whole.
    ASSERT_EQ(d.records.size(), 2u);
    EXPECT_EQ(d.records[0].get(JockeyDetailFields::Code), "01001");
    EXPECT_EQ(d.records[1].get(JockeyDetailFields::Code), "01005");
    ASSERT_EQ(d.problems.size(), 4u);
    EXPECT_TRUE(mentions(d.problems, "JracKisi.dat 2行目")) << problemsText(d.problems);
    EXPECT_TRUE(mentions(d.problems, "802 バイト"));
    EXPECT_TRUE(mentions(d.problems, "JracKisi.dat 3行目: 本年成績の平地の2着数が数字ではありません（「1a2」）"));
    EXPECT_TRUE(mentions(d.problems, "JracKisi.dat 4行目: 生年月日"));
    EXPECT_TRUE(mentions(d.problems, "JracKisi.dat 6行目"));
}

TEST(PersonDetails, AFileLongerThanTheCapacityIsReadUpToIt)
{
    std::string trainers;
    for (int n = 0; n < 803; ++n)
        trainers += test::trainerDetail(std::to_string(10000 + n), "調教", "師", "ﾁｮｳｷｮｳ").bytes();
    const TTrainerDetails t = ReadTrainerDetails(trainers, "JracChok.dat");
    EXPECT_EQ(t.records.size(), 800u);
    EXPECT_EQ(t.records.back().get(TrainerDetailFields::Code), "10799");
    ASSERT_EQ(t.problems.size(), 1u);
    EXPECT_NE(t.problems[0].find("800人を超える 3 行"), std::string::npos) << t.problems[0];

    std::string jockeys;
    for (int n = 0; n < 601; ++n)
        jockeys += jockeyLine(n);
    EXPECT_EQ(ReadJockeyDetails(jockeys, "JracKisi.dat").records.size(), 600u);
    EXPECT_TRUE(ReadJockeyDetails("", "JracKisi.dat").records.empty());
    EXPECT_TRUE(ReadJockeyDetails("", "JracKisi.dat").problems.empty());
}

TEST(PersonDetails, TheFilesAreReadFromTheDataFolderWhenTheyAreThere)
{
    test::TempHome home;
    const WinPath folder("d:\\zorbelab\\dat");
    EXPECT_FALSE(LoadJockeyDetails(folder));
    EXPECT_FALSE(LoadTrainerDetails(folder));
    files::makeDirectories(folder);
    files::writeAll(folder / "JracKisi.dat", jockeyLine(1) + jockeyLine(2));
    const auto jockeys = LoadJockeyDetails(folder);
    ASSERT_TRUE(jockeys);
    EXPECT_EQ(jockeys->records.size(), 2u);
}
